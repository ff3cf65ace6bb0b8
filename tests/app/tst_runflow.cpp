// The run from the start button to the end panel: the empty bank, the next action with questions that
// cannot be read, the question-ID switch, closing, the study clock, and the start of the metafile helper.

#include "app/Application.h"
#include "drill/StudyPool.h"
#include "pictures/PictureLoader.h"
#include "widgets/TGauge.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <utility>

#include "MainFormFixture.h"
#include "ProgressFixture.h"

using namespace zdawnik;

namespace {

const QString HmmText = "Prawdopodobnie nie został odnaleziony katalog \"baza\".\n"
                        "Powinien się on znajdować w tym samym katalogu w którym jest program.\n"
                        "\n"
                        "Jeśli taki katalog istnieje to możliwe, że nie ma w nim plików z pytaniami.\n"
                        "\n"
                        "A jeśli żadne z powyższych to nie wiem co... :-[";

// The clock value that makes the next draw pick pending position `position` of `count`: the
// generator steps to seed * 134775813 + 1 and draws the high half of seed * count.
std::uint32_t ClockDrawing(int position, int count)
{
    std::uint32_t inverse = 134775813u; // Newton's steps to the inverse modulo 2^32
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 134775813u * inverse;
    const auto wanted = static_cast<std::uint32_t>(
        ((std::uint64_t(position) << 32) + (std::uint64_t(1) << 31)) / std::uint64_t(count));
    return (wanted - 1u) * inverse;
}

// The lightness of the darkest pixel of a button's caption, in the middle of the button.
int DarkestCaption(QWidget* button)
{
    const QImage image = button->grab().toImage();
    const QRect middle =
        image.rect().adjusted(image.width() / 5, image.height() / 4, -image.width() / 5, -image.height() / 4);
    int darkest = 255;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x)
            darkest = std::min(darkest, image.pixelColor(x, y).lightness());
    return darkest;
}

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
    void questionNotShown_data();
    void questionNotShown();
    void bankGoesAwayDuringTheRun();
    void questionIdSwitch();
    void buttonsLookTheirState_data();
    void buttonsLookTheirState();
    void closing();
    void clockCarries_data();
    void clockCarries();
    void clockRunsOnlyDuringTheRun();
    void clockShowsTheTimeThatPassed();
    void switchesAreRemembered();
    void metafileHelperStartsOnceTheWindowIsShown();

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

void TestRunFlow::questionNotShown_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("report"); // the reader's or the program's; empty: none
    QTest::addColumn<QString>("position");
    const struct
    {
        const char* kind;
        const char* report;
    } kinds[] = {
        {"twenty lines", ""},
        {"empty", ""},
        {"thirteen answers",
         "ETooManyAnswers error raised, with message : The question has 13 answers; at most 12 can be shown"},
        {"a sentence without its list count", "EConvertError error raised, with message : '' is not a valid "
                                              "integer value"},
        {"listed, then gone", "File not found"},
        {"a folder", "File access denied"},
    };
    for (const auto& kind : kinds)
        for (const char* position : {"first", "after an answer", "last"})
            QTest::newRow(qPrintable(QString("%1, %2").arg(kind.kind, position)))
                << kind.kind << kind.report << position;
}

