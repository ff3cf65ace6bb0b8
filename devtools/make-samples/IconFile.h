#pragma once

#include <QByteArray>
#include <QList>

class QImage;

namespace zdawnik {

// An icon file (.ico) holding the given images, each stored as a 32-bit bitmap with its alpha and
// the one-bit mask that readers without alpha use. Sides up to 256 pixels; width and height may
// differ.
QByteArray EncodeIcon(const QList<QImage>& images);

} // namespace zdawnik
