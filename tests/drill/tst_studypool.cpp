#include "drill/Random.h"
#include "drill/StudyPool.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <set>

using namespace zdawnik;

class TestStudyPool : public QObject
{
    Q_OBJECT

private slots:
    void generatorArithmetic_data();
    void generatorArithmetic();
    void generatorStaysBelowBound();
    void reseedTakesTheClock();
    void buildPool();
    void firstDrawOfARun();
    void counterLife();
    void wrongAtZeroGoesBackToThree();
    void partialCountsLikeWrong();
    void masteringRemovesOnlyThatEntry();
    void oneQuestionBank();
    void counterNeverNegative();
    void masteredCountAlwaysAgrees();
    void settingAside_data();
    void settingAside();
    void scanBank();
    void scanMissingBank();
    void questionFileNames_data();
    void questionFileNames();
    void restorePool_data();
    void restorePool();
    void restoredRunGoesOnByTheRules();
    void progressOfARunRestoresTheSameRun();
};

namespace {

// "name:repeats" for a pending question, "name:m" for a mastered one; "new.txt" alone in a scan.
std::vector<QuestionProgress> Progress(const QStringList& entries)
{
    std::vector<QuestionProgress> progress;
    for (const QString& entry : entries) {
        const QString repeats = entry.section(':', 1);
        progress.push_back(
            {entry.section(':', 0, 0).toStdString(), repeats == "m" ? 0 : repeats.toInt(), repeats == "m"});
    }
    return progress;
}

std::vector<std::string> Names(const QStringList& names)
{
    std::vector<std::string> result;
    for (const QString& name : names)
        result.push_back(name.toStdString());
    return result;
}

} // namespace

void TestStudyPool::generatorArithmetic_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("n");
    QTest::addColumn<quint32>("newSeed");
    QTest::addColumn<int>("result");
    QTest::newRow("seed 0, n 10") << 0u << 10 << 1u << 0;
    QTest::newRow("seed 1, n 10") << 1u << 10 << 134775814u << 0;
    QTest::newRow("seed 1, n 40") << 1u << 40 << 134775814u << 1;
    QTest::newRow("wraps modulo 2^32") << 0xFFFFFFFFu << 1000 << 0xF7F77BFCu << 968;
    QTest::newRow("n 1 always 0") << 0x12345678u << 1 << (0x12345678u * 134775813u + 1u) << 0;
    QTest::newRow("high word of the product")
        << 7u << 0x7FFFFFFF << (7u * 134775813u + 1u)
        << static_cast<int>((quint64(7u * 134775813u + 1u) * 0x7FFFFFFFull) >> 32);
}

void TestStudyPool::generatorArithmetic()
{
    QFETCH(quint32, seed);
    QFETCH(int, n);
    QFETCH(quint32, newSeed);
    QFETCH(int, result);
    Random random;
    random.setSeed(seed);
    QCOMPARE(random.RandomBelow(n), result);
    QCOMPARE(random.seed(), newSeed);
}

void TestStudyPool::generatorStaysBelowBound()
{
    Random random;
    random.setSeed(99);
    for (int n : {1, 2, 3, 7, 12, 1000, 0x7FFFFFFF}) {
        for (int i = 0; i < 2000; ++i) {
            const int value = random.RandomBelow(n);
            QVERIFY(value >= 0 && value < n);
        }
    }
}

void TestStudyPool::reseedTakesTheClock()
{
    quint32 now = 41;
    Random random([&] { return now; });
    random.Reseed();
    QCOMPARE(random.seed(), 41u);
    now = 0;
    random.Reseed();
    QCOMPARE(random.RandomBelow(10), 0);
    QCOMPARE(random.seed(), 1u);
}

void TestStudyPool::buildPool()
{
    Random random;
    StudyPool pool(random);
    QCOMPARE(pool.BuildPool({"b.txt", "a.txt", "c.TXT"}), 3);
    QCOMPARE(pool.Pool().size(), size_t(3));
    QCOMPARE(pool.Pool()[0].FileName, std::string("b.txt"));
    QCOMPARE(pool.Pool()[2].FileName, std::string("c.TXT"));
    for (const PoolEntry& entry : pool.Pool())
        QCOMPARE(entry.Repeats, 3);
    QCOMPARE(pool.PendingList(), (std::vector<int>{0, 1, 2}));
    QCOMPARE(pool.PendingCount(), 3);
}

