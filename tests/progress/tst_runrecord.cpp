// The progress file's contents: names of any bytes come back as they were, and every kind of file
// that this program did not write whole, for this bank, is refused.

#include "progress/FileNameText.h"
#include "progress/RunRecord.h"

#include <QtTest>

using namespace zdawnik;

namespace {

const std::string Bank = "/home/ola/egzamin/baza";

RunRecord SampleRecord()
{
    RunRecord record;
    record.BankPath = Bank;
    record.SavedAt = QDateTime(QDate(2026, 3, 12), QTime(14, 5, 7), Qt::UTC);
    record.StudySeconds = 4521;
    record.Answers = 12;
    record.GoodAnswers = 9;
    record.Questions = {{"a.txt", 2, false}, {"b.txt", 0, true}, {"c.txt", 7, false}};
    return record;
}

QByteArray SampleText()
{
    return QByteArray::fromStdString(EncodeRunRecord(SampleRecord()));
}

} // namespace

class TestRunRecord : public QObject
{
    Q_OBJECT

private slots:
    void fileNameText_data();
    void fileNameText();
    void brokenEscapes_data();
    void brokenEscapes();
    void roundTrip_data();
    void roundTrip();
    void fileIsReadableJson();
    void runKeptByTheEarlierWriter();
    void damaged_data();
    void damaged();
    void reasons_data();
    void reasons();
    void truncatedAnywhere();
};

void TestRunRecord::fileNameText_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("plain") << QByteArray("pytanie-01.txt") << QByteArray("pytanie-01.txt");
    QTest::newRow("Polish in UTF-8 stays")
        << QByteArray("zażółć gęślą.txt") << QByteArray("zażółć gęślą.txt");
    QTest::newRow("Windows-1250 bytes") << QByteArray("\xb3\xf3\x64\xbc.txt") << QByteArray("%B3%F3d%BC.txt");
    QTest::newRow("percent sign") << QByteArray("100%.txt") << QByteArray("100%25.txt");
    QTest::newRow("text that looks escaped") << QByteArray("%41.txt") << QByteArray("%2541.txt");
    QTest::newRow("cut-off sequence") << QByteArray("a\xc5.txt") << QByteArray("a%C5.txt");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf.txt") << QByteArray("%C0%AF.txt");
    QTest::newRow("surrogate half") << QByteArray("\xed\xa0\x80.txt") << QByteArray("%ED%A0%80.txt");
    QTest::newRow("four-byte character")
        << QByteArray("\xf0\x9f\x98\x80.txt") << QByteArray("\xf0\x9f\x98\x80.txt");
    QTest::newRow("control characters stay") << QByteArray("a\tb\n.txt") << QByteArray("a\tb\n.txt");
}

void TestRunRecord::fileNameText()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, text);
    const std::string written = FileNameToText(name.toStdString());
    QCOMPARE(QByteArray::fromStdString(written), text);
    QVERIFY(QString::fromUtf8(text).toUtf8() == text); // valid UTF-8
    QCOMPARE(FileNameFromText(written), std::optional<std::string>(name.toStdString()));
}

void TestRunRecord::brokenEscapes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("percent at the end") << QByteArray("a.txt%");
    QTest::newRow("one digit") << QByteArray("a%4");
    QTest::newRow("not hexadecimal") << QByteArray("a%zz.txt");
}

void TestRunRecord::brokenEscapes()
{
    QFETCH(QByteArray, text);
    QCOMPARE(FileNameFromText(text.toStdString()), std::nullopt);
}

void TestRunRecord::roundTrip_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("bank");
    QTest::newRow("plain") << QByteArray("d.txt") << QByteArray("/home/ola/baza");
    QTest::newRow("quotes") << QByteArray("\"cytat\".txt") << QByteArray("/home/ola/\"baza\"");
