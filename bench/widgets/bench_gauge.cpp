// The gauge's cost against the least any paint of it could cost: building the picture of the
// window's 131 × 20 bar (frame, background, bar, exclusive-or composition) against a bare fill of an
// image of the same size.

#include "widgets/TColor.h"
#include "widgets/TGauge.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

#include "bench/BenchOutput.h"

using namespace zdawnik;
using namespace zdawnik::bench;

int main(int argc, char* argv[])
{
    // Nothing is shown: the benchmark runs the same with or without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // The window's gauge, two of three: lime from x = 1 to 84 on the window's blue.
    TGauge gauge;
    gauge.resize(131, 20);
    gauge.setBackColor(TColor(0x00985007));
    gauge.setForeColor(clLime);
    gauge.setShowText(false);
    gauge.setMaxValue(3);
    gauge.setProgress(2);

    QImage bare(gauge.size(), QImage::Format_RGB32);
    volatile unsigned sink = 0;
    const int repeat = 20000;
    const int rounds = 31;

    const auto [paint, fill] =
        MedianPairedMicroseconds([&] { sink = sink + gauge.paintPicture().constBits()[200]; },
                                 [&] {
                                     bare.fill(0xFF075098u);
                                     sink = sink + bare.constBits()[200];
                                 },
                                 repeat, rounds);
    std::printf(
        "One paint of the window's gauge builds its 131 x 20 picture; the limit fills an image of that "
        "size.\n");
    ReportTimes("gauge-paint-vs-fill", paint, fill, 3.0);

    // For information: the same with the copy to a surface through a painter, as on screen.
    QImage surface(gauge.size(), QImage::Format_RGB32);
    QPainter painter(&surface);
    const double onSurface =
        MedianMicroseconds([&] { painter.drawImage(0, 0, gauge.paintPicture()); }, repeat, rounds);
    const double fillSurface =
        MedianMicroseconds([&] { painter.fillRect(surface.rect(), QColor(7, 80, 152)); }, repeat, rounds);
    std::printf("With the copy to a surface: %s per paint, against %s for a painter's fill of the surface.\n",
                FormatMicroseconds(onSurface).c_str(), FormatMicroseconds(fillSurface).c_str());
    return 0;
}
