#include "devtools/make-samples/WmfWriter.h"

#include <QFont>
#include <QFontMetrics>
#include <QStringEncoder>

#include <cstdlib>
#include <uwmf.h>
#include <vector>

namespace zdawnik {

namespace {

constexpr unsigned LogicalUnitsPerInch = 96;

U_COLORREF Colour(QColor colour)
{
    return colorref3_set(uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue()));
}

U_POINT16 Point(int x, int y)
{
    return point16_set(int16_t(x), int16_t(y));
}

} // namespace

struct WmfWriter::Records
{
    WMFTRACK* track = nullptr;
    WMFHANDLES* handles = nullptr;
    bool failed = false;

    void append(char* record)
    {
        if (!record || wmf_append(reinterpret_cast<U_METARECORD*>(record), track, 1) != 0)
            failed = true;
    }
};

WmfWriter::WmfWriter(const std::string& path, QSize size)
    : m_records(std::make_unique<Records>()), m_size(size)
{
    if (wmf_start(path.c_str(), 1 << 20, 1 << 18, &m_records->track) != 0 ||
        wmf_htable_create(128, 128, &m_records->handles) != 0) {
        m_records->failed = true;
        return;
    }
    // The placeable header gives the picture's size in inches; at 96 logical units to the inch a
    // unit is a pixel of a 96 dpi screen.
    U_PAIRF* inches =
        U_PAIRF_set(float(size.width()) / LogicalUnitsPerInch, float(size.height()) / LogicalUnitsPerInch);
    char* header = U_WMRHEADER_set(inches, LogicalUnitsPerInch);
    std::free(inches);
    if (!header || wmf_header_append(reinterpret_cast<U_METARECORD*>(header), m_records->track, 1) != 0) {
        m_records->failed = true;
        return;
    }
    m_records->append(U_WMRSETWINDOWORG_set(Point(0, 0)));
    m_records->append(U_WMRSETWINDOWEXT_set(Point(size.width(), size.height())));
    m_records->append(U_WMRSETBKMODE_set(U_TRANSPARENT));
}

WmfWriter::~WmfWriter()
{
    if (m_records->track)
        wmf_free(&m_records->track);
    if (m_records->handles)
        wmf_htable_free(&m_records->handles);
}

void WmfWriter::polygon(const QPolygon& points, QColor fill, QColor outline, int penWidth)
{
    if (m_records->failed || points.size() < 3)
        return;
    uint32_t pen = 0;
    uint32_t brush = 0;
    const uint16_t penStyle = penWidth > 0 ? U_PS_SOLID : U_PS_NULL;
    m_records->append(wcreatepenindirect_set(
        &pen, m_records->handles, U_PEN_set(penStyle, uint16_t(std::max(penWidth, 1)), Colour(outline))));
    m_records->append(wselectobject_set(pen, m_records->handles));
    m_records->append(
        wcreatebrushindirect_set(&brush, m_records->handles, U_WLOGBRUSH_set(U_BS_SOLID, Colour(fill), 0)));
    m_records->append(wselectobject_set(brush, m_records->handles));

    std::vector<U_POINT16> corners;
    for (const QPoint& point : points)
        corners.push_back(Point(point.x(), point.y()));
    m_records->append(U_WMRPOLYGON_set(uint16_t(corners.size()), corners.data()));

    m_records->append(wdeleteobject_set(&pen, m_records->handles));
    m_records->append(wdeleteobject_set(&brush, m_records->handles));
}

void WmfWriter::text(QPoint origin, const QString& text, int pixelHeight, QColor colour, const QString& face,
                     bool bold)
{
    if (m_records->failed || text.isEmpty())
        return;
    QStringEncoder encoder("windows-1250");
    const QByteArray bytes = encoder.encode(text);
    const QByteArray faceName = face.toLatin1();
    if (!encoder.isValid() || encoder.hasError()) {
        m_records->failed = true;
        return;
    }
    U_FONT* font =
        U_FONT_set(int16_t(-pixelHeight), 0, 0, 0, int16_t(bold ? U_FW_BOLD : U_FW_NORMAL), 0, 0, 0,
                   U_EASTEUROPE_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY,
                   U_DEFAULT_PITCH | U_FF_SWISS, const_cast<char*>(faceName.constData()));
    uint32_t handle = 0;
    m_records->append(wcreatefontindirect_set(&handle, m_records->handles, font));
    std::free(font);
    m_records->append(wselectobject_set(handle, m_records->handles));
    m_records->append(U_WMRSETTEXTCOLOR_set(Colour(colour)));
    m_records->append(U_WMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_LEFT));

    // The spacing of the letters, as a reader without the font would need it.
    QFont metricsFont(face);
    metricsFont.setPixelSize(pixelHeight);
    metricsFont.setBold(bold);
    const QFontMetrics metrics(metricsFont);
    std::vector<int16_t> advances;
    for (const QChar c : text)
        advances.push_back(int16_t(metrics.horizontalAdvance(c)));
    m_records->append(U_WMREXTTEXTOUT_set(Point(origin.x(), origin.y()), int16_t(bytes.size()), 0,
                                          bytes.constData(), advances.data(), U_RECT16{}));
    m_records->append(wdeleteobject_set(&handle, m_records->handles));
}

bool WmfWriter::finish()
{
    if (m_records->failed)
        return false;
    m_records->append(U_WMREOF_set());
    return !m_records->failed && wmf_finish(m_records->track) == 0;
}

} // namespace zdawnik
