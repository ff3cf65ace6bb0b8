// Questions on screen and their checking: the shuffled answer panels, ticking, pictures and their
// fallbacks, the sentence panel, the assembled sentence, every verdict with its marks and
// statistics, and whole runs to the end panel.

#include "app/ListColor.h"
#include "drill/StudyPool.h"
#include "widgets/TGauge.h"
#include "widgets/TImage.h"
#include "widgets/TPanel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include <set>

#include "MainFormFixture.h"

using namespace zdawnik;

namespace {

const QColor Grey(221, 221, 221), White(255, 255, 255), Yellow(255, 255, 128), Reset(238, 238, 238);
const QColor LightGreen(111, 255, 147);

} // namespace

class TestQuestions : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainFormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void placement_data();
    void placement();
    void tickingAnswers();
    void goodAnswerMarkTakesNoClick();
    void tickShowsThePanelThrough();
    void facesBlendWithTheWindow_data();
    void facesBlendWithTheWindow();
    void choiceVerdicts_data();
    void choiceVerdicts();
    void gaugesCount();
    void sentenceVerdicts_data();
    void sentenceVerdicts();
    void keyThatIsNoNumber();
    void pictures_data();
    void pictures();
    void textAfterPictures();
    void sentenceAfterLonger();
    void sentenceThatFailsHalfWay();
    void sentenceWithPicture();
    void choiceAfterSentence();
    void tooManyAnswers();
    void checkedListsAreFlatGreen();
    void openedListDropsBelowIt_data();
    void openedListDropsBelowIt();
    void assembly_data();
    void assembly();
    void wholeRun();

private:
    std::unique_ptr<MainFormFixture> m_fixture;
    MainFormFixture& f() { return *m_fixture; }
    void start(const QByteArray& file, const std::string& name = "q.txt")
    {
        f().write(name, file);
        f().open();
        f().click("btnStart");
    }
    // The one question of the bank becomes another, and "dalej" brings it up.
    void next(const QByteArray& file)
    {
        f().write("q.txt", file);
        f().click("btnDalej");
    }
    TGauge* gauge(const char* name) { return f().widget<TGauge>(name); }
    QComboBox* list(int n) { return f().widget<QComboBox>(Numbered("ComboOpcja", n)); }
    void pick(int n, int index) { list(n)->setCurrentIndex(index); }
    QString markShown()
    {
        for (const char* mark : {"imgOK", "imgNic", "imgNieok"})
            if (f().visible(mark))
                return mark;
        return "none";
    }
    void writePicture(const std::string& name, const char* format, QSize size = {60, 40})
    {
        f().write(name, PictureBytes(size, QColor(200, 30, 30), format));
    }
};

void TestQuestions::placement_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<quint32>("clock");
    for (int n = 1; n <= 12; ++n)
        for (quint32 clock : {0u, 977u, 0xDEADBEEFu})
            QTest::newRow(qPrintable(QString("%1 answers, clock %2").arg(n).arg(clock))) << n << clock;
}

void TestQuestions::placement()
{
    QFETCH(int, n);
    QFETCH(quint32, clock);
    f().clock = clock;
    start(ChoiceFile(n, "1"));
    QList<QPoint> places;
    for (int k = 1; k <= n; ++k)
        places << SlotPlace(n, k);
    std::set<std::pair<int, int>> taken;
    for (int i = 1; i <= 12; ++i) {
        auto* panel = f().widget<TPanel>(Numbered("pnlOdp", i));
        if (i > n) {
            QVERIFY(!panel->isVisible());
            QCOMPARE(panel->color(), Reset);
            continue;
        }
        QVERIFY(panel->isVisible());
        const int slot = places.indexOf(panel->pos());
        QVERIFY2(slot >= 0 && slot < n,
                 qPrintable(QString("panel %1 at %2,%3").arg(i).arg(panel->x()).arg(panel->y())));
        taken.insert({panel->x(), panel->y()});
        // Rows alternate grey and white down a column; the label keeps the slot's colour.
        const QColor expected = (panel->y() - 160) / 72 % 2 == 0 ? Grey : White;
        QCOMPARE(panel->color(), expected);
        QCOMPARE(f().widget<TLabel>(Numbered("lblOdp", i))->color(), expected);
        QCOMPARE(f().caption(Numbered("lblOdp", i)), QString("odpowiedź %1").arg(i));
        QVERIFY(!f().widget<QCheckBox>(Numbered("CheckBox", i))->isChecked());
        QVERIFY(!f().visible(Numbered("imgOdp", i)));
    }
    QCOMPARE(int(taken.size()), n);
}

