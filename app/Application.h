#pragma once

class QApplication;
class QCoreApplication;
class QWidget;

namespace zdawnik {

class PictureLoader;

// Qt's own texts in Polish: the buttons and dialogs Qt makes, such as the folder dialog.
void InstallQtTranslations(QCoreApplication& application);

// Settings every run of the window shares, the program's and the tests' alike: the application's
// title, the style, Qt's texts in Polish, the fonts that stand in for the layout's Windows fonts, the icon.
void InitialiseApplication(QApplication& application);

// Starts the metafile helper of pictures once window has been painted for the first time: its start
// competes with the window's for the processor, and the user cannot reach a picture before the
// window is there.
void StartHelperOnceShown(QWidget& window, PictureLoader& pictures);

// The program: one window over the bank beside the executable, until that window closes.
int RunProgram(int argc, char** argv);

} // namespace zdawnik
