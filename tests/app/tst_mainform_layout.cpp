// The window as it stands when it is created: every widget of the layout table by name with its
// parent, place, size, visibility, caption, font, tab order and enabled state; a few facts of the
// layout checked by hand and by the pixels drawn; and the stacking and focus order that the order of
// creation gives.

#include "app/WidgetEntry.h"
#include "widgets/LayoutFonts.h"
#include "widgets/TGauge.h"
#include "widgets/TImage.h"
#include "widgets/TPanel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "MainFormFixture.h"

using namespace zdawnik;

namespace {

// The window's widgets as the program's own layout table gives them.
const std::vector<WidgetEntry>& Table()
{
    static const std::vector<WidgetEntry> table = TMainForm::LayoutTable();
    return table;
}

// The window's direct children in the order they are created.
QStringList WindowChildren()
{
    QStringList names;
    for (const WidgetEntry& entry : Table())
        if (entry.parent.isEmpty())
            names << entry.name;
    return names;
}

bool Windowless(const QWidget* widget)
{
    return qobject_cast<const TLabel*>(widget) || qobject_cast<const TImage*>(widget) ||
           qobject_cast<const TGauge*>(widget);
}

} // namespace

class TestMainFormLayout : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<MainFormFixture>();
        m_fixture->open();
    }
    void cleanup() { m_fixture.reset(); }

    void window();
    void widgets_data();
    void widgets();
    void handPickedFacts_data();
    void handPickedFacts();
    void pixels_data();
    void pixels();
    void answerPanels_data();
    void answerPanels();
    void colours_data();
    void colours();
    void stackingFollowsCreation();
    void autorSitsInTheCorner();
    void questionIdKeepsItsRightEdge();
    void focusOrder();
    void gaugesAtStart();
    void listsArePickOnly();
    void timerAtStart();
    void everyNamedWidgetIsFound();

private:
    std::unique_ptr<MainFormFixture> m_fixture;
    MainFormFixture& f() { return *m_fixture; }
};

void TestMainFormLayout::window()
{
    TMainForm& form = *f().window;
    QCOMPARE(form.objectName(), QString("MainForm"));
    QCOMPARE(form.windowTitle(), QString("Zdawnik"));
    QCOMPARE(QCoreApplication::applicationName(), QString("Zdawnik"));
    // No display name: the platform would append it to the window's title.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    QCOMPARE(form.size(), QSize(952, 690));
    QCOMPARE(form.minimumSize(), QSize(952, 690));
    QCOMPARE(form.maximumSize(), QSize(952, 690));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(form.palette().color(QPalette::Window), QColor(7, 80, 152));
    QCOMPARE(form.font().family(), QString("MS Sans Serif"));
    QCOMPARE(form.font().pixelSize(), 11);
}

void TestMainFormLayout::widgets_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(Table().size()); ++i)
        QTest::newRow(qPrintable(Table()[std::size_t(i)].name)) << i;
}

void TestMainFormLayout::widgets()
{
    QFETCH(int, row);
    const WidgetEntry& e = Table()[std::size_t(row)];
    QWidget* w = f().widget(e.name);
    QCOMPARE(w->parentWidget()->objectName(), e.parent.isEmpty() ? QString("MainForm") : e.parent);
    // The start and end panels are placed when the window is created; docked widgets take their
    // parent's edge; a label that sizes itself keeps its top, and its left unless it is right-aligned.
    const bool placedAtCreation = e.name == "pnlStart" || e.name == "pnlKoniec" || e.name == "lblAutor";
    const bool sizesItself = e.kind == WidgetKind::Label && !(e.flags & Fixed);
    if (e.flags & (DockLeft | DockClient) || placedAtCreation) {
    } else if (sizesItself) {
        QCOMPARE(w->y(), e.geometry.y());
        if (!(e.flags & Right))
            QCOMPARE(w->x(), e.geometry.x());
    } else {
        QCOMPARE(w->geometry(), e.geometry);
    }
    // The start panel is shown when the window is created.
    QCOMPARE(w->isHidden(), bool(e.flags & Hidden) && e.name != "pnlStart");
    QCOMPARE(w->isEnabled(), !(e.flags & Disabled));
    if (!e.caption.isEmpty())
        QCOMPARE(f().caption(e.name), e.caption);
    if (e.font != LayoutFont::Inherit) {
        const QFont font = MakeLayoutFont(e.font, e.style);
        QCOMPARE(w->font().family(), font.family());
        QCOMPARE(w->font().pixelSize(), font.pixelSize());
        QCOMPARE(w->font().bold(), font.bold());
        QCOMPARE(w->font().italic(), font.italic());
    }
    QCOMPARE(w->property("TabOrder").isValid() ? w->property("TabOrder").toInt() : -1, e.tabOrder);
}