void TestQuestions::tickingAnswers()
{
    writePicture("a.png", "PNG");
    start("X10\nPytanie\n[img]a.png[/img]\ntekst\n");
    auto* panel = f().widget<TPanel>("pnlOdp1");
    const QColor slotColour = panel->color();
    auto* box = f().widget<QCheckBox>("CheckBox1");
    for (const char* target : {"pnlOdp1", "imgOdp1", "pnlOdp1"}) {
        f().click(target);
        QVERIFY(box->isChecked());
        QCOMPARE(panel->color(), Yellow);
        f().click(target);
        QVERIFY(!box->isChecked());
        QCOMPARE(panel->color(), slotColour);
    }
    f().click("lblOdp2");
    QVERIFY(f().widget<QCheckBox>("CheckBox2")->isChecked());
    // After the check the answers still toggle.
    f().click("btnCheck");
    f().click("lblOdp2");
    QVERIFY(!f().widget<QCheckBox>("CheckBox2")->isChecked());
    // A new question starts with nothing ticked.
    f().click("lblOdp2");
    f().click("btnDalej");
    for (int n = 1; n <= 12; ++n)
        QVERIFY(!f().widget<QCheckBox>(Numbered("CheckBox", n))->isChecked());
}

void TestQuestions::goodAnswerMarkTakesNoClick()
{
    start("X1\nPytanie\ntak\n");
    f().click("btnCheck");
    QVERIFY(f().visible("imgGood1"));
    f().click("imgGood1");
    QVERIFY(!f().widget<QCheckBox>("CheckBox1")->isChecked());
}

void TestQuestions::tickShowsThePanelThrough()
{
    // A ticked answer turns yellow; its tick's white ground and the white inside of its box show
    // that yellow, while the red check mark is drawn.
    start("X1\nPytanie\ntak\n");
    f().click("pnlOdp1");
    f().click("btnCheck");
    auto* panel = f().widget<TPanel>("pnlOdp1");
    const QImage shown = panel->grab().toImage();
    const QPoint tick = f().widget("imgGood1")->pos();
    QCOMPARE(shown.pixelColor(tick + QPoint(1, 1)), Yellow);   // the ground
    QCOMPARE(shown.pixelColor(tick + QPoint(48, 48)), Yellow); // the ground's far corner
    QCOMPARE(shown.pixelColor(tick + QPoint(11, 17)), Yellow); // inside the box, upper left
    int red = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const QColor c = shown.pixelColor(tick + QPoint(x, y));
            red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    QVERIFY(red > 100);
}

void TestQuestions::facesBlendWithTheWindow_data()
{
    QTest::addColumn<QList<int>>("ticks");
    QTest::addColumn<QString>("mark");
    QTest::newRow("good") << QList<int>{1, 2} << "imgOK";
    QTest::newRow("partial") << QList<int>{1} << "imgNic";
    QTest::newRow("wrong") << QList<int>{3} << "imgNieok";
}

void TestQuestions::facesBlendWithTheWindow()
{
    QFETCH(QList<int>, ticks);
    QFETCH(QString, mark);
    start(ChoiceFile(3, "110"));
    for (int n : ticks)
        f().click(Numbered("pnlOdp", n));
    f().click("btnCheck");
    QCOMPARE(markShown(), mark);
    // The face's square is the window's own blue: only the face shows.
    const QImage window = f().window->grab().toImage();
    const QColor blue(7, 80, 152);
    for (const QPoint corner : {QPoint(851, 608), QPoint(913, 608), QPoint(851, 670), QPoint(913, 670)})
        QCOMPARE(window.pixelColor(corner), blue);
    QCOMPARE(window.pixelColor(850, 640), blue);
    QVERIFY(window.pixelColor(882, 610) != blue); // the face's outline at the top
}

