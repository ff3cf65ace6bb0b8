#pragma once

#include <QPainter>
#include <QWidget>

// A parent that paints a checked pattern of its own over its palette colour, so that what a child
// leaves unpainted is told apart from a child painted in the parent's colour.
class PatternedParent : public QWidget
{
public:
    static constexpr QRgb Color = 0xFFC00000u;
    static constexpr QRgb TextColor = 0xFFFFFF00u;

    PatternedParent()
    {
        QPalette own = palette();
        own.setColor(QPalette::Window, QColor(Color));
        own.setColor(QPalette::WindowText, QColor(TextColor));
        setPalette(own);
        QFont big = font();
        big.setPixelSize(20);
        setFont(big);
        resize(300, 120);
    }

    static QRgb patternAt(int x, int y) { return (x / 4 + y / 4) % 2 ? 0xFF00FF00u : 0xFF0000FFu; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (int y = 0; y < height(); y += 4)
            for (int x = 0; x < width(); x += 4)
                painter.fillRect(x, y, 4, 4, QColor(patternAt(x, y)));
    }
};

// The widget as drawn, children included, with opaque pixels.
inline QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
