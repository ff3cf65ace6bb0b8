#include "bank/Question.h"
#include "bank/QuestionReader.h"
#include "base/Errors.h"
#include "base/StrToInt.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

#include "QuestionBytes.h"
#include "RecordingView.h"

using namespace zdawnik;
using namespace zdawnik::testing;

class TestQuestionReader : public QObject
{
    Q_OBJECT

private slots:
    void choiceQuestion_data();
    void choiceQuestion();
    void sentenceQuestion_data();
    void sentenceQuestion();
    void sentenceWithoutListCount_data();
    void sentenceWithoutListCount();
    void tooManyAnswersShowsNothing();
    void stopMarkerSplitsALine();
    void fieldLines_data();
    void fieldLines();
    void utf8HeaderCountsCharacters();
    void loadQuestionFile_data();
    void loadQuestionFile();
    void fileThatCannotBeOpened_data();
    void fileThatCannotBeOpened();
    void strToInt_data();
    void strToInt();

private:
    QTemporaryDir m_dir;
    std::filesystem::path bank() const { return m_dir.path().toStdString(); }
    void write(const std::string& name, const QByteArray& bytes)
    {
        std::ofstream(bank() / name, std::ios::binary).write(bytes.constData(), bytes.size());
    }
};

void TestQuestionReader::choiceQuestion_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("keys"); // Keys[1..12]
    QTest::addColumn<QStringList>("calls");
    const QStringList zeros(12, "0");
    auto keys = [&](QStringList first) {
        QStringList all = first;
        while (all.size() < 12)
            all << "0";
        return all;
    };
    QTest::newRow("four answers, second correct")
        << Bytes("X0100\r\nIle to 2+2?\r\n3\r\n4\r\n5\r\n22\r\n") << keys({"0", "1", "0", "0"})
        << QStringList{"choice",     "body Ile to 2+2?", "place 4",    "answer 1 3",
                       "answer 2 4", "answer 3 5",       "answer 4 22"};
    QTest::newRow("X alone: no answer correct")
        << Bytes("X\nQ\na\nb\nc") << keys({"", "", ""})
        << QStringList{"choice", "body Q", "place 3", "answer 1 a", "answer 2 b", "answer 3 c"};
    QTest::newRow("more flags than answers")
        << Bytes("X11111\nQ\na\n") << keys({"1"}) << QStringList{"choice", "body Q", "place 1", "answer 1 a"};
    QTest::newRow("fewer flags than answers")
        << Bytes("X1\nQ\na\nb\n") << keys({"1", ""})
        << QStringList{"choice", "body Q", "place 2", "answer 1 a", "answer 2 b"};
    QTest::newRow("empty last line is one more answer")
        << Bytes("X10\nQ\na\n\n") << keys({"1", "0"})
        << QStringList{"choice", "body Q", "place 2", "answer 1 a", "answer 2 "};
    QTest::newRow("one line") << Bytes("X1") << zeros << QStringList{"choice", "body ", "place -1"};
    QTest::newRow("two lines") << Bytes("X1\nQ") << zeros << QStringList{"choice", "body Q", "place 0"};
    QTest::newRow("space is a wrong flag")
        << Bytes("X 1\nQ\n a \nb") << keys({" ", "1"})
        << QStringList{"choice", "body Q", "place 2", "answer 1  a ", "answer 2 b"};
    QTest::newRow("twelve answers") << Bytes("X000000000001\nQ\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12")
                                    << keys({"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1"})
                                    << QStringList{"choice",       "body Q",       "place 12",
                                                   "answer 1 1",   "answer 2 2",   "answer 3 3",
                                                   "answer 4 4",   "answer 5 5",   "answer 6 6",
                                                   "answer 7 7",   "answer 8 8",   "answer 9 9",
                                                   "answer 10 10", "answer 11 11", "answer 12 12"};
    QTest::newRow("picture answer kept as read")
        << Bytes("X01\n[img]q.png[/img]\n[img]a.bmp[/img]\ntekst") << keys({"0", "1"})
        << QStringList{"choice", "body [img]q.png[/img]", "place 2", "answer 1 [img]a.bmp[/img]",
                       "answer 2 tekst"};
}

