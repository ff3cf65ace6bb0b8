#pragma once

#include <QComboBox>

namespace zdawnik {

// A drop-down list from which only an item can be picked, no text typed. The closed list is a flat
// field in its base colour beside the arrow button (the style would shade a pick-only list like a
// button); its items are of one height, whatever the style would make them; and the opened list
// drops below the closed one, or rises above it where the screen ends below, but never covers it.
class TComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TComboBox(QWidget* parent = nullptr);

    int itemHeight() const { return m_itemHeight; }
    void setItemHeight(int pixels);

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_itemHeight = 14;
};

} // namespace zdawnik
