#include "base/Errors.h"
#include "base/TextEncoding.h"
#include "base/Utf16Decoder.h"
#include "base/Utf16Sniffer.h"

#include <QtTest>

#include <string>

using namespace zdawnik;

namespace {

QByteArray Bytes(const char* text, int size = -1)
{
    return size < 0 ? QByteArray(text) : QByteArray(text, size);
}

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace

class TestTextEncoding : public QObject
{
    Q_OBJECT

private slots:
    void utf8Sequences_data();
    void utf8Sequences();
    void utf16_data();
    void utf16();
    void brokenUtf16_data();
    void brokenUtf16();
    void unmarkedUtf16_data();
    void unmarkedUtf16();
    void errorKeepsItsWholeMessage();
};

void TestTextEncoding::utf8Sequences_data()
{
    // The edges of UTF-8: what is one character, and what is a byte that starts nothing.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("multiByte");
    QTest::addColumn<int>("characters");
    QTest::newRow("ascii") << Bytes("abc") << true << false << 3;
    QTest::newRow("NUL is a character") << Bytes("a\0b", 3) << true << false << 3;
    QTest::newRow("two bytes, lowest") << Bytes("\xC2\x80") << true << true << 1;
    QTest::newRow("two bytes, overlong") << Bytes("\xC1\xBF") << false << false << 2;
    QTest::newRow("three bytes, lowest") << Bytes("\xE0\xA0\x80") << true << true << 1;
    QTest::newRow("three bytes, overlong") << Bytes("\xE0\x9F\xBF") << false << false << 3;
    QTest::newRow("last before surrogates") << Bytes("\xED\x9F\xBF") << true << true << 1;
    QTest::newRow("surrogate") << Bytes("\xED\xA0\x80") << false << false << 3;
    QTest::newRow("four bytes, lowest") << Bytes("\xF0\x90\x80\x80") << true << true << 1;
    QTest::newRow("four bytes, overlong") << Bytes("\xF0\x8F\xBF\xBF") << false << false << 4;
    QTest::newRow("highest code point") << Bytes("\xF4\x8F\xBF\xBF") << true << true << 1;
    QTest::newRow("past the highest") << Bytes("\xF4\x90\x80\x80") << false << false << 4;
    QTest::newRow("F5 starts nothing") << Bytes("\xF5\x80\x80\x80") << false << false << 4;
    QTest::newRow("lone continuation") << Bytes("a\x80") << false << false << 2;
    QTest::newRow("cut at the end") << Bytes("a\xC5") << false << false << 2;
    QTest::newRow("cut by ascii") << Bytes("\xE2\x82x") << false << false << 3;
    QTest::newRow("polish letters") << Bytes("\xC5\xBC\xC3\xB3\xC5\x82w") << true << true << 4;
}

void TestTextEncoding::utf8Sequences()
{
    // The streaming check, the character count and the conversion hold one set of rules: a text is
    // valid exactly when every character is a whole sequence, and then it converts to itself.
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QFETCH(bool, multiByte);
    QFETCH(int, characters);
    for (int piece = 1; piece <= bytes.size(); ++piece) {
        Utf8Validator validator;
        for (int i = 0; i < bytes.size(); i += piece)
            validator.feed(View(bytes.mid(i, piece)));
        QCOMPARE(validator.valid(), valid);
        QCOMPARE(validator.sawMultiByte() && validator.valid(), multiByte);
    }
    QCOMPARE(int(DecodeUtf8(View(bytes)).size()), characters);
    QCOMPARE(CharacterAt(View(bytes), std::size_t(characters) + 1, TextEncoding::Utf8), std::string());
    QVERIFY(!CharacterAt(View(bytes), std::size_t(characters), TextEncoding::Utf8).empty());
    QCOMPARE(ToUtf8(View(bytes), TextEncoding::Utf8) == std::string(View(bytes)), valid);
}

void TestTextEncoding::utf16_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << "X01\r\nPytanie";
    QTest::newRow("polish letters") << "Zażółć gęślą jaźń ŻÓŁĆ";
    QTest::newRow("NUL and byte 26") << QString::fromUtf8("a\0b\x1a"
                                                          "c",
                                                          5);
    QTest::newRow("past the basic plane") << QString::fromUtf8("\xF0\x9F\x90\xA2 żółw");
    QTest::newRow("empty") << QString();
}

