#pragma once

#include <QImage>

namespace zdawnik::tools {

enum class FaceKind
{
    Good,    // green, smiling
    Partial, // white, straight mouth
    Wrong,   // orange, mouth turned down
};

// The ground the faces lie on: the window's own colour, so the square of a face does not show.
inline constexpr QRgb FaceGround = 0xFF075098; // RGB 7, 80, 152

QRgb FaceColour(FaceKind kind);

// A verdict face, 63 x 63, opaque. The outlines are smoothed into the ground in 14 steps, so the
// picture holds at most 16 colours: the ground, the face colour and the blends between them.
QImage DrawFace(FaceKind kind);

} // namespace zdawnik::tools
