// zdawnik-make-samples: draws the picture files of the sample bank.
//
//   zdawnik-make-samples <directory>
//
// One question on shapes has six picture answers, one per format the program reads, each a shape
// with its Polish name; two more questions show a clock and a bar chart. Raster pictures are drawn
// with QPainter, metafiles written record by record with libuemf.

#include "devtools/make-samples/EmfWriter.h"
#include "devtools/make-samples/IconFile.h"
#include "devtools/make-samples/SampleDrawings.h"
#include "devtools/make-samples/WmfWriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>

namespace {

using namespace zdawnik;

const QSize AnswerSize(200, 60);
const QColor Ink(0x1F, 0x2A, 0x44);
const QString MetafileFace = QStringLiteral("Arial");

std::string Path(const QDir& directory, const char* name)
{
    return QFile::encodeName(directory.filePath(QLatin1String(name))).toStdString();
}

bool SaveImage(const QImage& image, const QDir& directory, const char* name, const char* format,
               int quality = -1)
{
    QImageWriter writer(directory.filePath(QLatin1String(name)), format);
    if (quality >= 0)
        writer.setQuality(quality);
    return writer.write(image);
}

template <typename Writer>
bool WriteMetafile(const QDir& directory, const char* name, Shape shape, const QString& label, QColor fill)
{
    Writer writer(Path(directory, name), AnswerSize);
    writer.polygon(ShapeOutline(shape, ShapeBox(AnswerSize)), fill, Ink, 2);
    writer.text(NameOrigin(AnswerSize), label, NamePixelHeight(AnswerSize), Ink, MetafileFace, true);
    return writer.finish();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zdawnik-make-samples <directory>\n");
        return 2;
    }
    const QDir directory(QFile::decodeName(argv[1]));
    if (!directory.exists() && !QDir().mkpath(directory.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    bool ok = true;
    const auto report = [&ok](bool written, const char* name) {
        std::printf("%s %s\n", written ? "wrote" : "FAILED", name);
        ok = ok && written;
    };

    report(WriteMetafile<EmfWriter>(directory, "ksztalt-trojkat.emf", Shape::Triangle,
                                    QStringLiteral("trójkąt"), QColor(0xF3, 0x9C, 0x12)),
           "ksztalt-trojkat.emf");
    report(WriteMetafile<WmfWriter>(directory, "ksztalt-kwadrat.wmf", Shape::Square,
                                    QStringLiteral("kwadrat"), QColor(0x34, 0x98, 0xDB)),
           "ksztalt-kwadrat.wmf");
    report(SaveImage(ShapeAnswer(Shape::Circle, QStringLiteral("koło"), AnswerSize, Qt::transparent,
                                 QColor(0x2E, 0xCC, 0x71)),
                     directory, "ksztalt-kolo.png", "png"),
           "ksztalt-kolo.png");
    // A 24-bit bitmap on a white ground: the window keys out the bottom-left colour of bitmaps.
    report(SaveImage(ShapeAnswer(Shape::Rhombus, QStringLiteral("romb"), AnswerSize, Qt::white,
                                 QColor(0xE7, 0x4C, 0x3C))
                         .convertToFormat(QImage::Format_RGB888),
                     directory, "ksztalt-romb.bmp", "bmp"),
           "ksztalt-romb.bmp");
    {
        const QColor gold(0xF1, 0xC4, 0x0F);
        const QByteArray icon = EncodeIcon(
            {ShapeAnswer(Shape::Star, QString(), QSize(16, 16), Qt::transparent, gold),
             ShapeAnswer(Shape::Star, QStringLiteral("gwiazda"), QSize(128, 48), Qt::transparent, gold)});
        QFile file(directory.filePath(QStringLiteral("ksztalt-gwiazda.ico")));
        report(file.open(QIODevice::WriteOnly) && file.write(icon) == icon.size(), "ksztalt-gwiazda.ico");
    }
    report(SaveImage(ShapeAnswer(Shape::Hexagon, QStringLiteral("sześciokąt"), AnswerSize, Qt::white,
                                 QColor(0x9B, 0x59, 0xB6))
                         .convertToFormat(QImage::Format_RGB32),
                     directory, "ksztalt-szesciokat.jpg", "jpg", 92),
           "ksztalt-szesciokat.jpg");
    report(SaveImage(ClockFace(QSize(300, 130), 3, 15), directory, "zegar.jpg", "jpg", 92), "zegar.jpg");
    report(SaveImage(BarChart(QSize(400, 130), {{QStringLiteral("A"), 55, QColor(0x34, 0x98, 0xDB)},
                                                {QStringLiteral("B"), 90, QColor(0xE7, 0x4C, 0x3C)},
                                                {QStringLiteral("C"), 30, QColor(0x2E, 0xCC, 0x71)},
                                                {QStringLiteral("D"), 70, QColor(0xF3, 0x9C, 0x12)}}),
                     directory, "wykres.png", "png"),
           "wykres.png");
    return ok ? 0 : 1;
}
