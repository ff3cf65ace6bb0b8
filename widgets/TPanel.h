#pragma once

#include "widgets/TControl.h"

namespace zdawnik {

// A flat rectangle in one colour, without border or caption, that docks its TControl children:
// those aligned Left stand side by side from the left edge at full height with their own widths,
// in the order they were created, and those aligned Client fill what is left (nothing, when the
// left-docked ones take the whole width). Hidden children take no part. Showing or hiding a child
// docks them again at once; a new size of the panel or of a child does so as soon as the panel is
// on screen (Qt tells hidden widgets of their new size only then).
class TPanel : public TControl
{
    Q_OBJECT

public:
    explicit TPanel(QWidget* parent = nullptr);

    // The fill colour: the palette's window colour, the parent's unless set.
    QColor color() const;
    void setColor(const QColor& color);

    // Docks the children now.
    void realign();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool m_realigning = false;
};

} // namespace zdawnik
