// The loader of a run: the part of a picture its place shows, the cache of loaded pictures, the one
// metafile helper that survives a crash, a kill and a hang, and the time budget of a question.

#include "base/BuildFacts.h"
#include "devtools/make-samples/EmfWriter.h"
#include "devtools/make-samples/IconFile.h"
#include "devtools/make-samples/WmfWriter.h"
#include "pictures/PictureLoader.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sys/wait.h>

#include "PictureTestFiles.h"

using namespace zdawnik;
using namespace zdawnik::test;

namespace {

std::filesystem::path PathOf(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

const QList<QColor> StripeColours = {Qt::red,  Qt::green,   Qt::blue, Qt::yellow,
                                     Qt::cyan, Qt::magenta, Qt::black};

// Upright stripes 50 pixels wide of changing colours, with a white band across the middle: where a
// part of the picture was cut from shows in its pixels.
QImage Stripes(QSize size, int shift = 0)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int x = 0, k = shift; x < size.width(); x += 50, ++k)
        painter.fillRect(QRect(x, 0, 50, size.height()), StripeColours[k % StripeColours.size()]);
    painter.fillRect(QRect(0, size.height() / 2 - 5, size.width(), 10), Qt::white);
    return image;
}

// The same drawing as a metafile.
template <typename Writer> bool WriteStripes(const QString& path, QSize size, int shift = 0)
{
    Writer writer(QFile::encodeName(path).toStdString(), size);
    for (int x = 0, k = shift; x < size.width(); x += 50, ++k) {
        const QColor colour = StripeColours[k % StripeColours.size()];
        writer.polygon(QPolygon(QRect(x, 0, 50, size.height())), colour, colour, 1);
    }
    writer.polygon(QPolygon(QRect(0, size.height() / 2 - 5, size.width(), 10)), Qt::white, Qt::white, 1);
    return writer.finish();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Writes the stripes in the format of the file's extension.
bool WritePicture(const QString& path, QSize size, int shift = 0)
{
    const QString extension = QFileInfo(path).suffix();
    if (extension == QLatin1String("wmf"))
        return WriteStripes<WmfWriter>(path, size, shift);
    if (extension == QLatin1String("emf"))
        return WriteStripes<EmfWriter>(path, size, shift);
    const QImage image = Stripes(size, shift);
    if (extension == QLatin1String("ico"))
        return WriteFile(path, IconHoldingPng(Encoded(image, "png")));
    return WriteFile(path,
                     Encoded(image, extension == QLatin1String("jpg") ? "jpeg" : qPrintable(extension)));
}

// A file written again later, as a user who edits a picture does.
void MarkEditedLater(const QString& path)
{
    const std::filesystem::path file = PathOf(path);
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
}

QImage Argb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Real metafiles of different makers that draw something.
const QStringList GoodMetafiles = {
    QStringLiteral("wmf-libwmf/2doorvan.wmf"),
    QStringLiteral("wmf-libwmf/ant.wmf"),
    QStringLiteral("wmf-libwmf/formula1.wmf"),
    QStringLiteral("wmf-libwmf/sample.wmf"),
    QStringLiteral("made-here/inkscape-matplotlib.wmf"),
    QStringLiteral("wmf-libwmf/cell.wmf"),
    QStringLiteral("emf-libemf2svg/test-007.emf"),
    QStringLiteral("emf-libemf2svg/test-022.emf"),
    QStringLiteral("emf-libemf2svg/test-041.emf"),
    QStringLiteral("made-here/inkscape-matplotlib.emf"),
    QStringLiteral("made-here/libreoffice-polish_question.emf"),
};

std::filesystem::path Metafile(const QString& relative)
{
    return PathOf(PictureData(QStringLiteral("metafiles/") + relative));
}


// Whether a child process of this one has ended, all its threads: it waits for its parent to collect
// it (which is left to QProcess), or has been collected.
bool HasEnded(qint64 pid)
{
    siginfo_t info{};
    if (waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return errno == ECHILD;
    return info.si_pid == pid_t(pid);
}

} // namespace

class TestPictureLoader : public QObject
{
    Q_OBJECT

private slots:
    void visiblePart_data();
    void visiblePart();
    void opaquePicturesAreCopiedNotBlended_data();
    void opaquePicturesAreCopiedNotBlended();
    void cacheFollowsTheFile_data();
    void cacheFollowsTheFile();
    void cacheKeepsWithinItsBudget();
    void helperKilledBetweenPictures_data();
    void helperKilledBetweenPictures();
    void crashFollowedByElevenGood_data();
    void crashFollowedByElevenGood();
    void hangingPictureAndTheNextOne();
    void budgetOfAQuestion();
    void stalledHelperThenTheSamePicture();
    void largePicturesWithinTheBudget_data();
    void largePicturesWithinTheBudget();
    void helperMemoryIsCapped();
};

void TestPictureLoader::visiblePart_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("kept"); // in the answer's place of 441 x 70
    for (const char* extension : {"png", "jpg", "bmp", "ico", "wmf", "emf"}) {
        QTest::addRow("%s, wider and higher", extension)
            << extension << QSize(1000, 101) << QRect(279, 15, 441, 70);
        QTest::addRow("%s, wider", extension) << extension << QSize(1000, 40) << QRect(279, 0, 441, 40);
        QTest::addRow("%s, within", extension) << extension << QSize(300, 50) << QRect(0, 0, 300, 50);
    }
}

