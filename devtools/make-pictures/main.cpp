// Draws the program's built-in pictures and writes them, in the formats the program keeps them in,
// into the assets folder given on the command line:
//
//     make-pictures <assets folder>
//
// Every picture is drawn from code and noise with fixed seeds, so running this again remakes the
// same files.

#include "devtools/make-pictures/ApplicationIcon.h"
#include "devtools/make-pictures/BmpWriter.h"
#include "devtools/make-pictures/EndPhotograph.h"
#include "devtools/make-pictures/Faces.h"
#include "devtools/make-pictures/HandCursor.h"
#include "devtools/make-pictures/IconWriter.h"
#include "devtools/make-pictures/JpegWriter.h"
#include "devtools/make-pictures/PngWriter.h"
#include "devtools/make-pictures/Quantiser.h"
#include "devtools/make-pictures/Tick.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <exception>
#include <stdexcept>

using namespace zdawnik::tools;

namespace {

void Save(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw std::runtime_error("cannot make the folder for " + path.toStdString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString());
    std::printf("%-44s %7lld bytes\n", qPrintable(name), static_cast<long long>(bytes.size()));
}

void MakeAll(const QDir& assets)
{
    // The tick is drawn with colour-key transparency keyed on pure white, which the palette must
    // keep exactly.
    Save(assets, "tick.bmp", EncodeBmp8(QuantiseKeeping(DrawTick(), 255, qRgb(255, 255, 255)), 255));

    // Only the good face carries an sRGB chunk; all three carry the same gamma.
    Save(assets, "face-good.png", EncodePngRgb(DrawFace(FaceKind::Good), {45455, true}));
    Save(assets, "face-partial.png", EncodePngRgb(DrawFace(FaceKind::Partial), {45455, false}));
    Save(assets, "face-wrong.png", EncodePngRgb(DrawFace(FaceKind::Wrong), {45455, false}));

    Save(assets, "end-photograph.jpg", EncodeJpeg(DrawEndPhotograph(), 80, 96));

    Save(assets, "zdawnik.ico", EncodeIcon16(DrawIcon16Colours(), WindowsIconPalette()));
    for (const int size : {16, 32, 48, 64, 128, 256})
        Save(assets, QStringLiteral("icons/hicolor/%1x%1/apps/zdawnik.png").arg(size),
             EncodePngRgba(DrawIcon(size), {45455, true}));
    Save(assets, "icons/hicolor/scalable/apps/zdawnik.svg", IconSvg());

    Save(assets, "hand.cur", EncodeMonochromeCursor(DrawHandCursor(), HandHotSpot));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-pictures <assets folder>\n");
        return 2;
    }
    try {
        MakeAll(QDir(QString::fromLocal8Bit(argv[1])));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make-pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
