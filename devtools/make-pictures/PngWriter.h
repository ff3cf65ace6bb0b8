#pragma once

#include <QByteArray>
#include <QImage>

namespace zdawnik::tools {

struct PngChunks
{
    // The gAMA chunk's value in hundred-thousandths; 0 leaves the chunk out.
    int gamma = 45455;
    // An sRGB chunk with perceptual rendering intent.
    bool srgb = false;
};

// A PNG file of 8-bit RGB (colour type 2) without alpha, transparency or palette, holding only
// IHDR, the asked-for gAMA and sRGB chunks, IDAT and IEND.
QByteArray EncodePngRgb(const QImage& image, const PngChunks& chunks);

// The same with an alpha channel (colour type 6), for pictures with clear parts.
QByteArray EncodePngRgba(const QImage& image, const PngChunks& chunks);

} // namespace zdawnik::tools