void TestQuestionReader::choiceQuestion()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, calls);
    const QuestionLines lines = ReadQuestionLines(std::string_view(file.constData(), file.size()));
    Question question;
    question.Lines[5] = "left from before";
    RecordingView view;
    ShowQuestion(lines, question, view);
    QCOMPARE(view.calls, calls);
    QVERIFY(question.isChoice());
    for (int k = 1; k <= 12; ++k)
        QCOMPARE(QString::fromStdString(question.Keys[k]), keys[k - 1]);
    if (lines.LineCount < 7)
        QCOMPARE(question.Lines[5], std::string());
}

void TestQuestionReader::sentenceQuestion_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("keys");  // Keys[1..4]
    QTest::addColumn<QStringList>("rests"); // Lines[1..4]
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("two lists")
        << Bytes("Y231\nAla {wybór 1} kota {wybór 2}.\nma;;nie ma;;miała;;\nczarnego;;białego;;")
        << QStringList{"3", "1", "0", "0"} << QStringList{"", "", "", ""}
        << QStringList{"sentence", "body Ala {wybór 1} kota {wybór 2}.", "hide lists",
                       "list 1: <ma> <nie ma> <miała>", "list 2: <czarnego> <białego>"};
    QTest::newRow("text after the last separator is no option")
        << Bytes("Y11\nT\na;;b;;c") << QStringList{"1", "0", "0", "0"} << QStringList{"c", "", "", ""}
        << QStringList{"sentence", "body T", "hide lists", "list 1: <a> <b>"};
    QTest::newRow("line without separator")
        << Bytes("Y11\nT\nabc") << QStringList{"1", "0", "0", "0"} << QStringList{"abc", "", "", ""}
        << QStringList{"sentence", "body T", "hide lists", "list 1:"};
    QTest::newRow("empty options and single semicolons")
        << Bytes("Y11\nT\n;;a;b;;;;") << QStringList{"1", "0", "0", "0"} << QStringList{"", "", "", ""}
        << QStringList{"sentence", "body T", "hide lists", "list 1: <> <a;b> <>"};
    QTest::newRow("seven means four")
        << Bytes("Y71234567\nT\na;;\nb;;\nc;;\nd;;\ne;;") << QStringList{"1", "2", "3", "4"}
        << QStringList{"", "", "", ""}
        << QStringList{"sentence",    "body T",      "hide lists", "list 1: <a>",
                       "list 2: <b>", "list 3: <c>", "list 4: <d>"};
    QTest::newRow("zero lists") << Bytes("Y0\nT\na;;") << QStringList{"0", "0", "0", "0"}
                                << QStringList{"", "", "", ""}
                                << QStringList{"sentence", "body T", "hide lists"};
    QTest::newRow("missing list line")
        << Bytes("Y211\nT\na;;b;;") << QStringList{"1", "1", "0", "0"} << QStringList{"", "", "", ""}
        << QStringList{"sentence", "body T", "hide lists", "list 1: <a> <b>", "list 2:"};
    QTest::newRow("header too short for keys")
        << Bytes("Y2\nT\na;;\nb;;") << QStringList{"", "", "0", "0"} << QStringList{"", "", "", ""}
        << QStringList{"sentence", "body T", "hide lists", "list 1: <a>", "list 2: <b>"};
    QTest::newRow("small x is a sentence")
        << Bytes("x11\nT\na;;") << QStringList{"1", "0", "0", "0"} << QStringList{"", "", "", ""}
        << QStringList{"sentence", "body T", "hide lists", "list 1: <a>"};
    QTest::newRow("empty header line with a list count of nothing")
        << Bytes("\nT") << QStringList{"0", "0", "0", "0"} << QStringList{"", "", "", ""}
        << QStringList{"sentence", "body T", "error"};
}

