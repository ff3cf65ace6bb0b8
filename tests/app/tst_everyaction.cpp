// Every way in, in every state of a run: each action that the accessibility interfaces of the
// window's widgets offer (the actions a screen reader can press, also on widgets that are covered or
// hidden), then each event handler called directly. Nothing may crash, no error report may come up,
// and the window must still tell one consistent story afterwards.

#include "drill/StudyPool.h"
#include "widgets/TGauge.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "MainFormFixture.h"

using namespace zdawnik;

namespace {

using Handler = void (TMainForm::*)();

// Every handler a user's action can reach; closing comes last, as it ends the window.
const Handler EveryHandler[] = {
    &TMainForm::FormCreate,        &TMainForm::btnStartClick,    &TMainForm::btnKontynuujClick,
    &TMainForm::btnZmienBazeClick, &TMainForm::pnlStartDragDrop, &TMainForm::btnGenerujClick,
    &TMainForm::pnlOdp1Click,      &TMainForm::pnlOdp2Click,     &TMainForm::pnlOdp3Click,
    &TMainForm::pnlOdp4Click,      &TMainForm::pnlOdp5Click,     &TMainForm::pnlOdp6Click,
    &TMainForm::pnlOdp7Click,      &TMainForm::pnlOdp8Click,     &TMainForm::pnlOdp9Click,
    &TMainForm::pnlOdp10Click,     &TMainForm::pnlOdp11Click,    &TMainForm::pnlOdp12Click,
    &TMainForm::CheckBoxIDClick,   &TMainForm::TimerTimer,       &TMainForm::btnCheckClick,
    &TMainForm::btnDalejClick,     &TMainForm::Button1Click,     &TMainForm::FormClose,
};

const QByteArray GoodQuestion = ChoiceFile(3, "101");
const QByteArray SentenceQuestion = "Z211\nA {wyb\xf3r 1} B {wyb\xf3r 2}\na;;b;;\nc;;d;;\n";
// A sentence question without its number of lists: the reader reports it.
const QByteArray UnreadableQuestion = "Y\nno list count\n";

} // namespace

class TestEveryAction : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainFormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void checkWaitsForAQuestion();
    void everyActionInEveryState_data();
    void everyActionInEveryState();

private:
    std::unique_ptr<MainFormFixture> m_fixture;
    MainFormFixture& f() { return *m_fixture; }

    void reach(const QString& state);
    void fireEveryAccessibleAction();
    void expectConsistentCounts();
};

void TestEveryAction::checkWaitsForAQuestion()
{
    // "sprawdź" lies under the start panel until the run starts, and cannot be pressed there; it is
    // greyed out as soon as the start panel is gone over an empty bank.
    f().open(f().bank());
    QVERIFY(!f().enabled("btnCheck"));
    QVERIFY(!f().enabled("btnDalej"));
    f().click("btnStart");
    QVERIFY(!f().enabled("btnCheck"));
    QCOMPARE(f().messages.boxes.size(), 2); // the two boxes of an empty bank, nothing else
}

void TestEveryAction::everyActionInEveryState_data()
{
    QTest::addColumn<QString>("state");
    for (const char* state :
         {"welcome", "empty bank", "question", "ticked", "checked", "sentence", "unreadable", "end panel"})
        QTest::newRow(state) << QString(state);
}

void TestEveryAction::reach(const QString& state)
{
    if (state == "sentence")
        f().write("q.txt", SentenceQuestion);
    else if (state != "empty bank")
        f().write("q.txt", state == "end panel" ? ChoiceFile(1, "1") : GoodQuestion);
    f().open();
    if (state == "welcome")
        return;
    f().click("btnStart");
    if (state == "ticked" || state == "checked" || state == "unreadable" || state == "end panel")
        f().click("pnlOdp1");
    if (state == "checked" || state == "unreadable")
        f().click("btnCheck");
    if (state == "unreadable") {
        f().write("q.txt", UnreadableQuestion);
        f().click("btnDalej");
        QCOMPARE(f().messages.boxes.size(), 1); // the reader's report
        f().write("q.txt", GoodQuestion);
    }
    if (state == "end panel") {
        for (int showing = 1; showing <= 3; ++showing) {
            if (showing > 1)
                f().click("pnlOdp1");
            f().click("btnCheck");
            f().click("btnDalej");
        }
        QVERIFY(f().visible("pnlKoniec"));
    }
}

void TestEveryAction::fireEveryAccessibleAction()
{
    QList<QWidget*> widgets{f().window.get()};
    for (QWidget* widget : f().window->findChildren<QWidget*>())
        if (widget->window() == f().window.get()) // not the lists' drop-downs
            widgets << widget;
    for (QWidget* widget : widgets) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(accessible, qPrintable(widget->objectName()));
        if (QAccessibleActionInterface* actions = accessible->actionInterface())
            for (const QString& action : actions->actionNames())
                actions->doAction(action);
    }
    // Buttons press a moment after their action, as they do for a screen reader.
    QTRY_VERIFY(std::none_of(widgets.begin(), widgets.end(), [](QWidget* widget) {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        return button && button->isDown();
    }));
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

void TestEveryAction::expectConsistentCounts()
{
    const StudyPool* pool = f().window->Pool();
    if (!pool)
        return;
    const int mastered = pool->MasteredCount();
    QCOMPARE(f().caption("lblOpanowane").toInt(), mastered);
    QCOMPARE(f().widget<TGauge>("gaugeOpanowane")->Progress(), mastered);
    QVERIFY(f().widget<TGauge>("gaugeDobreZle")->Progress() <=
            f().widget<TGauge>("gaugeDobreZle")->MaxValue());
    // A question can only be checked while one is shown.
    QVERIFY(!(f().enabled("btnCheck") && f().enabled("btnDalej")));
}

void TestEveryAction::everyActionInEveryState()
{
    QFETCH(QString, state);
    reach(state);
    f().messages.boxes.clear();

    fireEveryAccessibleAction();
    QVERIFY2(f().messages.boxes.isEmpty(), qPrintable(f().messages.texts().join('\n')));
    expectConsistentCounts();

    for (Handler handler : EveryHandler) {
        (f().window.get()->*handler)();
        QVERIFY2(f().messages.boxes.isEmpty(), qPrintable(f().messages.texts().join('\n')));
        if (handler != &TMainForm::FormClose && handler != &TMainForm::Button1Click)
            expectConsistentCounts();
    }
}

ZDAWNIK_GUI_TEST_MAIN(TestEveryAction)
#include "tst_everyaction.moc"