void TestMainFormLayout::handPickedFacts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("font"); // face, pixels and "b" for bold
    QTest::newRow("question") << "lblPytanie" << QRect(12, 16, 930, 137) << "Verdana 13";
    QTest::newRow("check") << "btnCheck" << QRect(742, 600, 91, 40) << "Verdana 13 b";
    QTest::newRow("next") << "btnDalej" << QRect(742, 641, 91, 40) << "Verdana 13 b";
    QTest::newRow("clock hours") << "lblh1" << QRect(520, 600, 17, 20) << "MS Sans Serif 13 b";
    QTest::newRow("info panel") << "pnlInfo" << QRect(32, 600, 401, 81) << "Verdana 11";
    QTest::newRow("mastered gauge") << "gaugeOpanowane" << QRect(264, 58, 131, 20) << "Verdana 11";
    QTest::newRow("good answers") << "CheckBoxDobre" << QRect(446, 640, 171, 17) << "Verdana 9";
    QTest::newRow("start panel") << "pnlStart" << QRect(8, 8, 936, 674) << "";
    QTest::newRow("end panel") << "pnlKoniec" << QRect(8, 8, 936, 674) << "";
    QTest::newRow("start") << "btnStart" << QRect(560, 432, 177, 25) << "Verdana 11";
    QTest::newRow("third list") << "ComboOpcja3" << QRect(88, 0, 769, 22) << "Verdana 12";
    QTest::newRow("third list's row") << "pnlWybor3" << QRect(0, 112, 873, 22) << "";
}

void TestMainFormLayout::handPickedFacts()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, font);
    QWidget* w = f().widget(name);
    QCOMPARE(w->geometry(), geometry);
    if (!font.isEmpty()) {
        const QStringList parts = font.split(' ');
        const bool bold = parts.last() == "b";
        const int size = (bold ? parts[parts.size() - 2] : parts.last()).toInt();
        QCOMPARE(w->font().family(), font.section(' ', 0, parts.size() - (bold ? 3 : 2)));
        QCOMPARE(w->font().pixelSize(), size);
        QCOMPARE(w->font().bold(), bold);
    }
}

void TestMainFormLayout::pixels_data()
{
    QTest::addColumn<bool>("startPanel");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("colour");
    const QColor blue(7, 80, 152), info(6, 72, 138), navy(4, 47, 89), white(255, 255, 255);
    QTest::newRow("margin round the start panel") << true << QPoint(4, 4) << blue;
    QTest::newRow("start panel") << true << QPoint(30, 300) << navy;
    QTest::newRow("window") << false << QPoint(4, 4) << blue;
    QTest::newRow("question's ground") << false << QPoint(900, 140) << white;
    QTest::newRow("info panel") << false << QPoint(412, 605) << info;
    QTest::newRow("under the hidden answer panels") << false << QPoint(300, 300) << blue;
}

void TestMainFormLayout::pixels()
{
    QFETCH(bool, startPanel);
    QFETCH(QPoint, at);
    QFETCH(QColor, colour);
    f().widget("pnlStart")->setVisible(startPanel);
    QCOMPARE(f().window->grab().toImage().pixelColor(at), colour);
}

void TestMainFormLayout::answerPanels_data()
{
    QTest::addColumn<int>("n");
    for (int n = 1; n <= 12; ++n)
        QTest::newRow(qPrintable(QString("answer %1").arg(n))) << n;
}

