// The practice exam in the window: started from the start panel or the command line, answered and
// changed without a verdict, ended by the student or the clock, reviewed, and kept in the history.

#include "app/ExamResultPanel.h"
#include "progress/HistoryStore.h"
#include "widgets/TImage.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

#include "ProgressFixture.h"
#include "drill/ExamRun.h"

using namespace zdawnik;

class TestExamWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<ProgressFixture>();
        f().writeQuestions({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
    }
    void cleanup() { m_fixture.reset(); }

    void answeredChangedScoredReviewed();
    void unansweredQuestionsAskFirst_data();
    void unansweredQuestionsAskFirst();
    void timeRunsOut();
    void lastFiveMinutesWarn();
    void closedMidExamIsKeptUnfinished();

private:
    std::unique_ptr<ProgressFixture> m_fixture;
    ProgressFixture& f() { return *m_fixture; }

    ExamResultPanel* result() { return f().widget<ExamResultPanel>("pnlWynikEgzaminu"); }
    std::vector<SittingFigures> sittings() { return HistoryStore(f().stateDir, f().bankKey()).Sittings(); }
    int asked = 0;
};

namespace {

// The exam's rules the dialog would give: its seam answers at once.
MainFormEnvironment WithExam(MainFormEnvironment environment, ExamSettings settings, int* asked)
{
    environment.AskExamSettings = [settings, asked](QWidget*, int bankQuestions) {
        *asked = bankQuestions;
        return std::optional<ExamSettings>(settings);
    };
    return environment;
}

} // namespace

void TestExamWindow::answeredChangedScoredReviewed()
{
    f().window = std::make_unique<TMainForm>(WithExam(f().environment(f().bank()), {5, 60, 60}, &asked));
    f().window->show();
    f().click("btnEgzamin");
    QCOMPARE(asked, 5); // the dialog is bounded by the bank's question files
    // No verdict and no hint while it runs: no "sprawdź", no good answers, no clock of the drill.
    QVERIFY(!f().visible("pnlStart"));
    QVERIFY(!f().visible("btnCheck"));
    QVERIFY(!f().visible("CheckBoxDobre"));
    QVERIFY(f().visible("btnZakoncz"));
    QVERIFY(f().caption("lblPozostalo").startsWith("Pozostało: "));
    QCOMPARE(f().caption("lblEgzaminInfo"), QString("Pytanie 1 z 5\nOdpowiedziano na 0 z 5"));

    // Every question answered right but the last two, then the fourth changed to right after "wstecz".
    for (int k = 0; k < 5; ++k) {
        f().click(k < 3 ? "pnlOdp1" : "pnlOdp2");
        QVERIFY(!f().visible("imgOK") && !f().visible("imgNieok") && !f().visible("imgGood1"));
        if (k < 4)
            f().click("btnDalej");
    }
    QVERIFY(!f().enabled("btnDalej"));
    f().click("btnWstecz");
    QCOMPARE(f().caption("lblEgzaminInfo"), QString("Pytanie 4 z 5\nOdpowiedziano na 5 z 5"));
    f().click("pnlOdp2");
    f().click("pnlOdp1");
    f().click("btnZakoncz");
    QVERIFY(f().messages.boxes.isEmpty()); // all answered: nothing to confirm

    QVERIFY(result()->isVisible());
    QCOMPARE(result()->summary(), QString("Wynik: 4 z 5 (80%), egzamin zdany"));
    QCOMPARE(f().window->Exam()->Score(), 4);

    // The fifth question under review: the wrong tick, the good answer's mark, the face.
    QTest::mouseClick(f().widget<QListWidget>("lstPytaniaEgzaminu")->viewport(), Qt::LeftButton, {},
                      f().widget<QListWidget>("lstPytaniaEgzaminu")
                          ->visualRect(f().widget<QListWidget>("lstPytaniaEgzaminu")->model()->index(4, 0))
                          .center());
    QVERIFY(!result()->isVisible());
    QVERIFY(f().visible("imgNieok"));
    QVERIFY(f().visible("imgGood1"));
    QVERIFY(f().widget<QCheckBox>("CheckBox2")->isChecked());
    f().click("pnlOdp1"); // read-only: nothing changes
    QVERIFY(!f().widget<QCheckBox>("CheckBox1")->isChecked());
    f().click("btnDalej");
    QVERIFY(result()->isVisible());

    // Kept as a sitting of its own, with its result; "koniec egzaminu" leads back to the start panel.
    f().click("btnKoniecEgzaminu");
    QVERIFY(f().visible("pnlStart"));
    QVERIFY(f().visible("btnCheck") || !f().visible("pnlStart"));
    const std::vector<SittingFigures> kept = sittings();
    QCOMPARE(kept.size(), std::size_t(1));
    QCOMPARE(kept[0].Kind, SittingKind::Exam);
    QCOMPARE(kept[0].ExamQuestions, 5);
    QCOMPARE(kept[0].ExamScore, 4);
    QCOMPARE(kept[0].ExamPassMark, 60);
    QVERIFY(kept[0].ExamFinished);
    QCOMPARE(kept[0].Answers, 5);
}