void TestPictureLoader::visiblePart()
{
    // The part kept is the part the window shows of the whole picture, pixel for pixel.
    QFETCH(QString, extension);
    QFETCH(QSize, size);
    QFETCH(QRect, kept);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("obraz.") + extension);
    QVERIFY(WritePicture(path, size));
    PictureLoader pictures;
    const PictureResult whole = pictures.Load(PathOf(path));
    const PictureResult part = pictures.Load(PathOf(path), QSize(441, 70));
    QVERIFY2(whole.ok(), qPrintable(whole.error));
    QVERIFY2(part.ok(), qPrintable(part.error));
    QCOMPARE(whole.naturalSize, size);
    QCOMPARE(whole.image.size(), size);
    QCOMPARE(part.naturalSize, size);
    QCOMPARE(part.image.size(), kept.size());
    QCOMPARE(Argb(part.image), Argb(whole.image.copy(kept)));
}

void TestPictureLoader::opaquePicturesAreCopiedNotBlended_data()
{
    // A picture, and whether any of its pixels lets the ground show through.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QImage>("drawn");
    QTest::addColumn<bool>("transparent");
    QImage opaque = Argb(Stripes(QSize(120, 40)));
    QImage holed = opaque;
    holed.setPixel(3, 4, qRgba(0, 0, 0, 0));
    QImage halfSeen = opaque;
    halfSeen.setPixel(119, 39, qRgba(200, 0, 0, 128));
    QTest::newRow("PNG with alpha, every pixel opaque") << QString() << opaque << false;
    QTest::newRow("PNG with one transparent pixel") << QString() << holed << true;
    QTest::newRow("PNG with one half-transparent pixel") << QString() << halfSeen << true;
    QTest::newRow("metafile drawn over its whole ground")
        << "emf-libemf2svg/test-022.emf" << QImage() << false;
    QTest::newRow("metafile with its ground showing") << "wmf-libwmf/ant.wmf" << QImage() << true;
}

void TestPictureLoader::opaquePicturesAreCopiedNotBlended()
{
    // A picture without a transparent pixel is kept without an alpha channel, so that it is copied
    // to the screen rather than blended; it looks the same.
    QFETCH(QString, file);
    QFETCH(QImage, drawn);
    QFETCH(bool, transparent);
    QTemporaryDir directory;
    std::filesystem::path path = file.isEmpty() ? PathOf(directory.filePath("obraz.png")) : Metafile(file);
    if (file.isEmpty())
        QVERIFY(WriteFile(directory.filePath("obraz.png"), Encoded(drawn, "png")));
    PictureLoader pictures;
    const PictureResult loaded = pictures.Load(path);
    QVERIFY2(loaded.ok(), qPrintable(loaded.error));
    QCOMPARE(loaded.image.hasAlphaChannel(), transparent);
    if (!drawn.isNull())
        QCOMPARE(Argb(loaded.image), drawn);
    // The same for the pictures given as bytes.
    QFile bytes(QString::fromStdString(path.string()));
    QVERIFY(bytes.open(QIODevice::ReadOnly));
    const PictureResult decoded = pictures.Decode(bytes.readAll(), QFileInfo(bytes).suffix());
    QCOMPARE(Argb(decoded.image), Argb(loaded.image));
    QCOMPARE(decoded.image.hasAlphaChannel(), transparent);
}