#ifndef _WIN32
    // An ordinary character of a POSIX name.
    QTest::newRow("backslash") << QByteArray("a\\b.txt") << QByteArray("/home/ola/a\\b");
#endif
    QTest::newRow("control characters") << QByteArray("a\x01\x1f\n.txt") << QByteArray("/tmp/b\tc");
    QTest::newRow("Windows-1250 name and path")
        << QByteArray("\xb3\xf3\x64\xbc.txt") << QByteArray("/mnt/stary dysk/pyta\xf1ia");
    QTest::newRow("percent signs") << QByteArray("100%.txt") << QByteArray("/home/ola/%41%");
    QTest::newRow("percent beside a foreign byte") << QByteArray("%\xb3%.txt") << QByteArray("/tmp/%\xff");
    QTest::newRow("Polish") << QByteArray("źdźbło.txt") << QByteArray("/home/łukasz/baza");
}

void TestRunRecord::roundTrip()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, bank);
    RunRecord record = SampleRecord();
    record.BankPath = bank.toStdString();
    record.Questions.push_back({name.toStdString(), 4, false});
    const RunRecord back =
        DecodeRunRecord(QByteArray::fromStdString(EncodeRunRecord(record)), record.BankPath);
    QCOMPARE(back.BankPath, record.BankPath);
    QCOMPARE(back.SavedAt, record.SavedAt);
    QCOMPARE(back.Finished, record.Finished);
    QCOMPARE(back.StudySeconds, record.StudySeconds);
    QCOMPARE(back.Answers, record.Answers);
    QCOMPARE(back.GoodAnswers, record.GoodAnswers);
    QCOMPARE(back.Questions.size(), record.Questions.size());
    for (std::size_t i = 0; i < back.Questions.size(); ++i) {
        QCOMPARE(back.Questions[i].FileName, record.Questions[i].FileName);
        QCOMPARE(back.Questions[i].Repeats, record.Questions[i].Repeats);
        QCOMPARE(back.Questions[i].Mastered, record.Questions[i].Mastered);
    }
}

void TestRunRecord::fileIsReadableJson()
{
    // A person, or another program, can read what was kept: any JSON reader takes the file.
    RunRecord record = SampleRecord();
    record.Questions.push_back({"\xb3\xf3\x64\xbc.txt", 5, false});
    const QByteArray text = QByteArray::fromStdString(EncodeRunRecord(record));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(document.isObject());
    const QJsonObject root = document.object();
    QCOMPARE(root["format"].toString(), QString("zdawnik-progress"));
    QCOMPARE(root["version"].toInt(), 1);
    QCOMPARE(root["bank"].toString(), QString::fromStdString(Bank));
    QCOMPARE(root["saved"].toString(), QString("2026-03-12T14:05:07Z"));
    QCOMPARE(root["finished"].toBool(true), false);
    QCOMPARE(root["studySeconds"].toInt(), 4521);
    QCOMPARE(root["answers"].toInt(), 12);
    QCOMPARE(root["goodAnswers"].toInt(), 9);
    const QJsonArray questions = root["questions"].toArray();
    QCOMPARE(questions.size(), 4);
    QCOMPARE(questions.at(1).toArray(), QJsonArray({"b.txt", 0, true}));
    QCOMPARE(questions.at(2).toArray(), QJsonArray({"c.txt", 7, false}));
    // Bytes that are no UTF-8 are written as %-escapes in the text.
    QCOMPARE(questions.at(3).toArray(), QJsonArray({"%B3%F3d%BC.txt", 5, false}));
    QCOMPARE(root.size(), 9);
}

