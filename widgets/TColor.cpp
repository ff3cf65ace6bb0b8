#include "widgets/TColor.h"

#include <QGuiApplication>

namespace zdawnik {

namespace {

// The palette role that plays the part of a system colour in Qt.
QPalette::ColorRole SystemColorRole(std::uint32_t value)
{
    switch (value & 0xFFu) {
    case 5: // the window colour: the background of text areas
        return QPalette::Base;
    case 6: // window frames
        return QPalette::Shadow;
    case 8: // window text
        return QPalette::WindowText;
    default: // the button face and the rest of the window furniture
        return QPalette::Window;
    }
}

QColor FromBgr(std::uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

} // namespace

QColor TColor::toQColor(const QPalette& palette) const
{
    return isSystemColor() ? palette.color(SystemColorRole(m_value)) : FromBgr(m_value);
}

QColor TColor::toQColor() const
{
    return isSystemColor() ? QGuiApplication::palette().color(SystemColorRole(m_value)) : FromBgr(m_value);
}

} // namespace zdawnik
