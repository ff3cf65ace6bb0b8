#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace zdawnik {

// A picture loaded from a file, or the reason it could not be.
struct PictureResult
{
    // What is kept of the picture: all of it, or the part its place shows (see VisiblePart).
    // Metafiles come with a transparent ground. A picture none of whose pixels is transparent comes
    // without an alpha channel.
    QImage image;
    QSize naturalSize;   // the size the picture is shown at (a metafile's within the metafile bounds)
    bool bitmap = false; // true for BMP pictures: the window may key out their bottom-left colour
    QString error;       // empty on success; otherwise a short reason a bank author understands
    bool ok() const { return error.isEmpty(); }

    static PictureResult Failure(const QString& reason)
    {
        PictureResult result;
        result.error = reason;
        return result;
    }
};

} // namespace zdawnik
