#include "devtools/make-samples/IconFile.h"

#include <QImage>

namespace zdawnik {

namespace {

void Append16(QByteArray& out, quint16 value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void Append32(QByteArray& out, quint32 value)
{
    Append16(out, quint16(value & 0xFFFF));
    Append16(out, quint16(value >> 16));
}

// One image as an icon stores it: a BITMAPINFOHEADER of twice the height (colour rows, then mask
// rows), the colour rows bottom-up as BGRA, then the mask rows, each padded to four bytes.
QByteArray IconImage(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskRowBytes = ((width + 31) / 32) * 4;
    QByteArray out;
    Append32(out, 40);
    Append32(out, quint32(width));
    Append32(out, quint32(height * 2));
    Append16(out, 1);
    Append16(out, 32);
    Append32(out, 0);
    Append32(out, quint32(width * height * 4 + maskRowBytes * height));
    Append32(out, 0);
    Append32(out, 0);
    Append32(out, 0);
    Append32(out, 0);
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
    Append16(directory, 0);
    Append16(directory, 1); // an icon, not a cursor
    Append16(directory, quint16(images.size()));
    QByteArray data;
    const quint32 firstOffset = quint32(6 + 16 * images.size());
    for (const QImage& image : images) {
        const QByteArray stored = IconImage(image);
        directory.append(char(image.width() >= 256 ? 0 : image.width()));
        directory.append(char(image.height() >= 256 ? 0 : image.height()));
        directory.append(char(0)); // no palette
        directory.append(char(0));
        Append16(directory, 1);
        Append16(directory, 32);
        Append32(directory, quint32(stored.size()));
        Append32(directory, firstOffset + quint32(data.size()));
        data.append(stored);
    }
    return directory + data;
}

} // namespace zdawnik
