#include "app/CommandLine.h"

#include <QCommandLineParser>

namespace zdawnik {

namespace {

const QString BankArgument = QStringLiteral("KATALOG");

void Describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Drill a bank of exam questions by repetition, in one window (in Polish).\n"
                       "Without KATALOG, the bank used last is opened, or the folder \"baza\" beside\n"
                       "the program. The run on every bank is kept when the window closes and\n"
                       "offered again on the next start."));
    // Qt's own options come one dash and a word, as "-platform offscreen".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Display this help and exit.")));
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                        QStringLiteral("Display the version and exit.")));
    parser.addPositionalArgument(BankArgument,
                                 QStringLiteral("The question bank: a folder of *.txt question files."),
                                 QStringLiteral("[%1]").arg(BankArgument));

    // The options every Qt program takes, which the application object reads and removes itself.
    const char* const withValue[] = {"platform",        "platformpluginpath", "platformtheme", "plugin",
                                     "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
                                     "display",         "geometry",           "name",          "style",
                                     "stylesheet",      "qmljsdebugger"};
    const char* const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    Describe(parser);
    CommandLine command;
    if (!parser.parse(arguments)) {
        command.action = CommandLine::Action::UsageError;
        command.error = parser.errorText();
        return command;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        command.action = CommandLine::Action::ShowHelp;
        return command;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        command.action = CommandLine::Action::ShowVersion;
        return command;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        command.action = CommandLine::Action::UsageError;
        command.error = QStringLiteral("One folder only, not %1.").arg(folders.size());
        return command;
    }
    if (!folders.isEmpty())
        command.bankFolder = folders.first();
    return command;
}

QString CommandLineHelp()
{
    QCommandLineParser parser;
    Describe(parser);
    return parser.helpText();
}

} // namespace zdawnik
