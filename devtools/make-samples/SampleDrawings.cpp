#include "devtools/make-samples/SampleDrawings.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace zdawnik {

namespace {

const QColor Ink(0x1F, 0x2A, 0x44);

QPolygon Regular(const QRect& box, int corners, double startDegrees)
{
    QPolygon polygon;
    const QPointF centre = QRectF(box).center();
    const double rx = box.width() / 2.0;
    const double ry = box.height() / 2.0;
    for (int i = 0; i < corners; ++i) {
        const double angle = (startDegrees + 360.0 * i / corners) * std::numbers::pi / 180;
        polygon << QPoint(int(std::lround(centre.x() + rx * std::cos(angle))),
                          int(std::lround(centre.y() - ry * std::sin(angle))));
    }
    return polygon;
}

QFont NameFont(int pixelHeight)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelHeight);
    font.setBold(true);
    return font;
}

} // namespace

QPolygon ShapeOutline(Shape shape, const QRect& box)
{
    switch (shape) {
    case Shape::Triangle:
        return QPolygon({QPoint(box.center().x(), box.top()), box.bottomRight(), box.bottomLeft()});
    case Shape::Square:
        return QPolygon(box.adjusted(2, 2, -2, -2), true).mid(0, 4);
    case Shape::Circle:
        return Regular(box, 72, 0);
    case Shape::Rhombus:
        return Regular(box, 4, 90);
    case Shape::Star: {
        QPolygon outer = Regular(box, 5, 90);
        QPolygon inner = Regular(QRect(0, 0, box.width() * 2 / 5, box.height() * 2 / 5), 5, 90 + 36);
        inner.translate(box.center() - QRect(0, 0, box.width() * 2 / 5, box.height() * 2 / 5).center());
        QPolygon star;
        for (int i = 0; i < 5; ++i)
            star << outer[i] << inner[i];
        return star;
    }
    case Shape::Hexagon:
        return Regular(box, 6, 0);
    }
    return {};
}

QRect ShapeBox(QSize size)
{
    const int side = size.height() - 2 * (size.height() / 10);
    return QRect(size.height() / 10 + 2, (size.height() - side) / 2, side, side);
}

QPoint NameOrigin(QSize size)
{
    const QRect box = ShapeBox(size);
    return QPoint(box.right() + size.height() / 5, size.height() / 2 + NamePixelHeight(size) * 7 / 20);
}

int NamePixelHeight(QSize size)
{
    return size.height() * 3 / 10;
}

QImage ShapeAnswer(Shape shape, const QString& name, QSize size, QColor ground, QColor fill)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(ground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Ink, qMax(1, size.height() / 30), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPolygon(ShapeOutline(shape, ShapeBox(size)));
    if (!name.isEmpty()) {
        painter.setFont(NameFont(NamePixelHeight(size)));
        painter.setPen(Ink);
        painter.drawText(NameOrigin(size), name);
    }
    return image;
}

QImage ClockFace(QSize size, int hours, int minutes)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double radius = size.height() / 2.0 - 6;
    painter.translate(size.width() / 2.0, size.height() / 2.0);

    painter.setPen(QPen(Ink, 4));
    painter.setBrush(QColor(0xFF, 0xF8, 0xE7));
    painter.drawEllipse(QPointF(0, 0), radius, radius);
    for (int i = 0; i < 60; ++i) {
        const bool hour = i % 5 == 0;
        painter.save();
        painter.rotate(6.0 * i);
        painter.setPen(QPen(Ink, hour ? 3 : 1));
        painter.drawLine(QPointF(0, -radius + 4), QPointF(0, -radius + (hour ? 13 : 8)));
        painter.restore();
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(radius / 4));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Ink);
    for (int number : {12, 3, 6, 9}) {
        const double angle = number * 30.0 * std::numbers::pi / 180;
        const QPointF centre(std::sin(angle) * radius * 0.68, -std::cos(angle) * radius * 0.68);
        painter.drawText(QRectF(centre - QPointF(radius / 4, radius / 4), QSizeF(radius / 2, radius / 2)),
                         Qt::AlignCenter, QString::number(number));
    }
    // The hour hand moves on between the hours, as on a real clock.
    const double hourAngle = (hours % 12 + minutes / 60.0) * 30.0;
    const double minuteAngle = minutes * 6.0;
    painter.save();
    painter.rotate(hourAngle);
    painter.setPen(QPen(Ink, 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, 6), QPointF(0, -radius * 0.5));
    painter.restore();
    painter.save();
    painter.rotate(minuteAngle);
    painter.setPen(QPen(QColor(0xC0, 0x39, 0x2B), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, 8), QPointF(0, -radius * 0.8));
    painter.restore();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink);
    painter.drawEllipse(QPointF(0, 0), 5, 5);
    return image;
}

QImage BarChart(QSize size, const QList<Bar>& bars)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(size.height() / 8);
    font.setBold(true);
    painter.setFont(font);

    const int labelSpace = size.height() / 5;
    const QRect plot(size.width() / 8, 8, size.width() * 3 / 4, size.height() - 8 - labelSpace);
    painter.setPen(QPen(QColor(0xD0, 0xD4, 0xDC), 1));
    for (int step = 1; step <= 4; ++step) {
        const int y = plot.bottom() - plot.height() * step / 4;
        painter.drawLine(plot.left(), y, plot.right(), y);
    }
    const int slot = plot.width() / int(bars.size());
    for (int i = 0; i < bars.size(); ++i) {
        const Bar& bar = bars[i];
        const int height = plot.height() * bar.value / 100;
        const QRect column(plot.left() + slot * i + slot / 5, plot.bottom() - height, slot * 3 / 5, height);
        painter.setPen(QPen(Ink, 1));
        painter.setBrush(bar.colour);
        painter.drawRect(column);
        painter.setPen(Ink);
        painter.drawText(QRect(column.left(), plot.bottom() + 2, column.width(), labelSpace), Qt::AlignCenter,
                         bar.label);
    }
    painter.setPen(QPen(Ink, 2));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    return image;
}

} // namespace zdawnik
