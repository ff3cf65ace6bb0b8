#pragma once

#include <QImage>

namespace zdawnik::tools {

// The good-answer mark, 50 x 50 and opaque: a red check mark with a dark edge over a small white
// box with a grey border and a grey shade on its right and bottom sides, on pure white. The window
// leaves out every pure white pixel, so the ground and the upper-left inside of the box take the
// colour of the panel beneath, and the picture's silhouette is hard-edged: a pixel half-blended
// with white would show as a pale fringe on a coloured panel.
QImage DrawTick();

} // namespace zdawnik::tools
