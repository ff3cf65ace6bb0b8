#pragma once

#include "pictures/PictureResult.h"

#include <QByteArray>
#include <QSize>

namespace zdawnik {

enum class RasterFormat
{
    Png,
    Jpeg,
    Bmp,
    Ico,
};

// Decodes a raster picture in this process and keeps the part that place shows (see VisiblePart;
// an empty place keeps all of it). The file is first checked to be whole (see RasterIntegrity.h),
// and a declared size no screen needs, or one whose decoding would take more memory than one decode
// may, is refused before a pixel is allocated. A baseline JPEG is decoded only where the place
// shows it.
PictureResult DecodeRaster(const QByteArray& data, RasterFormat format, QSize place = {});

} // namespace zdawnik
