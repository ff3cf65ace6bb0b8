// The window as a screen reader reads it, through Qt's accessibility interfaces (the ones the
// accessibility bus reads), in every state of a run: what is offered, and that every offered action
// does what it says; answers are check boxes whose tick is the tick on screen; values are read with
// their captions, the clock as one object, and a check names its verdict. (The events that carry
// changes to the bus are sent only while a screen reader listens: the bus test reads them.)

#include "app/ProgressWindow.h"
#include "widgets/TGauge.h"
#include "widgets/TPanel.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>

#include "MainFormFixture.h"

using namespace zdawnik;

namespace {

const QByteArray ChoiceQuestion = ChoiceFile(2, "10");
const QByteArray SentenceQuestion = "Z212\nA {wyb\xf3r 1} B {wyb\xf3r 2}\na;;b;;\nc;;d;;\n";
const QColor TickedColour(255, 255, 128);

QAccessibleInterface* Accessible(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// Everything offered below the interface: what a screen reader walking the tree finds, in the window
// itself (a list's drop-down is a window of its own).
void Collect(QAccessibleInterface* node, QWidget* window, QList<QAccessibleInterface*>& found)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        QVERIFY(child);
        auto* widget = qobject_cast<QWidget*>(child->object());
        if (!widget || widget->window() != window)
            continue;
        QCOMPARE(node->indexOfChild(child), i);
        QCOMPARE(child->parent()->object(), node->object());
        found << child;
        Collect(child, window, found);
    }
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainFormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void offeredInEveryState_data();
    void offeredInEveryState();
    void everyOfferedActionWorks_data() { offeredInEveryState_data(); }
    void everyOfferedActionWorks();
    void answerTickedEitherWay_data();
    void answerTickedEitherWay();
    void valuesAndClockReadWithCaptions();
    void startPanelReadsBankAndButtonsFirst();
    void verdictIsAnnounced_data();
    void verdictIsAnnounced();

private:
    std::unique_ptr<MainFormFixture> m_fixture;
    MainFormFixture& f() { return *m_fixture; }

    void reach(const QString& state);
    // Object name -> its interface, for everything offered now.
    QHash<QString, QAccessibleInterface*> offered();
};

void TestAccessibility::reach(const QString& state)
{
    f().write("q.txt", state == "end panel" ? ChoiceFile(1, "1") : ChoiceQuestion);
    f().open();
    if (state == "welcome")
        return;
    f().click("btnStart");
    if (state == "ticked" || state == "checked" || state == "sentence")
        f().click("pnlOdp1");
    if (state == "checked" || state == "sentence")
        f().click("btnCheck");
    if (state == "sentence") {
        // The sentence panel comes up over the answers of the question before it.
        f().write("q.txt", SentenceQuestion);
        f().click("btnDalej");
        QVERIFY(f().visible("pnlOdpowiedzY"));
        QVERIFY(f().visible("pnlOdp1"));
    }
    if (state == "end panel") {
        for (int showing = 1; showing <= 3; ++showing) {
            f().click("pnlOdp1");
            f().click("btnCheck");
            f().click("btnDalej");
        }
        QVERIFY(f().visible("pnlKoniec"));
    }
}

QHash<QString, QAccessibleInterface*> TestAccessibility::offered()
{
    QList<QAccessibleInterface*> found;
    Collect(Accessible(f().window.get()), f().window.get(), found);
    QHash<QString, QAccessibleInterface*> byName;
    for (QAccessibleInterface* node : found)
        byName.insert(node->object()->objectName(), node);
    return byName;
}

void TestAccessibility::offeredInEveryState_data()
{
    QTest::addColumn<QString>("state");
    // The controls with an action, exactly; then what must be read, and what must not.
    QTest::addColumn<QStringList>("acting");
    QTest::addColumn<QStringList>("readable");
    QTest::addColumn<QStringList>("hidden");
    const QStringList run{"lblPytanie",    "Label21",        "lblPytanInfo",
                          "gaugeDobreZle", "gaugeOpanowane", "btnDalej"};
    const QStringList covered{"btnCheck", "btnDalej",      "CheckBoxDobre", "CheckBoxID",    "lblPytanie",
                              "pnlInfo",  "gaugeDobreZle", "Label21",       "lblPytanieInfo"};
    const QStringList parts{"lblh1", "Label15", "lbls2", "Label2", "Label4", "CheckBox1", "lblOdp1"};
    QTest::newRow("welcome") << "welcome"
                             << QStringList{"btnStart", "btnZmienBaze", "btnPostepy", "btnEgzamin"}
                             << QStringList{"pnlStart", "lblAutor", "Label1"} << covered + parts;
    const QStringList question{"pnlOdp1", "pnlOdp2", "CheckBoxDobre", "btnCheck", "CheckBoxID"};
    const QStringList welcome{"pnlStart", "btnStart", "lblAutor",     "pnlKoniec",
                              "Button1",  "pnlOdp3",  "pnlOdpowiedzY"};
    QTest::newRow("question") << "question" << question << run << welcome + parts;
    QTest::newRow("ticked") << "ticked" << question << run << welcome + parts;
    QStringList checked = question;
    checked.replace(checked.indexOf("btnCheck"), "btnDalej");
    QTest::newRow("checked") << "checked" << checked << run + QStringList{"imgOK"} << welcome + parts;
    QTest::newRow("sentence") << "sentence" << QStringList{"ComboOpcja1",   "ComboOpcja2", "btnGeneruj",
                                                           "CheckBoxDobre", "btnCheck",    "CheckBoxID"}
                              << run + QStringList{"pnlOdpowiedzY", "lblCoPowstanie"}
                              << QStringList{"pnlOdp1",  "pnlOdp2",  "ComboOpcja3", "Label13", "imgNieok",
                                             "pnlStart", "btnStart", "pnlKoniec",   "Button1"};
    QTest::newRow("end panel") << "end panel" << QStringList{"Button1", "btnPostepyKoniec"}
                               << QStringList{"pnlKoniec", "Label17"}
                               << covered + QStringList{"pnlOdp1", "pnlStart"};
}