void TestQuestionReader::sentenceQuestion()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, rests);
    QFETCH(QStringList, calls);
    QByteArray cp = file;
    cp.replace("\xc5\x82", "\xb3").replace("\xc3\xb3", "\xf3"); // "miała", "wybór" as Windows-1250
    const QuestionLines lines = ReadQuestionLines(std::string_view(cp.constData(), cp.size()));
    QCOMPARE(lines.Encoding, TextEncoding::Windows1250);
    Question question;
    RecordingView view;
    try {
        ShowQuestion(lines, question, view);
    } catch (const EConvertError&) {
        view.calls << "error";
    }
    QStringList decoded;
    for (const QString& call : view.calls)
        decoded << QString::fromStdString(ToUtf8(call.toLatin1().toStdString(), TextEncoding::Windows1250));
    QCOMPARE(decoded, calls);
    QVERIFY(!question.isChoice());
    for (int n = 1; n <= 4; ++n) {
        QCOMPARE(QString::fromStdString(question.Keys[n]), keys[n - 1]);
        QCOMPARE(QString::fromStdString(question.Lines[n]), rests[n - 1]);
    }
}

void TestQuestionReader::sentenceWithoutListCount_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QString>("message");
    QTest::newRow("one character") << Bytes("Y") << "'' is not a valid integer value";
    QTest::newRow("letter") << Bytes("Ya1") << "'a' is not a valid integer value";
    QTest::newRow("NUL") << Bytes("Z\0"
                                  "1",
                                  3)
                         << QString("'") + QChar(0) +
                                "' is not a valid integer value"; // all of it, past the NUL
    QTest::newRow("escape") << Bytes("Z\x1b"
                                     "1")
                            << "'\x1b' is not a valid integer value";
    QTest::newRow("sign") << Bytes("Y-1") << "'-' is not a valid integer value";
    QTest::newRow("empty header") << Bytes("") << "'' is not a valid integer value";
}

void TestQuestionReader::sentenceWithoutListCount()
{
    // The reader reports the conversion error in its own words; the record keeps what was filled,
    // the previous lines and keys reset.
    QFETCH(QByteArray, header);
    QFETCH(QString, message);
    write("zle.txt", header + "\r\nAla ma {wybór 1}\r\nkota;;psa;;\r\n");
    Question question;
    question.Lines[1] = "old";
    question.Keys[2] = "7";
    RecordingView view;
    LoadQuestionFile(bank(), "zle.txt", question, view);
    QCOMPARE(view.calls.last(), "error EConvertError: " + message);
    QCOMPARE(view.calls.first(), "file zle.txt");
    QCOMPARE(QString::fromStdString(ErrorReportText("EConvertError", message.toStdString())),
             "EConvertError error raised, with message : " + message);
    QCOMPARE(question.Header, header.toStdString());
    QCOMPARE(question.Body, std::string("Ala ma {wybór 1}"));
    QCOMPARE(question.Lines[1], std::string());
    QCOMPARE(question.Keys[2], std::string("0"));
}

void TestQuestionReader::tooManyAnswersShowsNothing()
{
    QByteArray file("X1\nQ\n");
    for (int i = 1; i <= 13; ++i)
        file += "odp " + QByteArray::number(i) + "\n";
    write("duzo.txt", file);
    Question question;
    question.Header = "X1";
    question.Body = "poprzednie";
    RecordingView view;
    LoadQuestionFile(bank(), "duzo.txt", question, view);
    QCOMPARE(view.calls,
             (QStringList{"file duzo.txt",
                          "error ETooManyAnswers: The question has 13 answers; at most 12 can be shown"}));
    QCOMPARE(question.Body, std::string("poprzednie"));
    // A sentence question of as many lines is fine: its extra lines are ignored.
    file[0] = 'Y';
    file[1] = '1';
    write("zdanie.txt", file);
    RecordingView sentence;
    LoadQuestionFile(bank(), "zdanie.txt", question, sentence);
    QCOMPARE(sentence.calls.last(), "list 1:");
}

void TestQuestionReader::stopMarkerSplitsALine()
{
    const QuestionLines lines = ReadQuestionLines("X01\nQ[stop]uestion\na\nb");
    Question question;
    RecordingView view;
    ShowQuestion(lines, question, view);
    QCOMPARE(question.Body, std::string("Q"));
    QCOMPARE(question.Lines[1], std::string("uestion"));
    QCOMPARE(question.Lines[2], std::string("a"));
}

