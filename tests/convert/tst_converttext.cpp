#include <QtTest>

#include "convert/BankText.h"
#include "convert/CsvTable.h"

using namespace zdawnik;

// How the converter takes spreadsheet records and names files: what a user's file becomes.
class TestConvertText : public QObject
{
    Q_OBJECT

private slots:
    void csvRecords_data();
    void csvRecords();
    void fileNames_data();
    void fileNames();
};

void TestConvertText::csvRecords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("records"); // fields joined by "|", records by "/", each after its line and ":"

    QTest::newRow("commas, CR LF") << "a,b,c\r\nd,e,f\r\n"
                                   << "1:a|b|c/2:d|e|f";
    QTest::newRow("semicolons") << "a;b,c;d\n"
                                << "1:a|b,c|d";
    QTest::newRow("tabs, empty fields kept") << "a\t\tc\n\tb\t\n"
                                             << "1:a||c/2:|b|";
    QTest::newRow("quotes doubled, delimiters and line breaks inside")
        << "\"a \"\"b\"\"\",\"c,d\"\n\"e\nf\",g\n"
        << "1:a \"b\"|c,d/2:e\nf|g";
    QTest::newRow("empty lines hold no record; last line without its end") << "a,b\n\n\nc,d"
                                                                           << "1:a|b/4:c|d";
    QTest::newRow("spaces around unquoted fields") << " a , b \n"
                                                   << "1:a|b";
}

void TestConvertText::csvRecords()
{
    QFETCH(QString, text);
    QFETCH(QString, records);
    const CsvTable table = ReadCsv(text, GuessCsvDelimiter(text));
    QVERIFY(!table.Error);
    QStringList read;
    for (const CsvRow& row : table.Rows)
        read << QString::number(row.Line) + ':' + row.Fields.join('|');
    QCOMPARE(read.join('/'), records);
}

void TestConvertText::fileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stem");

    QTest::newRow("Polish letters lose their marks") << "Źdźbło łąki"
                                                     << "zdzblo-laki";
    QTest::newRow("what systems refuse runs together") << "a/b\\c:d*e?\"f<g>|h"
                                                       << "a-b-c-d-e-f-g-h";
    QTest::newRow("no dots, no trailing separator") << "..tajne.. plik."
                                                    << "tajne-plik";
    QTest::newRow("nothing left") << "???"
                                  << "";
    QTest::newRow("at most 60 characters") << QString(70, 'a') << QString(60, 'a');
    QTest::newRow("an order prefix goes") << "012-Stolica"
                                          << "stolica";
}

void TestConvertText::fileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, stem);
    QCOMPARE(SafeFileStem(WithoutOrderPrefix(name)), stem);
}

QTEST_MAIN(TestConvertText)
#include "tst_converttext.moc"
