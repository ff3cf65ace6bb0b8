#pragma once

#include <QByteArray>
#include <QImage>

namespace zdawnik::tools {

// A baseline JFIF 1.01 file of three YCbCr components, the colour channels subsampled 2 x 2,
// carrying the given density in dots per inch.
QByteArray EncodeJpeg(const QImage& image, int quality, int dotsPerInch);

} // namespace zdawnik::tools