void TestExamWindow::unansweredQuestionsAskFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("ended") << true;
    QTest::newRow("kept on") << false;
}

void TestExamWindow::unansweredQuestionsAskFirst()
{
    QFETCH(bool, answer);
    f().window = std::make_unique<TMainForm>(WithExam(f().environment(f().bank()), {3, 60, 50}, &asked));
    f().window->show();
    f().click("btnEgzamin");
    f().click("pnlOdp1");
    f().messages.answer = answer;
    f().click("btnZakoncz");
    QCOMPARE(f().messages.texts(), QStringList{"Bez odpowiedzi zostało pytań: 2. Zakończyć egzamin?"});
    QCOMPARE(result()->isVisible(), answer);
    if (answer)
        QCOMPARE(result()->summary(), QString("Wynik: 1 z 3 (33%), egzamin niezdany"));
}

void TestExamWindow::timeRunsOut()
{
    // Started from the command line; the clock runs out between two ticks, and the exam ends itself.
    MainFormEnvironment environment = f().environment(f().bank());
    environment.Exam = ExamSettings{2, 1, 50};
    f().window = std::make_unique<TMainForm>(environment);
    f().window->show();
    QVERIFY(f().visible("btnZakoncz"));
    f().click("pnlOdp1");
    f().studyMs += 61'000;
    f().window->TimerTimer();
    QVERIFY(result()->isVisible());
    QCOMPARE(result()->summary(), QString("Wynik: 1 z 2 (50%), egzamin zdany"));
    QVERIFY(f().messages.boxes.isEmpty());
}

void TestExamWindow::lastFiveMinutesWarn()
{
    MainFormEnvironment environment = f().environment(f().bank());
    environment.Exam = ExamSettings{2, 10, 50};
    f().window = std::make_unique<TMainForm>(environment);
    f().window->show();
    // How much of the remaining time is drawn in red, and how much on white.
    const auto colours = [this] {
        const QImage shot = f().window->grab(f().widget("lblPozostalo")->geometry()).toImage();
        int red = 0, white = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
                white += c.red() > 240 && c.green() > 240 && c.blue() > 240;
            }
        return std::pair{red, white};
    };
    f().studyMs += 4 * 60'000;
    f().window->TimerTimer();
    QVERIFY(f().caption("lblPozostalo").startsWith("Pozostało: 5:"));
    QCOMPARE(colours(), std::pair(0, 0));
    f().studyMs += 2 * 60'000;
    f().window->TimerTimer();
    QVERIFY(f().caption("lblPozostalo").startsWith("Pozostało: 3:"));
    const auto [red, white] = colours();
    QVERIFY2(red > 20 && white > 500, qPrintable(QString("%1 red, %2 white").arg(red).arg(white)));
    QVERIFY(f().widget("lblPozostalo")->accessibleName().endsWith("ostatnie minuty"));
}

void TestExamWindow::closedMidExamIsKeptUnfinished()
{
    MainFormEnvironment environment = f().environment(f().bank());
    environment.Exam = ExamSettings{4, 30, 50};
    f().window = std::make_unique<TMainForm>(environment);
    f().window->show();
    f().click("pnlOdp1");
    f().close();
    const std::vector<SittingFigures> kept = sittings();
    QCOMPARE(kept.size(), std::size_t(1));
    QVERIFY(!kept[0].ExamFinished);
    QCOMPARE(kept[0].ExamQuestions, 4);
    QCOMPARE(kept[0].ExamScore, 1);
    // Nothing of the drill's kept run was touched.
    QVERIFY(f().keptBytes().isEmpty());
}

ZDAWNIK_GUI_TEST_MAIN(TestExamWindow)
#include "tst_examwindow.moc"
