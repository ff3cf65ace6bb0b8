// Whole runs without a window, from the start to the end panel: a bank written to a temporary folder,
// a fixed seed, and an answer to every question given as a student would give it.

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <map>
#include <set>

#include "drill/DrillRun.h"
#include "drill/HeadlessReader.h"

using namespace zdawnik;

Q_DECLARE_METATYPE(zdawnik::Verdict)

namespace {

// The files of a bank: a choice question of two right answers out of three, a sentence question of two
// lists, and a file of twenty lines, which is never shown.
const std::map<std::string, std::string> Files = {
    {"wybor", "X110\r\nKtóre są parzyste?\r\n2\r\n4\r\n5\r\n"},
    {"zdanie", "Z221\r\nAla {wybór 1} kota {wybór 2}.\r\nma;;nie ma;;\r\nrudego;;\r\n"},
    {"za-dlugi", std::string(20, 'x') + "\r\n" +
                     [] {
                         std::string lines;
                         for (int i = 0; i < 19; ++i)
                             lines += "wiersz\r\n";
                         return lines;
                     }()},
};

// Answers the question on screen: right, partly right (one right answer of a choice question) or wrong.
void Answer(DrillRun& run, Verdict verdict)
{
    const Question& question = run.CurrentQuestion();
    if (question.isChoice()) {
        int rightTicked = 0;
        for (int n = 1; n <= run.Sheet().Answers; ++n) {
            const bool right = question.isRightAnswer(n);
            if ((verdict == Verdict::Good && right) ||
                (verdict == Verdict::Partial && right && rightTicked++ == 0) ||
                (verdict == Verdict::Wrong && !right))
                run.Toggle(n);
        }
        return;
    }
    for (int n = 1; n <= MaxLists; ++n) {
        if (run.Sheet().ListInUse[static_cast<std::size_t>(n - 1)])
            run.Choose(n, verdict == Verdict::Good ? GoodOption(question, n) : GoodOption(question, n) + 1);
    }
}

struct Totals
{
    DrillFigures figures;
    int showings = 0;
    QStringList verdicts; // of the first answer to each question, in the order given
};

// Runs to the end: the first answer to each question is `first`, every later one right.
Totals RunToTheEnd(DrillRun& run, const std::filesystem::path& bank, Verdict first)
{
    Totals totals;
    std::set<std::string> answered;
    const DrillRun::ShowFile show = ReadFilesFrom(bank, run);
    for (NextStep step = run.Next(show); step.Phase == DrillPhase::Asking; step = run.Next(show)) {
        ++totals.showings;
        const bool firstTime = answered.insert(run.CurrentFileName()).second;
        Answer(run, firstTime ? first : Verdict::Good);
        const CheckStep checked = run.Check();
        if (firstTime)
            totals.verdicts << QString::number(int(checked.Judged.verdict));
        if (totals.showings > 100)
            break;
    }
    totals.figures = run.Figures();
    return totals;
}

} // namespace

class TestDrillRun : public QObject
{
    Q_OBJECT

private slots:
    void wholeRun_data();
    void wholeRun();
    void restoredRun();
    void emptyBank();

private:
    std::filesystem::path WriteBank(const QString& folder, const QStringList& names);
    QTemporaryDir m_dir;
};

std::filesystem::path TestDrillRun::WriteBank(const QString& folder, const QStringList& names)
{
    const std::filesystem::path bank =
        std::filesystem::path(m_dir.path().toStdString()) / folder.toStdString();
    std::filesystem::create_directories(bank);
    for (const QString& name : names)
        std::ofstream(bank / (name.toStdString() + ".txt"), std::ios::binary)
            << Files.at(name.section('_', 0, 0).toStdString());
    return bank;
}

