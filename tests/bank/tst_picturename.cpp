#include "bank/PictureName.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace zdawnik;

class TestPictureName : public QObject
{
    Q_OBJECT

private slots:
    void pictureName_data();
    void pictureName();
    void withoutPictureTag_data();
    void withoutPictureTag();
    void extension_data();
    void extension();
    void findPictureFile_data();
    void findPictureFile();
    // QTemporaryDir cannot remove names that are no UTF-8.
    void cleanupTestCase() { std::filesystem::remove_all(m_dir.path().toStdString()); }

private:
    QTemporaryDir m_dir;
};

void TestPictureName::pictureName_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("tagged");
    QTest::addColumn<QString>("name");
    QTest::newRow("whole line") << "[img]pic.jpg[/img]" << true << "pic.jpg";
    QTest::newRow("after some text") << "Zobacz: [img]pic.jpg[/img] i odpowiedz" << true << "pic.jpg";
    QTest::newRow("no closing tag") << "[img]pic.jpg" << true << "";
    QTest::newRow("closing tag first") << "[/img]x[img]pic.jpg" << true << "";
    QTest::newRow("empty name") << "[img][/img]" << true << "";
    QTest::newRow("first tags count") << "[img]a.png[/img][img]b.png[/img]" << true << "a.png";
    QTest::newRow("capitals are text") << "[IMG]pic.jpg[/IMG]" << false << "";
    QTest::newRow("capital closing tag") << "[img]pic.jpg[/IMG]" << true << "";
    QTest::newRow("spaces kept") << "[img] a b.png [/img]" << true << " a b.png ";
    QTest::newRow("directory part") << "[img]sub\\pic.png[/img]" << true << "sub\\pic.png";
}

void TestPictureName::pictureName()
{
    QFETCH(QString, line);
    QFETCH(bool, tagged);
    QFETCH(QString, name);
    QCOMPARE(HasPictureTag(line.toStdString()), tagged);
    QCOMPARE(QString::fromStdString(PictureName(line.toStdString())), name);
}

void TestPictureName::withoutPictureTag_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("rest");
    QTest::newRow("no tag") << "Ala {wybór 1} kota"
                            << "Ala {wybór 1} kota";
    QTest::newRow("tag first") << "[img]a.png[/img]Ala {wybór 1}"
                               << "Ala {wybór 1}";
    QTest::newRow("tag inside") << "Ala [img]a.png[/img]ma {wybór 1}"
                                << "Ala ma {wybór 1}";
    QTest::newRow("unclosed tag") << "Ala {wybór 1} [img]a.png"
                                  << "Ala {wybór 1} ";
    QTest::newRow("closing tag only before") << "x[/img]y[img]z"
                                             << "x[/img]y";
    QTest::newRow("second tag stays") << "[img]a[/img]b[img]c[/img]"
                                      << "b[img]c[/img]";
}

void TestPictureName::withoutPictureTag()
{
    QFETCH(QString, line);
    QFETCH(QString, rest);
    QCOMPARE(QString::fromStdString(WithoutPictureTag(line.toStdString())), rest);
}

void TestPictureName::extension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("known");
    QTest::newRow("jpg in capitals") << "q1.JPG"
                                     << "jpg" << true;
    QTest::newRow("jpeg") << "a.b.JpEg"
                          << "jpeg" << true;
    QTest::newRow("png") << "x.png"
                         << "png" << true;
    QTest::newRow("bmp") << "x.bmp"
                         << "bmp" << true;
    QTest::newRow("ico") << "x.ico"
                         << "ico" << true;
    QTest::newRow("emf") << "x.EMF"
                         << "emf" << true;
    QTest::newRow("wmf") << "x.wmf"
                         << "wmf" << true;
    QTest::newRow("gif") << "x.gif"
                         << "gif" << false;
    QTest::newRow("no dot") << "obrazek"
                            << "" << false;
    QTest::newRow("dot last") << "obrazek."
                              << "" << false;
    QTest::newRow("dot in a directory") << "a.png\\obrazek"
                                        << "png\\obrazek" << false;
}

void TestPictureName::extension()
{
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(bool, known);
    QCOMPARE(QString::fromStdString(PictureExtension(name.toStdString())), extension);
    QCOMPARE(IsPictureExtension(PictureExtension(name.toStdString())), known);
}

