#include "devtools/make-samples/EmfWriter.h"
#include "devtools/make-samples/WmfWriter.h"
#include "pictures/MetafileProtocol.h"
#include "pictures/PictureLimits.h"
#include "pictures/PictureLoader.h"
#include "pictures/metafile/MetafileText.h"

#include <QPainter>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cstring>
#include <filesystem>

#include "PictureTestFiles.h"

using namespace zdawnik;
using namespace zdawnik::test;

namespace {

std::filesystem::path PathOf(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

const QSize TextPicture(480, 64);
const QPoint TextOrigin(12, 44);
constexpr int TextHeight = 32;
const QString TextFace = QStringLiteral("Arial");

// A metafile of one line of text, written as the given writer writes it.
template <typename Writer> QByteArray TextMetafile(const QString& text, const QString& suffix)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("text.") + suffix);
    Writer writer(QFile::encodeName(path).toStdString(), TextPicture);
    writer.text(TextOrigin, text, TextHeight, Qt::black, TextFace, true);
    if (!writer.finish())
        return {};
    return ReadBytes(path);
}

// The same line drawn by Qt itself, as the reference the metafile's drawing must match.
QImage ReferenceText(const QString& text)
{
    QImage image(TextPicture, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(TextFace);
    font.setPixelSize(TextHeight);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(TextOrigin, text);
    return image;
}

// How much the inked pixels of two pictures of one size overlap: 1 for the same, 0 for none.
double InkOverlap(const QImage& a, const QImage& b)
{
    const QImage first = a.convertToFormat(QImage::Format_ARGB32);
    const QImage second = b.convertToFormat(QImage::Format_ARGB32);
    qint64 both = 0;
    qint64 either = 0;
    for (int y = 0; y < first.height(); ++y) {
        for (int x = 0; x < first.width(); ++x) {
            const bool inFirst = qAlpha(first.pixel(x, y)) > 128;
            const bool inSecond = qAlpha(second.pixel(x, y)) > 128;
            both += inFirst && inSecond;
            either += inFirst || inSecond;
        }
    }
    return either == 0 ? 0.0 : double(both) / double(either);
}

QByteArray Reply(const char* tag, const std::array<quint32, 4>& numbers, const QByteArray& body)
{
    QByteArray reply(metafile_protocol::ReplyHeaderBytes, '\0');
    std::memcpy(reply.data(), "ZDMF", 4);
    reply[4] = tag[0];
    std::memcpy(reply.data() + 8, numbers.data(), 16);
    return reply + body;
}

} // namespace

class TestMetafilePictures : public QObject
{
    Q_OBJECT

private slots:
    void validFiles_data();
    void validFiles();
    void corruptedFiles_data();
    void corruptedFiles();
    void cutShort_data();
    void cutShort();
    void polishText_data();
    void polishText();
    void hugeFrame_data();
    void hugeFrame();
    void sampleBank_data();
    void sampleBank();
    void helperReplies_data();
    void helperReplies();
    void helperCrashCostsOnlyThePicture_data();
    void helperCrashCostsOnlyThePicture();
    void textCharsets_data();
    void textCharsets();

private:
    PictureLoader m_pictures;
};

void TestMetafilePictures::validFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("drawsSomething");
    for (const QString& folder : {QStringLiteral("wmf-libwmf"), QStringLiteral("wmf-libreoffice"),
                                  QStringLiteral("emf-libemf2svg"), QStringLiteral("made-here")}) {
        const QString relative = QStringLiteral("metafiles/") + folder;
        for (const QString& name : FilesIn(relative, QStringLiteral("*.?mf"))) {
            // test-030 holds object records only: a valid picture of nothing.
            QTest::newRow(qPrintable(folder + QLatin1Char('/') + name))
                << relative + QLatin1Char('/') + name << (name != QLatin1String("test-030.emf"));
        }
    }
}

void TestMetafilePictures::validFiles()
{
    QFETCH(QString, file);
    QFETCH(bool, drawsSomething);
    const PictureResult result = m_pictures.Load(PathOf(PictureData(file)));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(result.image.width() <= picture_limits::MaxMetafileSide);
    QVERIFY(result.image.height() <= picture_limits::MaxMetafileSide);
    QCOMPARE(!InkBox(result.image).isEmpty(), drawsSomething);
    QVERIFY(!result.bitmap);
}