void TestRunRecord::runKeptByTheEarlierWriter()
{
    // Runs the users kept before are their data: the file as the earlier writer laid it out, spaced
    // and one question a line, with its escapes, is read as it was meant.
    const QByteArray earlier = "{\n"
                               "  \"format\": \"zdawnik-progress\",\n"
                               "  \"version\": 1,\n"
                               "  \"bank\": \"/home/ola/egzamin/baza\",\n"
                               "  \"saved\": \"2026-03-12T14:05:07Z\",\n"
                               "  \"finished\": false,\n"
                               "  \"studySeconds\": 4521,\n"
                               "  \"answers\": 12,\n"
                               "  \"goodAnswers\": 9,\n"
                               "  \"questions\": [\n"
                               "    [\"a.txt\", 2, false],\n"
                               "    [\"b \\\"c\\\"\\u0001.txt\", 0, true],\n"
                               "    [\"%B3%F3d%BC.txt\", 7, false]\n"
                               "  ]\n"
                               "}\n";
    const RunRecord record = DecodeRunRecord(earlier, Bank);
    QCOMPARE(record.SavedAt, SampleRecord().SavedAt);
    QCOMPARE(record.StudySeconds, 4521);
    QCOMPARE(record.Answers, 12);
    QCOMPARE(record.GoodAnswers, 9);
    QCOMPARE(record.Finished, false);
    QCOMPARE(record.Questions.size(), std::size_t(3));
    QCOMPARE(record.Questions[1].FileName, std::string("b \"c\"\x01.txt"));
    QCOMPARE(record.Questions[1].Mastered, true);
    QCOMPARE(record.Questions[2].FileName, std::string("\xb3\xf3\x64\xbc.txt"));
    QCOMPARE(record.Questions[2].Repeats, 7);
    // And what is written now reads back the same.
    const std::string again = EncodeRunRecord(record);
    QCOMPARE(DecodeRunRecord(QByteArray::fromStdString(again), Bank).Questions[1].FileName,
             record.Questions[1].FileName);
}

