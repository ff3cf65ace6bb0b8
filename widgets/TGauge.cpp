#include "widgets/TGauge.h"

#include "widgets/Accessibility.h"
#include "widgets/EInvalidOperation.h"
#include "widgets/GaugeArithmetic.h"
#include "widgets/TColor.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <utility>

namespace zdawnik {

namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;

// The outer ends of the ranges the range errors offer.
constexpr int LowestMessageBound = -2147483647;
constexpr int HighestMessageBound = 2147483647;

// Adds to a 32-bit value, wrapping around like the machine's 32-bit addition.
int WrappingSum(int value, int addend)
{
    return static_cast<int>(static_cast<unsigned>(value) + static_cast<unsigned>(addend));
}

EInvalidOperation RangeError(int low, int high)
{
    return EInvalidOperation(QString::asprintf("Value must be between %d and %d", low, high).toStdString());
}

int RoundToEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

int ClampToInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// The ellipse filling the box (left, top) to (right − 1, bottom − 1), in the painter's coordinates,
// where a shape's outline with a one-pixel pen covers its rectangle's width plus one pixel.
QRectF EllipseBox(int left, int top, int right, int bottom)
{
    return QRectF(left, top, right - left - 1, bottom - top - 1);
}

// The pie wedge of an ellipse from the ray through start counter-clockwise (as seen on screen) to
// the ray through end, both rays from the ellipse's centre; equal points give the whole ellipse.
void DrawWedge(QPainter& painter, const QRectF& ellipse, QPoint start, QPoint end)
{
    if (ellipse.width() <= 0 || ellipse.height() <= 0)
        return;
    if (start == end) {
        painter.drawEllipse(ellipse);
        return;
    }
    const QPointF centre = ellipse.center();
    // The arc is measured in the ellipse's own angle, that of the unit circle it is stretched
    // from; a ray's direction becomes that angle once its slope is divided by the semi-axes.
    const auto angleOf = [&](QPoint point) {
        const double x = (point.x() - centre.x()) / ellipse.width();
        const double y = (centre.y() - point.y()) / ellipse.height();
        return std::atan2(y, x) * 180 / std::numbers::pi;
    };
    const double from = angleOf(start);
    double sweep = angleOf(end) - from;
    if (sweep <= 0)
        sweep += 360;
    QPainterPath wedge(centre);
    wedge.arcTo(ellipse, from, sweep);
    wedge.closeSubpath();
    painter.drawPath(wedge);
}

// The font with its size in pixels, so that it draws on an off-screen image at the size it has on
// the widget.
QFont PixelSizedFont(const QFont& font, const QWidget& widget)
{
    if (font.pixelSize() > 0)
        return font;
    QFont sized = font;
    sized.setPixelSize(std::max(1, qRound(font.pointSizeF() * widget.logicalDpiY() / 72.0)));
    return sized;
}

} // namespace

TGauge::TGauge(QWidget* parent) : QWidget(parent)
{
    // The gauge paints every pixel of its rectangle: nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
}

int TGauge::Percent() const
{
    return GaugePercent(m_minValue, m_maxValue, m_progress);
}

QColor TGauge::Color() const
{
    return palette().color(QPalette::Window);
}

void TGauge::setMinValue(int v)
{
    if (v == m_minValue)
        return;
    if (v > m_maxValue && !isLoading())
        throw RangeError(LowestMessageBound, WrappingSum(m_maxValue, -1));
    m_minValue = v;
    if (m_progress < v)
        m_progress = v;
    repaintNow();
}

void TGauge::setMaxValue(int v)
{
    if (v == m_maxValue)
        return;
    if (v < m_minValue && !isLoading())
        throw RangeError(WrappingSum(m_minValue, 1), HighestMessageBound);
    m_maxValue = v;
    if (v < m_progress)
        m_progress = v;
    repaintNow();
    NotifyNameChanged(this); // it reads as its percentage
}

void TGauge::setProgress(int v)
{
    const int percentBefore = Percent();
    if (v < m_minValue)
        v = m_minValue;
    else if (v > m_maxValue)
        v = m_maxValue;
    if (v == m_progress)
        return;
    m_progress = v;
    if (Percent() != percentBefore) {
        repaintNow();
        NotifyNameChanged(this);
    }
}

void TGauge::setKind(TGaugeKind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    repaintNow();
}

void TGauge::setShowText(bool on)
{
    if (on == m_showText)
        return;
    m_showText = on;
    repaintNow();
}

void TGauge::setBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    repaintNow();
}

void TGauge::setForeColor(const QColor& color)
{
    const QRgb rgb = color.rgb() | Black;
    if (rgb == m_foreColor)
        return;
    m_foreColor = rgb;
    repaintNow();
}

void TGauge::setBackColor(const QColor& color)
{
    const QRgb rgb = color.rgb() | Black;
    if (rgb == m_backColor)
        return;
    m_backColor = rgb;
    repaintNow();
}

void TGauge::setColor(const QColor& color)
{
    QPalette own = palette();
    own.setColor(QPalette::Window, color);
    setPalette(own);
}

QRgb TGauge::windowFrameColor() const
{
    return clWindowFrame.toQColor(palette()).rgb();
}

qreal TGauge::deviceResolution() const
{
    // What the widget's own metric answers, without the search through the screens that asking the
    // widget makes on every paint.
    if (const QWindow* handle = window()->windowHandle())
        return handle->devicePixelRatio();
    return qApp->devicePixelRatio();
}

void TGauge::repaintNow()
{
    // Draws before returning when the gauge is on screen; a hidden gauge, or one whose window has
    // not been shown yet, is left alone.
    repaint();
}

