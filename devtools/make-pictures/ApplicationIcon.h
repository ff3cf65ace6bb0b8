#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace zdawnik::tools {

// The 16 colours of the classic Windows icon palette, in its order.
QList<QRgb> WindowsIconPalette();

// The application icon at 32 x 32 in the 16 colours of WindowsIconPalette, each pixel fully
// transparent or opaque: a black chip with a grey outline lying from the top left to the bottom
// right, five yellow pins with olive shading along each long side and a grey cross-in-circle mark
// near its upper end.
QImage DrawIcon16Colours();

// The same chip drawn at the given size with smooth edges and full colour, for desktops.
QImage DrawIcon(int size);

// The same chip as an SVG document.
QByteArray IconSvg();

} // namespace zdawnik::tools