void TestMetafilePictures::corruptedFiles_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = FilesIn(QStringLiteral("metafiles/emf-corrupted"), QStringLiteral("*.emf"));
    QVERIFY(!files.isEmpty());
    for (const QString& name : files)
        QTest::newRow(qPrintable(name)) << QStringLiteral("metafiles/emf-corrupted/") + name;
}

void TestMetafilePictures::corruptedFiles()
{
    // Refused, or drawn within bounds; never a crash or a hang of this process.
    QFETCH(QString, file);
    const PictureResult result = m_pictures.Load(PathOf(PictureData(file)));
    if (result.ok()) {
        QVERIFY(!result.image.isNull());
        QVERIFY(result.image.width() <= picture_limits::MaxMetafileSide);
        QVERIFY(result.image.height() <= picture_limits::MaxMetafileSide);
    } else {
        QVERIFY(result.image.isNull());
        QVERIFY(!result.error.isEmpty());
    }
}

void TestMetafilePictures::cutShort_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("reason");
    const QByteArray emf = ReadBytes(QStringLiteral(ZDAWNIK_SOURCE_DIR "/baza/ksztalt-trojkat.emf"));
    const QByteArray wmf = ReadBytes(PictureData(QStringLiteral("metafiles/wmf-libwmf/fjftest.wmf")));
    const QByteArray png = ReadBytes(PictureData(QStringLiteral("pngsuite/basn2c08.png")));
    QVERIFY(!emf.isEmpty() && !wmf.isEmpty());
    QTest::newRow("emf, half") << emf.left(emf.size() / 2) << "emf"
                               << "Damaged EMF";
    QTest::newRow("emf, without its end record") << emf.chopped(20) << "emf"
                                                 << "Damaged EMF";
    QTest::newRow("emf, header only") << emf.left(108) << "emf"
                                      << "Damaged EMF";
    QTest::newRow("wmf, half") << wmf.left(wmf.size() / 2) << "wmf"
                               << "Damaged WMF";
    QTest::newRow("wmf, at 90%") << wmf.left(wmf.size() * 9 / 10) << "wmf"
                                 << "Damaged WMF";
    // A record of a few bytes that declares a parameter block of 3.9 GB.
    QTest::newRow("wmf, a record declaring gigabytes")
        << ReadBytes(QStringLiteral(ZDAWNIK_SOURCE_DIR "/tests/pictures/record-declaring-gigabytes.wmf"))
        << "wmf"
        << "Damaged WMF";
    QTest::newRow("png named emf") << png << "emf"
                                   << "Not an EMF";
    QTest::newRow("png named wmf") << png << "wmf"
                                   << "Not a WMF";
    QTest::newRow("text named wmf") << QByteArray("Zadanie 7: zażółć gęślą jaźń") << "wmf"
                                    << "Not a WMF";
}

void TestMetafilePictures::cutShort()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, extension);
    QFETCH(QString, reason);
    const PictureResult result = m_pictures.Decode(data, extension);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.startsWith(reason), qPrintable(result.error));
}

void TestMetafilePictures::polishText_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("extension");
    const QString text = QStringLiteral("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ");
    QTest::newRow("wmf, Windows-1250 bytes") << TextMetafile<WmfWriter>(text, QStringLiteral("wmf")) << "wmf";
    QTest::newRow("emf, UTF-16") << TextMetafile<EmfWriter>(text, QStringLiteral("emf")) << "emf";
}

void TestMetafilePictures::polishText()
{
    // Each Polish letter is drawn as itself: the drawing matches Qt's own drawing of the line far
    // better than the same bytes taken in another code page would.
    QFETCH(QByteArray, data);
    QFETCH(QString, extension);
    QVERIFY(!data.isEmpty());
    const QString text = QStringLiteral("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ");
    const PictureResult result = m_pictures.Decode(data, extension);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.size(), TextPicture);
    const double right = InkOverlap(result.image, ReferenceText(text));
    const QString misread = QString::fromLatin1(QStringEncoder("windows-1250").encode(text));
    const double wrong = InkOverlap(result.image, ReferenceText(misread));
    QVERIFY2(right > 0.5, qPrintable(QStringLiteral("overlap with the right letters %1").arg(right)));
    QVERIFY2(right > wrong + 0.25, qPrintable(QStringLiteral("right %1, misread %2").arg(right).arg(wrong)));
}

