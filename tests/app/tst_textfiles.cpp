// Question files of every encoding on screen: UTF-16 behind its byte-order mark in both byte orders,
// with Polish letters and pictures, UTF-16 without its mark, and files whose lines are too long to
// be read whole.

#include "bank/QuestionLineReader.h"
#include "widgets/TImage.h"

#include <QComboBox>

#include "MainFormFixture.h"

using namespace zdawnik;

namespace {

const QColor PictureColour(200, 30, 30);

// A sentence question whose header has a NUL byte where its number of lists stands.
const QByteArray NulHeaderSentence = QByteArray("Z") + '\0' + "1\r\nAla {wybór 1}\r\nkot;;\r\n";

// The text's UTF-16 code units in the given byte order, behind a byte-order mark when marked, as
// Windows' Notepad saves "Unicode" text.
QByteArray Utf16(const QString& text, QSysInfo::Endian order, bool marked = true)
{
    QByteArray bytes;
    for (const QChar unit : (marked ? QString(QChar(0xFEFF)) + text : text)) {
        const char low = char(unit.unicode() & 0xFF), high = char(unit.unicode() >> 8);
        bytes += order == QSysInfo::LittleEndian ? QByteArray(1, low) + high : QByteArray(1, high) + low;
    }
    return bytes;
}

} // namespace

class TestTextFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainFormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void utf16ChoiceQuestion_data();
    void utf16ChoiceQuestion();
    void utf16SentenceQuestion_data();
    void utf16SentenceQuestion();
    void lineTooLong();
    void controlCharacters_data();
    void controlCharacters();
    void unmarkedUtf16();

private:
    std::unique_ptr<MainFormFixture> m_fixture;
    MainFormFixture& f() { return *m_fixture; }
    // The colour on screen at the middle of a widget.
    QColor colourAtMiddleOf(const QString& name)
    {
        QWidget* target = f().widget(name);
        const QImage screen = f().window->grab().toImage();
        return screen.pixelColor(target->mapTo(f().window.get(), target->rect().center()));
    }
};

void TestTextFiles::utf16ChoiceQuestion_data()
{
    QTest::addColumn<QSysInfo::Endian>("order");
    QTest::newRow("little endian") << QSysInfo::LittleEndian;
    QTest::newRow("big endian") << QSysInfo::BigEndian;
}

void TestTextFiles::utf16ChoiceQuestion()
{
    QFETCH(QSysInfo::Endian, order);
    f().write("żółw.png", PictureBytes({60, 40}, PictureColour, "PNG"));
    f().write("ślimak.png", PictureBytes({60, 40}, PictureColour, "PNG"));
    f().start(Utf16("X01\r\n[img]ślimak.png[/img]\r\nŚlimak ma skorupę?\r\n[img]żółw.png[/img]\r\n", order));
    QVERIFY(f().messages.boxes.isEmpty());
    // The question's picture, named in Polish letters, is found and shown.
    QVERIFY(f().visible("imgPytanie"));
    QCOMPARE(colourAtMiddleOf("imgPytanie"), PictureColour);
    QCOMPARE(f().caption("lblOdp1"), QString("Ślimak ma skorupę?"));
    QVERIFY(f().visible("imgOdp2"));
    QCOMPARE(colourAtMiddleOf("imgOdp2"), PictureColour);
    // The header's flags make the second answer the right one.
    f().click("pnlOdp2");
    f().click("btnCheck");
    QVERIFY(f().visible("imgOK"));
}

void TestTextFiles::utf16SentenceQuestion_data()
{
    QTest::addColumn<QSysInfo::Endian>("order");
    QTest::newRow("little endian") << QSysInfo::LittleEndian;
    QTest::newRow("big endian") << QSysInfo::BigEndian;
}

void TestTextFiles::utf16SentenceQuestion()
{
    QFETCH(QSysInfo::Endian, order);
    f().start(Utf16("Z12\r\nŻółw{wybór 1} w cieniu.\r\nje;;śpi;;\r\n", order));
    QVERIFY(f().messages.boxes.isEmpty());
    auto* list = f().widget<QComboBox>("ComboOpcja1");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(1), QString("śpi"));
    list->setCurrentIndex(1);
    f().click("btnGeneruj");
    QCOMPARE(f().caption("lblCoPowstanie"), QString("Żółw śpi w cieniu."));
    f().click("btnCheck");
    QVERIFY(f().visible("imgOK"));
}

void TestTextFiles::lineTooLong()
{
    // A line longer than the reader keeps is not shown cut: the reader says which line it is, over
    // an empty question, and nothing of the question before stays on the screen.
    f().start("X1\r\nPoprzednie\r\nodp\r\n");
    f().click("btnCheck");
    f().write("q.txt", QByteArray("X1\r\nPytanie\r\n") + QByteArray(int(MaxLineBytes) + 1, 'a') + "\r\n");
    f().click("btnDalej");
    QCOMPARE(f().messages.texts(),
             QStringList{"ELineTooLong error raised, with message : Line 3 is longer than "
                         "65536 bytes, the longest line the program reads"});
    QCOMPARE(f().caption("lblPytanie"), QString());
}

void TestTextFiles::controlCharacters_data()
{
    // A file, under the name given, and what the window shows of it: its boxes, and the question.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("question");
    const QStringList none;
    QTest::newRow("NUL in a header")
        << NulHeaderSentence << QByteArray("q.txt")
        << QStringList{"EConvertError error raised, with message : '\\0' is not a valid integer value"}
        << QString();
    QTest::newRow("escape in a header")
        << QByteArray("Z\x1b"
                      "1\r\nAla {wybór 1}\r\nkot;;\r\n")
        << QByteArray("q.txt")
        << QStringList{"EConvertError error raised, with message : '\\x1B' is not a valid integer value"}
        << QString();
    QTest::newRow("NUL in a body") << QByteArray("X1\r\nAla") + '\0' + "ma kota\r\nodp\r\n"
                                   << QByteArray("q.txt") << none << QString("Ala") + QChar(0) + "ma kota";
    QTest::newRow("control characters in a name")
        << NulHeaderSentence << QByteArray("a\x01\tb.txt")
        << QStringList{"EConvertError error raised, with message : '\\0' is not a valid integer value"}
        << QString();
}

void TestTextFiles::controlCharacters()
{
    // A NUL byte or another control character read from a file shows in a message as an escape, and
    // the message goes on to its end, over an empty question; in a question's text, the text after it
    // is shown.
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, name);
    QFETCH(QStringList, boxes);
    QFETCH(QString, question);
    f().start(file, name.toStdString());
    QCOMPARE(f().messages.texts(), boxes);
    QCOMPARE(f().caption("lblPytanie"), question);
}

void TestTextFiles::unmarkedUtf16()
{
    // Without its mark a file is read by the byte rules, whatever it looks like: UTF-16 text is a
    // header with zero bytes in it, which the report shows as such.
    f().start(Utf16("Z1\r\nŻółw {wybór 1}\r\nśpi;;\r\n", QSysInfo::LittleEndian, false));
    QCOMPARE(f().messages.texts(), QStringList{"EConvertError error raised, with message : '\\0' is not a "
                                               "valid integer value"});
}

ZDAWNIK_GUI_TEST_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
