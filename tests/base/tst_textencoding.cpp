#include "base/TextEncoding.h"

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

QTEST_APPLESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
