#pragma once

#include <QImage>

namespace zdawnik::tools {

inline constexpr int EndPhotographWidth = 347;
inline constexpr int EndPhotographHeight = 484;

// The end panel's photograph: looking down on a tall glass of beer whose foam head forms a smiling
// face, amber beer below, on a dark grey ground. Rendered from a simple model of the scene (a
// height field for the foam, a tapered cylinder for the glass) and finished like a photograph:
// depth of field, glare, vignetting and grain.
QImage DrawEndPhotograph();

} // namespace zdawnik::tools
