// Banks as they come in the wild: huge, half-broken, with odd names and odd pictures, on read-only
// disks, changing under the program's feet. Each gives the ordinary behaviour or a clear message,
// the run goes on, and the program writes nothing anywhere.

#include "drill/StudyPool.h"
#include "widgets/TImage.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QtEndian>

#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include "MainFormFixture.h"

using namespace zdawnik;

namespace {

// Names, sizes and modification times of everything under dir.
QStringList Snapshot(const QString& dir)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries << QString("%1 %2 %3")
                       .arg(info.filePath())
                       .arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

QByteArray RandomBytes(int size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = char(random());
    return bytes;
}

// A PNG whose header claims 100,000 x 100,000 pixels.
QByteArray HugeDeclaredPng()
{
    QByteArray png = PictureBytes({4, 4}, Qt::red, "PNG");
    // Width and height are the first eight bytes of the IHDR data; the chunk's checksum is made
    // right again, so only the size is wrong.
    const quint32 side = qToBigEndian(quint32(100000));
    png.replace(16, 4, reinterpret_cast<const char*>(&side), 4);
    png.replace(20, 4, reinterpret_cast<const char*>(&side), 4);
    const quint32 crc =
        qToBigEndian(quint32(crc32(0, reinterpret_cast<const uchar*>(png.constData() + 12), 17)));
    png.replace(29, 4, reinterpret_cast<const char*>(&crc), 4);
    return png;
}

} // namespace

class TestHostileBanks : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainFormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void hundredThousandQuestions();
    void hugeFileIsSkipped();
    void questionsThatCannotBeRead_data();
    void questionsThatCannotBeRead();
    void badPictures_data();
    void badPictures();
    void oddNames_data();
    void oddNames();
    void readOnlyBank();
    void writesNothing();

private:
    std::unique_ptr<MainFormFixture> m_fixture;
    MainFormFixture& f() { return *m_fixture; }
    // Checks whatever stands on screen and asks for the next question.
    void checkAndGoOn()
    {
        if (f().enabled("btnCheck"))
            f().click("btnCheck");
        QVERIFY(f().enabled("btnDalej"));
        f().click("btnDalej");
    }
};

void TestHostileBanks::hundredThousandQuestions()
{
    std::filesystem::create_directories(f().bank());
    for (int i = 0; i < 100000; ++i)
        std::ofstream(f().bank() / ("p" + std::to_string(i) + ".txt"))
            << "X01\r\nPytanie " << i << "\r\nnie\r\ntak\r\n";
    f().open();
    f().click("btnStart");
    QCOMPARE(f().caption("lblPytanInfo"), QString("100000"));
    QVERIFY(f().caption("lblPytanie").startsWith("Pytanie "));
    for (int i = 0; i < 20; ++i)
        checkAndGoOn();
    QCOMPARE(f().window->Pool()->PendingCount(), 100000);
    QVERIFY(f().messages.boxes.isEmpty());
}

void TestHostileBanks::hugeFileIsSkipped()
{
    // 200 MB in lines of a megabyte: reading stops at the first line past the bound, which the reader
    // reports; the file is never shown, and as the bank's only file it starts no run.
    std::filesystem::create_directories(f().bank());
    {
        std::ofstream huge(f().bank() / "ogromny.txt", std::ios::binary);
        const std::string block = std::string("X1\r\n") + std::string(1024 * 1024 - 4, 'a');
        for (int i = 0; i < 200; ++i)
            huge << block << "\n";
    }
    f().open();
    f().click("btnStart");
    QCOMPARE(f().messages.boxes.size(), 1);
    QVERIFY2(f().messages.boxes[0].text.startsWith("ELineTooLong error raised, with message : "),
             qPrintable(f().messages.boxes[0].text));
    QCOMPARE(f().caption("lblPytanieInfo"), QString("ogromny.txt"));
    QCOMPARE(f().caption("lblIleRazyInfo"), QString("0"));
    QVERIFY(f().visible("pnlStart"));
    std::filesystem::remove(f().bank() / "ogromny.txt");
}

