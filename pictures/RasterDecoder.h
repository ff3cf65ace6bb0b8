#pragma once

#include "pictures/PictureFormats.h"
#include "pictures/PictureResult.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QSize>

namespace zdawnik {

// Decodes a raster picture (PNG, JPEG, BMP or ICO) in this process and keeps the part that place
// shows (see VisiblePart; an empty place keeps all of it). The file is first checked to be whole (see
// RasterIntegrity.h), and a declared size no screen needs, or one whose decoding would take more
// memory than one decode may, is refused before a pixel is allocated. A baseline JPEG is decoded
// only where the place shows it. The decoder stops reading once the deadline has passed; then the
// result is a failure and outOfTime, when given, is set.
PictureResult DecodeRaster(const QByteArray& data, PictureFormat format, QSize place = {},
                           QDeadlineTimer deadline = QDeadlineTimer::Forever, bool* outOfTime = nullptr);

} // namespace zdawnik
