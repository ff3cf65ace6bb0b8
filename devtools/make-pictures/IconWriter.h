#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>

namespace zdawnik::tools {

// An icon file (ICO) holding one 4-bit image with the given 16-colour palette and a 1-bit mask.
// Every pixel of the image is either fully transparent or exactly one of the palette's colours.
QByteArray EncodeIcon16(const QImage& image, const QList<QRgb>& palette);

// A cursor file (CUR) holding one monochrome image with its mask and hot spot. Every pixel is
// fully transparent, opaque black or opaque white.
QByteArray EncodeMonochromeCursor(const QImage& image, QPoint hotSpot);

} // namespace zdawnik::tools
