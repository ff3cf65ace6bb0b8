// The run from the start button to the end panel: the empty bank, the next action with questions that
// cannot be read, the question-ID switch, closing, and the study clock.

#include "bank/StudyPool.h"
#include "widgets/TGauge.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include "MainFormFixture.h"

using namespace zdawnik;

namespace {

const QString HmmText = "Prawdopodobnie nie został odnaleziony katalog \"baza\".\n"
                        "Powinien się on znajdować w tym samym katalogu w którym jest program.\n"
                        "\n"
                        "Jeśli taki katalog istnieje to możliwe, że nie ma w nim plików z pytaniami.\n"
                        "\n"
                        "A jeśli żadne z powyższych to nie wiem co... :-[";

} // namespace

class TestRunFlow : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainFormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void emptyBank_data();
    void emptyBank();
    void oneQuestionToTheEnd();
    void severalQuestions();
    void hint_data();
    void hint();
    void questionRemovedDuringTheRun();
    void firstQuestionCannotBeOpened_data();
    void firstQuestionCannotBeOpened();
    void firstQuestionSkipped();
    void skippedQuestionKeepsThePreviousOnScreen();
    void questionIdSwitch();
    void closing();
    void clockCarries_data();
    void clockCarries();
    void clockRunsOnlyDuringTheRun();

private:
    std::unique_ptr<MainFormFixture> m_fixture;
    MainFormFixture& f() { return *m_fixture; }
    QTimer* timer() { return f().window->findChild<QTimer*>("Timer"); }
    // Ticks the answers whose key is "1" and checks: a right answer.
    void answerRight()
    {
        const Question& question = f().window->CurrentQuestion();
        for (int n = 1; n <= 12; ++n)
            if (question.Keys[n] == "1")
                f().click(Numbered("pnlOdp", n));
        f().click("btnCheck");
    }
};

void TestRunFlow::emptyBank_data()
{
    QTest::addColumn<QString>("bank");
    QTest::newRow("no bank folder") << "brak";
    QTest::newRow("empty bank folder") << "baza";
    QTest::newRow("no question files") << "inne";
}

void TestRunFlow::emptyBank()
{
    QFETCH(QString, bank);
    std::filesystem::create_directories(f().bank());
    f().write("../inne/notatki.doc", "X1\nQ\nA");
    f().open(std::filesystem::path(f().dir.path().toStdString()) / bank.toStdString());
    bool clockRanDuringBoxes = false;
    f().messages.whileOpen = [&] { clockRanDuringBoxes |= timer()->isActive(); };
    f().click("btnStart");

    QCOMPARE(f().messages.boxes.size(), 2);
    QCOMPARE(f().messages.boxes[0].icon, MessageBoxes::Icon::Stop);
    QCOMPARE(f().messages.boxes[0].title, QString("Error"));
    QCOMPARE(f().messages.boxes[0].text, QString("O cholera, jakiś error...\n\nSorry..."));
    QCOMPARE(f().messages.boxes[1].icon, MessageBoxes::Icon::Question);
    QCOMPARE(f().messages.boxes[1].title, QString("Hmm"));
    QCOMPARE(f().messages.boxes[1].text, HmmText);
    QVERIFY(!clockRanDuringBoxes);
    QVERIFY(timer()->isActive());
    QCOMPARE(f().caption("lblPytanie"), QString("---"));
    QCOMPARE(f().caption("lblPytanieInfo"), QString("---"));
    QVERIFY(!f().enabled("btnCheck"));
    QVERIFY(!f().enabled("btnDalej"));
    QVERIFY(!f().visible("pnlStart"));
    QVERIFY(!f().visible("btnStart"));
    // The two switches stay usable.
    f().click("CheckBoxDobre");
    QVERIFY(!f().widget<QCheckBox>("CheckBoxDobre")->isChecked());
}

void TestRunFlow::oneQuestionToTheEnd()
{
    f().write("jedyne.txt", "X01\r\nPytanie\r\nnie\r\ntak\r\n");
    f().open();
    f().click("btnStart");
    QVERIFY(f().messages.boxes.isEmpty());
    QCOMPARE(f().caption("lblPytanieInfo"), QString("jedyne.txt"));
    QCOMPARE(f().caption("lblPytanie"), QString("Pytanie"));
    QCOMPARE(f().caption("lblIleRazyInfo"), QString("2"));
    QCOMPARE(f().caption("lblPytanInfo"), QString("1"));
    QCOMPARE(f().widget<TGauge>("gaugeOpanowane")->MaxValue(), 1);
    QVERIFY(f().enabled("btnCheck"));
    QVERIFY(!f().enabled("btnDalej"));
    QVERIFY(timer()->isActive());

    for (int showing = 1; showing <= 3; ++showing) {
        answerRight();
        QVERIFY(!f().enabled("btnCheck"));
        QVERIFY(f().enabled("btnDalej"));
        QVERIFY(f().visible("imgOK"));
        QCOMPARE(f().caption("lblOpanowane"), QString(showing == 3 ? "1" : "0"));
        if (showing < 3) {
            f().click("btnDalej");
            QVERIFY(!f().visible("imgOK"));
            QCOMPARE(f().caption("lblIleRazyInfo"), QString::number(2 - showing));
        }
    }
    // The mark stays until "dalej"; then the end panel, and the clock stops where it was.
    QVERIFY(!f().visible("pnlKoniec"));
    QVERIFY(f().visible("imgOK"));
    f().click("btnDalej");
    QVERIFY(f().visible("pnlKoniec"));
    QVERIFY(!timer()->isActive());
    QVERIFY(f().enabled("btnDalej")); // under the end panel
    f().click("Button1");
    QVERIFY(!f().window->isVisible());
}

