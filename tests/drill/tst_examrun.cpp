// The practice exam without a window: what a set of answers scores, answers changed after going
// back, the time running out on a clock the test turns, and files that cannot be shown.

#include <QtTest>

#include <set>

#include "drill/ExamRun.h"
#include "drill/Random.h"

using namespace zdawnik;

namespace {

// The bank: q1.txt .. q6.txt, choice questions (right answers 1 and 3; 2; 1 and 2; 2) and sentence
// questions (two lists, keys 1 and 2; one list, key 3).
const char* const Headers[6] = {"X1010", "X0100", "Z212", "X1100", "Z13", "X01"};

Question Record(const std::string& fileName)
{
    Question question;
    question.Header = Headers[fileName[1] - '1'];
    for (int n = 1; n <= MaxAnswers; ++n) {
        const std::size_t at = static_cast<std::size_t>(question.isChoice() ? n : n + 1);
        question.Keys[n] = at < question.Header.size() ? question.Header.substr(at, 1) : "0";
    }
    return question;
}

// What the window offers to answer: the answers of a choice question, the lists of a sentence one.
AnswerSheet Offered(const Question& question)
{
    AnswerSheet offered;
    if (question.isChoice())
        offered.Answers = static_cast<int>(question.Header.size()) - 1;
    for (int n = 1; n <= MaxLists && !question.isChoice(); ++n)
        offered.ListInUse[static_cast<std::size_t>(n - 1)] = n <= question.Header[1] - '0';
    return offered;
}

// Shows the current question and answers it, as "1,3": the answers ticked, or the options chosen
// in the lists from 1 (0 for none); "." answers nothing.
void Answer(ExamRun& exam, const QString& answer)
{
    const Question record = Record(exam.Current().FileName);
    exam.RecordShown(record, Offered(record));
    const QStringList numbers = answer.split(',');
    for (int n = 1; n <= exam.Current().Sheet.Answers; ++n)
        if (exam.Current().Sheet.IsTicked(n) != numbers.contains(QString::number(n)))
            exam.Toggle(n);
    for (int n = 1; n <= MaxLists && n <= numbers.size(); ++n)
        exam.Choose(n, numbers[n - 1].toInt() - 1);
}

// q1.txt .. qN.txt.
std::vector<std::string> Bank(int size)
{
    std::vector<std::string> names;
    for (int i = 1; i <= size; ++i)
        names.push_back("q" + std::to_string(i) + ".txt");
    return names;
}

struct Fixture
{
    std::int64_t now = 1'000'000;
    Random random{[] { return 12345u; }};
    ExamRun exam;
    Fixture(int questions, std::vector<std::string> bank, int minutes = 60, int passMark = 50)
        : exam(ExamSettings{questions, minutes, passMark}, std::move(bank), random, [this] { return now; })
    {
    }
    // Shows every question in order and answers each from answers, the answers to q1, q2, ... in turn.
    void AnswerAll(const QString& answers)
    {
        for (bool more = !exam.IsEmpty(); more; more = exam.Next())
            Answer(exam, answers.split(' ').value(exam.Current().FileName[1] - '1', "."));
    }
};

} // namespace

class TestExamRun : public QObject
{
    Q_OBJECT

private slots:
    void score_data();
    void score();
    void changedAnswerAfterGoingBack_data();
    void changedAnswerAfterGoingBack();
    void timeRunningOut_data();
    void timeRunningOut();
    void unshowableFileReplaced_data();
    void unshowableFileReplaced();
};

void TestExamRun::score_data()
{
    QTest::addColumn<int>("bankSize");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("passMark");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("answered");
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("passed");
    QTest::addColumn<QString>("chosen"); // what the history keeps of q1, q3 and q5
    QTest::addColumn<QString>("right");
    const QString right = "1,3 2 1,2 1,2 3 2";
    QTest::newRow("all right") << 5 << 5 << 50 << right << 5 << 5 << 100 << true << "1,3 1,2 3"
                               << "1,3 1,2 3";
    QTest::newRow("partial answers score nothing")
        << 5 << 5 << 50 << "1 2 1,0 2 3" << 5 << 2 << 40 << false << "1 1,0 3"
        << "1,3 1,2 3";
    QTest::newRow("nothing answered") << 5 << 5 << 50 << "" << 0 << 0 << 0 << false << " 0,0 0"
                                      << "1,3 1,2 3";
    QTest::newRow("pass mark met exactly")
        << 5 << 5 << 80 << "1,2,3 2 1,2 1,2 3" << 5 << 4 << 80 << true << "1,2,3 1,2 3"
        << "1,3 1,2 3";
    QTest::newRow("5 of 6 is 83%, below 84")
        << 6 << 6 << 84 << "1,3 2 1,2 1,2 3 1" << 6 << 5 << 83 << false << "1,3 1,2 3"
        << "1,3 1,2 3";
    QTest::newRow("40 asked of 5") << 5 << 40 << 50 << right << 5 << 5 << 100 << true << "1,3 1,2 3"
                                   << "1,3 1,2 3";
}

void TestExamRun::score()
{
    QFETCH(int, bankSize);
    QFETCH(int, questions);
    QFETCH(int, passMark);
    QFETCH(QString, answers);
    Fixture f(questions, Bank(bankSize), 60, passMark);
    f.AnswerAll(answers);
    f.exam.Finish();
    QCOMPARE(f.exam.Count(), std::min(questions, bankSize));
    QTEST(f.exam.AnsweredCount(), "answered");
    QTEST(f.exam.Score(), "score");
    QTEST(f.exam.Percent(), "percent");
    QTEST(f.exam.Passed(), "passed");
    QStringList chosen(3), right(3);
    for (int k = 0; k < f.exam.Count(); ++k) {
        const int file = f.exam.At(k).FileName[1] - '1';
        if (file % 2 == 0 && file < 6) {
            chosen[file / 2] = QString::fromStdString(f.exam.ChosenText(k));
            right[file / 2] = QString::fromStdString(f.exam.RightText(k));
        }
    }
    QTEST(chosen.join(' '), "chosen");
    QTEST(right.join(' '), "right");
}

