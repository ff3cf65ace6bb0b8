#pragma once

#include "pictures/MetafileProtocol.h"
#include "pictures/PictureResult.h"

#include <QByteArray>

#include <functional>

namespace zdawnik {

// The address space the helper may take while it draws one metafile of a given length: Base, and
// PerFileByte bytes for each byte of the file.
struct MetafileHelperMemoryLimit
{
    qint64 Base = 0;
    qint64 PerFileByte = 0;
};
inline constexpr MetafileHelperMemoryLimit MetafileHelperMemory{512LL * 1024 * 1024, 2};

// Draws one metafile at its natural size.
using MetafileRenderer = std::function<PictureResult(MetafileKind kind, const QByteArray& data)>;

// The metafile helper's life: reads requests from standard input one after another, draws each with
// render and writes the part of the picture its place shows to standard output (see
// pictures/MetafileProtocol.h), until the input ends. Whatever the renderer does wrong on a damaged
// file - crash, loop, eat memory - ends this process: memory is limited to what one picture may need
// (MetafileHelperMemory), and a watchdog ends a drawing that runs far past the time the loader
// waits, in case the loader is gone. Returns the process's exit status.
int ServeMetafiles(int argc, char** argv, const MetafileRenderer& render);

} // namespace zdawnik