void TestQuestions::choiceVerdicts_data()
{
    QTest::addColumn<QByteArray>("flags");
    QTest::addColumn<QList<int>>("ticks");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<int>("repeats");
    QTest::newRow("1 and 3 of 1 and 3") << QByteArray("1010") << QList<int>{1, 3} << "imgOK" << 2;
    QTest::newRow("only 1 of 1 and 3") << QByteArray("1010") << QList<int>{1} << "imgNic" << 5;
    QTest::newRow("only 3 of 1 and 3") << QByteArray("1010") << QList<int>{3} << "imgNic" << 5;
    QTest::newRow("1 and 2") << QByteArray("1010") << QList<int>{1, 2} << "imgNieok" << 5;
    QTest::newRow("1, 2 and 3") << QByteArray("1010") << QList<int>{1, 2, 3} << "imgNieok" << 5;
    QTest::newRow("nothing ticked") << QByteArray("1010") << QList<int>{} << "imgNieok" << 5;
    QTest::newRow("no key: nothing ticked") << QByteArray("0000") << QList<int>{} << "imgNieok" << 5;
    QTest::newRow("no key: all ticked") << QByteArray("0000") << QList<int>{1, 2, 3, 4} << "imgNieok" << 5;
    QTest::newRow("every key: all ticked") << QByteArray("1111") << QList<int>{1, 2, 3, 4} << "imgOK" << 2;
    QTest::newRow("every key: three ticked") << QByteArray("1111") << QList<int>{1, 2, 4} << "imgNic" << 5;
    QTest::newRow("short header") << QByteArray("1") << QList<int>{1} << "imgOK" << 2;
}

void TestQuestions::choiceVerdicts()
{
    QFETCH(QByteArray, flags);
    QFETCH(QList<int>, ticks);
    QFETCH(QString, mark);
    QFETCH(int, repeats);
    start(ChoiceFile(4, flags));
    for (int n : ticks)
        f().click(Numbered("pnlOdp", n));
    f().click("btnCheck");
    QCOMPARE(markShown(), mark);
    // The good answers follow the keys, whatever the verdict.
    for (int n = 1; n <= 12; ++n)
        QCOMPARE(f().visible(Numbered("imgGood", n)), n <= flags.size() && flags[n - 1] == '1');
    QCOMPARE(f().window->Pool()->Pool()[0].Repeats, repeats);
    QCOMPARE(gauge("gaugeDobreZle")->MaxValue(), 1);
    QCOMPARE(gauge("gaugeDobreZle")->Progress(), mark == "imgOK" ? 1 : 0);
    QVERIFY(!f().enabled("btnCheck"));
    QVERIFY(f().enabled("btnDalej"));
    // The shown value is that of the showing, not the raised counter.
    QCOMPARE(f().caption("lblIleRazyInfo"), QString("2"));
}

void TestQuestions::gaugesCount()
{
    // g good answers out of k, the maximum always raised before the progress.
    start(ChoiceFile(2, "10"));
    f().click("CheckBoxDobre");
    const bool right[] = {true, true, false, true, false, false, true};
    int good = 0;
    for (int k = 1; k <= int(std::size(right)); ++k) {
        if (right[k - 1])
            f().click("pnlOdp1");
        f().click("btnCheck");
        good += right[k - 1];
        QCOMPARE(gauge("gaugeDobreZle")->MaxValue(), k);
        QCOMPARE(gauge("gaugeDobreZle")->Progress(), good);
        QVERIFY(!f().visible("imgGood1")); // good answers not asked for
        if (f().window->Pool()->PendingCount() == 0)
            break;
        f().click("btnDalej");
    }
}