void TestHostileBanks::questionsThatCannotBeRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("a folder named .txt") << "folder"
                                         << "File access denied";
    QTest::newRow("a pipe named .txt") << "pipe"
                                       << "File access denied";
    QTest::newRow("a link to nothing") << "dangling"
                                       << "File not found";
    QTest::newRow("a loop of links") << "loop"
                                     << "Invalid filename";
    QTest::newRow("no permission") << "unreadable"
                                   << "File access denied";
}

void TestHostileBanks::questionsThatCannotBeRead()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    if (kind == "unreadable" && geteuid() == 0)
        QSKIP("running as root: every file can be read");
    const std::filesystem::path bad = f().bank() / "zly.txt";
    std::filesystem::create_directories(f().bank());
    if (kind == "folder")
        std::filesystem::create_directory(bad);
    else if (kind == "pipe")
        QCOMPARE(mkfifo(bad.c_str(), 0644), 0);
    else if (kind == "dangling")
        std::filesystem::create_symlink(f().bank() / "nic.txt", bad);
    else if (kind == "loop") {
        std::filesystem::create_symlink(f().bank() / "petla.link", bad);
        std::filesystem::create_symlink(bad, f().bank() / "petla.link");
    } else {
        f().write("zly.txt", "X1\nQ\nA\n");
        std::filesystem::permissions(bad, std::filesystem::perms::none);
    }
    f().open();
    f().click("btnStart");
    QCOMPARE(f().messages.boxes.size(), 1);
    QCOMPARE(f().messages.boxes[0].title, QString("Zdawnik"));
    QCOMPARE(f().messages.boxes[0].text, message);
    // Reported once, and the only file of the bank: no run starts, and the start panel says why.
    QVERIFY(f().visible("pnlStart"));
    QVERIFY(f().caption("lblZmiany").startsWith("Żadnego z plików tej bazy (1) nie dało się pokazać"));
    f().click("btnDalej");
    QCOMPARE(f().messages.boxes.size(), 1);
}

void TestHostileBanks::badPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // "<dir>" makes a folder, "<loop>" a loop of links
    QTest::newRow("a folder") << "folder.png" << QByteArray("<dir>");
    QTest::newRow("an empty file") << "pusty.jpg" << QByteArray();
    QTest::newRow("a link loop") << "petla.bmp" << QByteArray("<loop>");
    QTest::newRow("declares 100000 x 100000") << "wielki.png" << HugeDeclaredPng();
    for (const char* extension : {"png", "jpg", "jpeg", "bmp", "ico", "emf", "wmf"})
        QTest::newRow(qPrintable(QString("random bytes .%1").arg(extension)))
            << QString("losowy.%1").arg(extension) << RandomBytes(5000, qHash(QByteArray(extension)));
    for (const char* format : {"PNG", "JPG", "BMP"}) {
        const QByteArray whole = PictureBytes({300, 200}, Qt::blue, format);
        QTest::newRow(qPrintable(QString("cut short .%1").arg(format)))
            << QString("uciety.%1").arg(QString(format).toLower()) << whole.left(whole.size() / 2);
    }
}

void TestHostileBanks::badPictures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    std::filesystem::create_directories(f().bank());
    const std::filesystem::path path = f().bank() / name.toStdString();
    if (bytes == "<dir>")
        std::filesystem::create_directory(path);
    else if (bytes == "<loop>") {
        std::filesystem::create_symlink(f().bank() / "druga.bmp", path);
        std::filesystem::create_symlink(path, f().bank() / "druga.bmp");
    } else
        f().write(name.toStdString(), bytes);
    f().write("q.txt", "X01\n[img]" + name.toUtf8() + "[/img]\ntekst\n[img]" + name.toUtf8() + "[/img]\n");
    f().open();
    f().click("btnStart");
    QVERIFY(f().messages.boxes.isEmpty());
    QVERIFY(!f().visible("imgPytanie"));
    QCOMPARE(f().caption("lblPytanie"), "rysunek: " + name);
    QCOMPARE(f().caption("lblOdp2"), QString("rysunek"));
    f().click("pnlOdp2");
    f().click("btnCheck");
    QVERIFY(f().visible("imgOK"));
}

