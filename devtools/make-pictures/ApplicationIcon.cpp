#include "devtools/make-pictures/ApplicationIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace zdawnik::tools {

namespace {

// The chip is laid out lengthwise along x around the origin, in units of a 32-pixel icon, then
// turned by 45 degrees about the icon's centre so that it runs from the top left to the bottom
// right.
constexpr double Units = 32.0;
constexpr double Turn = 45.0;
constexpr QRectF Body(-13.0, -5.5, 26.0, 11.0);
constexpr QPointF MarkCentre(-8.6, 0.0); // near the upper end
constexpr double MarkRadius = 2.3;

struct PinRow
{
    int count;
    double pitch;
    double width;
    double length;
};
constexpr PinRow FivePins{5, 5.0, 2.6, 3.8};
// At the smallest sizes five pins a side would blur into a yellow band: fewer, broader ones read
// better.
constexpr PinRow ThreePins{3, 7.6, 3.6, 4.0};
constexpr int SmallestDetailedSize = 24;

// The pins of one side, outward from the body's edge; side is -1 (top edge) or +1 (bottom edge).
QList<QRectF> Pins(int side, const PinRow& row = FivePins)
{
    QList<QRectF> pins;
    for (int i = 0; i < row.count; ++i) {
        const double x = (i - (row.count - 1) / 2.0) * row.pitch - row.width / 2;
        const double y = side < 0 ? Body.top() - row.length : Body.bottom();
        pins.append(QRectF(x, y, row.width, row.length));
    }
    return pins;
}

QTransform Placement(double size)
{
    QTransform t;
    t.scale(size / Units, size / Units);
    t.translate(Units / 2, Units / 2);
    t.rotate(Turn);
    return t;
}

const QColor Black(0, 0, 0);
const QColor Grey(128, 128, 128);
const QColor Silver(192, 192, 192);
const QColor Yellow(255, 255, 0);
const QColor Olive(128, 128, 0);

void DrawFlat(QPainter& p)
{
    // Pins first, so the body's outline covers their roots. The olive half of each pin faces the
    // chip's lower end, as if the light came from the upper one.
    for (const int side : {-1, 1}) {
        for (const QRectF& pin : Pins(side)) {
            p.fillRect(pin, Yellow);
            p.fillRect(QRectF(pin.center().x(), pin.top(), pin.width() / 2, pin.height()), Olive);
        }
    }
    p.setPen(QPen(Grey, 1.0));
    p.setBrush(Black);
    p.drawRect(Body.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(Grey, 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(MarkCentre, MarkRadius, MarkRadius);
    p.drawLine(MarkCentre - QPointF(MarkRadius, 0), MarkCentre + QPointF(MarkRadius, 0));
    p.drawLine(MarkCentre - QPointF(0, MarkRadius), MarkCentre + QPointF(0, MarkRadius));
}

void DrawShaded(QPainter& p, double size)
{
    // Thin lines must stay about a pixel wide whatever the size.
    const double pixel = Units / size;
    const bool detailed = size >= SmallestDetailedSize;
    for (const int side : {-1, 1}) {
        for (const QRectF& pin : Pins(side, detailed ? FivePins : ThreePins)) {
            QLinearGradient metal(pin.topLeft(), pin.topRight());
            metal.setColorAt(0.0, QColor(255, 248, 150));
            metal.setColorAt(0.35, QColor(250, 222, 40));
            metal.setColorAt(0.6, QColor(176, 160, 10));
            metal.setColorAt(1.0, QColor(112, 104, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(metal);
            p.drawRoundedRect(pin.adjusted(0, side < 0 ? 0 : -0.5, 0, side < 0 ? 0.5 : 0), 0.35, 0.35);
        }
    }
    QLinearGradient plastic(Body.topLeft(), Body.bottomRight());
    plastic.setColorAt(0.0, QColor(62, 62, 66));
    plastic.setColorAt(0.5, QColor(22, 22, 24));
    plastic.setColorAt(1.0, QColor(6, 6, 8));
    p.setPen(QPen(QColor(140, 140, 146), std::max(0.7, pixel)));
    p.setBrush(plastic);
    p.drawRoundedRect(Body.adjusted(0.5, 0.5, -0.5, -0.5), 0.9, 0.9);
    // A faint sheen along the upper edge of the body.
    p.setPen(QPen(QColor(255, 255, 255, 40), std::max(0.5, pixel)));
    p.drawLine(QPointF(Body.left() + 1.6, Body.top() + 1.4), QPointF(Body.right() - 1.6, Body.top() + 1.4));

    QRadialGradient dent(MarkCentre + QPointF(-0.6, -0.6), MarkRadius * 1.4);
    dent.setColorAt(0.0, QColor(90, 90, 96));
    dent.setColorAt(1.0, QColor(30, 30, 32));
    p.setPen(QPen(QColor(176, 176, 182), std::max(0.6, 0.9 * pixel)));
    p.setBrush(dent);
    if (!detailed) {
        // Too small for the cross: a plain grey dot marks the upper end.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 150, 156));
        p.drawEllipse(MarkCentre, MarkRadius * 0.9, MarkRadius * 0.9);
        return;
    }
    p.drawEllipse(MarkCentre, MarkRadius, MarkRadius);
    p.drawLine(MarkCentre - QPointF(MarkRadius, 0), MarkCentre + QPointF(MarkRadius, 0));
    p.drawLine(MarkCentre - QPointF(0, MarkRadius), MarkCentre + QPointF(0, MarkRadius));
}

QString Number(double v)
{
    return QString::number(v, 'g', 6);
}

QString SvgRect(const QRectF& r, const QString& fill)
{
    return QStringLiteral("    <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
        .arg(Number(r.x()), Number(r.y()), Number(r.width()), Number(r.height()), fill);
}

} // namespace

QList<QRgb> WindowsIconPalette()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
            qRgb(192, 192, 192), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QImage DrawIcon16Colours()
{
    // Drawn without smoothing: every pixel is one of the few colours used, as a 16-colour icon
    // with a 1-bit mask wants.
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    {
        QPainter p(&icon);
        p.setTransform(Placement(32));
        DrawFlat(p);
    }
    // Thin lines come out partly blended even unsmoothed; settle every pixel on its nearest
    // palette colour or on clear.
    const QList<QRgb> palette = WindowsIconPalette();
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb c = icon.pixel(x, y);
            if (qAlpha(c) < 128) {
                icon.setPixel(x, y, qRgba(0, 0, 0, 0));
                continue;
            }
            const auto distance = [c](QRgb p) {
                const int dr = qRed(c) - qRed(p);
                const int dg = qGreen(c) - qGreen(p);
                const int db = qBlue(c) - qBlue(p);
                return dr * dr + dg * dg + db * db;
            };
            icon.setPixel(x, y, *std::min_element(palette.begin(), palette.end(), [&](QRgb a, QRgb b) {
                              return distance(a) < distance(b);
                          }));
        }
    }
    return icon;
}

QImage DrawIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(Placement(size));
    DrawShaded(p, size);
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

QByteArray IconSvg()
{
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
                                 "viewBox=\"0 0 32 32\">\n"
                                 "  <defs>\n"
                                 "    <linearGradient id=\"plastic\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"1\">\n"
                                 "      <stop offset=\"0\" stop-color=\"#3e3e42\"/>\n"
                                 "      <stop offset=\"0.5\" stop-color=\"#161618\"/>\n"
                                 "      <stop offset=\"1\" stop-color=\"#060608\"/>\n"
                                 "    </linearGradient>\n"
                                 "    <linearGradient id=\"metal\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"0\">\n"
                                 "      <stop offset=\"0\" stop-color=\"#fff896\"/>\n"
                                 "      <stop offset=\"0.35\" stop-color=\"#fade28\"/>\n"
                                 "      <stop offset=\"0.6\" stop-color=\"#b0a00a\"/>\n"
                                 "      <stop offset=\"1\" stop-color=\"#706800\"/>\n"
                                 "    </linearGradient>\n"
                                 "  </defs>\n"
                                 "  <g transform=\"translate(16 16) rotate(45)\">\n");
    for (const int side : {-1, 1}) {
        for (const QRectF& pin : Pins(side))
            svg += SvgRect(pin, QStringLiteral("url(#metal)"));
    }
    const QRectF body = Body.adjusted(0.5, 0.5, -0.5, -0.5);
    svg += QStringLiteral("    <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"0.9\" "
                          "fill=\"url(#plastic)\" stroke=\"#8c8c92\" stroke-width=\"0.8\"/>\n")
               .arg(Number(body.x()), Number(body.y()), Number(body.width()), Number(body.height()));
    svg += QStringLiteral("    <g fill=\"none\" stroke=\"#b0b0b6\" stroke-width=\"0.8\">\n"
                          "      <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"#2a2a2e\"/>\n"
                          "      <path d=\"M%4 %2H%5M%1 %6V%7\"/>\n"
                          "    </g>\n"
                          "  </g>\n"
                          "</svg>\n")
               .arg(Number(MarkCentre.x()), Number(MarkCentre.y()), Number(MarkRadius),
                    Number(MarkCentre.x() - MarkRadius), Number(MarkCentre.x() + MarkRadius),
                    Number(MarkCentre.y() - MarkRadius), Number(MarkCentre.y() + MarkRadius));
    return svg.toUtf8();
}

} // namespace zdawnik::tools
