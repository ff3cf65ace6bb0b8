#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "drill/ExamSettings.h"

namespace zdawnik {

// What the command line asks of the program:
// zdawnik [options] [--egzamin N [--czas MINUTY] [--prog PROCENT]] [KATALOG].
struct CommandLine
{
    enum class Action
    {
        OpenWindow,
        ShowHelp,
        ShowVersion,
        UsageError,
    };
    Action Asked = Action::OpenWindow;
    // The folder named as the bank, as given; empty when none was.
    QString BankFolder;
    // A practice exam to start at once. The number of questions is at least 1; whether the bank has
    // that many question files is for the window to tell.
    std::optional<ExamSettings> Exam;
    // For a usage error: what is wrong.
    QString Error;
};

// Reads the arguments, the program's name first. The toolkit's own options (-platform, -style and
// the like) are let through for it to take.
CommandLine ParseCommandLine(const QStringList& arguments);

// What --help prints. The application object must exist.
QString CommandLineHelp();

} // namespace zdawnik
