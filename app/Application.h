#pragma once

class QApplication;
class QWidget;

namespace zdawnik {

class PictureLoader;

// Settings every run of the window shares, the program's and the tests' alike: the application's
// title, the style, the fonts that stand in for the layout's Windows fonts, the icon.
void InitialiseApplication(QApplication& application);

// Starts the metafile helper of pictures once window has been painted for the first time: its start
// competes with the window's for the processor, and the user cannot reach a picture before the
// window is there.
void StartHelperOnceShown(QWidget& window, PictureLoader& pictures);

// The program: one window over the bank beside the executable, until that window closes.
int RunProgram(int argc, char** argv);

} // namespace zdawnik
