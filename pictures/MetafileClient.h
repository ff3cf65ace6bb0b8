#pragma once

#include "pictures/MetafileProtocol.h"
#include "pictures/PictureResult.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

class QProcess;

namespace zdawnik {

// Draws metafiles in one long-lived zdawnik-metafile helper beside the program, over its pipes. The
// metafile libraries keep global state and have crashed on valid files, so they live only in that
// helper: its crash, an overrun of the time given, an oversized or garbled answer, or its absence
// make an error for the picture at hand and never touch the calling process. A helper that crashed
// or overran is ended and a new one started in the background for the next picture.
class MetafileClient
{
public:
    // program: the helper to run; empty means zdawnik-metafile beside the running program.
    explicit MetafileClient(QString program = {});
    ~MetafileClient();
    MetafileClient(const MetafileClient&) = delete;
    MetafileClient& operator=(const MetafileClient&) = delete;

    // Starts the helper without waiting for it, unless it runs already, so that the first picture
    // need not wait for its start.
    void Start();

    enum class Outcome
    {
        Drawn,     // the picture, or the part of it place shows
        Refused,   // the renderer judged the file damaged or not a metafile
        OutOfTime, // the helper did not answer within the time given, and was ended
        Crashed,   // the helper ended, or answered nonsense, while drawing it
        NoHelper,  // the helper is missing or does not start
    };
    struct Reply
    {
        Outcome outcome = Outcome::NoHelper;
        PictureResult picture;
    };

    // Draws a metafile, keeping the part that place shows (see VisiblePart), waiting at most
    // timeoutMs for it.
    Reply Render(const QByteArray& data, MetafileKind kind, QSize place, int timeoutMs);

    // The helper's process id while it runs, 0 otherwise; for tests.
    qint64 ProcessId() const;

private:
    Reply Fail(Outcome outcome, const QString& reason);
    void Stop();
    void ReapEnded();

    QString m_program;
    std::unique_ptr<QProcess> m_process;
    std::vector<std::unique_ptr<QProcess>> m_ending; // killed helpers not yet collected
};

// Where the helper is looked for: beside the running program.
QString MetafileHelperPath();

} // namespace zdawnik
