#pragma once

#include "base/Platform.h"
#include "pictures/PictureLimits.h"
#include "pictures/PictureResult.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QSize>
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace zdawnik {

class MetafileClient;
class PictureCache;
struct FileStamp;

struct PictureLoaderOptions
{
    // The metafile helper to run; empty means zdawnik-metafile beside the running program.
    QString metafileHelper;
    int questionBudgetMs = picture_limits::QuestionBudgetMs;
    int pictureShareMs = picture_limits::PictureShareMs;
    qint64 cacheBytes = picture_limits::CacheBytes;
};

// Turns picture files into pictures for a run of the window or of the checker: PNG, JPEG, BMP and
// ICO decoded in this process, EMF and WMF drawn by one long-lived metafile helper. Loaded pictures
// are cached by file and place for the run (see PictureCache). The pictures of one question share a
// time budget, raster decoding and metafile drawing alike: once it is spent, the picture at hand
// stops and the pictures not yet loaded fail at once. A picture that used up its whole share of it
// is not tried again in that question; at its next showing it is tried again with a fresh budget.
class PictureLoader
{
public:
    explicit PictureLoader(PictureLoaderOptions options = {});
    ~PictureLoader();
    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;

    // Starts the metafile helper in the background, so that the first metafile need not wait.
    void StartHelper();

    // A new question: its pictures get a budget of their own, and pictures that ran out of time
    // before are tried again. Pictures loaded before any question begins get a budget each.
    void BeginQuestion();

    // Loads the file at path, the format chosen by the extension after the last dot of its name
    // without regard to case: bmp, ico, emf, wmf, png, jpg, jpeg. Any other extension, no extension,
    // a missing file, a directory and a damaged file give an error. Keeps the part of the picture
    // that place shows (see VisiblePart); an empty place keeps all of it. The name is used as the
    // system's bytes; it is never converted to text and back. Facts the caller has just had from
    // the system for path spare asking again.
    PictureResult Load(const std::filesystem::path& path, QSize place = {},
                       std::optional<platform::FileFacts> facts = std::nullopt);

    // Decodes bytes as the format of the given extension ("png", "JPG", ...), as Load does once it
    // has read the file, though nothing is cached; fuzzers and tests call it directly.
    PictureResult Decode(const QByteArray& data, const QString& extension, QSize place = {});

    // The metafile helper's process id while it runs, 0 otherwise; for tests.
    qint64 HelperProcessId() const;
    // What the cache holds; for tests and benchmarks.
    qint64 CachedBytes() const;

private:
    struct Decoded;
    Decoded DecodeWithin(const QByteArray& data, const QString& extension, QSize place,
                         const QDeadlineTimer& budget);
    QDeadlineTimer Budget() const;

    PictureLoaderOptions m_options;
    std::unique_ptr<MetafileClient> m_metafiles;
    std::unique_ptr<PictureCache> m_cache;
    std::optional<QDeadlineTimer> m_question;
    std::vector<FileStamp> m_tooSlow;
};

} // namespace zdawnik
