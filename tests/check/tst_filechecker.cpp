#include "check/FileChecker.h"
#include "check/ReportFormat.h"
#include "widgets/LayoutFonts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include "CheckTestFiles.h"
#include "tests/pictures/JpegSize.h"

using namespace zdawnik;

// Every finding of the checker, each on a file written into a bank folder and checked as the program
// reads it: the line and the code of every finding, in order.
class TestFileChecker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void findings_data();
    void findings();
    void unreadableFile();
    void jsonProblems();

private:
    QTemporaryDir m_dir;
    std::filesystem::path bank() const { return std::filesystem::path(m_dir.path().toStdString()) / "baza"; }
    FileChecker* m_checker = nullptr;
};

namespace {

QString Found(const FileReport& report)
{
    QStringList found;
    for (const Finding& finding : report.Findings)
        found << (finding.Line ? QString::number(*finding.Line) : QStringLiteral("-")) + " " +
                     CodeName(finding.Code);
    return found.join(", ");
}

const QString LongQuestion = QStringLiteral("Które z tych zdań jest prawdziwe? ").repeated(40);
const QString LongAnswer = QStringLiteral("odpowiedź bardzo długa ").repeated(20);

} // namespace

void TestFileChecker::initTestCase()
{
    InstallFontSubstitutes();
    static FileChecker checker;
    m_checker = &checker;
    WriteFile(bank() / "rys.png", PngOfSize(1, 1));
    WriteFile(bank() / "zly.png", "not really a picture");
    QFile photo(QStringLiteral(ZDAWNIK_TEST_DATA "/pictures/jpeg/testorig.jpg"));
    QVERIFY(photo.open(QIODevice::ReadOnly));
    // Every marker in place, but a few kilobytes of scans for a picture of 12 megapixels.
    WriteFile(bank() / "pusty.jpg", test::WithJpegSize(photo.readAll(), 4000, 3000));
    WriteFile(bank() / "pytanie-931.png", PngOfSize(931, 137));
    WriteFile(bank() / "pytanie-930.png", PngOfSize(930, 137));
    WriteFile(bank() / "odp-442.png", PngOfSize(442, 70));
    WriteFile(bank() / "odp-441.png", PngOfSize(441, 70));
    WriteFile(bank() / "odp-71.png", PngOfSize(100, 71));
    WriteFile(bank().parent_path() / "obok.png", PngOfSize(1, 1));
}

