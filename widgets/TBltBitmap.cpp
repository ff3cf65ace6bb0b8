#include "widgets/TBltBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace zdawnik {

namespace {

constexpr QRgb OpaqueAlpha = 0xFF000000u;
constexpr QRgb Black = OpaqueAlpha;

// Copies the row `first` over the rows after it up to `end`, in ever larger blocks: a few long
// copies run faster than many short ones.
void RepeatRow(QRgb* bits, qsizetype stride, int first, int end)
{
    const int count = end - first;
    for (int done = 1; done < count;) {
        const int now = std::min(done, count - done);
        std::memcpy(bits + (first + done) * stride, bits + first * stride, sizeof(QRgb) * stride * now);
        done += now;
    }
}

} // namespace

void TBltBitmap::setSize(QSize size, qreal devicePixelRatio)
{
    if (m_size == size && m_scale == devicePixelRatio && !m_image.isNull())
        return;
    m_size = size;
    m_scale = devicePixelRatio;
    const QSize pixels = devicePixelRatio == 1 ? size
                                               : QSize(int(std::ceil(size.width() * devicePixelRatio)),
                                                       int(std::ceil(size.height() * devicePixelRatio)));
    m_image = QImage(pixels, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(devicePixelRatio);
    fill(Black);
}

TRect TBltBitmap::toPixels(const TRect& rect) const
{
    if (m_scale == 1)
        return rect;
    const auto scaled = [this](int units) { return int(std::lround(units * m_scale)); };
    return {scaled(rect.left), scaled(rect.top), scaled(rect.right), scaled(rect.bottom)};
}

void TBltBitmap::makeLike(const TBltBitmap& model, QRgb windowFrameColor)
{
    setSize(model.size(), model.devicePixelRatio());
    fill(windowFrameColor);
}

void TBltBitmap::fill(QRgb color)
{
    m_solid = color | OpaqueAlpha;
    m_pendingCount = 0;
}

void TBltBitmap::fillRect(const TRect& units, QRgb color)
{
    const TRect rect = toPixels(units);
    const int w = m_image.width();
    const TRect clipped{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, w),
                        std::min(rect.bottom, m_image.height())};
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom)
        return;
    color |= OpaqueAlpha;
    if (clipped.left == 0 && clipped.top == 0 && clipped.right == w && clipped.bottom == m_image.height()) {
        fill(color);
        return;
    }
    if (m_solid && m_pendingCount < MaxPendingFills) {
        m_pending[m_pendingCount++] = {clipped, color};
        return;
    }
    writeOut();
    // One row is filled and copied to the others: a copy is quicker than a fill.
    QRgb* bits = writableBits();
    const qsizetype stride = pixelsPerLine();
    QRgb* first = bits + clipped.top * stride + clipped.left;
    const int count = clipped.right - clipped.left;
    std::fill_n(first, count, color);
    for (int y = clipped.top + 1; y < clipped.bottom; ++y)
        std::memcpy(bits + y * stride + clipped.left, first, sizeof(QRgb) * count);
}

void TBltBitmap::combineXor(const TBltBitmap& source)
{
    const int overlapWidth = std::min(m_image.width(), source.m_image.width());
    const int overlapHeight = std::min(m_image.height(), source.m_image.height());
    if (overlapWidth <= 0 || overlapHeight <= 0)
        return;
    // Both colours are opaque, so their exclusive or has no alpha: it is put back.
    if (const std::optional<QRgb> sourceColor = source.uniformColor()) {
        const QRgb mask = *sourceColor & ~OpaqueAlpha;
        if (mask == 0)
            return;
        if (const std::optional<QRgb> ownColor = uniformColor();
            ownColor && source.m_image.size() == m_image.size()) {
            m_solid = *ownColor ^ mask;
            return;
        }
        writeOut();
        QRgb* bits = writableBits();
        const qsizetype stride = pixelsPerLine();
        for (int y = 0; y < overlapHeight; ++y) {
            QRgb* row = bits + y * stride;
            for (int x = 0; x < overlapWidth; ++x)
                row[x] ^= mask;
        }
        return;
    }

    source.writeOut();
    const QRgb* from = reinterpret_cast<const QRgb*>(source.m_image.constBits());
    const qsizetype fromStride = source.pixelsPerLine();
    const bool wasBlack = uniformColor() == Black;
    writeOut();
    QRgb* bits = writableBits();
    const qsizetype stride = pixelsPerLine();
    for (int y = 0; y < overlapHeight; ++y) {
        QRgb* row = bits + y * stride;
        const QRgb* fromRow = from + y * fromStride;
        if (wasBlack) {
            std::copy_n(fromRow, overlapWidth, row);
        } else {
            for (int x = 0; x < overlapWidth; ++x)
                row[x] = (row[x] ^ fromRow[x]) | OpaqueAlpha;
        }
    }
}