void TestRunRecord::damaged_data()
{
    // Each row edits the text of a good record: the first occurrence of "from" becomes "to".
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    const QByteArray whole = SampleText();
    QTest::newRow("empty file") << whole << QByteArray();
    QTest::newRow("not JSON") << whole << QByteArray("<html>Zdawnik</html>");
    QTest::newRow("a list, not an object") << whole << QByteArray("[1, 2, 3]");
    QTest::newRow("a number, not an object") << whole << QByteArray("7");
    QTest::newRow("something after the record") << QByteArray("false]]}") << QByteArray("false]]}{}");
    QTest::newRow("a newer version") << QByteArray("\"version\":1") << QByteArray("\"version\":2");
    QTest::newRow("version as text") << QByteArray("\"version\":1") << QByteArray("\"version\":\"1\"");
    QTest::newRow("another format") << QByteArray("zdawnik-progress") << QByteArray("zdawnik-settings");
    QTest::newRow("no format") << QByteArray("\"format\":\"zdawnik-progress\",") << QByteArray();
    QTest::newRow("an unknown field") << QByteArray("\"format\"") << QByteArray("\"formats\"");
    QTest::newRow("a field twice") << QByteArray("\"answers\":12")
                                   << QByteArray("\"answers\":12,\"answers\":12");
    QTest::newRow("no study time") << QByteArray("\"studySeconds\":4521,") << QByteArray();
    QTest::newRow("a null") << QByteArray("\"answers\":12") << QByteArray("\"answers\":null");
    QTest::newRow("an object for a field")
        << QByteArray("\"2026-03-12T14:05:07Z\"") << QByteArray("{\"at\":\"2026-03-12T14:05:07Z\"}");
    QTest::newRow("another bank") << QByteArray("egzamin/baza") << QByteArray("egzamin/inna");
    QTest::newRow("bank as a number") << QByteArray("\"/home/ola/egzamin/baza\"") << QByteArray("7");
    QTest::newRow("time no date") << QByteArray("2026-03-12T14:05:07Z") << QByteArray("wczoraj");
    // Once in UTC, as the time is written back, these fall before year 1 and after year 9999.
    QTest::newRow("time before the first year in UTC")
        << QByteArray("2026-03-12T14:05:07Z") << QByteArray("0001-01-01T00:30:00+01:00");
    QTest::newRow("time after year 9999 in UTC")
        << QByteArray("2026-03-12T14:05:07Z") << QByteArray("9999-12-31T23:30:00-01:00");
    QTest::newRow("finished as text")
        << QByteArray("\"finished\":false") << QByteArray("\"finished\":\"nie\"");
    QTest::newRow("negative study time") << QByteArray("4521") << QByteArray("-1");
    QTest::newRow("study time of centuries") << QByteArray("4521") << QByteArray("99999999999");
    QTest::newRow("study time as a fraction") << QByteArray("4521") << QByteArray("4521.5");
    QTest::newRow("negative answers") << QByteArray("\"answers\":12") << QByteArray("\"answers\":-12");
    QTest::newRow("answers beyond any run")
        << QByteArray("\"answers\":12") << QByteArray("\"answers\":1e300");
    QTest::newRow("answers beyond 64 bits")
        << QByteArray("\"answers\":12") << QByteArray("\"answers\":99999999999999999999");
    QTest::newRow("more good answers than answers")
        << QByteArray("\"goodAnswers\":9") << QByteArray("\"goodAnswers\":13");
    QTest::newRow("questions as an object")
        << QByteArray("\"questions\":[") << QByteArray("\"questions\":{\"a\":[");
    QTest::newRow("questions as a number")
        << QByteArray("[[\"a.txt\",2,false],[\"b.txt\",0,true],[\"c.txt\",7,false]]") << QByteArray("3");
    QTest::newRow("no questions") << QByteArray(
                                         "[[\"a.txt\",2,false],[\"b.txt\",0,true],[\"c.txt\",7,false]]")
                                  << QByteArray("[]");
    QTest::newRow("question as text") << QByteArray("[\"a.txt\",2,false]") << QByteArray("\"a.txt\"");
    QTest::newRow("question as an object")
        << QByteArray("[\"a.txt\",2,false]") << QByteArray("{\"a.txt\":[2,false]}");
    QTest::newRow("question of two fields")
        << QByteArray("[\"a.txt\",2,false]") << QByteArray("[\"a.txt\",2]");
    QTest::newRow("question of four fields")
        << QByteArray("[\"a.txt\",2,false]") << QByteArray("[\"a.txt\",2,false,false]");
    QTest::newRow("question of no fields") << QByteArray("[\"a.txt\",2,false]") << QByteArray("[]");
    QTest::newRow("fields in another order")
        << QByteArray("[\"a.txt\",2,false]") << QByteArray("[2,\"a.txt\",false]");
    QTest::newRow("a list in a question")
        << QByteArray("[\"a.txt\",2,false]") << QByteArray("[\"a.txt\",[2],false]");
    QTest::newRow("name as a number") << QByteArray("\"a.txt\"") << QByteArray("17");
    QTest::newRow("name as a list") << QByteArray("\"a.txt\"") << QByteArray("[\"a.txt\"]");
    QTest::newRow("name with a slash") << QByteArray("\"a.txt\"") << QByteArray("\"../../etc/a.txt\"");
#ifdef _WIN32
    QTest::newRow("name with a backslash") << QByteArray("\"a.txt\"") << QByteArray("\"..\\\\a.txt\"");
#endif
    QTest::newRow("name with a NUL") << QByteArray("\"a.txt\"") << QByteArray("\"a\\u0000.txt\"");
    QTest::newRow("name no bank could list") << QByteArray("\"a.txt\"") << QByteArray("\"notatka.doc\"");
    QTest::newRow("empty name") << QByteArray("\"a.txt\"") << QByteArray("\"\"");
    QTest::newRow("name in bytes that are no UTF-8") << QByteArray("\"a.txt\"") << QByteArray("\"\xb3.txt\"");
    QTest::newRow("broken escape in a name") << QByteArray("\"a.txt\"") << QByteArray("\"a%G1.txt\"");
    QTest::newRow("escaped slash in a name") << QByteArray("\"a.txt\"") << QByteArray("\"..%2Fa.txt\"");
    QTest::newRow("negative counter") << QByteArray("\"a.txt\",2") << QByteArray("\"a.txt\",-2");
    QTest::newRow("huge counter") << QByteArray("\"a.txt\",2") << QByteArray("\"a.txt\",2147483647");
    QTest::newRow("counter beyond 64 bits")
        << QByteArray("\"a.txt\",2") << QByteArray("\"a.txt\",99999999999999999999");
    QTest::newRow("counter as text") << QByteArray("\"a.txt\",2") << QByteArray("\"a.txt\",\"2\"");
    QTest::newRow("counter as a fraction") << QByteArray("\"a.txt\",2") << QByteArray("\"a.txt\",2.5");
    QTest::newRow("mastered as a number") << QByteArray("\"b.txt\",0,true") << QByteArray("\"b.txt\",0,1");
    QTest::newRow("mastered with showings due")
        << QByteArray("\"b.txt\",0,true") << QByteArray("\"b.txt\",3,true");
    QTest::newRow("the same name twice") << QByteArray("\"c.txt\"") << QByteArray("\"a.txt\"");
    QTest::newRow("more mastered than right answers")
        << QByteArray("\"goodAnswers\":9") << QByteArray("\"goodAnswers\":0");
    QTest::newRow("finished with questions pending")
        << QByteArray("\"finished\":false") << QByteArray("\"finished\":true");
    QTest::newRow("every question mastered, yet not finished")
        << QByteArray("[[\"a.txt\",2,false],[\"b.txt\",0,true],[\"c.txt\",7,false]]")
        << QByteArray("[[\"a.txt\",0,true],[\"b.txt\",0,true],[\"c.txt\",0,true]]");
}

