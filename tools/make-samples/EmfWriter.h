#pragma once

#include <QColor>
#include <QPolygon>
#include <QSize>
#include <QString>

#include <memory>
#include <string>

namespace zdawnik {

// Writes an enhanced metafile with libuemf's record builders: filled polygons and Unicode text, in
// logical units of one pixel at 96 dpi.
class EmfWriter
{
public:
    EmfWriter(const std::string& path, QSize size);
    ~EmfWriter();
    EmfWriter(const EmfWriter&) = delete;
    EmfWriter& operator=(const EmfWriter&) = delete;

    void polygon(const QPolygon& points, QColor fill, QColor outline, int penWidth);
    // Text with its baseline starting at origin, in a font pixelHeight pixels high (em size).
    void text(QPoint origin, const QString& text, int pixelHeight, QColor colour, const QString& face,
              bool bold);
    // Ends the file and writes it; false when it could not be written.
    bool finish();

private:
    struct Records;
    std::unique_ptr<Records> m_records;
    QSize m_size;
};

} // namespace zdawnik