void TestRunFlow::severalQuestions()
{
    for (int i = 0; i < 7; ++i)
        f().write("q" + std::to_string(i) + ".txt", "X1\nPytanie " + QByteArray::number(i) + "\nA\n");
    f().write("notatka.doc", "X1\nQ\nA\n");
    f().open();
    f().click("btnStart");
    QCOMPARE(f().caption("lblPytanInfo"), QString("7"));
    QCOMPARE(f().widget<TGauge>("gaugeOpanowane")->MaxValue(), 7);
    const StudyPool& pool = *f().window->Pool();
    const QString shown = QString::fromStdString(pool.Pool()[std::size_t(pool.CurrentEntry())].FileName);
    QCOMPARE(f().caption("lblPytanieInfo"), shown);
    QCOMPARE(f().caption("lblPytanie"), "Pytanie " + shown.mid(1, 1));
    // The first draw of a run takes the pending position equal to the pool index.
    QCOMPARE(pool.CurrentPending(), pool.CurrentEntry());
}

void TestRunFlow::hint_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("hint");
    QTest::newRow("one correct") << QByteArray("X010\nQ\na\nb\nc") << "";
    QTest::newRow("two correct") << QByteArray("X011\nQ\na\nb\nc")
                                 << "[zaznacz przynajmniej jedną odpowiedź]";
    QTest::newRow("none correct") << QByteArray("X000\nQ\na\nb\nc") << "";
    QTest::newRow("sentence") << QByteArray("Z11\nT {wybór 1}\na;;") << "";
}

void TestRunFlow::hint()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, hint);
    f().write("q.txt", file);
    f().open();
    f().click("btnStart");
    QCOMPARE(f().caption("lblIleOdpowiedzi"), hint);
}

void TestRunFlow::questionRemovedDuringTheRun()
{
    f().write("a.txt", "X1\r\nPytanie\r\nA\r\n");
    f().open();
    f().click("btnStart");
    answerRight();
    std::filesystem::remove(f().bank() / "a.txt");
    f().click("btnDalej");
    // The program's error report; the marks are hidden and the name shown, nothing else happens.
    QCOMPARE(f().messages.boxes.size(), 1);
    QCOMPARE(f().messages.boxes[0].icon, MessageBoxes::Icon::Stop);
    QCOMPARE(f().messages.boxes[0].title, QString("Zdawnik"));
    QCOMPARE(f().messages.boxes[0].text, QString("File not found"));
    QVERIFY(!f().visible("imgOK"));
    QCOMPARE(f().caption("lblPytanieInfo"), QString("a.txt"));
    QCOMPARE(f().caption("lblIleRazyInfo"), QString("2"));
    QCOMPARE(f().window->Pool()->Pool()[0].Repeats, 2);
    QVERIFY(!f().enabled("btnCheck"));
    QVERIFY(f().enabled("btnDalej"));
    // The whole bank goes away: the run goes on reporting, it does not stop.
    std::filesystem::remove_all(f().bank());
    f().click("btnDalej");
    QCOMPARE(f().messages.boxes.size(), 2);
    QVERIFY(f().enabled("btnDalej"));
}

void TestRunFlow::firstQuestionCannotBeOpened_data()
{
    QTest::addColumn<bool>("directory");
    QTest::newRow("a folder named x.txt") << true;
    QTest::newRow("removed after the scan") << false;
}

void TestRunFlow::firstQuestionCannotBeOpened()
{
    QFETCH(bool, directory);
    std::filesystem::create_directories(f().bank());
    if (directory)
        std::filesystem::create_directories(f().bank() / "x.txt");
    else // listed, but gone when it is read: a link to nothing
        std::filesystem::create_symlink(f().bank() / "gone.txt", f().bank() / "x.txt");
    f().open();
    f().click("btnStart");
    QCOMPARE(f().messages.boxes.size(), 1);
    QCOMPARE(f().messages.boxes[0].title, QString("Zdawnik"));
    QCOMPARE(f().messages.boxes[0].text, QString(directory ? "File access denied" : "File not found"));
    QCOMPARE(f().caption("lblPytanieInfo"), QString("x.txt"));
    QCOMPARE(f().caption("lblPytanInfo"), QString("1"));
    // Nothing to check, but the user can go on, and the clock runs.
    QVERIFY(!f().enabled("btnCheck"));
    QVERIFY(f().enabled("btnDalej"));
    QVERIFY(timer()->isActive());
}