void TestHostileBanks::oddNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("spaces") << QByteArray("pytanie z odstępami .txt") << "pytanie z odstępami .txt";
    QTest::newRow("Polish letters") << QByteArray("żółć gęślą jaźń.TXT") << "żółć gęślą jaźń.TXT";
    QTest::newRow("bytes that are no UTF-8") << QByteArray("b\xb3\xb9"
                                                           "d.txt")
                                             << "b\uFFFD\uFFFDd.txt";
    const QByteArray longName = QByteArray(250, 'd') + ".txt";
    QTest::newRow("near the length limit") << longName << QString::fromLatin1(longName);
}

void TestHostileBanks::oddNames()
{
    // A question file and its picture, both with the odd name.
    QFETCH(QByteArray, name);
    QFETCH(QString, shown);
    const QByteArray picture = name.left(name.size() - 4) + ".png";
    f().write(name.toStdString(), "X1\r\n[img]" + picture + "[/img]\r\nA\r\n");
    f().write(picture.toStdString(), PictureBytes({30, 20}, Qt::green, "PNG"));
    f().open();
    f().click("btnStart");
    QVERIFY(f().messages.boxes.isEmpty());
    QCOMPARE(f().caption("lblPytanieInfo"), shown);
    QVERIFY(f().visible("imgPytanie"));
    QCOMPARE(f().widget<TImage>("imgPytanie")->picture().size(), QSize(30, 20));
    std::filesystem::remove_all(f().bank()); // QTemporaryDir cannot remove names that are no UTF-8
}

void TestHostileBanks::readOnlyBank()
{
    const std::filesystem::path mountPoint = f().bank();
    std::filesystem::create_directories(mountPoint);
    if (QProcess::execute("mount",
                          {"-t", "tmpfs", "-o", "size=4m", "tmpfs", QString::fromStdString(mountPoint)}) != 0)
        QSKIP("no permission to mount a file system here");
    f().write("a.txt", "X1\r\nPytanie\r\nA\r\n");
    f().write("b.txt", "Z11\r\nZdanie {wybór 1}\r\nx;;\r\n");
    const bool readOnly =
        QProcess::execute("mount", {"-o", "remount,ro", QString::fromStdString(mountPoint)}) == 0;
    if (readOnly) {
        f().open();
        f().click("btnStart");
        for (int i = 0; i < 30 && !f().visible("pnlKoniec"); ++i) {
            const Question& question = f().window->CurrentQuestion();
            if (question.isChoice())
                f().click("pnlOdp1");
            else
                f().widget<QComboBox>("ComboOpcja1")->setCurrentIndex(0);
            f().click("btnCheck");
            f().click("btnDalej");
        }
        QVERIFY(f().visible("pnlKoniec"));
        QVERIFY(f().messages.boxes.isEmpty());
        f().window.reset();
    }
    QProcess::execute("umount", {QString::fromStdString(mountPoint)});
    QVERIFY(readOnly);
}

void TestHostileBanks::writesNothing()
{
    f().write("a.txt", "X10\r\nPytanie\r\nA\r\nB\r\n");
    f().write("b.txt", "Z11\r\n[img]rys.png[/img]Zdanie {wybór 1}\r\nx;;\r\n");
    f().write("c.txt", "Y\r\n");
    f().write("rys.png", RandomBytes(100, 1));
    const QString bank = QString::fromStdString(f().bank().string());
    const QString beside = QCoreApplication::applicationDirPath();
    const QStringList bankBefore = Snapshot(bank), besideBefore = Snapshot(beside);
    f().open();
    f().click("btnStart");
    for (int i = 0; i < 60 && !f().visible("pnlKoniec"); ++i)
        checkAndGoOn();
    f().window->close();
    QCOMPARE(Snapshot(bank), bankBefore);
    QCOMPARE(Snapshot(beside), besideBefore);
}

ZDAWNIK_GUI_TEST_MAIN(TestHostileBanks)
#include "tst_hostile.moc"