void TestTextEncoding::utf16()
{
    // Both byte orders, fed whole and in pieces of every size up to eight bytes, so that a unit and
    // a surrogate pair are cut at every place.
    QFETCH(QString, text);
    for (const TextEncoding order : {TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        QByteArray bytes;
        for (const QChar unit : text) {
            const char low = char(unit.unicode() & 0xFF), high = char(unit.unicode() >> 8);
            bytes += order == TextEncoding::Utf16Le ? QByteArray{&low, 1} + QByteArray{&high, 1}
                                                    : QByteArray{&high, 1} + QByteArray{&low, 1};
        }
        for (int piece = 1; piece <= 8; ++piece) {
            Utf16Decoder decoder(order);
            std::string utf8;
            for (int i = 0; i < bytes.size(); i += piece)
                decoder.feed(View(bytes.mid(i, piece)), utf8);
            decoder.finish(utf8);
            QCOMPARE(QString::fromStdString(utf8), text);
        }
    }
}

void TestTextEncoding::brokenUtf16_data()
{
    // Little-endian units that are no whole character.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString bad(QChar(0xFFFD));
    QTest::newRow("odd byte at the end") << Bytes("a\0b", 3) << "a" + bad;
    QTest::newRow("first surrogate at the end") << Bytes("a\0\x3d\xd8", 4) << "a" + bad;
    QTest::newRow("first surrogate and an odd byte") << Bytes("\x3d\xd8x", 3) << bad + bad;
    QTest::newRow("first surrogate before a letter") << Bytes("\x3d\xd8"
                                                              "b\0",
                                                              4)
                                                     << bad + "b";
    QTest::newRow("second surrogate alone") << Bytes("\x22\xdc"
                                                     "b\0",
                                                     4)
                                            << bad + "b";
    QTest::newRow("two first surrogates then a pair")
        << Bytes("\x3d\xd8\x3d\xd8\x22\xdc", 6) << bad + QString::fromUtf8("\xF0\x9F\x90\xA2");
}

void TestTextEncoding::brokenUtf16()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    for (int piece = 1; piece <= bytes.size(); ++piece) {
        Utf16Decoder decoder(TextEncoding::Utf16Le);
        std::string utf8;
        for (int i = 0; i < bytes.size(); i += piece)
            decoder.feed(View(bytes.mid(i, piece)), utf8);
        decoder.finish(utf8);
        QCOMPARE(QString::fromStdString(utf8), text);
    }
}

void TestTextEncoding::unmarkedUtf16_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("guess"); // -1 for none
    const auto le = [](const QString& text) {
        return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    };
    const auto be = [&](const QString& text) {
        QByteArray bytes = le(text);
        for (int i = 0; i + 1 < bytes.size(); i += 2)
            std::swap(bytes[i], bytes[i + 1]);
        return bytes;
    };
    const QString question = "X01\r\nCzy żółw ma skorupę?\r\ntak\r\nnie\r\n";
    QTest::newRow("little endian") << le(question) << int(TextEncoding::Utf16Le);
    QTest::newRow("big endian") << be(question) << int(TextEncoding::Utf16Be);
    QTest::newRow("polish words") << le("żółć gęślą jaźń") << int(TextEncoding::Utf16Le);
    QTest::newRow("windows-1250") << Bytes("X01\r\nCzy \xbf\xf3\xb3w ma skorup\xea?") << -1;
    QTest::newRow("utf-8") << Bytes("Czy \xc5\xbc\xc3\xb3\xc5\x82w?") << -1;
    QTest::newRow("zero bytes only") << QByteArray(64, '\0') << -1;
    QTest::newRow("one letter says nothing") << Bytes("X\0", 2) << -1;
    QTest::newRow("text after a long sample")
        << QByteArray(int(Utf16Sniffer::SampleBytes), 'a') + le(question) << -1;
}

void TestTextEncoding::unmarkedUtf16()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, guess);
    for (const int piece : {1, 3, int(bytes.size())}) {
        Utf16Sniffer sniffer;
        for (int i = 0; i < bytes.size(); i += piece)
            sniffer.feed(View(bytes.mid(i, piece)));
        QCOMPARE(sniffer.guess() ? int(*sniffer.guess()) : -1, guess);
    }
}

void TestTextEncoding::errorKeepsItsWholeMessage()
{
    // The message of an error that quotes a NUL byte goes on past it.
    const std::string message = std::string("'Z\0"
                                            "1' is not a valid integer value",
                                            34);
    const EConvertError error(message);
    QCOMPARE(error.message(), message);
    const EConvertError copy = error;
    QCOMPARE(copy.message(), message);
}

QTEST_APPLESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
