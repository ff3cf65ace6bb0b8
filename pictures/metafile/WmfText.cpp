// Text: measured for the player's layout and drawn with the fonts Qt finds, its bytes decoded by the
// character set of its font.

#include "pictures/metafile/MetafileText.h"
#include "pictures/metafile/WmfDevice.h"

#include <QFont>
#include <QFontMetricsF>

#include <cmath>
#include <cstring>
#include <numbers>

namespace zdawnik::wmf_device {

namespace {

// Text is measured and drawn with fonts of this em size and scaled to the size the metafile asks
// for: metrics then grow in proportion, which the player's layout of text (done with widths we
// report) relies on.
constexpr double ReferencePixels = 256.0;

// The Qt font for a metafile font, at the reference size.
QFont FontOf(const wmfFont* font)
{
    const char* face = font->lfFaceName ? font->lfFaceName : "";
    QFont result(MetafileFontFamily(QByteArrayView(face, qsizetype(std::strlen(face))), font->lfCharSet));
    result.setPixelSize(int(ReferencePixels));
    const int weight = font->lfWeight == 0 ? 400 : qBound(1, int(font->lfWeight), 1000);
    result.setWeight(QFont::Weight(weight));
    result.setItalic(font->lfItalic != 0);
    result.setUnderline(font->lfUnderline != 0);
    result.setStrikeOut(font->lfStrikeOut != 0);
    // Unhinted outlines keep widths proportional to the size.
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

QString TextOf(const wmfFont* font, const char* bytes)
{
    return DecodeMetafileText(QByteArrayView(bytes, qsizetype(std::strlen(bytes))), font->lfCharSet);
}

// How much wider than the face's own proportions the metafile wants its letters: a font asks for
// an average character width, or none (the player then sets the width to the height).
double WidthFactor(const wmfFont* font, const QFontMetricsF& metrics)
{
    if (font->lfHeight == 0 || font->lfWidth == 0 || font->lfWidth == font->lfHeight)
        return 1.0;
    const double average = metrics.averageCharWidth() / ReferencePixels;
    if (!(average > 0))
        return 1.0;
    return qBound(0.25, double(font->lfWidth) / font->lfHeight / average, 4.0);
}

} // namespace

void MapFont(wmfAPI*, wmfFont*)
{
    // Fonts are looked up by Qt when text is drawn; the player needs no face of its own.
}

// The player lays text out with this: the width of the text for a one-unit font, which it then
// multiplies by the font's height and by its width-to-height ratio. Reporting the width the text
// will really be drawn at keeps centred and right-aligned text in place.
float StringWidth(wmfAPI*, wmfFont* font, char* text)
{
    if (!font || !text || font->lfHeight == 0)
        return 0;
    const QFontMetricsF metrics(FontOf(font));
    const double natural = metrics.horizontalAdvance(TextOf(font, text)) / ReferencePixels;
    const double ratio = double(font->lfWidth) / font->lfHeight;
    if (!(ratio > 0))
        return 0;
    return float(natural * WidthFactor(font, metrics) / ratio);
}

void DrawText(wmfAPI* api, wmfDrawText_t* text)
{
    QPainter* painter = PainterFor(api, text->dc, false); // ROP2 modes do not apply to text
    const wmfFont* font = text->dc ? text->dc->font : nullptr;
    if (!painter || !font || !text->str || !(text->font_height > 0) || !std::isfinite(text->font_height))
        return;
    const QString string = TextOf(font, text->str);
    if (string.isEmpty())
        return;
    const Canvas& canvas = CanvasOf(api);
    const QFont qfont = FontOf(font);
    const QFontMetricsF metrics(qfont);
    const double widthFactor = WidthFactor(font, metrics);
    const double em = text->font_height; // device units
    const double unit = em / ReferencePixels;

    // The player has placed the text by a rough guess; put the baseline where this font has it.
    const double escapement = font->lfEscapement / 10.0; // degrees, counter-clockwise
    const double theta = -escapement * std::numbers::pi / 180;
    const QPointF along(std::cos(theta), std::sin(theta));
    const QPointF down(-std::sin(theta), std::cos(theta));
    QPointF origin = Point(text->pt);
    const unsigned align = text->dc->textalign;
    if ((align & TA_BASELINE) == TA_BOTTOM) {
        origin -= down * (metrics.descent() * unit);
    } else if ((align & TA_BASELINE) == TA_TOP) {
        origin -= down * em; // the player's guess: a full em above the baseline
        origin += down * (metrics.ascent() * unit);
    }
    // The player takes right-aligned text for centred (it tests the alignment bits loosely). It
    // draws text with per-letter spacing one letter at a time, where the whole width is unknown
    // here, so only whole strings are moved the other half of their width.
    if ((align & TA_CENTER) == TA_RIGHT && string.size() > 1)
        origin -= along * (metrics.horizontalAdvance(string) * unit * widthFactor / 2);

    painter->save();
    // ETO_CLIPPED is left out on purpose: the box was measured for the writer's fonts, and ours,
    // however close, would have their edges cut off by it.
    if (text->flags & ETO_OPAQUE)
        painter->fillRect(QRectF(Point(text->TL), Point(text->BR)).normalized(), Color(text->dc->bgcolor));
    // Glyphs are drawn in image pixels, turned and stretched as the device coordinates are.
    painter->setWorldTransform(QTransform());
    painter->translate(canvas.toImage.map(origin));
    painter->scale(canvas.scaleX / canvas.scaleY, 1);
    painter->rotate(-escapement);
    const double size = unit * canvas.scaleY;
    painter->scale(size * widthFactor, size);
    if (text->dc->bgmode == OPAQUE)
        painter->fillRect(QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(string), metrics.height()),
                          Color(text->dc->bgcolor));
    painter->setFont(qfont);
    painter->setPen(Color(text->dc->textcolor));
    painter->drawText(QPointF(0, 0), string);
    painter->restore();
}

} // namespace zdawnik::wmf_device
