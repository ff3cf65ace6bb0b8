#pragma once

#include <QImage>

#include <vector>

namespace zdawnik::tools {

struct Rgb
{
    float r = 0;
    float g = 0;
    float b = 0;

    Rgb operator+(const Rgb& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Rgb operator-(const Rgb& o) const { return {r - o.r, g - o.g, b - o.b}; }
    Rgb operator*(float k) const { return {r * k, g * k, b * k}; }
    Rgb operator*(const Rgb& o) const { return {r * o.r, g * o.g, b * o.b}; }
    Rgb& operator+=(const Rgb& o) { return *this = *this + o; }
    float Luminance() const { return 0.2126f * r + 0.7152f * g + 0.0722f * b; }
};

inline Rgb Mix(const Rgb& a, const Rgb& b, float t)
{
    return a + (b - a) * t;
}

// A picture of floating-point colours (0 to 1 is black to white), for drawing in several passes
// without rounding in between.
class FloatImage
{
public:
    FloatImage(int width, int height, Rgb fill = {});

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgb& At(int x, int y) { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
    const Rgb& At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }

    // Bilinear look-up at a position in pixel units, pixel centres at half-integers; outside
    // positions take the nearest edge pixel.
    Rgb Sample(float x, float y) const;

    // A Gaussian blur of the given deviation in pixels.
    FloatImage Blurred(float sigma) const;

    // Each pixel the mean of a factor x factor block.
    FloatImage Reduced(int factor) const;

    QImage ToImage() const;

private:
    int m_width;
    int m_height;
    std::vector<Rgb> m_pixels;
};

} // namespace zdawnik::tools
