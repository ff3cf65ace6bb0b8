#pragma once

#include "devtools/make-samples/MetafileWriter.h"

#include <QSize>

#include <memory>
#include <string>

namespace zdawnik {

// Writes an enhanced metafile with libuemf's record builders: filled polygons and Unicode text, in
// logical units of one pixel at 96 dpi.
class EmfWriter final : public MetafileWriter
{
public:
    EmfWriter(const std::string& path, QSize size);
    ~EmfWriter() override;
    EmfWriter(const EmfWriter&) = delete;
    EmfWriter& operator=(const EmfWriter&) = delete;

    void polygon(const QPolygon& points, QColor fill, QColor outline, int penWidth) override;
    void text(QPoint origin, const QString& text, int pixelHeight, QColor colour, const QString& face,
              bool bold) override;
    bool finish() override;

private:
    struct Records;
    std::unique_ptr<Records> m_records;
    QSize m_size;
};

} // namespace zdawnik