void TestRunFlow::questionNotShown()
{
    QFETCH(QString, kind);
    QFETCH(QString, report);
    QFETCH(QString, position);
    // A good question and one that cannot be shown.
    f().write("a.txt", "X1\r\nPytanie a\r\nA\r\n");
    if (kind == "twenty lines")
        f().write("b.txt", QByteArray("X1\n").repeated(20));
    else if (kind == "empty")
        f().write("b.txt", "");
    else if (kind == "thirteen answers")
        f().write("b.txt", ChoiceFile(13, "1"));
    else if (kind == "a sentence without its list count")
        f().write("b.txt", "Z\nNowe zdanie\n");
    else if (kind == "listed, then gone")
        std::filesystem::create_symlink(f().bank() / "nic.txt", f().bank() / "b.txt");
    else
        std::filesystem::create_directory(f().bank() / "b.txt");
    const std::vector<std::string> listed = ScanBank(f().bank());
    const int a = listed[0] == "a.txt" ? 0 : 1, b = 1 - a;

    // What stands on screen while a report is open: the question before must be gone.
    QStringList seenAtReport;
    f().messages.whileOpen = [&] {
        for (int n = 1; n <= 12; ++n)
            if (f().visible(Numbered("pnlOdp", n)))
                seenAtReport << Numbered("pnlOdp", n);
        for (const char* name : {"imgOK", "imgNic", "imgNieok", "imgGood1", "pnlOdpowiedzY"})
            if (f().visible(name))
                seenAtReport << name;
        if (!f().caption("lblPytanie").isEmpty())
            seenAtReport << f().caption("lblPytanie");
        if (f().enabled("btnCheck"))
            seenAtReport << "btnCheck";
    };
    f().open();
    if (position == "first") {
        f().clock = ClockDrawing(b, 2);
        f().click("btnStart");
    } else {
        f().clock = ClockDrawing(a, 2);
        f().click("btnStart");
        QCOMPARE(f().caption("lblPytanieInfo"), QString("a.txt"));
        answerRight();
        for (int showing = 2; position == "last" && showing <= 3; ++showing) {
            f().click("btnDalej");
            answerRight();
        }
        const std::vector<int>& pending = f().window->Pool()->PendingList();
        f().clock = ClockDrawing(int(std::find(pending.begin(), pending.end(), b) - pending.begin()),
                                 int(pending.size()));
        f().click("btnDalej");
    }

    // The report, if any, came once, over an empty question area.
    QCOMPARE(f().messages.texts(), report.isEmpty() ? QStringList() : QStringList{report});
    QCOMPARE(seenAtReport, QStringList());
    // Never shown, never judged: its counter is untouched, and it is neither pending nor mastered.
    const StudyPool& pool = *f().window->Pool();
    QCOMPARE(pool.Pool()[std::size_t(b)].Repeats, 3);
    QVERIFY(!std::count(pool.PendingList().begin(), pool.PendingList().end(), b));
    QCOMPARE(pool.MasteredCount(), position == "last" ? 1 : 0);
    QCOMPARE(f().caption("lblPytanInfo"), QString("2"));
    // The gauge counts the bank's files: one that cannot be shown keeps it from filling up.
    QCOMPARE(f().widget<TGauge>("gaugeOpanowane")->MaxValue(), 2);

    if (position != "last") {
        // The run went on with the good question, shown afresh.
        QCOMPARE(f().caption("lblPytanieInfo"), QString("a.txt"));
        QCOMPARE(f().caption("lblPytanie"), QString("Pytanie a"));
        QVERIFY(!f().visible("imgOK"));
        QVERIFY(f().enabled("btnCheck"));
        QVERIFY(!f().enabled("btnDalej"));
        while (f().window->Pool()->PendingCount() > 0) {
            answerRight();
            f().click("btnDalej");
        }
    } else {
        QVERIFY(!timer()->isActive());
    }
    // The file that was never shown does not keep the run from ending, nor is it claimed mastered.
    QVERIFY(f().visible("pnlKoniec"));
    QCOMPARE(f().caption("lblOpanowane"), QString("1"));
    QCOMPARE(f().widget<TGauge>("gaugeOpanowane")->Progress(), 1);
    QCOMPARE(f().caption("Label19"), QString("Opanowane: 1 z 2 – plików, których nie dało się pokazać: 1."));
    QVERIFY(f().caption("lblOdlozone").contains("b.txt: "));
    QCOMPARE(f().messages.boxes.size(), report.isEmpty() ? 0 : 1);
}

void TestRunFlow::bankGoesAwayDuringTheRun()
{
    f().write("a.txt", "X1\r\nPytanie\r\nA\r\n");
    f().write("b.txt", "X1\r\nPytanie\r\nA\r\n");
    f().open();
    f().click("btnStart");
    answerRight();
    std::filesystem::remove_all(f().bank());
    f().click("btnDalej");
    // Each question is reported once, as the program's error report; then the run is over.
    QCOMPARE(f().messages.texts(), QStringList({"File not found", "File not found"}));
    QCOMPARE(f().messages.boxes[0].icon, MessageBoxes::Icon::Stop);
    QCOMPARE(f().messages.boxes[0].title, QString("Zdawnik"));
    // Nothing is claimed mastered: the end panel names the files and why they could not be shown.
    QVERIFY(f().visible("pnlKoniec"));
    QCOMPARE(f().widget<TGauge>("gaugeOpanowane")->MaxValue(), 2);
    QCOMPARE(f().caption("lblOpanowane"), QString("0"));
    QCOMPARE(f().caption("Label19"), QString("Opanowane: 0 z 2 – plików, których nie dało się pokazać: 2."));
    const QString listed = f().caption("lblOdlozone");
    QVERIFY2(listed.contains("a.txt: File not found") && listed.contains("b.txt: File not found") &&
                 listed.contains("zdawnik-check"),
             qPrintable(listed));
}

void TestRunFlow::buttonsLookTheirState_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("enabledWhileAsking");
    QTest::newRow("sprawdź") << "btnCheck" << true;
    QTest::newRow("dalej") << "btnDalej" << false;
}

void TestRunFlow::buttonsLookTheirState()
{
    QFETCH(QString, button);
    QFETCH(bool, enabledWhileAsking);
    f().write("a.txt", "X1\nQ\nA");
    f().write("b.txt", "X1\nQ\nA");
    f().open();
    f().click("btnStart");
    const int asking = DarkestCaption(f().widget(button));
    answerRight();
    const int answered = DarkestCaption(f().widget(button));
    const int enabled = enabledWhileAsking ? asking : answered;
    const int disabled = enabledWhileAsking ? answered : asking;
    // Black when it can be pressed, greyed when it cannot.
    QVERIFY2(enabled < 40, qPrintable(QString::number(enabled)));
    QVERIFY2(disabled > enabled + 60, qPrintable(QString("%1 against %2").arg(disabled).arg(enabled)));
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
    // A kept study time of a thousand hours and more: the hours grow to the left, none cut.
    QTest::newRow("999:59:59") << QStringList{"999", "5", "9", "5", "9"}
                               << QStringList{"1000", "0", "0", "0", "0"};
    QTest::newRow("12345:00:00") << QStringList{"12345", "0", "0", "0", "0"}
                                 << QStringList{"12345", "0", "0", "0", "1"};
}

