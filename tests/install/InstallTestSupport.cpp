#include "InstallTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace zdawnik::install_test {

namespace {

// Far above what any of these runs takes; reaching it means the child hangs.
constexpr int HangLimitMs = 30000;

} // namespace

QString ProcessResult::describe(const QString& what) const
{
    return QStringLiteral("%1: %2, exit code %3\n--- stdout\n%4\n--- stderr\n%5")
        .arg(what, finished ? QStringLiteral("finished") : QStringLiteral("did not finish"))
        .arg(exitCode)
        .arg(out, err);
}

ProcessResult Run(const QString& program, const QStringList& arguments, const QString& workDir,
                  const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workDir);
    process.setProcessEnvironment(environment);
    process.start();
    ProcessResult result;
    if (!process.waitForStarted(HangLimitMs)) {
        result.err = process.errorString();
        return result;
    }
    process.closeWriteChannel();
    const bool ended = process.waitForFinished(HangLimitMs);
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    result.finished = ended && process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

ProcessResult InstallBuildTree(const QString& prefix, const QString& workDir, const QString& stage)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (stage.isEmpty())
        environment.remove(QStringLiteral("DESTDIR"));
    else
        environment.insert(QStringLiteral("DESTDIR"), stage);
    return Run(
        QStringLiteral(ZDAWNIK_CMAKE_COMMAND),
        {QStringLiteral("--install"), QStringLiteral(ZDAWNIK_BUILD_DIR), QStringLiteral("--prefix"), prefix},
        workDir, environment);
}

QProcessEnvironment ProbeEnvironment(const QString& task, const QString& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(ZDAWNIK_PROBE_PLUGIN_DIR));
    QString probe = QStringLiteral("zdawnikprobe");
    if (!task.isEmpty())
        probe += QLatin1Char(':') + task;
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), probe);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    return environment;
}

ProbeReport ReadProbeReport(const ProcessResult& process, const QString& questionFile)
{
    ProbeReport report;
    report.process = process;
    for (const QString& line : report.process.out.split(QLatin1Char('\n'))) {
        const QString word = line.section(QLatin1Char(' '), 0, 0);
        const QString rest = line.section(QLatin1Char(' '), 1);
        if (word == QLatin1String("window")) {
            report.windowFound = rest == QLatin1String("found");
        } else if (word == QLatin1String("bank")) {
            report.bank = rest;
        } else if (word == QLatin1String("progress")) {
            report.progress = rest;
        } else if (word == QLatin1String("saving")) {
            report.saving = rest;
        } else if (word == QLatin1String("questions")) {
            report.questions = rest;
        } else if (word == QLatin1String("gauge")) {
            report.gauge = rest; // the last one
        } else if (word == QLatin1String("status")) {
            report.status = rest;
        } else if (word == QLatin1String("message")) {
            report.messages << rest;
        } else if (word == QLatin1String("shown")) {
            report.questionShown = rest == questionFile;
        } else if (word == QLatin1String("answer")) {
            const int n = rest.section(QLatin1Char(' '), 0, 0).toInt();
            const bool visible = rest.section(QLatin1Char(' '), 1, 1) == QLatin1String("1");
            report.answers[n] = {visible, rest.section(QLatin1Char(' '), 2)};
        } else if (word == QLatin1String("end")) {
            report.ended = true;
        }
    }
    return report;
}

ProbeReport RunWithProbe(const QString& program, const QString& workDir, const QString& questionFile,
                         const QStringList& arguments, const QString& home, const QString& task)
{
    QTemporaryDir freshHome;
    const QString userHome = home.isEmpty() ? freshHome.path() : home;
    const QString what = task.isEmpty() ? questionFile : task;
    return ReadProbeReport(Run(program, arguments, workDir, ProbeEnvironment(what, userHome)), questionFile);
}

QStringList FilesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList SampleBankFiles()
{
    return FilesIn(QStringLiteral(ZDAWNIK_SOURCE_DIR "/baza"));
}

QStringList SampleQuestionFiles()
{
    return QDir(QStringLiteral(ZDAWNIK_SOURCE_DIR "/baza"))
        .entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
}

namespace {

QStringList RelativeLinks(const QString& markdown)
{
    // [text](target) and ![text](target); a target with a scheme or an anchor alone leaves the file.
    static const QRegularExpression Link(QStringLiteral("\\]\\(([^)\\s#]+)[^)]*\\)"));
    QStringList links;
    for (const QRegularExpressionMatch& match : Link.globalMatch(markdown)) {
        const QString target = match.captured(1);
        if (!target.contains(QLatin1String("://")) && !target.startsWith(QLatin1String("mailto:")))
            links << target;
    }
    return links;
}

QString ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

QStringList ReadmeLinks()
{
    return RelativeLinks(ReadAll(QStringLiteral(ZDAWNIK_SOURCE_DIR "/README.md")));
}

QStringList UnresolvedReadmeLinks(const QString& readme)
{
    const QString text = ReadAll(readme);
    if (text.isEmpty())
        return {readme};
    QStringList unresolved;
    const QDir beside = QFileInfo(readme).dir();
    for (const QString& link : RelativeLinks(text)) {
        if (!QFileInfo(beside.filePath(link)).isFile())
            unresolved << link;
    }
    return unresolved;
}

QString CheckerFoundTheSampleBank(const ProcessResult& check)
{
    if (!check.finished || check.exitCode != 0)
        return check.describe(QStringLiteral("zdawnik-check"));
    const QString summary =
        QStringLiteral("%1 question files, no problems\n").arg(SampleQuestionFiles().size());
    return check.out.endsWith(summary) ? QString() : check.out;
}

} // namespace zdawnik::install_test
