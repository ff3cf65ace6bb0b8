#pragma once

#include <QFont>

namespace zdawnik {

// The fonts of the window's layout: face and height in pixels (the character height without
// internal leading, as the layout states it).
enum class LayoutFont
{
    Inherit, // the parent's font
    Window,  // "MS Sans Serif", 11 px
    V9,      // "Verdana", 9 px
    V11,
    V12,
    V13,
    S11, // "MS Sans Serif", 11 px
    S13,
};

enum FontStyle : unsigned
{
    Regular = 0,
    Bold = 1,
    Italic = 2,
};

QFont MakeLayoutFont(LayoutFont font, unsigned style);

// Verdana and MS Sans Serif are Windows fonts: name free fonts of similar metrics in their place,
// so the layout keeps its face names and every system draws with what it has.
void InstallFontSubstitutes();

} // namespace zdawnik
