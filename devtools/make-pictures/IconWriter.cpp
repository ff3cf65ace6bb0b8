#include "devtools/make-pictures/IconWriter.h"

#include "pictures/LittleEndian.h"

#include <stdexcept>
#include <vector>

namespace zdawnik::tools {

namespace {

constexpr int IconDirSize = 6;
constexpr int IconDirEntrySize = 16;
constexpr int InfoHeaderSize = 40;

int RowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// The picture inside an icon or cursor: a BITMAPINFOHEADER of twice the height (colour rows, then
// mask rows), the palette, the colour rows and the mask rows, all bottom-up.
QByteArray EncodeDib(const std::vector<int>& indexes, const std::vector<bool>& transparent, int width,
                     int height, const QList<QRgb>& palette, int bitsPerPixel)
{
    const int colourRow = RowBytes(width, bitsPerPixel);
    const int maskRow = RowBytes(width, 1);
    QByteArray out;
    LittleEndian le(out);
    le.u32(InfoHeaderSize);
    le.i32(width);
    le.i32(2 * height);
    le.u16(1);
    le.u16(bitsPerPixel);
    le.u32(0);
    le.u32((colourRow + maskRow) * height);
    le.i32(0);
    le.i32(0);
    le.u32(0);
    le.u32(0);
    for (const QRgb c : palette) {
        le.u8(qBlue(c));
        le.u8(qGreen(c));
        le.u8(qRed(c));
        le.u8(0);
    }
    const int perByte = 8 / bitsPerPixel;
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(colourRow, '\0');
        for (int x = 0; x < width; ++x) {
            const int shift = 8 - bitsPerPixel * (x % perByte + 1);
            row[x / perByte] = static_cast<char>(row[x / perByte] | (indexes[y * width + x] << shift));
        }
        out.append(row);
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(maskRow, '\0');
        for (int x = 0; x < width; ++x) {
            if (transparent[y * width + x])
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}

// ICONDIR with one ICONDIRENTRY, then the picture. For a cursor the entry's planes and bit count
// fields carry the hot spot instead.
QByteArray WrapInDirectory(int type, int width, int height, int colourCount, int field1, int field2,
                           const QByteArray& dib)
{
    QByteArray out;
    LittleEndian le(out);
    le.u16(0);
    le.u16(type);
    le.u16(1);
    le.u8(width);
    le.u8(height);
    le.u8(colourCount);
    le.u8(0);
    le.u16(field1);
    le.u16(field2);
    le.u32(dib.size());
    le.u32(IconDirSize + IconDirEntrySize);
    out.append(dib);
    return out;
}

void CheckSize(const QImage& image)
{
    if (image.width() < 1 || image.width() > 255 || image.height() < 1 || image.height() > 255)
        throw std::invalid_argument("icon and cursor pictures are 1 to 255 pixels each way");
}

} // namespace

QByteArray EncodeIcon16(const QImage& image, const QList<QRgb>& palette)
{
    CheckSize(image);
    if (palette.size() != 16)
        throw std::invalid_argument("EncodeIcon16: a palette of 16 colours");
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    std::vector<int> indexes(w * h, 0);
    std::vector<bool> transparent(w * h, false);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb c = argb.pixel(x, y);
            if (qAlpha(c) == 0) {
                transparent[y * w + x] = true; // colour index 0, black: the screen shows through unchanged
                continue;
            }
            const qsizetype index = qAlpha(c) == 255 ? palette.indexOf(c | 0xFF000000u) : -1;
            if (index < 0)
                throw std::invalid_argument(
                    "EncodeIcon16: a pixel is neither transparent nor a palette colour");
            indexes[y * w + x] = static_cast<int>(index);
        }
    }
    return WrapInDirectory(1, w % 256, h % 256, 16, 1, 4, EncodeDib(indexes, transparent, w, h, palette, 4));
}

QByteArray EncodeMonochromeCursor(const QImage& image, QPoint hotSpot)
{
    CheckSize(image);
    if (!image.rect().contains(hotSpot))
        throw std::invalid_argument("EncodeMonochromeCursor: the hot spot lies outside the picture");
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    const QList<QRgb> palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    std::vector<int> indexes(w * h, 0);
    std::vector<bool> transparent(w * h, false);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb c = argb.pixel(x, y);
            if (qAlpha(c) == 0)
                transparent[y * w + x] = true;
            else if (c == qRgb(255, 255, 255))
                indexes[y * w + x] = 1;
            else if (c != qRgb(0, 0, 0))
                throw std::invalid_argument(
                    "EncodeMonochromeCursor: a pixel is neither black, white nor clear");
        }
    }
    return WrapInDirectory(2, w % 256, h % 256, 2, hotSpot.x(), hotSpot.y(),
                           EncodeDib(indexes, transparent, w, h, palette, 1));
}

} // namespace zdawnik::tools
