#pragma once

// The device layer that draws for libwmf's player: the picture being drawn, and the callbacks the
// player calls, one file for each kind of record (WmfShapes.cpp, WmfText.cpp, WmfBitmaps.cpp) and
// the mapping of the player's coordinates onto the picture (WmfPlacement.cpp). Runs only inside the
// metafile helper.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QTransform>

#include <memory>

// libwmf's headers define short macros (U16, OPAQUE, BS_SOLID, ...), so they come after Qt's.
#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>

namespace zdawnik::wmf_device {

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

inline Canvas& CanvasOf(wmfAPI* api)
{
    return *static_cast<Canvas*>(api->device_data);
}

// The painter, when a picture is being drawn and, for drawing, the current raster operation leaves
// marks. The first call settles how the player's coordinates land on the picture.
QPainter* PainterFor(wmfAPI* api, const wmfDC* dc, bool drawing = true);

inline QColor Color(const wmfRGB& rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

inline QPointF Point(const wmfD_Coord& coord)
{
    return QPointF(coord.x, coord.y);
}

// Shapes, regions and raster operations (WmfShapes.cpp).
void DrawPixel(wmfAPI* api, wmfDrawPixel_t* pixel);
void DrawPie(wmfAPI* api, wmfDrawArc_t* arc);
void DrawChord(wmfAPI* api, wmfDrawArc_t* arc);
void DrawArcOpen(wmfAPI* api, wmfDrawArc_t* arc);
void DrawEllipse(wmfAPI* api, wmfDrawArc_t* arc);
void DrawLine(wmfAPI* api, wmfDrawLine_t* line);
void DrawPolyline(wmfAPI* api, wmfPolyLine_t* line);
void DrawPolygon(wmfAPI* api, wmfPolyLine_t* polygon);
void DrawPolyPolygon(wmfAPI* api, wmfPolyPoly_t* polygons);
void DrawRectangle(wmfAPI* api, wmfDrawRectangle_t* rectangle);
void DrawRasterOperation(wmfAPI* api, wmfROP_Draw_t* operation);
void PaintRegion(wmfAPI* api, wmfPolyRectangle_t* region);
void FrameRegion(wmfAPI* api, wmfPolyRectangle_t* region);
void ClipRegion(wmfAPI* api, wmfPolyRectangle_t* region);

// Text (WmfText.cpp).
void MapFont(wmfAPI* api, wmfFont* font);
float StringWidth(wmfAPI* api, wmfFont* font, char* text);
void DrawText(wmfAPI* api, wmfDrawText_t* text);

// Bitmaps (WmfBitmaps.cpp).
void ReadBitmap(wmfAPI* api, wmfBMP_Read_t* read);
void FreeBitmap(wmfAPI* api, wmfBMP* bitmap);
void DrawBitmap(wmfAPI* api, wmfBMP_Draw_t* draw);

} // namespace zdawnik::wmf_device