void TestRunFlow::clockCarries()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    // The clock takes up the time of a kept run, and carries on from there.
    ProgressFixture kept;
    kept.writeQuestions({"a.txt"});
    const qint64 seconds = before[0].toLongLong() * 3600 + (before[1].toInt() * 10 + before[2].toInt()) * 60 +
                           before[3].toInt() * 10 + before[4].toInt();
    kept.keep(kept.record({"a.txt:2"}, 0, 0, seconds));
    kept.open();
    kept.click("btnKontynuuj");
    const QStringList digits{"lblh1", "lblm1", "lblm2", "lbls1", "lbls2"};
    const auto shown = [&] {
        QStringList captions;
        for (const QString& digit : digits)
            captions << kept.caption(digit);
        return captions;
    };
    QCOMPARE(shown(), before);
    kept.window->TimerTimer();
    QCOMPARE(shown(), after);
    // Every digit of the hours is drawn whole, left of the colon and right of the caption.
    auto* hours = kept.widget<TLabel>("lblh1");
    const QRect caption = kept.widget("Label21")->geometry();
    QVERIFY(QFontMetrics(hours->font()).horizontalAdvance(after[0]) <= hours->width());
    QCOMPARE(hours->geometry().right(), 536); // where the layout ends the hours
    QVERIFY(caption.right() < hours->x() + (after[0].size() > 4 ? 9 : 0));
    const QImage shot = kept.window->grab(hours->geometry()).toImage();
    int lime = 0;
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < shot.height(); ++y)
            lime += shot.pixelColor(x, y).green() > 200 && shot.pixelColor(x, y).red() < 80;
    QVERIFY2(after[0].size() < 3 || lime > 0, "the first digit of the hours is drawn");
}

void TestRunFlow::switchesAreRemembered()
{
    f().settings = std::make_unique<QSettings>(f().dir.filePath("ustawienia.ini"), QSettings::IniFormat);
    f().write("a.txt", ChoiceFile(2, "10"));
    f().open();
    f().click("CheckBoxDobre");
    f().click("CheckBoxID");
    f().window->close();
    f().open();
    QVERIFY(!f().widget<QCheckBox>("CheckBoxDobre")->isChecked());
    QVERIFY(!f().widget<QCheckBox>("CheckBoxID")->isChecked());
    f().click("btnStart");
    // The question's ID stays hidden, and the check shows no good answer.
    QVERIFY(!f().visible("lblPytanieInfo"));
    f().click("pnlOdp2");
    f().click("btnCheck");
    QVERIFY(f().visible("imgNieok"));
    QVERIFY(!f().visible("imgGood1"));
}

void TestRunFlow::clockShowsTheTimeThatPassed()
{
    // The window froze for 27 seconds between two ticks: the next tick shows all of them.
    f().write("a.txt", ChoiceFile(2, "10"));
    f().open();
    f().click("btnStart");
    f().window->TimerTimer();
    f().studyMs += 27'000;
    f().window->TimerTimer();
    QCOMPARE(f().caption("lbls1") + f().caption("lbls2"), QString("29"));
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

namespace {

// Calls its work at the first paint of the widget it watches.
class AtFirstPaint : public QObject
{
public:
    explicit AtFirstPaint(std::function<void()> work) : m_work(std::move(work)) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_work)
            std::exchange(m_work, nullptr)();
        return false;
    }

private:
    std::function<void()> m_work;
};

} // namespace

void TestRunFlow::metafileHelperStartsOnceTheWindowIsShown()
{
    // The helper's start does not slow the window's first painting, and the helper is up before the
    // user can reach a question.
    PictureLoader pictures;
    f().pictures = &pictures;
    f().write("q.txt", "X1\r\nPytanie\r\nodp\r\n");
    auto window = std::make_unique<TMainForm>(f().environment(f().bank()));
    StartHelperOnceShown(*window, pictures);
    qint64 helperAtFirstPaint = -1;
    AtFirstPaint watch([&] { helperAtFirstPaint = pictures.HelperProcessId(); });
    window->installEventFilter(&watch);
    QCOMPARE(pictures.HelperProcessId(), 0);
    window->show();
    QTRY_VERIFY(pictures.HelperProcessId() != 0);
    QCOMPARE(helperAtFirstPaint, 0);
}

ZDAWNIK_GUI_TEST_MAIN(TestRunFlow)
#include "tst_runflow.moc"
