// Keys for students who drill with the keyboard. The digit keys 1 to 9, then 0, "-" and "=" tick the
// answer standing in slot 1 to 12 (slots counted down the left column, then down the right), or in a
// sentence question move to list 1 to 4. Tab, Shift+Tab and the arrow keys move through the answers in
// slot order, and Space ticks the focused one. Space ticks a focused check box and opens a focused
// list, Space or Enter presses a focused button; otherwise they press "sprawdź" while it can be
// pressed and "dalej" otherwise, and on the welcome screen start the run, or go on with the kept run
// when one is offered. The focus never rests on what a panel covers.

#include "app/TMainForm.h"
#include "drill/ExamRun.h"
#include "widgets/Accessibility.h"
#include "widgets/TPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>

namespace zdawnik {

namespace {

// The slot a key stands for, 1 to 12, or 0.
int SlotOfKey(int key)
{
    if (key >= Qt::Key_1 && key <= Qt::Key_9)
        return key - Qt::Key_1 + 1;
    switch (key) {
    case Qt::Key_0:
        return 10;
    case Qt::Key_Minus:
        return 11;
    case Qt::Key_Equal:
        return 12;
    default:
        return 0;
    }
}

} // namespace

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this)
        return QWidget::eventFilter(watched, event);
    // Keys are looked at before the focused control sees them; keys for other windows (a list's open
    // drop-down, a message box) pass.
    if (event->type() == QEvent::KeyPress && HandleKey(*static_cast<QKeyEvent*>(event)))
        return true;
    // A panel that comes up over the focused control takes the focus from it.
    if (event->type() == QEvent::Show && qobject_cast<TPanel*>(watched) && isVisible()) {
        QWidget* focus = focusWidget();
        if (focus && !IsOnScreen(focus) && !focusNextPrevChild(true))
            focus->clearFocus();
    }
    return QWidget::eventFilter(watched, event);
}

int TMainForm::AnswerOfPanel(const QWidget* widget) const
{
    for (int n = 1; widget && n <= 12; ++n)
        if (widget == FindComponent(Numbered("pnlOdp", n)))
            return n;
    return 0;
}

std::vector<QWidget*> TMainForm::KeyboardOrder() const
{
    // The answers in slot order, then the sentence's lists and button, then the rest of the window in
    // its tab order: only what the user can see and use.
    const auto usable = [](const QWidget* widget) {
        return widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) && IsOnScreen(widget);
    };
    std::vector<QWidget*> order;
    for (int slot = 1; slot <= 12; ++slot) {
        const int answer = m_answerSlots.answerIn(slot);
        if (QWidget* panel = answer > 0 ? FindComponent(Numbered("pnlOdp", answer)) : nullptr;
            panel && usable(panel))
            order.push_back(panel);
    }
    for (const bool sentence : {true, false})
        for (QWidget* widget = nextInFocusChain(); widget != this; widget = widget->nextInFocusChain())
            if (widget->window() == this && m_pnlOdpowiedzY->isAncestorOf(widget) == sentence &&
                !AnswerOfPanel(widget) && usable(widget))
                order.push_back(widget);
    return order;
}

bool TMainForm::focusNextPrevChild(bool next)
{
    const std::vector<QWidget*> order = KeyboardOrder();
    if (order.empty())
        return false;
    const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    QWidget* focus = focusWidget();
    const auto at = std::find(order.begin(), order.end(), focus);
    if (at != order.end()) {
        const std::size_t index = static_cast<std::size_t>(at - order.begin());
        order[(index + (next ? 1 : order.size() - 1)) % order.size()]->setFocus(reason);
        return true;
    }
    // From a control that has just left the round (disabled, hidden or covered): the next one of the
    // round in the window's own chain, as "sprawdź" hands over to "dalej".
    for (QWidget* widget = focus; widget;) {
        widget = next ? widget->nextInFocusChain() : widget->previousInFocusChain();
        if (widget == focus)
            break;
        if (std::find(order.begin(), order.end(), widget) != order.end()) {
            widget->setFocus(reason);
            return true;
        }
    }
    (next ? order.front() : order.back())->setFocus(reason);
    return true;
}

void TMainForm::FocusWelcome()
{
    // The start panel's first button: going on with the kept run when one is offered.
    auto* goOn = Find<QPushButton>("btnKontynuuj");
    QWidget* first = ContinueOffered() ? static_cast<QWidget*>(goOn)
                     : m_startOffered  ? static_cast<QWidget*>(m_btnStart)
                                       : FindComponent("btnZmienBaze");
    first->setFocus(Qt::OtherFocusReason);
}

bool TMainForm::RunIsOnScreen() const
{
    return m_run->Phase() == DrillPhase::Asking || m_run->Phase() == DrillPhase::Answered ||
           ExamQuestionOnScreen();
}

QWidget* TMainForm::FocusOnScreen() const
{
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->window() == this && IsOnScreen(focus) ? focus : nullptr;
}

