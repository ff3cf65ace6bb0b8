#pragma once

#include <QWidget>

namespace zdawnik {

// Where a control docks inside a TPanel: not at all, at the left edge (full height, its own width),
// or over the client area the left-docked controls leave.
enum class TAlign
{
    None,
    Left,
    Client,
};

// What the window's labels, pictures and panels have in common: a click, and docking in a panel.
class TControl : public QWidget
{
    Q_OBJECT

public:
    explicit TControl(QWidget* parent = nullptr);

    TAlign align() const { return m_align; }
    void setAlign(TAlign align);

signals:
    // A left-button press and release on the control, the release still over it.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TAlign m_align = TAlign::None;
    bool m_pressed = false;
};

} // namespace zdawnik