void TestQuestionReader::fieldLines_data()
{
    // The file line of the header, the question line and each answer or list, as "h b 1 2 ...".
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("lines");
    QTest::newRow("choice") << Bytes("X01\r\nQ\r\na\r\nb\r\n") << "1 2 3 4";
    QTest::newRow("empty lines count") << Bytes("X01\n\n\n\n") << "1 2 3 4";
    QTest::newRow("marker splits the question line") << Bytes("X011\nQ[stop]uestion\na\nb") << "1 2 2 3";
    QTest::newRow("two markers in an answer") << Bytes("X0111\nQ\na[stop]b[stop]c\nd\ne") << "1 2 3 3 3";
    QTest::newRow("marker in the header") << Bytes("X1[stop]Q\na\nb") << "1 1 2";
    QTest::newRow("marker at the end of a line") << Bytes("X11\nQ[stop]\na\nb") << "1 2 2 3";
    QTest::newRow("sentence lists") << Bytes("Z211\nT\na;;\nb;;") << "1 2 3 4";
    QTest::newRow("sentence list without a line") << Bytes("Z211\nT\na;;") << "1 2 3 0";
    QTest::newRow("lines after the lists") << Bytes("Z111\nT\na;;\nrest\nmore") << "1 2 3";
    QTest::newRow("byte-order mark and 26 inside a line")
        << Bytes("\xEF\xBB\xBFX11\nQ\x1Askipped\na\nb") << "1 2 3 4";
}

void TestQuestionReader::fieldLines()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, lines);
    const QuestionLines read = ReadQuestionLines(std::string_view(file.constData(), file.size()));
    Question question;
    RecordingView view;
    ShowQuestion(read, question, view);
    QStringList found{QString::number(question.FileLines.Header), QString::number(question.FileLines.Body)};
    const int fields =
        question.isChoice() ? read.LineCount - 2 : StrToInt(std::string(1, question.Header[1]));
    for (int k = 1; k <= fields; ++k)
        found << QString::number(question.FileLines.Lines[k]);
    QCOMPARE(found.join(' '), lines);
}

