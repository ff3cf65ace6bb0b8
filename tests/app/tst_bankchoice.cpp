// Choosing the bank on the start panel: the line that names it, the folder dialog, a folder dropped
// on the panel, a folder that does not exist; and the new lines and buttons, which cover none of the
// panel's texts.

#include "app/PathText.h"
#include "widgets/Accessibility.h"

#include <QMimeData>
#include <QPushButton>

#include "ProgressFixture.h"

using namespace zdawnik;

namespace {

// What a file manager sends when a folder (or a file) is dragged onto a widget and dropped.
bool Drop(QWidget* target, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

class TestBankChoice : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<ProgressFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void bankLine_data();
    void bankLine();
    void longPathGivesWayInTheMiddle();
    void folderDialog_data();
    void folderDialog();
    void droppedFolder_data();
    void droppedFolder();
    void missingFolderIsSearchedAndSaidSo();
    void bankWithoutQuestions_data();
    void bankWithoutQuestions();
    void newLinesCoverNothing();

private:
    std::unique_ptr<ProgressFixture> m_fixture;
    ProgressFixture& f() { return *m_fixture; }
    // A second bank beside the fixture's, of n questions.
    QString otherBank(int n)
    {
        const QString bank = f().dir.filePath("inna baza & co");
        QDir().mkpath(bank);
        for (int i = 1; i <= n; ++i) {
            QFile file(bank + QString("/q%1.txt").arg(i));
            file.open(QIODevice::WriteOnly);
            file.write(RightIsFirst(i));
        }
        return bank;
    }
};

void TestBankChoice::bankLine_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("count");
    QTest::newRow("three questions and a picture")
        << QStringList{"a.txt", "b.TXT", "c.txt", "rys.png"} << "(plików z pytaniami: 3)";
    QTest::newRow("no questions") << QStringList{"notatki.doc"} << "(plików z pytaniami: 0)";
}

void TestBankChoice::bankLine()
{
    QFETCH(QStringList, files);
    QFETCH(QString, count);
    for (const QString& name : files)
        f().write(name.toStdString(), "X1\nQ\nA\n");
    f().open();
    QCOMPARE(f().caption("lblBaza"), "Baza pytań: " + TextFromPath(f().bank()) + " " + count);
    QVERIFY(f().visible("btnZmienBaze"));
    QCOMPARE(f().caption("btnZmienBaze"), QString("zmień bazę…"));
}

void TestBankChoice::longPathGivesWayInTheMiddle()
{
    const QString deep = f().dir.filePath(QString("bardzo długa nazwa katalogu/").repeated(12) + "baza");
    QDir().mkpath(deep);
    f().open(PathFromText(deep));
    const QString line = f().caption("lblBaza");
    QVERIFY2(line.startsWith("Baza pytań: " + f().dir.path()), qPrintable(line));
    QVERIFY(line.contains("…"));
    QVERIFY(line.endsWith("/baza (plików z pytaniami: 0)"));
    QVERIFY(f().widget("lblBaza")->geometry().right() < f().widget("btnZmienBaze")->x());
}

void TestBankChoice::folderDialog_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("a folder chosen") << false;
    QTest::newRow("cancelled") << true;
}

void TestBankChoice::folderDialog()
{
    QFETCH(bool, cancelled);
    f().settings = std::make_unique<QSettings>(f().dir.filePath("ustawienia.ini"), QSettings::IniFormat);
    f().writeQuestions({"a.txt"});
    const QString other = otherBank(4);
    f().folders.answer = cancelled ? QString() : other;
    f().open();
    f().click("btnZmienBaze");
    QCOMPARE(f().folders.titles, QStringList{"Wybierz katalog z pytaniami"});
    const QString bank = cancelled ? TextFromPath(f().bank()) : other;
    const QString count = cancelled ? "1" : "4";
    // The ampersand in the folder's name is shown as it is, not taken for an accelerator.
    QCOMPARE(CaptionText(f().caption("lblBaza")),
             "Baza pytań: " + bank + " (plików z pytaniami: " + count + ")");
    QCOMPARE(f().settings->value("bank/last").toString(), cancelled ? QString() : other);
    f().click("btnStart");
    QCOMPARE(f().caption("lblPytanInfo"), count);
}

void TestBankChoice::bankWithoutQuestions_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("chosen, missing") << false << true;
    QTest::newRow("chosen, empty") << true << true;
    QTest::newRow("baza beside the program, missing") << false << false;
    QTest::newRow("baza beside the program, empty") << true << false;
}

