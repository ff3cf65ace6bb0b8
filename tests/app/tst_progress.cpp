// The run kept between sittings, on the real window: closed and taken up again, a bank that changed
// meanwhile, a finished run, kept files that cannot be trusted, a state folder that cannot be
// written, and two windows on one bank.

#include "app/ProgressWindow.h"
#include "app/TerminationSignals.h"

#include <QCheckBox>
#include <QPushButton>

#include <csignal>

#include "ProgressFixture.h"

using namespace zdawnik;

class TestProgress : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<ProgressFixture>(); }
    void cleanup() { m_fixture.reset(); }
    void drillOfChosenQuestionsLeavesTheKeptRun();
    void terminationSignalClosesAndKeeps_data();
    void terminationSignalClosesAndKeeps();

    void closedRunIsTakenUp_data();
    void closedRunIsTakenUp();
    void enterGoesOnWithTheKeptRun();
    void freshStartReplacesTheKeptRunAtItsFirstCheck();
    void bankChangedSinceTheSave_data();
    void bankChangedSinceTheSave();
    void finishedRunStartsAfresh();
    void questionNeverShownStaysPending();
    void untrustworthyFile_data();
    void untrustworthyFile();
    void stateFolderCannotBeWritten();
    void savingFailsDuringTheRun();
    void twoWindowsOnOneBank();
    void nothingIsWrittenIntoTheBank();

private:
    std::unique_ptr<ProgressFixture> m_fixture;
    ProgressFixture& f() { return *m_fixture; }
};

void TestProgress::closedRunIsTakenUp_data()
{
    QTest::addColumn<bool>("questionOnScreen"); // closed after "dalej" rather than after a check
    QTest::newRow("closed after a check") << false;
    QTest::newRow("closed with a question on screen") << true;
}

void TestProgress::closedRunIsTakenUp()
{
    QFETCH(bool, questionOnScreen);
    f().writeQuestions({"a.txt", "b.txt", "c.txt", "d.txt"});
    f().open();
    QVERIFY(!f().visible("btnKontynuuj"));
    f().click("btnStart");
    // A run of right and wrong answers, with a draw that differs at every question.
    const bool answers[] = {true, true, false, true, true, true, true, false, true, true, true, true};
    for (const bool right : answers) {
        f().answer(right);
        f().clock += 7919;
        f().next();
        f().window->TimerTimer();
    }
    for (int tick = 0; tick < 754; ++tick)
        f().window->TimerTimer();
    if (!questionOnScreen)
        f().answer(true);
    const std::vector<QuestionProgress> before = f().window->Pool()->Progress();
    const QStringList statistics = f().statistics();
    QVERIFY(f().window->Pool()->MasteredCount() > 0);
    f().close();

    f().open();
    QVERIFY(f().visible("btnKontynuuj"));
    QCOMPARE(f().caption("lblPostep"), QString("Zapisany postęp: %1 z 4 pytań opanowanych, czas nauki %2")
                                           .arg(statistics[1], statistics[4]));
    f().click("btnKontynuuj");
    QVERIFY(f().messages.boxes.isEmpty());
    QVERIFY(!f().visible("pnlStart"));
    QCOMPARE(f().statistics(), statistics);

    // The next question came up as after "dalej": one showing taken off it, none off the others.
    const StudyPool& pool = *f().window->Pool();
    const std::vector<QuestionProgress> after = pool.Progress();
    QCOMPARE(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        QCOMPARE(after[i].FileName, before[i].FileName);
        QCOMPARE(after[i].Mastered, before[i].Mastered);
        const int taken = int(i) == pool.CurrentEntry() && before[i].Repeats > 0 ? 1 : 0;
        QCOMPARE(after[i].Repeats, before[i].Repeats - taken);
    }
    QCOMPARE(f().caption("lblIleRazyInfo"), QString::number(after[pool.CurrentEntry()].Repeats));
    QVERIFY(f().enabled("btnCheck"));
    QVERIFY(f().window->findChild<QTimer*>("Timer")->isActive());
}

void TestProgress::enterGoesOnWithTheKeptRun()
{
    f().writeQuestions({"a.txt", "b.txt"});
    f().keep(f().record({"a.txt:m", "b.txt:2"}, 5, 4, 125));
    f().open();
    QTest::keyClick(f().window.get(), Qt::Key_Return);
    QVERIFY(!f().visible("pnlStart"));
    QCOMPARE(f().statistics(), (QStringList{"2", "1", "4/5", "1/2", "0:02:05"}));
    QCOMPARE(f().caption("lblPytanieInfo"), QString("b.txt"));
}