void TestMainFormLayout::answerPanels()
{
    QFETCH(int, n);
    auto* panel = f().widget<TPanel>(Numbered("pnlOdp", n));
    QCOMPARE(panel->parentWidget(), f().window.get());
    QCOMPARE(panel->geometry(), QRect(n <= 6 ? 32 : 480, 160 + 72 * ((n - 1) % 6), 440, 70));
    QVERIFY(panel->isHidden());
    QCOMPARE(panel->property("TabOrder").toInt(), n - 1);
    QCOMPARE(panel->cursor().shape(), Qt::BitmapCursor);

    auto* image = f().widget<TImage>(Numbered("imgOdp", n));
    auto* label = f().widget<TLabel>(Numbered("lblOdp", n));
    auto* tick = f().widget<TImage>(Numbered("imgGood", n));
    auto* box = f().widget<QCheckBox>(Numbered("CheckBox", n));
    const QList<QObject*> children = panel->children();
    QVERIFY(children.indexOf(image) < children.indexOf(label));
    QVERIFY(children.indexOf(label) < children.indexOf(tick));
    // The picture is docked on the left, one pixel wider than the panel; the label gets what is left.
    QCOMPARE(image->geometry(), QRect(0, 0, 441, 70));
    QVERIFY(!image->isHidden());
    QCOMPARE(label->width(), 0);
    QVERIFY(label->transparent());
    QVERIFY(label->wordWrap());
    QCOMPARE(label->caption(), QString());
    QCOMPARE(label->font().family(), QString("Verdana"));
    QCOMPARE(label->font().pixelSize(), 11);
    QCOMPARE(tick->geometry(), QRect(390, n == 1 ? 16 : 20, 50, 50));
    QVERIFY(tick->isHidden());
    QVERIFY(tick->transparent());
    QCOMPARE(box->geometry(), QRect(0, 56, 14, 14));
    QVERIFY(box->isHidden());
    QVERIFY(!box->isChecked());
    for (QWidget* w :
         {static_cast<QWidget*>(image), static_cast<QWidget*>(label), static_cast<QWidget*>(box)})
        QCOMPARE(w->cursor().shape(), Qt::BitmapCursor);
}

void TestMainFormLayout::colours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("ground"); // invalid: transparent
    const QColor blue(7, 80, 152), info(6, 72, 138), navy(4, 47, 89), white(255, 255, 255), black(0, 0, 0);
    const QColor lime(0, 255, 0), aqua(0, 255, 255), yellow(255, 255, 0), sky(166, 202, 240);
    QTest::newRow("question") << "lblPytanie" << black << white;
    QTest::newRow("question id") << "lblPytanieInfo" << sky << QColor();
    QTest::newRow("hint") << "lblIleOdpowiedzi" << blue << QColor();
    QTest::newRow("clock hours") << "lblh1" << lime << blue;
    QTest::newRow("clock seconds") << "lbls2" << lime << blue;
    QTest::newRow("clock caption") << "Label21" << black << blue;
    QTest::newRow("info caption") << "Label2" << black << info;
    QTest::newRow("repeats") << "lblIleRazyInfo" << aqua << info;
    QTest::newRow("mastered") << "lblOpanowane" << aqua << info;
    QTest::newRow("credit") << "lblAutor" << white << QColor();
    QTest::newRow("wish") << "Label12" << yellow << QColor();
    QTest::newRow("sentence") << "lblCoPowstanie" << black << white;
    QTest::newRow("list caption") << "Label13" << yellow << blue;
}

void TestMainFormLayout::colours()
{
    QFETCH(QString, name);
    QFETCH(QColor, text);
    QFETCH(QColor, ground);
    auto* label = f().widget<TLabel>(name);
    QCOMPARE(label->palette().color(QPalette::WindowText), text);
    QCOMPARE(label->transparent(), !ground.isValid());
    if (ground.isValid())
        QCOMPARE(label->palette().color(QPalette::Window), ground);
}

void TestMainFormLayout::stackingFollowsCreation()
{
    // Window-less widgets lie beneath the windowed ones; each kind stacks in the order of creation.
    const QStringList children = WindowChildren();
    QStringList windowless, windowed;
    for (const QString& name : children)
        (Windowless(f().widget(name)) ? windowless : windowed) << name;
    QStringList stacked;
    for (QObject* child : f().window->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && children.contains(w->objectName()))
            stacked << w->objectName();
    QCOMPARE(stacked, windowless + windowed);
    // In the info panel the value labels lie over the captions they overlap.
    const QList<QObject*> info = f().widget("pnlInfo")->children();
    QVERIFY(info.indexOf(f().widget("lblOpanowane")) > info.indexOf(f().widget("Label6")));
    QVERIFY(info.indexOf(f().widget("lblIleRazyInfo")) > info.indexOf(f().widget("Label3")));
}

