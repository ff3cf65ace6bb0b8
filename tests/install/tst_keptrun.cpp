// The kept run, with the program as a process of its own: killed right after a check, it is taken
// up again on the next start with that check in it, and the dead window's lock does not stand in
// the way.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "InstallTestSupport.h"

using namespace zdawnik::install_test;

namespace {

const QString Program = QStringLiteral(ZDAWNIK_BUILD_DIR "/bin/zdawnik");

// Far above what the program takes to start and check; reaching it means it hangs.
constexpr int HangLimitMs = 30000;

} // namespace

class TestKeptRun : public QObject
{
    Q_OBJECT

private slots:
    void killedRightAfterACheck()
    {
        QTemporaryDir root;
        const QString bank = root.filePath(QStringLiteral("baza"));
        const QString home = root.filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(bank));
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
            QFile file(bank + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("X1\r\nPytanie\r\ntak\r\n");
        }

        // "zaczynam się uczyć", "sprawdź" with nothing ticked (a wrong answer), and the end: SIGKILL.
        QProcess process;
        process.setProgram(Program);
        process.setArguments({bank});
        process.setWorkingDirectory(root.path());
        process.setProcessEnvironment(ProbeEnvironment(QStringLiteral("check-and-wait"), home));
        process.start();
        QVERIFY2(process.waitForStarted(HangLimitMs), qPrintable(process.errorString()));
        QByteArray out;
        while (!out.contains("checked\n") && process.waitForReadyRead(HangLimitMs))
            out += process.readAllStandardOutput();
        QVERIFY2(out.contains("gauge 0/1\nchecked\n"), out.constData());
        process.kill();
        QVERIFY(process.waitForFinished(HangLimitMs));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);

        const ProbeReport report =
            RunWithProbe(Program, root.path(), {}, {bank}, home, QStringLiteral("continue"));
        QVERIFY2(report.process.finished && report.ended, qPrintable(report.process.describe(Program)));
        QCOMPARE(report.progress,
                 QStringLiteral("Zapisany postęp: 0 z 3 pytań opanowanych, czas nauki 0:00:00"));
        QCOMPARE(report.saving, QString()); // the lock of the killed window is taken over
        QCOMPARE(report.questions, QStringLiteral("3"));
        QCOMPARE(report.gauge, QStringLiteral("0/1"));
        QVERIFY2(report.messages.isEmpty(), qPrintable(report.messages.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestKeptRun)
#include "tst_keptrun.moc"
