// The dialog that sets up a practice exam: what it offers at first, how far each value goes, and
// that the rules of an exam started are offered again next time.

#include "app/ExamDialog.h"

#include <QPushButton>
#include <QSpinBox>

#include "MainFormFixture.h"

using namespace zdawnik;

namespace {

const char* const Boxes[3] = {"spinPytania", "spinCzas", "spinProg"};

QList<int> Shown(const ExamDialog& dialog)
{
    QList<int> values;
    for (const char* name : Boxes)
        values << dialog.findChild<QSpinBox*>(name)->value();
    return values;
}

// Types the values into the boxes as a user does: each box's text selected and typed over.
void Type(ExamDialog& dialog, const QStringList& typed)
{
    for (int i = 0; i < 3; ++i) {
        auto* box = dialog.findChild<QSpinBox*>(Boxes[i]);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed[i]);
    }
}

} // namespace

class TestExamDialog : public QObject
{
    Q_OBJECT

private slots:
    void values_data();
    void values();
};

void TestExamDialog::values_data()
{
    QTest::addColumn<int>("bankQuestions");
    QTest::addColumn<QList<int>>("stored");
    QTest::addColumn<QList<int>>("offered");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("remembered");
    QTest::newRow("defaults, then a short exam")
        << 300 << QList<int>{} << QList<int>{40, 60, 50} << QStringList{"10", "15", "75"}
        << "btnZacznijEgzamin" << QList<int>{10, 15, 75};
    QTest::newRow("a small bank caps the questions")
        << 12 << QList<int>{} << QList<int>{12, 60, 50} << QStringList{"12", "60", "50"}
        << "btnZacznijEgzamin" << QList<int>{12, 60, 50};
    QTest::newRow("remembered past the bank")
        << 20 << QList<int>{80, 90, 70} << QList<int>{20, 90, 70} << QStringList{"20", "90", "70"}
        << "btnZacznijEgzamin" << QList<int>{20, 90, 70};
    QTest::newRow("typing past the bounds is refused")
        << 300 << QList<int>{} << QList<int>{40, 60, 50} << QStringList{"3001", "6001", "1001"}
        << "btnZacznijEgzamin" << QList<int>{300, 600, 100};
    QTest::newRow("cancelled: nothing remembered")
        << 300 << QList<int>{25, 90, 70} << QList<int>{25, 90, 70} << QStringList{"5", "5", "5"}
        << "btnAnuluj" << QList<int>{25, 90, 70};
}

void TestExamDialog::values()
{
    QFETCH(int, bankQuestions);
    QFETCH(QList<int>, stored);
    QFETCH(QStringList, typed);
    QFETCH(QString, button);
    QTemporaryDir dir;
    QSettings settings(dir.filePath("zdawnik.ini"), QSettings::IniFormat);
    if (!stored.isEmpty())
        ExamDialog::Remember(settings, ExamSettings{stored[0], stored[1], stored[2]});

    ExamDialog dialog(bankQuestions, &settings);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTEST(Shown(dialog), "offered");
    Type(dialog, typed);
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());

    ExamDialog again(bankQuestions, &settings);
    QTEST(Shown(again), "remembered");
}

ZDAWNIK_GUI_TEST_MAIN(TestExamDialog)
#include "tst_examdialog.moc"