void TestAccessibility::offeredInEveryState()
{
    QFETCH(QString, state);
    QFETCH(QStringList, acting);
    QFETCH(QStringList, readable);
    QFETCH(QStringList, hidden);
    reach(state);
    const auto nodes = offered();
    QStringList withActions;
    for (auto it = nodes.cbegin(); it != nodes.cend(); ++it) {
        // Nothing offered lies outside the window or under a panel: the user sees it where it says.
        const QRect window = Accessible(f().window.get())->rect();
        QVERIFY2(window.contains(it.value()->rect()), qPrintable(it.key()));
        if (it.value()->actionInterface() && !it.value()->actionInterface()->actionNames().isEmpty())
            withActions << it.key();
    }
    withActions.sort();
    acting.sort();
    QCOMPARE(withActions, acting);
    for (const QString& name : readable)
        QVERIFY2(nodes.contains(name), qPrintable(name + " is not offered"));
    for (const QString& name : hidden)
        QVERIFY2(!nodes.contains(name), qPrintable(name + " is offered"));
    // The gauges only show: no action, no value to set.
    for (const char* gauge : {"gaugeDobreZle", "gaugeOpanowane"}) {
        QAccessibleInterface* accessible = Accessible(f().widget(gauge));
        QCOMPARE(accessible->role(), QAccessible::ProgressBar);
        QVERIFY(!accessible->valueInterface());
        QVERIFY(accessible->state().readOnly);
    }
}

void TestAccessibility::everyOfferedActionWorks()
{
    QFETCH(QString, state);
    QFETCH(QStringList, acting);
    for (const QString& name : acting) {
        m_fixture = std::make_unique<MainFormFixture>();
        reach(state);
        const QStringList actions = offered().value(name)->actionInterface()->actionNames();
        for (qsizetype i = 0; i < actions.size(); ++i) {
            const QString what = name + ": " + actions[i];
            if (i > 0) { // each action starts from the state
                m_fixture = std::make_unique<MainFormFixture>();
                reach(state);
            }
            QAccessibleInterface* node = offered().value(name);
            QVERIFY2(node, qPrintable(what));
            auto* widget = qobject_cast<QWidget*>(node->object());
            const QImage before = f().window->grab().toImage();
            node->actionInterface()->doAction(actions[i]);
            // A button presses a moment after its action, as for a screen reader.
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                QTRY_VERIFY(!button->isDown());
            QVERIFY2(f().messages.boxes.isEmpty(),
                     qPrintable(what + " brought " + f().messages.texts().join(' ')));
            if (actions[i] == QAccessibleActionInterface::setFocusAction()) {
                QVERIFY2(widget->hasFocus(), qPrintable(what));
                continue;
            }
            // Every other action shows its effect: the window changes, or a list opens, a dialog asks
            // for a folder or an exam's rules, the statistics window comes up, the window closes.
            QWidget* popup = QApplication::activePopupWidget();
            const bool acted = popup || !f().folders.titles.isEmpty() || !f().examAsked.isEmpty() ||
                               (f().window->Progress() && f().window->Progress()->isVisible()) ||
                               !f().window->isVisible() || f().window->grab().toImage() != before;
            if (popup)
                popup->close();
            QVERIFY2(acted, qPrintable(what + " did nothing"));
        }
    }
}

void TestAccessibility::answerTickedEitherWay_data()
{
    QTest::addColumn<bool>("byAction");
    QTest::newRow("ticked by its action") << true;
    QTest::newRow("ticked by a click") << false;
}

