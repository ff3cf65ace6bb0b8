#include "check/TextFit.h"

#include "widgets/LayoutFonts.h"
#include "widgets/TLabel.h"
#include "widgets/TextAreas.h"

#include <QFontMetricsF>
#include <QString>

namespace zdawnik {

namespace {

// Characters in this range take the quick way: Latin letters with Polish and other diacritics, and
// the common punctuation, none of which joins with its neighbours.
constexpr char16_t PlainFirst = 0x20;
constexpr char16_t PlainLast = 0x17F;

// Kerning and rounding can make a line a little wider than the sum of its letters; a text this much
// narrower than its place fits in any case.
constexpr double WidthMargin = 0.9;

const TextArea& AreaOf(QuestionPlace place)
{
    return place == QuestionPlace::Question ? QuestionTextArea : AnswerTextArea;
}

} // namespace

QSize PicturePlaceSize(QuestionPlace place)
{
    return AreaOf(place).PictureSize;
}

TextFit::TextFit()
{
    for (const QuestionPlace place : {QuestionPlace::Question, QuestionPlace::Answer}) {
        Label& label = m_labels[place == QuestionPlace::Question ? 0 : 1];
        const TextArea& area = AreaOf(place);
        label.font = MakeLayoutFont(area.Font, Regular);
        label.flags = AreaTextFlags(area);
        label.size = area.LabelSize;
    }
    for (Label& label : m_labels) {
        const QFontMetricsF metrics(label.font);
        for (char16_t c = PlainFirst; c <= PlainLast; ++c)
            label.advances.push_back(metrics.horizontalAdvance(QChar(c)));
        label.lineHeight =
            MeasureCaption(QStringLiteral("Ag"), label.font, label.flags, label.size.width()).height();
    }
}

const TextFit::Label& TextFit::label(QuestionPlace place) const
{
    return m_labels[place == QuestionPlace::Question ? 0 : 1];
}

QSize TextFit::placeSize(QuestionPlace place) const
{
    return label(place).size;
}

QFont TextFit::font(QuestionPlace place) const
{
    return label(place).font;
}

int TextFit::textFlags(QuestionPlace place) const
{
    return label(place).flags;
}

bool TextFit::plainlyFits(const QString& text, const Label& label)
{
    if (label.lineHeight > label.size.height())
        return false;
    double width = 0;
    for (const QChar c : text) {
        // An ampersand changes what is drawn; the whole layout deals with it.
        if (c.unicode() < PlainFirst || c.unicode() > PlainLast || c == u'&')
            return false;
        width += label.advances[c.unicode() - PlainFirst];
    }
    return width <= label.size.width() * WidthMargin;
}

std::optional<QSize> TextFit::overflow(const QString& text, QuestionPlace place) const
{
    const Label& shown = label(place);
    if (plainlyFits(text, shown))
        return std::nullopt;
    const QSize needed = MeasureCaption(text, shown.font, shown.flags, shown.size.width());
    if (needed.width() <= shown.size.width() && needed.height() <= shown.size.height())
        return std::nullopt;
    return needed;
}

} // namespace zdawnik
