#pragma once

#include "devtools/make-pictures/FloatImage.h"

#include <algorithm>
#include <cmath>

// The small arithmetic of shading a made-up scene: blends, steps and directions.
namespace zdawnik::tools::shading {

inline float Clamp01(float v)
{
    return std::clamp(v, 0.0f, 1.0f);
}

inline float SmoothStep(float edge0, float edge1, float v)
{
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

inline float Lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}

inline Rgb Screen(const Rgb& base, const Rgb& light)
{
    return {1 - (1 - base.r) * (1 - light.r), 1 - (1 - base.g) * (1 - light.g),
            1 - (1 - base.b) * (1 - light.b)};
}

inline Rgb Grey(float v)
{
    return {v, v, v};
}

// A direction or a point in the scene's space.
struct Vec
{
    float x, y, z;
};
inline Vec Normalised(Vec v)
{
    const float n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}
inline float Dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// How far (x, y) lies from the centre of an ellipse, 1 on its edge.
inline float EllipseRadius(float x, float y, float cx, float cy, float a, float b)
{
    return std::hypot((x - cx) / a, (y - cy) / b);
}

} // namespace zdawnik::tools::shading
