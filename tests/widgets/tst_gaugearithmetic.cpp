#include "widgets/GaugeArithmetic.h"

#include <QtTest>

#include <climits>
#include <cstdint>
#include <limits>

using namespace zdawnik;

class TestGaugeArithmetic : public QObject
{
    Q_OBJECT

private slots:
    void percent_data();
    void percent();
    void fillLength_data();
    void fillLength();
    void fillLengthOneShortOnlyOnExactMultiples();
    void fillLengthMatchesExtendedPrecision();
};

void TestGaugeArithmetic::percent_data()
{
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("percent");
    QTest::newRow("empty range") << 0 << 0 << 0 << 0;
    QTest::newRow("two of three") << 0 << 3 << 2 << 66;
    QTest::newRow("full") << 0 << 3 << 3 << 100;
    QTest::newRow("one of a thousand") << 0 << 1000 << 1 << 0;
    QTest::newRow("two of a thousand") << 0 << 1000 << 2 << 0;
    QTest::newRow("ten of a thousand") << 0 << 1000 << 10 << 1;
    QTest::newRow("negative range") << -1000 << -1 << -500 << 50;
    // 100 × the difference no longer fits in 32 bits.
    QTest::newRow("product beyond 32 bits") << 0 << INT_MAX << 21474837 << 1;
    QTest::newRow("one short of the top") << 0 << INT_MAX << INT_MAX - 1 << 99;
    QTest::newRow("at the top end") << INT_MAX - 100 << INT_MAX << INT_MAX - 1 << 99;
    QTest::newRow("at the bottom end") << INT_MIN << INT_MIN + 3 << INT_MIN + 2 << 66;
    QTest::newRow("widest unwrapped range") << -1073741824 << 1073741823 << 0 << 50;
    // Wider ranges do not wrap round.
    QTest::newRow("wider range, top") << -1 << INT_MAX << INT_MAX << 100;
    QTest::newRow("wider range, middle") << -1 << INT_MAX << 1073741824 << 50;
    QTest::newRow("widest range, bottom") << INT_MIN << INT_MAX << INT_MIN << 0;
    QTest::newRow("widest range, middle") << INT_MIN << INT_MAX << 0 << 50;
    QTest::newRow("widest range, top") << INT_MIN << INT_MAX << INT_MAX << 100;
}

void TestGaugeArithmetic::percent()
{
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, progress);
    QFETCH(int, percent);
    QCOMPARE(GaugePercent(minValue, maxValue, progress), percent);
}

void TestGaugeArithmetic::fillLength_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("length");
    QTest::addColumn<qint64>("filled");
    // The window's bar, 130 long: exact multiples of 100 come out one short.
    const int shortAt130[][2] = {{10, 12}, {20, 25}, {30, 38}, {40, 51}, {60, 77}, {80, 103}};
    for (const auto& [percent, filled] : shortAt130)
        QTest::addRow("130 at %d", percent) << percent << 130 << qint64(filled);
    const int exactAt130[][2] = {{0, 0}, {1, 1}, {50, 65}, {66, 85}, {70, 91}, {90, 117}, {100, 130}};
    for (const auto& [percent, filled] : exactAt130)
        QTest::addRow("130 at %d", percent) << percent << 130 << qint64(filled);
    for (const int length : {1, 7, 19, 129, 1000, 65536, 99999999, INT_MAX})
        QTest::addRow("%d at 100", length) << 100 << length << qint64(length);
    QTest::newRow("largest product") << 100 << INT_MIN << qint64(INT_MIN);
    QTest::newRow("negative length") << 10 << -130 << qint64(-12);
}

void TestGaugeArithmetic::fillLength()
{
    QFETCH(int, percent);
    QFETCH(int, length);
    QFETCH(qint64, filled);
    QCOMPARE(FillLength(percent, length), filled);
}

// Away from exact multiples of 100 the true quotient is at least 1/100 above an integer, far more
// than the constant's error, so only exact multiples can come out one short.
void TestGaugeArithmetic::fillLengthOneShortOnlyOnExactMultiples()
{
    for (int length = 0; length <= 20000; ++length) {
        for (int percent = 0; percent <= 100; ++percent) {
            const qint64 product = qint64(length) * percent;
            const qint64 filled = FillLength(percent, length);
            if (product % 100 != 0 || percent == 100)
                QCOMPARE(filled, product / 100);
            else if (filled != product / 100)
                QCOMPARE(filled, product / 100 - 1);
        }
    }
}

// Where the compiler's long double is the 80-bit extended format, it computes the rule directly.
void TestGaugeArithmetic::fillLengthMatchesExtendedPrecision()
{
    if (std::numeric_limits<long double>::digits != 64)
        QSKIP("long double is not the 64-bit-mantissa extended format here");
    const auto extended = [](int percent, int length) {
        volatile long double share = static_cast<long double>(percent) * 0.01L;
        volatile long double filled = share * static_cast<long double>(length);
        return static_cast<qint64>(filled);
    };
    QList<int> lengths;
    for (int length = -300; length <= 100000; ++length)
        lengths.append(length);
    for (qint64 length = 100001; length <= INT_MAX; length = length * 1013 / 1000 + 7)
        lengths.append(int(length));
    lengths << INT_MAX << INT_MIN << INT_MIN + 1;
    for (const int length : lengths) {
        for (int percent = -5; percent <= 105; ++percent) {
            if (FillLength(percent, length) != extended(percent, length))
                QFAIL(qPrintable(QStringLiteral("percent %1, length %2: %3 instead of %4")
                                     .arg(percent)
                                     .arg(length)
                                     .arg(FillLength(percent, length))
                                     .arg(extended(percent, length))));
        }
    }
}

QTEST_APPLESS_MAIN(TestGaugeArithmetic)
#include "tst_gaugearithmetic.moc"