void TestPictureLoader::cacheFollowsTheFile_data()
{
    QTest::addColumn<QString>("extension");
    for (const char* extension : {"png", "jpg", "bmp", "ico", "wmf", "emf"})
        QTest::newRow(extension) << extension;
}

void TestPictureLoader::cacheFollowsTheFile()
{
    QFETCH(QString, extension);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("obraz.") + extension);
    QVERIFY(WritePicture(path, QSize(200, 60)));
    PictureLoader pictures;
    const PictureResult first = pictures.Load(PathOf(path), QSize(441, 70));
    QVERIFY2(first.ok(), qPrintable(first.error));

    // Shown again, in any question: the same pixels, not decoded again.
    const PictureResult again = pictures.Load(PathOf(path), QSize(441, 70));
    QVERIFY(again.ok());
    QCOMPARE(again.image.cacheKey(), first.image.cacheKey());

    // The file is drawn anew: the new picture shows.
    QVERIFY(WritePicture(path, QSize(200, 60), 3));
    MarkEditedLater(path);
    const PictureResult edited = pictures.Load(PathOf(path), QSize(441, 70));
    QVERIFY2(edited.ok(), qPrintable(edited.error));
    QVERIFY(edited.image.cacheKey() != first.image.cacheKey());
    const QColor before = first.image.pixelColor(10, 10);
    const QColor after = edited.image.pixelColor(10, 10);
    QVERIFY(before.red() > 200 && before.green() < 60); // red
    QVERIFY(after.red() > 200 && after.green() > 200);  // yellow
}

void TestPictureLoader::cacheKeepsWithinItsBudget()
{
    // Room for two pictures of 400 x 300 (470 kB each): the least recently shown goes.
    QTemporaryDir directory;
    PictureLoaderOptions options;
    options.cacheBytes = 1000 * 1024;
    PictureLoader pictures(options);
    const auto load = [&](const char* name) { return pictures.Load(PathOf(directory.filePath(name))); };
    for (const char* name : {"a.png", "b.png", "c.png"})
        QVERIFY(WritePicture(directory.filePath(name), QSize(400, 300)));
    const qint64 a = load("a.png").image.cacheKey();
    const qint64 b = load("b.png").image.cacheKey();
    QCOMPARE(load("a.png").image.cacheKey(), a);
    load("c.png");
    QVERIFY(pictures.CachedBytes() <= options.cacheBytes);
    QCOMPARE(load("a.png").image.cacheKey(), a);
    QVERIFY(load("b.png").image.cacheKey() != b);
}

void TestPictureLoader::helperKilledBetweenPictures_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("killed") << int(SIGKILL);
    QTest::newRow("terminated") << int(SIGTERM);
    QTest::newRow("crashed while idle") << int(SIGSEGV);
}

void TestPictureLoader::helperKilledBetweenPictures()
{
    QFETCH(int, signal);
    PictureLoader pictures;
    QVERIFY(pictures.Load(Metafile(GoodMetafiles[0])).ok());
    const qint64 helper = pictures.HelperProcessId();
    QVERIFY(helper > 0);
    QCOMPARE(::kill(pid_t(helper), signal), 0);
    // The next picture comes once the helper has ended (under the sanitizers a crash takes a while).
    QTRY_VERIFY_WITH_TIMEOUT(HasEnded(helper), 20000);
    const PictureResult next = pictures.Load(Metafile(GoodMetafiles[6]));
    QVERIFY2(next.ok(), qPrintable(next.error));
    QVERIFY(!InkBox(next.image).isEmpty());
    QVERIFY(pictures.HelperProcessId() != helper);
}

void TestPictureLoader::crashFollowedByElevenGood_data()
{
    QTest::addColumn<QString>("crashing");
    QTest::addColumn<QString>("helper");
    // A real file the real helper falls on every time.
    QTest::newRow("emf, the real helper")
        << QStringLiteral(ZDAWNIK_SOURCE_DIR "/tests/pictures/glyph-index-text-without-font.emf")
        << QString();
    // The tests' helper falls on these as surely.
    QTest::newRow("wmf, a helper that crashes")
        << QStringLiteral("p.wmf") << QStringLiteral("zdawnik-metafile-faulty");
    QTest::newRow("emf, a helper that crashes")
        << QStringLiteral("p.emf") << QStringLiteral("zdawnik-metafile-faulty");
}