void TMainForm::FocusAfterNext(const QWidget* before)
{
    // Who pressed "dalej" or a start button, by key or by mouse, goes on at "sprawdź" (or at "dalej"
    // past a question that could not be shown); a focus the user put on a switch stays there. The end
    // panel takes no focus by itself, so that one Enter too many does not press "koniec".
    if (m_run->Phase() == DrillPhase::Finished) {
        if (QWidget* focus = focusWidget())
            focus->clearFocus();
        return;
    }
    if (before && (AnswerOfPanel(before) || m_pnlOdpowiedzY->isAncestorOf(before))) {
        // Who answered from the question's own controls goes on at the first of the next question's.
        const std::vector<QWidget*> order = KeyboardOrder();
        if (!order.empty() &&
            (AnswerOfPanel(order.front()) || m_pnlOdpowiedzY->isAncestorOf(order.front()))) {
            order.front()->setFocus(Qt::OtherFocusReason);
            return;
        }
    } else if (before && !qobject_cast<const QPushButton*>(before) && FocusOnScreen()) {
        return;
    }
    if (m_run->Phase() == DrillPhase::Asking)
        m_btnCheck->setFocus(Qt::OtherFocusReason);
    else if (m_run->Phase() == DrillPhase::Answered)
        m_btnDalej->setFocus(Qt::OtherFocusReason);
}

bool TMainForm::HandleKey(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
        setAttribute(Qt::WA_KeyboardFocusChange); // the focus shows while the keyboard moves it
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const bool pressKey =
        key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
    QWidget* focus = FocusOnScreen();
    if (const int answer = AnswerOfPanel(focus); answer > 0 && RunIsOnScreen()) {
        // The focused answer: Space ticks it, the arrow keys move to the answer before or after it.
        if (key.key() == Qt::Key_Space) {
            if (!key.isAutoRepeat())
                Dispatch(AnswerHandlers[answer - 1]);
            return true;
        }
        const int step = key.key() == Qt::Key_Up || key.key() == Qt::Key_Left      ? -1
                         : key.key() == Qt::Key_Down || key.key() == Qt::Key_Right ? 1
                                                                                   : 0;
        if (step != 0) {
            std::vector<QWidget*> answers = KeyboardOrder();
            std::erase_if(answers, [this](const QWidget* widget) { return AnswerOfPanel(widget) == 0; });
            const auto at = std::find(answers.begin(), answers.end(), focus) - answers.begin();
            const auto to = at + step;
            if (to >= 0 && to < static_cast<std::ptrdiff_t>(answers.size())) {
                setAttribute(Qt::WA_KeyboardFocusChange); // the focus frame shows for keyboard moves
                answers[static_cast<std::size_t>(to)]->setFocus(Qt::TabFocusReason);
            }
            return true;
        }
    }
    if (pressKey) {
        // A focused control takes the key as its own: Space ticks a check box and opens a list, Space
        // or Enter presses a button. Enter on a list only confirms what it shows (an open list takes
        // the key itself, being a window of its own), so that the answer is not checked before the
        // other lists are chosen. Enter on a check box is the window's, as a dialog's default button
        // takes it. A control hidden under a panel has no say.
        if (auto* button = qobject_cast<QPushButton*>(focus)) {
            if (key.key() == Qt::Key_Space)
                return false; // the button presses itself when Space is let go
            if (!key.isAutoRepeat())
                button->click();
            return true;
        }
        if (key.key() == Qt::Key_Space &&
            (qobject_cast<QAbstractButton*>(focus) || qobject_cast<QComboBox*>(focus)))
            return false;
        if (qobject_cast<QComboBox*>(focus))
            return true;
    }
    if (pressKey && m_run->Phase() == DrillPhase::Welcome) {
        // On the welcome screen Enter and Space start the run, or go on with the kept run when one is
        // offered.
        if (!key.isAutoRepeat())
            Dispatch(ContinueOffered() ? &TMainForm::btnKontynuujClick : &TMainForm::btnStartClick);
        return true;
    }
    if (!RunIsOnScreen())
        return pressKey && focus == nullptr; // nothing on screen to press
    if (pressKey) {
        if (!key.isAutoRepeat()) {
            if (m_run->Phase() == DrillPhase::Asking)
                Dispatch(&TMainForm::btnCheckClick);
            else
                Dispatch(&TMainForm::btnDalejClick);
        }
        return true;
    }
    const int slot = SlotOfKey(key.key());
    if (slot == 0)
        return false;
    if (!m_run->QuestionRead() && !ExamQuestionOnScreen())
        return true;
    if (!m_run->CurrentQuestion().isChoice()) {
        if (slot <= MaxLists && m_run->Sheet().ListInUse[static_cast<std::size_t>(slot - 1)])
            Find<QComboBox>(Numbered("ComboOpcja", slot))->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    const int answer = m_answerSlots.answerIn(slot);
    if (answer > 0 && answer <= m_run->Sheet().Answers)
        Dispatch(AnswerHandlers[answer - 1]);
    return true;
}

} // namespace zdawnik
