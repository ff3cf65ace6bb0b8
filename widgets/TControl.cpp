#include "widgets/TControl.h"

#include "widgets/TPanel.h"

#include <QMouseEvent>

namespace zdawnik {

TControl::TControl(QWidget* parent) : QWidget(parent) {}

void TControl::setAlign(TAlign align)
{
    if (align == m_align)
        return;
    m_align = align;
    if (auto* panel = qobject_cast<TPanel*>(parentWidget()))
        panel->realign();
}

void TControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The press is the control's own: it does not go on to the parent beneath.
    m_pressed = true;
    event->accept();
}

void TControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

} // namespace zdawnik