void TestQuestions::sentenceVerdicts_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("picks"); // -1: left without a selection
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QList<int>>("goodPositions");
    QTest::newRow("both right") << QByteArray("Z231\nA {wybór 1} B {wybór 2}\na;;b;;c;;\nx;;y;;")
                                << QList<int>{2, 0} << "imgOK" << QList<int>{2, 0};
    QTest::newRow("one wrong") << QByteArray("Z231\nA {wybór 1} B {wybór 2}\na;;b;;c;;\nx;;y;;")
                               << QList<int>{2, 1} << "imgNieok" << QList<int>{2, 0};
    QTest::newRow("nothing chosen") << QByteArray("Z231\nA {wybór 1} B {wybór 2}\na;;b;;c;;\nx;;y;;")
                                    << QList<int>{-1, -1} << "imgNieok" << QList<int>{2, 0};
    QTest::newRow("no lists") << QByteArray("Z0\nPrzeczytaj to.") << QList<int>{} << "imgOK" << QList<int>{};
    QTest::newRow("key 0 matches no selection")
        << QByteArray("Z10\nA {wybór 1}\na;;b;;") << QList<int>{-1} << "imgOK" << QList<int>{-1};
    QTest::newRow("key past the options")
        << QByteArray("Z19\nA {wybór 1}\na;;b;;") << QList<int>{1} << "imgNieok" << QList<int>{-1};
}

void TestQuestions::sentenceVerdicts()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, picks);
    QFETCH(QString, mark);
    QFETCH(QList<int>, goodPositions);
    start(file);
    QVERIFY(f().visible("pnlOdpowiedzY"));
    for (int n = 1; n <= picks.size(); ++n)
        pick(n, picks[n - 1]);
    f().click("btnCheck");
    QCOMPARE(markShown(), mark);
    QCOMPARE(f().window->Pool()->Pool()[0].Repeats, mark == "imgOK" ? 2 : 5);
    // With the good answers asked for, every list turns light green and shows its good option.
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(ListColor(list(n)), LightGreen);
    for (int n = 1; n <= goodPositions.size(); ++n)
        QCOMPARE(list(n)->currentIndex(), goodPositions[n - 1]);
    QVERIFY(!f().enabled("btnCheck"));
    QVERIFY(f().enabled("btnDalej"));
}

void TestQuestions::keyThatIsNoNumber()
{
    // The key can never be matched: the error is reported, the answer judged wrong, the run goes on.
    start("Z1a\nA {wybór 1}\nb;;c;;");
    pick(1, 0);
    f().click("btnCheck");
    QCOMPARE(f().messages.boxes.size(), 1);
    QCOMPARE(f().messages.boxes[0].icon, MessageBoxes::Icon::Stop);
    QCOMPARE(f().messages.boxes[0].title, QString("Zdawnik"));
    QCOMPARE(f().messages.boxes[0].text, QString("'a' is not a valid integer value"));
    QCOMPARE(markShown(), QString("imgNieok"));
    QCOMPARE(list(1)->currentIndex(), -1);
    QVERIFY(!f().enabled("btnCheck"));
    QVERIFY(f().enabled("btnDalej"));
}

void TestQuestions::pictures_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("fallback");
    QTest::newRow("png") << QByteArray("[img]rys.png[/img]") << true << "";
    QTest::newRow("extension in capitals") << QByteArray("[img]q1.JPG[/img]") << true << "";
    QTest::newRow("name in other case") << QByteArray("[img]RYS.png[/img]") << true << "";
    QTest::newRow("bitmap in a folder") << QByteArray("[img]sub\\b.bmp[/img]") << true << "";
    QTest::newRow("missing") << QByteArray("[img]brak.png[/img]") << false << "rysunek: brak.png";
    QTest::newRow("gif") << QByteArray("[img]rys.gif[/img]") << false << "rysunek: rys.gif";
    QTest::newRow("damaged") << QByteArray("[img]zly.png[/img]") << false << "rysunek: zly.png";
    QTest::newRow("empty name") << QByteArray("[img]rys.png") << false << "rysunek: ";
}

