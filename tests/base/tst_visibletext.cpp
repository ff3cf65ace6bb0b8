#include "base/VisibleText.h"

#include <QtTest>

#include <string>

using namespace zdawnik;

// What a terminal or a message box shows of a text: every byte accounted for, nothing that moves the
// cursor, rings, recolours or turns the text around.
class TestVisibleText : public QObject
{
    Q_OBJECT

private slots:
    void visible_data();
    void visible();
};

void TestVisibleText::visible_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("plain") << QByteArray("Tom && Jerry") << QByteArray("Tom && Jerry");
    QTest::newRow("Polish letters kept")
        << QByteArray("\xC5\xBC\xC3\xB3\xC5\x82w") << QByteArray("\xC5\xBC\xC3\xB3\xC5\x82w");
    QTest::newRow("NUL does not end the text") << QByteArray("Z\0"
                                                             "1 more",
                                                             8)
                                               << QByteArray("Z\\01 more");
    QTest::newRow("line ends and tab") << QByteArray("a\r\nb\tc") << QByteArray("a\\r\\nb\\tc");
    QTest::newRow("terminal escape") << QByteArray("\x1B[2Jred") << QByteArray("\\x1B[2Jred");
    QTest::newRow("bell and delete") << QByteArray("\x07\x7F") << QByteArray("\\x07\\x7F");
    QTest::newRow("C1 control") << QByteArray("a\xC2\x9B"
                                              "b")
                                << QByteArray("a\\u009Bb");
    QTest::newRow("right-to-left override")
        << QByteArray("gpj.\xE2\x80\xAEtxt") << QByteArray("gpj.\\u202Etxt");
    QTest::newRow("bytes that are no UTF-8") << QByteArray("\xFF"
                                                           "a\xC5")
                                             << QByteArray("\\xFFa\\xC5");
    QTest::newRow("Windows-1250 letter") << QByteArray("\xBF\xF3\xB3w") << QByteArray("\\xBF\\xF3\\xB3w");
    QTest::newRow("backslash stays") << QByteArray("C:\\rys.png") << QByteArray("C:\\rys.png");
}

void TestVisibleText::visible()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, shown);
    const std::string visible = VisibleText(std::string_view(text.constData(), std::size_t(text.size())));
    QCOMPARE(QByteArray::fromStdString(visible), shown);
}

QTEST_GUILESS_MAIN(TestVisibleText)
#include "tst_visibletext.moc"
