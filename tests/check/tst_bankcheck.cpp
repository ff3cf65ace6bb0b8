#include "check/BankCheck.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace zdawnik;

namespace {

// Question files in the tests are written as UTF-8 source and stored in Windows-1250, as most banks are.
QByteArray Windows1250(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'ó':
            bytes += '\xf3';
            break;
        case u'ą':
            bytes += '\xb9';
            break;
        case u'ł':
            bytes += '\xb3';
            break;
        case u'ż':
            bytes += '\xbf';
            break;
        default:
            bytes += char(c.unicode());
        }
    }
    return bytes;
}

// A whole PNG of one grey pixel.
const QByteArray
    OnePixelPng("\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00"
                "\x01\x08\x00\x00\x00\x00\x3a\x7e\x9b\x55\x00\x00\x00\x0a\x49\x44\x41\x54\x78\x9c\x63\x68\x00"
                "\x00\x00\x82\x00\x81\x77\xcd\x72\xb6\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
                67);

} // namespace

class TestBankCheck : public QObject
{
    Q_OBJECT

private slots:
    void problems_data();
    void problems();
    void jsonFields();
    void jsonOfSentence();
    void unreadableFile();
    void program_data();
    void program();

private:
    QTemporaryDir m_dir;
    std::filesystem::path bank() const { return m_dir.path().toStdString(); }
    void write(const std::filesystem::path& dir, const std::string& name, const QByteArray& bytes)
    {
        std::filesystem::create_directories(dir);
        std::ofstream(dir / name, std::ios::binary).write(bytes.constData(), bytes.size());
    }
};

void TestBankCheck::problems_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("problems"); // a fragment of each expected problem, in order
    QTest::newRow("good choice") << "X01\r\nPytanie\r\nA\r\nB\r\n" << QStringList{};
    QTest::newRow("good sentence") << "Z211\r\nAla {wybór 1} kota {wybór 2}\r\nma;;nie ma;;\r\n;;\r\n"
                                   << QStringList{};
    QTest::newRow("empty file") << "" << QStringList{"no line"};
    QTest::newRow("twenty lines") << QString("X1\n").repeated(20) << QStringList{"20 lines, more than 19"};
    QTest::newRow("thirteen answers")
        << "X1\nQ\n" + QString("a\n").repeated(13)
        << QStringList{"ETooManyAnswers error raised, with message : The question "
                       "has 13 answers"};
    QTest::newRow("no correct answer") << "X00\nQ\na\nb" << QStringList{"no answer is marked correct"};
    QTest::newRow("no answers") << "X1\nQ" << QStringList{"has no answers"};
    QTest::newRow("list count not a digit")
        << "Za1\nT\nx;;"
        << QStringList{"EConvertError error raised, with message : 'a' is "
                       "not a valid integer value"};
    QTest::newRow("key not a digit") << "Z1a\nT {wybór 1}\nx;;"
                                     << QStringList{"the key \"a\" is not a digit"};
    QTest::newRow("key missing") << "Z1\nT {wybór 1}\nx;;" << QStringList{"list 1 has no key"};
    QTest::newRow("key past the options")
        << "Z13\nT {wybór 1}\nx;;y;;" << QStringList{"the key 3 points past its 2 option(s)"};
    QTest::newRow("list line without separator")
        << "Z11\nT {wybór 1}\nxy" << QStringList{"has no \";;\"", "points past its 0"};
    QTest::newRow("list without a line")
        << "Z211\nT {wybór 1} {wybór 2}\nx;;" << QStringList{"list 2 has no line", "points past its 0"};
    QTest::newRow("placeholder missing")
        << "Z211\nAla {wybór 1} kota\nma;;\nx;;" << QStringList{"has no {wybór 2} for list 2"};
    QTest::newRow("empty picture name")
        << "X1\n[img]rys.png\na" << QStringList{"line 2: the picture tag names no file"};
    QTest::newRow("missing picture") << "X1\nQ\n[img]brak.png[/img]"
                                     << QStringList{"line 3: picture \"brak.png\": no such file"};
    QTest::newRow("unknown extension")
        << "X1\n[img]rys.gif[/img]\na"
        << QStringList{"picture \"rys.gif\": the program cannot show pictures of the extension \"gif\""};
    QTest::newRow("picture found in other case") << "X1\n[img]RYS.PNG[/img]\na" << QStringList{};
    QTest::newRow("damaged picture")
        << "X1\nQ\n[img]zly.png[/img]"
        << QStringList{"line 3: picture \"zly.png\": the program cannot show it: Not a PNG file"};
    QTest::newRow("tag in capitals") << "X1\n[IMG]rys.png[/IMG]\na"
                                     << QStringList{"line 2: \"[IMG]\" is no picture tag",
                                                    "line 2: \"[/IMG]\" is no picture tag"};
    QTest::newRow("stop marker") << "X1\nQ[stop]x\na" << QStringList{"line 2 contains \"[stop]\""};
}

void TestBankCheck::problems()
{
    QFETCH(QString, file);
    QFETCH(QStringList, problems);
    write(bank(), "rys.png", OnePixelPng);
    write(bank(), "zly.png", "not really a picture");
    const QByteArray bytes = Windows1250(file);
    const FileReport report =
        CheckQuestionBytes(std::string_view(bytes.constData(), bytes.size()), "q.txt", bank());
    QStringList found;
    for (const std::string& problem : report.Problems)
        found << QString::fromStdString(problem);
    QCOMPARE(found.size(), problems.size());
    for (int i = 0; i < problems.size(); ++i)
        QVERIFY2(found[i].contains(problems[i]), qPrintable(found[i]));
}

