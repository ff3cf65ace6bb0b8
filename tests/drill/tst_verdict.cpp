// Every row of the verdict rules, for both kinds of question, without a window: which ticks or
// choices make a right, partly right or wrong answer, and which option a list shows as the good one.

#include "bank/Question.h"

#include <QtTest>

#include "drill/Verdict.h"

using namespace zdawnik;

Q_DECLARE_METATYPE(zdawnik::Verdict)

namespace {

// A choice question whose keys are the characters of keys, answer 1 first; the other slots "0", as
// the reader leaves them.
Question ChoiceQuestion(const QByteArray& keys)
{
    Question question;
    question.Header = "X" + keys.toStdString();
    for (int n = 1; n <= MaxAnswers; ++n)
        question.Keys[n] = n <= keys.size() ? std::string(1, keys[n - 1]) : "0";
    return question;
}

// A sentence question with the given keys, list 1 first.
Question SentenceQuestion(const QStringList& keys)
{
    Question question;
    question.Header = "Z" + std::to_string(keys.size());
    for (int n = 1; n <= MaxAnswers; ++n)
        question.Keys[n] = n <= keys.size() ? keys[n - 1].toStdString() : "0";
    return question;
}

// The positions chosen in the four lists; -2 stands for a list the question does not use.
std::array<std::optional<int>, MaxLists> Chosen(const QList<int>& positions)
{
    std::array<std::optional<int>, MaxLists> chosen;
    for (int n = 0; n < MaxLists && n < positions.size(); ++n)
        if (positions[n] != -2)
            chosen[static_cast<std::size_t>(n)] = positions[n];
    return chosen;
}

} // namespace

class TestVerdict : public QObject
{
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
    void sentence_data();
    void sentence();
    void goodOption_data();
    void goodOption();
};

void TestVerdict::choice_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QList<int>>("counts"); // correct, hits, wrong ticks
    // Good: exactly the correct answers ticked.
    QTest::newRow("1 and 3 of 1 and 3")
        << QByteArray("1010") << QList<int>{1, 3} << Verdict::Good << QList<int>{2, 2, 0};
    QTest::newRow("the one correct answer")
        << QByteArray("0100") << QList<int>{2} << Verdict::Good << QList<int>{};
    QTest::newRow("every key: all ticked")
        << QByteArray("1111") << QList<int>{1, 2, 3, 4} << Verdict::Good << QList<int>{};
    QTest::newRow("twelve answers, all correct")
        << QByteArray("111111111111") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12} << Verdict::Good
        << QList<int>{};
    // Partial: something ticked, all of it correct, a correct answer left out.
    QTest::newRow("only 1 of 1 and 3")
        << QByteArray("1010") << QList<int>{1} << Verdict::Partial << QList<int>{2, 1, 0};
    QTest::newRow("only 3 of 1 and 3")
        << QByteArray("1010") << QList<int>{3} << Verdict::Partial << QList<int>{};
    QTest::newRow("every key: three ticked")
        << QByteArray("1111") << QList<int>{1, 2, 4} << Verdict::Partial << QList<int>{};
    // Wrong: nothing ticked, or a ticked answer that is not correct.
    QTest::newRow("nothing ticked") << QByteArray("1010") << QList<int>{} << Verdict::Wrong << QList<int>{};
    QTest::newRow("1 and 2") << QByteArray("1010") << QList<int>{1, 2} << Verdict::Wrong
                             << QList<int>{2, 1, 1};
    QTest::newRow("1, 2 and 3") << QByteArray("1010") << QList<int>{1, 2, 3} << Verdict::Wrong
                                << QList<int>{};
    QTest::newRow("only a wrong one")
        << QByteArray("1010") << QList<int>{4} << Verdict::Wrong << QList<int>{};
    QTest::newRow("no key: nothing ticked")
        << QByteArray("0000") << QList<int>{} << Verdict::Wrong << QList<int>{};
    QTest::newRow("no key: all ticked")
        << QByteArray("0000") << QList<int>{1, 2, 3, 4} << Verdict::Wrong << QList<int>{0, 0, 4};
    QTest::newRow("every key: nothing ticked")
        << QByteArray("1111") << QList<int>{} << Verdict::Wrong << QList<int>{};
    // Only "1" marks a correct answer.
    QTest::newRow("key 2 is not correct")
        << QByteArray("12") << QList<int>{1, 2} << Verdict::Wrong << QList<int>{};
    QTest::newRow("key blank is not correct")
        << QByteArray("1 ") << QList<int>{1} << Verdict::Good << QList<int>{};
    QTest::newRow("a tick past the answers")
        << QByteArray("1") << QList<int>{1, 12} << Verdict::Wrong << QList<int>{1, 1, 1};
}

