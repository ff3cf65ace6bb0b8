#pragma once

#include <QSize>
#include <QtGlobal>

namespace zdawnik::picture_limits {

// A picture is shown at its natural size in a window about 1000 pixels wide, so a declared size far
// beyond any screen is refused, from the header, before a single pixel is allocated: in a damaged or
// hostile file it would cost gigabytes before the decoder noticed. The bounds are generous all the
// same: a photograph from a 48-megapixel camera still loads.
inline constexpr int MaxSide = 16384;
inline constexpr qint64 MaxPixels = 64LL * 1024 * 1024;

// Files are read whole into memory; nothing a bank needs comes near this.
inline constexpr qint64 MaxFileBytes = 256LL * 1024 * 1024;

// Metafiles carry no pixels, only a frame; a valid file may still claim a frame of metres. Such a
// picture is drawn scaled down to fit these bounds rather than refused.
inline constexpr int MaxMetafileSide = 4096;
inline constexpr qint64 MaxMetafilePixels = 16LL * 1024 * 1024;

// One question's pictures together may take this long to load, so that a slow picture, or many,
// cannot hold the window for longer. One picture may use at most a share of it, so that the pictures
// after a hanging one still get their turn. A metafile gets the time that is left for it; the
// largest valid metafiles seen draw in well under a second.
inline constexpr int QuestionBudgetMs = 3000;
inline constexpr int PictureShareMs = 2000;
// A picture stopped for lack of time still takes a moment to stop: a decoder finishes the piece of
// the file it has in hand, a helper is killed and another started. Pictures are stopped this much
// before the budget ends, so that the question's pictures together keep within it.
inline constexpr int StoppingMs = 60;

// The metafile helper ends itself when one picture takes this long, in case the program that waits
// for it is gone.
inline constexpr int MetafileTimeoutMs = 10000;

// What one decode of a raster picture may allocate: the whole picture for most formats, only the
// part a place shows for a baseline JPEG. A 16-bit PNG takes twice the bytes of an 8-bit one.
inline constexpr qint64 MaxDecodeBytes = 256LL * 1024 * 1024;

// Loaded pictures are kept for the rest of the run, the least recently shown leaving first when
// they would take more than this.
inline constexpr qint64 CacheBytes = 64LL * 1024 * 1024;

// True when a declared size is one a screen could need.
inline bool IsSaneSize(QSize size)
{
    const qint64 width = qAbs(qint64(size.width()));
    const qint64 height = qAbs(qint64(size.height()));
    return width > 0 && height > 0 && width <= MaxSide && height <= MaxSide && width * height <= MaxPixels;
}

// The size a metafile of the given natural size (in pixels at 96 dpi) is drawn at: the natural size
// rounded, or that size scaled down, keeping its proportions, to fit the metafile bounds. An empty
// size when the natural size is empty or not a number.
QSize FitMetafileSize(double width, double height);

} // namespace zdawnik::picture_limits
