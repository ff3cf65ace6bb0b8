#include "devtools/make-pictures/FloatImage.h"

#include <algorithm>
#include <cmath>

namespace zdawnik::tools {

FloatImage::FloatImage(int width, int height, Rgb fill)
    : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height, fill)
{
}

Rgb FloatImage::Sample(float x, float y) const
{
    const float fx = std::clamp(x - 0.5f, 0.0f, static_cast<float>(m_width - 1));
    const float fy = std::clamp(y - 0.5f, 0.0f, static_cast<float>(m_height - 1));
    const int x0 = static_cast<int>(fx);
    const int y0 = static_cast<int>(fy);
    const int x1 = std::min(x0 + 1, m_width - 1);
    const int y1 = std::min(y0 + 1, m_height - 1);
    const float tx = fx - static_cast<float>(x0);
    const float ty = fy - static_cast<float>(y0);
    return Mix(Mix(At(x0, y0), At(x1, y0), tx), Mix(At(x0, y1), At(x1, y1), tx), ty);
}

FloatImage FloatImage::Blurred(float sigma) const
{
    if (sigma <= 0)
        return *this;
    const int radius = static_cast<int>(std::ceil(3 * sigma));
    std::vector<float> kernel(2 * radius + 1);
    float sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += kernel[i + radius] = std::exp(-0.5f * float(i * i) / (sigma * sigma));
    for (float& k : kernel)
        k /= sum;

    FloatImage across(m_width, m_height);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            Rgb c;
            for (int i = -radius; i <= radius; ++i)
                c += At(std::clamp(x + i, 0, m_width - 1), y) * kernel[i + radius];
            across.At(x, y) = c;
        }
    }
    FloatImage out(m_width, m_height);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            Rgb c;
            for (int i = -radius; i <= radius; ++i)
                c += across.At(x, std::clamp(y + i, 0, m_height - 1)) * kernel[i + radius];
            out.At(x, y) = c;
        }
    }
    return out;
}

FloatImage FloatImage::Reduced(int factor) const
{
    FloatImage out(m_width / factor, m_height / factor);
    const float weight = 1.0f / float(factor * factor);
    for (int y = 0; y < out.m_height; ++y) {
        for (int x = 0; x < out.m_width; ++x) {
            Rgb c;
            for (int j = 0; j < factor; ++j) {
                for (int i = 0; i < factor; ++i)
                    c += At(x * factor + i, y * factor + j);
            }
            out.At(x, y) = c * weight;
        }
    }
    return out;
}

QImage FloatImage::ToImage() const
{
    QImage image(m_width, m_height, QImage::Format_RGB32);
    const auto byte = [](float v) { return std::clamp(static_cast<int>(std::lround(v * 255.0f)), 0, 255); };
    for (int y = 0; y < m_height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < m_width; ++x) {
            const Rgb& c = At(x, y);
            line[x] = qRgb(byte(c.r), byte(c.g), byte(c.b));
        }
    }
    return image;
}

} // namespace zdawnik::tools
