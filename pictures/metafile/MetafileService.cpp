#include "pictures/metafile/MetafileService.h"

#include "base/BuildFacts.h"
#include "pictures/MetafileProtocol.h"
#include "pictures/PictureLimits.h"
#include "pictures/VisiblePart.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace zdawnik {

namespace {


// Takes standard output for the replies alone: the libraries print to it, and a stray line there
// would garble a picture. Their printing goes to the error stream instead.
int TakeReplyChannel()
{
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    const int reply = _dup(_fileno(stdout));
    _setmode(reply, _O_BINARY);
    _dup2(_fileno(stderr), _fileno(stdout));
    return reply;
#else
    const int reply = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    return reply;
#endif
}

// A library that asks for memory without end stops here, at the address-space limit, rather than
// take the machine's memory from the program: the limit is what drawing one picture of this length
// may need. The helper itself, its fonts and its threads' reserves take about 300 MB of address space
// once it has drawn; a picture at the metafile bounds is 64 MB, held a few times over on its way to
// the reply; the renderers hold the file and what they make of it. A metafile needing more than that
// is damaged or hostile, and the helper ends on it as on any other fault.
void LimitMemory(qint64 length)
{
#ifndef _WIN32
    if (!UnderAddressSanitizer) { // the sanitizers reserve terabytes of address space up front
        const rlim_t limit =
            rlim_t(MetafileHelperMemory.Base) + rlim_t(MetafileHelperMemory.PerFileByte) * rlim_t(length);
        const rlim_t most = rlim_t(MetafileHelperMemory.Base) +
                            rlim_t(MetafileHelperMemory.PerFileByte) * rlim_t(picture_limits::MaxFileBytes);
        // Only the first call may set the hard limit; later ones move the soft limit under it.
        const rlimit memory{std::min(limit, most), most};
        setrlimit(RLIMIT_AS, &memory);
    }
#else
    Q_UNUSED(length);
#endif
}

// Ends this process when one picture takes far longer than the loader ever waits: the loader stops
// a helper that overruns, but if the program is gone there is no one left to do it.
class Watchdog
{
public:
    Watchdog() : m_thread([this] { watch(); }) {}
    ~Watchdog()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_one();
        m_thread.join();
    }

    void arm(std::chrono::milliseconds limit)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_deadline = std::chrono::steady_clock::now() + limit;
            m_armed = true;
        }
        m_changed.notify_one();
    }

    void disarm()
    {
        const std::lock_guard lock(m_mutex);
        m_armed = false;
    }

private:
    void watch()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stopping) {
            if (!m_armed) {
                m_changed.wait(lock);
            } else if (m_changed.wait_until(lock, m_deadline) == std::cv_status::timeout && m_armed &&
                       std::chrono::steady_clock::now() >= m_deadline) {
                std::_Exit(3);
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::chrono::steady_clock::time_point m_deadline;
    bool m_armed = false;
    bool m_stopping = false;
    std::thread m_thread;
};

// Reads exactly length bytes of standard input; false at its end.
bool ReadExactly(QByteArray& data, qint64 length)
{
    data.resize(qsizetype(length));
    qint64 done = 0;
    while (done < length) {
        const std::size_t got = std::fread(data.data() + done, 1, std::size_t(length - done), stdin);
        if (got == 0)
            return false;
        done += qint64(got);
    }
    return true;
}

bool WriteAll(int channel, const QByteArray& reply)
{
    const char* next = reply.constData();
    qsizetype left = reply.size();
    while (left > 0) {
#ifdef _WIN32
        const int written = _write(channel, next, unsigned(qMin<qsizetype>(left, 1 << 30)));
#else
        const ssize_t written = write(channel, next, std::size_t(left));
#endif
        if (written <= 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

QByteArray Answer(const MetafileRenderer& render, const metafile_protocol::Request& request,
                  const QByteArray& data)
{
    if (data.isEmpty())
        return metafile_protocol::EncodeError(QStringLiteral("The file is empty"));
    const PictureResult result = render(request.kind, data);
    if (!result.ok())
        return metafile_protocol::EncodeError(result.error);
    return metafile_protocol::EncodeImage(KeepVisiblePart(result.image, request.place), result.image.size());
}

} // namespace

int ServeMetafiles(int argc, char** argv, const MetafileRenderer& render)
{
    const int reply = TakeReplyChannel();
    LimitMemory(0);
    // Drawing needs fonts but never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    Watchdog watchdog;

    QByteArray header;
    QByteArray data;
    for (;;) {
        if (!ReadExactly(header, metafile_protocol::RequestHeaderBytes))
            return 0; // the loader is done
        const auto request = metafile_protocol::DecodeRequestHeader(header);
        if (!request)
            return 2; // out of step with the loader, which starts a new helper
        LimitMemory(request->length);
        if (!ReadExactly(data, request->length))
            return 0;
        watchdog.arm(std::chrono::milliseconds(picture_limits::MetafileTimeoutMs));
        const QByteArray answer = Answer(render, *request, data);
        watchdog.disarm();
        if (!WriteAll(reply, answer))
            return 0;
    }
}

} // namespace zdawnik
