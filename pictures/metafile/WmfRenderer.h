#pragma once

#include "pictures/PictureResult.h"

#include <QByteArray>

namespace zdawnik {

// Draws a Windows metafile at its natural size (as libwmf reckons it at 96 dpi, within the metafile
// bounds) on a transparent ground. libwmf's player reads the records and calls back a device layer
// of ours that draws with QPainter, decoding text by its font's character set so that Polish
// letters show. Runs only inside the metafile helper: libwmf keeps global state.
PictureResult RenderWmf(const QByteArray& data);

} // namespace zdawnik
