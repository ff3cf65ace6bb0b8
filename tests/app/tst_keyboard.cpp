// Drilling without a mouse: the slot keys, Enter and Space, Tab and the arrow keys, the lists of a
// sentence question.

#include "widgets/TGauge.h"
#include "widgets/TPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "MainFormFixture.h"

using namespace zdawnik;

namespace {

const int SlotKeys[12] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,     Qt::Key_6,
                          Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0, Qt::Key_Minus, Qt::Key_Equal};

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainFormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void slotKeys_data();
    void slotKeys();
    void enterThroughAWholeQuestion_data();
    void enterThroughAWholeQuestion();
    void keysWaitForTheRun();
    void spaceAndEnterBelongToTheFocus_data();
    void spaceAndEnterBelongToTheFocus();
    void tabVisitsWhatIsOnScreen_data();
    void tabVisitsWhatIsOnScreen();
    void arrowsAndSpaceOnTheAnswers();
    void focusFrameOnlyForTheKeyboard();
    void sentenceListsByKey();
    void keyLineOnTheStartPanel();

private:
    std::unique_ptr<MainFormFixture> m_fixture;
    MainFormFixture& f() { return *m_fixture; }
    // A key goes where the system sends it: to the widget with the focus.
    void press(int key)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : f().window.get();
        QTest::keyClick(target, Qt::Key(key));
    }
    void start(const QByteArray& file)
    {
        f().write("q.txt", file);
        f().open();
        f().click("btnStart");
    }
};

void TestKeyboard::slotKeys_data()
{
    QTest::addColumn<int>("n");
    for (int n : {1, 4, 6, 7, 9, 11, 12})
        QTest::newRow(qPrintable(QString("%1 answers").arg(n))) << n;
}

void TestKeyboard::slotKeys()
{
    QFETCH(int, n);
    start(ChoiceFile(n, "1"));
    for (int k = 1; k <= 12; ++k) {
        press(SlotKeys[k - 1]);
        // The answer standing in slot k, and no other, is ticked.
        for (int i = 1; i <= 12; ++i) {
            auto* panel = f().widget<TPanel>(Numbered("pnlOdp", i));
            const bool inSlot = k <= n && panel->isVisible() && panel->pos() == SlotPlace(n, k);
            QCOMPARE(f().widget<QCheckBox>(Numbered("CheckBox", i))->isChecked(), inSlot);
        }
        if (k <= n)
            press(SlotKeys[k - 1]); // untick it again
    }
}

void TestKeyboard::enterThroughAWholeQuestion_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void TestKeyboard::enterThroughAWholeQuestion()
{
    QFETCH(int, key);
    start(ChoiceFile(3, "010"));
    for (int showing = 1; showing <= 3; ++showing) {
        for (int k = 1; k <= 3; ++k) {
            auto* panel = f().widget<TPanel>("pnlOdp2");
            if (panel->pos() == SlotPlace(3, k))
                press(SlotKeys[k - 1]);
        }
        press(key);
        QVERIFY(f().visible("imgOK"));
        QVERIFY(f().widget<QCheckBox>("CheckBoxDobre")->isChecked());
        QVERIFY(f().enabled("btnDalej"));
        press(key);
    }
    // The last "dalej" brought the end panel; there the keys do nothing.
    QVERIFY(f().visible("pnlKoniec"));
    press(key);
    QVERIFY(f().visible("pnlKoniec"));
}

void TestKeyboard::keysWaitForTheRun()
{
    // On the welcome screen the slot keys do nothing, and Space starts the run; the switches
    // beneath the start panel keep their ticks.
    f().write("q.txt", ChoiceFile(3, "1"));
    f().open();
    press(Qt::Key_1);
    QVERIFY(f().visible("pnlStart"));
    press(Qt::Key_Space);
    QVERIFY(!f().visible("pnlStart"));
    QVERIFY(f().widget<QCheckBox>("CheckBoxDobre")->isChecked());
    QVERIFY(f().widget<QCheckBox>("CheckBoxID")->isChecked());
    for (int n = 1; n <= 12; ++n)
        QVERIFY(!f().widget<QCheckBox>(Numbered("CheckBox", n))->isChecked());
    QCOMPARE(f().caption("lblPytanInfo"), QString("1"));
}

void TestKeyboard::spaceAndEnterBelongToTheFocus_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("focus"); // empty: nothing the user can see has the focus
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("outcome");
    const struct
    {
        const char* screen;
        const char* focus;
        const char* onSpace;
        const char* onEnter;
    } rows[] = {
        {"question", "CheckBoxDobre", "switch ticked off", "verdict"},
        {"question", "CheckBoxID", "switch ticked off", "verdict"},
        {"question", "btnCheck", "verdict", "verdict"},
        {"question", "", "verdict", "verdict"},
        {"checked", "btnDalej", "next question", "next question"},
        {"checked", "CheckBoxDobre", "switch ticked off", "next question"},
        {"checked", "", "next question", "next question"},
        {"sentence", "ComboOpcja1", "list opened", "nothing"},
        {"sentence", "btnGeneruj", "sentence", "sentence"},
        {"sentence", "", "verdict", "verdict"},
        {"welcome", "btnZmienBaze", "folder dialog", "folder dialog"},
        {"welcome", "btnStart", "run started", "run started"},
        {"welcome", "", "run started", "run started"},
    };
    for (const auto& row : rows) {
        for (int key : {int(Qt::Key_Space), int(Qt::Key_Return)}) {
            const QString name = QString("%1, focus on %2, %3")
                                     .arg(row.screen, *row.focus ? row.focus : "nothing",
                                          key == Qt::Key_Space ? "Space" : "Enter");
            QTest::newRow(qPrintable(name))
                << row.screen << row.focus << key << (key == Qt::Key_Space ? row.onSpace : row.onEnter);
        }
    }
}

