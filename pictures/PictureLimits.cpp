#include "pictures/PictureLimits.h"

#include <algorithm>
#include <cmath>

namespace zdawnik::picture_limits {

QSize FitMetafileSize(double width, double height)
{
    if (!std::isfinite(width) || !std::isfinite(height))
        return {};
    width = std::abs(width);
    height = std::abs(height);
    if (width < 0.5 || height < 0.5)
        return {};
    double scale = std::min({1.0, MaxMetafileSide / width, MaxMetafileSide / height});
    const double pixels = width * scale * height * scale;
    if (pixels > double(MaxMetafilePixels))
        scale *= std::sqrt(double(MaxMetafilePixels) / pixels);
    // A sliver of a long thin frame still gets one pixel across.
    const int w = std::max(1, int(std::floor(width * scale + 0.5)));
    const int h = std::max(1, int(std::floor(height * scale + 0.5)));
    return {std::min(w, MaxMetafileSide), std::min(h, MaxMetafileSide)};
}

} // namespace zdawnik::picture_limits