void TestAccessibility::answerTickedEitherWay()
{
    QFETCH(bool, byAction);
    f().write("rys.png", PictureBytes({20, 20}, Qt::blue, "PNG"));
    f().write("q.txt", "X10\nPytanie\nA && B\n[img]rys.png[/img]\n");
    f().open();
    f().click("btnStart");
    auto* panel = f().widget<TPanel>("pnlOdp1");
    QAccessibleInterface* answer = Accessible(panel);
    QCOMPARE(answer->role(), QAccessible::CheckBox);
    QCOMPARE(answer->text(QAccessible::Name), QString("A & B"));
    QCOMPARE(Accessible(f().widget("pnlOdp2"))->text(QAccessible::Name), QString("rysunek"));
    QVERIFY(answer->state().checkable);
    QVERIFY(answer->state().focusable);
    QVERIFY(!answer->state().checked);
    const QColor slotColour = panel->grab().toImage().pixelColor(3, 3);
    for (const bool tick : {true, false}) {
        if (byAction)
            answer->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        else
            f().click("pnlOdp1");
        // Ticked on screen: the panel turns yellow; ticked for the screen reader: its state says so.
        QCOMPARE(panel->grab().toImage().pixelColor(3, 3), tick ? TickedColour : slotColour);
        QCOMPARE(f().widget<QCheckBox>("CheckBox1")->isChecked(), tick);
        QCOMPARE(answer->state().checked, tick);
    }
    // A click never gives an answer the focus, so a mouse user sees no focus frame.
    QVERIFY(!panel->hasFocus());
}

void TestAccessibility::startPanelReadsBankAndButtonsFirst()
{
    f().write("q.txt", ChoiceQuestion);
    f().open();
    QAccessibleInterface* panel = Accessible(f().widget("pnlStart"));
    QStringList order;
    for (int i = 0; i < panel->childCount(); ++i)
        if (auto* widget = qobject_cast<QWidget*>(panel->child(i)->object()); widget && widget->isVisible())
            order << widget->objectName();
    QCOMPARE(order.first(), QString("lblBaza"));
    const QStringList buttons = order.mid(1, 4);
    QCOMPARE(QSet<QString>(buttons.begin(), buttons.end()),
             (QSet<QString>{"btnZmienBaze", "btnStart", "btnPostepy", "btnEgzamin"}));
    QCOMPARE(order.last(), QString("lblAutor"));
}

void TestAccessibility::valuesAndClockReadWithCaptions()
{
    f().write("q.txt", ChoiceQuestion);
    f().open();
    f().click("btnStart");
    const auto name = [this](const char* widget) {
        return Accessible(f().widget(widget))->text(QAccessible::Name);
    };
    QCOMPARE(name("lblPytanInfo"), QString("Ilość wszystkich pytań w bazie: 1"));
    QCOMPARE(name("lblIleRazyInfo"), QString("Ilość ponownych wystąpień tego pytania: 2"));
    QCOMPARE(name("lblOpanowane"), QString("Ilość opanowanych pytań: 0"));
    QCOMPARE(name("gaugeOpanowane"), QString("Stosunek pytań: opanowane - nieopanowane: 0%"));
    QCOMPARE(name("Label21"), QString("Czas nauki: 0:00:00"));
    for (int tick = 0; tick < 65; ++tick)
        f().window->TimerTimer();
    QCOMPARE(name("Label21"), QString("Czas nauki: 0:01:05"));
    QCOMPARE(Accessible(f().widget("gaugeOpanowane"))->text(QAccessible::Value), QString("0%"));
    f().click("pnlOdp1");
    f().click("btnCheck");
    QCOMPARE(name("gaugeDobreZle"), QString("Stosunek odpowiedzi: dobre - złe: 100%"));
}

void TestAccessibility::verdictIsAnnounced_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("announced");
    QTest::newRow("right") << ChoiceFile(3, "101") << QStringList{"pnlOdp1", "pnlOdp3"} << "imgOK"
                           << "dobra odpowiedź: dobrze zaznaczone 2 z 2";
    QTest::newRow("partly right") << ChoiceFile(3, "101") << QStringList{"pnlOdp3"} << "imgNic"
                                  << "odpowiedź częściowo dobra: dobrze zaznaczone 1 z 2";
    QTest::newRow("wrong") << ChoiceFile(3, "101") << QStringList{"pnlOdp1", "pnlOdp2"} << "imgNieok"
                           << "zła odpowiedź: dobrze zaznaczone 1 z 2, źle zaznaczone 1";
    QTest::newRow("sentence") << SentenceQuestion << QStringList{} << "imgNieok"
                              << "zła odpowiedź: dobrze wybrane 0 z 2";
    // A key that is no number matches nothing, not even a list left empty: the count says so too.
    QTest::newRow("sentence, key no number")
        << QByteArray("Z1x\nA {wyb\xf3r 1}\na;;b;;\n") << QStringList{} << "imgNieok"
        << "zła odpowiedź: dobrze wybrane 0 z 1";
}

void TestAccessibility::verdictIsAnnounced()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, clicks);
    QFETCH(QString, mark);
    QFETCH(QString, announced);
    f().write("q.txt", file);
    f().open();
    f().click("btnStart");
    for (const QString& answer : clicks)
        f().click(answer);
    f().click("btnCheck");
    QAccessibleInterface* verdict = Accessible(f().widget(mark));
    QCOMPARE(verdict->role(), QAccessible::AlertMessage);
    QCOMPARE(verdict->text(QAccessible::Name), announced);
    QVERIFY(offered().contains(mark));
}

ZDAWNIK_GUI_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
