#pragma once

#include <QFont>
#include <QSize>

#include <array>
#include <optional>
#include <vector>

class QString;

namespace zdawnik {

// The two places where the window shows what a question file holds: the question line at the top,
// and an answer in its panel.
enum class QuestionPlace
{
    Question,
    Answer,
};

// The size of the place a picture is shown in, at 96 dpi: the picture is centred there and cut, not
// scaled.
QSize PicturePlaceSize(QuestionPlace place);

// Tells whether a text is shown whole in its place, measured as the window's labels measure their
// captions: the same fonts, sizes and wrapping. Needs a QGuiApplication.
class TextFit
{
public:
    TextFit();

    // The size the text needs, when that is more than its place has; nothing when it is shown whole.
    std::optional<QSize> overflow(const QString& text, QuestionPlace place) const;

    // The size of the label that shows a text in that place.
    QSize placeSize(QuestionPlace place) const;
    QFont font(QuestionPlace place) const;
    int textFlags(QuestionPlace place) const;

private:
    struct Label
    {
        QFont font;
        int flags = 0;
        QSize size;
        // Width of each character of the plain range, and the height of one line: most texts of a
        // bank are short lines of plain letters, which fit without the whole layout of the text.
        std::vector<double> advances;
        int lineHeight = 0;
    };
    const Label& label(QuestionPlace place) const;
    static bool plainlyFits(const QString& text, const Label& label);

    std::array<Label, 2> m_labels;
};

} // namespace zdawnik