void TestVerdict::choice()
{
    QFETCH(QByteArray, keys);
    QFETCH(QList<int>, ticked);
    QFETCH(Verdict, verdict);
    QFETCH(QList<int>, counts);
    std::array<bool, MaxAnswers> boxes{};
    for (int n : ticked)
        boxes[static_cast<std::size_t>(n - 1)] = true;
    const Judgement judged = JudgeChoice(ChoiceQuestion(keys), boxes);
    QCOMPARE(judged.verdict, verdict);
    if (!counts.isEmpty())
        QCOMPARE((QList<int>{judged.Correct, judged.Hits, judged.WrongTicks}), counts);
}

void TestVerdict::sentence_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QList<int>>("chosen"); // -2: the list is not in use
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QString>("keyError");
    QTest::addColumn<QList<int>>("matchedOfLists");
    QTest::newRow("both right") << QStringList{"3", "1"} << QList<int>{2, 0, -2, -2} << Verdict::Good << ""
                                << QList<int>{2, 2};
    QTest::newRow("one wrong") << QStringList{"3", "1"} << QList<int>{2, 1, -2, -2} << Verdict::Wrong << ""
                               << QList<int>{1, 2};
    QTest::newRow("nothing chosen") << QStringList{"3", "1"} << QList<int>{-1, -1, -2, -2} << Verdict::Wrong
                                    << "" << QList<int>{0, 2};
    QTest::newRow("no lists") << QStringList{} << QList<int>{-2, -2, -2, -2} << Verdict::Good << ""
                              << QList<int>{0, 0};
    QTest::newRow("all four right") << QStringList{"1", "2", "3", "4"} << QList<int>{0, 1, 2, 3}
                                    << Verdict::Good << "" << QList<int>{4, 4};
    QTest::newRow("the last of four wrong") << QStringList{"1", "2", "3", "4"} << QList<int>{0, 1, 2, 0}
                                            << Verdict::Wrong << "" << QList<int>{3, 4};
    QTest::newRow("key 0 matches no selection")
        << QStringList{"0"} << QList<int>{-1, -2, -2, -2} << Verdict::Good << "" << QList<int>{1, 1};
    QTest::newRow("key 0 against a selection")
        << QStringList{"0"} << QList<int>{0, -2, -2, -2} << Verdict::Wrong << "" << QList<int>{0, 1};
    QTest::newRow("key past the options")
        << QStringList{"9"} << QList<int>{1, -2, -2, -2} << Verdict::Wrong << "" << QList<int>{0, 1};
    QTest::newRow("a list not in use is not compared")
        << QStringList{"1", "2"} << QList<int>{0, -2, -2, -2} << Verdict::Good << "" << QList<int>{1, 1};
    QTest::newRow("a key that is no number")
        << QStringList{"a", "1"} << QList<int>{0, 0, -2, -2} << Verdict::Wrong
        << "'a' is not a valid integer value" << QList<int>{1, 2};
    QTest::newRow("an empty key") << QStringList{""} << QList<int>{-1, -2, -2, -2} << Verdict::Wrong
                                  << "'' is not a valid integer value" << QList<int>{0, 1};
    QTest::newRow("the first of two bad keys")
        << QStringList{"1", "x", "y"} << QList<int>{0, 0, 0, -2} << Verdict::Wrong
        << "'x' is not a valid integer value" << QList<int>{1, 3};
    QTest::newRow("a bad key in a list not in use")
        << QStringList{"1", "x"} << QList<int>{0, -2, -2, -2} << Verdict::Good << "" << QList<int>{1, 1};
    // A key that is no number matches nothing, not even a list left without a selection: the count
    // announced beside the face says so too.
    QTest::newRow("no number, nothing chosen")
        << QStringList{"a"} << QList<int>{-1, -2, -2, -2} << Verdict::Wrong
        << "'a' is not a valid integer value" << QList<int>{0, 1};
}

void TestVerdict::sentence()
{
    QFETCH(QStringList, keys);
    QFETCH(QList<int>, chosen);
    QFETCH(Verdict, verdict);
    QFETCH(QString, keyError);
    QFETCH(QList<int>, matchedOfLists);
    const Judgement judged = JudgeSentence(SentenceQuestion(keys), Chosen(chosen));
    QCOMPARE(judged.verdict, verdict);
    QCOMPARE(QString::fromStdString(judged.KeyError), keyError);
    QCOMPARE((QList<int>{judged.Matched, judged.Lists}), matchedOfLists);
}

void TestVerdict::goodOption_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("position");
    QTest::newRow("first") << "1" << 0;
    QTest::newRow("third") << "3" << 2;
    QTest::newRow("ninth, past a short list") << "9" << 8;
    QTest::newRow("none") << "0" << -1;
    QTest::newRow("negative") << "-4" << -1;
    QTest::newRow("no number") << "a" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestVerdict::goodOption()
{
    QFETCH(QString, key);
    QFETCH(int, position);
    QCOMPARE(GoodOption(SentenceQuestion({key}), 1), position);
}

QTEST_APPLESS_MAIN(TestVerdict)
#include "tst_verdict.moc"
