#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <filesystem>

namespace zdawnik {

// A picture loaded from a file, or the reason it could not be.
struct PictureResult
{
    QImage image;        // natural size; metafiles as ARGB with a transparent ground
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

// Loads the file at path, the format chosen by the extension after the last dot of its name without
// regard to case: bmp, ico, emf, wmf, png, jpg, jpeg. Any other extension, no extension, a missing
// file, a directory and a damaged file give an error. The name is used as the system's bytes; it is
// never converted to text and back.
PictureResult LoadPicture(const std::filesystem::path& path);

// Decodes bytes as the format of the given extension ("png", "JPG", ...). LoadPicture reads the file
// and comes here; fuzzers and tests call it directly. Raster formats are decoded in this process;
// metafiles are drawn by the zdawnik-metafile helper beside the program, so that a crash or a hang
// of the metafile libraries costs only that picture.
PictureResult DecodePicture(const QByteArray& data, const QString& extension);

} // namespace zdawnik
