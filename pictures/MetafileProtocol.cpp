#include "pictures/MetafileProtocol.h"

#include "pictures/PictureLimits.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <cstring>

namespace zdawnik::metafile_protocol {

namespace {

constexpr char RequestMagic[4] = {'Z', 'D', 'M', 'Q'};
constexpr char ReplyMagic[4] = {'Z', 'D', 'M', 'F'};
constexpr char EmfTag = 'E';
constexpr char WmfTag = 'W';
constexpr char ImageTag = 'I';
constexpr char ErrorTag = 'E';
constexpr qsizetype MaxReasonBytes = 4096;

template <typename T> void Put(QByteArray& out, qsizetype at, T value)
{
    std::memcpy(out.data() + at, &value, sizeof value);
}

template <typename T> T Get(QByteArrayView in, qsizetype at)
{
    T value{};
    std::memcpy(&value, in.data() + at, sizeof value);
    return value;
}

QByteArray ReplyHeader(char tag, const std::array<std::uint32_t, 4>& numbers)
{
    QByteArray header(ReplyHeaderBytes, '\0');
    std::memcpy(header.data(), ReplyMagic, 4);
    header[4] = tag;
    for (int i = 0; i < 4; ++i)
        Put(header, 8 + 4 * i, numbers[std::size_t(i)]);
    return header;
}

bool WithinMetafileBounds(std::uint32_t width, std::uint32_t height)
{
    return width > 0 && height > 0 && width <= std::uint32_t(picture_limits::MaxMetafileSide) &&
           height <= std::uint32_t(picture_limits::MaxMetafileSide) &&
           qint64(width) * height <= picture_limits::MaxMetafilePixels;
}

PictureResult Garbled()
{
    return PictureResult::Failure(QStringLiteral("Damaged metafile: the renderer gave no picture"));
}

} // namespace

QByteArray EncodeRequestHeader(MetafileKind kind, QSize place, qint64 length)
{
    QByteArray request(RequestHeaderBytes, '\0');
    std::memcpy(request.data(), RequestMagic, 4);
    request[4] = kind == MetafileKind::Emf ? EmfTag : WmfTag;
    Put(request, 8, std::uint32_t(length));
    // The window's places are a few hundred pixels; a larger place keeps as much as its side allows.
    Put(request, 12, std::uint16_t(qBound(0, place.isValid() ? place.width() : 0, 0xFFFF)));
    Put(request, 14, std::uint16_t(qBound(0, place.isValid() ? place.height() : 0, 0xFFFF)));
    return request;
}

std::optional<Request> DecodeRequestHeader(QByteArrayView header)
{
    if (header.size() < RequestHeaderBytes || std::memcmp(header.data(), RequestMagic, 4) != 0)
        return std::nullopt;
    Request request;
    if (header[4] == EmfTag)
        request.kind = MetafileKind::Emf;
    else if (header[4] == WmfTag)
        request.kind = MetafileKind::Wmf;
    else
        return std::nullopt;
    request.length = Get<std::uint32_t>(header, 8);
    if (request.length > picture_limits::MaxFileBytes)
        return std::nullopt;
    request.place = QSize(Get<std::uint16_t>(header, 12), Get<std::uint16_t>(header, 14));
    return request;
}

QByteArray EncodeImage(const QImage& image, QSize naturalSize)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = pixels.width();
    const int height = pixels.height();
    QByteArray reply =
        ReplyHeader(ImageTag, {std::uint32_t(naturalSize.width()), std::uint32_t(naturalSize.height()),
                               std::uint32_t(width), std::uint32_t(height)});
    const qsizetype rowBytes = qsizetype(width) * 4;
    reply.reserve(ReplyHeaderBytes + rowBytes * height);
    for (int y = 0; y < height; ++y)
        reply.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), rowBytes);
    return reply;
}

QByteArray EncodeError(const QString& reason)
{
    const QByteArray text = reason.toUtf8().left(MaxReasonBytes);
    return ReplyHeader(ErrorTag, {std::uint32_t(text.size()), 0, 0, 0}) + text;
}

std::optional<qint64> ReplyBytes(QByteArrayView header)
{
    if (header.size() < ReplyHeaderBytes || std::memcmp(header.data(), ReplyMagic, 4) != 0)
        return std::nullopt;
    const auto first = Get<std::uint32_t>(header, 8);
    if (header[4] == ErrorTag) {
        if (first == 0 || first > MaxReasonBytes)
            return std::nullopt;
        return ReplyHeaderBytes + qint64(first);
    }
    const auto width = Get<std::uint32_t>(header, 16);
    const auto height = Get<std::uint32_t>(header, 20);
    if (header[4] != ImageTag || !WithinMetafileBounds(first, Get<std::uint32_t>(header, 12)) ||
        !WithinMetafileBounds(width, height))
        return std::nullopt;
    return ReplyHeaderBytes + qint64(width) * height * 4;
}

PictureResult DecodeReply(const QByteArray& reply)
{
    const std::optional<qint64> length = ReplyBytes(reply);
    if (!length || reply.size() != *length)
        return Garbled();
    if (reply[4] == ErrorTag)
        return PictureResult::Failure(
            QString::fromUtf8(reply.constData() + ReplyHeaderBytes, reply.size() - ReplyHeaderBytes));
    const QSize natural(int(Get<std::uint32_t>(reply, 8)), int(Get<std::uint32_t>(reply, 12)));
    const int width = int(Get<std::uint32_t>(reply, 16));
    const int height = int(Get<std::uint32_t>(reply, 20));
    if (width > natural.width() || height > natural.height())
        return Garbled();
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return PictureResult::Failure(QStringLiteral("Not enough memory for the picture"));
    const qsizetype rowBytes = qsizetype(width) * 4;
    const char* source = reply.constData() + ReplyHeaderBytes;
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), source + rowBytes * y, std::size_t(rowBytes));
    PictureResult result;
    result.image = std::move(image);
    result.naturalSize = natural;
    return result;
}

} // namespace zdawnik::metafile_protocol
