// The picture loader against the bare decoder it wraps: loading a 1920 x 1080 JPEG and PNG through
// LoadPicture (reading the file, the integrity walk, the declared-size check, decoding) against Qt's
// reader decoding the same file on its own. Also, for information, what a metafile costs through
// the helper process.

#include "pictures/PictureLoader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>

#include "bench/BenchOutput.h"

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

void Compare(const std::string& name, const QString& path, const char* format, double target)
{
    const std::filesystem::path file = PathOf(path);
    const auto [loader, bare] = MedianPairedMicroseconds(
        [&] {
            const PictureResult result = LoadPicture(file);
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

    Compare("jpeg-1080p-load-vs-decode", jpeg, "jpeg", 1.15);
    Compare("png-1080p-load-vs-decode", png, "png", 1.15);

    // A metafile is drawn in a process of its own; its start-up is the price of keeping the
    // metafile libraries' crashes out of the program.
    const QString sample = QStringLiteral(ZDAWNIK_SOURCE_DIR "/baza/ksztalt-kwadrat.wmf");
    const double metafile = MedianMicroseconds([&] { LoadPicture(PathOf(sample)); }, 3, 7);
    std::printf("a small WMF through the helper process: %s\n", FormatMicroseconds(metafile).c_str());
    return 0;
}
