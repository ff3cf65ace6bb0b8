#include "app/Application.h"

#include "app/BankChoice.h"
#include "app/CommandLine.h"
#include "app/TMainForm.h"
#include "assets/BuiltInPictures.h"
#include "base/Platform.h"
#include "pictures/PictureLoader.h"
#include "widgets/Accessibility.h"
#include "widgets/LayoutFonts.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QWidget>

#include <cstdio>
#include <functional>

namespace zdawnik {

namespace {

// The names the program goes by: the title of the task-bar entry and of the error reports, and the
// folders of the settings and of the kept progress. No display name is set: the platform would
// append it to every window title.
void SetApplicationNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Zdawnik"));
    QCoreApplication::setApplicationName(QStringLiteral("Zdawnik"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZDAWNIK_VERSION));
}

void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The command-line answers that open no window: help, version, a usage error (status 2).
int AnswerWithoutWindow(int argc, char** argv, const CommandLine& command)
{
    QCoreApplication application(argc, argv);
    SetApplicationNames();
    switch (command.action) {
    case CommandLine::Action::ShowHelp:
        Print(stdout, CommandLineHelp());
        return 0;
    case CommandLine::Action::ShowVersion:
        Print(stdout, QStringLiteral("zdawnik %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    case CommandLine::Action::UsageError:
    case CommandLine::Action::OpenWindow:
        break;
    }
    Print(stderr,
          QStringLiteral("zdawnik: %1\nTry 'zdawnik --help' for more information.\n").arg(command.error));
    return 2;
}

// Watches a window for its first paint, then, once that paint is done, calls its work once.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget& window, std::function<void()> work) : QObject(&window), m_work(std::move(work))
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued, so that it runs after the window and its children have been drawn.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_work();
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_work;
};

} // namespace

void StartHelperOnceShown(QWidget& window, PictureLoader& pictures)
{
    new AfterFirstPaint(window, [&pictures] { pictures.StartHelper(); });
}

void InitialiseApplication(QApplication& application)
{
    SetApplicationNames();
    QApplication::setDesktopFileName(QStringLiteral("io.github.zdawnik.zdawnik"));
    // One look on every system, so the layout's pixel places hold everywhere.
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    InstallFontSubstitutes();
    InstallAccessibleInterfaces();
    QApplication::setWindowIcon(assets::ApplicationIcon());
}

int RunProgram(int argc, char** argv)
{
    // The command line is read before the window system is reached, so --help and a mistyped option
    // are answered also where no display is.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (const CommandLine early = ParseCommandLine(raw); early.action != CommandLine::Action::OpenWindow)
        return AnswerWithoutWindow(argc, argv, early);

    QApplication application(argc, argv);
    InitialiseApplication(application);
    // Read again as the application gives it: the toolkit's options taken out, every character whole.
    const CommandLine command = ParseCommandLine(QCoreApplication::arguments());
    QSettings settings;
    MainFormEnvironment environment;
    environment.BankDir = InitialBank(command.bankFolder, &settings, platform::ExecutableDirectory());
    std::error_code error;
    if (!command.bankFolder.isEmpty() && std::filesystem::is_directory(environment.BankDir, error))
        RememberBank(settings, environment.BankDir);
    environment.Settings = &settings;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!dataFolder.isEmpty())
        environment.StateDir = QDir(dataFolder).filePath(QStringLiteral("progress"));
    // One picture loader, and one metafile helper, for the whole run.
    PictureLoader pictures;
    environment.Pictures = &pictures;
    TMainForm window(environment);
    // The helper gets ready while the user reads the start panel.
    StartHelperOnceShown(window, pictures);
    window.show();
    return application.exec();
}

} // namespace zdawnik
