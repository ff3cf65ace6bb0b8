#include <QTemporaryDir>
#include <QtTest>

#include "ConvertTestFiles.h"

// Banks made by zdawnik-convert from the formats of other tools, as its users run it: the files it
// writes, what it reports and its exit status. Every bank it writes passes zdawnik-check.
class TestConvertImport : public QObject
{
    Q_OBJECT

private slots:
    void import_data();
    void import();
    void nothingHalfWritten_data();
    void nothingHalfWritten();
    void usage_data();
    void usage();
};

namespace {

const QString Png = QString::fromLatin1(PngOfSize(20, 10).toBase64());

QString Quiz(const QString& questions)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" + questions + "</quiz>\n";
}

} // namespace

void TestConvertImport::import_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<QString>("bank");

    QTest::newRow("moodle: choice questions, HTML and entities to plain text, & doubled")
        << "quiz.xml"
        << Quiz("<question type=\"multichoice\"><name><text>Stolica Polski</text></name>\n"
                "<questiontext format=\"html\"><text><![CDATA[<p>Co jest stolicą <b>Polski</b> &amp; "
                "Litwy?</p>]]></text></questiontext>\n"
                "<penalty>0</penalty><single>true</single>\n"
                "<answer fraction=\"100\"><text>Warszawa</text></answer>\n"
                "<answer fraction=\"0\"><text>Kraków &amp;lt; 2</text></answer>\n</question>\n"
                "<question type=\"multichoice\"><name><text>Liczby</text></name>\n"
                "<questiontext format=\"plain_text\"><text>Które są\n parzyste?</text></questiontext>\n"
                "<answer fraction=\"50\"><text>2</text></answer>\n"
                "<answer fraction=\"-100\"><text>3</text></answer>\n"
                "<answer fraction=\"50\"><text>4</text></answer>\n</question>\n")
               .toUtf8()
        << QStringList{} << 0 << QStringList{}
        << "== 001-stolica-polski.txt (windows-1250)\nX10\nCo jest stolicą Polski && "
           "Litwy?\nWarszawa\nKraków < 2\n"
           "== 002-liczby.txt (windows-1250)\nX101\nKtóre są parzyste?\n2\n3\n4\n";

    QTest::newRow("moodle: true/false and select missing words")
        << "quiz.xml"
        << Quiz("<question type=\"truefalse\"><name><text>Ziemia</text></name>\n"
                "<questiontext format=\"html\"><text>Ziemia jest płaska.</text></questiontext>\n"
                "<answer fraction=\"0\"><text>true</text></answer>\n"
                "<answer fraction=\"100\"><text>false</text></answer>\n</question>\n"
                "<question type=\"gapselect\"><name><text>Kot</text></name>\n"
                "<questiontext format=\"html\"><text>&lt;p&gt;[[1]] siedzi na [[2]].&lt;/p&gt;</text>"
                "</questiontext>\n"
                "<selectoption><text>Kot</text><group>1</group></selectoption>\n"
                "<selectoption><text>macie</text><group>2</group></selectoption>\n"
                "<selectoption><text>Pies</text><group>1</group></selectoption>\n"
                "<selectoption><text>kanapie</text><group>2</group></selectoption>\n</question>\n")
               .toUtf8()
        << QStringList{} << 0 << QStringList{}
        << "== 001-ziemia.txt (windows-1250)\nX01\nZiemia jest płaska.\nprawda\nfałsz\n"
           "== 002-kot.txt (windows-1250)\nZ211\n{wybór 1} siedzi na {wybór "
           "2}.\nKot;;Pies;;\nmacie;;kanapie;;\n";

    QTest::newRow("moodle: embedded pictures, a picture the program does not show")
        << "quiz.xml"
        << Quiz("<question type=\"multichoice\"><name><text>Mapa</text></name>\n"
                "<questiontext format=\"html\"><text><![CDATA[<p><img "
                "src=\"@@PLUGINFILE@@/mapa%20Polski.png\" "
                "alt=\"\"></p>]]></text>\n<file name=\"mapa Polski.png\" path=\"/\" encoding=\"base64\">" +
                Png +
                "</file></questiontext>\n"
                "<answer fraction=\"100\"><text><![CDATA[<img src=\"@@PLUGINFILE@@/a.png\">]]></text>"
                "<file name=\"a.png\" path=\"/\" encoding=\"base64\">" +
                Png +
                "</file></answer>\n<answer fraction=\"0\"><text>B</text></answer>\n</question>\n"
                "<question type=\"multichoice\"><name><text>Ruch</text></name>\n"
                "<questiontext format=\"html\"><text><![CDATA[<img src=\"@@PLUGINFILE@@/r.gif\">]]></text>\n"
                "<file name=\"r.gif\" path=\"/\" "
                "encoding=\"base64\">R0lGODlhAQABAAAAACw=</file></questiontext>\n"
                "<answer fraction=\"100\"><text>A</text></answer>\n</question>\n"
                "<question type=\"multichoice\"><name><text>Obok</text></name>\n"
                "<questiontext format=\"html\"><text><![CDATA[Tekst <img src=\"@@PLUGINFILE@@/o.png\">]]>"
                "</text></questiontext>\n<answer fraction=\"100\"><text>A</text></answer>\n</question>\n")
               .toUtf8()
        << QStringList{} << 1
        << QStringList{"quiz.xml:9: \"Ruch\": the picture \"r.gif\" is GIF, which the program does not show: "
                       "skipped",
                       "quiz.xml:15: \"Obok\": the picture \"o.png\" is left out: a line of a bank is a text "
                       "or a "
                       "picture"}
        << "== 001-a.png (20 x 10)\n== 001-mapa-polski.png (20 x 10)\n== 001-mapa.txt (windows-1250)\nX10\n"
           "[img]001-mapa-polski.png[/img]\n[img]001-a.png[/img]\nB\n"
           "== 002-obok.txt (windows-1250)\nX1\nTekst\nA\n";

    QString thirteen, fiveGaps;
    for (int k = 1; k <= 13; ++k)
        thirteen +=
            QString("<answer fraction=\"%1\"><text>%2</text></answer>\n").arg(k == 1 ? 100 : 0).arg(k);
    for (int n = 1; n <= 5; ++n)
        fiveGaps += QString("<selectoption><text>%1</text><group>1</group></selectoption>\n").arg(n);
    QTest::newRow("moodle: what a bank cannot carry, at its lines; categories")
        << "quiz.xml"
        << Quiz("<question type=\"category\"><category><text>$course$/top/Geografia/Europa</text></category>"
                "</question>\n"
                "<question type=\"essay\"><name><text>E</text></name></question>\n"
                "<question type=\"numerical\"><name><text>N</text></name></question>\n"
                "<question type=\"shortanswer\"><name><text>S</text></name></question>\n"
                "<question type=\"match\"><name><text>M</text></name></question>\n"
                "<question type=\"calculated\"><name><text>C</text></name></question>\n"
                "<question type=\"multichoice\"><name><text>Dużo</text></name>\n"
                "<questiontext><text>Q</text></questiontext>\n" +
                thirteen +
                "</question>\n<question type=\"gapselect\"><name><text>Luki</text></name>\n"
                "<questiontext><text>[[1]] [[2]] [[3]] [[4]] [[5]]</text></questiontext>\n" +
                fiveGaps +
                "</question>\n<question type=\"multichoice\"><name><text>Rada</text></name>\n"
                "<questiontext><text>Q</text></questiontext>\n"
                "<generalfeedback><text>Zobacz rozdział 2.</text></generalfeedback>\n"
                "<penalty>0.3333333</penalty>\n"
                "<answer fraction=\"100\"><text>A</text><feedback><text>Tak</text></feedback></answer>\n"
                "</question>\n")
               .toUtf8()
        << QStringList{} << 1
        << QStringList{"quiz.xml:3: note: category \"Geografia/Europa\": 1 question(s) written",
                       "quiz.xml:4: \"E\": an essay question cannot be carried: skipped",
                       "quiz.xml:5: \"N\": a numerical question cannot be carried: skipped",
                       "quiz.xml:6: \"S\": a short-answer question cannot be carried: skipped",
                       "quiz.xml:7: \"M\": a matching question cannot be carried: skipped",
                       "quiz.xml:8: \"C\": a calculated question cannot be carried: skipped",
                       "quiz.xml:9: \"Dużo\": more than 12 answers (13): skipped",
                       "quiz.xml:25: \"Luki\": more than 4 gaps (5): skipped",
                       "quiz.xml:33: \"Rada\": the feedback and the penalty are left out: a bank has no "
                       "place "
                       "for them"}
        << "== 001-rada.txt (windows-1250)\nX1\nQ\nA\n";

    QTest::newRow("moodle: categories as subfolders")
        << "quiz.xml"
        << Quiz("<question type=\"category\"><category><text>$course$/top/Historia Polski</text></category>"
                "</question>\n"
                "<question type=\"truefalse\"><name><text>Chrzest</text></name>\n"
                "<questiontext><text>W roku 966?</text></questiontext>\n"
                "<answer fraction=\"100\"><text>true</text></answer></question>\n"
                "<question type=\"category\"><category><text>$course$/top/Fizyka</text></category>"
                "</question>\n"
                "<question type=\"truefalse\"><name><text>Próżnia</text></name>\n"
                "<questiontext><text>Dźwięk w próżni?</text></questiontext>\n"
                "<answer fraction=\"100\"><text>false</text></answer></question>\n")
               .toUtf8()
        << QStringList{"--categories"} << 0
        << QStringList{"quiz.xml:3: note: category \"Historia Polski\": 1 question(s) written",
                       "quiz.xml:7: note: category \"Fizyka\": 1 question(s) written"}
        << "== fizyka/001-proznia.txt (windows-1250)\nX01\nDźwięk w próżni?\nprawda\nfałsz\n"
           "== historia-polski/001-chrzest.txt (windows-1250)\nX10\nW roku 966?\nprawda\nfałsz\n";

    QTest::newRow("encoding: UTF-8 with its mark when Windows-1250 cannot hold a letter")
        << "quiz.gift" << QString("Stolica Rosji? {=Москва ~Kraków}\n\nDrugie? {=tak ~nie}\n").toUtf8()
        << QStringList{} << 0 << QStringList{}
        << "== 001-stolica-rosji.txt (utf-8)\nX10\nStolica Rosji?\nМосква\nKraków\n"
           "== 002-drugie.txt (windows-1250)\nX10\nDrugie?\ntak\nnie\n";
    QTest::newRow("encoding: always UTF-8 when asked")
        << "quiz.gift" << QString("Drugie? {=tak ~nie}\n").toUtf8() << QStringList{"--encoding", "utf-8"} << 0
        << QStringList{} << "== 001-drugie.txt (utf-8)\nX10\nDrugie?\ntak\nnie\n";

    QTest::newRow("gift: titles, weights, true/false, missing word, escapes, comments, categories")
        << "quiz.gift"
        << QString("// pytania z historii\n$CATEGORY: $course$/top/Historia\n\n"
                   "::Chrzest::Kiedy był chrzest Polski? {=966 ~1410 ~1066}\n\n"
                   "::Kolory:: Które są\nciepłe? {\n~%50%czerwony\n~%50%żółty\n~%-100%niebieski\n}\n\n"
                   "Słońce wschodzi na wschodzie. {TRUE}\n\n"
                   "Moodle kosztuje {~dużo =nic} do pobrania.\n\n"
                   "::Znaki::Czy 1 \\= 1 \\{zawsze\\} i 2\\:3? {=tak ~nie}\n\n"
                   "[html]<p>Tom &amp; Jerry?</p> {=tak ~nie}\n")
               .toUtf8()
        << QStringList{} << 0
        << QStringList{"quiz.gift:2: note: category \"Historia\": 6 question(s) written"}
        << "== 001-chrzest.txt (windows-1250)\nX100\nKiedy był chrzest Polski?\n966\n1410\n1066\n"
           "== 002-kolory.txt (windows-1250)\nX110\nKtóre są ciepłe?\nczerwony\nżółty\nniebieski\n"
           "== 003-slonce-wschodzi-na-wschodzie.txt (windows-1250)\nX10\nSłońce wschodzi na "
           "wschodzie.\nprawda\n"
           "fałsz\n"
           "== 004-moodle-kosztuje-_____-do-pobrania.txt (windows-1250)\nX01\nMoodle kosztuje _____ do "
           "pobrania.\n"
           "dużo\nnic\n"
           "== 005-znaki.txt (windows-1250)\nX10\nCzy 1 = 1 {zawsze} i 2:3?\ntak\nnie\n"
           "== 006-tom-jerry.txt (windows-1250)\nX10\nTom && Jerry?\ntak\nnie\n";

    QTest::newRow("gift: what a bank cannot carry")
        << "quiz.gift"
        << QString(
               "::Esej::Opisz. {}\n\n::Liczba::Ile? {#2:0.5}\n\n::Krótka::Stolica? {=Warszawa =Warsaw}\n\n"
               "::Pary::Połącz. {=a -> 1 =b -> 2}\n\n::Opis::Sam tekst.\n\n"
               "::Rada::Pytanie? {=tak#Dobrze ~nie####Zobacz rozdział.}\n")
               .toUtf8()
        << QStringList{} << 1
        << QStringList{"quiz.gift:1: \"Esej\": an essay question cannot be carried: skipped",
                       "quiz.gift:3: \"Liczba\": a numerical question cannot be carried: skipped",
                       "quiz.gift:5: \"Krótka\": a short-answer question cannot be carried: skipped",
                       "quiz.gift:7: \"Pary\": a matching question cannot be carried: skipped",
                       "quiz.gift:9: \"Opis\": a text without answers (a description) cannot be carried: "
                       "skipped",
                       "quiz.gift:11: \"Rada\": the feedback is left out: a bank has no place for it"}
        << "== 001-rada.txt (windows-1250)\nX10\nPytanie?\ntak\nnie\n";

    QTest::newRow("aiken: answers, the answer line, questions it cannot read")
        << "quiz.aiken"
        << QString("Jaki kolor ma niebo?\nA. zielony\nB) niebieski\nC. czerwony\nANSWER: B\n\n"
                   "Bez klucza\nA. x\nB. y\n\nZły klucz\nA. x\nANSWER: D\n")
               .toUtf8()
        << QStringList{} << 1
        << QStringList{"quiz.aiken:7: \"Bez klucza\": the question ends at line 10 without an \"ANSWER:\" "
                       "line: "
                       "skipped",
                       "quiz.aiken:11: \"Zły klucz\": the answer \"D\" of line 13 is none of the question's "
                       "letters: "
                       "skipped"}
        << "== 001-jaki-kolor-ma-niebo.txt (windows-1250)\nX010\nJaki kolor ma niebo?\nzielony\nniebieski\n"
           "czerwony\n";

    QTest::newRow("csv: commas, quotes doubled, a line break in a field, sentence, picture")
        << "arkusz.csv"
        << QString("question,answer 1,answer 2,answer 3,right,picture,file\n"
                   "\"Co to jest \"\"kot\"\"?\",zwierzę,\"roślina\nzielona\",,1,,kot\n"
                   "\n"
                   "Wybierz {wybór 1} i {wybór 2},a;;b;;,c;;d,,2 1,,\n"
                   ",tak,nie,,2,rys.png,obraz\n"
                   "Zły?,a,b,,3,,\n")
               .toUtf8()
        << QStringList{} << 1
        << QStringList{"arkusz.csv:7: \"Zły?\": \"right\" names 3, which is no answer of the row: skipped"}
        << "== 001-kot.txt (windows-1250)\nX10\nCo to jest \"kot\"?\nzwierzę\nroślina zielona\n"
           "== 002-wybierz-wybor-1-i-wybor-2.txt (windows-1250)\nZ221\nWybierz {wybór 1} i {wybór "
           "2}\na;;b;;\n"
           "c;;d;;\n== 003-obraz.txt (windows-1250)\nX01\n[img]003-rys.png[/img]\ntak\nnie\n"
           "== 003-rys.png (20 x 10)\n";
    QTest::newRow("csv: semicolons and Windows-1250, as a Polish spreadsheet saves")
        << "arkusz.csv" << Windows1250("Question;Answer1;Answer2;Right\nŻółw?;tak;nie;1\n") << QStringList{}
        << 0 << QStringList{} << "== 001-zolw.txt (windows-1250)\nX10\nŻółw?\ntak\nnie\n";
    QTest::newRow("csv: tabs, UTF-8 with its mark")
        << "arkusz.csv"
        << "\xEF\xBB\xBF" + QString("question\tanswer 1\tanswer 2\tright\nŻółw?\ttak\tnie\t1 2\n").toUtf8()
        << QStringList{} << 0 << QStringList{} << "== 001-zolw.txt (windows-1250)\nX11\nŻółw?\ntak\nnie\n";
    QTest::newRow("csv: tabs, UTF-16, as a spreadsheet saves Unicode text")
        << "arkusz.csv" << Utf16("question\tanswer 1\tanswer 2\tright\r\nŻółw?\ttak\tnie\t2\r\n", false, true)
        << QStringList{} << 0 << QStringList{} << "== 001-zolw.txt (windows-1250)\nX01\nŻółw?\ntak\nnie\n";
    QTest::newRow("format named, not by extension")
        << "pytania.dat" << QString("Q?\nA. x\nANSWER: A\n").toUtf8() << QStringList{"--from", "aiken"} << 0
        << QStringList{} << "== 001-q.txt (windows-1250)\nX1\nQ?\nx\n";
    QTest::newRow("what the window cuts is written and reported")
        << "quiz.xml"
        << Quiz("<question type=\"multichoice\"><name><text>Długie</text></name>\n"
                "<questiontext><text>" +
                QString("Bardzo długie pytanie ").repeated(80) +
                "</text></questiontext>\n"
                "<answer fraction=\"100\"><text><![CDATA[<img src=\"@@PLUGINFILE@@/duzy.png\">]]></text>"
                "<file name=\"duzy.png\" path=\"/\" encoding=\"base64\">" +
                QString::fromLatin1(PngOfSize(500, 20).toBase64()) + "</file></answer>\n</question>\n")
               .toUtf8()
        << QStringList{} << 1
        << QStringList{"quiz.xml:3: \"Długie\": the question needs 930 × 227 pixels, more than its place of "
                       "930 × "
                       "137: the window cuts it",
                       "quiz.xml:3: \"Długie\": the picture \"duzy.png\" is 500 × 20 pixels, larger than its "
                       "place "
                       "of 441 × 70: the window cuts it"}
        << "== 001-dlugie.txt (windows-1250)\nX1\n" +
               QString("Bardzo długie pytanie ").repeated(80).trimmed() +
               "\n[img]001-duzy.png[/img]\n== 001-duzy.png (500 x 20)\n";
    QTest::newRow("texts a bank reserves")
        << "quiz.gift" << QString("Co znaczy [stop]? {=nic ~coś}\n\nCo to [IMG]? {=tag ~nic}\n").toUtf8()
        << QStringList{} << 1
        << QStringList{"quiz.gift:1: \"Co znaczy [stop]?\": the text \"Co znaczy [stop]?\" holds \"[stop]\", "
                       "which "
                       "splits a line of a bank: skipped",
                       "quiz.gift:3: \"Co to [IMG]?\": the text \"Co to [IMG]?\" holds a picture tag: "
                       "skipped"}
        << "";
}

