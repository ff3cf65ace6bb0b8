#include "pictures/metafile/WmfRenderer.h"

#include "pictures/PictureLimits.h"
#include "pictures/RasterIntegrity.h"
#include "pictures/metafile/MetafileText.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>

// libwmf's headers define short macros (U16, OPAQUE, BS_SOLID, ...), so they come after Qt's.
#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>

namespace zdawnik {

namespace {

// Text is measured and drawn with fonts of this em size and scaled to the size the metafile asks
// for: metrics then grow in proportion, which the player's layout of text (done with widths we
// report) relies on.
constexpr double ReferencePixels = 256.0;

// The picture being drawn: the device layer's own data, reached from the player's callbacks.
struct Canvas
{
    QImage image;
    std::unique_ptr<QPainter> painter;
    QRectF bounds;       // the player's box around what is drawn, in its device coordinates
    bool placed = false; // whether the mapping below has been settled
    QTransform toImage;  // the player's device coordinates to the image's pixels
    double scaleX = 1;
    double scaleY = 1;
    void* newestContext = nullptr; // the last block the player took that may be a device context
};

Canvas& CanvasOf(wmfAPI* api)
{
    return *static_cast<Canvas*>(api->device_data);
}

// Where the frame of a placeable file lies in the player's device coordinates: the header gives
// it in logical units, and a device context tells how logical units become device ones (the player
// keeps the sign of a flipped axis out of the pixel size in its fixed mapping modes). Empty when
// the file has no frame.
QRectF PlaceableFrame(wmfAPI* api, const wmfDC* dc)
{
    if (!api->File || !api->File->placeable || !api->File->pmh)
        return {};
    const wmfPlaceableMetaHeader& header = *api->File->pmh;
    constexpr U16 Isotropic = 7;
    constexpr U16 Anisotropic = 8;
    double pixelWidth = dc->pixel_width;
    double pixelHeight = dc->pixel_height;
    if (dc->map_mode != Isotropic && dc->map_mode != Anisotropic) {
        if (dc->Window.width < 0)
            pixelWidth = -pixelWidth;
        if (dc->Window.height < 0)
            pixelHeight = -pixelHeight;
    }
    const QRectF frame = QRectF(QPointF((header.Left - dc->Window.Ox) * pixelWidth,
                                        (header.Top - dc->Window.Oy) * pixelHeight),
                                QPointF((header.Right - dc->Window.Ox) * pixelWidth,
                                        (header.Bottom - dc->Window.Oy) * pixelHeight))
                             .normalized();
    if (!std::isfinite(frame.width()) || !std::isfinite(frame.height()) || !(frame.width() > 0) ||
        !(frame.height() > 0))
        return {};
    return frame;
}

double Area(const QRectF& rect)
{
    return rect.isEmpty() ? 0.0 : rect.width() * rect.height();
}

// Settles how the player's device coordinates map onto the picture, at the first thing drawn: only
// then is a device context at hand. A placeable file's frame is the picture, as Windows shows it:
// what lies outside is cut off, margins inside are kept. Without a frame (or with one that misses
// the drawing, when the file maps its coordinates in a way this cannot follow) the player's box
// around the drawing is scaled evenly to fit the picture and centred. That box is only a guess (it
// pads lines by half their width and text by a rough extent), so it is not stretched to fill.
void Place(wmfAPI* api, const wmfDC* dc)
{
    Canvas& canvas = CanvasOf(api);
    if (canvas.placed)
        return;
    canvas.placed = true;
    const QSizeF size = canvas.image.size();
    const QRectF frame = dc ? PlaceableFrame(api, dc) : QRectF();
    if (!frame.isEmpty() && Area(frame.intersected(canvas.bounds)) >= Area(canvas.bounds) / 2) {
        canvas.scaleX = size.width() / frame.width();
        canvas.scaleY = size.height() / frame.height();
        canvas.toImage = QTransform(canvas.scaleX, 0, 0, canvas.scaleY, -frame.left() * canvas.scaleX,
                                    -frame.top() * canvas.scaleY);
    } else {
        const double scale =
            qMin(size.width() / canvas.bounds.width(), size.height() / canvas.bounds.height());
        canvas.scaleX = scale;
        canvas.scaleY = scale;
        canvas.toImage =
            QTransform(scale, 0, 0, scale,
                       (size.width() - canvas.bounds.width() * scale) / 2 - canvas.bounds.left() * scale,
                       (size.height() - canvas.bounds.height() * scale) / 2 - canvas.bounds.top() * scale);
    }
    canvas.painter->setWorldTransform(canvas.toImage);
}

// The painter, when a picture is being drawn and, for drawing, the current raster operation leaves
// marks.
QPainter* PainterFor(wmfAPI* api, const wmfDC* dc, bool drawing = true)
{
    Canvas& canvas = CanvasOf(api);
    if (!canvas.painter || !canvas.painter->isActive())
        return nullptr;
    Place(api, dc);
    if (drawing && dc && dc->ROPmode == R2_NOP)
        return nullptr;
    return canvas.painter.get();
}

QColor Color(const wmfRGB& rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

QPointF Point(const wmfD_Coord& coord)
{
    return QPointF(coord.x, coord.y);
}

std::uint32_t Little32(const unsigned char* p)
{
    return std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

std::uint16_t Little16(const unsigned char* p)
{
    return std::uint16_t(p[1] << 8 | p[0]);
}

// --- Pens and brushes ---------------------------------------------------------------------------

QPen PenOf(const Canvas& canvas, const wmfDC* dc)
{
    const wmfPen* pen = dc->pen;
    if (!pen)
        return Qt::NoPen;
    const unsigned style = pen->lopnStyle & PS_STYLE_MASK;
    if (style == PS_NULL)
        return Qt::NoPen;
    QPen result(Color(pen->lopnColor));
    const double width = (pen->width + pen->height) / 2;
    // Windows draws every pen at least one device pixel wide.
    if (!std::isfinite(width) || width * (canvas.scaleX + canvas.scaleY) / 2 <= 1.0) {
        result.setCosmetic(true);
        result.setWidthF(1.0);
    } else {
        result.setWidthF(width);
    }
    switch (style) {
    case PS_DASH:
        result.setStyle(Qt::DashLine);
        break;
    case PS_DOT:
    case PS_ALTERNATE:
        result.setStyle(Qt::DotLine);
        break;
    case PS_DASHDOT:
        result.setStyle(Qt::DashDotLine);
        break;
    case PS_DASHDOTDOT:
        result.setStyle(Qt::DashDotDotLine);
        break;
    default:
        result.setStyle(Qt::SolidLine);
        break;
    }
    switch (pen->lopnStyle & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE:
        result.setCapStyle(Qt::SquareCap);
        break;
    case PS_ENDCAP_FLAT:
        result.setCapStyle(Qt::FlatCap);
        break;
    default:
        result.setCapStyle(Qt::RoundCap);
        break;
    }
    switch (pen->lopnStyle & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL:
        result.setJoinStyle(Qt::BevelJoin);
        break;
    case PS_JOIN_MITER:
        result.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        result.setJoinStyle(Qt::RoundJoin);
        break;
    }
    return result;
}

bool IsHatched(const wmfDC* dc)
{
    return dc->brush && dc->brush->lbStyle == BS_HATCHED;
}

QBrush BrushOf(const Canvas& canvas, const wmfDC* dc)
{
    const wmfBrush* brush = dc->brush;
    if (!brush || brush->lbStyle == BS_NULL)
        return Qt::NoBrush;
    QBrush result(Color(brush->lbColor));
    if (brush->lbStyle == BS_HATCHED) {
        switch (brush->lbHatch) {
        case HS_HORIZONTAL:
            result.setStyle(Qt::HorPattern);
            break;
        case HS_VERTICAL:
            result.setStyle(Qt::VerPattern);
            break;
        case HS_FDIAGONAL:
            result.setStyle(Qt::FDiagPattern);
            break;
        case HS_BDIAGONAL:
            result.setStyle(Qt::BDiagPattern);
            break;
        case HS_CROSS:
            result.setStyle(Qt::CrossPattern);
            break;
        default:
            result.setStyle(Qt::DiagCrossPattern);
            break;
        }
    } else if (brush->lbStyle != BS_SOLID && brush->bmp.data) {
        result.setTextureImage(*static_cast<const QImage*>(brush->bmp.data));
    }
    // Patterns repeat in screen pixels, whatever the drawing's scale.
    if (result.style() != Qt::SolidPattern)
        result.setTransform(QTransform::fromScale(1 / canvas.scaleX, 1 / canvas.scaleY));
    return result;
}

Qt::FillRule FillRuleOf(const wmfDC* dc)
{
    return dc->polyfillmode == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
}

// Fills a shape with the current brush and outlines it with the current pen, as GDI does.
void Paint(wmfAPI* api, const wmfDC* dc, QPainterPath path, bool fill, bool stroke)
{
    QPainter* painter = PainterFor(api, dc);
    if (!painter)
        return;
    const Canvas& canvas = CanvasOf(api);
    if (fill) {
        const QBrush brush = BrushOf(canvas, dc);
        if (brush.style() != Qt::NoBrush) {
            path.setFillRule(FillRuleOf(dc));
            if (IsHatched(dc) && dc->bgmode == OPAQUE)
                painter->fillPath(path, Color(dc->bgcolor));
            painter->fillPath(path, brush);
        }
    }
    if (stroke) {
        const QPen pen = PenOf(canvas, dc);
        if (pen.style() != Qt::NoPen)
            painter->strokePath(path, pen);
    }
}

QPolygonF Polygon(const wmfD_Coord* points, unsigned count)
{
    QPolygonF polygon;
    polygon.reserve(int(count));
    for (unsigned i = 0; i < count; ++i)
        polygon.append(Point(points[i]));
    return polygon;
}

// --- Text ---------------------------------------------------------------------------------------

// The Qt font for a metafile font, at the reference size.
QFont FontOf(const wmfFont* font)
{
    const char* face = font->lfFaceName ? font->lfFaceName : "";
    QFont result(MetafileFontFamily(QByteArrayView(face, qsizetype(std::strlen(face))), font->lfCharSet));
    result.setPixelSize(int(ReferencePixels));
    const int weight = font->lfWeight == 0 ? 400 : qBound(1, int(font->lfWeight), 1000);
    result.setWeight(QFont::Weight(weight));
    result.setItalic(font->lfItalic != 0);
    result.setUnderline(font->lfUnderline != 0);
    result.setStrikeOut(font->lfStrikeOut != 0);
    // Unhinted outlines keep widths proportional to the size.
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

QString TextOf(const wmfFont* font, const char* bytes)
{
    return DecodeMetafileText(QByteArrayView(bytes, qsizetype(std::strlen(bytes))), font->lfCharSet);
}

// How much wider than the face's own proportions the metafile wants its letters: a font asks for
// an average character width, or none (the player then sets the width to the height).
double WidthFactor(const wmfFont* font, const QFontMetricsF& metrics)
{
    if (font->lfHeight == 0 || font->lfWidth == 0 || font->lfWidth == font->lfHeight)
        return 1.0;
    const double average = metrics.averageCharWidth() / ReferencePixels;
    if (!(average > 0))
        return 1.0;
    return qBound(0.25, double(font->lfWidth) / font->lfHeight / average, 4.0);
}

void MapFont(wmfAPI*, wmfFont*)
{
    // Fonts are looked up by Qt when text is drawn; the player needs no face of its own.
}

// The player lays text out with this: the width of the text for a one-unit font, which it then
// multiplies by the font's height and by its width-to-height ratio. Reporting the width the text
// will really be drawn at keeps centred and right-aligned text in place.
float StringWidth(wmfAPI*, wmfFont* font, char* text)
{
    if (!font || !text || font->lfHeight == 0)
        return 0;
    const QFontMetricsF metrics(FontOf(font));
    const double natural = metrics.horizontalAdvance(TextOf(font, text)) / ReferencePixels;
    const double ratio = double(font->lfWidth) / font->lfHeight;
    if (!(ratio > 0))
        return 0;
    return float(natural * WidthFactor(font, metrics) / ratio);
}

void DrawText(wmfAPI* api, wmfDrawText_t* text)
{
    QPainter* painter = PainterFor(api, text->dc, false); // ROP2 modes do not apply to text
    const wmfFont* font = text->dc ? text->dc->font : nullptr;
    if (!painter || !font || !text->str || !(text->font_height > 0) || !std::isfinite(text->font_height))
        return;
    const QString string = TextOf(font, text->str);
    if (string.isEmpty())
        return;
    const Canvas& canvas = CanvasOf(api);
    const QFont qfont = FontOf(font);
    const QFontMetricsF metrics(qfont);
    const double widthFactor = WidthFactor(font, metrics);
    const double em = text->font_height; // device units
    const double unit = em / ReferencePixels;

    // The player has placed the text by a rough guess; put the baseline where this font has it.
    const double escapement = font->lfEscapement / 10.0; // degrees, counter-clockwise
    const double theta = -escapement * std::numbers::pi / 180;
    const QPointF along(std::cos(theta), std::sin(theta));
    const QPointF down(-std::sin(theta), std::cos(theta));
    QPointF origin = Point(text->pt);
    const unsigned align = text->dc->textalign;
    if ((align & TA_BASELINE) == TA_BOTTOM) {
        origin -= down * (metrics.descent() * unit);
    } else if ((align & TA_BASELINE) == TA_TOP) {
        origin -= down * em; // the player's guess: a full em above the baseline
        origin += down * (metrics.ascent() * unit);
    }
    // The player takes right-aligned text for centred (it tests the alignment bits loosely). It
    // draws text with per-letter spacing one letter at a time, where the whole width is unknown
    // here, so only whole strings are moved the other half of their width.
    if ((align & TA_CENTER) == TA_RIGHT && string.size() > 1)
        origin -= along * (metrics.horizontalAdvance(string) * unit * widthFactor / 2);

    painter->save();
    // ETO_CLIPPED is left out on purpose: the box was measured for the writer's fonts, and ours,
    // however close, would have their edges cut off by it.
    if (text->flags & ETO_OPAQUE)
        painter->fillRect(QRectF(Point(text->TL), Point(text->BR)).normalized(), Color(text->dc->bgcolor));
    // Glyphs are drawn in image pixels, turned and stretched as the device coordinates are.
    painter->setWorldTransform(QTransform());
    painter->translate(canvas.toImage.map(origin));
    painter->scale(canvas.scaleX / canvas.scaleY, 1);
    painter->rotate(-escapement);
    const double size = unit * canvas.scaleY;
    painter->scale(size * widthFactor, size);
    if (text->dc->bgmode == OPAQUE)
        painter->fillRect(QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(string), metrics.height()),
                          Color(text->dc->bgcolor));
    painter->setFont(qfont);
    painter->setPen(Color(text->dc->textcolor));
    painter->drawText(QPointF(0, 0), string);
    painter->restore();
}

// --- Bitmaps ------------------------------------------------------------------------------------

// A device-independent bitmap from a record, read by Qt's BMP reader behind a file header made up
// for it, with the same checks as a BMP file gets.
QImage ReadDib(const unsigned char* dib, long length)
{
    if (!dib || length < 16)
        return {};
    const std::uint32_t headerSize = Little32(dib);
    std::uint64_t colours = 0;
    std::uint64_t colourBytes = 4;
    std::uint64_t masks = 0;
    if (headerSize == 12) {
        const unsigned depth = Little16(dib + 10);
        colours = depth <= 8 ? 1u << depth : 0;
        colourBytes = 3;
    } else if (headerSize >= 40 && length >= 40) {
        const unsigned depth = Little16(dib + 14);
        const std::uint32_t compression = Little32(dib + 16);
        const std::uint32_t used = Little32(dib + 32);
        colours = used ? used : (depth <= 8 ? 1u << depth : 0);
        if (headerSize == 40 && compression == 3)
            masks = 12;
        else if (headerSize == 40 && compression == 6)
            masks = 16;
    } else {
        return {};
    }
    const std::uint64_t pixelOffset = 14 + headerSize + masks + colours * colourBytes;
    if (pixelOffset > 14 + std::uint64_t(length))
        return {};
    QByteArray file;
    file.reserve(14 + length);
    const auto append32 = [&file](std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file.append(char(value >> (8 * i)));
    };
    file.append("BM", 2);
    append32(std::uint32_t(14 + length));
    append32(0);
    append32(std::uint32_t(pixelOffset));
    file.append(reinterpret_cast<const char*>(dib), qsizetype(length));
    if (!CheckBmpIntegrity(file).isEmpty())
        return {};
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QSize size = reader.size();
    if (!picture_limits::IsSaneSize(size) || qAbs(size.width()) > 0xFFFF || qAbs(size.height()) > 0xFFFF)
        return {};
    return reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void ReadBitmap(wmfAPI*, wmfBMP_Read_t* read)
{
    read->bmp.data = nullptr;
    QImage image = ReadDib(read->buffer, read->length);
    if (image.isNull())
        return;
    read->bmp.width = static_cast<U16>(image.width());
    read->bmp.height = static_cast<U16>(image.height());
    read->bmp.data = new QImage(std::move(image));
}

void FreeBitmap(wmfAPI*, wmfBMP* bitmap)
{
    delete static_cast<QImage*>(bitmap->data);
    bitmap->data = nullptr;
}

void DrawBitmap(wmfAPI* api, wmfBMP_Draw_t* draw)
{
    QPainter* painter = PainterFor(api, draw->dc, false); // nor to bitmaps
    const QImage* image = static_cast<const QImage*>(draw->bmp.data);
    if (!painter || !image)
        return;
    // The crop counts rows from the bottom, as a bitmap stored bottom-up does.
    const QRectF source(draw->crop.x, image->height() - draw->crop.y - draw->crop.h, draw->crop.w,
                        draw->crop.h);
    const QRectF target(Point(draw->pt),
                        QSizeF(draw->crop.w * draw->pixel_width, draw->crop.h * draw->pixel_height));
    painter->drawImage(target, *image, source);
}

// --- Shapes -------------------------------------------------------------------------------------

enum class ArcShape
{
    Open,
    Pie,
    Chord,
};

void DrawArc(wmfAPI* api, const wmfDrawArc_t* arc, ArcShape shape)
{
    const QRectF box = QRectF(Point(arc->TL), Point(arc->BR)).normalized();
    if (!(box.width() > 0) || !(box.height() > 0))
        return;
    const double rx = box.width() / 2;
    const double ry = box.height() / 2;
    // The player gives the ends of the arc relative to the centre. The angles Qt wants are those of
    // the points on an ellipse squeezed to a circle, counted counter-clockwise on screen.
    const auto angleOf = [&](const wmfD_Coord& end) {
        return std::atan2(-end.y / ry, end.x / rx) * 180 / std::numbers::pi;
    };
    const double start = angleOf(arc->start);
    double span = angleOf(arc->end) - start;
    while (span <= 0)
        span += 360;
    QPainterPath path;
    if (shape == ArcShape::Pie)
        path.moveTo(box.center());
    else
        path.arcMoveTo(box, start);
    path.arcTo(box, start, span);
    if (shape != ArcShape::Open)
        path.closeSubpath();
    Paint(api, arc->dc, path, shape != ArcShape::Open, true);
}

void DrawArcOpen(wmfAPI* api, wmfDrawArc_t* arc)
{
    DrawArc(api, arc, ArcShape::Open);
}

void DrawPie(wmfAPI* api, wmfDrawArc_t* arc)
{
    DrawArc(api, arc, ArcShape::Pie);
}

void DrawChord(wmfAPI* api, wmfDrawArc_t* arc)
{
    DrawArc(api, arc, ArcShape::Chord);
}

void DrawEllipse(wmfAPI* api, wmfDrawArc_t* arc)
{
    QPainterPath path;
    path.addEllipse(QRectF(Point(arc->TL), Point(arc->BR)).normalized());
    Paint(api, arc->dc, path, true, true);
}

void DrawLine(wmfAPI* api, wmfDrawLine_t* line)
{
    QPainterPath path(Point(line->from));
    path.lineTo(Point(line->to));
    Paint(api, line->dc, path, false, true);
}

void DrawPolyline(wmfAPI* api, wmfPolyLine_t* line)
{
    if (line->count < 2)
        return;
    QPainterPath path;
    path.addPolygon(Polygon(line->pt, line->count));
    Paint(api, line->dc, path, false, true);
}

void DrawPolygon(wmfAPI* api, wmfPolyLine_t* polygon)
{
    if (polygon->count < 2)
        return;
    QPainterPath path;
    path.addPolygon(Polygon(polygon->pt, polygon->count));
    path.closeSubpath();
    Paint(api, polygon->dc, path, true, true);
}

void DrawPolyPolygon(wmfAPI* api, wmfPolyPoly_t* polygons)
{
    QPainterPath path;
    for (unsigned i = 0; i < polygons->npoly; ++i) {
        if (polygons->count[i] < 2 || !polygons->pt[i])
            continue;
        path.addPolygon(Polygon(polygons->pt[i], polygons->count[i]));
        path.closeSubpath();
    }
    Paint(api, polygons->dc, path, true, true);
}

void DrawRectangle(wmfAPI* api, wmfDrawRectangle_t* rectangle)
{
    const QRectF box = QRectF(Point(rectangle->TL), Point(rectangle->BR)).normalized();
    QPainterPath path;
    if (rectangle->width > 0 || rectangle->height > 0)
        path.addRoundedRect(box, rectangle->width / 2, rectangle->height / 2);
    else
        path.addRect(box);
    Paint(api, rectangle->dc, path, true, true);
}

void DrawPixel(wmfAPI* api, wmfDrawPixel_t* pixel)
{
    if (QPainter* painter = PainterFor(api, pixel->dc))
        painter->fillRect(QRectF(Point(pixel->pt), QSizeF(pixel->pixel_width, pixel->pixel_height)),
                          Color(pixel->color));
}

void DrawRasterOperation(wmfAPI* api, wmfROP_Draw_t* operation)
{
    QPainter* painter = PainterFor(api, operation->dc);
    if (!painter)
        return;
    const QRectF box = QRectF(Point(operation->TL), Point(operation->BR)).normalized();
    // The raster operations that paint a rectangle by themselves; the rest combine with what is
    // already there, which a transparent ground has no sense for.
    constexpr U32 PatternCopy = 0x00F00021;
    constexpr U32 Blackness = 0x00000042;
    constexpr U32 Whiteness = 0x00FF0062;
    switch (operation->ROP) {
    case PatternCopy:
        painter->fillRect(box, BrushOf(CanvasOf(api), operation->dc));
        break;
    case Blackness:
        painter->fillRect(box, Qt::black);
        break;
    case Whiteness:
        painter->fillRect(box, Qt::white);
        break;
    default:
        break;
    }
}

QPainterPath RegionPath(const wmfPolyRectangle_t* region)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (unsigned i = 0; i < region->count; ++i)
        path.addRect(QRectF(Point(region->TL[i]), Point(region->BR[i])).normalized());
    return path;
}

void PaintRegion(wmfAPI* api, wmfPolyRectangle_t* region)
{
    QPainter* painter = PainterFor(api, region->dc);
    if (painter && region->count > 0)
        painter->fillPath(RegionPath(region), BrushOf(CanvasOf(api), region->dc));
}

void FrameRegion(wmfAPI* api, wmfPolyRectangle_t* region)
{
    QPainter* painter = PainterFor(api, region->dc);
    if (!painter)
        return;
    QPainterPath frame;
    frame.setFillRule(Qt::OddEvenFill);
    for (unsigned i = 0; i < region->count; ++i) {
        const QRectF box = QRectF(Point(region->TL[i]), Point(region->BR[i])).normalized();
        frame.addRect(box);
        frame.addRect(box.adjusted(region->width, region->height, -region->width, -region->height));
    }
    painter->fillPath(frame, BrushOf(CanvasOf(api), region->dc));
}

void ClipRegion(wmfAPI* api, wmfPolyRectangle_t* region)
{
    QPainter* painter = PainterFor(api, region->dc, false);
    if (!painter)
        return;
    if (region->count == 0)
        painter->setClipping(false);
    else
        painter->setClipPath(RegionPath(region));
}

// --- Device contexts ----------------------------------------------------------------------------

// The player takes all its memory through these, which lets the device layer find the device
// context that SaveDC creates (see CopyContext). They also refuse the player's requests that no
// real picture makes: a record of a few bytes can declare a parameter block of gigabytes, and the
// player asks for it before it finds that the file is shorter. Refused, the player stops with an
// error of its own and the picture counts as damaged.
constexpr std::size_t LargestPlayerBlock = std::size_t(256) << 20;

void* Allocate(void* context, std::size_t size)
{
    if (size > LargestPlayerBlock)
        return nullptr;
    void* memory = std::malloc(size);
    if (size == sizeof(wmfDC))
        static_cast<Canvas*>(context)->newestContext = memory;
    return memory;
}

void* Reallocate(void*, void* memory, std::size_t size)
{
    if (size > LargestPlayerBlock)
        return nullptr;
    return std::realloc(memory, size);
}

void Release(void*, void* memory)
{
    std::free(memory);
}

// SaveDC keeps the saved context for RestoreDC and goes on drawing with a copy of it. libwmf's copy
// takes the pen, brush, font, clipping and mapping but resets the text alignment, the colours, the
// background mode, the fill mode and the raster operation to their defaults, where GDI keeps them:
// text drawn between SaveDC and RestoreDC (LibreOffice wraps every shape so) lost its alignment and
// got an opaque white box. The player announces the copy here, just after making it, so the
// attributes are put back while nothing else has touched the copy yet.
void CopyContext(wmfAPI* api, wmfUserData_t* user)
{
    Canvas& canvas = CanvasOf(api);
    auto* copy = static_cast<wmfDC*>(canvas.newestContext);
    const wmfDC* saved = user->dc;
    canvas.newestContext = nullptr;
    // The newest block of that size is the copy when it already holds the saved context's objects.
    if (!copy || !saved || copy == saved || copy->brush != saved->brush || copy->pen != saved->pen ||
        copy->font != saved->font || copy->map_mode != saved->map_mode)
        return;
    copy->textcolor = saved->textcolor;
    copy->bgcolor = saved->bgcolor;
    copy->textalign = saved->textalign;
    copy->bgmode = saved->bgmode;
    copy->polyfillmode = saved->polyfillmode;
    copy->charextra = saved->charextra;
    copy->breakextra = saved->breakextra;
    copy->ROPmode = saved->ROPmode;
}

// --- The device -----------------------------------------------------------------------------

void BeginPicture(wmfAPI* api)
{
    Canvas& canvas = CanvasOf(api);
    canvas.painter = std::make_unique<QPainter>(&canvas.image);
    canvas.painter->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                                   QPainter::SmoothPixmapTransform);
}

void EndPicture(wmfAPI* api)
{
    Canvas& canvas = CanvasOf(api);
    if (canvas.painter)
        canvas.painter->end();
}

// The player calls this while it is created, to learn the device layer's functions.
void InstallDevice(wmfAPI* api)
{
    auto* functions = static_cast<wmfFunctionReference*>(api->function_reference);
    functions->device_begin = BeginPicture;
    functions->device_end = EndPicture;
    functions->draw_pixel = DrawPixel;
    functions->draw_pie = DrawPie;
    functions->draw_chord = DrawChord;
    functions->draw_arc = DrawArcOpen;
    functions->draw_ellipse = DrawEllipse;
    functions->draw_line = DrawLine;
    functions->poly_line = DrawPolyline;
    functions->draw_polygon = DrawPolygon;
    functions->draw_polypolygon = DrawPolyPolygon;
    functions->draw_rectangle = DrawRectangle;
    functions->rop_draw = DrawRasterOperation;
    functions->bmp_draw = DrawBitmap;
    functions->bmp_read = ReadBitmap;
    functions->bmp_free = FreeBitmap;
    functions->draw_text = DrawText;
    functions->region_frame = FrameRegion;
    functions->region_paint = PaintRegion;
    functions->region_clip = ClipRegion;
    functions->udata_copy = CopyContext;
    // Flood fills need the pixels drawn so far to be read back, which GDI had and a picture with
    // a transparent ground does not; like the player's own devices, this one leaves them out.
}

bool LooksLikeWmf(const QByteArray& data)
{
    const auto* d = reinterpret_cast<const unsigned char*>(data.constData());
    if (data.size() >= 22 && Little32(d) == 0x9AC6CDD7u)
        return true; // placeable header
    return data.size() >= 18 && (Little16(d) == 1 || Little16(d) == 2) && Little16(d + 2) == 9;
}

PictureResult Damaged(const char* why)
{
    return PictureResult::Failure(QStringLiteral("Damaged WMF file: %1").arg(QLatin1String(why)));
}

} // namespace

PictureResult RenderWmf(const QByteArray& data)
{
    if (!LooksLikeWmf(data))
        return PictureResult::Failure(QStringLiteral("Not a WMF file"));
    QByteArray bytes = data;
    bytes.detach(); // the player reads from it through a non-const pointer

    Canvas canvas;
    wmfAPI_Options options{};
    options.function = InstallDevice;
    options.context = &canvas;
    options.malloc = Allocate;
    options.realloc = Reallocate;
    options.free = Release;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_ALLOC | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* api = nullptr;
    if (wmf_lite_create(&api, flags, &options) != wmf_E_None || !api)
        return PictureResult::Failure(QStringLiteral("Metafiles cannot be drawn: libwmf does not start"));
    const std::unique_ptr<wmfAPI, decltype(&wmf_lite_destroy)> player(api, &wmf_lite_destroy);
    api->device_data = &canvas;
    // The lite player leaves fonts to its user: text is measured with the fonts Qt draws it in.
    wmfFontData fonts{};
    fonts.map = MapFont;
    fonts.stringwidth = StringWidth;
    api->font_data = &fonts;

    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(bytes.data()), long(bytes.size())) != wmf_E_None)
        return Damaged("it cannot be opened");
    wmfD_Rect bounds{};
    if (wmf_scan(api, 0, &bounds) != wmf_E_None)
        return Damaged("its records cannot be read");
    const double boundsWidth = double(bounds.BR.x) - bounds.TL.x;
    const double boundsHeight = double(bounds.BR.y) - bounds.TL.y;
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_display_size(api, &width, &height, 96, 96) != wmf_E_None)
        return Damaged("its records cannot be read");
    const QSize size = picture_limits::FitMetafileSize(width, height);
    if (size.isEmpty() || !(boundsWidth > 0) || !(boundsHeight > 0) || !std::isfinite(boundsWidth) ||
        !std::isfinite(boundsHeight))
        return Damaged("its picture has no size");

    canvas.image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    if (canvas.image.isNull())
        return PictureResult::Failure(QStringLiteral("Not enough memory for the picture"));
    canvas.image.fill(Qt::transparent);
    canvas.bounds = QRectF(Point(bounds.TL), Point(bounds.BR));
    const wmf_error_t played = wmf_play(api, 0, &bounds);
    if (canvas.painter && canvas.painter->isActive())
        canvas.painter->end();
    if (played != wmf_E_None)
        return Damaged("its records cannot be drawn");
    PictureResult result;
    result.image = std::move(canvas.image);
    return result;
}

} // namespace zdawnik
