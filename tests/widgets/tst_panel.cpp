#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QSignalSpy>
#include <QtTest>

#include "PatternedParent.h"

using namespace zdawnik;

namespace {

// An answer panel as the window builds it: a picture docked to the left edge, one pixel wider than
// the panel, a label over what it leaves, and two children that do not dock.
struct AnswerPanel
{
    QWidget window;
    TPanel* panel = new TPanel(&window);
    TImage* picture = new TImage(panel);
    TLabel* label = new TLabel(panel);
    TImage* mark = new TImage(panel);
    QWidget* other = new QWidget(panel);

    AnswerPanel()
    {
        window.resize(500, 100);
        panel->setGeometry(32, 10, 440, 70);
        picture->setGeometry(0, 0, 441, 70);
        picture->setAlign(TAlign::Left);
        label->setAutoSize(false);
        label->setAlign(TAlign::Client);
        mark->setGeometry(390, 20, 50, 50);
        mark->hide();
        other->setGeometry(0, 56, 14, 14);
        other->hide();
    }
};

void Apply(AnswerPanel& answer, const QString& step)
{
    if (step == "hide picture")
        answer.picture->hide();
    else if (step == "show picture")
        answer.picture->show();
    else if (step == "panel 300x50")
        answer.panel->resize(300, 50);
    else if (step == "picture width 100")
        answer.picture->resize(100, answer.picture->height());
    else if (step == "undock label")
        answer.label->setAlign(TAlign::None);
    else if (step == "show window")
        answer.window.show();
    else
        QFAIL(qPrintable("unknown step " + step));
}

} // namespace

class TestPanel : public QObject
{
    Q_OBJECT

private slots:
    void docking_data();
    void docking();
    void fillsItsRectangle_data();
    void fillsItsRectangle();
    void clicks_data();
    void clicks();
};

void TestPanel::docking_data()
{
    QTest::addColumn<bool>("windowShown");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QRect>("picture");
    QTest::addColumn<QRect>("label");
    for (const bool shown : {false, true}) {
        const char* mode = shown ? "on screen" : "never shown";
        QTest::addRow("picture shown, %s", mode)
            << shown << QStringList{} << QRect(0, 0, 441, 70) << QRect(441, 0, 0, 70);
        QTest::addRow("picture hidden, %s", mode)
            << shown << QStringList{"hide picture"} << QRect(0, 0, 441, 70) << QRect(0, 0, 440, 70);
        QTest::addRow("picture shown again, %s", mode) << shown << QStringList{"hide picture", "show picture"}
                                                       << QRect(0, 0, 441, 70) << QRect(441, 0, 0, 70);
        QTest::addRow("label undocked, %s", mode) << shown << QStringList{"undock label", "hide picture"}
                                                  << QRect(0, 0, 441, 70) << QRect(441, 0, 0, 70);
    }
    // A new size of the panel or of a child is known to the panel once it is on screen.
    QTest::newRow("panel resized") << true << QStringList{"panel 300x50"} << QRect(0, 0, 441, 50)
                                   << QRect(441, 0, 0, 50);
    QTest::newRow("panel resized, picture hidden") << true << QStringList{"hide picture", "panel 300x50"}
                                                   << QRect(0, 0, 441, 70) << QRect(0, 0, 300, 50);
    QTest::newRow("panel resized, then shown")
        << false << QStringList{"hide picture", "panel 300x50", "show window"} << QRect(0, 0, 441, 70)
        << QRect(0, 0, 300, 50);
    QTest::newRow("narrower picture")
        << true << QStringList{"picture width 100"} << QRect(0, 0, 100, 70) << QRect(100, 0, 340, 70);
    QTest::newRow("narrower picture, then shown") << false << QStringList{"picture width 100", "show window"}
                                                  << QRect(0, 0, 100, 70) << QRect(100, 0, 340, 70);
}

void TestPanel::docking()
{
    QFETCH(bool, windowShown);
    QFETCH(QStringList, steps);
    QFETCH(QRect, picture);
    QFETCH(QRect, label);
    AnswerPanel answer;
    if (windowShown) {
        answer.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&answer.window));
    }
    for (const QString& step : steps)
        Apply(answer, step);
    QCOMPARE(answer.picture->geometry(), picture);
    QCOMPARE(answer.label->geometry(), label);
    QCOMPARE(answer.mark->geometry(), QRect(390, 20, 50, 50));
    QCOMPARE(answer.other->geometry(), QRect(0, 56, 14, 14));
}

void TestPanel::fillsItsRectangle_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QRgb>("shown");
    QTest::newRow("own colour") << QColor(0x80, 0xFF, 0xFF) << QRgb(0xFF80FFFFu);
    QTest::newRow("parent's colour") << QColor() << PatternedParent::Color;
}

// Flat: no border, no caption, its colour right to the edges; a transparent label on it shows it.
void TestPanel::fillsItsRectangle()
{
    QFETCH(QColor, color);
    QFETCH(QRgb, shown);
    PatternedParent parent;
    auto* panel = new TPanel(&parent);
    panel->setGeometry(10, 10, 100, 50);
    if (color.isValid())
        panel->setColor(color);
    auto* label = new TLabel(panel);
    label->setTransparent(true);
    label->setCaption("x");
    const QImage image = Grab(parent);
    for (const QPoint at : {QPoint(10, 10), QPoint(109, 59), QPoint(60, 58), QPoint(10, 40)})
        QCOMPARE(image.pixel(at) | 0xFF000000u, shown);
    QCOMPARE(image.pixel(9, 9) | 0xFF000000u, PatternedParent::patternAt(9, 9));
    QCOMPARE(image.pixel(110, 60) | 0xFF000000u, PatternedParent::patternAt(110, 60));
}

void TestPanel::clicks_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("releasedInside");
    QTest::addColumn<int>("clicks");
    for (const char* control : {"label", "picture", "panel"}) {
        QTest::addRow("%s, left click", control) << control << Qt::LeftButton << true << 1;
        QTest::addRow("%s, released outside", control) << control << Qt::LeftButton << false << 0;
        QTest::addRow("%s, right click", control) << control << Qt::RightButton << true << 0;
    }
}

// A click is a left-button press and release on the control; the panel beneath a clicked child does
// not take the click as well.
void TestPanel::clicks()
{
    QFETCH(QString, control);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, releasedInside);
    QFETCH(int, clicks);
    AnswerPanel answer;
    answer.picture->hide();
    answer.label->setCaption("odpowiedź");
    answer.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&answer.window));

    TControl* target = answer.panel;
    if (control == "label") {
        target = answer.label;
    } else if (control == "picture") {
        answer.label->hide();
        answer.picture->show();
        answer.picture->resize(200, 70);
        answer.picture->setAlign(TAlign::None);
        target = answer.picture;
    } else {
        answer.label->hide();
    }
    QSignalSpy targetClicks(target, &TControl::clicked);
    QSignalSpy panelClicks(answer.panel, &TPanel::clicked);
    const QPoint inside(20, 20);
    const QPoint outside = releasedInside ? inside : QPoint(target->width() + 30, 20);
    QTest::mousePress(target, button, Qt::NoModifier, inside);
    QTest::mouseRelease(target, button, Qt::NoModifier, outside);
    QCOMPARE(targetClicks.count(), clicks);
    if (target != answer.panel)
        QCOMPARE(panelClicks.count(), 0);
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
