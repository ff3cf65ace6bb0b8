#include "bank/Question.h"
#include "bank/QuestionReader.h"
#include "base/Errors.h"
#include "base/Platform.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <sys/stat.h>

#include "QuestionBytes.h"

using namespace zdawnik;
using namespace zdawnik::testing;

namespace {

QStringList LinesOf(const QuestionLines& lines)
{
    QStringList result = QString::fromLatin1(lines.JoinedText).split("[stop]");
    result.removeLast(); // what follows the last marker
    return result;
}

// The kept lines as UTF-8 text.
QStringList Utf8LinesOf(const QuestionLines& lines)
{
    QStringList result = QString::fromStdString(lines.JoinedText).split("[stop]");
    result.removeLast();
    return result;
}

} // namespace

// How a question file's bytes become lines: line ends, long lines, encodings.
class TestQuestionLines : public QObject
{
    Q_OBJECT

private slots:
    void lineRules_data();
    void lineRules();
    void linesComeInAnyPieces();
    void hugeFileKeepsOnlyWhatItMayShow();
    void longLines_data();
    void longLines();
    void encoding_data();
    void encoding();
    void utf16WithMark_data();
    void utf16WithMark();
    void utf16WithoutMark_data();
    void utf16WithoutMark();
    void endlessFiles_data();
    void endlessFiles();
};

void TestQuestionLines::lineRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty file") << Bytes("") << QStringList{};
    QTest::newRow("only byte 26") << Bytes("\x1a") << QStringList{};
    QTest::newRow("byte 26 first") << Bytes("\x1a"
                                            "X1\nabc\n")
                                   << QStringList{};
    QTest::newRow("CR LF") << Bytes("X1\r\nPytanie\r\nTak\r\n") << QStringList{"X1", "Pytanie", "Tak"};
    QTest::newRow("LF alone") << Bytes("X1\nPytanie\nTak\n") << QStringList{"X1", "Pytanie", "Tak"};
    QTest::newRow("last line without end")
        << Bytes("X1\nPytanie\nTak") << QStringList{"X1", "Pytanie", "Tak"};
    QTest::newRow("end at very end adds nothing") << Bytes("a\n") << QStringList{"a"};
    QTest::newRow("only a line end") << Bytes("\n") << QStringList{""};
    QTest::newRow("empty lines count") << Bytes("a\n\n\nb\n\n") << QStringList{"a", "", "", "b", ""};
    QTest::newRow("lone CR removed") << Bytes("ab\rcd\n") << QStringList{"abcd"};
    QTest::newRow("lone CR at the end") << Bytes("ab\r") << QStringList{"ab"};
    QTest::newRow("CR CR LF") << Bytes("ab\r\r\nc") << QStringList{"ab", "c"};
    QTest::newRow("CR alone is no line end") << Bytes("a\rb\rc") << QStringList{"abc"};
    QTest::newRow("26 inside a line") << Bytes("ab\x1a"
                                               "cd\nef\n")
                                      << QStringList{"ab", "ef"};
    QTest::newRow("26 then 26 in the skipped rest") << Bytes("ab\x1a"
                                                             "c\x1a"
                                                             "d\nef\n")
                                                    << QStringList{"ab"};
    QTest::newRow("26 at the start of a later line") << Bytes("ab\ncd\n\x1a"
                                                              "ef\n")
                                                     << QStringList{"ab", "cd"};
    QTest::newRow("26 after CR") << Bytes("ab\n\r\x1a"
                                          "x\ncd")
                                 << QStringList{"ab", "", "cd"};
    QTest::newRow("26 at end of line text") << Bytes("ab\x1a\ncd") << QStringList{"ab", "cd"};
    QTest::newRow("NUL bytes are text") << Bytes("a\0b\n", 4) << QStringList{QString::fromLatin1("a\0b", 3)};
    QTest::newRow("spaces kept") << Bytes(" X1 \n  b  ") << QStringList{" X1 ", "  b  "};
    QTest::newRow("byte-order mark") << Bytes("\xEF\xBB\xBFX1\nb") << QStringList{"X1", "b"};
    QTest::newRow("byte-order mark then 26") << Bytes("\xEF\xBB\xBF\x1a"
                                                      "X1")
                                             << QStringList{};
    QTest::newRow("partial mark is text")
        << Bytes("\xEF\xBBX") << QStringList{QString::fromLatin1("\xEF\xBBX")};
}

void TestQuestionLines::lineRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const QuestionLines read = ReadQuestionLines(std::string_view(bytes.constData(), bytes.size()));
    QCOMPARE(read.LineCount, lines.size());
    QCOMPARE(LinesOf(read), lines);
}

