#include "app/Application.h"

#include "app/TMainForm.h"
#include "assets/BuiltInPictures.h"
#include "base/Platform.h"
#include "widgets/Accessibility.h"
#include "widgets/LayoutFonts.h"

#include <QApplication>
#include <QStyleFactory>

namespace zdawnik {

void InitialiseApplication(QApplication& application)
{
    // The title of the task-bar entry and of the program's error reports. No display name is set:
    // the platform would append it to every window title.
    QApplication::setApplicationName(QStringLiteral("Zdawnik"));
    QApplication::setApplicationVersion(QStringLiteral(ZDAWNIK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.zdawnik.zdawnik"));
    // One look on every system, so the layout's pixel places hold everywhere.
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    InstallFontSubstitutes();
    InstallAccessibleInterfaces();
    QApplication::setWindowIcon(assets::ApplicationIcon());
}

int RunProgram(int argc, char** argv)
{
    QApplication application(argc, argv);
    InitialiseApplication(application);
    MainFormEnvironment environment;
    environment.BankDir = platform::JoinName(platform::ExecutableDirectory(), "baza");
    TMainForm window(environment);
    MainForm = &window;
    window.show();
    const int status = application.exec();
    MainForm = nullptr;
    return status;
}

} // namespace zdawnik
