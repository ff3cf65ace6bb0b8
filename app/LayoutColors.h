#pragma once

#include "widgets/TColor.h"

namespace zdawnik {

// The window's own colours, beside the named ones of widgets/TColor.h ($00BBGGRR).

// The window, the sentence panel and its rows, the gauges' ground, the hint's text.
inline constexpr TColor WindowBlue{0x00985007};
// The info panel.
inline constexpr TColor InfoBlue{0x008A4806};
// The start and end panels.
inline constexpr TColor PanelNavy{0x00592F04};
// A drop-down list showing its good option after a check; also the first list's design colour.
inline constexpr TColor ListGreen{0x0093FF6F};
// A ticked answer.
inline constexpr TColor TickedYellow{0x0080FFFF};
// Answer slots are grey and clWhite in turn down a column.
inline constexpr TColor SlotGrey{0x00DDDDDD};
// An answer panel that is not placed.
inline constexpr TColor ResetGrey{0x00EEEEEE};

} // namespace zdawnik