void TestQuestions::pictures()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, shown);
    QFETCH(QString, fallback);
    writePicture("rys.png", "PNG");
    writePicture("q1.JPG", "JPG");
    writePicture("rys.gif", "PNG");
    std::filesystem::create_directories(f().bank() / "sub");
    writePicture("sub/b.bmp", "BMP");
    f().write("zly.png", "\x89PNG\r\n\x1a\nnot really");
    start("X01\n" + line + "\ntekst\n" + line + "\n");
    QCOMPARE(f().visible("imgPytanie"), shown);
    QCOMPARE(f().caption("lblPytanie"), fallback);
    QCOMPARE(f().visible("imgOdp2"), shown);
    QCOMPARE(f().caption("lblOdp2"), shown ? QString() : QString("rysunek"));
    if (shown) {
        QCOMPARE(f().widget<TImage>("imgPytanie")->picture().size(), QSize(60, 40));
        // Centred in the question box, not scaled.
        const QImage screen = f().window->grab().toImage();
        QVERIFY(screen.pixelColor(12 + 465, 16 + 68).red() > 150);
        QCOMPARE(screen.pixelColor(12 + 465 - 40, 16 + 68), QColor(255, 255, 255));
    }
    // A panel whose picture failed still takes clicks.
    f().click("pnlOdp2");
    QVERIFY(f().widget<QCheckBox>("CheckBox2")->isChecked());
}

void TestQuestions::textAfterPictures()
{
    writePicture("a.png", "PNG");
    start("X10\nObrazkowe\n[img]a.png[/img]\n[img]a.png[/img]\n");
    f().click("btnCheck");
    next("X10\nTekstowe\njeden\ndwa\n");
    for (int n = 1; n <= 12; ++n)
        QVERIFY(!f().visible(Numbered("imgOdp", n)));
    QCOMPARE(f().caption("lblOdp1"), QString("jeden"));
}

void TestQuestions::sentenceAfterLonger()
{
    start("Z41111\nDłuższe\na;;\nb;;\nc;;\nd;;\n");
    pick(1, 0);
    f().click("btnCheck");
    next("Z3111\nKrótsze {wybór 1}\nx;;y;;\nz;;\nw;;\n");
    QVERIFY(!f().visible("pnlWybor4"));
    for (int n = 1; n <= 3; ++n) {
        QVERIFY(f().visible(Numbered("pnlWybor", n)));
        QCOMPARE(list(n)->currentIndex(), -1);
        QCOMPARE(ListColor(list(n)), White);
    }
    QCOMPARE(list(1)->count(), 2);
    QCOMPARE(list(1)->itemText(1), QString("y"));
    QCOMPARE(f().caption("lblCoPowstanie"), QString());
}

void TestQuestions::sentenceThatFailsHalfWay()
{
    // No list count: the reader reports it, and neither the new text nor the rows of the sentence
    // before stay on screen to be judged.
    start("Z211\nStare\na;;b;;\nc;;\n");
    pick(1, 1);
    f().click("btnCheck");
    QStringList onScreen;
    f().messages.whileOpen = [&] {
        onScreen << f().caption("lblPytanie") << QString::number(f().visible("pnlOdpowiedzY"))
                 << QString::number(f().enabled("btnCheck"));
    };
    next("Z\nNowe zdanie\n");
    QCOMPARE(f().messages.boxes.size(), 1);
    QCOMPARE(f().messages.boxes.last().icon, MessageBoxes::Icon::None);
    QCOMPARE(f().messages.boxes.last().title, QString("Zdawnik"));
    QCOMPARE(f().messages.boxes.last().text,
             QString("EConvertError error raised, with message : '' is not a valid integer value"));
    QCOMPARE(onScreen, QStringList({"", "0", "0"}));
    // It was the one question of the bank: set aside, it ends the run unmastered, with nothing claimed.
    QVERIFY(f().visible("pnlKoniec"));
    QCOMPARE(f().caption("lblOpanowane"), QString("0"));
    QCOMPARE(gauge("gaugeOpanowane")->MaxValue(), 1);
    QCOMPARE(f().caption("Label19"), QString("Opanowane: 0 z 1 – plików, których nie dało się pokazać: 1."));
    QVERIFY(f().visible("lblOdlozone"));
}

