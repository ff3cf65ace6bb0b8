#include <QTemporaryDir>
#include <QtTest>

#include "ConvertTestFiles.h"

// Banks written out by zdawnik-convert for other tools: the files as those tools read them, what
// cannot go into each format, and the round trips back to the same bank.
class TestConvertExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exportTo_data();
    void exportTo();
    void roundTrip_data();
    void roundTrip();

private:
    void write(const QString& name, const QByteArray& bytes)
    {
        WriteFile(std::filesystem::path(m_dir.filePath(name).toStdString()), bytes);
    }
    QTemporaryDir m_dir;
};

void TestConvertExport::initTestCase()
{
    // A bank named as the converter names banks, so that a round trip must give it back file for file.
    write("baza/001-stolica.txt", Windows1250("X10\r\nCo jest stolicą Polski?\r\nWarszawa\r\nKraków\r\n"));
    write("baza/002-kolory.txt",
          Windows1250("X110\r\nKtóre są ciepłe?\r\nczerwony\r\nżółty\r\nniebieski\r\n"));
    write("baza/003-ziemia.txt", Windows1250("X01\r\nZiemia jest płaska.\r\nprawda\r\nfałsz\r\n"));
    write("baza/004-zdanie.txt",
          Windows1250("Z221\r\n[img]004-wykres.png[/img]Słupek {wybór 1} jest {wybór 2}.\r\nA;;B;;\r\n"
                      "wyższy;;niższy;;\r\n"));
    write("baza/004-wykres.png", PngOfSize(30, 20));
    write("baza/005-mapa.txt",
          Windows1250("X01\r\n[img]005-mapa.png[/img]\r\n[img]005-a.png[/img]\r\nB\r\n"));
    write("baza/005-mapa.png", PngOfSize(40, 30));
    write("baza/005-a.png", PngOfSize(10, 10));
    write("baza/006-tom.txt", Windows1250("X10\r\nTom && Jerry: {razem} = 2?\r\ntak\r\nnie\r\n"));
    write("baza/007-rosja.txt",
          "\xEF\xBB\xBF" + QString("X10\r\nStolica Rosji?\r\nМосква\r\nKraków\r\n").toUtf8());

    write("zepsuta/a.txt", "X10\r\nQ\r\nA\r\nB\r\n");
    write("zepsuta/pusty.txt", "");
    write("zepsuta/brak.txt", "X1\r\nQ\r\n[img]brak.png[/img]\r\n");
    write("zepsuta/klucz.txt", "Z17\r\nA {wyb\xf3r 1}\r\nx;;y;;\r\n");
    write("zepsuta/zadna.txt", "X00\r\nQ\r\nA\r\nB\r\n");
}

