#pragma once

#include "assets/BuiltInPictures.h"
#include "widgets/LayoutFonts.h"
#include "widgets/TColor.h"

#include <QRect>
#include <QString>

#include <optional>

namespace zdawnik {

enum class WidgetKind
{
    Label,
    Image,
    Panel,
    Button,
    CheckBox,
    ComboBox,
    Gauge,
};

// How labels and images behave, and the state a widget starts in.
enum WidgetFlags : unsigned
{
    Fixed = 1,        // no auto-size
    Centred = 2,      // text centred horizontally, or picture centred
    Right = 4,        // text right-aligned
    Middle = 8,       // text centred vertically
    Wrap = 16,        // word wrap
    Transparent = 32, // label: only the text is drawn; image: the bitmap's key colour left out
    AutoSize = 64,    // image: takes its picture's size
    DockLeft = 128,   // docked to the parent's left edge
    DockClient = 256, // fills what the docked widgets leave
    HandCursor = 512,
    Ticked = 1024, // check box
    Disabled = 2048,
    Hidden = 4096,
};

// One widget of the window's layout: a row of the layout tables.
struct WidgetEntry
{
    WidgetKind kind;
    QString name;
    QString parent; // empty: the window
    QRect geometry;
    unsigned flags = 0;
    LayoutFont font = LayoutFont::Inherit;
    unsigned style = Regular;
    std::optional<TColor> fontColor;
    std::optional<TColor> color;
    QString caption;
    int tabOrder = -1;
    // An image's built-in picture.
    std::optional<assets::Picture> picture;
    // The picture is a bitmap: a transparent image leaves out its bottom-left colour.
    bool bitmap = false;
    // A gauge's top of range, when it is not the gauge's own default.
    std::optional<int> maxValue;
};

} // namespace zdawnik
