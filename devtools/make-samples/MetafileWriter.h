#pragma once

#include <QColor>
#include <QPolygon>
#include <QString>

namespace zdawnik {

// A metafile being written, in logical units of one pixel at 96 dpi: what the sample pictures and
// the tests draw, whichever of the two formats they write.
class MetafileWriter
{
public:
    virtual ~MetafileWriter() = default;

    virtual void polygon(const QPolygon& points, QColor fill, QColor outline, int penWidth) = 0;
    // Text with its baseline starting at origin, in a font pixelHeight pixels high (em size).
    virtual void text(QPoint origin, const QString& text, int pixelHeight, QColor colour, const QString& face,
                      bool bold) = 0;
    // Ends the file and writes it; false when it could not be written.
    virtual bool finish() = 0;
};

} // namespace zdawnik