void TestRunRecord::damaged()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QByteArray text = SampleText();
    const qsizetype at = text.indexOf(from);
    QVERIFY2(at >= 0, from.constData());
    text.replace(at, from.size(), to);
    QVERIFY_THROWS_EXCEPTION(EDamagedProgress, DecodeRunRecord(text, Bank));
}

void TestRunRecord::reasons_data()
{
    // What the refusal says, where one file could be refused for more than one reason.
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a newer version, before its questions are read")
        << QByteArray("\"version\":1,") << QByteArray("\"version\":2,\"questions\":[[\"a.txt\",2,false]],")
        << "version 2, this program reads 1";
    QTest::newRow("a million and one questions, before the end of the list")
        << QByteArray("[[\"a.txt\",2,false],")
        << "[" + QByteArray("[\"a.txt\",2,false],").repeated(1'000'001) + "x"
        << "more than 1000000 questions";
    QTest::newRow("a path in a name") << QByteArray("\"a.txt\"") << QByteArray("\"../a.txt\"")
                                      << "\"../a.txt\" is no question file name in a bank";
}

void TestRunRecord::reasons()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, reason);
    QByteArray text = SampleText();
    text.replace(text.indexOf(from), from.size(), to);
    try {
        DecodeRunRecord(text, Bank);
        QFAIL("read");
    } catch (const EDamagedProgress& damaged) {
        QCOMPARE(QString(damaged.what()), reason);
    }
}

void TestRunRecord::truncatedAnywhere()
{
    // A file cut off at any byte is refused, never half read.
    const QByteArray text = SampleText();
    for (qsizetype length = 0; length < text.size() - 1; ++length)
        QVERIFY_THROWS_EXCEPTION(EDamagedProgress, DecodeRunRecord(text.left(length), Bank));
    QCOMPARE(DecodeRunRecord(text, Bank).Questions.size(), std::size_t(3));
}

QTEST_APPLESS_MAIN(TestRunRecord)
#include "tst_runrecord.moc"
