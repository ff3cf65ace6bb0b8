#pragma once

#include <QString>

class QWidget;

namespace zdawnik {

// Whether the user can see the widget: it is shown, and no panel stacked above it, or above one of
// its parents, covers it whole. A covered control is neither offered to screen readers nor reached
// by the keyboard.
bool IsOnScreen(const QWidget* widget);

// Lets screen readers read the program's own controls: a label by its caption (without the
// access-letter marks), a gauge as a progress bar with its value and range, a picture and a panel
// by the name and description the program gives them. Call once after the application exists.
void InstallAccessibleInterfaces();

// A caption as it reads: "&" marks the next letter as an access letter and is not read, "&&" stands
// for one "&".
QString CaptionText(const QString& caption);

} // namespace zdawnik
