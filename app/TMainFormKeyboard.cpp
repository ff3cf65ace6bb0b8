// Keys for students who drill with the keyboard. The answer panels take no focus, so the digit keys
// 1 to 9, then 0, "-" and "=" tick the answer standing in slot 1 to 12 (slots counted down the left
// column, then down the right), or in a sentence question move to list 1 to 4. Space ticks a focused
// check box and opens a focused list, Space or Enter presses a focused button; otherwise they press
// "sprawdź" while it can be pressed and "dalej" otherwise, and on the welcome screen start the run,
// or go on with the kept run when one is offered.

#include "app/TMainForm.h"
#include "widgets/Accessibility.h"
#include "widgets/TPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

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
    // Keys are looked at before the focused control sees them; keys for other windows (a list's open
    // drop-down, a message box) pass.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && HandleKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool TMainForm::RunIsOnScreen() const
{
    return m_pool && !m_pnlStart->isVisible() && !m_pnlKoniec->isVisible();
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
    if (!m_pnlKoniec->isHidden()) {
        if (QWidget* focus = focusWidget())
            focus->clearFocus();
        return;
    }
    if (before && !qobject_cast<const QPushButton*>(before) && FocusOnScreen())
        return;
    if (m_btnCheck->isEnabled())
        m_btnCheck->setFocus(Qt::OtherFocusReason);
    else if (m_btnDalej->isEnabled())
        m_btnDalej->setFocus(Qt::OtherFocusReason);
}

bool TMainForm::HandleKey(const QKeyEvent& key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const bool pressKey =
        key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
    QWidget* focus = FocusOnScreen();
    if (pressKey) {
        // A focused control takes the key as its own: Space ticks a check box and opens a list, Space
        // or Enter presses a button. Enter on a check box or a list is the window's, as a dialog's
        // default button takes it. A control hidden under a panel has no say.
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
    }
    if (pressKey && m_pnlStart->isVisible() && m_btnStart->isVisible()) {
        // On the welcome screen Enter and Space start the run, or go on with the kept run when one is
        // offered.
        if (!key.isAutoRepeat())
            Dispatch(FindComponent("btnKontynuuj")->isVisibleTo(m_pnlStart) ? &TMainForm::btnKontynuujClick
                                                                            : &TMainForm::btnStartClick);
        return true;
    }
    if (!RunIsOnScreen())
        return pressKey && focus == nullptr; // nothing on screen to press
    if (pressKey) {
        if (!key.isAutoRepeat()) {
            if (m_btnCheck->isEnabled())
                Dispatch(&TMainForm::btnCheckClick);
            else if (m_btnDalej->isEnabled())
                Dispatch(&TMainForm::btnDalejClick);
        }
        return true;
    }
    const int slot = SlotOfKey(key.key());
    if (slot == 0)
        return false;
    if (m_pnlOdpowiedzY->isVisible()) {
        if (slot <= 4 && Find<TPanel>(Numbered("pnlWybor", slot))->isVisible())
            Find<QComboBox>(Numbered("ComboOpcja", slot))->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    const int answer = m_answerSlots.answerIn(slot);
    if (answer > 0 && Find<TPanel>(Numbered("pnlOdp", answer))->isVisible())
        Dispatch(AnswerHandlers[answer - 1]);
    return true;
}

} // namespace zdawnik
