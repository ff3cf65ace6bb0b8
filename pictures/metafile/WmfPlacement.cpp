// How the player's device coordinates land on the picture.

#include "pictures/metafile/WmfDevice.h"

#include <cmath>

namespace zdawnik::wmf_device {

namespace {

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

} // namespace

QPainter* PainterFor(wmfAPI* api, const wmfDC* dc, bool drawing)
{
    Canvas& canvas = CanvasOf(api);
    if (!canvas.painter || !canvas.painter->isActive())
        return nullptr;
    Place(api, dc);
    if (drawing && dc && dc->ROPmode == R2_NOP)
        return nullptr;
    return canvas.painter.get();
}

} // namespace zdawnik::wmf_device
