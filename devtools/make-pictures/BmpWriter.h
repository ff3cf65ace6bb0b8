#pragma once

#include <QByteArray>
#include <QImage>

namespace zdawnik::tools {

// A Windows bitmap file, 8 bits per pixel, uncompressed, bottom-up, with a palette of exactly
// paletteSize entries. The image must be Format_Indexed8 and use no index at or above paletteSize;
// palette entries the image's colour table does not fill are written black.
QByteArray EncodeBmp8(const QImage& indexed, int paletteSize);

} // namespace zdawnik::tools