void TestProgress::freshStartReplacesTheKeptRunAtItsFirstCheck()
{
    f().writeQuestions({"a.txt", "b.txt"});
    f().keep(f().record({"a.txt:m", "b.txt:2"}, 5, 4, 125));
    f().open();
    f().close();
    const QByteArray kept = f().keptBytes();
    QCOMPARE(f().kept().StudySeconds, 125);
    f().open();
    f().click("btnStart");
    QCOMPARE(f().statistics(), (QStringList{"2", "0", "0/0", "0/2", "0:00:00"}));
    f().close();
    QCOMPARE(f().keptBytes(), kept); // started by mistake: nothing lost

    f().open();
    QVERIFY(f().visible("btnKontynuuj"));
    f().click("btnStart");
    f().answer(false);
    QCOMPARE(f().kept().Answers, 1);
    QCOMPARE(f().kept().GoodAnswers, 0);
    QVERIFY(!f().kept().Questions[0].Mastered);
}

void TestProgress::bankChangedSinceTheSave_data()
{
    QTest::addColumn<QStringList>("kept");  // the kept run
    QTest::addColumn<QStringList>("bank");  // the bank's files now
    QTest::addColumn<QString>("changes");   // the start panel's line, empty when hidden
    QTest::addColumn<QStringList>("after"); // the run taken up, in the notation of kept, by name
    QTest::newRow("unchanged") << QStringList{"a.txt:m", "b.txt:2", "c.txt:4"}
                               << QStringList{"a.txt", "b.txt", "c.txt"} << ""
                               << QStringList{"a.txt:m", "b.txt:2", "c.txt:4"};
    QTest::newRow("files added") << QStringList{"a.txt:m", "b.txt:2"}
                                 << QStringList{"a.txt", "b.txt", "nowe1.txt", "nowe2.txt"}
                                 << "Od zapisu w bazie przybyło pytań: 2, ubyło: 0."
                                 << QStringList{"a.txt:m", "b.txt:2", "nowe1.txt:3", "nowe2.txt:3"};
    QTest::newRow("files removed, a mastered one among them")
        << QStringList{"a.txt:m", "b.txt:2", "c.txt:4", "d.txt:m"} << QStringList{"b.txt", "d.txt"}
        << "Od zapisu w bazie przybyło pytań: 0, ubyło: 2." << QStringList{"b.txt:2", "d.txt:m"};
    QTest::newRow("added and removed")
        << QStringList{"a.txt:m", "b.txt:1", "c.txt:5"} << QStringList{"a.txt", "c.txt", "nowe.txt"}
        << "Od zapisu w bazie przybyło pytań: 1, ubyło: 1."
        << QStringList{"a.txt:m", "c.txt:5", "nowe.txt:3"};
    // Names that could be in a bank but are not in this one are questions removed, not damage.
    QTest::newRow("names not in the bank")
        << QStringList{"x.txt:m", "y.txt:2"} << QStringList{"a.txt", "b.txt"}
        << "Od zapisu w bazie przybyło pytań: 2, ubyło: 2." << QStringList{"a.txt:3", "b.txt:3"};
}

void TestProgress::bankChangedSinceTheSave()
{
    QFETCH(QStringList, kept);
    QFETCH(QStringList, bank);
    QFETCH(QString, changes);
    QFETCH(QStringList, after);
    f().writeQuestions(bank);
    f().keep(f().record(kept, 40, 30, 3600));
    f().open();
    const int mastered = after.filter(":m").size();
    QCOMPARE(f().caption("lblPostep"),
             QString("Zapisany postęp: %1 z %2 pytań opanowanych, czas nauki 1:00:00")
                 .arg(mastered)
                 .arg(after.size()));
    QCOMPARE(f().visible("lblZmiany"), !changes.isEmpty());
    if (!changes.isEmpty())
        QCOMPARE(f().caption("lblZmiany"), changes);

    f().click("btnKontynuuj");
    QCOMPARE(f().statistics(), (QStringList{QString::number(after.size()), QString::number(mastered), "30/40",
                                            QString("%1/%2").arg(mastered).arg(after.size()), "1:00:00"}));
    QStringList taken;
    const StudyPool& pool = *f().window->Pool();
    for (const QuestionProgress& question : pool.Progress()) {
        // Undo the showing the first question took.
        const bool current = question.FileName == pool.Pool()[pool.CurrentEntry()].FileName;
        const int repeats = question.Repeats + (current && !question.Mastered ? 1 : 0);
        taken << QString::fromStdString(question.FileName) + ":" +
                     (question.Mastered ? QString("m") : QString::number(repeats));
    }
    taken.sort();
    QCOMPARE(taken, after);
}

