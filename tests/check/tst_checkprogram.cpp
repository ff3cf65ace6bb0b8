#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

#include "CheckTestFiles.h"

// The checker as its users run it: arguments, what it prints where, and its exit status. Each case
// runs the real program in a folder of banks, so that the paths it prints are short.
class TestCheckProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    // Qt's own removal of the folder passes over a name that is no text.
    void cleanupTestCase() { std::filesystem::remove_all(m_dir.path().toStdString()); }
    void program_data();
    void program();
    void jsonLines();
    void reportThatCannotBeWritten();
    void closedPipe_data();
    void closedPipe();
    void helperSaysNothing();
    void manualPages_data();
    void manualPages();

private:
    struct Run
    {
        int status = -1;
        QStringList out;
        QString err;
    };
    // Runs the checker as cron and containers do, where no runtime folder is named.
    Run run(const QStringList& arguments, const QString& outputFile = {}) const;

    QTemporaryDir m_dir;
};

namespace {

std::filesystem::path Under(const QTemporaryDir& dir, const char* path)
{
    return std::filesystem::path(dir.path().toStdString()) / path;
}

} // namespace

void TestCheckProgram::initTestCase()
{
    WriteFile(Under(m_dir, "czysta/a.txt"), "X1\r\nQ\r\nA\r\n");
    WriteFile(Under(m_dir, "czysta/b.TXT"), "Z11\r\nTekst {wyb\xf3r 1}\r\nx;;\r\n");
    WriteFile(Under(m_dir, "czysta/notatki.doc"), "");
    WriteFile(Under(m_dir, "czysta/c.txt"),
              QStringLiteral("\uFEFFX10\r\nCo pływa?\r\nŻółw\r\nKot\r\n").toUtf8());
    WriteFile(Under(m_dir, "czysta/d.txt"),
              "X01\r\n[img]mapa.png[/img]\r\n[img]rys.png[/img]\r\n[img]RYS.PNG[/img]\r\n");
    WriteFile(Under(m_dir, "czysta/e.txt"), QStringLiteral("Z11\nŻółw {wybór 1}.\npływa;;\n").toUtf8());
    WriteFile(Under(m_dir, "czysta/f.txt"),
              Utf16(QStringLiteral("X01\r\nCo pływa?\r\nKot\r\nŻółw\r\n"), false, true));
    WriteFile(Under(m_dir, "czysta/mapa.png"), PngOfSize(930, 137));
    WriteFile(Under(m_dir, "czysta/rys.png"), PngOfSize(441, 70));
    WriteFile(Under(m_dir, "bledna/b.txt"), "");
    WriteFile(Under(m_dir, "bledna/a.txt"), "X0\r\nQ\r\nA\r\n");
    WriteFile(Under(m_dir, "bledna/c.txt"), "X01\r\nTom & Jerry\r\nA\r\n\r\n");
    std::filesystem::create_directories(Under(m_dir, "pusta"));
    WriteFile(Under(m_dir, "pominiete/puste.txt"), "");
    WriteFile(Under(m_dir, "pominiete/dlugie.txt"), QByteArray("X1\n").repeated(20));
    WriteFile(Under(m_dir, "pojedynczy.txt"), "X1\r\nQ\r\n");
    WriteFile(Under(m_dir, "sterujace/a\x1B[31m.txt"), "X1\r\nTom & \x07Jerry\r\nA\r\n");
    WriteFile(Under(m_dir, "sterujace/\xFF.txt"), "X1\r\nQ\r\n");
    // A link out of the bank, to what the report must never show.
    WriteFile(Under(m_dir, "poza/sekret.txt"), "X1\r\nTAJNE & haslo\r\nA\r\n");
    std::filesystem::create_directories(Under(m_dir, "linki"));
    std::filesystem::create_symlink("../poza/sekret.txt", Under(m_dir, "linki/sekret.txt"));
}

