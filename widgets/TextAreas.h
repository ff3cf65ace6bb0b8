#pragma once

#include "widgets/LayoutFonts.h"
#include "widgets/TLabel.h"

#include <QPoint>
#include <QSize>

namespace zdawnik {

// One of the two places where the window shows what a question file holds: the label that shows a
// text there, and the picture shown in its stead, centred and cut rather than scaled. The layout
// builds the window's labels from these, and the bank checker measures texts against them.
struct TextArea
{
    QSize LabelSize;   // at 96 dpi
    QSize PictureSize; // at 96 dpi
    LayoutFont Font;
    TAlignment Alignment;
    TTextLayout Layout;
    bool WordWrap;
};

// The question line at the top of the window: lblPytanie, and imgPytanie over it.
inline constexpr QPoint QuestionAreaPosition(12, 16);
inline constexpr TextArea QuestionTextArea{QSize(930, 137),    QSize(930, 137),     LayoutFont::V13,
                                           TAlignment::Center, TTextLayout::Center, true};

// An answer panel pnlOdp<N>: its label lblOdp<N> fills the panel while the answer is a text, and its
// picture imgOdp<N> lies at the panel's left edge.
inline constexpr TextArea AnswerTextArea{QSize(440, 70),          QSize(441, 70),      LayoutFont::V11,
                                         TAlignment::LeftJustify, TTextLayout::Center, true};

// The text flags a label of that area lays its caption out with.
inline int AreaTextFlags(const TextArea& area)
{
    return LabelTextFlags(area.Alignment, area.Layout, area.WordWrap);
}

} // namespace zdawnik