void TestBankCheck::jsonFields()
{
    const QByteArray bytes =
        Windows1250("X101\r\n[img]rys.png[/img]\r\nżółw\r\n[img]odp.bmp[/img]\r\n ok \r\n");
    const FileReport report = CheckQuestionBytes(std::string_view(bytes.constData(), bytes.size()), "pyt.txt",
                                                 bank(), [](auto&&...) { return std::nullopt; });
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(ToJson(report))).object();
    QCOMPARE(json.keys().size(), 12);
    QCOMPARE(json["file"].toString(), "pyt.txt");
    QCOMPARE(json["lines"].toInt(), 5);
    QCOMPARE(json["shown"].toBool(), true);
    QCOMPARE(json["encoding"].toString(), "windows-1250");
    QCOMPARE(json["kind"].toString(), "choice");
    QCOMPARE(json["header"].toString(), "X101");
    QCOMPARE(json["body"].toString(), "[img]rys.png[/img]");
    QCOMPARE(json["questionPicture"].toString(), "rys.png");
    const QJsonArray answers = json["answers"].toArray();
    QCOMPARE(answers.size(), 3);
    QCOMPARE(answers[0].toObject()["text"].toString(), "żółw");
    QVERIFY(answers[0].toObject()["picture"].isNull());
    QCOMPARE(answers[1].toObject()["picture"].toString(), "odp.bmp");
    QCOMPARE(answers[2].toObject()["text"].toString(), " ok ");
    QCOMPARE(answers[2].toObject()["key"].toString(), "1");
    QCOMPARE(json["lists"].toArray().size(), 0);
    QVERIFY(json["error"].isNull());
    QCOMPARE(json["problems"].toArray().size(), 0);
}

void TestBankCheck::jsonOfSentence()
{
    const QByteArray bytes = QString("\xEF\xBB\xBFZ21\nAla {wybór 1}\nma;;nie ma;;reszta\n").toUtf8();
    const FileReport report =
        CheckQuestionBytes(std::string_view(bytes.constData(), bytes.size()), "z.txt", bank());
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(ToJson(report))).object();
    QCOMPARE(json["encoding"].toString(), "utf-8");
    QCOMPARE(json["kind"].toString(), "sentence");
    QVERIFY(json["questionPicture"].isNull());
    QCOMPARE(json["answers"].toArray().size(), 0);
    const QJsonArray lists = json["lists"].toArray();
    QCOMPARE(lists.size(), 2);
    QCOMPARE(lists[0].toObject()["options"].toArray().size(), 2);
    QCOMPARE(lists[0].toObject()["options"].toArray()[1].toString(), "nie ma");
    QCOMPARE(lists[0].toObject()["rest"].toString(), "reszta");
    QCOMPARE(lists[1].toObject()["key"].toString(), "");
    QCOMPARE(json["problems"].toArray().size(), 3); // list 2: no line, no key, no placeholder

    const FileReport failing = CheckQuestionBytes("Z\nT", "e.txt", bank());
    const QJsonObject error =
        QJsonDocument::fromJson(QByteArray::fromStdString(ToJson(failing))).object()["error"].toObject();
    QCOMPARE(error["type"].toString(), "EConvertError");
    QCOMPARE(error["message"].toString(), "'' is not a valid integer value");
}

void TestBankCheck::unreadableFile()
{
    std::filesystem::create_directories(bank() / "katalog.txt");
    const FileReport report = CheckQuestionFile(bank(), "katalog.txt");
    QVERIFY(!report.Shown);
    QCOMPARE(report.ReaderError->Type, std::string("EInOutError"));
    QCOMPARE(report.Problems.size(), size_t(1));
}

void TestBankCheck::program_data()
{
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("outputLines");
    QTest::newRow("clean bank") << "czysta" << QStringList{} << 0 << 3;
    QTest::newRow("clean bank as JSON") << "czysta" << QStringList{"--json"} << 0 << 2;
    QTest::newRow("faulty bank") << "bledna" << QStringList{} << 1 << 5;
    QTest::newRow("faulty bank as JSON") << "bledna" << QStringList{"--json"} << 1 << 2;
    QTest::newRow("missing directory") << "brak" << QStringList{} << 2 << 0;
}

void TestBankCheck::program()
{
    QFETCH(QString, bank);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(int, outputLines);
    const std::filesystem::path root = m_dir.path().toStdString();
    write(root / "czysta", "a.txt", "X1\r\nQ\r\nA\r\n");
    write(root / "czysta", "b.TXT", "Z0\r\nTekst\r\n");
    write(root / "czysta", "notatki.doc", "");
    write(root / "bledna", "a.txt", "X0\r\nQ\r\nA\r\n");
    write(root / "bledna", "b.txt", "");
    QProcess check;
    check.start(ZDAWNIK_CHECK_PROGRAM,
                arguments << QString::fromStdString((root / bank.toStdString()).string()));
    QVERIFY(check.waitForFinished());
    QCOMPARE(check.exitCode(), status);
    const QList<QByteArray> lines = check.readAllStandardOutput().split('\n');
    QCOMPARE(lines.size() - 1, outputLines);
    if (arguments.contains("--json")) {
        for (int i = 0; i < outputLines; ++i)
            QVERIFY(QJsonDocument::fromJson(lines[i]).isObject());
    }
}

QTEST_APPLESS_MAIN(TestBankCheck)
#include "tst_bankcheck.moc"
