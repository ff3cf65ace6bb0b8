#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

namespace zdawnik {

enum class Shape
{
    Triangle,
    Square,
    Circle,
    Rhombus,
    Star,
    Hexagon,
};

// The outline of a shape inscribed in box (a circle as a many-sided polygon), so the raster and the
// metafile pictures draw the same figure.
QPolygon ShapeOutline(Shape shape, const QRect& box);

// Where an answer picture of the given size puts its shape and the baseline of its name.
QRect ShapeBox(QSize size);
QPoint NameOrigin(QSize size);
int NamePixelHeight(QSize size);

// An answer picture: the shape on the left, its name beside it, on the given ground (transparent
// for none).
QImage ShapeAnswer(Shape shape, const QString& name, QSize size, QColor ground, QColor fill);

// A clock face showing the given time.
QImage ClockFace(QSize size, int hours, int minutes);

struct Bar
{
    QString label;
    int value; // 0 to 100
    QColor colour;
};

// A bar chart of a few bars with their labels under them.
QImage BarChart(QSize size, const QList<Bar>& bars);

} // namespace zdawnik