void TestQuestions::sentenceWithPicture()
{
    writePicture("mapa.png", "PNG");
    start("Z12\n[img]mapa.png[/img]Stolica to {wybór 1}.\nKraków;;Warszawa;;\n");
    QVERIFY(f().visible("imgPytanie"));
    QCOMPARE(f().caption("lblPytanie"), QString());
    pick(1, 1);
    f().click("btnGeneruj");
    QCOMPARE(f().caption("lblCoPowstanie"), QString("Stolica to  Warszawa."));
}

void TestQuestions::choiceAfterSentence()
{
    start("Z0\nZdanie\n");
    f().click("btnCheck");
    next(ChoiceFile(3, "100"));
    QVERIFY(!f().visible("pnlOdpowiedzY"));
    for (int n = 1; n <= 3; ++n)
        QVERIFY(f().visible(Numbered("pnlOdp", n)));
}

void TestQuestions::tooManyAnswers()
{
    start(ChoiceFile(13, "1"));
    QCOMPARE(f().messages.boxes.size(), 1);
    QCOMPARE(f().messages.boxes[0].text, QString("ETooManyAnswers error raised, with message : The question "
                                                 "has 13 answers; at most 12 can be shown"));
    for (int n = 1; n <= 12; ++n)
        QVERIFY(!f().visible(Numbered("pnlOdp", n)));
    // Nothing was read: nothing to check, and the one question of the bank cannot start a run.
    QVERIFY(!f().enabled("btnCheck"));
    QVERIFY(f().visible("pnlStart"));
}

void TestQuestions::checkedListsAreFlatGreen()
{
    start("Z21\nStolica to {wybór 1} {wybór 2}.\nKraków;;Warszawa;;\nw Polsce;;\n");
    pick(1, 0);
    f().click("btnCheck");
    // The field beside the arrow, away from the border and the text, is the one good-option colour.
    for (int n = 1; n <= 2; ++n) {
        const QImage image = list(n)->grab().toImage();
        QSet<QRgb> colours;
        for (int y = 3; y < image.height() - 3; ++y)
            for (int x = image.width() / 2; x < image.width() - 40; ++x)
                colours.insert(image.pixel(x, y));
        QCOMPARE(colours, QSet<QRgb>{qRgb(111, 255, 147)});
    }
}

void TestQuestions::openedListDropsBelowIt_data()
{
    QTest::addColumn<int>("n");
    for (int n = 1; n <= 4; ++n)
        QTest::newRow(qPrintable(Numbered("ComboOpcja", n))) << n;
}

void TestQuestions::openedListDropsBelowIt()
{
    QFETCH(int, n);
    start("Z41111\n{wybór 1} {wybór 2} {wybór 3} {wybór 4}\na;;b;;c;;\nd;;e;;\nf;;g;;\nh;;i;;\n");
    // Room below the lists, as on a screen larger than the window.
    f().window->move(f().window->x(), 0);
    QComboBox* opened = list(n);
    opened->showPopup();
    QWidget* popup = opened->view()->window();
    QTRY_VERIFY(popup->isVisible());
    const QRect field(opened->mapToGlobal(QPoint(0, 0)), opened->size());
    // Under the closed list, never over it: the choice stays in sight.
    QCOMPARE(popup->geometry().top(), field.bottom() + 1);
    QCOMPARE(popup->geometry().left(), field.left());
    QVERIFY(popup->width() >= field.width());
    opened->hidePopup();
}