void TestPictureLoader::crashFollowedByElevenGood()
{
    // One question: the first picture takes the helper down, the eleven after it all draw. (The
    // budget is generous: the sanitizers slow the helper down.)
    QFETCH(QString, crashing);
    QFETCH(QString, helper);
    QTemporaryDir directory;
    if (QFileInfo(crashing).isRelative()) {
        crashing = directory.filePath(crashing);
        QVERIFY(WriteFile(crashing, QByteArray("CRASH")));
    }
    PictureLoaderOptions options = FaultyHelper(60000, 20000);
    if (helper.isEmpty())
        options.metafileHelper.clear();
    PictureLoader pictures(options);
    pictures.BeginQuestion();
    const PictureResult crashed = pictures.Load(PathOf(crashing));
    QVERIFY(!crashed.ok());
    QVERIFY2(crashed.error.contains(QLatin1String("crashed")), qPrintable(crashed.error));
    QCOMPARE(GoodMetafiles.size(), 11);
    for (const QString& file : GoodMetafiles) {
        const PictureResult drawn = pictures.Load(Metafile(file), QSize(441, 70));
        QVERIFY2(drawn.ok(), qPrintable(file + QStringLiteral(": ") + drawn.error));
        QVERIFY2(!InkBox(drawn.image).isEmpty(), qPrintable(file));
    }
}

void TestPictureLoader::hangingPictureAndTheNextOne()
{
    QTemporaryDir directory;
    const QString hanging = directory.filePath(QStringLiteral("zawiesza.wmf"));
    QVERIFY(WriteFile(hanging, QByteArray("HANG")));
    PictureLoader pictures(FaultyHelper(10000, 1000));
    pictures.BeginQuestion();
    const PictureResult hung = pictures.Load(PathOf(hanging));
    QVERIFY(!hung.ok());
    QVERIFY2(hung.error.contains(QLatin1String("too long")), qPrintable(hung.error));

    // The next picture of the question draws, in a helper started afresh.
    const PictureResult next = pictures.Load(Metafile(GoodMetafiles[1]));
    QVERIFY2(next.ok(), qPrintable(next.error));
    const qint64 helper = pictures.HelperProcessId();
    QVERIFY(helper > 0);

    // Shown again in the same question, the hanging picture is not tried again: the helper is not
    // stopped for it.
    QVERIFY(pictures.Load(PathOf(hanging)).error.contains(QLatin1String("too long")));
    QCOMPARE(pictures.HelperProcessId(), helper);
    // At its next showing it is tried again, with a fresh budget.
    pictures.BeginQuestion();
    QVERIFY(pictures.Load(PathOf(hanging)).error.contains(QLatin1String("too long")));
    QVERIFY(pictures.HelperProcessId() != helper);
}

void TestPictureLoader::stalledHelperThenTheSamePicture()
{
    // The helper stalls (stopped, as a machine under load or a debugger stops it) while it draws a
    // good metafile: the picture runs out of time. Shown again in a later question, it draws.
    PictureLoader pictures(FaultyHelper(3000, 1000));
    pictures.StartHelper();
    QTRY_VERIFY(pictures.HelperProcessId() > 0);
    const qint64 stalled = pictures.HelperProcessId();
    QCOMPARE(::kill(pid_t(stalled), SIGSTOP), 0);
    pictures.BeginQuestion();
    const PictureResult slow = pictures.Load(Metafile(GoodMetafiles[3]), QSize(441, 70));
    ::kill(pid_t(stalled), SIGKILL);
    QVERIFY2(slow.error.contains(QLatin1String("too long")), qPrintable(slow.error));
    pictures.BeginQuestion();
    const PictureResult drawn = pictures.Load(Metafile(GoodMetafiles[3]), QSize(441, 70));
    QVERIFY2(drawn.ok(), qPrintable(drawn.error));
    QVERIFY(!InkBox(drawn.image).isEmpty());
}

void TestPictureLoader::largePicturesWithinTheBudget_data()
{
    // Pictures whose decoding takes longer than a question's budget of 150 ms: the decoding stops
    // there, and the pictures after it are not begun.
    QTest::addColumn<int>("count");
    QTest::newRow("one PNG of 8192 x 8192") << 1;
    QTest::newRow("thirteen different PNGs of 8192 x 8192") << 13;
}

