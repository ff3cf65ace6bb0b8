// zdawnik-metafile: draws one metafile and exits. The program starts it for every EMF or WMF picture,
// hands it the file's bytes on standard input and reads the picture, or the reason there is none,
// from standard output (see pictures/MetafileProtocol.h). Whatever the metafile libraries do wrong
// on a damaged file - crash, loop, eat memory - ends with this process.

#include "pictures/MetafileProtocol.h"
#include "pictures/PictureLimits.h"
#include "pictures/metafile/EmfRenderer.h"
#include "pictures/metafile/WmfRenderer.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

using namespace zdawnik;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

// Takes standard output for the reply alone: the libraries print to it, and a stray line there
// would garble the picture. Their printing goes to the error stream instead.
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

// A runaway library stops here even if the program that started this helper is gone.
void LimitResources()
{
#ifndef _WIN32
    const rlimit cpu{rlim_t(picture_limits::MetafileTimeoutMs / 1000 + 5),
                     rlim_t(picture_limits::MetafileTimeoutMs / 1000 + 10)};
    setrlimit(RLIMIT_CPU, &cpu);
    if (!Sanitized) { // the sanitizers reserve terabytes of address space up front
        constexpr rlim_t Memory = rlim_t(4) << 30;
        const rlimit memory{Memory, Memory};
        setrlimit(RLIMIT_AS, &memory);
    }
#endif
}

QByteArray ReadInput()
{
    QByteArray data;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, stdin);
        if (got == 0)
            break;
        data.append(buffer, qsizetype(got));
        if (data.size() > picture_limits::MaxFileBytes)
            break;
    }
    return data;
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

} // namespace

int main(int argc, char** argv)
{
    const int reply = TakeReplyChannel();
    LimitResources();
    // Drawing needs fonts but never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    PictureResult result;
    const QByteArray kind = argc == 2 ? QByteArray(argv[1]) : QByteArray();
    if (kind != metafile_protocol::EmfArgument && kind != metafile_protocol::WmfArgument) {
        result =
            PictureResult::Failure(QStringLiteral("usage: zdawnik-metafile emf|wmf < metafile > picture"));
    } else {
        const QByteArray data = ReadInput();
        if (data.size() > picture_limits::MaxFileBytes)
            result = PictureResult::Failure(QStringLiteral("File too large"));
        else if (data.isEmpty())
            result = PictureResult::Failure(QStringLiteral("The file is empty"));
        else
            result = kind == metafile_protocol::EmfArgument ? RenderEmf(data) : RenderWmf(data);
    }
    const QByteArray answer = result.ok() ? metafile_protocol::EncodeImage(result.image)
                                          : metafile_protocol::EncodeError(result.error);
    if (!WriteAll(reply, answer))
        return 2;
    return result.ok() ? 0 : 1;
}
