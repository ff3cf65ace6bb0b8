// Thousands of random clicks and keys on the real window over random banks that mix good and faulty
// files. After every event: the counts agree and the user is never stuck. The seed is printed; set
// ZDAWNIK_MONKEY_SEED to replay a run.

#include "drill/StudyPool.h"
#include "widgets/TGauge.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRandomGenerator>

#include "MainFormFixture.h"

using namespace zdawnik;

class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void randomRuns_data();
    void randomRuns();

private:
    quint32 m_seed = 0;
};

namespace {

// A question file of one of many shapes, good or faulty.
QByteArray RandomQuestion(QRandomGenerator& random, int index, bool faulty)
{
    const auto flags = [&](int n) {
        QByteArray result;
        for (int i = 0; i < n; ++i)
            result += random.bounded(3) == 0 ? '1' : '0';
        return result;
    };
    switch (faulty ? random.bounded(14) : 8 + random.bounded(6)) {
    case 0:
        return ""; // never shown
    case 1:
        return QByteArray("X1\n").repeated(25); // too long, never shown
    case 2:
        return "Y\nno list count\n"; // the reader reports it
    case 3: {
        QByteArray file = "X1\nthirteen\n"; // too many answers
        for (int i = 0; i < 13; ++i)
            file += "a\n";
        return file;
    }
    case 4:
        return "Z2a1\nkey {wyb\xf3r 1} is no number {wyb\xf3r 2}\nx;;y;;\nz;;\n";
    case 5:
        return "Z19\nkey past the options {wyb\xf3r 1}\nx;;y;;\n";
    case 6:
        return "X10\n[img]missing.png[/img]\n[img]broken.jpg[/img]\ntext\n";
    case 7:
        return "X\nno key at all\na\nb\n";
    case 8: {
        const int lists = random.bounded(5);
        QByteArray file = "Z" + QByteArray::number(lists);
        for (int n = 0; n < lists; ++n)
            file += QByteArray::number(1 + random.bounded(3));
        file += "\nsentence " + QByteArray::number(index);
        for (int n = 1; n <= lists; ++n)
            file += " {wyb\xf3r " + QByteArray::number(n) + "}";
        file += "\n";
        for (int n = 0; n < lists; ++n)
            file += "a;;b;;c;;\n";
        return file;
    }
    default: {
        const int answers = 1 + random.bounded(12);
        QByteArray keys = flags(answers);
        if (!faulty && !keys.contains('1'))
            keys[random.bounded(answers)] = '1'; // a good question can be answered right
        QByteArray file = "X" + keys + "\r\nquestion " + QByteArray::number(index) + "\r\n";
        for (int i = 1; i <= answers; ++i)
            file += random.bounded(8) == 0 ? "[img]picture.png[/img]\r\n"
                                           : "answer " + QByteArray::number(i) + "\r\n";
        return file;
    }
    }
}

} // namespace

void TestMonkey::initTestCase()
{
    const QByteArray given = qgetenv("ZDAWNIK_MONKEY_SEED");
    m_seed = given.isEmpty() ? QRandomGenerator::global()->generate() : given.toUInt();
    qInfo("monkey seed %u (replay with ZDAWNIK_MONKEY_SEED=%u)", m_seed, m_seed);
}

void TestMonkey::randomRuns_data()
{
    QTest::addColumn<int>("run");
    for (int run = 0; run < 8; ++run)
        QTest::newRow(qPrintable(QString("bank %1").arg(run))) << run;
}