void TestQuestionLines::linesComeInAnyPieces()
{
    // Counted by the compiler: a length counted by hand over these escapes ran past the text.
    static constexpr char Text[] = "\xEF\xBB\xBFX01\r\nPyt\ranie\r\n\x1a"
                                   "skip\nodp\x1a"
                                   "a\x1a";
    const QByteArray bytes(Text, sizeof Text - 1);
    const QuestionLines whole = ReadQuestionLines(std::string_view(bytes.constData(), bytes.size()));
    for (int piece = 1; piece <= 5; ++piece) {
        QuestionLineReader reader;
        for (int i = 0; i < bytes.size(); i += piece)
            reader.feed(std::string_view(bytes.constData() + i, std::min<int>(piece, bytes.size() - i)));
        const QuestionLines pieces = reader.finish();
        QCOMPARE(pieces.JoinedText, whole.JoinedText);
        QCOMPARE(pieces.LineCount, whole.LineCount);
        QCOMPARE(pieces.Encoding, whole.Encoding);
    }
}

void TestQuestionLines::hugeFileKeepsOnlyWhatItMayShow()
{
    std::string bytes;
    for (int i = 1; i <= 5000; ++i)
        bytes += "linia numer " + std::to_string(i) + std::string(100, 'x') + "\r\n";
    const QuestionLines read = ReadQuestionLines(bytes);
    // The reader stops as the 20th line begins: the file is refused whatever follows.
    QCOMPARE(read.LineCount, 20);
    QCOMPARE(LinesOf(read).size(), 19);
    QVERIFY(read.JoinedText.size() < 19 * 130);
}

void TestQuestionLines::longLines_data()
{
    // A line keeps at most MaxLineBytes bytes; one that goes on past them is the last line read.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QList<int>>("cutLines");
    QTest::addColumn<QList<int>>("keptSizes");
    const int bound = int(MaxLineBytes);
    const QByteArray full(bound, 'a');
    QTest::newRow("exactly the bound") << full + "\nb" << 2 << QList<int>{} << QList<int>{bound, 1};
    QTest::newRow("one byte over") << full + "a\nb" << 1 << QList<int>{1} << QList<int>{bound};
    QTest::newRow("over without a line end") << full + "aaa" << 1 << QList<int>{1} << QList<int>{bound};
    QTest::newRow("carriage returns are no text")
        << QByteArray("a\r").repeated(bound) + "\r\nb" << 2 << QList<int>{} << QList<int>{bound, 1};
    QTest::newRow("nothing after a cut line is read")
        << QByteArray("b\n") + QByteArray(3 * bound, 'x') + "\n" + QByteArray(2 * bound, 'y') + "\nc\n"
        << 2 << QList<int>{2} << QList<int>{1, bound};
    QTest::newRow("byte 26 after the bound")
        << full + "a\x1a" + "b\nc" << 1 << QList<int>{1} << QList<int>{bound};
    QTest::newRow("byte 26 at the bound is no cut")
        << full + "\x1a" + "b\nc" << 2 << QList<int>{} << QList<int>{bound, 1};
    QTest::newRow("line 19 cut") << QByteArray("a\n").repeated(18) + full + "a" << 19 << QList<int>{19}
                                 << (QList<int>(18, 1) << bound);
    QTest::newRow("a line past 19 ends the reading")
        << QByteArray("a\n").repeated(19) + full + "a\nb" << 20 << QList<int>{} << QList<int>(19, 1);
    QTest::newRow("19 lines and a line end")
        << QByteArray("a\n").repeated(19) << 19 << QList<int>{} << QList<int>(19, 1);
    QTest::newRow("byte 26 after line 19 ends the file")
        << QByteArray("a\n").repeated(19) + "\x1a" + full + "a" << 19 << QList<int>{} << QList<int>(19, 1);
}

void TestQuestionLines::longLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lineCount);
    QFETCH(QList<int>, cutLines);
    QFETCH(QList<int>, keptSizes);
    // Whole, and in pieces that fall anywhere against the bound.
    for (const int piece : {int(bytes.size()), 1000, 4099}) {
        QuestionLineReader reader;
        for (int i = 0; i < bytes.size(); i += piece)
            reader.feed(std::string_view(bytes.constData() + i, std::min<int>(piece, bytes.size() - i)));
        const QuestionLines read = reader.finish();
        QCOMPARE(read.LineCount, lineCount);
        QCOMPARE(QList<int>(read.CutLines.begin(), read.CutLines.end()), cutLines);
        QList<int> sizes;
        for (const QString& line : LinesOf(read))
            sizes << int(line.size());
        QCOMPARE(sizes, keptSizes);
        // What is kept of a line is its beginning.
        const QByteArray text = QByteArray(bytes).replace('\r', "");
        QCOMPARE(QByteArray::fromStdString(read.JoinedText.substr(0, std::size_t(keptSizes[0]))),
                 text.left(keptSizes[0]));
    }
}