namespace {

QProcessEnvironment WithoutRuntimeFolder()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("XDG_RUNTIME_DIR");
    return environment;
}

} // namespace

TestCheckProgram::Run TestCheckProgram::run(const QStringList& arguments, const QString& outputFile) const
{
    QProcess check;
    check.setWorkingDirectory(m_dir.path());
    check.setProcessEnvironment(WithoutRuntimeFolder());
    if (!outputFile.isEmpty())
        check.setStandardOutputFile(outputFile);
    check.start(ZDAWNIK_CHECK_PROGRAM, arguments);
    Run result;
    if (!check.waitForFinished(60000) || check.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = check.exitCode();
    result.out = QString::fromUtf8(check.readAllStandardOutput()).split('\n');
    if (result.out.last().isEmpty())
        result.out.removeLast();
    result.err = QString::fromUtf8(check.readAllStandardError());
    return result;
}

void TestCheckProgram::program_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("out"); // the start of every line, or the whole of a last count line
    QTest::addColumn<QString>("err"); // a piece of what goes to the error output; empty: nothing goes there

    QTest::newRow("clean bank: no output at all") << QStringList{"czysta"} << 0 << QStringList{} << "";
    QTest::newRow("clean bank, verbose")
        << QStringList{"--verbose", "czysta"} << 0
        << QStringList{"czysta/a.txt: choice question, 1 answer, 1 right, windows-1250",
                       "czysta/b.TXT: sentence question, 1 list, windows-1250",
                       "czysta/c.txt: choice question, 2 answers, 1 right, utf-8",
                       "czysta/d.txt: choice question, 2 answers, 1 right, windows-1250",
                       "czysta/e.txt: sentence question, 1 list, utf-8",
                       "czysta/f.txt: choice question, 2 answers, 1 right, utf-16le",
                       "6 question files, no problems"}
        << "";
    QTest::newRow("faulty bank: files in name order, then a count")
        << QStringList{"bledna"} << 1
        << QStringList{"bledna/a.txt:1: no answer is marked right", "bledna/b.txt: the file holds no line",
                       "bledna/c.txt:2: a single \"&\"",
                       "bledna/c.txt:4: an empty last line is read as an answer",
                       "3 question files, 4 problems"}
        << "";
    QTest::newRow("faulty bank, verbose") << QStringList{"bledna", "--verbose"} << 1
                                          << QStringList{"bledna/a.txt: choice question",
                                                         "bledna/a.txt:1: ",
                                                         "bledna/b.txt: not shown (0 lines)",
                                                         "bledna/b.txt: the file holds no line",
                                                         "bledna/c.txt: choice question, 2 answers",
                                                         "bledna/c.txt:2: ",
                                                         "bledna/c.txt:4: ",
                                                         "3 question files, 4 problems"}
                                          << "";
    QTest::newRow("several folders and a file, in their order")
        << QStringList{"pojedynczy.txt", "czysta", "bledna/a.txt"} << 1
        << QStringList{"pojedynczy.txt: the choice question has no answer lines",
                       "bledna/a.txt:1: no answer is marked right", "8 question files, 2 problems"}
        << "";
    QTest::newRow("a single file") << QStringList{"czysta/a.txt"} << 0 << QStringList{} << "";
    QTest::newRow("empty bank names its folder")
        << QStringList{"pusta"} << 1
        << QStringList{"pusta: the bank holds no question file (*.txt)", "0 question files, 1 problem"} << "";
    QTest::newRow("bank of files the program skips")
        << QStringList{"pominiete"} << 1
        << QStringList{"pominiete/dlugie.txt:20: ", "pominiete/puste.txt: ",
                       "pominiete: none of the bank's question files can be shown",
                       "2 question files, 3 problems"}
        << "";
    QTest::newRow("missing folder") << QStringList{"brak"} << 2 << QStringList{} << "cannot read brak";
    QTest::newRow("missing folder among good ones")
        << QStringList{"czysta", "brak", "bledna/a.txt"} << 2
        << QStringList{"bledna/a.txt:1: ", "7 question files, 1 problem"} << "cannot read brak";
    QTest::newRow("control characters and bytes of no text, escaped")
        << QStringList{"sterujace"} << 1
        << QStringList{"sterujace/a\\x1B[31m.txt:2: a single \"&\" in the question \"Tom & \\x07Jerry\"",
                       "sterujace/\\xFF.txt: the choice question has no answer lines",
                       "2 question files, 2 problems"}
        << "";
    QTest::newRow("link out of the bank, not read")
        << QStringList{"linki"} << 1
        << QStringList{"linki/sekret.txt: the file is a link that leads out of the bank folder",
                       "1 question file, 1 problem"}
        << "";
    QTest::newRow("link out of the bank, verbose")
        << QStringList{"--verbose", "linki"} << 1
        << QStringList{"linki/sekret.txt: not read: a link out of the bank folder",
                       "linki/sekret.txt: the file is a link", "1 question file, 1 problem"}
        << "";
    QTest::newRow("link out of the bank, JSON")
        << QStringList{"--json", "linki"} << 1 << QStringList{"{\"file\":\"sekret.txt\""} << "";
    QTest::newRow("help") << QStringList{"--help"} << 0 << QStringList{"Usage: "} << "";
    QTest::newRow("help of all options, no check")
        << QStringList{"--help-all"} << 0 << QStringList{"Usage: "} << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << QStringList{"zdawnik-check " ZDAWNIK_VERSION}
                             << "";
    QTest::newRow("unknown option: usage and status 2")
        << QStringList{"--jsn", "czysta"} << 2 << QStringList{}
        << "zdawnik-check: Unknown option 'jsn'.\nTry 'zdawnik-check --help' for more information.\n";
    QTest::newRow("unknown option of control characters")
        << QStringList{"--\x1B[2J", "czysta"} << 2 << QStringList{} << "Unknown option '\\x1B[2J'";
}