void TestKeyboard::spaceAndEnterBelongToTheFocus()
{
    QFETCH(QString, screen);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, outcome);

    f().write("q.txt",
              screen == "sentence" ? QByteArray("Z11\nA {wyb\xf3r 1}\na;;b;;\n") : ChoiceFile(2, "10"));
    f().open();
    if (screen != "welcome")
        f().click("btnStart");
    if (screen == "checked")
        f().click("btnCheck");
    if (focus.isEmpty()) {
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
    } else {
        f().widget(focus)->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), f().widget(focus));
    }
    const QString showings = f().caption("lblIleRazyInfo");
    const QImage switchBefore = f().widget("CheckBoxDobre")->grab().toImage();

    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : f().window.get(),
                    Qt::Key(key));

    // A verdict shows its mark and counts one more answer.
    const bool verdict = outcome == "verdict";
    QCOMPARE(f().visible("imgNieok"), verdict || (screen == "checked" && outcome != "next question"));
    QCOMPARE(f().widget<TGauge>("gaugeDobreZle")->MaxValue(), verdict || screen == "checked" ? 1 : 0);
    // The next question is shown once more, with one showing less to come.
    QCOMPARE(f().caption("lblIleRazyInfo") != showings,
             outcome == "next question" || outcome == "run started");
    QCOMPARE(f().visible("pnlStart"), screen == "welcome" && outcome != "run started");
    // A switch shows its tick, and loses it only to its own key.
    auto* dobre = f().widget<QCheckBox>("CheckBoxDobre");
    auto* id = f().widget<QCheckBox>("CheckBoxID");
    const bool switchedOff = outcome == "switch ticked off";
    QCOMPARE(!dobre->isChecked(), switchedOff && focus == "CheckBoxDobre");
    QCOMPARE(f().widget("CheckBoxDobre")->grab().toImage() != switchBefore,
             switchedOff && focus == "CheckBoxDobre");
    QCOMPARE(!id->isChecked(), switchedOff && focus == "CheckBoxID");
    QCOMPARE(f().widget("lblPytanieInfo")->isVisible(), !(switchedOff && focus == "CheckBoxID"));
    // A list opens its drop-down; "generuj zdanie" writes the sentence; "zmień bazę…" asks for a folder.
    QWidget* popup = QApplication::activePopupWidget();
    QCOMPARE(popup != nullptr, outcome == "list opened");
    if (popup)
        popup->close();
    if (screen == "sentence")
        QCOMPARE(f().caption("lblCoPowstanie"), outcome == "sentence"  ? QString("A  ")
                                                : outcome == "verdict" ? QString("A  a")
                                                                       : QString());
    QCOMPARE(f().folders.titles.size(), outcome == "folder dialog" ? 1 : 0);
    QVERIFY(f().messages.boxes.isEmpty());
}

void TestKeyboard::tabVisitsWhatIsOnScreen_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QStringList>("round"); // "answer N": the answer standing in slot N
    QTest::newRow("welcome") << "welcome" << QStringList{"btnStart", "btnZmienBaze", "btnPostepy", "btnEgzamin"};
    QTest::newRow("question") << "question" << QStringList{"answer 1",      "answer 2", "answer 3",
                                                           "CheckBoxDobre", "btnCheck", "CheckBoxID"};
    QTest::newRow("checked") << "checked" << QStringList{"answer 1",      "answer 2", "answer 3",
                                                         "CheckBoxDobre", "btnDalej", "CheckBoxID"};
    QTest::newRow("sentence") << "sentence" << QStringList{"ComboOpcja1",   "ComboOpcja2", "btnGeneruj",
                                                           "CheckBoxDobre", "btnCheck",    "CheckBoxID"};
    QTest::newRow("end panel") << "end panel" << QStringList{"Button1", "btnPostepyKoniec"};
}

