// The window as it stands when it is created: every widget by name with its parent, place, size,
// visibility, caption, font, colours, tab order and enabled state, and the stacking and focus order
// that the order of creation gives.

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

struct Expected
{
    const char* name;
    const char* parent;
    int left, top, width, height; // width -1: sized by its text
    bool visible;
    const char* caption; // nullptr: not checked
    const char* face;    // nullptr: the parent's font
    int pixels;
    const char* style; // "", "b", "i"
    int tabOrder;      // -1: none
    bool enabled = true;
};

const char* V = "Verdana";
const char* S = "MS Sans Serif";

// The layout, written out widget by widget.
const Expected Layout[] = {
    {"lblPytanie", "MainForm", 12, 16, 930, 137, true, "lblPytanie", V, 13, "", -1},
    {"lblPytanieInfo", "MainForm", -1, 18, -1, 13, true, "lblPytanieInfo", V, 11, "i", -1},
    {"lblIleOdpowiedzi", "MainForm", 34, 138, 887, 13, true, "...", V, 11, "b", -1},
    {"imgPytanie", "MainForm", 12, 16, 930, 137, false, nullptr, nullptr, 0, "", -1},
    {"imgNieok", "MainForm", 851, 608, 63, 63, false, nullptr, nullptr, 0, "", -1},
    {"imgNic", "MainForm", 851, 608, 63, 63, false, nullptr, nullptr, 0, "", -1},
    {"imgOK", "MainForm", 851, 608, 63, 63, false, nullptr, nullptr, 0, "", -1},
    {"lblh1", "MainForm", 520, 600, 17, 20, true, "0", S, 13, "b", -1},
    {"Label15", "MainForm", 536, 600, 9, 20, true, ":", S, 13, "b", -1},
    {"lblm1", "MainForm", 544, 600, 9, 20, true, "0", S, 13, "b", -1},
    {"lblm2", "MainForm", 552, 600, 9, 20, true, "0", S, 13, "b", -1},
    {"Label18", "MainForm", 560, 600, 9, 20, true, ":", S, 13, "b", -1},
    {"lbls1", "MainForm", 568, 600, 9, 20, true, "0", S, 13, "b", -1},
    {"lbls2", "MainForm", 576, 600, 9, 20, true, "0", S, 13, "b", -1},
    {"Label21", "MainForm", 446, 600, 59, 20, true, "Czas nauki:", S, 11, "", -1},
    {"pnlInfo", "MainForm", 32, 600, 401, 81, true, nullptr, V, 11, "", 12},
    {"Label2", "pnlInfo", 184, 16, 180, 20, true, "Ilość wszystkich pytań w bazie:", nullptr, 11, "", -1},
    {"Label3", "pnlInfo", 0, 0, 241, 20, true, "Ilość ponownych wystąpień tego pytania:", nullptr, 11, "",
     -1},
    {"lblIleRazyInfo", "pnlInfo", 240, 0, 25, 20, true, "0", S, 11, "b", -1},
    {"lblPytanInfo", "pnlInfo", 368, 16, 25, 20, true, "0", S, 11, "b", -1},
    {"gaugeDobreZle", "pnlInfo", 264, 36, 131, 20, true, nullptr, V, 11, "", -1},
    {"Label4", "pnlInfo", 0, 36, 233, 20, true, "Stosunek odpowiedzi: dobre - złe", nullptr, 11, "", -1},
    {"Label5", "pnlInfo", 0, 58, 257, 20, true, "Stosunek pytań: opanowane - nieopanowane", nullptr, 11, "",
     -1},
    {"gaugeOpanowane", "pnlInfo", 264, 58, 131, 20, true, nullptr, V, 11, "", -1},
    {"Label6", "pnlInfo", 0, 16, 161, 20, true, "Ilość opanowanych pytań:", nullptr, 11, "", -1},
    {"lblOpanowane", "pnlInfo", 154, 16, 25, 20, true, "0", S, 11, "b", -1},
    {"CheckBoxDobre", "MainForm", 446, 640, 171, 17, true, "pokazuj dobre odpowiedzi", V, 9, "", 13},
    {"btnCheck", "MainForm", 742, 600, 91, 40, true, "sprawdź", V, 13, "b", 14},
    {"btnDalej", "MainForm", 742, 641, 91, 40, true, "dalej", V, 13, "b", 15, false},
    {"CheckBoxID", "MainForm", 446, 664, 203, 17, true, "pokazuj ID pytania (prawy górny róg)", V, 9, "", 16},
    {"pnlStart", "MainForm", 8, 8, 936, 674, true, nullptr, nullptr, 0, "", 17},
    {"Label1", "pnlStart", 60, 186, -1, -1, true,
     "Domyślna ilość wystąpień każdego pytania jest ustawiona na trzy.", V, 12, "", -1},
    {"Label7", "pnlStart", 60, 202, -1, -1, true,
     "W przypadku złej odpowiedzi ilość powtórzeń zwiększa się o trzy dla danego pytania.", V, 12, "", -1},
    {"Label8", "pnlStart", 60, 82, -1, -1, true, "Program z bazą pytań powstałą na forum Nexum.", V, 12, "b",
     -1},
    {"Label9", "pnlStart", 60, 98, -1, -1, true,
     "Podziękowania dla wszystkich którzy się przyczynili do jej powstania.", V, 12, "b", -1},
    {"Label10", "pnlStart", 60, 274, -1, -1, true,
     "W przypadku znalezienie błędu w pytaniu proszę o kontakt.", V, 12, "", -1},
    {"Label11", "pnlStart", 620, 386, -1, -1, true, nullptr, V, 12, "i", -1},
    {"Label12", "pnlStart", 60, 322, -1, -1, true, "Przyjemnej nauki :-)", V, 12, "", -1},
    {"btnStart", "pnlStart", 560, 432, 177, 25, true, "zaczynam się uczyć", V, 11, "", 0},
    {"pnlKoniec", "MainForm", 8, 8, 936, 674, false, nullptr, nullptr, 0, "", 18},
    {"Label14", "pnlKoniec", 60, 186, -1, -1, true,
     "Teraz pozostaje mieć nadzieję, że większość pojawi się na kole.", V, 12, "", -1},
    {"Label17", "pnlKoniec", 60, 82, -1, -1, true, "Koniec pytań.", V, 12, "b", -1},
    {"Label19", "pnlKoniec", 60, 98, -1, -1, true, "Wszystkie zostały przez Ciebie opanowane :-)", V, 12, "b",
     -1},
    {"Image1", "pnlKoniec", 544, 80, 347, 484, true, nullptr, nullptr, 0, "", -1},
    {"Button1", "pnlKoniec", 60, 384, 177, 25, true, "koniec", V, 11, "", 0},
    {"pnlOdpowiedzY", "MainForm", 32, 160, 889, 433, false, nullptr, V, 11, "", 19},
    {"lblCoPowstanie", "pnlOdpowiedzY", 40, 192, 793, 105, true, "{wybór 1}", V, 12, "", -1},
    {"pnlWybor1", "pnlOdpowiedzY", 0, 32, 857, 22, true, nullptr, nullptr, 0, "", 0},
    {"Label13", "pnlWybor1", 0, 0, 64, 22, true, "{wybór 1}", V, 12, "", -1},
    {"ComboOpcja1", "pnlWybor1", 88, 0, 769, 22, true, nullptr, V, 12, "", 0},
    {"pnlWybor2", "pnlOdpowiedzY", 0, 72, 889, 22, true, nullptr, nullptr, 0, "", 1},
    {"Label16", "pnlWybor2", 0, 0, 64, 22, true, "{wybór 2}", V, 12, "", -1},
    {"ComboOpcja2", "pnlWybor2", 88, 0, 769, 22, true, nullptr, V, 12, "", 0},
    {"pnlWybor3", "pnlOdpowiedzY", 0, 112, 873, 22, true, nullptr, nullptr, 0, "", 2},
    {"Label20", "pnlWybor3", 0, 0, 64, 22, true, "{wybór 3}", V, 12, "", -1},
    {"ComboOpcja3", "pnlWybor3", 88, 0, 769, 22, true, nullptr, V, 12, "", 0},
    {"pnlWybor4", "pnlOdpowiedzY", 0, 152, 889, 22, true, nullptr, nullptr, 0, "", 3},
    {"Label22", "pnlWybor4", 0, 0, 64, 22, true, "{wybór 4}", V, 12, "", -1},
    {"ComboOpcja4", "pnlWybor4", 88, 0, 769, 22, true, nullptr, V, 12, "", 0},
    {"btnGeneruj", "pnlOdpowiedzY", 528, 304, 305, 25, true, "generuj zdanie", V, 11, "", 4},
};

