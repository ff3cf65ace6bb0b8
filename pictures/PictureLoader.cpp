#include "pictures/PictureLoader.h"

#include "bank/PictureName.h"
#include "base/Errors.h"
#include "base/Platform.h"
#include "pictures/MetafileClient.h"
#include "pictures/PictureLimits.h"
#include "pictures/RasterIntegrity.h"

#include <QBuffer>
#include <QImageReader>

#include <string>
#include <system_error>

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

QString FileTooLarge()
{
    return QStringLiteral("File too large: over %1 MB").arg(picture_limits::MaxFileBytes / (1024 * 1024));
}

// Qt's readers refuse on their own any image of more than a set number of megabytes (128 by
// default), which would cut the size limit of pictures in half, and by more for 16-bit PNGs (8 bytes
// a pixel). Sizes are judged here before decoding, so Qt's limit is raised once to let through
// every picture the size limit allows; it is never lowered, nor set where it was turned off.
void LetThroughAllowedSizes()
{
    static const bool raised = [] {
        constexpr int Megabytes = int(picture_limits::MaxPixels * 8 / (1024 * 1024));
        const int current = QImageReader::allocationLimit();
        if (current != 0 && current < Megabytes)
            QImageReader::setAllocationLimit(Megabytes);
        return true;
    }();
    Q_UNUSED(raised);
}

// Reads the one image of a raster file, refusing a declared size no screen needs before decoding.
PictureResult ReadRaster(const QByteArray& data, const char* format, const char* name)
{
    LetThroughAllowedSizes();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // A camera tags its JPEG photos with the way it was held.
    reader.setAutoTransform(true);
    // A bitmap stored top to bottom declares a negative height.
    const QSize size = reader.size();
    if (size.width() <= 0 || size.height() == 0)
        return PictureResult::Failure(Refused(name));
    if (!picture_limits::IsSaneSize(size))
        return PictureResult::Failure(TooLarge(size));
    PictureResult result;
    if (!reader.read(&result.image))
        return PictureResult::Failure(Refused(name));
    return result;
}

// An icon file holds several sizes of one picture; the largest is the one meant to be seen at
// natural size (Qt's reader alone would give the first, often 16 x 16).
PictureResult ReadIcon(const QByteArray& data)
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
        if (!picture_limits::IsSaneSize(size))
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
    return result;
}

std::string FileName(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
#else
    return path.filename().native();
#endif
}

QByteArray ReadWholeFile(const std::filesystem::path& path)
{
    platform::InputFile file(path);
    QByteArray data;
    std::error_code error;
    const std::uintmax_t expected = std::filesystem::file_size(path, error);
    if (!error && expected > std::uintmax_t(picture_limits::MaxFileBytes))
        throw EInOutError(FileTooLarge().toStdString());
    if (!error)
        data.reserve(qsizetype(expected) + 1);
    // With the size known ahead the file lands in one buffer with no copy; a file that grows or
    // cannot tell its size still reads, in growing steps.
    constexpr qsizetype Step = 1 << 20;
    for (;;) {
        const qsizetype used = data.size();
        if (data.capacity() - used <= 0)
            data.reserve(used + qMax(Step, used / 2));
        const qsizetype room = data.capacity() - used;
        data.resize(used + room);
        const std::size_t got = file.read(data.data() + used, std::size_t(room));
        data.resize(used + qsizetype(got));
        if (got == 0)
            break;
        if (data.size() > picture_limits::MaxFileBytes)
            throw EInOutError(FileTooLarge().toStdString());
    }
    return data;
}

} // namespace

namespace {

PictureResult Decode(const QByteArray& data, const QString& extension)
{
    const QString format = extension.toLower();
    if (format.isEmpty())
        return PictureResult::Failure(QStringLiteral("The picture name has no extension"));
    if (!IsPictureExtension(format.toStdString()))
        return PictureResult::Failure(QStringLiteral("Unknown picture format: .%1").arg(format));
    if (data.isEmpty())
        return PictureResult::Failure(QStringLiteral("The file is empty"));
    if (data.size() > picture_limits::MaxFileBytes)
        return PictureResult::Failure(FileTooLarge());

    if (format == QLatin1String("png")) {
        const QString damage = CheckPngIntegrity(data);
        return damage.isEmpty() ? ReadRaster(data, "png", "PNG") : PictureResult::Failure(damage);
    }
    if (format == QLatin1String("jpg") || format == QLatin1String("jpeg")) {
        const QString damage = CheckJpegIntegrity(data);
        return damage.isEmpty() ? ReadRaster(data, "jpeg", "JPEG") : PictureResult::Failure(damage);
    }
    if (format == QLatin1String("bmp")) {
        const QString damage = CheckBmpIntegrity(data);
        PictureResult result =
            damage.isEmpty() ? ReadRaster(data, "bmp", "BMP") : PictureResult::Failure(damage);
        result.bitmap = result.ok();
        return result;
    }
    if (format == QLatin1String("ico")) {
        const QString damage = CheckIcoIntegrity(data);
        return damage.isEmpty() ? ReadIcon(data) : PictureResult::Failure(damage);
    }
    return RenderMetafile(data, format == QLatin1String("emf") ? MetafileKind::Emf : MetafileKind::Wmf);
}

} // namespace

PictureResult DecodePicture(const QByteArray& data, const QString& extension)
{
    PictureResult result = Decode(data, extension);
    if (result.ok())
        result.naturalSize = result.image.size();
    return result;
}

PictureResult LoadPicture(const std::filesystem::path& path)
{
    const std::string name = FileName(path);
    if (name.empty())
        return PictureResult::Failure(QStringLiteral("No picture name"));
    // The extension is judged before the file is read, so a name outside the table costs nothing.
    const std::string extension = PictureExtension(name);
    if (extension.empty())
        return PictureResult::Failure(QStringLiteral("The picture name has no extension"));
    if (!IsPictureExtension(extension))
        return PictureResult::Failure(
            QStringLiteral("Unknown picture format: .%1")
                .arg(QString::fromUtf8(extension.data(), qsizetype(extension.size()))));
    QByteArray data;
    try {
        data = ReadWholeFile(path);
    } catch (const EInOutError& error) {
        return PictureResult::Failure(QString::fromStdString(error.what()));
    }
    return DecodePicture(data, QString::fromLatin1(extension.data(), qsizetype(extension.size())));
}

} // namespace zdawnik
