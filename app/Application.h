#pragma once

class QApplication;

namespace zdawnik {

// Settings every run of the window shares, the program's and the tests' alike: the application's
// title, the style, the fonts that stand in for the layout's Windows fonts, the icon.
void InitialiseApplication(QApplication& application);

// The program: one window over the bank beside the executable, until that window closes.
int RunProgram(int argc, char** argv);

} // namespace zdawnik
