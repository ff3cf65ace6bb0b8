// zdawnik-check: reads every question file of a bank exactly as Zdawnik does and tells every mistake
// that shows in the window, at its line. Exit status: 0 no problem, 1 problems, 2 the checker could
// not do its job.

#include "base/Platform.h"
#include "base/VisibleText.h"
#include "check/BrokenPipe.h"
#include "check/CheckRun.h"
#include "check/PictureCheck.h"
#include "pictures/PictureLoader.h"
#include "widgets/LayoutFonts.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <iostream>

using namespace zdawnik;

namespace {

// Writes a text the parser made to out; false when it cannot be written.
bool Print(std::FILE* out, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out) == std::size_t(bytes.size()) &&
        std::fflush(out) == 0)
        return true;
    EndIfReaderGone(errno);
    return false;
}

QtMessageHandler QtHandler = nullptr;

// Qt looks into the runtime folder to learn whether it runs in a sandbox, and warns where the system
// names none, as in cron, CI and containers. The checker keeps nothing there: the warning is noise in
// its output.
void WithoutRuntimeFolderWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        QtHandler(type, context, message);
}

// The folders and files named on the command line, as the system's bytes: Qt's text of an argument
// loses bytes that are no UTF-8, so each is matched back to the argument it came from.
std::vector<std::filesystem::path> RawPaths(const QStringList& positional, int argc, char** argv)
{
    std::vector<std::filesystem::path> paths;
    qsizetype next = 0;
    bool optionsEnded = false;
    for (int i = 1; i < argc && next < positional.size(); ++i) {
        const QString decoded = QString::fromLocal8Bit(argv[i]);
        if (!optionsEnded && decoded == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if ((optionsEnded || !decoded.startsWith('-')) && decoded == positional[next]) {
            paths.emplace_back(argv[i]);
            ++next;
        }
    }
    return paths;
}

} // namespace

int main(int argc, char** argv)
{
    // Texts are measured with the window's fonts, but no window opens: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QtHandler = qInstallMessageHandler(WithoutRuntimeFolderWarning);
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("zdawnik-check"));
    QGuiApplication::setApplicationVersion(QStringLiteral(ZDAWNIK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks the question files (*.txt) of a Zdawnik bank as the program reads and shows them,\n"
        "and prints every mistake as file:line: message. Without a path, checks the folder\n"
        "\"baza\" beside this program.\n"
        "Exit status: 0 no problem, 1 problems, 2 a path could not be read, an option is\n"
        "unknown, or the report could not be written."));
    // As zdawnik's: the checker takes none of Qt's own options, so --help-all is the same help.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Display this help and exit."));
    QCommandLineOption helpAll(QStringLiteral("help-all"));
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Display the version and exit."));
    parser.addOption(help);
    parser.addOption(helpAll);
    parser.addOption(version);
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print one JSON object per file."));
    const QCommandLineOption verbose(
        QStringLiteral("verbose"),
        QStringLiteral("Print a summary line for every file, also a file without problems."));
    parser.addOption(json);
    parser.addOption(verbose);
    parser.addPositionalArgument(QStringLiteral("paths"),
                                 QStringLiteral("Bank folders and single question files."),
                                 QStringLiteral("[path...]"));

    if (!parser.parse(application.arguments())) {
        // The error quotes the option as typed, which may hold any byte.
        const QString error = QString::fromStdString(VisibleText(parser.errorText().toStdString()));
        Print(stderr, "zdawnik-check: " + error + "\nTry 'zdawnik-check --help' for more information.\n");
        return CouldNotCheck;
    }
    if (parser.isSet(help) || parser.isSet(helpAll))
        return Print(stdout, parser.helpText()) ? NoProblems : CouldNotCheck;
    if (parser.isSet(version))
        return Print(stdout, "zdawnik-check " + QGuiApplication::applicationVersion() + "\n") ? NoProblems
                                                                                              : CouldNotCheck;

    std::vector<std::filesystem::path> paths = RawPaths(parser.positionalArguments(), argc, argv);
    if (paths.empty())
        paths.push_back(platform::JoinName(platform::ExecutableDirectory(), "baza"));

    InstallFontSubstitutes();
    // The metafile helper gets ready while the bank is listed.
    CheckerPictures().StartHelper();
    CheckRun run(CheckOptions{parser.isSet(json), parser.isSet(verbose)}, std::cout, std::cerr);
    return run.run(paths);
}
