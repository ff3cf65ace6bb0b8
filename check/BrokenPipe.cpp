#include "check/BrokenPipe.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace zdawnik {

void EndIfReaderGone(int error)
{
#ifdef SIGPIPE
    if (error != EPIPE)
        return;
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
    // Not reached where the signal ends the process; otherwise the output is done all the same.
    std::_Exit(0);
#else
    (void)error;
#endif
}

} // namespace zdawnik
