#include "pictures/MetafileProtocol.h"

#include "pictures/PictureLimits.h"

#include <QImage>

#include <cstdint>
#include <cstring>

namespace zdawnik::metafile_protocol {

namespace {

constexpr char Magic[4] = {'Z', 'D', 'M', 'F'};
constexpr char ImageTag = 'I';
constexpr char ErrorTag = 'E';
constexpr qsizetype MaxReasonBytes = 4096;

QByteArray Header(char tag, std::uint32_t first, std::uint32_t second)
{
    QByteArray header(HeaderBytes, '\0');
    std::memcpy(header.data(), Magic, 4);
    header[4] = tag;
    std::memcpy(header.data() + 8, &first, 4);
    std::memcpy(header.data() + 12, &second, 4);
    return header;
}

std::uint32_t Number(const QByteArray& reply, int offset)
{
    std::uint32_t value = 0;
    std::memcpy(&value, reply.constData() + offset, 4);
    return value;
}

PictureResult Garbled()
{
    return PictureResult::Failure(QStringLiteral("Damaged metafile: the renderer gave no picture"));
}

} // namespace

QByteArray EncodeImage(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = pixels.width();
    const int height = pixels.height();
    QByteArray reply = Header(ImageTag, std::uint32_t(width), std::uint32_t(height));
    const qsizetype rowBytes = qsizetype(width) * 4;
    reply.reserve(HeaderBytes + rowBytes * height);
    for (int y = 0; y < height; ++y)
        reply.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), rowBytes);
    return reply;
}

QByteArray EncodeError(const QString& reason)
{
    const QByteArray text = reason.toUtf8().left(MaxReasonBytes);
    return Header(ErrorTag, std::uint32_t(text.size()), 0) + text;
}

qint64 MaxReplyBytes()
{
    return HeaderBytes + picture_limits::MaxMetafilePixels * 4;
}

PictureResult DecodeReply(const QByteArray& reply)
{
    if (reply.size() < HeaderBytes || std::memcmp(reply.constData(), Magic, 4) != 0)
        return Garbled();
    const std::uint32_t first = Number(reply, 8);
    const std::uint32_t second = Number(reply, 12);
    if (reply[4] == ErrorTag) {
        if (first == 0 || first > MaxReasonBytes || reply.size() != HeaderBytes + qsizetype(first))
            return Garbled();
        return PictureResult::Failure(QString::fromUtf8(reply.constData() + HeaderBytes, first));
    }
    if (reply[4] != ImageTag)
        return Garbled();
    const std::uint32_t width = first;
    const std::uint32_t height = second;
    if (width == 0 || height == 0 || width > std::uint32_t(picture_limits::MaxMetafileSide) ||
        height > std::uint32_t(picture_limits::MaxMetafileSide) ||
        qint64(width) * height > picture_limits::MaxMetafilePixels)
        return Garbled();
    const qsizetype rowBytes = qsizetype(width) * 4;
    if (reply.size() != HeaderBytes + rowBytes * qsizetype(height))
        return Garbled();
    QImage image(int(width), int(height), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return PictureResult::Failure(QStringLiteral("Not enough memory for the picture"));
    const char* source = reply.constData() + HeaderBytes;
    for (int y = 0; y < int(height); ++y)
        std::memcpy(image.scanLine(y), source + rowBytes * y, std::size_t(rowBytes));
    PictureResult result;
    result.image = std::move(image);
    return result;
}

} // namespace zdawnik::metafile_protocol