void TestFileChecker::findings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("found");   // "line code, ...", "-" for the whole file
    QTest::addColumn<QString>("message"); // a piece of the first finding's message
    const auto row = [](const char* tag, const QString& text, const QString& found,
                        const QString& message = {}) {
        QTest::newRow(tag) << "q.txt" << Windows1250(text) << found << message;
    };

    // Files the window shows as they are meant.
    row("clean choice, CRLF", "X0110\r\nKtóre są parzyste?\r\n1\r\n2\r\n4\r\n5\r\n", "");
    row("clean sentence", "Z212\r\nAla {wybór 1} kota, {wybór 2}.\r\nma;;nie ma;;\r\nbiałego;;czarnego;;\r\n",
        "");
    row("clean pictures", "X01\n[img]rys.png[/img]\n[img]RYS.PNG[/img]\n[img]odp-441.png[/img]", "");
    QTest::newRow("clean UTF-8 with a byte-order mark")
        << "q.txt" << QStringLiteral("\xFEFFX1\nŻółw?\nżółw").toUtf8() << ""
        << "";
    const QString polishWithPicture = QStringLiteral("X01\r\nCo pływa?\r\nŻółw\r\n[img]rys.png[/img]\r\n");
    QTest::newRow("clean UTF-16 LE with a byte-order mark")
        << "q.txt" << Utf16(polishWithPicture, false, true) << ""
        << "";
    QTest::newRow("clean UTF-16 BE with a byte-order mark")
        << "q.txt" << Utf16(polishWithPicture, true, true) << ""
        << "";
    row("double ampersand", "X1\nTom && Jerry\na&&b", "");
    row("picture as large as the question's place", "X1\n[img]pytanie-930.png[/img]\na", "");

    // The file as a whole.
    row("empty file", "", "- empty-file", "holds no line");
    row("twenty lines", QString("X1\n").repeated(20), "20 too-many-lines", "more than 19 lines");
    QTest::newRow("UTF-8 letters in a Windows-1250 file")
        << "q.txt" << Windows1250("X1\nKtóre zwierz") + "\xC4\x99?\na"
        << "2 mixed-encoding"
        << "\"ę\"";
    QTest::newRow("UTF-16 without a byte-order mark")
        << "q.txt" << Utf16(polishWithPicture, false, false) << "- utf16-without-mark"
        << "UTF-16 (utf-16le)";
    QTest::newRow("big-endian UTF-16 without a byte-order mark")
        << "q.txt" << Utf16(polishWithPicture, true, false) << "- utf16-without-mark"
        << "(utf-16be)";
    QTest::newRow("single ampersand at its line in UTF-16")
        << "q.txt" << Utf16(QStringLiteral("X01\nŻółw?\nkot\npies & kot\n"), true, true)
        << "4 single-ampersand"
        << "\"pies & kot\"";
    row("stop marker", "X1\nQ[stop]x\na", "2 stop-marker");
    row("lines longer than the program reads",
        "X1\nQ\n" + QString(70000, 'a') + "\nb\n" + QString(65537, 'c'), "3 line-too-long",
        "longer than 64 KiB");
    row("tags in capitals", "X1\n[IMG]rys.png[/IMG]\na", "2 tag-case, 2 tag-case", "\"[IMG]\"");
    QTest::newRow("single ampersand in the file name")
        << "Tom & Jerry.txt" << QByteArray("X1\nQ\na") << "- single-ampersand"
        << "file name";

    // Choice questions.
    row("thirteen answers", "X1\nQ\n" + QString("a\n").repeated(13), "15 too-many-answers",
        "13 answers, more than the 12 answer panels");
    row("header with a small x", "x10\nQ\na\nb", "1 small-x",
        "the header starts with a small x: a choice question starts with a capital X");
    row("header of a small x alone", "x\nQ\na", "1 small-x");
    row("no answers", "X1\nQ", "- no-answers");
    row("no right answer", "X00\nQ\na\nb", "1 no-right-answer");
    row("flag neither 0 nor 1", "X1a\nQ\na\nb", "1 flag-not-binary", "answer 2 is \"a\"");
    row("right flag for an answer that does not exist", "X1001\nQ\na\nb\nc", "1 flag-without-answer",
        "answer 4 right, but the question has only 3");
    row("fewer flags than answers", "X1\nQ\na\nb", "1 fewer-flags", "flags for 1 of the 2 answers");
    row("empty line at the end", "X10\r\nQ\r\na\r\n\r\n", "4 empty-last-line",
        "an empty last line is read as an answer");
    row("empty lines at the end, fewer flags", "X1\nQ\na\n\n\n", "4 empty-last-line, 5 empty-last-line");
    row("empty answer before the last", "X101\nQ\na\n\nc", "4 empty-answer", "answer 2 is empty");
    row("answer of spaces", "X10\nQ\na\n  ", "4 empty-answer");

    // Sentence questions.
    row("list count no digit", "Za1\nT\nx;;", "1 list-count",
        "the number of lists, the header's second character, is \"a\", no digit: the window reports an "
        "error");
    row("header of one letter", "Z\nT", "1 list-count", "the header has no second character");
    row("list without a line", "Z211\nT {wybór 1} {wybór 2}\nx;;", "1 list-without-line, 1 key-past-options");
    row("list without separator", "Z11\nT {wybór 1}\nxy", "3 list-without-options, 3 key-past-options");
    row("empty option", "Z12\nT {wybór 1}\nx;;;;y;;", "3 empty-option", "option 2 is empty");
    row("key missing", "Z1\nT {wybór 1}\nx;;", "1 key-missing");
    row("key no digit", "Z1a\nT {wybór 1}\nx;;", "1 key-not-digit", "judges every answer wrong");
    row("key past the options", "Z13\nT {wybór 1}\nx;;y;;", "3 key-past-options", "past its 2 option(s)");
    row("gap missing", "Z211\nAla {wybór 1} kota\nma;;\nx;;", "2 gap-missing", "{wybór 2}");
    row("sentence of its header alone", "Z11", "- gap-missing, 1 list-without-line, 1 key-past-options");

    // Texts on labels.
    row("single ampersand in the question", "X1\nTom & Jerry\na", "2 single-ampersand", "\"Tom & Jerry\"");
    row("single ampersand in an answer", "X01\nQ\na\nR&D", "4 single-ampersand");
    row("single ampersand in an option", "Z11\nT {wybór 1}\nA&B;;", "3 single-ampersand");
    row("three ampersands", "X1\nA &&& B\na", "2 single-ampersand");
    row("question cut", "X1\n" + LongQuestion + "\na", "2 text-cut", "more than its place of 930 × 137");
    row("answer cut", "X01\nQ\na\n" + LongAnswer, "4 text-cut", "more than its place of 440 × 70");
    row("word wider than the question", "X1\n" + QString("x").repeated(200) + "\na", "2 text-cut");

    // Pictures.
    row("picture tag without its end", "X1\n[img]rys.png\na", "2 picture-name-empty");
    row("picture of another format", "X1\n[img]rys.gif[/img]\na", "2 picture-extension", "\"gif\"");
    row("picture name without an extension", "X1\nQ\n[img]rys[/img]", "3 picture-extension",
        "picture \"rys\" has no extension");
    row("picture in a folder with a dot", "X1\nQ\n[img]a.png\\rys[/img]", "3 picture-extension",
        "has no extension");
    row("picture missing", "X1\nQ\n[img]brak.png[/img]", "3 picture-missing", "\"brak.png\"");
    row("picture damaged", "X1\nQ\n[img]zly.png[/img]", "3 picture-damaged");
    row("JPEG of its image data mostly missing", "X1\nQ\n[img]pusty.jpg[/img]", "3 picture-damaged",
        "Damaged JPEG file: most of its image data is missing");
    row("picture up out of the bank", "X1\nQ\n[img]../obok.png[/img]", "3 picture-outside-bank");
    row("picture by an absolute path", "X1\nQ\n[img]/rys.png[/img]", "3 picture-outside-bank");
    row("picture on a drive", "X1\nQ\n[img]C:\\rys.png[/img]", "3 picture-outside-bank, 3 picture-missing");
    row("question picture too wide", "X1\n[img]pytanie-931.png[/img]\na", "2 picture-too-large",
        "931 × 137 pixels, larger than its place of 930 × 137");
    row("answer picture too wide", "X1\nQ\n[img]odp-442.png[/img]", "3 picture-too-large", "441 × 70");
    row("answer picture too high", "X1\nQ\n[img]odp-71.png[/img]", "3 picture-too-large", "100 × 71");
}

