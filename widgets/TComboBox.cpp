#include "widgets/TComboBox.h"

#include <QListView>
#include <QScreen>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace zdawnik {

namespace {

// Item rows of one height.
class FixedHeightItems : public QStyledItemDelegate
{
public:
    FixedHeightItems(const TComboBox* list, QObject* parent) : QStyledItemDelegate(parent), m_list(list) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), m_list->itemHeight()};
    }

private:
    const TComboBox* m_list;
};

} // namespace

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    auto* items = new QListView(this);
    items->setItemDelegate(new FixedHeightItems(this, items));
    setView(items);
}

void TComboBox::setItemHeight(int pixels)
{
    m_itemHeight = pixels;
    view()->doItemsLayout();
}

void TComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // Drawn as the style draws a list one can type in: a flat field filled with the colour. The
    // text on it is drawn as for a pick-only list, since there is no line edit to draw it.
    option.editable = true;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.editable = false;
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void TComboBox::showPopup()
{
    QComboBox::showPopup();
    QWidget* popup = view()->window();
    if (popup == window() || !popup->isVisible())
        return;
    // Some styles open the list over the closed one, with the chosen item where the field was. The
    // list drops below instead, or rises above where the screen ends below.
    QRect place(mapToGlobal(QPoint(0, height())), QSize(std::max(popup->width(), width()), popup->height()));
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        if (place.bottom() > room.bottom())
            place.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
    }
    popup->setGeometry(place);
}

} // namespace zdawnik
