// Bitmaps: the device-independent bitmaps of bitmap records, read and drawn.

#include "pictures/LittleEndian.h"
#include "pictures/PictureLimits.h"
#include "pictures/RasterIntegrity.h"
#include "pictures/metafile/WmfDevice.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstdint>

namespace zdawnik::wmf_device {

namespace {

// A device-independent bitmap from a record, read by Qt's BMP reader behind a file header made up
// for it, with the same checks as a BMP file gets.
QImage ReadDib(const unsigned char* dib, long length)
{
    if (!dib || length < 16)
        return {};
    const std::uint32_t headerSize = qFromLittleEndian<std::uint32_t>(dib);
    std::uint64_t colours = 0;
    std::uint64_t colourBytes = 4;
    std::uint64_t masks = 0;
    if (headerSize == 12) {
        const unsigned depth = qFromLittleEndian<std::uint16_t>(dib + 10);
        colours = depth <= 8 ? 1u << depth : 0;
        colourBytes = 3;
    } else if (headerSize >= 40 && length >= 40) {
        const unsigned depth = qFromLittleEndian<std::uint16_t>(dib + 14);
        const std::uint32_t compression = qFromLittleEndian<std::uint32_t>(dib + 16);
        const std::uint32_t used = qFromLittleEndian<std::uint32_t>(dib + 32);
        colours = used ? used : (depth <= 8 ? 1u << depth : 0);
        if (headerSize == 40 && compression == 3)
            masks = 12;
        else if (headerSize == 40 && compression == 6)
            masks = 16;
    } else {
        return {};
    }
    const std::uint64_t pixelOffset = 14 + headerSize + masks + colours * colourBytes;
    if (pixelOffset > 14 + std::uint64_t(length))
        return {};
    QByteArray file;
    file.reserve(14 + length);
    LittleEndian fields(file);
    fields.bytes("BM");
    fields.u32(std::uint32_t(14 + length));
    fields.u32(0);
    fields.u32(std::uint32_t(pixelOffset));
    file.append(reinterpret_cast<const char*>(dib), qsizetype(length));
    if (!CheckBmpIntegrity(file).isEmpty())
        return {};
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QSize size = reader.size();
    if (!picture_limits::IsSaneSize(size) || qAbs(size.width()) > 0xFFFF || qAbs(size.height()) > 0xFFFF)
        return {};
    return reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

void ReadBitmap(wmfAPI*, wmfBMP_Read_t* read)
{
    read->bmp.data = nullptr;
    QImage image = ReadDib(read->buffer, read->length);
    if (image.isNull())
        return;
    read->bmp.width = static_cast<U16>(image.width());
    read->bmp.height = static_cast<U16>(image.height());
    read->bmp.data = new QImage(std::move(image));
}

void FreeBitmap(wmfAPI*, wmfBMP* bitmap)
{
    delete static_cast<QImage*>(bitmap->data);
    bitmap->data = nullptr;
}

void DrawBitmap(wmfAPI* api, wmfBMP_Draw_t* draw)
{
    QPainter* painter = PainterFor(api, draw->dc, false); // nor to bitmaps
    const QImage* image = static_cast<const QImage*>(draw->bmp.data);
    if (!painter || !image)
        return;
    // The crop counts rows from the bottom, as a bitmap stored bottom-up does.
    const QRectF source(draw->crop.x, image->height() - draw->crop.y - draw->crop.h, draw->crop.w,
                        draw->crop.h);
    const QRectF target(Point(draw->pt),
                        QSizeF(draw->crop.w * draw->pixel_width, draw->crop.h * draw->pixel_height));
    painter->drawImage(target, *image, source);
}

} // namespace zdawnik::wmf_device
