#pragma once

#include <QImage>

namespace zdawnik::tools {

// Reduces an opaque picture to an 8-bit indexed one of at most maxColours colours by median cut.
// The colour `exact`, where the picture has it, is kept as itself at index 0, and no other colour
// is rounded onto it: a picture drawn with a colour key must not gain or lose keyed pixels.
QImage QuantiseKeeping(const QImage& image, int maxColours, QRgb exact);

} // namespace zdawnik::tools