void TestCheckProgram::program()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, out);
    QFETCH(QString, err);
    const Run result = run(arguments);
    QCOMPARE(result.status, status);
    if (arguments.front().startsWith("--help")) {
        QVERIFY(result.out.join('\n').contains("--json"));
        QVERIFY(result.out.join('\n').contains("--verbose"));
        out = out.mid(0, 1);
        QVERIFY(result.out.front().startsWith(out.front()));
        return;
    }
    for (const QString& line : result.out + QStringList{result.err})
        QVERIFY2(std::none_of(line.begin(), line.end(),
                              [](QChar c) { return c != '\n' && c.category() == QChar::Other_Control; }),
                 qPrintable(line));
    QCOMPARE(result.out.size(), out.size());
    for (qsizetype i = 0; i < out.size(); ++i)
        QVERIFY2(result.out[i].startsWith(out[i]), qPrintable(result.out[i]));
    if (!out.isEmpty() && out.last().contains("question file"))
        QCOMPARE(result.out.last(), out.last());
    if (err.isEmpty())
        QCOMPARE(result.err, QString());
    QVERIFY2(result.err.contains(err), qPrintable(result.err));
    if (status == 2 && arguments.front().startsWith("--"))
        QVERIFY(result.err.endsWith("Try 'zdawnik-check --help' for more information.\n"));
    // Nothing a link out of the bank leads to reaches the report.
    QVERIFY(!result.out.join('\n').contains("TAJNE"));
}

void TestCheckProgram::jsonLines()
{
    const Run result = run({"--json", "bledna", "pusta"});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.out.size(), 4);
    QStringList codes;
    for (const QString& line : result.out) {
        const QJsonObject object = QJsonDocument::fromJson(line.toUtf8()).object();
        QVERIFY(!object.isEmpty());
        for (const QJsonValue problem : object["problems"].toArray())
            codes << object[object.contains("bank") ? "bank" : "file"].toString() + " " +
                         problem.toObject()["code"].toString();
    }
    QCOMPARE(codes.join(", "), "a.txt no-right-answer, b.txt empty-file, c.txt single-ampersand, "
                               "c.txt empty-last-line, pusta empty-bank");
}