void TestQuestionLines::encoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("firstLine");
    const int cp = int(TextEncoding::Windows1250), utf8 = int(TextEncoding::Utf8);
    QTest::newRow("ascii only") << Bytes("X1\nabc") << cp << "X1";
    QTest::newRow("windows-1250 letters") << Bytes("Y0\n\xbf\xf3\xb3w") << cp << "Y0";
    QTest::newRow("utf-8 letters") << Bytes("Y0\n\xc5\xbc\xc3\xb3\xc5\x82w") << utf8 << "Y0";
    QTest::newRow("utf-8 with mark") << Bytes("\xEF\xBB\xBFX1\nabc") << utf8 << "X1";
    QTest::newRow("utf-8 then a stray byte") << Bytes("Y0\n\xc5\xbc\n\xb3") << cp << "Y0";
    QTest::newRow("sequence cut by a line end") << Bytes("Y0\n\xc5\n\xbc") << cp << "Y0";
    QTest::newRow("overlong form") << Bytes("Y0\n\xc0\xaf") << cp << "Y0";
    // The encoding is judged by the text the reader keeps: all of it for a file that can be shown.
    // A cut inside a letter is no fault of the file.
    QTest::newRow("long utf-8 line cut inside a letter")
        << QByteArray("Y0\na") + QByteArray("\xc5\xbc").repeated(int(MaxLineBytes)) << utf8 << "Y0";
    QTest::newRow("a stray byte past the cut is not judged")
        << QByteArray("Y0\n\xc5\xbc") + QByteArray(int(MaxLineBytes), 'a') + "\xb3" << utf8 << "Y0";
    QTest::newRow("a stray byte past line 19 is not judged")
        << QByteArray("Y0\n\xc5\xbc\n") + QByteArray("a\n").repeated(20) + "\xb3" << utf8 << "Y0";
    QTest::newRow("utf-8 past line 19 decides nothing")
        << QByteArray("X\n").repeated(1) + QByteArray("a\n").repeated(25) + QByteArray("\xc5\xbc") << cp
        << "X";
    QTest::newRow("utf-8 cut by a carriage return") << QByteArray("Y0\n\xc5\r\xbc") << utf8 << "Y0";
}

void TestQuestionLines::encoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QString, firstLine);
    const QuestionLines read = ReadQuestionLines(std::string_view(bytes.constData(), bytes.size()));
    QCOMPARE(int(read.Encoding), encoding);
    QCOMPARE(LinesOf(read).value(0), firstLine);
}

void TestQuestionLines::utf16WithMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("cutLines");
    QTest::newRow("question with polish letters")
        << "X01\r\nCzy żółw ma skorupę?\r\n[img]żółw.png[/img]\r\nNie, to ślimak\r\n"
        << QStringList{"X01", "Czy żółw ma skorupę?", "[img]żółw.png[/img]", "Nie, to ślimak"}
        << QList<int>{};
    QTest::newRow("line feeds alone") << "a\nb" << QStringList{"a", "b"} << QList<int>{};
    QTest::newRow("lone carriage return") << "ą\rę\n" << QStringList{"ąę"} << QList<int>{};
    QTest::newRow("byte 26 inside a line") << "ab\x1a"
                                              "cd\nef"
                                           << QStringList{"ab", "ef"} << QList<int>{};
    QTest::newRow("byte 26 starts a line") << "ab\r\n\x1a"
                                              "cd\nef"
                                           << QStringList{"ab"} << QList<int>{};
    QTest::newRow("mark alone") << "" << QStringList{} << QList<int>{};
    QTest::newRow("beyond the basic plane")
        << "\U0001F422 żółw" << QStringList{"\U0001F422 żółw"} << QList<int>{};
    // 40,000 letters are 80,000 bytes of UTF-8: the line keeps 32,768 of them.
    QTest::newRow("a long line of letters")
        << QString(40000, QChar(0x17C)) + "\nb" << QStringList{QString(32768, QChar(0x17C))} << QList<int>{1};
}

void TestQuestionLines::utf16WithMark()
{
    // Read as text, like UTF-8 behind its mark, in both byte orders, whole and in pieces that cut
    // the mark, the units and the pairs anywhere.
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, cutLines);
    for (const TextEncoding order : {TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        const QByteArray bytes = Utf16(text, order);
        for (const int piece : {1, 3, 5, 4096, int(bytes.size())}) {
            QuestionLineReader reader;
            for (int i = 0; i < bytes.size(); i += piece)
                reader.feed(std::string_view(bytes.constData() + i, std::min<int>(piece, bytes.size() - i)));
            const QuestionLines read = reader.finish();
            QCOMPARE(read.Encoding, order);
            QCOMPARE(Utf8LinesOf(read), lines);
            QCOMPARE(read.LineCount, lines.size());
            QCOMPARE(QList<int>(read.CutLines.begin(), read.CutLines.end()), cutLines);
            QVERIFY(!read.UnmarkedUtf16);
        }
    }
}