void TestFileChecker::findings()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(QString, found);
    QFETCH(QString, message);
    WriteFile(bank() / name.toStdString(), file);
    const FileReport report = m_checker->checkFile(bank(), name.toStdString(), name.toStdString());
    std::filesystem::remove(bank() / name.toStdString());
    QCOMPARE(Found(report), found);
    if (!message.isEmpty())
        QVERIFY2(QString::fromStdString(report.Findings.front().Message).contains(message),
                 report.Findings.front().Message.c_str());
}

void TestFileChecker::unreadableFile()
{
    // A folder whose name ends in ".txt" is listed as a question, which the program cannot open.
    std::filesystem::create_directories(bank() / "katalog.txt");
    const FileReport report = m_checker->checkFile(bank(), "katalog.txt", "katalog.txt");
    QCOMPARE(Found(report), "- unreadable");
    QCOMPARE(report.ReaderError->Type, std::string("EInOutError"));
}

void TestFileChecker::jsonProblems()
{
    WriteFile(bank() / "pyt.txt", Windows1250("X1001\r\n[img]brak.png[/img]\r\nżółw\r\nR&D\r\n ok \r\n"));
    const FileReport report = m_checker->checkFile(bank(), "pyt.txt", "baza/pyt.txt");
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(ToJson(report))).object();
    QCOMPARE(json.keys().size(), 13);
    QCOMPARE(json["file"].toString(), "pyt.txt");
    QCOMPARE(json["path"].toString(), "baza/pyt.txt");
    QCOMPARE(json["encoding"].toString(), "windows-1250");
    QCOMPARE(json["questionPicture"].toString(), "brak.png");
    QCOMPARE(json["answers"].toArray()[0].toObject()["text"].toString(), "żółw");
    const QJsonArray problems = json["problems"].toArray();
    QCOMPARE(problems.size(), 3);
    QCOMPARE(problems[0].toObject()["line"].toInt(), 1);
    QCOMPARE(problems[0].toObject()["code"].toString(), "flag-without-answer");
    QCOMPARE(problems[1].toObject()["code"].toString(), "picture-missing");
    QCOMPARE(problems[2].toObject()["line"].toInt(), 4);
    QCOMPARE(problems[2].toObject()["code"].toString(), "single-ampersand");

    WriteFile(bank() / "utf16.txt", Utf16(QStringLiteral("X1\r\nCo pływa?\r\nŻółw\r\n"), true, true));
    const FileReport utf16 = m_checker->checkFile(bank(), "utf16.txt", "baza/utf16.txt");
    const QJsonObject utf16Json = QJsonDocument::fromJson(QByteArray::fromStdString(ToJson(utf16))).object();
    QCOMPARE(utf16Json["encoding"].toString(), "utf-16be");
    QCOMPARE(utf16Json["body"].toString(), "Co pływa?");
    QCOMPARE(utf16Json["answers"].toArray()[0].toObject()["text"].toString(), "Żółw");

    QVERIFY(json["shown"].toBool());
    const FileReport refused = m_checker->checkBytes("Zx\nT", "zdanie.txt", bank());
    QCOMPARE(QJsonDocument::fromJson(QByteArray::fromStdString(ToJson(refused))).object()["shown"], false);

    const FileReport empty = m_checker->checkBytes("", "pusty.txt", bank());
    const QJsonObject whole = QJsonDocument::fromJson(QByteArray::fromStdString(ToJson(empty))).object();
    QVERIFY(whole["problems"].toArray()[0].toObject()["line"].isNull());
    QCOMPARE(whole["problems"].toArray()[0].toObject()["code"].toString(), "empty-file");
}

QTEST_MAIN(TestFileChecker)
#include "tst_filechecker.moc"
