#include "app/Application.h"

#include "app/BankChoice.h"
#include "app/CommandLine.h"
#include "app/TMainForm.h"
#include "app/TerminationSignals.h"
#include "assets/BuiltInPictures.h"
#include "base/Platform.h"
#include "base/VisibleText.h"
#include "pictures/PictureLoader.h"
#include "widgets/Accessibility.h"
#include "widgets/LayoutFonts.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QLibraryInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTranslator>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    std::fflush(stream);
}

// The command-line answers that open no window: help, version, a usage error (status 2).
int AnswerWithoutWindow(int argc, char** argv, const CommandLine& command)
{
    QCoreApplication application(argc, argv);
    SetApplicationNames();
    switch (command.Asked) {
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
    // The error quotes the option as typed, which may hold any byte.
    Print(stderr, QStringLiteral("zdawnik: %1\nTry 'zdawnik --help' for more information.\n")
                      .arg(QString::fromStdString(VisibleText(command.Error.toStdString()))));
    return 2;
}

const char* const NoDisplay = "zdawnik: no display to open the window on\n";

// Whether the window system has somewhere to open the window: a platform named for Qt (-platform or
// QT_QPA_PLATFORM), or, where Qt's default is X11 or Wayland, a display in the environment.
bool DisplayNamed(const QStringList& arguments)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    if (std::any_of(arguments.begin(), arguments.end(), [](const QString& argument) {
            for (const QLatin1String option : {QLatin1String("-platform"), QLatin1String("--platform")})
                if (argument == option || argument.startsWith(option + QLatin1Char('=')))
                    return true;
            return false;
        }))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    Q_UNUSED(arguments);
    return true;
#endif
}

QtMessageHandler QtHandler = nullptr;

// While the application connects to the window system: a display named but out of reach (a server
// gone, a display forwarded from a closed session) ends the program with its own words and status 1,
// where Qt would abort and advise reinstalling. Qt's word on the display itself still goes out.
void WhileConnecting(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fputs(NoDisplay, stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (context.category && std::strcmp(context.category, "qt.qpa.plugin") == 0)
        return;
    QtHandler(type, context, message);
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

void InstallQtTranslations(QCoreApplication& application)
{
    // The window speaks Polish whatever the system's language, and so do the dialogs Qt makes for it.
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void InitialiseApplication(QApplication& application)
{
    SetApplicationNames();
    InstallQtTranslations(application);
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
    if (const CommandLine early = ParseCommandLine(raw); early.Asked != CommandLine::Action::OpenWindow)
        return AnswerWithoutWindow(argc, argv, early);
    if (!DisplayNamed(raw)) {
        std::fputs(NoDisplay, stderr);
        return 1;
    }

    QtHandler = qInstallMessageHandler(WhileConnecting);
    QApplication application(argc, argv);
    qInstallMessageHandler(QtHandler);
    InitialiseApplication(application);
    // Read again as the application gives it: the toolkit's options taken out, every character whole.
    const CommandLine command = ParseCommandLine(QCoreApplication::arguments());
    QSettings settings;
    MainFormEnvironment environment;
    environment.BankDir = InitialBank(command.BankFolder, &settings, platform::ExecutableDirectory());
    environment.ChosenBank =
        environment.BankDir != platform::JoinName(platform::ExecutableDirectory(), "baza");
    // Only a bank with questions is remembered: a missing or empty folder is no bank to start with.
    if (!command.BankFolder.isEmpty() && !ScanBank(environment.BankDir).empty())
        RememberBank(settings, environment.BankDir);
    environment.Settings = &settings;
    environment.Exam = command.Exam;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!dataFolder.isEmpty())
        environment.StateDir = QDir(dataFolder).filePath(QStringLiteral("progress"));
    // One picture loader, and one metafile helper, for the whole run.
    PictureLoader pictures;
    environment.Pictures = &pictures;
    TMainForm window(environment);
    // A logout or a shutdown closes the window as its close box does: the run is kept.
    new TerminationSignals(window);
    // The helper gets ready while the user reads the start panel.
    StartHelperOnceShown(window, pictures);
    window.show();
    return application.exec();
}

} // namespace zdawnik
