#pragma once

#include "pictures/PictureResult.h"

#include <QByteArray>

namespace zdawnik {

// Draws an enhanced metafile at its natural size (its frame at 96 dpi, within the metafile bounds)
// on a transparent ground. Every record is first checked with libuemf's record walk, so that
// libemf2svg, which trusts the counts and offsets inside records, only sees a consistent file; its
// SVG is then drawn by Qt SVG. Runs only inside the metafile helper: libemf2svg keeps global state.
PictureResult RenderEmf(const QByteArray& data);

} // namespace zdawnik
