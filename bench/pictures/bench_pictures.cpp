// The picture loader against the bare decoder it wraps: loading a 1920 x 1080 JPEG and PNG through
// the loader (reading the file, the integrity walk, the declared-size check, decoding) against Qt's
// reader decoding the same file on its own. A question of twelve metafiles, drawn by the helper
// process, against the same question of twelve PNG pictures. The look-up of very long picture
// names. And questions of pictures that cannot be shown in time, against the question's budget.

#include "bank/PictureName.h"
#include "pictures/PictureLoader.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "bench/BenchOutput.h"
#include "bench/pictures/QuestionMetafiles.h"

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

// Something like a photograph: soft gradients, shapes and a little grain, so that both encoders
// produce files of a realistic size rather than the tiny ones a flat picture gives.
QImage PhotoLike(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(70, 130, 200));
    sky.setColorAt(0.6, QColor(200, 220, 240));
    sky.setColorAt(1, QColor(90, 140, 60));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(1080);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 300; ++i) {
        const QColor colour(random.bounded(256), random.bounded(256), random.bounded(256), 90);
        const int radius = 10 + random.bounded(120);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QPoint(random.bounded(size.width()), random.bounded(size.height())), radius,
                            radius);
    }
    painter.end();
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = int(random.bounded(9)) - 4;
            row[x] = qRgb(qBound(0, qRed(row[x]) + grain, 255), qBound(0, qGreen(row[x]) + grain, 255),
                          qBound(0, qBlue(row[x]) + grain, 255));
        }
    }
    return image;
}

std::filesystem::path PathOf(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

void Compare(PictureLoader& pictures, const std::string& name, const QString& path, const char* format,
             double target)
{
    const std::filesystem::path file = PathOf(path);
    const auto [loader, bare] = MedianPairedMicroseconds(
        [&] {
            const PictureResult result = pictures.Load(file);
            if (!result.ok())
                std::fprintf(stderr, "%s\n", qPrintable(result.error));
        },
        [&] {
            QImageReader reader(path, format);
            reader.setAutoTransform(true);
            if (reader.read().isNull())
                std::fprintf(stderr, "the bare decoder failed on %s\n", qPrintable(path));
        },
        3, 31);
    ReportTimes(name, loader, bare, target);
}

// The metafile question against the same question with each picture a PNG of what the metafile
// draws, both loaded afresh for an answer's place, as the window loads a question it shows first.
void MetafileQuestionAgainstPngQuestion(const QTemporaryDir& directory)
{
    std::vector<std::filesystem::path> metafiles;
    std::vector<std::filesystem::path> pngs;
    PictureLoader whole;
    for (const char* file : QuestionMetafiles) {
        metafiles.push_back(
            PathOf(QStringLiteral(ZDAWNIK_SOURCE_DIR "/tests/data/pictures/metafiles/") + file));
        const PictureResult drawn = whole.Load(metafiles.back());
        const QString png = directory.filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".png"));
        if (!drawn.ok() || !drawn.image.save(png)) {
            std::fprintf(stderr, "cannot draw %s: %s\n", file, qPrintable(drawn.error));
            return;
        }
        pngs.push_back(PathOf(png));
        std::printf("%-70s %4d x %4d\n", file, drawn.naturalSize.width(), drawn.naturalSize.height());
    }
    PictureLoaderOptions options;
    options.cacheBytes = 0;
    PictureLoader pictures(options);
    pictures.StartHelper();
    const auto question = [&](const std::vector<std::filesystem::path>& files) {
        pictures.BeginQuestion();
        for (const std::filesystem::path& file : files) {
            const PictureResult result = pictures.Load(file, QSize(441, 70));
            if (!result.ok())
                std::fprintf(stderr, "%s: %s\n", file.c_str(), qPrintable(result.error));
        }
    };
    const auto [drawn, decoded] =
        MedianPairedMicroseconds([&] { question(metafiles); }, [&] { question(pngs); }, 1, 21);
    ReportTimes("question-12-metafiles-vs-12-pngs", drawn, decoded, 3.0);
}

// A picture name of 90 kB against the 100 ms it may take to resolve: thirty thousand steps up,
// and seven and a half thousand down into a folder written in other case and up again.
void LongPictureNames(const QTemporaryDir& directory)
{
    const std::filesystem::path bank = PathOf(directory.filePath(QStringLiteral("baza")));
    std::filesystem::create_directories(bank / "rysunki");
    const auto repeated = [](const std::string& part, int count) {
        std::string name;
        for (int k = 0; k < count; ++k)
            name += part;
        return name + "obraz.png";
    };
    const std::pair<const char*, std::string> names[] = {
        {"picture-name-90kB-steps-up-vs-100ms", repeated("../", 30000)},
        {"picture-name-90kB-other-case-vs-100ms", repeated("RYSUNKI\\..\\", 7500)},
    };
    for (const auto& [figure, name] : names) {
        const double microseconds =
            MedianMicroseconds([&] { (void)FindPictureFile(bank, name, TextEncoding::Windows1250); }, 1, 9);
        Report(figure, FormatMicroseconds(microseconds), "100.00ms", microseconds / 100000.0, 1.0);
    }
}

