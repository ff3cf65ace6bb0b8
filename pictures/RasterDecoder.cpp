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

// The file's bytes as the image readers read them, which stop giving any once the deadline has
// passed: the readers take their input a piece at a time as they decode, so a decode that runs out
// of time ends within a piece rather than at the end of the picture.
class DeadlineBuffer : public QBuffer
{
public:
    DeadlineBuffer(const QByteArray& data, QDeadlineTimer deadline) : m_deadline(deadline)
    {
        setData(data);
        open(QIODevice::ReadOnly);
    }

    bool ranOut() const { return m_ranOut; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_deadline.hasExpired()) {
            m_ranOut = true;
            return -1;
        }
        return QBuffer::readData(data, maxSize);
    }

private:
    QDeadlineTimer m_deadline;
    bool m_ranOut = false;
};

struct Reading
{
    const char* format;
    const char* name;
    qint64 decoderBytes = 0; // what the decoder holds besides the image (a progressive JPEG's coefficients)
};

// Reads the one image of a raster file, refusing a declared size no screen needs before decoding.
PictureResult ReadRaster(DeadlineBuffer& buffer, const Reading& reading, QSize place)
{
    LetThroughAllowedSizes();
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
PictureResult ReadIcon(const QByteArray& data, DeadlineBuffer& buffer, QSize place)
{
    LetThroughAllowedSizes();
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

PictureResult DecodeRaster(const QByteArray& data, PictureFormat format, QSize place, QDeadlineTimer deadline,
                           bool* outOfTime)
{
    DeadlineBuffer buffer(data, deadline);
    PictureResult result;
    switch (format) {
    case PictureFormat::Png: {
        const QString damage = CheckPngIntegrity(data);
        result =
            damage.isEmpty() ? ReadRaster(buffer, {"png", "PNG"}, place) : PictureResult::Failure(damage);
        break;
    }
    case PictureFormat::Jpeg: {
        const JpegWalk walk = WalkJpeg(data);
        result = walk.damage.isEmpty() ? ReadRaster(buffer, {"jpeg", "JPEG", walk.coefficientBytes}, place)
                                       : PictureResult::Failure(walk.damage);
        break;
    }
    case PictureFormat::Bmp: {
        const QString damage = CheckBmpIntegrity(data);
        result =
            damage.isEmpty() ? ReadRaster(buffer, {"bmp", "BMP"}, place) : PictureResult::Failure(damage);
        result.bitmap = result.ok();
        break;
    }
    case PictureFormat::Ico: {
        const QString damage = CheckIcoIntegrity(data);
        result = damage.isEmpty() ? ReadIcon(data, buffer, place) : PictureResult::Failure(damage);
        break;
    }
    case PictureFormat::Emf:
    case PictureFormat::Wmf:
        return PictureResult::Failure(QStringLiteral("A metafile is no raster picture"));
    }
    if (buffer.ranOut()) {
        if (outOfTime)
            *outOfTime = true;
        return PictureResult::Failure(QStringLiteral("Not decoded: out of time"));
    }
    return result;
}

} // namespace zdawnik