void TestPictureName::findPictureFile_data()
{
    QTest::addColumn<QByteArray>("name"); // as the question file holds it
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("found"); // relative to the bank, empty for none
    const int cp = int(TextEncoding::Windows1250), utf8 = int(TextEncoding::Utf8);
    QTest::newRow("exact") << QByteArray("Rys1.png") << cp << "Rys1.png";
    QTest::newRow("other case") << QByteArray("rys1.PNG") << cp << "Rys1.png";
    QTest::newRow("backslash is a separator") << QByteArray("sub\\pic.bmp") << cp << "sub/pic.bmp";
    QTest::newRow("directory in other case") << QByteArray("SUB\\PIC.BMP") << cp << "sub/pic.bmp";
    QTest::newRow("Polish name in Windows-1250") << QByteArray("\xbf\xf3\xb3w.png") << cp << "żółw.png";
    QTest::newRow("Polish name in other case") << QByteArray("\xaf\xd3\xa3W.PNG") << cp << "żółw.png";
    QTest::newRow("Polish name in UTF-8") << QByteArray("ŻÓŁW.png") << utf8 << "żółw.png";
    QTest::newRow("raw bytes on disk")
        << QByteArray("\xb3\xb9ka.jpg") << cp << QString::fromLatin1("\xb3\xb9ka.jpg");
    QTest::newRow("missing") << QByteArray("brak.png") << cp << "";
    QTest::newRow("empty") << QByteArray("") << cp << "";
    QTest::newRow("absolute stays inside") << QByteArray("/etc/passwd") << cp << "";
    QTest::newRow("several in other case: the same one") << QByteArray("DWA.png") << cp << "Dwa.png";
    QTest::newRow("dot parts, other case") << QByteArray(".\\SUB\\.\\PIC.BMP") << cp << "sub/pic.bmp";
    QTest::newRow("down and up again, other case") << QByteArray("SUB\\..\\rys1.png") << cp << "Rys1.png";
    // Longer than any path the system opens, the name names no file, however its parts resolve.
    QTest::newRow("30000 steps up") << QByteArray("../").repeated(30000) + "Rys1.png" << cp << "";
    QTest::newRow("3000 steps in place") << QByteArray("./").repeated(3000) + "rys1.png" << cp << "";
}

void TestPictureName::findPictureFile()
{
    QFETCH(QByteArray, name);
    QFETCH(int, encoding);
    QFETCH(QString, found);
    const std::filesystem::path bank = m_dir.path().toStdString();
    std::filesystem::create_directories(bank / "sub");
    for (const std::string file :
         {"Rys1.png", "sub/pic.bmp", "żółw.png", "Dwa.png", "dwa.png", "\xb3\xb9ka.jpg"})
        std::ofstream(bank / file) << "x";
    const std::string_view bytes(name.constData(), name.size());
    const auto result = FindPictureFile(bank, bytes, TextEncoding(encoding));
    // Asked for the file's facts as well, the look-up finds the same file, and gives the facts the
    // system gives for it where the name was found as it stands.
    std::optional<platform::FileFacts> facts;
    QCOMPARE(FindPictureFile(bank, bytes, TextEncoding(encoding), &facts), result);
    if (found.isEmpty()) {
        QVERIFY(!result);
        QVERIFY(!facts);
        return;
    }
    QVERIFY(result);
    QVERIFY(std::filesystem::equivalent(*result, bank / found.toLatin1().toStdString()) ||
            std::filesystem::equivalent(*result, bank / found.toStdString()));
    QByteArray asWritten = name;
    asWritten.replace('\\', '/');
    const bool exact =
        result->filename() == std::filesystem::path(asWritten.toStdString()).filename() ||
        result->filename() ==
            std::filesystem::path(ToUtf8(asWritten.toStdString(), TextEncoding(encoding))).filename();
    QCOMPARE(bool(facts), exact);
    if (facts) {
        const std::optional<platform::FileFacts> system = platform::RegularFileFacts(*result);
        QVERIFY(system);
        QCOMPARE(facts->size, system->size);
        QCOMPARE(facts->modified, system->modified);
    }
}

QTEST_APPLESS_MAIN(TestPictureName)
#include "tst_picturename.moc"