// A WMF of 4096 x 4096 pixels that fills its whole frame again and again: each record is valid, and
// drawing all of them takes minutes, as a hostile or runaway file does.
QByteArray EndlessWmf(int fills, int shade)
{
    QByteArray records;
    QDataStream out(&records, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const auto record = [&](quint16 function, std::initializer_list<qint16> parameters) {
        out << quint32(3 + parameters.size()) << function;
        for (const qint16 parameter : parameters)
            out << parameter;
    };
    constexpr qint16 Side = 4096;
    record(0x020B, {0, 0});       // the window's origin
    record(0x020C, {Side, Side}); // and extent
    out << quint32(7) << quint16(0x02FC) << quint16(0) << quint32(0x0000FF + shade) << quint16(0);
    record(0x012D, {0}); // the brush chosen
    for (int k = 0; k < fills; ++k)
        record(0x041B, {Side, Side, 0, 0}); // a rectangle over all of it
    record(0, {});
    QByteArray file;
    QDataStream whole(&file, QIODevice::WriteOnly);
    whole.setByteOrder(QDataStream::LittleEndian);
    const quint16 placeable[] = {0xCDD7, 0x9AC6, 0, 0, 0, quint16(Side), quint16(Side), 96, 0, 0};
    quint16 checksum = 0;
    for (const quint16 word : placeable) {
        whole << word;
        checksum ^= word;
    }
    whole << checksum;
    whole << quint16(1) << quint16(9) << quint16(0x0300) << quint32((18 + records.size()) / 2) << quint16(1)
          << quint32(7) << quint16(0);
    return file + records;
}

// One question of thirteen pictures that cannot be shown in time, against the question's budget of
// three seconds: different PNGs of 8192 x 8192 pixels, and metafiles that take minutes to draw.
void QuestionsAgainstTheirBudget(const QTemporaryDir& directory)
{
    QImage large = LargeQuestionPicture();
    std::vector<std::filesystem::path> pngs;
    std::vector<std::filesystem::path> metafiles;
    for (int k = 0; k < 13; ++k) {
        large.setPixel(k, 0, qRgb(k, k, k)); // thirteen different files
        const QString png = directory.filePath(QStringLiteral("duzy%1.png").arg(k));
        const QString wmf = directory.filePath(QStringLiteral("wroga%1.wmf").arg(k));
        QFile hostile(wmf);
        if (!large.save(png) || !hostile.open(QIODevice::WriteOnly) ||
            hostile.write(EndlessWmf(100000, k)) < 0) {
            std::fprintf(stderr, "cannot write the benchmark's pictures\n");
            return;
        }
        pngs.push_back(PathOf(png));
        metafiles.push_back(PathOf(wmf));
    }
    const auto question = [](const std::vector<std::filesystem::path>& files) {
        PictureLoaderOptions options;
        PictureLoader pictures(options);
        pictures.StartHelper();
        QThread::msleep(500); // the helper is up, as it is in the window by the first question
        pictures.BeginQuestion();
        QElapsedTimer timer;
        timer.start();
        for (const std::filesystem::path& file : files)
            (void)pictures.Load(file, QSize(441, 70));
        return double(timer.nsecsElapsed()) / 1000.0;
    };
    const double limit = picture_limits::QuestionBudgetMs * 1000.0;
    std::vector<double> rasters, drawings;
    for (int round = 0; round < 3; ++round) {
        rasters.push_back(question(pngs));
        drawings.push_back(question(metafiles));
    }
    std::sort(rasters.begin(), rasters.end());
    std::sort(drawings.begin(), drawings.end());
    ReportTimes("question-13-different-pngs-8192-vs-budget", rasters[1], limit, 1.0);
    ReportTimes("question-13-endless-metafiles-vs-budget", drawings[1], limit, 1.0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir directory;
    const QImage photo = PhotoLike(QSize(1920, 1080));
    const QString jpeg = directory.filePath(QStringLiteral("photo.jpg"));
    const QString png = directory.filePath(QStringLiteral("photo.png"));
    QImageWriter jpegWriter(jpeg, "jpeg");
    jpegWriter.setQuality(90);
    QImageWriter pngWriter(png, "png");
    if (!jpegWriter.write(photo) || !pngWriter.write(photo)) {
        std::fprintf(stderr, "cannot write the benchmark's pictures\n");
        return 1;
    }
    std::printf("1920 x 1080 inputs: JPEG %lld bytes, PNG %lld bytes\n", QFileInfo(jpeg).size(),
                QFileInfo(png).size());

    // Nothing is cached: every round loads the file afresh.
    PictureLoaderOptions options;
    options.cacheBytes = 0;
    PictureLoader uncached(options);
    Compare(uncached, "jpeg-1080p-load-vs-decode", jpeg, "jpeg", 1.15);
    Compare(uncached, "png-1080p-load-vs-decode", png, "png", 1.15);

    MetafileQuestionAgainstPngQuestion(directory);
    LongPictureNames(directory);
    QuestionsAgainstTheirBudget(directory);
    return 0;
}
