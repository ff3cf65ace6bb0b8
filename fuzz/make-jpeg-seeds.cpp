// make-jpeg-seeds: writes small JPEG seeds of the kinds Qt's writer makes (baseline, progressive,
// optimised tables, grey, odd sizes) into fuzz/corpus/fuzz_jpg/. A one-off, not part of the build:
//
//   c++ -std=c++20 -fPIC fuzz/make-jpeg-seeds.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/mjs
//   /tmp/mjs fuzz/corpus/fuzz_jpg && fuzz/make-seeds.py

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <cstdio>

namespace {

QImage Drawing(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setBrush(QColor(200, 40, 40));
    painter.drawEllipse(QRectF(0.5, 0.5, width - 1.0, height - 1.0));
    painter.setPen(QColor(20, 90, 200));
    painter.drawLine(0, height - 1, width - 1, 0);
    painter.end();
    return image.convertToFormat(format);
}

bool Write(const QDir& folder, const QString& name, const QImage& image, int quality, bool progressive,
           bool optimized)
{
    QImageWriter writer(folder.filePath(name), "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.setOptimizedWrite(optimized);
    if (writer.write(image))
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(writer.errorString()));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-jpeg-seeds FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    ok &= Write(folder, "made-baseline-8x8.jpg", Drawing(8, 8, QImage::Format_RGB32), 75, false, false);
    ok &= Write(folder, "made-progressive-17x9.jpg", Drawing(17, 9, QImage::Format_RGB32), 60, true, false);
    ok &= Write(folder, "made-optimized-16x16.jpg", Drawing(16, 16, QImage::Format_RGB32), 90, false, true);
    ok &= Write(folder, "made-grey-5x3.jpg", Drawing(5, 3, QImage::Format_Grayscale8), 50, false, false);
    ok &= Write(folder, "made-grey-progressive-9x9.jpg", Drawing(9, 9, QImage::Format_Grayscale8), 50, true,
                true);
    ok &= Write(folder, "made-1x1.jpg", Drawing(1, 1, QImage::Format_RGB32), 100, false, false);
    ok &= Write(folder, "made-low-quality-33x20.jpg", Drawing(33, 20, QImage::Format_RGB32), 5, false, false);
    return ok ? 0 : 1;
}
