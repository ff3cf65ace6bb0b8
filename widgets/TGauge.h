#pragma once

#include "widgets/TBltBitmap.h"

#include <QColor>
#include <QWidget>

#include <cstdint>

namespace zdawnik {

// How a gauge shows its value.
enum TGaugeKind : std::uint8_t
{
    gkText,
    gkHorizontalBar,
    gkVerticalBar,
    gkPie,
    gkNeedle,
};

enum TBorderStyle : std::uint8_t
{
    bsNone,
    bsSingle,
};

// Shows where a value lies within a range: as a percentage text, a horizontal or vertical bar, a pie
// or a needle dial. Every paint builds the whole picture off screen and puts it on the screen in one
// step, so the gauge never flickers, and it covers every pixel of its rectangle.
//
// The range setters refuse a range that would end below its start with EInvalidOperation, except
// while a layout is being loaded (beginLoading / endLoading), when values may come in any order.
// Progress is always held within the range. A setter that changes what the gauge shows repaints it
// before returning, when the gauge is on screen; setting Progress repaints only when Percent changes.
class TGauge : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(zdawnik::TBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(zdawnik::TGaugeKind Kind READ Kind WRITE setKind)
    Q_PROPERTY(int MinValue READ MinValue WRITE setMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(int Progress READ Progress WRITE setProgress)
    Q_PROPERTY(bool ShowText READ ShowText WRITE setShowText)
    Q_PROPERTY(int Percent READ Percent)

public:
    // The maximum a gauge starts with.
    static constexpr int DefaultMaxValue = 100;

    explicit TGauge(QWidget* parent = nullptr);

    int MinValue() const { return m_minValue; }
    int MaxValue() const { return m_maxValue; }
    int Progress() const { return m_progress; }
    int Percent() const;
    TGaugeKind Kind() const { return m_kind; }
    bool ShowText() const { return m_showText; }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    QColor ForeColor() const { return QColor(m_foreColor); }
    QColor BackColor() const { return QColor(m_backColor); }
    // The colour around a pie or a needle dial: the palette's window colour, the parent's unless set.
    QColor Color() const;

    // Throws EInvalidOperation when v is above MaxValue, unless a layout is being loaded.
    void setMinValue(int v);
    // Throws EInvalidOperation when v is below MinValue, unless a layout is being loaded.
    void setMaxValue(int v);
    void setProgress(int v);
    void setKind(TGaugeKind kind);
    void setShowText(bool on);
    void setBorderStyle(TBorderStyle style);
    void setForeColor(const QColor& color);
    void setBackColor(const QColor& color);
    void setColor(const QColor& color);

    // While a layout is being loaded the range setters take any value: stored ranges arrive in any
    // order. Calls nest; the checks return with the last endLoading.
    void beginLoading() { ++m_loading; }
    void endLoading() { --m_loading; }
    bool isLoading() const { return m_loading > 0; }

    // Builds the picture one paint puts on the screen: Width × Height pixels, frame included.
    const QImage& paintPicture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void repaintNow();
    QRgb windowFrameColor() const;
    qreal deviceResolution() const;
    void drawKind(const TRect& rect);
    void drawBar(const TRect& rect);
    void drawPie(const TRect& rect);
    void drawNeedle(const TRect& rect);
    void drawPercentText(const TRect& rect);

    int m_minValue = 0;
    int m_maxValue = DefaultMaxValue;
    int m_progress = 0;
    TGaugeKind m_kind = gkHorizontalBar;
    bool m_showText = true;
    TBorderStyle m_borderStyle = bsSingle;
    QRgb m_foreColor = 0xFF000000u;
    QRgb m_backColor = 0xFFFFFFFFu;
    int m_loading = 0;

    // Drawing buffers, kept between paints so a paint allocates nothing.
    TBltBitmap m_picture;
    TBltBitmap m_scratch;
};

} // namespace zdawnik