void TestKeyboard::tabVisitsWhatIsOnScreen()
{
    // Tab goes round what the user can see, the answers first in the order they stand; never to a
    // control that a panel covers.
    QFETCH(QString, screen);
    QFETCH(QStringList, round);
    if (screen == "sentence")
        f().write("q.txt", "Z212\nA {wyb\xf3r 1} B {wyb\xf3r 2}\na;;b;;\nc;;d;;\n");
    else
        f().write("q.txt", screen == "end panel" ? ChoiceFile(1, "1") : ChoiceFile(3, "100"));
    f().open();
    if (screen != "welcome")
        f().click("btnStart");
    if (screen == "checked")
        f().click("btnCheck");
    for (int showing = 1; screen == "end panel" && showing <= 3; ++showing) {
        f().click("pnlOdp1");
        f().click("btnCheck");
        f().click("btnDalej");
    }
    QStringList visited;
    for (int i = 0; i < 2 * round.size(); ++i) {
        press(Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QString name = focus->objectName();
        for (int k = 1; k <= 3 && name.startsWith("pnlOdp"); ++k)
            if (focus->pos() == SlotPlace(3, k))
                name = QString("answer %1").arg(k);
        visited << name;
    }
    QCOMPARE(visited.mid(visited.indexOf(round.first()), round.size()), round);
    QCOMPARE(QSet<QString>(visited.begin(), visited.end()), QSet<QString>(round.begin(), round.end()));
}

void TestKeyboard::arrowsAndSpaceOnTheAnswers()
{
    start(ChoiceFile(4, "0100"));
    const auto inSlot = [this](int k) {
        for (int n = 1; n <= 4; ++n)
            if (f().widget(Numbered("pnlOdp", n))->pos() == SlotPlace(4, k))
                return f().widget<TPanel>(Numbered("pnlOdp", n));
        return static_cast<TPanel*>(nullptr);
    };
    if (QWidget* focus = QApplication::focusWidget())
        focus->clearFocus();
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), inSlot(1));
    press(Qt::Key_Down);
    press(Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), inSlot(3));
    press(Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), inSlot(2));
    press(Qt::Key_Up);
    press(Qt::Key_Up); // the first answer is the first
    QCOMPARE(QApplication::focusWidget(), inSlot(1));
    // Space ticks the focused answer, and it shows; Enter checks.
    press(Qt::Key_Space);
    const int answer = inSlot(1)->objectName().mid(6).toInt();
    QVERIFY(f().widget<QCheckBox>(Numbered("CheckBox", answer))->isChecked());
    QCOMPARE(inSlot(1)->color(), QColor(255, 255, 128));
    press(Qt::Key_Return);
    QVERIFY(f().visible(answer == 2 ? "imgOK" : "imgNieok"));
    // Enter again brings the next question, and the focus stays on its answers.
    press(Qt::Key_Return);
    QVERIFY(f().enabled("btnCheck"));
    QCOMPARE(QApplication::focusWidget(), inSlot(1));
}

void TestKeyboard::focusFrameOnlyForTheKeyboard()
{
    start(ChoiceFile(1, "1"));
    auto* panel = f().widget<TPanel>("pnlOdp1");
    const QImage unfocused = panel->grab().toImage();
    // Clicked twice, ticked and unticked: the mouse gives no focus and leaves no mark.
    f().click("pnlOdp1");
    f().click("pnlOdp1");
    QVERIFY(!panel->hasFocus());
    QCOMPARE(panel->grab().toImage(), unfocused);
    // Reached by Tab, the answer shows its focus.
    if (QWidget* focus = QApplication::focusWidget())
        focus->clearFocus();
    press(Qt::Key_Tab);
    QVERIFY(panel->hasFocus());
    QVERIFY(panel->grab().toImage() != unfocused);
}

void TestKeyboard::sentenceListsByKey()
{
    start("Z312\xb3"
          "1\nA {wyb\xf3r 1} B {wyb\xf3r 2} C {wyb\xf3r 3}\na;;b;;\nc;;d;;\ne;;f;;\n");
    press(Qt::Key_2);
    QCOMPARE(QApplication::focusWidget(), f().widget("ComboOpcja2"));
    press(Qt::Key_Down);
    QCOMPARE(f().widget<QComboBox>("ComboOpcja2")->currentIndex(), 0);
    press(Qt::Key_4); // there is no fourth list
    QCOMPARE(QApplication::focusWidget(), f().widget("ComboOpcja2"));
    // Enter on a list confirms it and no more: the other lists are still to be chosen.
    press(Qt::Key_Return);
    QVERIFY(f().enabled("btnCheck"));
    QVERIFY(!f().visible("imgNieok") && !f().visible("imgOK"));
    press(Qt::Key_1);
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    QVERIFY(f().enabled("btnCheck"));
    f().widget("btnCheck")->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    QVERIFY(!f().enabled("btnCheck"));
    QVERIFY(f().visible("imgNieok"));
}

void TestKeyboard::keyLineOnTheStartPanel()
{
    f().open();
    auto* line = f().widget<TLabel>("lblKlawiatura");
    QCOMPARE(line->parentWidget(), f().widget("pnlStart"));
    QVERIFY(line->caption().contains("Enter"));
    // In the free space: it covers no other widget of the start panel, and fits inside it.
    QVERIFY(f().widget("pnlStart")->rect().contains(line->geometry()));
    for (QWidget* other : f().widget("pnlStart")->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (other != line)
            QVERIFY2(!other->geometry().intersects(line->geometry()), qPrintable(other->objectName()));
}

ZDAWNIK_GUI_TEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
