#include "pictures/metafile/WmfRenderer.h"

#include "pictures/PictureLimits.h"
#include "pictures/metafile/WmfDevice.h"

#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace zdawnik {

namespace {

using namespace wmf_device;

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
    if (data.size() >= 22 && qFromLittleEndian<std::uint32_t>(d) == 0x9AC6CDD7u)
        return true; // placeable header
    return data.size() >= 18 &&
           (qFromLittleEndian<std::uint16_t>(d) == 1 || qFromLittleEndian<std::uint16_t>(d) == 2) &&
           qFromLittleEndian<std::uint16_t>(d + 2) == 9;
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