void TestRunFlow::firstQuestionSkipped()
{
    f().write("pusty.txt", "");
    f().open();
    f().click("btnStart");
    QVERIFY(f().messages.boxes.isEmpty());
    QCOMPARE(f().caption("lblPytanieInfo"), QString("pusty.txt"));
    QCOMPARE(f().caption("lblIleRazyInfo"), QString("2"));
    QVERIFY(!f().enabled("btnCheck"));
    QVERIFY(f().enabled("btnDalej"));
    // Showing it again and again never takes its counter below zero.
    for (int i = 0; i < 4; ++i)
        f().click("btnDalej");
    QCOMPARE(f().caption("lblIleRazyInfo"), QString("0"));
}

void TestRunFlow::skippedQuestionKeepsThePreviousOnScreen()
{
    f().write("a.txt", "X1\nPierwsze\nA");
    f().open();
    f().click("btnStart");
    answerRight();
    f().write("a.txt", QByteArray("X1\n").repeated(20));
    f().click("btnDalej");
    QVERIFY(f().messages.boxes.isEmpty());
    QCOMPARE(f().caption("lblPytanie"), QString("Pierwsze"));
    QVERIFY(f().enabled("btnCheck"));
    QVERIFY(!f().enabled("btnDalej"));
}

void TestRunFlow::questionIdSwitch()
{
    f().write("a.txt", "X1\nQ\nA");
    f().write("b.txt", "X1\nQ\nA");
    f().open();
    QVERIFY(f().widget<QCheckBox>("CheckBoxID")->isChecked());
    f().click("btnStart");
    QVERIFY(f().visible("lblPytanieInfo"));
    f().click("CheckBoxID");
    QVERIFY(!f().visible("lblPytanieInfo"));
    answerRight();
    f().click("btnDalej");
    QVERIFY(!f().visible("lblPytanieInfo"));
    f().click("CheckBoxID");
    QVERIFY(f().visible("lblPytanieInfo"));
}

void TestRunFlow::closing()
{
    f().write("a.txt", "X1\nQ\nA");
    f().open();
    f().click("btnStart");
    // The close box in the middle of a run: no question asked, the window goes.
    QVERIFY(f().window->close());
    QVERIFY(f().messages.boxes.isEmpty());
    QVERIFY(!f().window->isVisible());
}

void TestRunFlow::clockCarries_data()
{
    QTest::addColumn<QStringList>("before"); // h, m1, m2, s1, s2
    QTest::addColumn<QStringList>("after");
    QTest::newRow("0:00:00") << QStringList{"0", "0", "0", "0", "0"} << QStringList{"0", "0", "0", "0", "1"};
    QTest::newRow("0:00:09") << QStringList{"0", "0", "0", "0", "9"} << QStringList{"0", "0", "0", "1", "0"};
    QTest::newRow("0:00:59") << QStringList{"0", "0", "0", "5", "9"} << QStringList{"0", "0", "1", "0", "0"};
    QTest::newRow("0:09:59") << QStringList{"0", "0", "9", "5", "9"} << QStringList{"0", "1", "0", "0", "0"};
    QTest::newRow("0:59:59") << QStringList{"0", "5", "9", "5", "9"} << QStringList{"1", "0", "0", "0", "0"};
    QTest::newRow("9:59:59") << QStringList{"9", "5", "9", "5", "9"} << QStringList{"10", "0", "0", "0", "0"};
    QTest::newRow("23:59:59") << QStringList{"23", "5", "9", "5", "9"}
                              << QStringList{"24", "0", "0", "0", "0"};
    QTest::newRow("1:23:45") << QStringList{"1", "2", "3", "4", "5"} << QStringList{"1", "2", "3", "4", "6"};
}

void TestRunFlow::clockCarries()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    f().open();
    const QStringList digits{"lblh1", "lblm1", "lblm2", "lbls1", "lbls2"};
    for (int i = 0; i < 5; ++i)
        f().widget<TLabel>(digits[i])->setCaption(before[i]);
    f().window->TimerTimer();
    QStringList shown;
    for (const QString& digit : digits)
        shown << f().caption(digit);
    QCOMPARE(shown, after);
}

void TestRunFlow::clockRunsOnlyDuringTheRun()
{
    f().write("a.txt", "X1\nQ\nA");
    f().open();
    QVERIFY(!timer()->isActive());
    f().click("btnStart");
    QVERIFY(timer()->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(f().caption("lbls2"), QString("1"), 5000);
}

ZDAWNIK_GUI_TEST_MAIN(TestRunFlow)
#include "tst_runflow.moc"