void TestConvertImport::import()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QStringList, reports);
    QFETCH(QString, bank);
    QTemporaryDir dir;
    WriteFile(std::filesystem::path(dir.filePath(name).toStdString()), input);
    WriteFile(std::filesystem::path(dir.filePath("rys.png").toStdString()), PngOfSize(20, 10));

    const ProgramRun run =
        RunProgram(ZDAWNIK_CONVERT_PROGRAM, QStringList{name, "-o", "baza"} + options, dir.path());
    // What a text needs depends on the fonts at hand; its place does not.
    static const QRegularExpression Needs("needs [0-9]+ × [0-9]+");
    QStringList err = run.Err;
    err.replaceInStrings(Needs, "needs W × H");
    QCOMPARE(err, reports.replaceInStrings(Needs, "needs W × H"));
    QCOMPARE(run.Status, status);
    QCOMPARE(BankListing(dir.filePath("baza")), bank);
    if (bank.isEmpty())
        return;
    // What the converter writes, the checker finds no fault with but those reported.
    QStringList folders;
    for (const QFileInfo& sub : QDir(dir.filePath("baza")).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        folders << sub.filePath();
    const ProgramRun check =
        RunProgram(ZDAWNIK_CHECK_PROGRAM, folders.isEmpty() ? QStringList{"baza"} : folders, dir.path());
    const auto cut = reports.filter("the window cuts it").size();
    QVERIFY2(check.Status == (cut > 0 ? 1 : 0), qPrintable(check.Out.join('\n')));
    if (cut > 0)
        QCOMPARE(check.Out.size(), cut + 1); // and the count
}

