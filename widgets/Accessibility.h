#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

namespace zdawnik {

class TLabel;

// Lets screen readers read the program's own controls: a label by its caption (without the
// access-letter marks), a value by its caption and itself, a gauge as a read-only progress bar by its
// percentage, a picture and a panel by the name and description the program gives them, and a panel
// that keeps its state in a hidden check box as a check box of its own. A window or panel offers only
// the children the user can see. Call once after the application exists.
void InstallAccessibleInterfaces();

// A caption as it reads: "&" marks the next letter as an access letter and is not read, "&&" stands
// for one "&".
QString CaptionText(const QString& caption);

// Whether the user can see the widget: it is shown, and no panel stacked above it, or above one of
// its parents, covers it whole. A covered control is neither offered to screen readers nor reached
// by the keyboard.
bool IsOnScreen(const QWidget* widget);

// The label that captions a value (a label or a gauge) beside it: the value reads as the caption
// followed by itself, "Ilość opanowanych pytań: 3", and the caption is not offered on its own.
void SetCaptionLabel(QWidget* value, TLabel* caption);

// A widget whose text a screen reader hears as part of another object, and not on its own.
void ReadAsPartOfAnother(QWidget* widget);

// The role a screen reader gives a picture or a panel, instead of a graphic or a grouping.
void SetAccessibleRole(QWidget* widget, QAccessible::Role role);

// Tells screen readers that what the widget reads as, or whether it is ticked, has changed.
void NotifyNameChanged(QWidget* widget);
void NotifyCheckedChanged(QWidget* widget);
// Tells screen readers to announce the widget that has just come up (an alert).
void Announce(QWidget* widget);

} // namespace zdawnik