void TBltBitmap::combineXor(TBltBitmap&& source)
{
    // Combined into black, the source's pixels are the result: take them over instead of copying,
    // and leave the source black.
    if (uniformColor() == Black && source.m_image.size() == m_image.size() && !source.uniformColor()) {
        source.writeOut();
        m_image.swap(source.m_image);
        m_solid.reset();
        source.fill(Black);
        return;
    }
    combineXor(std::as_const(source));
}

QRgb TBltBitmap::pixel(int x, int y) const
{
    if (!m_solid)
        return reinterpret_cast<const QRgb*>(std::as_const(m_image).constScanLine(y))[x];
    for (int i = m_pendingCount - 1; i >= 0; --i) {
        const TRect& rect = m_pending[i].rect;
        if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom)
            return m_pending[i].color;
    }
    return *m_solid;
}

QImage& TBltBitmap::pixels()
{
    writeOut();
    return m_image;
}

const QImage& TBltBitmap::image() const
{
    writeOut();
    return m_image;
}

QRgb* TBltBitmap::writableBits()
{
    // Detaches the pixels from any copy handed out earlier, once per operation.
    return reinterpret_cast<QRgb*>(m_image.bits());
}

qsizetype TBltBitmap::pixelsPerLine() const
{
    return m_image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
}

void TBltBitmap::writeOut() const
{
    if (!m_solid)
        return;
    const QRgb background = *m_solid;
    m_solid.reset();
    if (m_pendingCount == 0) {
        m_image.fill(background);
        return;
    }
    // A row's content depends only on which pending fills cover it: the first row of each kind is
    // drawn, the others are copies.
    const int w = m_image.width();
    const int h = m_image.height();
    const qsizetype stride = pixelsPerLine();
    QRgb* bits = reinterpret_cast<QRgb*>(m_image.bits());
    const auto kindOf = [this](int y) {
        unsigned kind = 0;
        for (int i = 0; i < m_pendingCount; ++i) {
            if (y >= m_pending[i].rect.top && y < m_pending[i].rect.bottom)
                kind |= 1u << i;
        }
        return kind;
    };
    std::array<int, 1 << MaxPendingFills> drawnRow;
    drawnRow.fill(-1);
    for (int y = 0; y < h;) {
        const unsigned kind = kindOf(y);
        int end = y + 1;
        while (end < h && kindOf(end) == kind)
            ++end;
        QRgb* row = bits + y * stride;
        if (drawnRow[kind] >= 0) {
            std::memcpy(row, bits + drawnRow[kind] * stride, sizeof(QRgb) * w);
        } else {
            drawnRow[kind] = y;
            std::fill_n(row, w, background);
            for (int i = 0; i < m_pendingCount; ++i) {
                const PendingFill& pending = m_pending[i];
                if (kind & (1u << i))
                    std::fill_n(row + pending.rect.left, pending.rect.right - pending.rect.left,
                                pending.color);
            }
        }
        RepeatRow(bits, stride, y, end);
        y = end;
    }
    m_pendingCount = 0;
}

} // namespace zdawnik
