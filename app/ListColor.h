#pragma once

#include <QColor>
#include <QComboBox>
#include <QPalette>

namespace zdawnik {

// The colour of a drop-down list: the face of the closed list and the ground of its items.
inline void SetListColor(QComboBox* list, const QColor& color)
{
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Button, color);
    list->setPalette(palette);
}

inline QColor ListColor(const QComboBox* list)
{
    return list->palette().color(QPalette::Button);
}

} // namespace zdawnik
