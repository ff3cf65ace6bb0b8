// Shapes, regions and raster operations, filled with the current brush and outlined with the
// current pen as GDI does.

#include "pictures/metafile/WmfDevice.h"

#include <QBrush>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace zdawnik::wmf_device {

namespace {

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

QPainterPath RegionPath(const wmfPolyRectangle_t* region)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (unsigned i = 0; i < region->count; ++i)
        path.addRect(QRectF(Point(region->TL[i]), Point(region->BR[i])).normalized());
    return path;
}

} // namespace

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

} // namespace zdawnik::wmf_device
