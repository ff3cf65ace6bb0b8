#pragma once

#include <QByteArray>
#include <QString>

namespace zdawnik {

// The format of a picture by its first bytes, as the extension that names it: "png", "jpg", "bmp",
// "ico", "emf", "wmf", or one the program does not show ("gif", "webp", "tif", "svg"); empty when
// the bytes are none of these.
QString SniffPictureFormat(const QByteArray& bytes);

// Whether the program shows pictures of that format.
bool IsShownPictureFormat(const QString& format);

} // namespace zdawnik
