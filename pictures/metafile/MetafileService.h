#pragma once

#include "pictures/MetafileProtocol.h"
#include "pictures/PictureResult.h"

#include <QByteArray>

#include <functional>

namespace zdawnik {

// Draws one metafile at its natural size.
using MetafileRenderer = std::function<PictureResult(MetafileKind kind, const QByteArray& data)>;

// The metafile helper's life: reads requests from standard input one after another, draws each with
// render and writes the part of the picture its place shows to standard output (see
// pictures/MetafileProtocol.h), until the input ends. Whatever the renderer does wrong on a damaged
// file - crash, loop, eat memory - ends this process: memory is limited, and a watchdog ends a
// drawing that runs far past the time the loader waits, in case the loader is gone. Returns the
// process's exit status.
int ServeMetafiles(int argc, char** argv, const MetafileRenderer& render);

} // namespace zdawnik
