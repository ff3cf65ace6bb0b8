#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace zdawnik {

// A colour as the layout writes it: $00BBGGRR (red in the low byte, blue in the high byte), or one of
// the platform's system colours, $FF0000nn, which a widget takes from its palette.
class TColor
{
public:
    constexpr explicit TColor(std::uint32_t value) : m_value(value) {}

    constexpr std::uint32_t value() const { return m_value; }
    constexpr bool isSystemColor() const { return (m_value & 0xFF000000u) == 0xFF000000u; }

    // The colour itself; a system colour is looked up in the palette given, by default the
    // application's.
    QColor toQColor(const QPalette& palette) const;
    QColor toQColor() const;
    operator QColor() const { return toQColor(); }

    constexpr bool operator==(const TColor&) const = default;

private:
    std::uint32_t m_value;
};

// The $00BBGGRR value of a colour (its alpha is left out).
constexpr std::uint32_t ColorValue(QRgb rgb)
{
    return (rgb & 0x0000FF00u) | ((rgb >> 16) & 0xFFu) | ((rgb & 0xFFu) << 16);
}
inline std::uint32_t ColorValue(const QColor& color)
{
    return ColorValue(color.rgb());
}

inline constexpr TColor clBlack{0x00000000};
inline constexpr TColor clWhite{0x00FFFFFF};
inline constexpr TColor clRed{0x000000FF};
inline constexpr TColor clLime{0x0000FF00};
inline constexpr TColor clGreen{0x00008000};
inline constexpr TColor clYellow{0x0000FFFF};
inline constexpr TColor clAqua{0x00FFFF00};
inline constexpr TColor clOlive{0x00008080};
inline constexpr TColor clSkyBlue{0x00F0CAA6};
inline constexpr TColor clMoneyGreen{0x00C0DCC0};

// System colours, resolved through a palette; any other index stands for QPalette::Window.
inline constexpr TColor clWindow{0xFF000005};      // the background of text areas: QPalette::Base
inline constexpr TColor clWindowFrame{0xFF000006}; // frames: QPalette::Shadow
inline constexpr TColor clWindowText{0xFF000008};  // text on a window: QPalette::WindowText

} // namespace zdawnik