// The window's direct children in the order they are created.
const char* const WindowChildren[] = {
    "lblPytanie", "lblPytanieInfo", "lblIleOdpowiedzi", "imgPytanie", "imgNieok",      "imgNic",
    "imgOK",      "lblh1",          "Label15",          "lblm1",      "lblm2",         "Label18",
    "lbls1",      "lbls2",          "Label21",          "pnlOdp1",    "pnlOdp2",       "pnlOdp3",
    "pnlOdp4",    "pnlOdp5",        "pnlOdp6",          "pnlOdp7",    "pnlOdp8",       "pnlOdp9",
    "pnlOdp10",   "pnlOdp11",       "pnlOdp12",         "pnlInfo",    "CheckBoxDobre", "btnCheck",
    "btnDalej",   "CheckBoxID",     "pnlStart",         "pnlKoniec",  "pnlOdpowiedzY",
};

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
    for (int i = 0; i < int(std::size(Layout)); ++i)
        QTest::newRow(Layout[i].name) << i;
}

void TestMainFormLayout::widgets()
{
    QFETCH(int, row);
    const Expected& e = Layout[row];
    QWidget* w = f().widget(e.name);
    QCOMPARE(w->parentWidget()->objectName(), QString(e.parent));
    if (e.left >= 0)
        QCOMPARE(w->x(), e.left);
    QCOMPARE(w->y(), e.top);
    if (e.width >= 0)
        QCOMPARE(w->width(), e.width);
    if (e.height >= 0)
        QCOMPARE(w->height(), e.height);
    QCOMPARE(!w->isHidden(), e.visible);
    QCOMPARE(w->isEnabled(), e.enabled);
    if (e.caption)
        QCOMPARE(f().caption(e.name), QString::fromUtf8(e.caption));
    if (e.face) {
        QCOMPARE(w->font().family(), QString(e.face));
        QCOMPARE(w->font().pixelSize(), e.pixels);
    }
    if (e.pixels) {
        QCOMPARE(w->font().bold(), QByteArray(e.style) == "b");
        QCOMPARE(w->font().italic(), QByteArray(e.style) == "i");
    }
    QCOMPARE(w->property("TabOrder").isValid() ? w->property("TabOrder").toInt() : -1, e.tabOrder);
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
    QStringList windowless, windowed;
    for (const char* name : WindowChildren)
        (Windowless(f().widget(name)) ? windowless : windowed) << name;
    QStringList stacked;
    for (QObject* child : f().window->children())
        if (auto* w = qobject_cast<QWidget*>(child);
            w && std::find_if(std::begin(WindowChildren), std::end(WindowChildren), [&](const char* n) {
                     return w->objectName() == n;
                 }) != std::end(WindowChildren))
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
    // From the good-answers switch round the window: the bottom controls, then the start button
    // (the start panel's only focusable child).
    QStringList order;
    QWidget* w = f().widget("CheckBoxDobre");
    for (int i = 0; i < 4; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled())
            w = w->nextInFocusChain();
    }
    QCOMPARE(order, (QStringList{"CheckBoxDobre", "btnCheck", "CheckBoxID", "btnStart"}));
    QCOMPARE(f().widget("pnlOdp1")->focusPolicy(), Qt::NoFocus);
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
    QVERIFY(!timer->isActive());
}

void TestMainFormLayout::everyNamedWidgetIsFound()
{
    // The window looks every widget up by its name; numbered families compose it.
    for (const Expected& e : Layout)
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