void TestMetafilePictures::hugeFrame_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QSize>("expected");
    const auto write = [](auto writer, const QString& path, QSize size) {
        writer.polygon(QPolygon(QRect(QPoint(0, 0), size)), Qt::blue, Qt::black, 1);
        return writer.finish() ? ReadBytes(path) : QByteArray();
    };
    QTemporaryDir directory;
    const QString wmf = directory.filePath(QStringLiteral("huge.wmf"));
    const QString emf = directory.filePath(QStringLiteral("huge.emf"));
    // 30000 x 20000 pixels at 96 dpi is a poster of 8 by 5 metres; it is drawn at the largest side
    // allowed, in proportion.
    QTest::newRow("wmf, 30000 x 20000")
        << write(WmfWriter(QFile::encodeName(wmf).toStdString(), QSize(30000, 20000)), wmf,
                 QSize(30000, 20000))
        << "wmf" << QSize(4096, 2731);
    QTest::newRow("emf, 100000 x 25000")
        << write(EmfWriter(QFile::encodeName(emf).toStdString(), QSize(100000, 25000)), emf,
                 QSize(100000, 25000))
        << "emf" << QSize(4096, 1024);
}

void TestMetafilePictures::hugeFrame()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, extension);
    QFETCH(QSize, expected);
    QVERIFY(!data.isEmpty());
    const PictureResult result = m_pictures.Decode(data, extension);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(qAbs(result.image.width() - expected.width()) <= 1);
    QVERIFY(qAbs(result.image.height() - expected.height()) <= 1);
}

void TestMetafilePictures::sampleBank_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("bitmap");
    QTest::newRow("emf") << "ksztalt-trojkat.emf" << QSize(200, 60) << false;
    QTest::newRow("wmf") << "ksztalt-kwadrat.wmf" << QSize(200, 60) << false;
    QTest::newRow("png") << "ksztalt-kolo.png" << QSize(200, 60) << false;
    QTest::newRow("bmp") << "ksztalt-romb.bmp" << QSize(200, 60) << true;
    QTest::newRow("ico, the larger image") << "ksztalt-gwiazda.ico" << QSize(128, 48) << false;
    QTest::newRow("jpg") << "ksztalt-szesciokat.jpg" << QSize(200, 60) << false;
    QTest::newRow("clock") << "zegar.jpg" << QSize(300, 130) << false;
    QTest::newRow("chart") << "wykres.png" << QSize(400, 130) << false;
}

void TestMetafilePictures::sampleBank()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(bool, bitmap);
    const PictureResult result = m_pictures.Load(PathOf(QStringLiteral(ZDAWNIK_SOURCE_DIR "/baza/") + file));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.size(), size);
    QCOMPARE(result.naturalSize, size);
    QCOMPARE(result.bitmap, bitmap);
    QVERIFY(!InkBox(result.image).isEmpty());
}

void TestMetafilePictures::helperReplies_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QSize>("natural"); // an empty size where the reply is no picture
    const QByteArray pixels(2 * 3 * 4, '\x7F');
    QTest::newRow("a picture") << Reply("I", {2, 3, 2, 3}, pixels) << QSize(2, 3);
    QTest::newRow("the part of a larger picture") << Reply("I", {900, 3, 2, 3}, pixels) << QSize(900, 3);
    QTest::newRow("a part larger than the picture") << Reply("I", {1, 3, 2, 3}, pixels) << QSize();
    QTest::newRow("a reason") << Reply("E", {5, 0, 0, 0}, "Broke") << QSize();
    QTest::newRow("nothing") << QByteArray() << QSize();
    QTest::newRow("no tag") << QByteArray("ZDMF") << QSize();
    QTest::newRow("another tag") << Reply("X", {2, 3, 2, 3}, pixels) << QSize();
    QTest::newRow("pixels one byte short") << Reply("I", {2, 3, 2, 3}, pixels.chopped(1)) << QSize();
    QTest::newRow("pixels one byte over") << Reply("I", {2, 3, 2, 3}, pixels + 'x') << QSize();
    QTest::newRow("no pixels") << Reply("I", {0, 3, 0, 3}, {}) << QSize();
    QTest::newRow("wider than allowed")
        << Reply("I", {4097, 1, 4097, 1}, QByteArray(4097 * 4, '\0')) << QSize();
    QTest::newRow("a picture wider than allowed") << Reply("I", {4097, 3, 2, 3}, pixels) << QSize();
    QTest::newRow("size past 32 bits") << Reply("I", {0x40000000, 4, 0x40000000, 4}, {}) << QSize();
    QTest::newRow("reason longer than sent") << Reply("E", {50, 0, 0, 0}, "Broke") << QSize();
    QTest::newRow("chatter before the reply")
        << QByteArray("warning\n") + Reply("I", {2, 3, 2, 3}, pixels) << QSize();
}