void TestConvertImport::nothingHalfWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("err");

    const QStringList import{"wejscie", "-o", "baza"};
    QTest::newRow("malformed XML, at its line and column")
        << "wejscie"
        << Quiz("<question type=\"truefalse\"><name><text>A</text></name>\n<answer></question>\n").toUtf8()
        << QStringList{"wejscie", "--from", "moodle-xml", "-o", "baza"}
        << QStringList{"wejscie:4:20: malformed XML: Opening and ending tag mismatch.",
                       "zdawnik-convert: nothing written"};
    QTest::newRow("not a quiz")
        << "wejscie.xml" << QByteArray("<html></html>") << QStringList{"wejscie.xml", "-o", "baza"}
        << QStringList{"wejscie.xml:1:7: the file is no Moodle XML quiz: it begins with <html>, not <quiz>",
                       "zdawnik-convert: nothing written"};
    QTest::newRow("GIFT answers left open")
        << "wejscie.gift" << QByteArray("Dobre? {=tak ~nie}\n\nZłe? {=tak\n~nie\n")
        << QStringList{"wejscie.gift", "-o", "baza"}
        << QStringList{"wejscie.gift:3:6: malformed GIFT: the answers opened here have no closing \"}\"",
                       "zdawnik-convert: nothing written"};
    QTest::newRow("GIFT title left open")
        << "wejscie.gift" << QByteArray("\n  ::Tytuł Dobre? {=tak ~nie}\n")
        << QStringList{"wejscie.gift", "-o", "baza"}
        << QStringList{"wejscie.gift:2:3: malformed GIFT: the title opened here has no closing \"::\"",
                       "zdawnik-convert: nothing written"};
    QTest::newRow("CSV quote left open")
        << "wejscie.csv" << QByteArray("question,answer 1,right\nQ,\"a,1\n")
        << QStringList{"wejscie.csv", "-o", "baza"}
        << QStringList{"wejscie.csv:2: malformed CSV: a quoted field of the record has no closing quote",
                       "zdawnik-convert: nothing written"};
    QTest::newRow("CSV without its header")
        << "wejscie.csv" << QByteArray("Q,a,1\n") << QStringList{"wejscie.csv", "-o", "baza"}
        << QStringList{
               "wejscie.csv:1:1: the column \"Q\" is none of the layout's: left out",
               "wejscie.csv:1:2: the column \"a\" is none of the layout's: left out",
               "wejscie.csv:1:3: the column \"1\" is none of the layout's: left out",
               "wejscie.csv:1: the first row must name the columns: question, answer 1, answer 2, answer 3, "
               "answer 4, answer 5, answer 6, answer 7, answer 8, answer 9, answer 10, answer 11, answer 12, "
               "right, picture, file",
               "zdawnik-convert: nothing written"};
    QTest::newRow("no format known")
        << "wejscie.doc" << QByteArray("x") << QStringList{"wejscie.doc", "-o", "baza"}
        << QStringList{"zdawnik-convert: wejscie.doc: the extension tells no format: name it with --from "
                       "moodle-xml|gift|aiken|csv",
                       "zdawnik-convert: nothing written"};
    QTest::newRow("a folder that is not empty")
        << "wejscie.gift" << QByteArray("Q {=a ~b}\n") << QStringList{"wejscie.gift", "-o", "."}
        << QStringList{"zdawnik-convert: . is not empty: the bank is written into a new or empty folder",
                       "zdawnik-convert: nothing written"};
    QTest::newRow("export over a file")
        << "wejscie.gift" << QByteArray("Q {=a ~b}\n")
        << QStringList{".", "--to", "gift", "-o", "wejscie.gift"}
        << QStringList{"zdawnik-convert: wejscie.gift is there already: a file is "
                       "never overwritten",
                       "zdawnik-convert: nothing written"};
}