void TestDrillRun::wholeRun_data()
{
    QTest::addColumn<QStringList>("bank"); // in pool order; the kind of each file before any "_"
    QTest::addColumn<Verdict>("first");    // the first answer to each question
    QTest::addColumn<int>("showings");
    QTest::addColumn<int>("good");
    QTest::addColumn<int>("mastered");
    QTest::addColumn<QStringList>("setAside");
    // Three showings each; a mistake adds three more, and its showing was one of the three.
    QTest::newRow("choice, right at once")
        << QStringList{"wybor_1", "wybor_2"} << Verdict::Good << 6 << 6 << 2 << QStringList{};
    QTest::newRow("choice, partly right first")
        << QStringList{"wybor_1", "wybor_2"} << Verdict::Partial << 12 << 10 << 2 << QStringList{};
    QTest::newRow("choice, wrong first")
        << QStringList{"wybor_1"} << Verdict::Wrong << 6 << 5 << 1 << QStringList{};
    QTest::newRow("sentence, right at once")
        << QStringList{"zdanie_1"} << Verdict::Good << 3 << 3 << 1 << QStringList{};
    QTest::newRow("sentence, wrong first")
        << QStringList{"zdanie_1", "wybor_1"} << Verdict::Wrong << 12 << 10 << 2 << QStringList{};
    // A file that cannot be shown is set aside for the sitting, wherever it stands, and not mastered.
    for (const auto& [place, bank] : {std::pair{"first", QStringList{"za-dlugi", "wybor_1", "zdanie_1"}},
                                      std::pair{"middle", QStringList{"wybor_1", "za-dlugi", "zdanie_1"}},
                                      std::pair{"last", QStringList{"wybor_1", "zdanie_1", "za-dlugi"}}})
        QTest::addRow("unshowable file %s", place)
            << bank << Verdict::Good << 6 << 6 << 2 << QStringList{"za-dlugi.txt"};
}

void TestDrillRun::wholeRun()
{
    QFETCH(QStringList, bank);
    QFETCH(Verdict, first);
    QFETCH(int, showings);
    QFETCH(int, good);
    QFETCH(int, mastered);
    QFETCH(QStringList, setAside);
    const std::filesystem::path folder = WriteBank(QTest::currentDataTag(), bank);
    std::vector<std::string> names;
    for (const QString& name : bank)
        names.push_back(name.toStdString() + ".txt");

    DrillRun run([] { return 777u; });
    QCOMPARE(run.Begin(names), bank.size());
    const Totals totals = RunToTheEnd(run, folder, first);

    QCOMPARE(run.Phase(), DrillPhase::Finished);
    QCOMPARE(totals.showings, showings);
    QCOMPARE(totals.figures.Answers, showings);
    QCOMPARE(totals.figures.GoodAnswers, good);
    QCOMPARE(totals.figures.Mastered, mastered);
    QCOMPARE(totals.figures.Total, bank.size());
    for (const QString& verdict : totals.verdicts)
        QCOMPARE(verdict, QString::number(int(first)));
    QStringList asideNames;
    for (const SetAsideFile& file : run.SetAsideFiles()) {
        asideNames << QString::fromStdString(file.FileName);
        QVERIFY2(!file.Reason.empty(), file.FileName.c_str());
    }
    QCOMPARE(asideNames, setAside);
    // The end is the end: nothing more is drawn, and the figures stay.
    QCOMPARE(run.Next(ReadFilesFrom(folder, run)).Phase, DrillPhase::Finished);
    QCOMPARE(run.Figures().Answers, showings);
}

void TestDrillRun::restoredRun()
{
    const std::filesystem::path folder = WriteBank("restored", {"wybor_1", "wybor_2", "zdanie_1"});
    DrillRun run([] { return 4242u; });
    // wybor_1 mastered earlier, wybor_2 one showing from the end, zdanie_1 new since; a file gone.
    const BankChanges changes =
        run.Restore({"wybor_1.txt", "wybor_2.txt", "zdanie_1.txt"},
                    {{"wybor_1.txt", 0, true}, {"wybor_2.txt", 1, false}, {"gone.txt", 2, false}},
                    DrillFigures{.Answers = 10, .GoodAnswers = 7, .StudySeconds = 100});
    QCOMPARE(changes.Added, 1);
    QCOMPARE(changes.Removed, 1);
    QCOMPARE(run.Figures().Mastered, 1);
    QCOMPARE(run.Figures().Total, 3);
    // The clock shows the time that has passed, however late its tick comes.
    run.StartClock(5000);
    QCOMPARE(run.Tick(5999), 100);
    QCOMPARE(run.Tick(33000), 128);

    const Totals totals = RunToTheEnd(run, folder, Verdict::Good);
    QCOMPARE(totals.showings, 1 + 3);
    QCOMPARE(totals.figures.Answers, 10 + 4);
    QCOMPARE(totals.figures.GoodAnswers, 7 + 4);
    QCOMPARE(totals.figures.Mastered, 3);
    QCOMPARE(totals.figures.StudySeconds, 128);
}

void TestDrillRun::emptyBank()
{
    DrillRun run;
    QCOMPARE(run.Begin({}), 0);
    QCOMPARE(run.Phase(), DrillPhase::EmptyBank);
    QVERIFY(!run.Pool());
    QCOMPARE(run.Next([](const std::string&) { return ShowOutcome{true, {}}; }).Phase, DrillPhase::Finished);
    QCOMPARE(run.Phase(), DrillPhase::EmptyBank);
}

QTEST_APPLESS_MAIN(TestDrillRun)
#include "tst_drillrun.moc"