const QImage& TGauge::paintPicture()
{
    m_picture.setSize(size(), deviceResolution());
    m_picture.fill(Black);
    if (width() <= 0 || height() <= 0)
        return m_picture.image();

    TRect paintRect{0, 0, width(), height()};
    if (m_borderStyle == bsSingle)
        paintRect = {1, 1, width() - 1, height() - 1};

    m_scratch.makeLike(m_picture, windowFrameColor());
    m_scratch.fill(Black);
    drawKind(paintRect);
    // The picture is black, so this makes it a copy of the drawing; around a bordered drawing the
    // black stays as its frame.
    m_picture.combineXor(std::move(m_scratch));

    if (m_showText)
        drawPercentText(paintRect);
    return m_picture.image();
}

void TGauge::paintEvent(QPaintEvent*)
{
    // On a high-density screen the picture has the screen's own resolution: one of its pixels to each
    // pixel of the screen.
    const QImage& picture = paintPicture();
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), picture);
}

void TGauge::drawKind(const TRect& rect)
{
    switch (m_kind) {
    case gkText:
        m_scratch.fillRect(rect, m_backColor);
        break;
    case gkHorizontalBar:
    case gkVerticalBar:
        drawBar(rect);
        break;
    case gkPie:
        drawPie(rect);
        break;
    case gkNeedle:
        drawNeedle(rect);
        break;
    }
}

void TGauge::drawBar(const TRect& rect)
{
    const int barWidth = rect.right - rect.left + 1;
    const int barHeight = rect.bottom - rect.top + 1;
    m_scratch.fillRect(rect, m_backColor);
    // The bar's far edges are the fill length and the full length themselves, not offset by the
    // paint rectangle's left and top: a bordered bar ends one pixel short of where it would
    // otherwise reach.
    if (m_kind == gkHorizontalBar) {
        const int filled = ClampToInt(std::min<std::int64_t>(FillLength(Percent(), barWidth), barWidth));
        if (filled > 0)
            m_scratch.fillRect({rect.left, rect.top, filled, barHeight}, m_foreColor);
    } else {
        // Cut at one short of the full height: without a border the top row stays empty at 100.
        const int filled =
            ClampToInt(std::clamp<std::int64_t>(FillLength(Percent(), barHeight), 0, barHeight - 1));
        m_scratch.fillRect({rect.left, barHeight - filled, barWidth, barHeight}, m_foreColor);
    }
}

void TGauge::drawPie(const TRect& rect)
{
    const int extra = m_borderStyle == bsSingle ? 1 : 0;
    const int right = rect.right - rect.left + extra;
    const int bottom = rect.bottom - rect.top + extra;
    const int halfWidth = right / 2;
    const int halfHeight = bottom / 2;
    m_scratch.fillRect(rect, Color().rgb());

    QPainter painter(&m_scratch.pixels());
    painter.setPen(QPen(QColor(m_foreColor), 1));
    painter.setBrush(QColor(m_backColor));
    const QRectF ellipse = EllipseBox(rect.left, rect.top, right, bottom);
    painter.drawEllipse(ellipse);
    if (Percent() <= 0)
        return;

    // The wedge starts at the top and grows clockwise: its start ray turns from the top anticlockwise
    // by the share still missing.
    const double angle = (Percent() / 50.0 + 0.5) * std::numbers::pi;
    const QPoint start(RoundToEven(halfWidth * (1 - std::cos(angle))),
                       RoundToEven(halfHeight * (1 - std::sin(angle))));
    painter.setBrush(QColor(m_foreColor));
    DrawWedge(painter, ellipse, start, QPoint(halfWidth, 0));
}

void TGauge::drawNeedle(const TRect& rect)
{
    const int extra = m_borderStyle == bsSingle ? 1 : 0;
    const int dialWidth = rect.right - rect.left + extra;
    const int dialHeight = rect.bottom - rect.top + extra;
    m_scratch.fillRect(rect, Color().rgb());

    QPainter painter(&m_scratch.pixels());
    painter.setPen(QPen(QColor(m_foreColor), 1));
    painter.setBrush(QColor(m_backColor));
    // The upper half of an ellipse whose centre lies on the bottom edge.
    DrawWedge(painter, EllipseBox(rect.left, rect.top, dialWidth, 2 * dialHeight - 1),
              QPoint(rect.left + dialWidth, rect.bottom - 1), QPoint(rect.left, rect.bottom - 1));
    if (dialWidth > 0)
        painter.drawLine(rect.left, rect.bottom, rect.left + dialWidth - 1, rect.bottom);
    if (Percent() <= 0)
        return;

    // From the middle of the bottom: left at 0, straight up at 50, right at 100.
    const int centre = width() / 2;
    const int baseline = rect.bottom - 1;
    const double angle = Percent() / 100.0 * std::numbers::pi;
    painter.drawLine(QPoint(centre, baseline), QPoint(RoundToEven(centre * (1 - std::cos(angle))),
                                                      RoundToEven(baseline * (1 - std::sin(angle)))));
}

void TGauge::drawPercentText(const TRect& rect)
{
    const QString text = QString::asprintf("%d%%", Percent());
    m_scratch.makeLike(m_picture, windowFrameColor());
    m_scratch.fill(Black);

    // Only fully white or black pixels make a clean inversion: no smoothing of the letters.
    QFont textFont = PixelSizedFont(font(), *this);
    textFont.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(textFont);
    const int x = (rect.right - rect.left + 1 - metrics.horizontalAdvance(text)) / 2;
    const int y = (rect.bottom - rect.top + 1 - metrics.height()) / 2;

    QPainter painter(&m_scratch.pixels());
    painter.setClipRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
    painter.setFont(textFont);
    painter.setPen(QColor(White));
    painter.drawText(x, y + metrics.ascent(), text);
    painter.end();

    m_picture.combineXor(std::move(m_scratch));
}

} // namespace zdawnik
