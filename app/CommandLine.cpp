#include "app/CommandLine.h"

#include <QCommandLineParser>

#include <algorithm>
#include <limits>

namespace zdawnik {

namespace {

const QString BankArgument = QStringLiteral("KATALOG");
const QString ExamOption = QStringLiteral("egzamin");
const QString MinutesOption = QStringLiteral("czas");
const QString PassMarkOption = QStringLiteral("prog");

void Describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Drill a bank of exam questions by repetition, in one window (in Polish).\n"
                       "Without KATALOG, the bank used last is opened, or the folder \"baza\" beside\n"
                       "the program. The run on every bank is kept when the window closes and\n"
                       "offered again on the next start.\n"
                       "With --egzamin, a practice exam of N questions drawn from the bank starts at\n"
                       "once. Qt's own options, such as -platform and -style, are taken as well."));
    // Qt's own options come one dash and a word, as "-platform offscreen".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Display this help and exit.")));
    QCommandLineOption helpAll(QStringLiteral("help-all"));
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(helpAll);
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                        QStringLiteral("Display the version and exit.")));
    parser.addOption(QCommandLineOption(
        ExamOption, QStringLiteral("Start a practice exam of N questions (at least 1) at once."),
        QStringLiteral("N")));
    parser.addOption(
        QCommandLineOption(MinutesOption,
                           QStringLiteral("The exam's time in minutes, %1 to %2 (%3 when not given).")
                               .arg(ExamSettings::MinMinutes)
                               .arg(ExamSettings::MaxMinutes)
                               .arg(ExamSettings::DefaultMinutes),
                           QStringLiteral("MINUTY")));
    parser.addOption(QCommandLineOption(
        PassMarkOption,
        QStringLiteral(
            "The share of good answers that passes the exam, in percent, %1 to %2 (%3 when not given).")
            .arg(ExamSettings::MinPassMark)
            .arg(ExamSettings::MaxPassMark)
            .arg(ExamSettings::DefaultPassMark),
        QStringLiteral("PROCENT")));
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

// The number a value of an option writes in decimal digits alone, when it lies from low to high.
std::optional<int> WholeNumber(const QString& text, int low, int high)
{
    if (text.isEmpty() ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < low || number > high)
        return std::nullopt;
    return number;
}

// The exam the options ask for, or what is wrong with them.
std::optional<ExamSettings> ReadExam(const QCommandLineParser& parser, QString& error)
{
    if (!parser.isSet(ExamOption)) {
        if (parser.isSet(MinutesOption) || parser.isSet(PassMarkOption))
            error = QStringLiteral("--czas and --prog belong to an exam: give --egzamin N as well.");
        return std::nullopt;
    }
    ExamSettings exam;
    const QString questions = parser.value(ExamOption);
    if (const std::optional<int> number = WholeNumber(questions, 1, std::numeric_limits<int>::max()))
        exam.Questions = *number;
    else
        error = QStringLiteral("--egzamin wants the number of questions, a whole number from 1, not '%1'.")
                    .arg(questions);
    if (parser.isSet(MinutesOption)) {
        const QString minutes = parser.value(MinutesOption);
        if (const std::optional<int> number =
                WholeNumber(minutes, ExamSettings::MinMinutes, ExamSettings::MaxMinutes))
            exam.Minutes = *number;
        else if (error.isEmpty())
            error = QStringLiteral(
                        "--czas wants the exam's time, a whole number of minutes from %1 to %2, not '%3'.")
                        .arg(ExamSettings::MinMinutes)
                        .arg(ExamSettings::MaxMinutes)
                        .arg(minutes);
    }
    if (parser.isSet(PassMarkOption)) {
        const QString passMark = parser.value(PassMarkOption);
        if (const std::optional<int> number =
                WholeNumber(passMark, ExamSettings::MinPassMark, ExamSettings::MaxPassMark))
            exam.PassMark = *number;
        else if (error.isEmpty())
            error = QStringLiteral("--prog wants the pass mark, a whole percentage from %1 to %2, not '%3'.")
                        .arg(ExamSettings::MinPassMark)
                        .arg(ExamSettings::MaxPassMark)
                        .arg(passMark);
    }
    if (!error.isEmpty())
        return std::nullopt;
    return exam;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    Describe(parser);
    CommandLine command;
    if (!parser.parse(arguments)) {
        command.Asked = CommandLine::Action::UsageError;
        command.Error = parser.errorText();
        return command;
    }
    // zdawnik lists Qt's own options in its help: there is no further help of them.
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        command.Asked = CommandLine::Action::ShowHelp;
        return command;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        command.Asked = CommandLine::Action::ShowVersion;
        return command;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        command.Asked = CommandLine::Action::UsageError;
        command.Error = QStringLiteral("One folder only, not %1.").arg(folders.size());
        return command;
    }
    command.Exam = ReadExam(parser, command.Error);
    if (!command.Error.isEmpty()) {
        command.Asked = CommandLine::Action::UsageError;
        return command;
    }
    if (!folders.isEmpty())
        command.BankFolder = folders.first();
    return command;
}

QString CommandLineHelp()
{
    QCommandLineParser parser;
    Describe(parser);
    return parser.helpText();
}

} // namespace zdawnik
