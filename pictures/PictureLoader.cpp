#include "pictures/PictureLoader.h"

#include "base/Errors.h"
#include "base/Platform.h"
#include "pictures/MetafileClient.h"
#include "pictures/PictureCache.h"
#include "pictures/PictureFormats.h"
#include "pictures/RasterDecoder.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <utility>

namespace zdawnik {

namespace {

QString FileTooLarge()
{
    return QStringLiteral("File too large: over %1 MB").arg(picture_limits::MaxFileBytes / (1024 * 1024));
}

QString NoTimeLeft()
{
    return QStringLiteral("Not loaded: the question's pictures took all the time they may");
}

QString TooSlow()
{
    return QStringLiteral("Damaged metafile: drawing it takes too long");
}

std::string FileName(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
#else
    // The bytes after the last separator, without parsing the path into its parts.
    const std::string& whole = path.native();
    return whole.substr(whole.rfind('/') + 1);
#endif
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path, std::optional<platform::FileFacts> facts)
{
    if (!facts)
        facts = platform::RegularFileFacts(path);
    if (!facts)
        return std::nullopt;
    return FileStamp{path.string(), facts->size, facts->modified};
}

// Reads the file; its size, when the caller has it from the system already, spares asking again.
QByteArray ReadWholeFile(const std::filesystem::path& path, std::optional<std::uintmax_t> size)
{
    platform::InputFile file(path);
    QByteArray data;
    std::error_code error;
    const std::uintmax_t expected = size ? *size : std::filesystem::file_size(path, error);
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

// A picture whose pixels are all opaque is kept without its alpha channel, so that painting copies
// it to the screen rather than blends it, each time it is shown. Metafiles come with an alpha
// channel whether their ground is transparent or not.
PictureResult WithoutUnusedAlpha(PictureResult picture)
{
    QImage& image = picture.image;
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        return picture;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (!std::all_of(row, row + image.width(), [](QRgb pixel) { return qAlpha(pixel) == 255; }))
            return picture;
    }
    // The same bytes: an opaque pixel reads the same in both formats.
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return picture;
}

} // namespace

// A decoded picture, and what may be concluded from how it went.
struct PictureLoader::Decoded
{
    PictureResult picture;
    bool lasting = true;  // the same file gives the same answer next time
    bool tooSlow = false; // it used up the whole share of time a picture gets
};

PictureLoader::PictureLoader(PictureLoaderOptions options)
    : m_options(std::move(options)), m_metafiles(std::make_unique<MetafileClient>(m_options.metafileHelper)),
      m_cache(std::make_unique<PictureCache>(m_options.cacheBytes))
{
}

PictureLoader::~PictureLoader() = default;

void PictureLoader::StartHelper()
{
    m_metafiles->Start();
}

void PictureLoader::BeginQuestion()
{
    m_question = QDeadlineTimer(qMax(0, m_options.questionBudgetMs - picture_limits::StoppingMs));
    // A picture that ran out of time is tried again at its next showing: the time it lacked may
    // have gone to a helper held up or a busy machine, not to the picture.
    m_tooSlow.clear();
}

QDeadlineTimer PictureLoader::Budget() const
{
    return m_question ? *m_question
                      : QDeadlineTimer(qMax(0, m_options.questionBudgetMs - picture_limits::StoppingMs));
}

qint64 PictureLoader::HelperProcessId() const
{
    return m_metafiles->ProcessId();
}

qint64 PictureLoader::CachedBytes() const
{
    return m_cache->Bytes();
}

PictureLoader::Decoded PictureLoader::DecodeWithin(const QByteArray& data, const QString& extension,
                                                   QSize place, const QDeadlineTimer& budget)
{
    const QString lowerCase = extension.toLower();
    if (lowerCase.isEmpty())
        return {PictureResult::Failure(QStringLiteral("The picture name has no extension"))};
    const std::optional<PictureFormat> format = FormatOfExtension(lowerCase.toStdString());
    if (!format)
        return {PictureResult::Failure(QStringLiteral("Unknown picture format: .%1").arg(lowerCase))};
    if (data.isEmpty())
        return {PictureResult::Failure(QStringLiteral("The file is empty"))};
    if (data.size() > picture_limits::MaxFileBytes)
        return {PictureResult::Failure(FileTooLarge())};
    if (budget.hasExpired())
        return {PictureResult::Failure(NoTimeLeft()), false};

    if (!IsMetafileFormat(*format)) {
        bool outOfTime = false;
        PictureResult picture = DecodeRaster(data, *format, place, budget, &outOfTime);
        if (outOfTime)
            return {PictureResult::Failure(NoTimeLeft()), false};
        return {WithoutUnusedAlpha(std::move(picture))};
    }

    const qint64 left = budget.remainingTime();
    const bool wholeShare = left >= m_options.pictureShareMs;
    const int given = int(wholeShare ? m_options.pictureShareMs : left);
    MetafileClient::Reply reply = m_metafiles->Render(
        data, *format == PictureFormat::Emf ? MetafileKind::Emf : MetafileKind::Wmf, place, given);
    using Outcome = MetafileClient::Outcome;
    if (reply.outcome == Outcome::OutOfTime)
        reply.picture.error = TooSlow();
    // A helper that crashed may have been worn out by earlier pictures, one that is missing may be
    // installed later, and one that ran out of time may have been held up by the machine: only a
    // drawing or the renderer's own verdict stands for the run.
    const bool lasting = reply.outcome == Outcome::Drawn || reply.outcome == Outcome::Refused;
    return {WithoutUnusedAlpha(std::move(reply.picture)), lasting,
            reply.outcome == Outcome::OutOfTime && wholeShare};
}

PictureResult PictureLoader::Decode(const QByteArray& data, const QString& extension, QSize place)
{
    return DecodeWithin(data, extension, place, Budget()).picture;
}

PictureResult PictureLoader::Load(const std::filesystem::path& path, QSize place,
                                  std::optional<platform::FileFacts> facts)
{
    const QDeadlineTimer budget = Budget();
    const std::string name = FileName(path);
    if (name.empty())
        return PictureResult::Failure(QStringLiteral("No picture name"));
    // The extension is judged before the file is read, so a name outside the table costs nothing.
    const std::string extension = LowerCaseExtension(name);
    if (extension.empty())
        return PictureResult::Failure(QStringLiteral("The picture name has no extension"));
    if (!FormatOfExtension(extension))
        return PictureResult::Failure(
            QStringLiteral("Unknown picture format: .%1")
                .arg(QString::fromUtf8(extension.data(), qsizetype(extension.size()))));

    std::optional<PictureCache::Key> key;
    if (std::optional<FileStamp> stamp = StampOf(path, facts)) {
        key = PictureCache::Key{std::move(*stamp), place};
        if (std::find(m_tooSlow.begin(), m_tooSlow.end(), key->file) != m_tooSlow.end())
            return PictureResult::Failure(TooSlow());
        if (std::optional<PictureResult> cached = m_cache->Find(*key))
            return std::move(*cached);
    }
    if (budget.hasExpired())
        return PictureResult::Failure(NoTimeLeft());
    QByteArray data;
    try {
        data = ReadWholeFile(path, key ? std::optional(key->file.size) : std::nullopt);
    } catch (const EInOutError& error) {
        return PictureResult::Failure(QString::fromStdString(error.what()));
    }
    Decoded decoded =
        DecodeWithin(data, QString::fromLatin1(extension.data(), qsizetype(extension.size())), place, budget);
    data.clear();
    if (key && decoded.tooSlow)
        m_tooSlow.push_back(key->file);
    if (key && decoded.lasting)
        m_cache->Insert(*key, decoded.picture);
    return std::move(decoded.picture);
}

} // namespace zdawnik