void TestProgress::finishedRunStartsAfresh()
{
    f().writeQuestions({"jedyne.txt"});
    f().open();
    f().click("btnStart");
    for (int showing = 1; showing <= 3; ++showing) {
        for (int tick = 0; tick < 3; ++tick)
            f().window->TimerTimer();
        f().answer(true);
        if (showing < 3)
            f().next();
    }
    QVERIFY(f().kept().Finished);
    QCOMPARE(f().kept().StudySeconds, 9);
    // The end panel, and a while on it, change nothing of the kept finish.
    const QByteArray finished = f().keptBytes();
    f().next();
    QVERIFY(f().visible("pnlKoniec"));
    f().close();
    QCOMPARE(f().keptBytes(), finished);

    f().open();
    QVERIFY(!f().visible("btnKontynuuj"));
    const QString day = QLocale(QLocale::Polish).toString(QDate::currentDate(), "d.MM.yyyy");
    QVERIFY2(f().caption("lblPostep").startsWith("Ostatnio cała baza była opanowana " + day + ", "),
             qPrintable(f().caption("lblPostep")));
    QVERIFY(f().caption("lblPostep").endsWith(", nauka trwała 0:00:09."));
    QTest::keyClick(f().window.get(), Qt::Key_Space);
    QCOMPARE(f().statistics(), (QStringList{"1", "0", "0/0", "0/1", "0:00:00"}));
    QCOMPARE(f().caption("lblIleRazyInfo"), QString("2"));
}

void TestProgress::questionNeverShownStaysPending()
{
    f().writeQuestions({"a.txt"});
    f().write("b.txt", QByteArray("X1\n").repeated(20));
    f().open();
    f().click("btnStart");
    while (!f().visible("pnlKoniec")) {
        f().answer(true);
        f().next();
    }
    f().close();
    // Kept as a run that is not over: the file that could not be shown waits with its counter.
    const RunRecord kept = f().kept();
    QVERIFY(!kept.Finished);
    QCOMPARE(kept.Questions.size(), std::size_t(2));
    for (const QuestionProgress& question : kept.Questions) {
        QCOMPARE(question.Mastered, question.FileName == "a.txt");
        QCOMPARE(question.Repeats, question.FileName == "a.txt" ? 0 : 3);
    }
    f().open();
    QVERIFY(f().visible("btnKontynuuj"));
}

void TestProgress::untrustworthyFile_data()
{
    QTest::addColumn<QByteArray>("from"); // an edit of a good kept file; "" with to: the whole file
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<qint64>("size"); // a file of this size instead, when not 0
    QTest::newRow("truncated") << QByteArray("half") << QByteArray() << qint64(0);
    QTest::newRow("not JSON") << QByteArray() << QByteArray("Zdawnik\0\x01\x02", 10) << qint64(0);
    QTest::newRow("wrong types") << QByteArray("\"answers\":9") << QByteArray("\"answers\":\"9\"")
                                 << qint64(0);
    QTest::newRow("negative counter") << QByteArray("\"b.txt\",2") << QByteArray("\"b.txt\",-2") << qint64(0);
    QTest::newRow("huge counter") << QByteArray("\"b.txt\",2") << QByteArray("\"b.txt\",99999999999")
                                  << qint64(0);
    QTest::newRow("name with a path separator")
        << QByteArray("\"b.txt\"") << QByteArray("\"../b.txt\"") << qint64(0);
    QTest::newRow("name no bank could list")
        << QByteArray("\"b.txt\"") << QByteArray("\"b.exe\"") << qint64(0);
    QTest::newRow("the same name twice") << QByteArray("\"a.txt\"") << QByteArray("\"b.txt\"") << qint64(0);
    QTest::newRow("unknown version") << QByteArray("\"version\":1") << QByteArray("\"version\":7")
                                     << qint64(0);
    QTest::newRow("100 MB") << QByteArray() << QByteArray() << qint64(100) * 1024 * 1024;
}

