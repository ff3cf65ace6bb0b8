#pragma once

#include "devtools/make-samples/MetafileWriter.h"

#include <QSize>

#include <memory>
#include <string>

namespace zdawnik {

// Writes a placeable Windows metafile with libuemf's record builders: filled polygons and text in a
// Central European font (Windows-1250 bytes, EASTEUROPE_CHARSET), in logical units of one pixel at
// 96 dpi.
class WmfWriter final : public MetafileWriter
{
public:
    WmfWriter(const std::string& path, QSize size);
    ~WmfWriter() override;
    WmfWriter(const WmfWriter&) = delete;
    WmfWriter& operator=(const WmfWriter&) = delete;

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
