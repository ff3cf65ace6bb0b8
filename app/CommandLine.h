#pragma once

#include <QString>
#include <QStringList>

namespace zdawnik {

// What the command line asks of the program: zdawnik [options] [KATALOG].
struct CommandLine
{
    enum class Action
    {
        OpenWindow,
        ShowHelp,
        ShowVersion,
        UsageError,
    };
    Action action = Action::OpenWindow;
    // The folder named as the bank, as given; empty when none was.
    QString bankFolder;
    // For a usage error: what is wrong.
    QString error;
};

// Reads the arguments, the program's name first. The toolkit's own options (-platform, -style and
// the like) are let through for it to take.
CommandLine ParseCommandLine(const QStringList& arguments);

// What --help prints. The application object must exist.
QString CommandLineHelp();

} // namespace zdawnik