void TestQuestionLines::utf16WithoutMark_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("unmarked");
    const QString question = "Y21\r\nŻółw {wybór 1}\r\nśpi;;je;;\r\n";
    QTest::newRow("little endian") << Utf16(question, TextEncoding::Utf16Le, false) << 4
                                   << int(TextEncoding::Utf16Le);
    QTest::newRow("big endian") << Utf16(question, TextEncoding::Utf16Be, false) << 3
                                << int(TextEncoding::Utf16Be);
    QTest::newRow("windows-1250") << Bytes("Y21\r\n\xaf\xf3\xb3w {wyb\xf3r 1}\r\n") << 2 << -1;
}

void TestQuestionLines::utf16WithoutMark()
{
    // Without its mark UTF-16 is read by the line rules, byte by byte, as any file: the line feed's
    // zero byte starts the next line. What the bytes look like is told beside the lines.
    QFETCH(QByteArray, bytes);
    QFETCH(int, lineCount);
    QFETCH(int, unmarked);
    const QuestionLines read = ReadQuestionLines(std::string_view(bytes.constData(), bytes.size()));
    QCOMPARE(read.LineCount, lineCount);
    QCOMPARE(read.UnmarkedUtf16 ? int(*read.UnmarkedUtf16) : -1, unmarked);
    QCOMPARE(read.Encoding, TextEncoding::Windows1250);
    QVERIFY(read.JoinedText.starts_with(bytes.left(3).toStdString()));
}

void TestQuestionLines::endlessFiles_data()
{
    // Files that would take long or forever to read to their end: each is refused, or its lines
    // read, from its first bytes.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QList<int>>("cutLines");
    QTest::addColumn<QString>("error");
    QTest::newRow("20 GB of zero bytes, one line") << "sparse" << 1 << QList<int>{1} << QString();
    QTest::newRow("19 lines, then 20 GB") << "19 lines, then sparse" << 20 << QList<int>{} << QString();
    QTest::newRow("a file that another program keeps writing")
        << "growing" << 20 << QList<int>{} << QString();
    QTest::newRow("a named pipe whose writer never stops")
        << "fifo" << 0 << QList<int>{} << "File access denied";
    QTest::newRow("a link to the endless device") << "device" << 0 << QList<int>{} << "File access denied";
}

void TestQuestionLines::endlessFiles()
{
    // That each row finishes at all is the point: read to its end, none of these files would.
    QFETCH(QString, kind);
    QFETCH(int, lineCount);
    QFETCH(QList<int>, cutLines);
    QFETCH(QString, error);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("q.txt"));
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    constexpr std::uintmax_t TwentyGigabytes = 20ULL << 30;
    QProcess writer;
    if (kind.endsWith(QLatin1String("sparse"))) {
        QFile start(path);
        QVERIFY(start.open(QIODevice::WriteOnly));
        if (kind.startsWith(QLatin1String("19 lines")))
            start.write(QByteArray("X1\n").repeated(19));
        start.close();
        std::filesystem::resize_file(file, TwentyGigabytes);
    } else if (kind == QLatin1String("growing")) {
        writer.setStandardOutputFile(path, QIODevice::Append);
        writer.start(QStringLiteral("yes"), {});
        QVERIFY(writer.waitForStarted());
        while (QFileInfo(path).size() < 4096)
            QThread::msleep(1);
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(file.c_str(), 0600), 0);
        writer.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("yes > \"$0\""), path});
        QVERIFY(writer.waitForStarted());
    } else if (kind == QLatin1String("device")) {
        std::filesystem::create_symlink("/dev/zero", file);
    }
    try {
        platform::InputFile input(file);
        const QuestionLines read = ReadQuestionLines(input);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(read.LineCount, lineCount);
        QCOMPARE(QList<int>(read.CutLines.begin(), read.CutLines.end()), cutLines);
        QVERIFY(read.JoinedText.size() <= std::size_t(MaxQuestionLines) * (MaxLineBytes + 6));
    } catch (const EInOutError& refused) {
        QCOMPARE(QString::fromStdString(refused.what()), error);
    }
    writer.kill();
    writer.waitForFinished();
}

QTEST_GUILESS_MAIN(TestQuestionLines)
#include "tst_questionlines.moc"