void TestMetafilePictures::helperReplies()
{
    QFETCH(QByteArray, reply);
    QFETCH(QSize, natural);
    const PictureResult result = metafile_protocol::DecodeReply(reply);
    const bool picture = !natural.isEmpty();
    QCOMPARE(result.ok(), picture);
    QCOMPARE(result.image.isNull(), !picture);
    if (picture) {
        QCOMPARE(result.image.size(), QSize(2, 3));
        QCOMPARE(result.naturalSize, natural);
        // And what goes in comes out.
        QImage image(5, 4, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(10, 20, 30, 255));
        const PictureResult back =
            metafile_protocol::DecodeReply(metafile_protocol::EncodeImage(image, QSize(50, 4)));
        QCOMPARE(back.image, image);
        QCOMPARE(back.naturalSize, QSize(50, 4));
    } else {
        QVERIFY(!result.error.isEmpty());
    }
}

void TestMetafilePictures::helperCrashCostsOnlyThePicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("next");
    QTest::addColumn<bool>("alwaysFalls");
    // libwmf hands the drawing device a font whose face name points at no memory of its own; where
    // that pointer lands differs from run to run, so the helper falls on it most times, not always.
    QTest::newRow("wmf, face name pointing nowhere") << "face-name-pointing-nowhere.wmf"
                                                     << "ksztalt-kwadrat.wmf" << false;
    // libemf2svg turns text of glyph numbers into letters through the font, and reads the letters
    // it did not get when the font has no such glyphs.
    QTest::newRow("emf, glyph numbers of no font") << "glyph-index-text-without-font.emf"
                                                   << "ksztalt-trojkat.emf" << true;
}

void TestMetafilePictures::helperCrashCostsOnlyThePicture()
{
    // The helper falls on these: the picture is refused, and the next one draws.
    QFETCH(QString, file);
    QFETCH(QString, next);
    QFETCH(bool, alwaysFalls);
    const PictureResult crashed =
        m_pictures.Load(PathOf(QStringLiteral(ZDAWNIK_SOURCE_DIR "/tests/pictures/") + file));
    if (alwaysFalls || !crashed.ok()) {
        QVERIFY(!crashed.ok());
        QVERIFY(crashed.image.isNull());
        QVERIFY(!crashed.error.isEmpty());
    }
    const PictureResult drawn = m_pictures.Load(PathOf(QStringLiteral(ZDAWNIK_SOURCE_DIR "/baza/") + next));
    QVERIFY2(drawn.ok(), qPrintable(drawn.error));
}

void TestMetafilePictures::textCharsets_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("text");
    QTest::newRow("Central European") << QByteArray("\xB3\xF3\x64\x9F") << 238 << QStringLiteral("łódź");
    QTest::newRow("default: the Polish system's code page")
        << QByteArray("\xB9\x9C") << 1 << QStringLiteral("ąś");
    QTest::newRow("Western") << QByteArray("\xB3\xE9") << 0 << QStringLiteral("³é");
    QTest::newRow("Cyrillic") << QByteArray("\xCC\xE8\xF0") << 204 << QStringLiteral("Мир");
    QTest::newRow("Greek") << QByteArray("\xE1\xE2") << 161 << QStringLiteral("αβ");
    QTest::newRow("OEM, Polish DOS") << QByteArray("\x88\xA4") << 255 << QStringLiteral("łĄ");
    QTest::newRow("symbol fonts keep their bytes") << QByteArray("a\xB3") << 2 << QStringLiteral("a³");
}

void TestMetafilePictures::textCharsets()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, charset);
    QFETCH(QString, text);
    QCOMPARE(DecodeMetafileText(bytes, charset), text);
}

QTEST_MAIN(TestMetafilePictures)
#include "tst_metafilepictures.moc"