void TestQuestions::assembly_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("chosen"); // option texts of lists 1..4, one option each; "" none
    QTest::addColumn<QString>("sentence");
    QTest::newRow("blank before, nothing after") << "X{wybór 1}Y" << QStringList{"ab"} << "X abY";
    QTest::newRow("two blanks") << "Ala {wybór 1} kota" << QStringList{"ma"} << "Ala  ma kota";
    QTest::newRow("nothing chosen") << "Ala {wybór 1} kota" << QStringList{""} << "Ala   kota";
    QTest::newRow("first occurrence only") << "{wybór 1} i {wybór 1}" << QStringList{"a"} << " a i {wybór 1}";
    QTest::newRow("no placeholder") << "Zwykłe zdanie." << QStringList{"a"} << "Zwykłe zdanie.";
    QTest::newRow("number above four") << "{wybór 5}{wybór 1}" << QStringList{"a"} << "{wybór 5} a";
    QTest::newRow("chosen text holds the next placeholder")
        << "{wybór 1} i {wybór 2}" << QStringList{"x{wybór 2}", "y"} << " x y i {wybór 2}";
    QTest::newRow("all four in any order")
        << "{wybór 4}{wybór 3}{wybór 2}{wybór 1}" << QStringList{"1", "2", "3", "4"} << " 4 3 2 1";
    QTest::newRow("case matters") << "{Wybór 1}" << QStringList{"a"} << "{Wybór 1}";
}

void TestQuestions::assembly()
{
    QFETCH(QString, body);
    QFETCH(QStringList, chosen);
    QFETCH(QString, sentence);
    QByteArray file = "Z" + QByteArray::number(chosen.size()) + QByteArray(chosen.size(), '1') + "\n" +
                      body.toUtf8() + "\n";
    for (const QString& option : chosen)
        file += option.toUtf8() + ";;\n";
    start(file);
    for (int n = 1; n <= chosen.size(); ++n)
        pick(n, chosen[n - 1].isEmpty() ? -1 : 0);
    f().click("btnGeneruj");
    QCOMPARE(f().caption("lblCoPowstanie"), sentence);
}

void TestQuestions::wholeRun()
{
    // Five questions answered by a student who errs now and then, to the end panel; the counts agree
    // after every step.
    f().write("a.txt", ChoiceFile(3, "010"));
    f().write("b.txt", ChoiceFile(7, "1100001"));
    f().write("c.txt", "Z212\nAla {wybór 1} kota {wybór 2}.\nma;;nie ma;;\nczarnego;;białego;;\n");
    f().write("d.txt", "Z0\nTylko do przeczytania.\n");
    f().write("e.txt", ChoiceFile(12, "000000000001"));
    f().open();
    f().click("btnStart");
    const StudyPool& pool = *f().window->Pool();
    int step = 0;
    while (!f().visible("pnlKoniec")) {
        QVERIFY(++step < 200);
        const Question& question = f().window->CurrentQuestion();
        const bool err = step % 5 == 0;
        if (question.isChoice()) {
            for (int n = 1; n <= 12; ++n)
                if ((question.Keys[n] == "1") != (err && n == 1))
                    f().click(Numbered("pnlOdp", n));
        } else {
            for (int n = 1; n <= 4; ++n)
                if (f().widget(Numbered("pnlWybor", n))->isVisible())
                    pick(n, err ? -1 : question.Keys[n].front() - '1');
        }
        f().click("btnCheck");
        const int mastered = f().caption("lblOpanowane").toInt();
        QCOMPARE(mastered, gauge("gaugeOpanowane")->Progress());
        QCOMPARE(mastered, int(pool.Pool().size()) - pool.PendingCount());
        f().click("btnDalej");
    }
    QCOMPARE(f().caption("lblOpanowane"), QString("5"));
    QCOMPARE(gauge("gaugeOpanowane")->Percent(), 100);
    QVERIFY(!f().visible("pnlOdpowiedzY"));
    QVERIFY(f().messages.boxes.isEmpty());
}

ZDAWNIK_GUI_TEST_MAIN(TestQuestions)
#include "tst_questions.moc"
