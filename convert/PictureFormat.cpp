#include "convert/PictureFormat.h"

#include "bank/PictureName.h"

namespace zdawnik {

QString SniffPictureFormat(const QByteArray& bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return QStringLiteral("png");
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("jpg");
    if (bytes.startsWith("BM"))
        return QStringLiteral("bmp");
    if (bytes.startsWith(QByteArray("\0\0\1\0", 4)))
        return QStringLiteral("ico");
    if (bytes.startsWith(QByteArray("\1\0\0\0", 4)) && bytes.mid(40, 4) == " EMF")
        return QStringLiteral("emf");
    // A placeable metafile's key, or the header of a bare one: its type (memory or disk) and size.
    if (bytes.startsWith("\xD7\xCD\xC6\x9A") || bytes.startsWith(QByteArray("\1\0\x09\0", 4)) ||
        bytes.startsWith(QByteArray("\2\0\x09\0", 4)))
        return QStringLiteral("wmf");
    if (bytes.startsWith("GIF8"))
        return QStringLiteral("gif");
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return QStringLiteral("webp");
    if (bytes.startsWith(QByteArray("II*\0", 4)) || bytes.startsWith(QByteArray("MM\0*", 4)))
        return QStringLiteral("tif");
    if (bytes.left(1024).contains("<svg"))
        return QStringLiteral("svg");
    return {};
}

bool IsShownPictureFormat(const QString& format)
{
    return IsPictureExtension(format.toStdString());
}

} // namespace zdawnik
