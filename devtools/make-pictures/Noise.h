#pragma once

#include <cstdint>

namespace zdawnik::tools {

// Noise that depends only on its arguments: the generator makes the same pictures on every run and
// every machine, so a remade file differs from the committed one only when its drawing changed.

// A number in [0, 1) for an integer lattice point.
float Hash(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Normally distributed, mean 0 and deviation 1, for an integer lattice point.
float GaussianHash(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Smoothly interpolated lattice noise in [0, 1).
float ValueNoise(float x, float y, std::uint32_t seed);

// Sum of octaves of value noise, centred on 0, roughly in [-0.5, 0.5].
float Fractal(float x, float y, int octaves, std::uint32_t seed);

// Cellular noise: the distances from a point to the nearest and second-nearest of the points
// scattered one to a unit cell, and where the nearest one lies.
struct Cells
{
    float nearest;
    float second;
    float nearestX;
    float nearestY;
};
Cells CellNoise(float x, float y, std::uint32_t seed);

} // namespace zdawnik::tools
