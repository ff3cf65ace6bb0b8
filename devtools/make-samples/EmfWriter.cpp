#include "devtools/make-samples/EmfWriter.h"

#include <QFont>
#include <QFontMetrics>

#include <algorithm>
#include <cstdlib>
#include <uemf.h>
#include <vector>

namespace zdawnik {

namespace {

constexpr double PixelsPerInch = 96.0;
constexpr double HundredthsOfMillimetrePerInch = 2540.0;

U_COLORREF Colour(QColor colour)
{
    return colorref3_set(uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue()));
}

// A face name or style as the UTF-16 a LOGFONTW holds, zero-terminated within its field.
std::vector<uint16_t> Utf16(const QString& text, std::size_t field)
{
    std::vector<uint16_t> units(field, 0);
    const std::size_t count = std::min<std::size_t>(std::size_t(text.size()), field - 1);
    for (std::size_t i = 0; i < count; ++i)
        units[i] = text.at(qsizetype(i)).unicode();
    return units;
}

} // namespace

struct EmfWriter::Records
{
    EMFTRACK* track = nullptr;
    EMFHANDLES* handles = nullptr;
    bool failed = false;

    void append(char* record)
    {
        if (!record || emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), track, 1) != 0)
            failed = true;
    }
};

EmfWriter::EmfWriter(const std::string& path, QSize size)
    : m_records(std::make_unique<Records>()), m_size(size)
{
    if (emf_start(path.c_str(), 1 << 20, 1 << 18, &m_records->track) != 0 ||
        htable_create(128, 128, &m_records->handles) != 0) {
        m_records->failed = true;
        return;
    }
    // A screen of 96 dpi as the reference device, and a frame of the picture's size at that
    // resolution: the frame is what readers take for the picture's natural size.
    const U_RECTL bounds = rectl_set(pointl_set(0, 0), pointl_set(size.width() - 1, size.height() - 1));
    const U_RECTL frame = rectl_set(
        pointl_set(0, 0), pointl_set(int32_t(size.width() * HundredthsOfMillimetrePerInch / PixelsPerInch),
                                     int32_t(size.height() * HundredthsOfMillimetrePerInch / PixelsPerInch)));
    const U_SIZEL device = sizel_set(1024, 768);
    const U_SIZEL millimetres =
        sizel_set(int32_t(1024 * 25.4 / PixelsPerInch), int32_t(768 * 25.4 / PixelsPerInch));
    m_records->append(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, device, millimetres, 0));
    m_records->append(U_EMRSETBKMODE_set(U_TRANSPARENT));
}

EmfWriter::~EmfWriter()
{
    if (m_records->track)
        emf_free(&m_records->track);
    if (m_records->handles)
        htable_free(&m_records->handles);
}

void EmfWriter::polygon(const QPolygon& points, QColor fill, QColor outline, int penWidth)
{
    if (m_records->failed || points.size() < 3)
        return;
    uint32_t pen = 0;
    uint32_t brush = 0;
    const uint32_t penStyle = penWidth > 0 ? U_PS_SOLID | U_PS_GEOMETRIC | U_PS_JOIN_ROUND : U_PS_NULL;
    m_records->append(
        createpen_set(&pen, m_records->handles,
                      logpen_set(penStyle, pointl_set(std::max(penWidth, 1), 0), Colour(outline))));
    m_records->append(selectobject_set(pen, m_records->handles));
    m_records->append(
        createbrushindirect_set(&brush, m_records->handles, logbrush_set(U_BS_SOLID, Colour(fill), 0)));
    m_records->append(selectobject_set(brush, m_records->handles));

    std::vector<U_POINTL> corners;
    for (const QPoint& point : points)
        corners.push_back(pointl_set(point.x(), point.y()));
    const QRect box = points.boundingRect();
    const U_RECTL bounds =
        rectl_set(pointl_set(box.left(), box.top()), pointl_set(box.right(), box.bottom()));
    m_records->append(U_EMRPOLYGON_set(bounds, uint32_t(corners.size()), corners.data()));

    m_records->append(U_EMRSELECTOBJECT_set(U_NULL_PEN));
    m_records->append(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
    m_records->append(deleteobject_set(&pen, m_records->handles));
    m_records->append(deleteobject_set(&brush, m_records->handles));
}

void EmfWriter::text(QPoint origin, const QString& text, int pixelHeight, QColor colour, const QString& face,
                     bool bold)
{
    if (m_records->failed || text.isEmpty())
        return;
    std::vector<uint16_t> faceName = Utf16(face, U_LF_FACESIZE);
    std::vector<uint16_t> fullName = Utf16(face, U_LF_FULLFACESIZE);
    std::vector<uint16_t> style =
        Utf16(bold ? QStringLiteral("Bold") : QStringLiteral("Regular"), U_LF_FACESIZE);
    const int weight = bold ? U_FW_BOLD : U_FW_NORMAL;
    const U_LOGFONT logFont =
        logfont_set(-pixelHeight, 0, 0, 0, weight, 0, 0, 0, U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS,
                    U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH | U_FF_SWISS, faceName.data());
    const U_LOGFONT_PANOSE font = logfont_panose_set(logFont, fullName.data(), style.data(), 0,
                                                     panose_set(0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    uint32_t handle = 0;
    m_records->append(extcreatefontindirectw_set(&handle, m_records->handles,
                                                 reinterpret_cast<const char*>(&font), nullptr));
    m_records->append(selectobject_set(handle, m_records->handles));
    m_records->append(U_EMRSETTEXTCOLOR_set(Colour(colour)));
    m_records->append(U_EMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_LEFT));

    // The spacing of the letters, as a reader without the font would need it.
    QFont metricsFont(face);
    metricsFont.setPixelSize(pixelHeight);
    metricsFont.setBold(bold);
    const QFontMetrics metrics(metricsFont);
    std::vector<uint16_t> units(text.utf16(), text.utf16() + text.size());
    std::vector<uint32_t> advances;
    for (const QChar c : text)
        advances.push_back(uint32_t(metrics.horizontalAdvance(c)));
    const int width = metrics.horizontalAdvance(text);
    const U_RECTL box = rectl_set(pointl_set(origin.x(), origin.y() - metrics.ascent()),
                                  pointl_set(origin.x() + width, origin.y() + metrics.descent()));
    char* run = emrtext_set(pointl_set(origin.x(), origin.y()), uint32_t(units.size()), 2, units.data(),
                            U_ETO_NONE, rectl_set(pointl_set(0, 0), pointl_set(-1, -1)), advances.data());
    if (!run) {
        m_records->failed = true;
        return;
    }
    m_records->append(
        U_EMREXTTEXTOUTW_set(box, U_GM_COMPATIBLE, 1.0f, 1.0f, reinterpret_cast<PU_EMRTEXT>(run)));
    std::free(run);

    m_records->append(U_EMRSELECTOBJECT_set(U_DEVICE_DEFAULT_FONT));
    m_records->append(deleteobject_set(&handle, m_records->handles));
}

bool EmfWriter::finish()
{
    if (m_records->failed)
        return false;
    m_records->append(U_EMREOF_set(0, nullptr, m_records->track));
    return !m_records->failed && emf_finish(m_records->track, m_records->handles) == 0;
}

} // namespace zdawnik