void TestPictureLoader::largePicturesWithinTheBudget()
{
    QFETCH(int, count);
    QTemporaryDir directory;
    const QSize size(8192, 8192);
    static const QByteArray bytes = [size] {
        QImage large(size, QImage::Format_RGB32);
        large.fill(QColor(230, 240, 250));
        return Encoded(large, "png");
    }();
    QStringList paths;
    for (int k = 0; k < count; ++k) {
        paths << directory.filePath(QStringLiteral("duzy%1.png").arg(k));
        QVERIFY(WriteFile(paths.last(), bytes));
    }
    PictureLoaderOptions options;
    options.questionBudgetMs = 150;
    PictureLoader pictures(options);
    pictures.BeginQuestion();
    for (const QString& path : paths) {
        const PictureResult result = pictures.Load(PathOf(path), QSize(441, 70));
        QVERIFY2(result.error.contains(QLatin1String("took all the time")), qPrintable(result.error));
    }
    // Not kept as a failure: with a budget the decoding fits in, the same picture loads.
    if (count > 1)
        return;
    PictureLoaderOptions generous;
    generous.questionBudgetMs = 60000;
    PictureLoader patient(generous);
    const PictureResult whole = patient.Load(PathOf(paths.first()), QSize(441, 70));
    QVERIFY2(whole.ok(), qPrintable(whole.error));
    QCOMPARE(whole.naturalSize, size);
}

void TestPictureLoader::helperMemoryIsCapped()
{
    // The helper draws under a cap on its address space, so a metafile that asks for gigabytes ends
    // it rather than take the machine's memory; the next picture draws in a new helper. (The
    // sanitizers reserve terabytes up front, so their helper draws without the cap.)
    PictureLoader pictures;
    QVERIFY(pictures.Load(Metafile(GoodMetafiles[0])).ok());
    QFile limits(QStringLiteral("/proc/%1/limits").arg(pictures.HelperProcessId()));
    QVERIFY(limits.open(QIODevice::ReadOnly));
    const QByteArray table = limits.readAll();
    const QByteArray line = table.mid(table.indexOf("Max address space"), 80);
    if (!UnderAddressSanitizer)
        QVERIFY2(!line.contains("unlimited"), line.constData());
    const PictureResult hostile = pictures.Load(
        PathOf(QStringLiteral(ZDAWNIK_SOURCE_DIR "/tests/pictures/record-declaring-gigabytes.wmf")));
    QVERIFY(!hostile.ok());
    const PictureResult next = pictures.Load(Metafile(GoodMetafiles[6]));
    QVERIFY2(next.ok(), qPrintable(next.error));
}

void TestPictureLoader::budgetOfAQuestion()
{
    // A budget of 2.5 s, at most 1 s for one picture: two hanging pictures take their whole share,
    // the third what is left, and then nothing more is loaded for the question.
    QTemporaryDir directory;
    const QStringList hanging = {directory.filePath("a.wmf"), directory.filePath("b.emf"),
                                 directory.filePath("c.wmf")};
    for (const QString& path : hanging)
        QVERIFY(WriteFile(path, QByteArray("HANG") + path.toUtf8()));
    const QString png = directory.filePath(QStringLiteral("obraz.png"));
    QVERIFY(WritePicture(png, QSize(100, 50)));
    PictureLoader pictures(FaultyHelper(2500, 1000));
    pictures.BeginQuestion();
    for (const QString& path : hanging) {
        const PictureResult result = pictures.Load(PathOf(path));
        QVERIFY2(result.error.contains(QLatin1String("too long")),
                 qPrintable(path + QStringLiteral(": ") + result.error));
    }
    for (const std::filesystem::path& late : {PathOf(png), Metafile(GoodMetafiles[2])}) {
        const PictureResult result = pictures.Load(late);
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(QLatin1String("took all the time")), qPrintable(result.error));
    }

    // The next question has a budget of its own: the pictures left out are loaded, and the hanging
    // pictures are tried once more.
    pictures.BeginQuestion();
    QVERIFY(pictures.Load(PathOf(png)).ok());
    const qint64 helper = pictures.HelperProcessId();
    QVERIFY(pictures.Load(PathOf(hanging[0])).error.contains(QLatin1String("too long")));
    QVERIFY(pictures.HelperProcessId() != helper);
}

QTEST_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
