#include "widgets/TPanel.h"

#include <QChildEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace zdawnik {

TPanel::TPanel(QWidget* parent) : TControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor TPanel::color() const
{
    return palette().color(QPalette::Window);
}

void TPanel::setColor(const QColor& color)
{
    QPalette own = palette();
    own.setColor(QPalette::Window, color);
    setPalette(own);
}

void TPanel::realign()
{
    if (m_realigning)
        return;
    m_realigning = true;
    const auto docked = [this](TAlign align) {
        QList<TControl*> controls;
        for (QObject* child : children()) {
            auto* control = qobject_cast<TControl*>(child);
            if (control && !control->isHidden() && control->align() == align)
                controls.append(control);
        }
        return controls;
    };
    int left = 0;
    for (TControl* control : docked(TAlign::Left)) {
        control->setGeometry(left, 0, control->width(), height());
        left += control->width();
    }
    for (TControl* control : docked(TAlign::Client))
        control->setGeometry(left, 0, std::max(0, width() - left), height());
    m_realigning = false;
}

bool TPanel::event(QEvent* event)
{
    // Watch every child widget from its arrival; whether it docks is asked only when it matters,
    // as a child is announced before its own constructor has run.
    if (event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType())
            child->installEventFilter(this);
    } else if (event->type() == QEvent::ChildRemoved) {
        // The child may be half destroyed: it is left alone, and its filter goes with it.
        realign();
    }
    return TControl::event(event);
}

bool TPanel::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Resize:
        if (watched->parent() == this && qobject_cast<TControl*>(watched))
            realign();
        break;
    default:
        break;
    }
    return TControl::eventFilter(watched, event);
}

void TPanel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), color());
    // A panel that takes the focus (an answer) shows it when it came by keyboard; the style draws
    // nothing while the user works with the mouse.
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        focus.backgroundColor = color();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TPanel::resizeEvent(QResizeEvent* event)
{
    realign();
    TControl::resizeEvent(event);
}

} // namespace zdawnik
