#include "devtools/make-pictures/PngWriter.h"

#include <csetjmp>
#include <png.h>
#include <stdexcept>
#include <vector>

namespace zdawnik::tools {

namespace {

void AppendToByteArray(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void FlushNothing(png_structp) {}

// libpng reports errors by longjmp; nothing with a destructor may live between setjmp and here.
bool Write(QByteArray* out, const std::vector<png_bytep>& rows, int width, int height, int colourType,
           const PngChunks& chunks)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendToByteArray, FlushNothing);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (chunks.gamma > 0)
        png_set_gAMA_fixed(png, info, chunks.gamma);
    if (chunks.srgb)
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

QByteArray Encode(const QImage& image, QImage::Format format, int colourType, const PngChunks& chunks)
{
    const QImage converted = image.convertToFormat(format);
    std::vector<png_bytep> rows(converted.height());
    for (int y = 0; y < converted.height(); ++y)
        rows[y] = const_cast<png_bytep>(converted.constScanLine(y));
    QByteArray out;
    if (!Write(&out, rows, converted.width(), converted.height(), colourType, chunks))
        throw std::runtime_error("libpng could not write the picture");
    return out;
}

} // namespace

QByteArray EncodePngRgb(const QImage& image, const PngChunks& chunks)
{
    return Encode(image, QImage::Format_RGB888, PNG_COLOR_TYPE_RGB, chunks);
}

QByteArray EncodePngRgba(const QImage& image, const PngChunks& chunks)
{
    return Encode(image, QImage::Format_RGBA8888, PNG_COLOR_TYPE_RGB_ALPHA, chunks);
}

} // namespace zdawnik::tools