void TestProgress::untrustworthyFile()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(qint64, size);
    f().writeQuestions({"a.txt", "b.txt"});
    QByteArray bytes =
        QByteArray::fromStdString(EncodeRunRecord(f().record({"a.txt:m", "b.txt:2"}, 9, 5, 600)));
    if (from == "half") {
        bytes.truncate(bytes.size() / 2);
    } else if (from.isEmpty()) {
        bytes = to;
    } else {
        QVERIFY2(bytes.contains(from), from.constData()); // an edit that changes nothing proves nothing
        bytes.replace(from, to);
    }
    QDir().mkpath(f().stateDir);
    QFile file(f().keptFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    if (size > 0)
        QVERIFY(file.resize(size));
    file.close();

    f().open();
    QVERIFY(f().messages.boxes.isEmpty());
    QVERIFY(!f().visible("btnKontynuuj"));
    QVERIFY(f().caption("lblPostep").startsWith("Zapisanego postępu nie udało się odczytać"));
    QVERIFY(!QFile::exists(f().keptFile()));
    QCOMPARE(QFileInfo(f().keptFile() + ".damaged").size(), size > 0 ? size : bytes.size());

    // A fresh run, kept from its first check on.
    QTest::keyClick(f().window.get(), Qt::Key_Return);
    QCOMPARE(f().statistics(), (QStringList{"2", "0", "0/0", "0/2", "0:00:00"}));
    f().answer(true);
    QCOMPARE(f().kept().Answers, 1);
}

void TestProgress::stateFolderCannotBeWritten()
{
    // The state folder would have to be made inside a file.
    f().write("../plik", "nie katalog");
    f().stateDir = f().dir.filePath("plik/stan");
    f().writeQuestions({"a.txt", "b.txt"});
    f().open();
    QCOMPARE(f().caption("lblZapis"),
             "Postęp nie będzie zapisywany: nie można pisać w katalogu " + f().stateDir + ".");
    f().click("btnStart");
    QVERIFY(f().visible("lblStan"));
    QCOMPARE(f().caption("lblStan"),
             "Postęp nie jest zapisywany: nie można pisać w katalogu " + f().stateDir);
    for (int i = 0; i < 3; ++i) {
        f().answer(true);
        f().next();
    }
    // The run goes on, with no box at any check.
    QVERIFY(f().messages.boxes.isEmpty());
    QVERIFY(f().enabled("btnCheck"));
}

void TestProgress::savingFailsDuringTheRun()
{
    f().writeQuestions({"a.txt", "b.txt"});
    f().open();
    f().click("btnStart");
    f().answer(true);
    QVERIFY(!f().visible("lblStan"));
    f().next();

    // The folder gives way to a file: the check after says, in the one line, that nothing is kept.
    QVERIFY(QDir(f().stateDir).removeRecursively());
    f().write("../stan", "zajęte");
    f().answer(false);
    QVERIFY(f().messages.boxes.isEmpty());
    QVERIFY(f().visible("lblStan"));
    QVERIFY(f().caption("lblStan").startsWith("Postęp nie jest zapisywany: "));
    // The line lies in the margin above the question and is drawn there, in yellow.
    const QRect line = f().widget("lblStan")->geometry();
    QVERIFY(line.bottom() < f().widget("lblPytanie")->y());
    const QImage shot = f().window->grab().toImage();
    int yellow = 0;
    for (int x = line.left(); x <= line.right(); ++x)
        for (int y = line.top(); y <= line.bottom(); ++y)
            yellow += shot.pixelColor(x, y).red() > 200 && shot.pixelColor(x, y).green() > 200 &&
                      shot.pixelColor(x, y).blue() < 100;
    QVERIFY(yellow > 50);

    // Once the folder can be made again, the next check is kept and the line goes.
    QVERIFY(QFile::remove(f().stateDir));
    f().next();
    f().answer(true);
    QVERIFY(!f().visible("lblStan"));
    QCOMPARE(f().kept().Answers, 3);
}

