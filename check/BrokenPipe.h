#pragma once

namespace zdawnik {

// When a write failed because the reader of the output has gone (error is EPIPE: a closed pipe, as
// under "| head -1"), ends the checker the way command-line tools end then: at once, silently,
// killed by SIGPIPE. Returns otherwise.
//
// The signal cannot simply be left to do this: the metafile helper is fed over a pipe, and a helper
// that crashes must not take the checker with it, so the signal is ignored while the helper runs.
void EndIfReaderGone(int error);

} // namespace zdawnik
