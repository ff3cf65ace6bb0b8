#include "pictures/metafile/EmfRenderer.h"

#include "pictures/PictureLimits.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <emf2svg.h>
#include <memory>
#include <uemf.h>
#include <uemf_safe.h>

// libemf2svg shuts fontconfig down after each text record it converts, freeing what Qt, which draws
// the text of the helper's next picture (and of this one's SVG), still holds. This definition stands
// in for fontconfig's own and keeps it up for as long as the process lives.
extern "C" void FcFini(void) {}

namespace zdawnik {

namespace {

// libemf2svg reads the type and size of a record, and a few fields after some records, before it
// checks them against the end of the buffer; zeros past the end keep those reads inside memory of
// ours and harmless.
constexpr qsizetype Padding = 4096;

constexpr double HundredthsOfMillimetrePerInch = 2540.0;
constexpr double PixelsPerInch = 96.0;

PictureResult Damaged(const char* why)
{
    return PictureResult::Failure(QStringLiteral("Damaged EMF file: %1").arg(QLatin1String(why)));
}

double Width(const U_RECTL& rect)
{
    return double(rect.right) - double(rect.left);
}

double Height(const U_RECTL& rect)
{
    return double(rect.bottom) - double(rect.top);
}

// Walks the records from the header to the end-of-file record, checking each with libuemf, and
// returns the header. The walk is what makes the file safe to hand over: every record lies inside
// the data, and no count or offset inside a record points outside it.
PictureResult WalkRecords(const char* records, qsizetype length, U_EMRHEADER& header)
{
    qsizetype offset = 0;
    for (;;) {
        if (length - offset < qsizetype(sizeof(U_EMR)))
            return Damaged("it is cut short");
        U_EMR record;
        std::memcpy(&record, records + offset, sizeof record);
        if (offset == 0 && record.iType != U_EMR_HEADER)
            return PictureResult::Failure(QStringLiteral("Not an EMF file"));
        if (record.nSize < sizeof(U_EMR) || record.nSize % 4 != 0)
            return Damaged("a record has an impossible size");
        if (qsizetype(record.nSize) > length - offset)
            return Damaged("it is cut short");
        if (offset == 0) {
            if (record.nSize < U_SIZE_EMRHEADER_MIN)
                return PictureResult::Failure(QStringLiteral("Not an EMF file"));
            header = U_EMRHEADER{};
            std::memcpy(&header, records, qMin<std::size_t>(record.nSize, sizeof header));
            if (header.dSignature != U_ENHMETA_SIGNATURE)
                return PictureResult::Failure(QStringLiteral("Not an EMF file"));
        } else if (record.iType == U_EMR_HEADER) {
            return Damaged("it has a second header");
        }
        if (!U_emf_record_safe(records + offset))
            return Damaged("a record points outside itself");
        if (record.iType == U_EMR_EOF)
            return {};
        offset += record.nSize;
    }
}

} // namespace

PictureResult RenderEmf(const QByteArray& data)
{
    QByteArray padded(data.size() + Padding, '\0');
    std::memcpy(padded.data(), data.constData(), std::size_t(data.size()));

    U_EMRHEADER header{};
    PictureResult walked = WalkRecords(padded.constData(), data.size(), header);
    if (!walked.ok())
        return walked;

    // The frame, in hundredths of a millimetre, is the picture's size on paper: at 96 dpi that is
    // its natural size on screen. Some writers leave it empty; the bounds, in the recording
    // device's pixels, stand in then.
    double width = Width(header.rclFrame) / HundredthsOfMillimetrePerInch * PixelsPerInch;
    double height = Height(header.rclFrame) / HundredthsOfMillimetrePerInch * PixelsPerInch;
    if (width <= 0 || height <= 0) {
        width = Width(header.rclBounds) + 1;
        height = Height(header.rclBounds) + 1;
    }
    const QSize wanted = picture_limits::FitMetafileSize(width, height);
    if (wanted.isEmpty())
        return Damaged("its picture has no size");
    // libemf2svg maps the bounds, the box around what is drawn, onto the picture and divides by
    // their size. A file that draws nothing has empty bounds; the frame stands in for them.
    if (Width(header.rclBounds) <= 0 || Height(header.rclBounds) <= 0) {
        U_RECTL bounds{0, 0, qMax(1, wanted.width() - 1), qMax(1, wanted.height() - 1)};
        std::memcpy(padded.data() + offsetof(U_EMRHEADER, rclBounds), &bounds, sizeof bounds);
    }

    generatorOptions options{};
    options.nameSpace = nullptr;
    options.verbose = false;
    // EMF+ records are left to the plain records every EMF+ file also carries: libemf2svg draws
    // nothing more from them for the files tried, and it would be one more parser of untrusted data.
    options.emfplus = false;
    options.svgDelimiter = true;
    options.imgWidth = wanted.width();
    options.imgHeight = wanted.height();
    char* svgText = nullptr;
    std::size_t svgLength = 0;
    const int converted = emf2svg(padded.data(), std::size_t(data.size()), &svgText, &svgLength, &options);
    const std::unique_ptr<char, decltype(&std::free)> owned(svgText, &std::free);
    if (!converted || !svgText || svgLength == 0)
        return Damaged("its records cannot be drawn");

    QSvgRenderer renderer(QByteArray::fromRawData(svgText, qsizetype(svgLength)));
    if (!renderer.isValid())
        return Damaged("its records cannot be drawn");
    // libemf2svg keeps the bounds' proportions inside the size asked for, so a drawing smaller than
    // its frame comes out smaller. It also cuts its size to whole pixels, and the bounds are
    // inclusive, so a picture whose drawing fills its frame lands a pixel short: that is the frame's
    // size all the same.
    const QSize drawn = renderer.defaultSize();
    QSize size = drawn.isEmpty() ? wanted : picture_limits::FitMetafileSize(drawn.width(), drawn.height());
    if (qAbs(size.width() - wanted.width()) <= 1 && qAbs(size.height() - wanted.height()) <= 1)
        size = wanted;
    if (size.isEmpty())
        return Damaged("its picture has no size");

    PictureResult result;
    result.image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    if (result.image.isNull())
        return PictureResult::Failure(QStringLiteral("Not enough memory for the picture"));
    result.image.fill(Qt::transparent);
    QPainter painter(&result.image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return result;
}

} // namespace zdawnik