void TestProgress::twoWindowsOnOneBank()
{
    f().writeQuestions({"a.txt", "b.txt", "c.txt"});
    f().open();
    QVERIFY(!f().visible("lblZapis"));
    TMainForm second(f().environment(f().bank()));
    second.show();
    const auto line = second.findChild<TLabel*>("lblZapis");
    QVERIFY(line->isVisible());
    QCOMPARE(line->caption(),
             QString("Ta baza jest otwarta w innym oknie Zdawnika: postęp zapisuje tamto okno, nie to."));

    f().click("btnStart");
    f().answer(true);
    const QByteArray first = f().keptBytes();
    QCOMPARE(f().kept().Answers, 1);

    // The second window drills on, keeps nothing and says so; the first one's record stays.
    QTest::mouseClick(second.findChild<QPushButton*>("btnStart"), Qt::LeftButton);
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(second.findChild<QWidget*>("pnlOdp1"), Qt::LeftButton);
        QTest::mouseClick(second.findChild<QPushButton*>("btnCheck"), Qt::LeftButton);
        QTest::mouseClick(second.findChild<QPushButton*>("btnDalej"), Qt::LeftButton);
    }
    QVERIFY(second.findChild<TLabel*>("lblStan")->isVisible());
    second.close();
    QCOMPARE(f().keptBytes(), first);

    f().next();
    f().answer(false);
    QCOMPARE(f().kept().Answers, 2);
    f().close();
    // With both gone, the bank is free for the next window.
    f().open();
    QVERIFY(!f().visible("lblZapis"));
    QVERIFY(f().visible("btnKontynuuj"));
}

void TestProgress::nothingIsWrittenIntoTheBank()
{
    f().writeQuestions({"a.txt", "b.txt"});
    const auto listing = [&] {
        return QDir(QString::fromStdString(f().bank().string()))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList before = listing();
    f().open();
    f().click("btnStart");
    f().answer(true);
    f().next();
    f().close();
    f().open();
    f().click("btnKontynuuj");
    f().answer(false);
    f().close();
    QCOMPARE(listing(), before);
}

void TestProgress::terminationSignalClosesAndKeeps_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void TestProgress::terminationSignalClosesAndKeeps()
{
    // A logout while a question waits: the window closes as by its close box, and the study time since
    // the last check is kept with the run.
    QFETCH(int, signal);
    f().writeQuestions({"a.txt", "b.txt"});
    f().open();
    new TerminationSignals(*f().window);
    f().click("btnStart");
    f().answer(true);
    f().next();
    for (int tick = 0; tick < 42; ++tick)
        f().window->TimerTimer();
    ::raise(signal);
    QTRY_VERIFY(!f().window->isVisible());
    QCOMPARE(f().kept().StudySeconds, 42);
    QCOMPARE(f().kept().Answers, 1);
}

void TestProgress::drillOfChosenQuestionsLeavesTheKeptRun()
{
    f().writeQuestions({"a.txt", "b.txt", "c.txt"});
    f().keep(f().record({"a.txt:m", "b.txt:2", "c.txt:3"}, 5, 4, 125));
    f().open();
    const QByteArray kept = f().keptBytes();
    QVERIFY(!kept.isEmpty());
    QCOMPARE(f().widget("btnPostepy")->toolTip(), QString("Postępy nauki w tej bazie (Ctrl+P)"));
    QTest::keyClick(f().window.get(), Qt::Key_P, Qt::ControlModifier);
    ProgressWindow* progress = f().window->Progress();
    QVERIFY(progress && progress->isVisible());
    QCOMPARE(progress->windowTitle(), QString("Zdawnik — postępy"));

    // The statistics window asks for b.txt alone: three showings of it, then the end panel.
    emit progress->DrillRequested({"b.txt", "gone.txt"});
    QCOMPARE(f().caption("lblPytanInfo"), QString("1"));
    for (int showing = 1; showing <= 3; ++showing) {
        QCOMPARE(f().caption("lblPytanieInfo"), QString("b.txt"));
        f().answer(true);
        f().next();
    }
    QVERIFY(f().visible("pnlKoniec"));
    QCOMPARE(f().keptBytes(), kept);

    // "koniec" leads back to the start panel, which offers the kept run again.
    f().click("Button1");
    QVERIFY(f().window->isVisible());
    QVERIFY(f().visible("btnKontynuuj"));
    QCOMPARE(f().statistics(), (QStringList{"0", "0", "0/0", "0/100", "0:00:00"}));
    const std::vector<SittingFigures> sittings = HistoryStore(f().stateDir, f().bankKey()).Sittings();
    QCOMPARE(sittings.size(), std::size_t(1));
    QCOMPARE(sittings[0].Kind, SittingKind::Hardest);
    QCOMPARE(sittings[0].Answers, 3);
}

ZDAWNIK_GUI_TEST_MAIN(TestProgress)
#include "tst_progress.moc"
