#pragma once

#include <QByteArray>

namespace zdawnik::test {

// Writes a new size into a JPEG's frame header.
inline QByteArray WithJpegSize(QByteArray jpeg, quint16 width, quint16 height)
{
    qsizetype pos = 2;
    while (pos + 9 < jpeg.size()) {
        const uchar marker = uchar(jpeg[pos + 1]);
        const int length = uchar(jpeg[pos + 2]) << 8 | uchar(jpeg[pos + 3]);
        if (marker >= 0xC0 && marker <= 0xC2) {
            jpeg[pos + 5] = char(height >> 8);
            jpeg[pos + 6] = char(height & 0xFF);
            jpeg[pos + 7] = char(width >> 8);
            jpeg[pos + 8] = char(width & 0xFF);
            return jpeg;
        }
        pos += 2 + length;
    }
    return {};
}

} // namespace zdawnik::test
