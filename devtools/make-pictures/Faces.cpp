#include "devtools/make-pictures/Faces.h"

#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <cmath>

namespace zdawnik::tools {

namespace {

constexpr int Size = 63;
constexpr int Oversampling = 8;
constexpr int Steps = 15; // blend steps between the ground and the face: 16 colours in all

// Geometry in pixel units, pixel centres at half-integers: the face's centre is the centre of
// pixel (31, 31).
constexpr double Centre = 31.5;
constexpr double OuterRadius = 30.5; // the outline's outer edge covers pixels 1 and 61
constexpr double OutlineWidth = 4.5;
constexpr double EyeRadius = 4.5;
constexpr double EyeOffset = 10.0;
constexpr double EyeHeight = 21.5;
constexpr double MouthWidth = 4.0;
// The mouth's axis ends two pixels inside x = 14 and x = 48, its round caps reaching them.
constexpr double MouthLeft = 16.5;
constexpr double MouthRight = 46.5;

QPainterPath Mouth(FaceKind kind)
{
    QPainterPath axis;
    if (kind == FaceKind::Partial) {
        axis.moveTo(MouthLeft, 40.0); // rows 38 to 41
        axis.lineTo(MouthRight, 40.0);
    } else {
        // A cubic whose control points lie beyond the wanted middle by a third, so that the curve
        // passes through the middle: ends at yEnd, the middle at yMiddle.
        const double yEnd = kind == FaceKind::Good ? 35.5 : 44.5;
        const double yMiddle = kind == FaceKind::Good ? 48.5 : 32.5;
        const double yControl = (yMiddle - 0.25 * yEnd) / 0.75;
        axis.moveTo(MouthLeft, yEnd);
        axis.cubicTo(MouthLeft + 2.0, yControl, MouthRight - 2.0, yControl, MouthRight, yEnd);
    }
    QPainterPathStroker stroker;
    stroker.setWidth(MouthWidth);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(axis);
}

// The parts of a face; they do not overlap, so their coverages add up.
QList<QPainterPath> FaceParts(FaceKind kind)
{
    QPainterPath outline;
    outline.addEllipse(QPointF(Centre, Centre), OuterRadius, OuterRadius);
    const double inner = OuterRadius - OutlineWidth;
    outline.addEllipse(QPointF(Centre, Centre), inner, inner);
    outline.setFillRule(Qt::OddEvenFill);

    QPainterPath eyes;
    eyes.addEllipse(QPointF(Centre - EyeOffset, EyeHeight), EyeRadius, EyeRadius);
    eyes.addEllipse(QPointF(Centre + EyeOffset, EyeHeight), EyeRadius, EyeRadius);
    return {outline, eyes, Mouth(kind)};
}

int Blend(int ground, int colour, int step)
{
    return static_cast<int>(std::lround(ground + double(colour - ground) * step / Steps));
}

} // namespace

QRgb FaceColour(FaceKind kind)
{
    switch (kind) {
    case FaceKind::Good:
        return qRgb(0, 255, 0);
    case FaceKind::Partial:
        return qRgb(255, 255, 255);
    case FaceKind::Wrong:
        return qRgb(255, 153, 0);
    }
    return qRgb(255, 255, 255);
}

QImage DrawFace(FaceKind kind)
{
    // How much of each pixel the face covers, measured on a finer grid.
    QImage fine(Size * Oversampling, Size * Oversampling, QImage::Format_ARGB32);
    fine.fill(Qt::transparent);
    {
        QPainter p(&fine);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(Oversampling, Oversampling);
        for (const QPainterPath& part : FaceParts(kind))
            p.fillPath(part, Qt::white);
    }

    const QRgb colour = FaceColour(kind);
    QImage face(Size, Size, QImage::Format_RGB32);
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            int covered = 0;
            for (int j = 0; j < Oversampling; ++j) {
                for (int i = 0; i < Oversampling; ++i)
                    covered += qAlpha(fine.pixel(x * Oversampling + i, y * Oversampling + j));
            }
            const int step = static_cast<int>(
                std::lround(double(covered) * Steps / (255.0 * Oversampling * Oversampling)));
            face.setPixel(x, y,
                          qRgb(Blend(qRed(FaceGround), qRed(colour), step),
                               Blend(qGreen(FaceGround), qGreen(colour), step),
                               Blend(qBlue(FaceGround), qBlue(colour), step)));
        }
    }
    return face;
}

} // namespace zdawnik::tools
