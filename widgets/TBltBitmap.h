#pragma once

#include <QImage>

#include <array>
#include <optional>

namespace zdawnik {

// A rectangle in the drawing code's convention: it covers the pixels from left to right − 1 and from
// top to bottom − 1; a rectangle whose right is not beyond its left, or whose bottom is not below its
// top, is empty.
struct TRect
{
    int left;
    int top;
    int right;
    int bottom;
};

// An off-screen 32-bit image with the block operations the gauge composes its picture from: solid
// fills, exclusive-or combination and MakeLike. Colours are opaque QRgb values.
//
// Fills are noted rather than written while the image is one colour with at most two rectangles
// over it, and written out when the pixels are needed: rows that come out alike are then written
// once and copied, and a fill that a later one covers costs nothing. What the image shows is the same
// either way.
class TBltBitmap
{
public:
    TBltBitmap() = default;

    // In units; the same as pixels unless the device pixel ratio is above 1.
    int width() const { return m_size.width(); }
    int height() const { return m_size.height(); }
    QSize size() const { return m_size; }

    // Gives the image a new size; its pixels are undefined until they are filled. On a high-density
    // screen the image has devicePixelRatio pixels to each unit of size, and rectangles and QPainter
    // drawing are given in units: they are drawn at the screen's own resolution.
    void setSize(QSize size, qreal devicePixelRatio = 1);
    qreal devicePixelRatio() const { return m_scale; }

    // Gives the image the model's width and height and fills it with the window-frame colour, which
    // the caller takes from its palette (clWindowFrame).
    void makeLike(const TBltBitmap& model, QRgb windowFrameColor);

    // Fills the whole image with one colour.
    void fill(QRgb color);

    // Fills the part of the rectangle that lies in the image (in units, see setSize).
    void fillRect(const TRect& rect, QRgb color);

    // Combines source, placed at (0, 0), into this image pixel by pixel by bitwise exclusive or of
    // the colour values, where the two overlap.
    void combineXor(const TBltBitmap& source);
    // The same for a source that is no longer needed: it may be left black.
    void combineXor(TBltBitmap&& source);

    // The colour of one pixel inside the image.
    QRgb pixel(int x, int y) const;

    // The pixels, for drawing on with a QPainter.
    QImage& pixels();
    const QImage& image() const;

private:
    struct PendingFill
    {
        TRect rect;
        QRgb color;
    };
    static constexpr int MaxPendingFills = 2;

    // The colour of the whole image while nothing but a fill of all of it is pending.
    std::optional<QRgb> uniformColor() const { return m_pendingCount == 0 ? m_solid : std::nullopt; }
    QRgb* writableBits();
    qsizetype pixelsPerLine() const;
    void writeOut() const;

    TRect toPixels(const TRect& rect) const;

    mutable QImage m_image;
    QSize m_size;
    qreal m_scale = 1;
    // While set, the pixels are not written yet: the image is this colour with the pending fills
    // over it, in order.
    mutable std::optional<QRgb> m_solid;
    mutable std::array<PendingFill, MaxPendingFills> m_pending{};
    mutable int m_pendingCount = 0;
};

} // namespace zdawnik
