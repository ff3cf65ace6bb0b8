#pragma once

// What the installation and archive tests share: running programs, starting an installed Zdawnik
// with the probe plugin inside it, and the sample bank the installed copies must match.

#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace zdawnik::install_test {

struct ProcessResult
{
    bool finished = false; // false: it did not start, crashed or outran the time limit
    int exitCode = -1;
    QString out;
    QString err;

    // The command, its status and its output, for a failure message.
    QString describe(const QString& what) const;
};

// Runs program to its end in workDir (a limit guards against a hung child, it is no measurement).
ProcessResult Run(const QString& program, const QStringList& arguments, const QString& workDir,
                  const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// cmake --install of the build tree into prefix, with DESTDIR when stage is given.
ProcessResult InstallBuildTree(const QString& prefix, const QString& workDir,
                               const QString& stage = QString());

// The environment the probe runs the program in: the offscreen platform, the probe loaded with its
// task (see probe/ZdawnikProbe.cpp), and the user's own folders, for the settings and the kept runs,
// inside home, so that no test reads or writes the real ones.
QProcessEnvironment ProbeEnvironment(const QString& task, const QString& home);

// What the probe saw in one run of the program.
struct ProbeReport
{
    ProcessResult process;
    bool windowFound = false;
    bool ended = false;
    QString bank;         // the start panel's line on the bank in use
    QString progress;     // its line on the kept run, when it showed one
    QString saving;       // its line on keeping the run, when it showed one
    QString questions;    // the question count the window showed after the start
    QString gauge;        // the good-answers gauge as the probe saw it last, "good/all"
    QString status;       // the line above the question after the start, when it showed one
    QStringList messages; // every message box, "title: text"
    bool questionShown = false;
    // For each answer place of the wanted question: whether its picture is visible, and its caption.
    QMap<int, QPair<bool, QString>> answers;
};

// Reads the probe's lines.
ProbeReport ReadProbeReport(const ProcessResult& process, const QString& questionFile = QString());

// Starts program (a path, possibly a symbolic link) with arguments under the offscreen platform
// with the probe plugin loaded, presses "zaczynam się uczyć", and, if questionFile is given, draws
// questions until that one is shown. home: the user's folders; empty, fresh ones for this run.
ProbeReport RunWithProbe(const QString& program, const QString& workDir,
                         const QString& questionFile = QString(), const QStringList& arguments = {},
                         const QString& home = QString(), const QString& task = QString());

// The sample bank in the source tree: all its file names, and the question files among them.
QStringList SampleBankFiles();
QStringList SampleQuestionFiles();

// A sample question whose six answers are pictures in the six formats, EMF and WMF among them.
inline const QString AllFormatsQuestion = QStringLiteral("obraz-01-ksztalty.txt");
constexpr int AllFormatsAnswers = 6;

// The relative links of the README in the source tree (documents and pictures), as written.
QStringList ReadmeLinks();

// The links of the README at readme that lead to no file beside it; empty when all resolve.
QStringList UnresolvedReadmeLinks(const QString& readme);

// Whether zdawnik-check ran and found the whole sample bank without a problem; a message otherwise.
QString CheckerFoundTheSampleBank(const ProcessResult& check);

// Sorted names of the files (not folders) directly in dir.
QStringList FilesIn(const QString& dir);

} // namespace zdawnik::install_test