void TestCheckProgram::reportThatCannotBeWritten()
{
    if (!QFile::exists("/dev/full"))
        QSKIP("this system has no /dev/full");
    const Run result = run({"bledna"}, "/dev/full");
    QCOMPARE(result.status, 2);
    QVERIFY2(result.err.contains("cannot write the report"), qPrintable(result.err));
}

void TestCheckProgram::closedPipe_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("problems") << QStringList{"bledna"};
    QTest::newRow("verbose") << QStringList{"--verbose", "czysta"};
    QTest::newRow("JSON") << QStringList{"--json", "czysta"};
    QTest::newRow("help") << QStringList{"--help"};
}

void TestCheckProgram::closedPipe()
{
    // The output is a pipe whose reader has gone before the checker writes a byte, as under
    // "| head -1" when head is done first.
    QFETCH(QStringList, arguments);
    int ends[2];
    QVERIFY(::pipe(ends) == 0);
    ::close(ends[0]);
    const int writeEnd = ends[1];
    QProcess check;
    check.setWorkingDirectory(m_dir.path());
    check.setChildProcessModifier([writeEnd] { ::dup2(writeEnd, STDOUT_FILENO); });
    check.start(ZDAWNIK_CHECK_PROGRAM, arguments);
    const bool finished = check.waitForFinished(60000);
    ::close(writeEnd);
    QVERIFY(finished);
    QCOMPARE(check.exitStatus(), QProcess::CrashExit);
    QCOMPARE(check.exitCode(), SIGPIPE);
    QCOMPARE(check.readAllStandardError(), QByteArray());
}

void TestCheckProgram::helperSaysNothing()
{
    // Started alone, as a user might, and ended by closing its input.
    QProcess helper;
    helper.setProcessEnvironment(WithoutRuntimeFolder());
    helper.start(ZDAWNIK_METAFILE_PROGRAM, {});
    QVERIFY(helper.waitForStarted());
    helper.closeWriteChannel();
    QVERIFY(helper.waitForFinished(60000));
    QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
    QCOMPARE(helper.exitCode(), 0);
    QCOMPARE(helper.readAllStandardError(), QByteArray());
}

void TestCheckProgram::manualPages_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("shown"); // what an ASCII terminal shows of a text with Polish letters
    QTest::newRow("zdawnik-check") << "zdawnik-check.1"
                                   << "the sentence lacks the gap {wybor n} of a list";
    QTest::newRow("zdawnik") << "zdawnik.1"
                             << "zdawnik: no display to open the window on";
}

void TestCheckProgram::manualPages()
{
    // As man shows the pages on a terminal of no letters but ASCII (LANG=C).
    QFETCH(QString, page);
    QFETCH(QString, shown);
    const QString file = QStringLiteral(ZDAWNIK_MANUAL_DIR "/") + page;
    if (!QFile::exists(file))
        QSKIP("the manual pages are not made on this system");
    if (QStandardPaths::findExecutable("groff").isEmpty())
        QSKIP("groff is not installed");
    QProcess groff;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LANG", "C");
    environment.remove("LC_ALL");
    groff.setProcessEnvironment(environment);
    groff.start("groff", {"-man", "-Tascii", "-ww", file});
    QVERIFY(groff.waitForFinished(60000));
    QCOMPARE(groff.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(groff.readAllStandardError()), QString());
    // Each line of the page as the terminal shows it, its overstrikes for bold taken out.
    const QString text = QString::fromLatin1(groff.readAllStandardOutput()).remove(QRegularExpression(".\b"));
    QVERIFY2(text.simplified().contains(shown), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestCheckProgram)
#include "tst_checkprogram.moc"