void TestBankChoice::bankWithoutQuestions()
{
    QFETCH(bool, exists);
    QFETCH(bool, chosen);
    if (exists)
        QDir().mkpath(TextFromPath(f().bank()));
    f().settings = std::make_unique<QSettings>(f().dir.filePath("ustawienia.ini"), QSettings::IniFormat);
    f().chosenBank = chosen;
    f().open();
    QVERIFY(
        f().caption("lblBaza").endsWith(exists ? "(plików z pytaniami: 0)" : "(nie ma takiego katalogu)"));
    // A chosen bank without questions offers no start, only another bank; "baza" beside the program
    // keeps its start, which reports the empty bank in its two boxes.
    QCOMPARE(f().visible("btnStart"), !chosen);
    QVERIFY(f().visible("btnZmienBaze"));
    QTest::keyClick(f().window.get(), Qt::Key_Return);
    QStringList titles;
    for (const auto& box : f().messages.boxes)
        titles << box.title;
    QCOMPARE(titles, chosen ? QStringList() : QStringList({"Error", "Hmm"}));
    QCOMPARE(f().visible("pnlStart"), chosen);

    // Such a folder picked in the dialog is not remembered for the next start.
    if (chosen) {
        f().folders.answer = TextFromPath(f().bank());
        f().click("btnZmienBaze");
        QVERIFY(!f().visible("btnStart"));
        QVERIFY(!f().settings->contains("bank/last"));
    }
}

void TestBankChoice::droppedFolder_data()
{
    QTest::addColumn<QString>("what"); // "folder" or "file"
    QTest::addColumn<bool>("taken");
    QTest::newRow("a folder") << "folder" << true;
    QTest::newRow("a file") << "file" << false;
}

void TestBankChoice::droppedFolder()
{
    QFETCH(QString, what);
    QFETCH(bool, taken);
    f().writeQuestions({"a.txt"});
    const QString other = otherBank(2);
    f().open();
    QCOMPARE(Drop(f().widget("pnlStart"), what == "folder" ? other : other + "/q1.txt"), taken);
    QCOMPARE(f().caption("lblPytanInfo"), QString("0"));
    f().click("btnStart");
    QCOMPARE(f().caption("lblPytanInfo"), taken ? QString("2") : QString("1"));
}

void TestBankChoice::missingFolderIsSearchedAndSaidSo()
{
    const std::filesystem::path missing = f().bank() / "nie ma";
    f().open(missing);
    QCOMPARE(f().caption("lblBaza"), "Baza pytań: " + TextFromPath(missing) + " (nie ma takiego katalogu)");
    QVERIFY(!f().visible("lblStan"));
    bool lineDuringBoxes = false;
    f().messages.whileOpen = [&] { lineDuringBoxes |= f().visible("lblStan"); };
    f().click("btnStart");
    // The two boxes as ever, and after them the folder that was searched.
    QCOMPARE(f().messages.boxes.size(), 2);
    QVERIFY(!lineDuringBoxes);
    QVERIFY(f().visible("lblStan"));
    QCOMPARE(f().caption("lblStan"), "Pytań szukano w katalogu " + TextFromPath(missing));
    QCOMPARE(f().caption("lblPytanie"), QString("---"));
}

void TestBankChoice::newLinesCoverNothing()
{
    // Every new line shown at once: a kept run on a changed bank, in a second window.
    f().writeQuestions({"a.txt", "b.txt", "nowe.txt"});
    f().keep(f().record({"a.txt:m", "b.txt:2", "stare.txt:3"}, 5, 4, 125));
    f().open();
    TMainForm second(f().environment(f().bank()));
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    auto* panel = second.findChild<QWidget*>("pnlStart");
    const QStringList added{"lblBaza", "btnZmienBaze", "btnKontynuuj", "lblPostep", "lblZmiany", "lblZapis"};
    for (const QString& name : added)
        QVERIFY2(second.findChild<QWidget*>(name)->isVisible(), qPrintable(name));

    // In the free space: inside the panel, over none of its other widgets.
    for (const QString& name : added) {
        const QRect rect = second.findChild<QWidget*>(name)->geometry();
        QVERIFY2(panel->rect().contains(rect), qPrintable(name));
        for (QWidget* other : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (other->objectName() != name && other->isVisible())
                QVERIFY2(!other->geometry().intersects(rect),
                         qPrintable(name + " over " + other->objectName()));
    }
    // Drawn: each line's text shows as light pixels on the panel's navy.
    const QImage shot = panel->grab().toImage();
    for (const char* name : {"lblBaza", "lblPostep", "lblZmiany", "lblZapis"}) {
        const QRect rect = second.findChild<QWidget*>(name)->geometry();
        int light = 0;
        for (int x = rect.left(); x <= rect.right(); ++x)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                light += qGray(shot.pixel(x, y)) > 160;
        QVERIFY2(light > rect.width() / 2, qPrintable(name));
    }
}

ZDAWNIK_GUI_TEST_MAIN(TestBankChoice)
#include "tst_bankchoice.moc"