void TestExamRun::changedAnswerAfterGoingBack_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("changed");
    QTest::addColumn<int>("score");
    // Both questions are the same choice question (answers 1 and 3 right) or sentence (options 1, 2).
    QTest::newRow("wrong tick taken back") << "1,2,3"
                                           << "1,3" << 1;
    QTest::newRow("right answer spoilt") << "1,3"
                                         << "1" << 0;
    QTest::newRow("option chosen anew") << "2,2"
                                        << "1,2" << 1;
}

void TestExamRun::changedAnswerAfterGoingBack()
{
    QFETCH(QString, first);
    QFETCH(QString, changed);
    const std::string file = first == "2,2" ? "q3.txt" : "q1.txt";
    Fixture f(2, {file, file});
    Answer(f.exam, first);
    f.now += 10'000;
    QVERIFY(f.exam.Next());
    Answer(f.exam, ".");
    f.now += 5'000;
    QVERIFY(f.exam.Previous());
    QVERIFY(!f.exam.Previous());
    // The window reads the file again: what was answered stays until it is changed.
    f.exam.RecordShown(Record(file), Offered(Record(file)));
    QCOMPARE(QString::fromStdString(f.exam.ChosenText(0)), first);
    Answer(f.exam, changed);
    f.now += 3'000;
    f.exam.Finish();
    f.now += 60'000;
    // The time each question was on screen, both showings of the first added up.
    QCOMPARE(f.exam.SpentMs(0), 13'000);
    QCOMPARE(f.exam.SpentMs(1), 5'000);
    QTEST(f.exam.Score(), "score");
}

void TestExamRun::timeRunningOut_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<QString>("clock");
    QTest::addColumn<bool>("lastFive");
    QTest::addColumn<bool>("timeIsUp");
    QTest::newRow("a part of a second gone") << 60 << qint64(400) << "Pozostało: 60:00" << false << false;
    QTest::newRow("over an hour left") << 120 << qint64(3'599'000) << "Pozostało: 1:00:01" << false << false;
    QTest::newRow("just over five minutes") << 60 << qint64(3'299'000) << "Pozostało: 5:01" << false << false;
    QTest::newRow("five minutes") << 60 << qint64(3'300'000) << "Pozostało: 5:00" << true << false;
    QTest::newRow("time is up") << 1 << qint64(60'000) << "Pozostało: 0:00" << true << true;
    QTest::newRow("long past") << 600 << qint64(99'999'999) << "Pozostało: 0:00" << true << true;
}

void TestExamRun::timeRunningOut()
{
    QFETCH(int, minutes);
    QFETCH(qint64, elapsedMs);
    QFETCH(bool, timeIsUp);
    Fixture f(1, Bank(1), minutes);
    Answer(f.exam, ".");
    f.now += elapsedMs;
    QTEST(QString::fromStdString(RemainingTimeText(f.exam.RemainingMs())), "clock");
    QTEST(InLastFiveMinutes(f.exam.RemainingMs()), "lastFive");
    QCOMPARE(f.exam.TimeIsUp(), timeIsUp);
    QCOMPARE(f.exam.Finished(), timeIsUp);
    // An answer given after the time is up does not count; the time used stops at the limit and at
    // the end.
    Answer(f.exam, "1,3");
    QCOMPARE(f.exam.Score(), timeIsUp ? 0 : 1);
    f.exam.Finish();
    f.now += 10'000;
    QCOMPARE(f.exam.ElapsedMs(), std::min<qint64>(elapsedMs, minutes * 60'000));
}

void TestExamRun::unshowableFileReplaced_data()
{
    QTest::addColumn<int>("bankSize");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("unshowable");
    QTest::addColumn<int>("count");
    QTest::newRow("others to spare") << 6 << 3 << "q1.txt q2.txt" << 3;
    QTest::newRow("none to spare: the exam shrinks") << 4 << 3 << "q1.txt q2.txt" << 2;
    QTest::newRow("no file can be shown") << 3 << 3 << "q1.txt q2.txt q3.txt" << 0;
}

void TestExamRun::unshowableFileReplaced()
{
    QFETCH(int, bankSize);
    QFETCH(int, questions);
    QFETCH(QString, unshowable);
    Fixture f(questions, Bank(bankSize));
    const auto isUnshowable = [&](const std::string& name) { return unshowable.contains(name.c_str()); };
    for (bool more = !f.exam.IsEmpty(); more; more = f.exam.Next()) {
        while (!f.exam.IsEmpty() && isUnshowable(f.exam.Current().FileName)) {
            const int before = f.exam.Count();
            const bool replaced = f.exam.ReplaceCurrent() == Replacement::Replaced;
            QCOMPARE(f.exam.Count(), replaced ? before : before - 1);
        }
        if (f.exam.IsEmpty())
            break;
        Answer(f.exam, ".");
    }
    QTEST(f.exam.Count(), "count");
    // Every question shown, none twice, and only the files that cannot be shown dropped.
    std::set<std::string> seen;
    for (const ExamQuestion& question : f.exam.Questions())
        QVERIFY(question.Shown && !isUnshowable(question.FileName) && seen.insert(question.FileName).second);
    for (const std::string& dropped : f.exam.Dropped())
        QVERIFY(isUnshowable(dropped) && seen.insert(dropped).second);
}

QTEST_APPLESS_MAIN(TestExamRun)
#include "tst_examrun.moc"
