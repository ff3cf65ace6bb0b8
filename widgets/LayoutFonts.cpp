#include "widgets/LayoutFonts.h"

#include <QStringList>

namespace zdawnik {

QFont MakeLayoutFont(LayoutFont font, unsigned style)
{
    QString face = QStringLiteral("Verdana");
    int pixels = 11;
    switch (font) {
    case LayoutFont::Inherit:
    case LayoutFont::Window:
    case LayoutFont::S11:
        face = QStringLiteral("MS Sans Serif");
        pixels = 11;
        break;
    case LayoutFont::S13:
        face = QStringLiteral("MS Sans Serif");
        pixels = 13;
        break;
    case LayoutFont::V9:
        pixels = 9;
        break;
    case LayoutFont::V11:
        pixels = 11;
        break;
    case LayoutFont::V12:
        pixels = 12;
        break;
    case LayoutFont::V13:
        pixels = 13;
        break;
    }
    QFont result(face);
    result.setPixelSize(pixels);
    result.setBold(style & Bold);
    result.setItalic(style & Italic);
    return result;
}

void InstallFontSubstitutes()
{
    // DejaVu Sans descends from Bitstream Vera, drawn to Verdana's proportions. Liberation Sans has
    // the metrics of Arial, the closest free face to the narrow MS Sans Serif. Each stands in for the
    // other where only one is installed.
    const QStringList verdana = QStringList()
                                << QStringLiteral("DejaVu Sans") << QStringLiteral("Liberation Sans");
    const QStringList sansSerif = QStringList()
                                  << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans");
    QFont::insertSubstitutions(QStringLiteral("Verdana"), verdana);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sansSerif);
}

} // namespace zdawnik
