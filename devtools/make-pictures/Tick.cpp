#include "devtools/make-pictures/Tick.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

namespace zdawnik::tools {

namespace {

constexpr int Size = 50;

void DrawBox(QPainter& p)
{
    // The shade: two pixels wide, right of and below the box, darker next to it.
    p.fillRect(QRect(34, 16, 1, 26), QColor(150, 150, 150));
    p.fillRect(QRect(10, 40, 25, 1), QColor(150, 150, 150));
    p.fillRect(QRect(35, 16, 1, 26), QColor(190, 190, 190));
    p.fillRect(QRect(10, 41, 25, 1), QColor(190, 190, 190));

    // The box: a grey border round an inside that is pure white in its upper-left part and greys
    // slightly towards the lower-right corner, like paper lit from the upper left.
    p.fillRect(QRect(8, 14, 26, 26), QColor(128, 128, 128));
    QLinearGradient inside(QPointF(9, 15), QPointF(33, 39));
    inside.setColorAt(0.0, Qt::white);
    inside.setColorAt(0.5, Qt::white);
    inside.setColorAt(0.8, QColor(236, 236, 238));
    inside.setColorAt(1.0, QColor(212, 212, 216));
    p.fillRect(QRect(9, 15, 24, 24), inside);
    // A thin inner shade along the right and bottom edges gives the box some depth.
    p.fillRect(QRect(32, 16, 1, 23), QColor(200, 200, 204));
    p.fillRect(QRect(10, 38, 23, 1), QColor(200, 200, 204));
}

void DrawCheckMark(QPainter& p)
{
    // Pixel centres lie at half-integers; the stroke's axis runs through the centres of the
    // pixels that carry its ends and its joint.
    const QPointF shortEnd(6.5, 24.5);
    const QPointF joint(21.5, 37.0);
    const QPointF longEnd(41.5, 3.5);
    QPainterPath axis(shortEnd);
    axis.lineTo(joint);
    axis.lineTo(longEnd);

    QPainterPathStroker stroker;
    stroker.setWidth(9.0);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setCapStyle(Qt::FlatCap);
    const QPainterPath mark = stroker.createStroke(axis).simplified();

    QLinearGradient red(QPointF(12, 4), QPointF(30, 46));
    red.setColorAt(0.0, QColor(255, 92, 72));
    red.setColorAt(0.45, QColor(232, 24, 18));
    red.setColorAt(1.0, QColor(176, 0, 0));
    p.setPen(QPen(QColor(84, 0, 0), 1.25, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(red);
    p.drawPath(mark);

    // A lighter streak along the long stroke catches the light.
    QPainterPath gloss(QPointF(22.5, 31.0));
    gloss.lineTo(QPointF(38.5, 5.5));
    p.setPen(QPen(QColor(255, 150, 130, 150), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(gloss);
}

} // namespace

QImage DrawTick()
{
    QImage layers(Size, Size, QImage::Format_ARGB32);
    layers.fill(Qt::transparent);
    {
        QPainter p(&layers);
        DrawBox(p);
        p.setRenderHint(QPainter::Antialiasing);
        DrawCheckMark(p);
    }

    // Flatten on white with a hard silhouette: mostly covered pixels take their own colour at full
    // strength, the rest become the pure white ground.
    QImage tick(Size, Size, QImage::Format_RGB32);
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            const QRgb c = layers.pixel(x, y);
            tick.setPixel(x, y, qAlpha(c) >= 128 ? (c | 0xFF000000u) : qRgb(255, 255, 255));
        }
    }
    return tick;
}

} // namespace zdawnik::tools
