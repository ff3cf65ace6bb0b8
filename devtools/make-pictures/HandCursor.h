#pragma once

#include <QImage>
#include <QPoint>

namespace zdawnik::tools {

// Where the cursor points: the top of the index finger.
inline constexpr QPoint HandHotSpot(7, 1);

// The pointing-hand cursor, 32 x 32: a white hand with a black outline, index finger up. Pixels
// are transparent, black or white.
QImage DrawHandCursor();

} // namespace zdawnik::tools