void TestConvertImport::nothingHalfWritten()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, err);
    QTemporaryDir dir;
    WriteFile(std::filesystem::path(dir.filePath(name).toStdString()), input);

    const ProgramRun run = RunProgram(ZDAWNIK_CONVERT_PROGRAM, arguments, dir.path());
    QCOMPARE(run.Err, err);
    QCOMPARE(run.Status, 2);
    QCOMPARE(run.Out, QStringList{});
    // Only the input is there, as it was: no bank, no temporary folder, no file written over.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{name});
    QFile kept(dir.filePath(name));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), input);
}

void TestConvertImport::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // the start of the first line
    QTest::addColumn<QString>("err"); // the first line

    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: "
                          << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "zdawnik-convert " ZDAWNIK_VERSION << "";
    QTest::newRow("an empty folder takes the bank")
        << QStringList{"pusty.gift", "-o", "pusta"} << 0 << "0 questions written to pusta"
        << "";
    QTest::newRow("no output named") << QStringList{"a.gift"} << 2 << ""
                                     << "zdawnik-convert: -o FOLDER or -o FILE is missing";
    QTest::newRow("unknown format") << QStringList{"a", "--to", "word", "-o", "b"} << 2 << ""
                                    << "zdawnik-convert: unknown format \"word\"";
    QTest::newRow("import options on an export")
        << QStringList{"a", "--to", "gift", "--categories", "-o", "b"} << 2 << ""
        << "zdawnik-convert: --from, --categories and --encoding are for an import";
    QTest::newRow("unknown option") << QStringList{"--kategorie"} << 2 << ""
                                    << "zdawnik-convert: Unknown option 'kategorie'.";
}

void TestConvertImport::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    WriteFile(std::filesystem::path(dir.filePath("pusty.gift").toStdString()), "");
    QDir(dir.path()).mkdir("pusta");
    const ProgramRun run = RunProgram(ZDAWNIK_CONVERT_PROGRAM, arguments, dir.path());
    QCOMPARE(run.Status, status);
    QCOMPARE(run.Out.value(0).left(out.size()), out);
    QCOMPARE(run.Err.value(0), err);
}

QTEST_MAIN(TestConvertImport)
#include "tst_convertimport.moc"