void TestConvertExport::exportTo_data()
{
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<QString>("text");

    QTest::newRow("gift")
        << "baza"
        << "gift" << 1
        << QStringList{"baza/004-zdanie.txt:1: GIFT has no sentence questions: skipped",
                       "baza/005-mapa.txt:1: GIFT carries no pictures: skipped"}
        << "::001-stolica::Co jest stolicą Polski? {\n=Warszawa\n~Kraków\n}\n\n"
           "::002-kolory::Które są ciepłe? {\n~%50%czerwony\n~%50%żółty\n~%-100%niebieski\n}\n\n"
           "::003-ziemia::Ziemia jest płaska. {F}\n\n"
           "::006-tom::[plain]Tom & Jerry\\: \\{razem\\} \\= 2? {\n=tak\n~nie\n}\n\n"
           "::007-rosja::Stolica Rosji? {\n=Москва\n~Kraków\n}\n\n";
    QTest::newRow("aiken")
        << "baza"
        << "aiken" << 1
        << QStringList{"baza/002-kolory.txt:1: Aiken marks one answer right, and the question has "
                       "2: skipped",
                       "baza/004-zdanie.txt:1: Aiken has no sentence questions: skipped",
                       "baza/005-mapa.txt:1: Aiken carries no pictures: skipped"}
        << "Co jest stolicą Polski?\nA. Warszawa\nB. Kraków\nANSWER: A\n\n"
           "Ziemia jest płaska.\nA. prawda\nB. fałsz\nANSWER: B\n\n"
           "Tom & Jerry: {razem} = 2?\nA. tak\nB. nie\nANSWER: A\n\n"
           "Stolica Rosji?\nA. Москва\nB. Kraków\nANSWER: A\n\n";
    QTest::newRow("csv, pictures beside it")
        << "baza"
        << "csv" << 0 << QStringList{}
        << "question,answer 1,answer 2,answer 3,answer 4,answer 5,answer 6,answer 7,answer 8,answer 9,answer "
           "10,"
           "answer 11,answer 12,right,picture,file\r\n"
           "Co jest stolicą Polski?,Warszawa,Kraków,,,,,,,,,,,1,,001-stolica\r\n"
           "Które są ciepłe?,czerwony,żółty,niebieski,,,,,,,,,,1 2,,002-kolory\r\n"
           "Ziemia jest płaska.,prawda,fałsz,,,,,,,,,,,2,,003-ziemia\r\n"
           "Słupek {wybór 1} jest {wybór 2}.,A;;B;;,wyższy;;niższy;;,,,,,,,,,,,2 "
           "1,004-wykres.png,004-zdanie\r\n"
           ",[img]005-a.png[/img],B,,,,,,,,,,,2,005-mapa.png,005-mapa\r\n"
           "Tom & Jerry: {razem} = 2?,tak,nie,,,,,,,,,,,1,,006-tom\r\n"
           "Stolica Rosji?,Москва,Kraków,,,,,,,,,,,1,,007-rosja\r\n";
    QTest::newRow("what no tool could ask is left out")
        << "zepsuta"
        << "moodle-xml" << 1
        << QStringList{"zepsuta/brak.txt:3: the picture \"brak.png\" cannot be read: skipped",
                       "zepsuta/klucz.txt:1: the key \"7\" of list 1 is none of its 2 option(s): skipped",
                       "zepsuta/pusty.txt: the program does not show a file of 0 lines: skipped",
                       "zepsuta/zadna.txt:1: no answer is right: skipped"}
        << "";
}

void TestConvertExport::exportTo()
{
    QFETCH(QString, bank);
    QFETCH(QString, format);
    QFETCH(int, status);
    QFETCH(QStringList, reports);
    QFETCH(QString, text);
    QTemporaryDir out;
    const QString file = out.filePath("wynik." + format);
    const ProgramRun run =
        RunProgram(ZDAWNIK_CONVERT_PROGRAM, {bank, "--to", format, "-o", file}, m_dir.path());
    QCOMPARE(run.Err, reports);
    QCOMPARE(run.Status, status);
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QByteArray bytes = written.readAll();
    if (format == "csv") { // with the mark that tells spreadsheets it is UTF-8
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        bytes.remove(0, 3);
    }
    if (!text.isEmpty())
        QCOMPARE(QString::fromUtf8(bytes), text);
    if (format == "csv")
        QCOMPARE(QDir(out.path()).entryList(QDir::Files),
                 (QStringList{"004-wykres.png", "005-a.png", "005-mapa.png", "wynik.csv"}));
}

void TestConvertExport::roundTrip_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("moodle-xml") << "moodle-xml";
    QTest::newRow("csv") << "csv";
}

void TestConvertExport::roundTrip()
{
    QFETCH(QString, format);
    QTemporaryDir out;
    const QString file = out.filePath(format == "csv" ? "bank.csv" : "bank.xml");
    const ProgramRun there =
        RunProgram(ZDAWNIK_CONVERT_PROGRAM, {"baza", "--to", format, "-o", file}, m_dir.path());
    QCOMPARE(there.Out, QStringList{"7 questions written to " + file});
    QCOMPARE(there.Status, 0);
    const ProgramRun back =
        RunProgram(ZDAWNIK_CONVERT_PROGRAM, {file, "-o", out.filePath("baza")}, m_dir.path());
    QCOMPARE(back.Err, QStringList{});
    QCOMPARE(back.Status, 0);
    // The same questions, texts, flags, keys and pictures, in the same files.
    QCOMPARE(BankListing(out.filePath("baza")).split('\n'), BankListing(m_dir.filePath("baza")).split('\n'));
    const ProgramRun check = RunProgram(ZDAWNIK_CHECK_PROGRAM, {out.filePath("baza")}, m_dir.path());
    QVERIFY2(check.Status == 0, qPrintable(check.Out.join('\n')));
}

QTEST_MAIN(TestConvertExport)
#include "tst_convertexport.moc"