void TestStudyPool::firstDrawOfARun()
{
    // Whatever the clock says, the first draw takes the pending position equal to the pool index,
    // and the first showing leaves two more.
    for (quint32 clock : {0u, 1u, 123456789u, 0xFFFFFFFFu}) {
        Random random([clock] { return clock; });
        StudyPool pool(random);
        pool.BuildPool({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
        const int entry = pool.DrawQuestion();
        QCOMPARE(entry, pool.CurrentPending());
        QCOMPARE(entry, pool.CurrentEntry());
        QCOMPARE(pool.MarkShown(), 2);
    }
}

void TestStudyPool::counterLife()
{
    Random random([] { return 0u; });
    StudyPool pool(random);
    pool.BuildPool({"only.txt"});
    struct Step
    {
        bool showing;
        Verdict verdict;
        int repeats;
        bool mastered;
    };
    const Step steps[] = {
        {true, Verdict::Good, 2, false},   {false, Verdict::Good, 2, false}, {true, Verdict::Good, 1, false},
        {false, Verdict::Wrong, 4, false}, {true, Verdict::Good, 3, false},  {false, Verdict::Good, 3, false},
        {true, Verdict::Good, 2, false},   {false, Verdict::Good, 2, false}, {true, Verdict::Good, 1, false},
        {false, Verdict::Good, 1, false},  {true, Verdict::Good, 0, false},  {false, Verdict::Good, 0, true},
    };
    for (const Step& step : steps) {
        if (step.showing) {
            pool.DrawQuestion();
            QCOMPARE(pool.MarkShown(), step.repeats);
        } else {
            QCOMPARE(pool.ApplyVerdict(step.verdict), step.mastered);
            QCOMPARE(pool.Pool()[0].Repeats, step.repeats);
        }
    }
    QCOMPARE(pool.PendingCount(), 0);
}

void TestStudyPool::wrongAtZeroGoesBackToThree()
{
    Random random([] { return 0u; });
    StudyPool pool(random);
    pool.BuildPool({"q.txt"});
    for (int i = 0; i < 2; ++i) {
        pool.DrawQuestion();
        pool.MarkShown();
        QVERIFY(!pool.ApplyVerdict(Verdict::Good));
    }
    pool.DrawQuestion();
    QCOMPARE(pool.MarkShown(), 0);
    QVERIFY(!pool.ApplyVerdict(Verdict::Wrong));
    QCOMPARE(pool.Pool()[0].Repeats, 3);
    QCOMPARE(pool.PendingCount(), 1);
}

void TestStudyPool::partialCountsLikeWrong()
{
    Random a([] { return 5u; }), b([] { return 5u; });
    StudyPool partial(a), wrong(b);
    partial.BuildPool({"x.txt", "y.txt"});
    wrong.BuildPool({"x.txt", "y.txt"});
    for (int i = 0; i < 4; ++i) {
        partial.DrawQuestion();
        wrong.DrawQuestion();
        partial.MarkShown();
        wrong.MarkShown();
        QCOMPARE(partial.ApplyVerdict(Verdict::Partial), wrong.ApplyVerdict(Verdict::Wrong));
        QCOMPARE(partial.Pool()[partial.CurrentEntry()].Repeats, wrong.Pool()[wrong.CurrentEntry()].Repeats);
    }
}

void TestStudyPool::masteringRemovesOnlyThatEntry()
{
    // Master pool index 2 of five; the entries behind it move up, pool indexes stay.
    quint32 clock = 0;
    Random random([&] { return clock; });
    StudyPool pool(random);
    pool.BuildPool({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
    // RandomBelow(5) yields 2 when the new seed lies in [2/5, 3/5) of 2^32: search a clock value.
    auto drawPosition = [&](int wanted) {
        for (quint32 c = 0;; ++c) {
            Random probe;
            probe.setSeed(c);
            if (probe.RandomBelow(pool.PendingCount()) == wanted) {
                clock = c;
                return pool.DrawQuestion();
            }
        }
    };
    for (int showing = 0; showing < 3; ++showing) {
        QCOMPARE(drawPosition(2), 2);
        pool.MarkShown();
        QCOMPARE(pool.ApplyVerdict(Verdict::Good), showing == 2);
    }
    QCOMPARE(pool.PendingList(), (std::vector<int>{0, 1, 3, 4}));
    QCOMPARE(drawPosition(2), 3);
    QCOMPARE(pool.Pool()[pool.CurrentEntry()].FileName, std::string("d.txt"));
    QCOMPARE(pool.MasteredCount(), 1);
}

void TestStudyPool::oneQuestionBank()
{
    Random random;
    StudyPool pool(random);
    pool.BuildPool({"jedno.txt"});
    for (int showing = 1; showing <= 3; ++showing) {
        QCOMPARE(pool.DrawQuestion(), 0);
        QCOMPARE(pool.MarkShown(), 3 - showing);
        QCOMPARE(pool.ApplyVerdict(Verdict::Good), showing == 3);
    }
    QCOMPARE(pool.PendingCount(), 0);
    // A second verdict on the same showing masters nothing more.
    QVERIFY(pool.ApplyVerdict(Verdict::Good));
    QCOMPARE(pool.PendingCount(), 0);
}

void TestStudyPool::counterNeverNegative()
{
    // Showings without a verdict (a question that could not be shown) stop at zero.
    Random random;
    StudyPool pool(random);
    pool.BuildPool({"pusty.txt"});
    for (int i = 0; i < 6; ++i) {
        pool.DrawQuestion();
        QVERIFY(pool.MarkShown() >= 0);
    }
    QCOMPARE(pool.Pool()[0].Repeats, 0);
    QVERIFY(pool.ApplyVerdict(Verdict::Good));
}

void TestStudyPool::masteredCountAlwaysAgrees()
{
    // A long random run: every verdict keeps the invariants of the pool.
    quint32 tick = 17;
    Random random([&] { return tick += 7919; });
    StudyPool pool(random);
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i)
        names.push_back("q" + std::to_string(i) + ".txt");
    pool.BuildPool(names);
    int mastered = 0;
    Random verdicts;
    verdicts.setSeed(3);
    while (pool.PendingCount() > 0) {
        pool.DrawQuestion();
        QVERIFY(pool.Pool()[pool.CurrentEntry()].Repeats >= 1);
        pool.MarkShown();
        const int roll = verdicts.RandomBelow(10);
        const Verdict verdict = roll < 7 ? Verdict::Good : roll < 9 ? Verdict::Partial : Verdict::Wrong;
        if (pool.ApplyVerdict(verdict))
            ++mastered;
        QCOMPARE(mastered, pool.MasteredCount());
        std::set<int> seen(pool.PendingList().begin(), pool.PendingList().end());
        QCOMPARE(seen.size(), pool.PendingList().size());
        for (size_t i = 0; i < pool.Pool().size(); ++i) {
            if (!seen.count(int(i)))
                QCOMPARE(pool.Pool()[i].Repeats, 0);
        }
    }
    QCOMPARE(mastered, 40);
}

void TestStudyPool::settingAside_data()
{
    QTest::addColumn<QList<int>>("verdicts"); // before the question is drawn and set aside: 0 Good, 1 Wrong
    QTest::newRow("never shown") << QList<int>{};
    QTest::newRow("after a right answer") << QList<int>{0};
    QTest::newRow("after a wrong answer") << QList<int>{1};
    QTest::newRow("after two right answers") << QList<int>{0, 0};
}

void TestStudyPool::settingAside()
{
    QFETCH(QList<int>, verdicts);
    Random random([] { return 99u; });
    StudyPool pool(random);
    pool.BuildPool(Names({"a.txt"}));
    for (const int verdict : verdicts) {
        pool.DrawQuestion();
        pool.MarkShown();
        pool.ApplyVerdict(verdict == 0 ? Verdict::Good : Verdict::Wrong);
    }
    const int repeats = pool.Pool()[0].Repeats;
    pool.DrawQuestion();
    pool.SetAsideCurrent();
    pool.SetAsideCurrent(); // once out, always out
    // The run is over, with nothing mastered and nothing left to master.
    QCOMPARE(pool.PendingCount(), 0);
    QCOMPARE(pool.MasteredCount(), 0);
    QCOMPARE(pool.CountedQuestions(), 0);
    QCOMPARE(pool.SetAside(), std::vector<int>{0});
    QCOMPARE(pool.Pool()[0].Repeats, repeats);
    // A later sitting offers it again, where it was.
    const std::vector<QuestionProgress> progress = pool.Progress();
    QCOMPARE(progress.size(), std::size_t(1));
    QVERIFY(!progress[0].Mastered);
    QCOMPARE(progress[0].Repeats, repeats);
    pool.RestorePool(Names({"a.txt"}), progress);
    QCOMPARE(pool.PendingCount(), 1);
    QCOMPARE(pool.CountedQuestions(), 1);
    QVERIFY(pool.SetAside().empty());
}

void TestStudyPool::scanBank()
{
    QTemporaryDir dir;
    const std::filesystem::path bank = dir.path().toStdString();
    for (const char* name : {"a.txt", "B.TXT", ".ukryty.txt", "notatka.doc", "x.txt.bak", "c.Txt", ".txt"})
        std::ofstream(bank / name) << "X1\n";
    std::filesystem::create_directory(bank / "katalog.txt");
    std::filesystem::create_directory(bank / "inny");
    std::vector<std::string> names = ScanBank(bank);
    std::vector<std::string> listed;
    for (const auto& entry : std::filesystem::directory_iterator(bank)) {
        const std::string name = entry.path().filename().string();
        if (name != "notatka.doc" && name != "x.txt.bak" && name != "inny")
            listed.push_back(name);
    }
    // The system's own order, nothing sorted, nothing left out.
    QCOMPARE(names, listed);
    QCOMPARE(names.size(), size_t(6));
}

void TestStudyPool::scanMissingBank()
{
    QTemporaryDir dir;
    QVERIFY(ScanBank(std::filesystem::path(dir.path().toStdString()) / "baza").empty());
    QVERIFY(ScanBank(dir.path().toStdString()).empty());
}

void TestStudyPool::questionFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("question");
    QTest::newRow("plain") << "pytanie.txt" << true;
    QTest::newRow("capitals") << "PYTANIE.TXT" << true;
    QTest::newRow("mixed") << "a.tXt" << true;
    QTest::newRow("only the extension") << ".txt" << true;
    QTest::newRow("other extension") << "a.text" << false;
    QTest::newRow("extension in the middle") << "a.txt.old" << false;
    QTest::newRow("no dot") << "atxt" << false;
    QTest::newRow("short") << "txt" << false;
}

void TestStudyPool::questionFileNames()
{
    QFETCH(QString, name);
    QFETCH(bool, question);
    QCOMPARE(IsQuestionFileName(name.toStdString()), question);
}

void TestStudyPool::restorePool_data()
{
    QTest::addColumn<QStringList>("earlier");
    QTest::addColumn<QStringList>("scan");
    QTest::addColumn<QStringList>("expected"); // the pool afterwards, in the notation of earlier
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("removed");

    QTest::newRow("same bank") << QStringList{"a.txt:2", "b.txt:m", "c.txt:7"}
                               << QStringList{"a.txt", "b.txt", "c.txt"}
                               << QStringList{"a.txt:2", "b.txt:m", "c.txt:7"} << 0 << 0;
    QTest::newRow("listed in another order")
        << QStringList{"a.txt:2", "b.txt:m", "c.txt:1"} << QStringList{"c.txt", "a.txt", "b.txt"}
        << QStringList{"c.txt:1", "a.txt:2", "b.txt:m"} << 0 << 0;
    QTest::newRow("files added") << QStringList{"a.txt:2", "b.txt:m"}
                                 << QStringList{"nowe1.txt", "a.txt", "b.txt", "nowe2.txt"}
                                 << QStringList{"nowe1.txt:3", "a.txt:2", "b.txt:m", "nowe2.txt:3"} << 2 << 0;
    QTest::newRow("files removed, mastered ones among them")
        << QStringList{"a.txt:2", "b.txt:m", "c.txt:4", "d.txt:m"} << QStringList{"c.txt", "d.txt"}
        << QStringList{"c.txt:4", "d.txt:m"} << 0 << 2;
    QTest::newRow("added and removed") << QStringList{"a.txt:1", "b.txt:m"} << QStringList{"b.txt", "c.txt"}
                                       << QStringList{"b.txt:m", "c.txt:3"} << 1 << 1;
    QTest::newRow("a whole new bank") << QStringList{"a.txt:1", "b.txt:m"} << QStringList{"x.txt", "y.txt"}
                                      << QStringList{"x.txt:3", "y.txt:3"} << 2 << 2;
    QTest::newRow("every question mastered")
        << QStringList{"a.txt:m", "b.txt:m"} << QStringList{"a.txt", "b.txt"}
        << QStringList{"a.txt:m", "b.txt:m"} << 0 << 0;
    // Closed between a showing and its check: the showing stays taken.
    QTest::newRow("pending at zero") << QStringList{"a.txt:0"} << QStringList{"a.txt"}
                                     << QStringList{"a.txt:0"} << 0 << 0;
    // Names are compared byte for byte, as the system lists them.
    QTest::newRow("case differs") << QStringList{"A.txt:1"} << QStringList{"a.txt"} << QStringList{"a.txt:3"}
                                  << 1 << 1;
}

void TestStudyPool::restorePool()
{
    QFETCH(QStringList, earlier);
    QFETCH(QStringList, scan);
    QFETCH(QStringList, expected);
    QFETCH(int, added);
    QFETCH(int, removed);
    Random random;
    StudyPool pool(random);
    pool.BuildPool({"left.txt", "over.txt"}); // a pool that was there before is replaced
    const BankChanges changes = pool.RestorePool(Names(scan), Progress(earlier));
    QCOMPARE(changes.Added, added);
    QCOMPARE(changes.Removed, removed);

    const std::vector<QuestionProgress> want = Progress(expected);
    QCOMPARE(pool.Pool().size(), want.size());
    std::vector<int> pending;
    for (std::size_t i = 0; i < want.size(); ++i) {
        QCOMPARE(pool.Pool()[i].FileName, want[i].FileName);
        QCOMPARE(pool.Pool()[i].Repeats, want[i].Repeats);
        if (!want[i].Mastered)
            pending.push_back(int(i));
    }
    QCOMPARE(pool.PendingList(), pending);
    QCOMPARE(pool.MasteredCount(), int(want.size() - pending.size()));
    const std::vector<QuestionProgress> progress = pool.Progress();
    for (std::size_t i = 0; i < want.size(); ++i)
        QCOMPARE(progress[i].Mastered, want[i].Mastered);
}

void TestStudyPool::restoredRunGoesOnByTheRules()
{
    // A restored question at 1 that is answered right twice more is mastered; the mastered one is
    // never drawn.
    Random random([] { return 99u; });
    StudyPool pool(random);
    pool.RestorePool({"zrobione.txt", "prawie.txt"}, Progress({"zrobione.txt:m", "prawie.txt:1"}));
    QCOMPARE(pool.DrawQuestion(), 1);
    QCOMPARE(pool.MarkShown(), 0);
    QVERIFY(pool.ApplyVerdict(Verdict::Good));
    QCOMPARE(pool.PendingCount(), 0);
    QCOMPARE(pool.MasteredCount(), 2);
}

void TestStudyPool::progressOfARunRestoresTheSameRun()
{
    // Half a random run, taken up by a new pool: the same counters, the same pending questions.
    quint32 tick = 5;
    Random random([&] { return tick += 104729; });
    StudyPool first(random);
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i)
        names.push_back("q" + std::to_string(i) + ".txt");
    first.BuildPool(names);
    Random verdicts;
    verdicts.setSeed(11);
    for (int check = 0; check < 60; ++check) {
        first.DrawQuestion();
        first.MarkShown();
        first.ApplyVerdict(verdicts.RandomBelow(4) == 0 ? Verdict::Wrong : Verdict::Good);
    }
    QVERIFY(first.MasteredCount() > 0);
    StudyPool second(random);
    const BankChanges changes = second.RestorePool(names, first.Progress());
    QCOMPARE(changes.Added, 0);
    QCOMPARE(changes.Removed, 0);
    QCOMPARE(second.PendingList(), first.PendingList());
    for (std::size_t i = 0; i < names.size(); ++i)
        QCOMPARE(second.Pool()[i].Repeats, first.Pool()[i].Repeats);
}

QTEST_APPLESS_MAIN(TestStudyPool)
#include "tst_studypool.moc"