void TestMainFormLayout::autorSitsInTheCorner()
{
    QWidget* autor = f().widget("lblAutor");
    QCOMPARE(autor->parentWidget()->objectName(), QString("pnlStart"));
    QVERIFY(f().caption("lblAutor").startsWith("programik napisał: "));
    QCOMPARE(autor->geometry().right() + 1, 932);
    QCOMPARE(autor->geometry().bottom() + 1, 670);
    QCOMPARE(autor->y(), 657); // one line of 11-pixel Verdana is 13 pixels high
}

void TestMainFormLayout::questionIdKeepsItsRightEdge()
{
    auto* info = f().widget<TLabel>("lblPytanieInfo");
    QCOMPARE(info->geometry().right() + 1, 940);
    for (const QString& text :
         {QString("a.txt"), QString("bardzo-dluga-nazwa-pliku-z-pytaniem-numer-123.txt")}) {
        info->setCaption(text);
        QCOMPARE(info->geometry().right() + 1, 940);
    }
    QVERIFY(info->x() < 700);
}

void TestMainFormLayout::focusOrder()
{
    // From the good-answers switch round the window: the bottom controls that can take the focus
    // ("sprawdź" waits for a question), then the start panel's buttons.
    QStringList order;
    QWidget* w = f().widget("CheckBoxDobre");
    for (int i = 0; i < 4; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled())
            w = w->nextInFocusChain();
    }
    QCOMPARE(order, (QStringList{"CheckBoxDobre", "CheckBoxID", "btnStart", "btnZmienBaze"}));
    QCOMPARE(f().widget("pnlOdp1")->focusPolicy(), Qt::TabFocus); // an answer: by keyboard only
    QCOMPARE(f().widget("pnlStart")->focusPolicy(), Qt::NoFocus);
}

void TestMainFormLayout::gaugesAtStart()
{
    auto* good = f().widget<TGauge>("gaugeDobreZle");
    auto* mastered = f().widget<TGauge>("gaugeOpanowane");
    for (TGauge* gauge : {good, mastered}) {
        QCOMPARE(gauge->Kind(), gkHorizontalBar);
        QCOMPARE(gauge->BorderStyle(), bsSingle);
        QCOMPARE(gauge->BackColor(), QColor(7, 80, 152));
        QCOMPARE(gauge->ForeColor(), QColor(0, 255, 0));
        QCOMPARE(gauge->Color(), QColor(0, 128, 0));
        QVERIFY(!gauge->ShowText());
        QCOMPARE(gauge->MinValue(), 0);
        QCOMPARE(gauge->Progress(), 0);
    }
    QCOMPARE(good->MaxValue(), 0);
    QCOMPARE(mastered->MaxValue(), 100);
    // An empty bar in a black frame.
    const QImage picture = good->grab().toImage();
    QCOMPARE(picture.pixelColor(0, 0), QColor(0, 0, 0));
    QCOMPARE(picture.pixelColor(1, 1), QColor(7, 80, 152));
    QCOMPARE(picture.pixelColor(129, 18), QColor(7, 80, 152));
}

void TestMainFormLayout::listsArePickOnly()
{
    for (int n = 1; n <= 4; ++n) {
        auto* list = f().widget<QComboBox>(Numbered("ComboOpcja", n));
        QVERIFY(!list->isEditable());
        list->addItems({"jeden", "dwa"});
        QCOMPARE(list->view()->sizeHintForRow(0), 14);
    }
}

void TestMainFormLayout::timerAtStart()
{
    auto* timer = f().window->findChild<QTimer*>("Timer");
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 999);
    // A coarse timer would round the interval to a whole second.
    QCOMPARE(timer->timerType(), Qt::PreciseTimer);
    QVERIFY(!timer->isActive());
}

void TestMainFormLayout::everyNamedWidgetIsFound()
{
    // The window looks every widget up by its name; numbered families compose it.
    for (const WidgetEntry& e : Table())
        QCOMPARE(f().window->FindComponent(e.name), f().widget(e.name));
    for (const char* prefix : {"pnlOdp", "imgOdp", "lblOdp", "imgGood", "CheckBox"})
        for (int n = 1; n <= 12; ++n)
            QVERIFY(f().window->FindComponent(Numbered(prefix, n)));
    for (const char* prefix : {"pnlWybor", "ComboOpcja"})
        for (int n = 1; n <= 4; ++n)
            QVERIFY(f().window->FindComponent(Numbered(prefix, n)));
}

ZDAWNIK_GUI_TEST_MAIN(TestMainFormLayout)
#include "tst_mainform_layout.moc"