void TestQuestionReader::utf8HeaderCountsCharacters()
{
    // In a UTF-8 file "character k" is the k-th character, not byte.
    const QuestionLines lines = ReadQuestionLines("\xEF\xBB\xBFX\xC5\xBC"
                                                  "1\nPytanie\nzła\ndobra");
    Question question;
    RecordingView view;
    ShowQuestion(lines, question, view);
    QCOMPARE(question.Encoding, TextEncoding::Utf8);
    QCOMPARE(question.Keys[1], std::string("\xC5\xBC"));
    QCOMPARE(question.Keys[2], std::string("1"));
    // So it is in a UTF-16 file, whose texts are held as UTF-8.
    for (const TextEncoding order : {TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        const QByteArray utf16 = Utf16("Xż1\nPytanie\nzła\ndobra", order);
        const QuestionLines read = ReadQuestionLines(std::string_view(utf16.constData(), utf16.size()));
        ShowQuestion(read, question, view);
        QCOMPARE(question.Encoding, order);
        QCOMPARE(question.Keys[1], std::string("\xC5\xBC"));
        QCOMPARE(question.Keys[2], std::string("1"));
        QCOMPARE(question.Lines[1], std::string("z\xC5\x82"
                                                "a"));
    }
    QCOMPARE(CharacterAt("a\xC5\xBC\xFF"
                         "b",
                         3, TextEncoding::Utf8),
             std::string("\xFF"));
    QCOMPARE(CharacterAt("a\xC5\xBC\xFF"
                         "b",
                         4, TextEncoding::Utf8),
             std::string("b"));
    QCOMPARE(CharacterAt("a\xC5\xBC\xFF"
                         "b",
                         5, TextEncoding::Utf8),
             std::string());
    QCOMPARE(CharacterAt("a\xC5\xBC", 2, TextEncoding::Windows1250), std::string("\xC5"));
    QCOMPARE(ToUtf8("\xbf\xf3\xb3w \x81", TextEncoding::Windows1250), std::string("żółw \xEF\xBF\xBD"));
    QCOMPARE(ToUtf8("a\xC5\xBC\xFF", TextEncoding::Utf8), std::string("aż\xEF\xBF\xBD"));
}

void TestQuestionReader::loadQuestionFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("calls");
    const QByteArray nineteen = QByteArray("Y1\nT\n") + QByteArray("a;;\n").repeated(17);
    const QByteArray twenty = nineteen + "b\n";
    QTest::newRow("empty file: only its name") << Bytes("") << QStringList{"file q.txt"};
    QTest::newRow("byte 26 only: only its name") << Bytes("\x1a") << QStringList{"file q.txt"};
    QTest::newRow("19 lines shown") << nineteen
                                    << QStringList{"file q.txt", "sentence", "body T", "hide lists",
                                                   "list 1: <a>"};
    QTest::newRow("20 lines not shown, no message") << twenty << QStringList{"file q.txt"};
    QTest::newRow("choice") << Bytes("X1\r\nQ\r\nA\r\n")
                            << QStringList{"file q.txt", "choice", "body Q", "place 1", "answer 1 A"};
    // Shown cut, a question would say less than its file; the reader says why it shows nothing.
    QTest::newRow("cut line refused")
        << QByteArray("X1\r\nQ\r\n") + QByteArray(int(MaxLineBytes) + 1, 'A') + "\r\n"
        << QStringList{
               "file q.txt",
               "error ELineTooLong: Line 3 is longer than 65536 bytes, the longest line the program reads"};
    QTest::newRow("one endless line refused")
        << QByteArray(3 * int(MaxLineBytes), '\0')
        << QStringList{
               "file q.txt",
               "error ELineTooLong: Line 1 is longer than 65536 bytes, the longest line the program reads"};
    QTest::newRow("20 long lines: refused at the first")
        << QByteArray(int(MaxLineBytes) + 1, 'a').append('\n').repeated(20)
        << QStringList{
               "file q.txt",
               "error ELineTooLong: Line 1 is longer than 65536 bytes, the longest line the program reads"};
}

void TestQuestionReader::loadQuestionFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, calls);
    write("q.txt", bytes);
    Question question;
    question.Body = "poprzednie";
    RecordingView view;
    LoadQuestionFile(bank(), "q.txt", question, view);
    QCOMPARE(view.calls, calls);
    // A file that shows nothing leaves the record to the question before it.
    if (calls.size() <= 2 && !calls.last().startsWith("error EConvertError"))
        QCOMPARE(question.Body, std::string("poprzednie"));
}

void TestQuestionReader::fileThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "brak.txt"
                             << "File not found";
    QTest::newRow("directory") << "katalog.txt"
                               << "File access denied";
}

void TestQuestionReader::fileThatCannotBeOpened()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    std::filesystem::create_directories(bank() / "katalog.txt");
    Question question;
    question.Body = "poprzednie";
    RecordingView view;
    try {
        LoadQuestionFile(bank(), name.toStdString(), question, view);
        QFAIL("no error");
    } catch (const EInOutError& error) {
        QCOMPARE(QString(error.what()), message);
    }
    // The name is shown before the file is opened; nothing else changes.
    QCOMPARE(view.calls, QStringList{"file " + name});
    QCOMPARE(question.Body, std::string("poprzednie"));
}

void TestQuestionReader::strToInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("digit") << "7" << true << 7;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("negative") << "-12" << true << -12;
    QTest::newRow("plus") << "+3" << true << 3;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("letter") << "a" << false << 0;
    QTest::newRow("space") << " 1" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
}

void TestQuestionReader::strToInt()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    try {
        QCOMPARE(StrToInt(text.toStdString()), value);
        QVERIFY(valid);
    } catch (const EConvertError& error) {
        QVERIFY(!valid);
        QCOMPARE(QString(error.what()), "'" + text + "' is not a valid integer value");
    }
}

QTEST_APPLESS_MAIN(TestQuestionReader)
#include "tst_questionreader.moc"
