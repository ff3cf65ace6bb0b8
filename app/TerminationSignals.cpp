#include "app/TerminationSignals.h"

#include <QSocketNotifier>
#include <QWidget>

#ifndef _WIN32
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace zdawnik {

#ifndef _WIN32

namespace {

// The socket pair the handler writes to and the window's loop reads from.
int g_signalSockets[2] = {-1, -1};
const int Handled[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void WriteSignalByte(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalSockets[0], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QWidget& window) : QObject(&window), m_window(window)
{
    if (g_signalSockets[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSockets) != 0)
        return;
    m_notifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(g_signalSockets[1], &byte, 1);
        m_window.close();
    });
    struct sigaction action = {};
    action.sa_handler = WriteSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : Handled)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (const int signal : Handled)
        ::signal(signal, SIG_DFL);
}

#else

TerminationSignals::TerminationSignals(QWidget& window) : QObject(&window), m_window(window) {}

TerminationSignals::~TerminationSignals() = default;

#endif

} // namespace zdawnik
