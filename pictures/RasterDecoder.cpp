#include "pictures/RasterDecoder.h"

#include "pictures/PictureLimits.h"
#include "pictures/RasterIntegrity.h"
#include "pictures/VisiblePart.h"

#include <QBuffer>
#include <QImageReader>

namespace zdawnik {

namespace {

QString TooLarge(QSize size)
{
    return QStringLiteral("Picture too large: %1 x %2 pixels")
        .arg(qAbs(size.width()))
        .arg(qAbs(size.height()));
}

QString Refused(const char* format)
{
    return QStringLiteral("Damaged or unsupported %1 file").arg(QLatin1String(format));
}

// Qt's readers refuse on their own any image of more than a set number of megabytes (128 by
// default). Sizes and bytes are judged here before decoding, so Qt's limit is raised once to the
// bytes one decode may take; it is never lowered, nor set where it was turned off.
void LetThroughAllowedSizes()
{
    static const bool raised = [] {
        constexpr int Megabytes = int(picture_limits::MaxDecodeBytes / (1024 * 1024));
        const int current = QImageReader::allocationLimit();
        if (current != 0 && current < Megabytes)
            QImageReader::setAllocationLimit(Megabytes);
        return true;
    }();
    Q_UNUSED(raised);
}

// The bytes an image of this size takes in the format the reader will decode it to: four a pixel
// at the least (an indexed picture with transparency comes out as ARGB), eight for 16-bit formats.
qint64 ImageBytes(QSize size, QImage::Format format)
{
    const int bits = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    return qint64(size.width()) * size.height() * (qMax(bits, 32) / 8);
}

struct Reading
{
    const char* format;
    const char* name;
    qint64 decoderBytes = 0; // what the decoder holds besides the image (a progressive JPEG's coefficients)
};

// Reads the one image of a raster file, refusing a declared size no screen needs before decoding.
PictureResult ReadRaster(const QByteArray& data, const Reading& reading, QSize place)
{
    LetThroughAllowedSizes();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, reading.format);
    // A camera tags its JPEG photos with the way it was held.
    reader.setAutoTransform(true);
    // A bitmap stored top to bottom declares a negative height.
    const QSize declared = reader.size();
    if (declared.width() <= 0 || declared.height() == 0)
        return PictureResult::Failure(Refused(reading.name));
    if (!picture_limits::IsSaneSize(declared))
        return PictureResult::Failure(TooLarge(declared));
    const QSize stored(qAbs(declared.width()), qAbs(declared.height()));
    const QImageIOHandler::Transformations turn = reader.transformation();
    const QSize natural = turn & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
    const QRect shown = VisiblePart(natural, place);
    // Where the reader can decode a part only, it is asked for the part shown; its clip is taken
    // before the picture is turned upright, so a turned picture is decoded whole.
    const bool clips = shown.size() != natural && turn == QImageIOHandler::TransformationNone &&
                       reader.supportsOption(QImageIOHandler::ClipRect);
    const qint64 bytes =
        ImageBytes(clips ? shown.size() : natural, reader.imageFormat()) + reading.decoderBytes;
    if (bytes > picture_limits::MaxDecodeBytes)
        return PictureResult::Failure(TooLarge(natural));
    if (clips)
        reader.setClipRect(shown);
    PictureResult result;
    if (!reader.read(&result.image))
        return PictureResult::Failure(Refused(reading.name));
    if (!clips && shown.size() != result.image.size())
        result.image = result.image.copy(shown);
    result.naturalSize = natural;
    return result;
}

// An icon file holds several sizes of one picture; the largest is the one meant to be seen at
// natural size (Qt's reader alone would give the first, often 16 x 16).
PictureResult ReadIcon(const QByteArray& data, QSize place)
{
    LetThroughAllowedSizes();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    const int count = reader.imageCount();
    int best = -1;
    qint64 bestArea = 0;
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            continue;
        const QSize size = IcoImageSize(data, i, reader.size());
        if (size.isEmpty())
            continue;
        if (!picture_limits::IsSaneSize(size) ||
            ImageBytes(size, reader.imageFormat()) > picture_limits::MaxDecodeBytes)
            return PictureResult::Failure(TooLarge(size));
        const qint64 area = qint64(size.width()) * size.height();
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    PictureResult result;
    if (best < 0 || !reader.jumpToImage(best) || !reader.read(&result.image))
        return PictureResult::Failure(Refused("ICO"));
    result.naturalSize = result.image.size();
    result.image = KeepVisiblePart(result.image, place);
    return result;
}

} // namespace

PictureResult DecodeRaster(const QByteArray& data, RasterFormat format, QSize place)
{
    switch (format) {
    case RasterFormat::Png: {
        const QString damage = CheckPngIntegrity(data);
        return damage.isEmpty() ? ReadRaster(data, {"png", "PNG"}, place) : PictureResult::Failure(damage);
    }
    case RasterFormat::Jpeg: {
        const JpegWalk walk = WalkJpeg(data);
        return walk.damage.isEmpty() ? ReadRaster(data, {"jpeg", "JPEG", walk.coefficientBytes}, place)
                                     : PictureResult::Failure(walk.damage);
    }
    case RasterFormat::Bmp: {
        const QString damage = CheckBmpIntegrity(data);
        PictureResult result =
            damage.isEmpty() ? ReadRaster(data, {"bmp", "BMP"}, place) : PictureResult::Failure(damage);
        result.bitmap = result.ok();
        return result;
    }
    case RasterFormat::Ico: {
        const QString damage = CheckIcoIntegrity(data);
        return damage.isEmpty() ? ReadIcon(data, place) : PictureResult::Failure(damage);
    }
    }
    return PictureResult::Failure(QStringLiteral("Unknown picture format"));
}

} // namespace zdawnik