void TestMonkey::randomRuns()
{
    QFETCH(int, run);
    QRandomGenerator random(m_seed + quint32(run));
    MainFormFixture f;
    // Every other bank holds good questions only, so that runs also reach their end.
    const bool faulty = run % 2 == 0;
    const int files = random.bounded(faulty ? 12 : 5);
    for (int i = 0; i < files; ++i)
        f.write("q" + std::to_string(i) + ".txt", RandomQuestion(random, i, faulty));
    if (faulty && random.bounded(4) == 0)
        std::filesystem::create_directories(f.bank() / "folder.txt");
    f.write("broken.jpg", "\xFF\xD8\xFF\xE0 cut short");
    QImage picture(50, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    std::filesystem::create_directories(f.bank());
    picture.save(QString::fromStdString((f.bank() / "picture.png").string()));
    f.clock = random.generate();
    f.open();
    f.click("btnStart");

    const QStringList plainButtons{"btnCheck", "btnDalej", "btnGeneruj", "CheckBoxDobre", "CheckBoxID"};
    int event = 0;
    for (; event < 2500 && !f.visible("pnlKoniec"); ++event) {
        f.clock = random.generate();
        const int what = random.bounded(12);
        if (what >= 10) {
            // Now and then the student knows the answer: exactly the right ticks or options.
            const Question& question = f.window->CurrentQuestion();
            for (int n = 1; n <= 12 && question.isChoice(); ++n) {
                const QString panel = Numbered("pnlOdp", n);
                if (f.widget(panel)->isVisible() &&
                    f.widget<QCheckBox>(Numbered("CheckBox", n))->isChecked() != (question.Keys[n] == "1"))
                    f.click(panel);
            }
            for (int n = 1; n <= 4 && !question.isChoice(); ++n) {
                auto* list = f.widget<QComboBox>(Numbered("ComboOpcja", n));
                if (list->isVisible() && question.Keys[n].size() == 1)
                    list->setCurrentIndex(question.Keys[n][0] - '1');
            }
            if (random.bounded(2) && f.enabled("btnCheck"))
                f.click("btnCheck");
        } else if (what < 4) {
            const QString name = Numbered(random.bounded(2) ? "pnlOdp" : "lblOdp", 1 + random.bounded(12));
            if (f.widget(name)->isVisible() && f.widget(name)->width() > 0)
                f.click(name);
        } else if (what < 8) {
            const QString name = plainButtons[random.bounded(plainButtons.size())];
            if (f.visible(name))
                f.click(name);
        } else if (what == 8) {
            auto* list = f.widget<QComboBox>(Numbered("ComboOpcja", 1 + random.bounded(4)));
            if (list->isVisible())
                list->setCurrentIndex(int(random.bounded(list->count() + 1)) - 1);
        } else {
            static const int keys[] = {Qt::Key_1,     Qt::Key_5,      Qt::Key_0,
                                       Qt::Key_Equal, Qt::Key_Return, Qt::Key_Space};
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : f.window.get();
            QTest::keyClick(target, Qt::Key(keys[random.bounded(int(std::size(keys)))]));
        }

        const QString after = QString("after event %1 of seed %2").arg(event).arg(m_seed + quint32(run));
        if (const StudyPool* pool = f.window->Pool()) {
            const int mastered = f.caption("lblOpanowane").toInt();
            // Files that could not be shown are set aside: they count neither as mastered nor as pending.
            QVERIFY2(mastered == pool->CountedQuestions() - pool->PendingCount(), qPrintable(after));
            QVERIFY2(mastered == pool->MasteredCount(), qPrintable(after));
            QVERIFY2(mastered == f.widget<TGauge>("gaugeOpanowane")->Progress(), qPrintable(after));
            // The gauge's maximum is the bank's question files: files set aside keep it from filling up.
            QVERIFY2(int(pool->Pool().size()) == f.widget<TGauge>("gaugeOpanowane")->MaxValue(), qPrintable(after));
            auto* answers = f.widget<TGauge>("gaugeDobreZle");
            QVERIFY2(answers->Progress() <= answers->MaxValue(), qPrintable(after));
        }
        const bool emptyBank = f.caption("lblPytanie") == "---" && !f.window->Pool();
        // A bank with no file to show goes back to the start panel, as an empty one would.
        QVERIFY2(f.enabled("btnCheck") || f.enabled("btnDalej") || f.visible("pnlKoniec") || emptyBank ||
                     f.visible("pnlStart"),
                 qPrintable("stuck " + after));
    }
    qInfo("%d files, %d events, %lld message boxes, %s", files, event, qlonglong(f.messages.boxes.size()),
          f.visible("pnlKoniec") ? "every question mastered" : "still running");
}

ZDAWNIK_GUI_TEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
