#include "devtools/make-samples/IconFile.h"

#include "pictures/LittleEndian.h"

#include <QImage>

namespace zdawnik {

namespace {

// One image as an icon stores it: a BITMAPINFOHEADER of twice the height (colour rows, then mask
// rows), the colour rows bottom-up as BGRA, then the mask rows, each padded to four bytes.
QByteArray IconImage(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskRowBytes = ((width + 31) / 32) * 4;
    QByteArray out;
    LittleEndian fields(out);
    fields.u32(40);
    fields.u32(quint32(width));
    fields.u32(quint32(height * 2));
    fields.u16(1);
    fields.u16(32);
    fields.u32(0);
    fields.u32(quint32(width * height * 4 + maskRowBytes * height));
    fields.u32(0);
    fields.u32(0);
    fields.u32(0);
    fields.u32(0);
    for (int y = height - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.append(char(qBlue(row[x])));
            out.append(char(qGreen(row[x])));
            out.append(char(qRed(row[x])));
            out.append(char(qAlpha(row[x])));
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray mask(maskRowBytes, '\0');
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) < 128)
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(mask);
    }
    return out;
}

} // namespace

QByteArray EncodeIcon(const QList<QImage>& images)
{
    QByteArray directory;
    LittleEndian entries(directory);
    entries.u16(0);
    entries.u16(1); // an icon, not a cursor
    entries.u16(quint16(images.size()));
    QByteArray data;
    const quint32 firstOffset = quint32(6 + 16 * images.size());
    for (const QImage& image : images) {
        const QByteArray stored = IconImage(image);
        directory.append(char(image.width() >= 256 ? 0 : image.width()));
        directory.append(char(image.height() >= 256 ? 0 : image.height()));
        directory.append(char(0)); // no palette
        directory.append(char(0));
        entries.u16(1);
        entries.u16(32);
        entries.u32(quint32(stored.size()));
        entries.u32(firstOffset + quint32(data.size()));
        data.append(stored);
    }
    return directory + data;
}

} // namespace zdawnik
