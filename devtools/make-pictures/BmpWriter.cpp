#include "devtools/make-pictures/BmpWriter.h"

#include "pictures/LittleEndian.h"

#include <stdexcept>

namespace zdawnik::tools {

QByteArray EncodeBmp8(const QImage& indexed, int paletteSize)
{
    if (indexed.format() != QImage::Format_Indexed8 || paletteSize < 1 || paletteSize > 256)
        throw std::invalid_argument("EncodeBmp8: an 8-bit indexed image and a palette of 1 to 256 colours");
    if (indexed.colorCount() > paletteSize)
        throw std::invalid_argument("EncodeBmp8: the image has more colours than the palette");

    const int width = indexed.width();
    const int height = indexed.height();
    const int rowBytes = (width + 3) / 4 * 4; // rows are padded to whole 32-bit words
    const quint32 headersSize = 14 + 40 + 4 * paletteSize;
    const quint32 pixelBytes = rowBytes * height;

    QByteArray out;
    LittleEndian le(out);
    // BITMAPFILEHEADER
    le.bytes("BM");
    le.u32(headersSize + pixelBytes);
    le.u16(0);
    le.u16(0);
    le.u32(headersSize);
    // BITMAPINFOHEADER
    le.u32(40);
    le.i32(width);
    le.i32(height); // positive: the rows are stored bottom-up
    le.u16(1);
    le.u16(8);
    le.u32(0); // BI_RGB, uncompressed
    le.u32(pixelBytes);
    le.i32(3780); // 96 dots per inch
    le.i32(3780);
    le.u32(paletteSize);
    le.u32(0);
    // The palette, as blue, green, red, reserved.
    for (int i = 0; i < paletteSize; ++i) {
        const QRgb c = i < indexed.colorCount() ? indexed.color(i) : qRgb(0, 0, 0);
        le.u8(qBlue(c));
        le.u8(qGreen(c));
        le.u8(qRed(c));
        le.u8(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            if (line[x] >= paletteSize)
                throw std::invalid_argument("EncodeBmp8: a pixel indexes past the palette");
            le.u8(line[x]);
        }
        for (int x = width; x < rowBytes; ++x)
            le.u8(0);
    }
    return out;
}

} // namespace zdawnik::tools
