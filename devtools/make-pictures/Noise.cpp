#include "devtools/make-pictures/Noise.h"

#include <cmath>
#include <numbers>

namespace zdawnik::tools {

namespace {

std::uint32_t Mix(std::uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

std::uint32_t HashBits(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    return Mix(static_cast<std::uint32_t>(x) * 0x9E3779B1U ^
               Mix(static_cast<std::uint32_t>(y) + seed * 0x85EBCA77U));
}

float Smooth(float t)
{
    return t * t * t * (t * (t * 6 - 15) + 10);
}

} // namespace

float Hash(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    return static_cast<float>(HashBits(x, y, seed) >> 8) / 16777216.0f;
}

float GaussianHash(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    // Box-Muller from two independent uniform numbers.
    const float u1 = (static_cast<float>(HashBits(x, y, seed) >> 8) + 0.5f) / 16777216.0f;
    const float u2 = Hash(x, y, seed ^ 0xA511E9B3U);
    return std::sqrt(-2.0f * std::log(u1)) * std::cos(2.0f * std::numbers::pi_v<float> * u2);
}

float ValueNoise(float x, float y, std::uint32_t seed)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx);
    const auto iy = static_cast<std::int32_t>(fy);
    const float tx = Smooth(x - fx);
    const float ty = Smooth(y - fy);
    const float a = Hash(ix, iy, seed);
    const float b = Hash(ix + 1, iy, seed);
    const float c = Hash(ix, iy + 1, seed);
    const float d = Hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fractal(float x, float y, int octaves, std::uint32_t seed)
{
    float sum = 0;
    float amplitude = 0.5f;
    float norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * (ValueNoise(x, y, seed + 101U * i) - 0.5f);
        norm += amplitude;
        // Turn each octave a little so the lattice does not line up from one octave to the next.
        const float nx = 1.6f * x + 1.2f * y;
        const float ny = -1.2f * x + 1.6f * y;
        x = nx;
        y = ny;
        amplitude *= 0.5f;
    }
    return sum / norm;
}

Cells CellNoise(float x, float y, std::uint32_t seed)
{
    const auto ix = static_cast<std::int32_t>(std::floor(x));
    const auto iy = static_cast<std::int32_t>(std::floor(y));
    Cells cells{1e9f, 1e9f, 0, 0};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const float px = static_cast<float>(ix + dx) + Hash(ix + dx, iy + dy, seed);
            const float py = static_cast<float>(iy + dy) + Hash(ix + dx, iy + dy, seed + 7919U);
            const float d = std::hypot(px - x, py - y);
            if (d < cells.nearest) {
                cells.second = cells.nearest;
                cells.nearest = d;
                cells.nearestX = px;
                cells.nearestY = py;
            } else if (d < cells.second) {
                cells.second = d;
            }
        }
    }
    return cells;
}

} // namespace zdawnik::tools
