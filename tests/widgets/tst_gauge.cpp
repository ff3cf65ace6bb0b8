#include "widgets/EInvalidOperation.h"
#include "widgets/TColor.h"
#include "widgets/TGauge.h"

#include <QPainter>
#include <QtTest>

#include <climits>
#include <cmath>
#include <functional>
#include <numbers>

using namespace zdawnik;

namespace {

constexpr QRgb Black = 0xFF000000u;
// The colours of the main window's gauges.
const QRgb WindowBlue = TColor(0x00985007).toQColor().rgb();
const QRgb Lime = clLime.toQColor().rgb();
// Distinct colours for the dials.
constexpr QRgb Around = 0xFF008000u;
constexpr QRgb Back = 0xFFFFFFFFu;
constexpr QRgb Fore = 0xFFFF0000u;

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

QImage Picture(TGauge& gauge)
{
    return gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString Hex(QRgb rgb)
{
    return QString::number(rgb & 0xFFFFFFu, 16).rightJustified(6, '0');
}

// Empty when every pixel has the colour expected of it; otherwise names the first that has not.
QString Mismatch(const QImage& image, const std::function<QRgb(int x, int y)>& expected)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb want = expected(x, y) | Black;
            const QRgb got = image.pixel(x, y) | Black;
            if (want != got)
                return QStringLiteral("pixel (%1, %2) is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(Hex(got), Hex(want));
        }
    }
    return {};
}

bool OnFrame(const QImage& image, int x, int y)
{
    return x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
}

// A pie or needle dial without text, in colours told apart easily.
QImage DialPicture(TGaugeKind kind, QSize size, int progress)
{
    TGauge gauge;
    gauge.resize(size);
    gauge.setKind(kind);
    gauge.setShowText(false);
    gauge.setColor(QColor(Around));
    gauge.setForeColor(QColor(Fore));
    gauge.setBackColor(QColor(Back));
    gauge.setProgress(progress);
    return Picture(gauge);
}

// Applies steps such as "Max 3" or "Progress 2" in order.
void Apply(TGauge& gauge, const QStringList& steps)
{
    for (const QString& step : steps) {
        const QStringList parts = step.split(' ');
        const int value = parts.at(1).toInt();
        if (parts.at(0) == "Min")
            gauge.setMinValue(value);
        else if (parts.at(0) == "Max")
            gauge.setMaxValue(value);
        else
            gauge.setProgress(value);
    }
}

// A gauge inside a shown window: the only way its setters get to draw.
struct ShownGauge
{
    QWidget window;
    TGauge* gauge = new TGauge(&window);

    ShownGauge()
    {
        window.resize(200, 150);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the test window was never shown");
        QCoreApplication::processEvents();
    }
};

} // namespace

class TestGauge : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void rangeErrors_data();
    void rangeErrors();
    void rangeChanges_data();
    void rangeChanges();
    void loadingSkipsRangeChecks();
    void repaintsOnlyOnVisibleChange_data();
    void repaintsOnlyOnVisibleChange();
    void notDrawnOffScreen_data();
    void notDrawnOffScreen();
    void bars_data();
    void bars();
    void percentTextInverts_data();
    void percentTextInverts();
    void pie_data();
    void pie();
    void needle_data();
    void needle();
};

void TestGauge::defaults()
{
    TGauge gauge;
    QCOMPARE(gauge.size(), QSize(100, 100));
    QCOMPARE(gauge.property("MinValue").toInt(), 0);
    QCOMPARE(gauge.property("MaxValue").toInt(), 100);
    QCOMPARE(gauge.property("Progress").toInt(), 0);
    QCOMPARE(gauge.property("Percent").toInt(), 0);
    QCOMPARE(gauge.property("Kind").value<TGaugeKind>(), gkHorizontalBar);
    QCOMPARE(gauge.property("ShowText").toBool(), true);
    QCOMPARE(gauge.property("BorderStyle").value<TBorderStyle>(), bsSingle);
    QCOMPARE(gauge.property("ForeColor").value<QColor>(), QColor(Qt::black));
    QCOMPARE(gauge.property("BackColor").value<QColor>(), QColor(Qt::white));
    QVERIFY(!gauge.isLoading());
}

void TestGauge::rangeErrors_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("setter");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("min above max") << QStringList{"Progress 40"} << "Min" << 101
                                   << "Value must be between -2147483647 and 99";
    QTest::newRow("max below min") << QStringList{"Min 10", "Progress 40"} << "Max" << 5
                                   << "Value must be between 11 and 2147483647";
    QTest::newRow("max far below min")
        << QStringList{"Min -5"} << "Max" << INT_MIN << "Value must be between -4 and 2147483647";
    // The bound one below the lowest maximum, or above the highest minimum, wraps around.
    QTest::newRow("lowest max") << QStringList{"Min -2147483648", "Max -2147483648"} << "Min" << 0
                                << "Value must be between -2147483647 and 2147483647";
    QTest::newRow("highest min") << QStringList{"Max 2147483647", "Min 2147483647"} << "Max" << 0
                                 << "Value must be between -2147483648 and 2147483647";
}

void TestGauge::rangeErrors()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, setter);
    QFETCH(int, value);
    QFETCH(QString, message);
    TGauge gauge;
    Apply(gauge, setup);
    const int minBefore = gauge.MinValue();
    const int maxBefore = gauge.MaxValue();
    const int progressBefore = gauge.Progress();
    try {
        Apply(gauge, {setter + ' ' + QString::number(value)});
        QFAIL("the range was accepted");
    } catch (const EInvalidOperation& error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
    QCOMPARE(gauge.MinValue(), minBefore);
    QCOMPARE(gauge.MaxValue(), maxBefore);
    QCOMPARE(gauge.Progress(), progressBefore);
}

void TestGauge::rangeChanges_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("percent");
    QTest::newRow("empty range holds progress at 0")
        << QStringList{"Max 0", "Progress 1"} << 0 << 0 << 0 << 0;
    QTest::newRow("max raised first")
        << QStringList{"Max 2", "Progress 2", "Max 3", "Progress 3"} << 0 << 3 << 3 << 100;
    QTest::newRow("progress raised first")
        << QStringList{"Max 2", "Progress 2", "Progress 3", "Max 3"} << 0 << 3 << 2 << 66;
    QTest::newRow("progress clamped down") << QStringList{"Progress 150"} << 0 << 100 << 100 << 100;
    QTest::newRow("progress clamped up") << QStringList{"Min 10", "Progress -7"} << 10 << 100 << 10 << 0;
    QTest::newRow("max pulls progress down") << QStringList{"Progress 80", "Max 50"} << 0 << 50 << 50 << 100;
    QTest::newRow("min pulls progress up") << QStringList{"Progress 20", "Min 30"} << 30 << 100 << 30 << 0;
    QTest::newRow("min up to max") << QStringList{"Min 100"} << 100 << 100 << 100 << 0;
    QTest::newRow("max down to min") << QStringList{"Progress 5", "Max 0"} << 0 << 0 << 0 << 0;
    QTest::newRow("near the top end")
        << QStringList{"Max 2147483647", "Min 2147483547", "Progress 2147483646"} << 2147483547 << INT_MAX
        << 2147483646 << 99;
}

void TestGauge::rangeChanges()
{
    QFETCH(QStringList, steps);
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, progress);
    QFETCH(int, percent);
    TGauge gauge;
    Apply(gauge, steps);
    QCOMPARE(gauge.MinValue(), minValue);
    QCOMPARE(gauge.MaxValue(), maxValue);
    QCOMPARE(gauge.Progress(), progress);
    QCOMPARE(gauge.Percent(), percent);
}

void TestGauge::loadingSkipsRangeChecks()
{
    TGauge gauge;
    gauge.beginLoading();
    gauge.beginLoading();
    // Stored values arrive in any order: a minimum above the present maximum is taken.
    gauge.setMinValue(200);
    QCOMPARE(gauge.Progress(), 200);
    gauge.setMaxValue(150);
    QCOMPARE(gauge.MaxValue(), 150);
    QCOMPARE(gauge.Progress(), 150);
    gauge.endLoading();
    QVERIFY(gauge.isLoading());
    gauge.setMaxValue(300);
    // Clamping of the progress still applies.
    gauge.setProgress(500);
    QCOMPARE(gauge.Progress(), 300);
    gauge.endLoading();
    QVERIFY(!gauge.isLoading());
    QVERIFY_THROWS_EXCEPTION(EInvalidOperation, gauge.setMaxValue(100));
    QVERIFY_THROWS_EXCEPTION(EInvalidOperation, gauge.setMinValue(301));
    QCOMPARE(gauge.MinValue(), 200);
    QCOMPARE(gauge.MaxValue(), 300);
}

void TestGauge::repaintsOnlyOnVisibleChange_data()
{
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("startProgress");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("paints");
    QTest::newRow("progress, percent 0 to 1") << 100 << 0 << "Progress" << QVariant(1) << 1;
    QTest::newRow("progress, 1 to 2 of 1000") << 1000 << 1 << "Progress" << QVariant(2) << 0;
    QTest::newRow("progress, 0 to 1 of 1000") << 1000 << 0 << "Progress" << QVariant(1) << 0;
    QTest::newRow("progress, 2 to 10 of 1000") << 1000 << 2 << "Progress" << QVariant(10) << 1;
    QTest::newRow("progress, same value") << 100 << 40 << "Progress" << QVariant(40) << 0;
    QTest::newRow("progress, clamped to same") << 100 << 100 << "Progress" << QVariant(400) << 0;
    QTest::newRow("min changed") << 100 << 50 << "MinValue" << QVariant(5) << 1;
    QTest::newRow("min same") << 100 << 50 << "MinValue" << QVariant(0) << 0;
    QTest::newRow("max changed") << 100 << 50 << "MaxValue" << QVariant(1000) << 1;
    QTest::newRow("max same") << 100 << 50 << "MaxValue" << QVariant(100) << 0;
    QTest::newRow("kind changed") << 100 << 50 << "Kind" << QVariant::fromValue(gkPie) << 1;
    QTest::newRow("kind same") << 100 << 50 << "Kind" << QVariant::fromValue(gkHorizontalBar) << 0;
    QTest::newRow("text changed") << 100 << 50 << "ShowText" << QVariant(false) << 1;
    QTest::newRow("text same") << 100 << 50 << "ShowText" << QVariant(true) << 0;
    QTest::newRow("border changed") << 100 << 50 << "BorderStyle" << QVariant::fromValue(bsNone) << 1;
    QTest::newRow("border same") << 100 << 50 << "BorderStyle" << QVariant::fromValue(bsSingle) << 0;
    QTest::newRow("fore changed") << 100 << 50 << "ForeColor" << QVariant(QColor(Qt::red)) << 1;
    QTest::newRow("fore same") << 100 << 50 << "ForeColor" << QVariant(QColor(0, 0, 0)) << 0;
    QTest::newRow("back changed") << 100 << 50 << "BackColor" << QVariant(QColor(Qt::blue)) << 1;
    QTest::newRow("back same") << 100 << 50 << "BackColor" << QVariant(QColor(255, 255, 255)) << 0;
}

void TestGauge::repaintsOnlyOnVisibleChange()
{
    QFETCH(int, maxValue);
    QFETCH(int, startProgress);
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(int, paints);
    ShownGauge shown;
    shown.gauge->setMaxValue(maxValue);
    shown.gauge->setProgress(startProgress);
    QCoreApplication::processEvents();
    PaintCounter counter(shown.gauge);
    QVERIFY(shown.gauge->setProperty(property.toLatin1(), value));
    // Drawn before the setter returned, and nothing left for later.
    QCOMPARE(counter.count, paints);
    QCoreApplication::processEvents();
    QCOMPARE(counter.count, paints);
}

void TestGauge::notDrawnOffScreen_data()
{
    QTest::addColumn<bool>("windowShown");
    QTest::newRow("hidden gauge") << true;
    QTest::newRow("window never shown") << false;
}

void TestGauge::notDrawnOffScreen()
{
    QFETCH(bool, windowShown);
    QWidget window;
    auto* gauge = new TGauge(&window);
    if (windowShown) {
        gauge->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }
    PaintCounter counter(gauge);
    gauge->setMaxValue(10);
    gauge->setProgress(5);
    gauge->setKind(gkPie);
    gauge->setForeColor(Qt::red);
    gauge->setMinValue(1);
    QCoreApplication::processEvents();
    QCOMPARE(counter.count, 0);
}

// Inside a black one-pixel frame when bordered: the background, and the bar in its rectangle.
void TestGauge::bars_data()
{
    QTest::addColumn<TGaugeKind>("kind");
    QTest::addColumn<bool>("border");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("progress");
    QTest::addColumn<QRect>("lime"); // where the bar lies, in pixels

    // The window's gauges: 131 × 20, the bar from x = 1 to the fill length of 130 less one.
    const QSize window(131, 20);
    QTest::newRow("window gauge full")
        << gkHorizontalBar << true << window << 100 << 100 << QRect(1, 1, 129, 18);
    QTest::newRow("window gauge two of three")
        << gkHorizontalBar << true << window << 3 << 2 << QRect(1, 1, 84, 18);
    QTest::newRow("window gauge empty") << gkHorizontalBar << true << window << 100 << 0 << QRect();
    QTest::newRow("window gauge at 1") << gkHorizontalBar << true << window << 100 << 1 << QRect();
    QTest::newRow("window gauge, empty range") << gkHorizontalBar << true << window << 0 << 0 << QRect();
    // Exact multiples of 100 fill one pixel less than s × p / 100.
    const int fills[][2] = {{10, 12}, {20, 25}, {30, 38}, {40, 51}, {50, 65}, {60, 77}, {80, 103}};
    for (const auto& [percent, filled] : fills)
        QTest::addRow("window gauge at %d", percent)
            << gkHorizontalBar << true << window << 100 << percent << QRect(1, 1, filled - 1, 18);

    // Without a border the bar's length is one more than the width, so 99 per cent still ends a
    // pixel short and 100 fills it all.
    QTest::newRow("horizontal, no border, 50")
        << gkHorizontalBar << false << QSize(100, 10) << 100 << 50 << QRect(0, 0, 50, 10);
    QTest::newRow("horizontal, no border, 100")
        << gkHorizontalBar << false << QSize(100, 10) << 100 << 100 << QRect(0, 0, 100, 10);

    // A vertical bar grows upward from the bottom and is cut at one below its full height.
    const QSize tall(20, 50);
    QTest::newRow("vertical, border, 100")
        << gkVerticalBar << true << tall << 100 << 100 << QRect(1, 1, 18, 48);
    QTest::newRow("vertical, border, 50")
        << gkVerticalBar << true << tall << 100 << 50 << QRect(1, 25, 18, 24);
    QTest::newRow("vertical, border, 0") << gkVerticalBar << true << tall << 100 << 0 << QRect();
    QTest::newRow("vertical, no border, 100")
        << gkVerticalBar << false << tall << 100 << 100 << QRect(0, 1, 20, 49);
    // The text kind without its text is the background alone.
    QTest::newRow("text kind, border") << gkText << true << QSize(40, 30) << 100 << 70 << QRect();
    QTest::newRow("text kind, no border") << gkText << false << QSize(40, 30) << 100 << 70 << QRect();
    QTest::newRow("vertical, no border, 50")
        << gkVerticalBar << false << tall << 100 << 50 << QRect(0, 26, 20, 24);
}

void TestGauge::bars()
{
    QFETCH(TGaugeKind, kind);
    QFETCH(bool, border);
    QFETCH(QSize, size);
    QFETCH(int, maxValue);
    QFETCH(int, progress);
    QFETCH(QRect, lime);
    TGauge gauge;
    gauge.resize(size);
    gauge.setKind(kind);
    gauge.setBorderStyle(border ? bsSingle : bsNone);
    gauge.setBackColor(TColor(0x00985007));
    gauge.setForeColor(clLime);
    gauge.setShowText(false);
    gauge.setMaxValue(maxValue);
    gauge.setProgress(progress);
    const QImage image = Picture(gauge);
    QCOMPARE(image.size(), size);
    const QString mismatch = Mismatch(image, [&](int x, int y) {
        if (border && OnFrame(image, x, y))
            return Black;
        return lime.contains(x, y) ? Lime : WindowBlue;
    });
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestGauge::percentTextInverts_data()
{
    QTest::addColumn<TGaugeKind>("kind");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("fontPixels");
    QTest::addColumn<int>("progress");
    QTest::addColumn<QString>("text");
    QTest::newRow("42 over the bar's edge") << gkHorizontalBar << QSize(131, 30) << 14 << 42 << "42%";
    QTest::newRow("100 on the text kind") << gkText << QSize(90, 40) << 20 << 100 << "100%";
    // Taller than the paint rectangle: cut at it, the frame stays black.
    QTest::newRow("clipped to the frame") << gkHorizontalBar << QSize(60, 12) << 16 << 7 << "7%";
}

// The percentage is drawn white and combined by exclusive or: the colours beneath the digits are
// inverted, nothing else changes, and the text lies centred as measured in the gauge's font.
void TestGauge::percentTextInverts()
{
    QFETCH(TGaugeKind, kind);
    QFETCH(QSize, size);
    QFETCH(int, fontPixels);
    QFETCH(int, progress);
    QFETCH(QString, text);
    TGauge gauge;
    gauge.resize(size);
    gauge.setKind(kind);
    gauge.setBackColor(TColor(0x00985007));
    gauge.setForeColor(clLime);
    QFont font = gauge.font();
    font.setPixelSize(fontPixels);
    gauge.setFont(font);
    gauge.setProgress(progress);
    const QImage withText = Picture(gauge);
    gauge.setShowText(false);
    const QImage plain = Picture(gauge);

    // The text as the gauge must place it: at ((W − width) div 2, (H − height) div 2) of the paint
    // rectangle's size, not offset by its corner, cut at the rectangle.
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    QImage expected(size, QImage::Format_RGB32);
    expected.fill(Qt::black);
    {
        QPainter painter(&expected);
        painter.setClipRect(QRect(1, 1, size.width() - 2, size.height() - 2));
        painter.setFont(font);
        painter.setPen(Qt::white);
        const int x = (size.width() - 1 - metrics.horizontalAdvance(text)) / 2;
        const int y = (size.height() - 1 - metrics.height()) / 2;
        painter.drawText(x, y + metrics.ascent(), text);
    }

    int inverted = 0;
    QSet<QRgb> beneath;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb under = plain.pixel(x, y) | Black;
            const QRgb shown = withText.pixel(x, y) | Black;
            const bool inText = (expected.pixel(x, y) & 0xFFFFFFu) != 0;
            const QRgb want = inText ? (under ^ 0xFFFFFFu) : under;
            if (shown != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(Hex(shown), Hex(want))));
            if (inText) {
                ++inverted;
                beneath.insert(under);
            }
        }
    }
    QVERIFY(inverted > 10);
    if (kind == gkHorizontalBar && progress == 42) {
        QVERIFY(beneath.contains(Lime));
        QVERIFY(beneath.contains(WindowBlue));
    }
}

void TestGauge::pie_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<QList<bool>>("filled"); // at 30, 120, 210 and 300 degrees clockwise from the top
    QTest::newRow("0") << 0 << QList<bool>{false, false, false, false};
    QTest::newRow("10") << 10 << QList<bool>{true, false, false, false};
    QTest::newRow("25, upper right quarter") << 25 << QList<bool>{true, false, false, false};
    QTest::newRow("40") << 40 << QList<bool>{true, true, false, false};
    QTest::newRow("50, right half") << 50 << QList<bool>{true, true, false, false};
    QTest::newRow("62") << 62 << QList<bool>{true, true, true, false};
    QTest::newRow("90") << 90 << QList<bool>{true, true, true, true};
    QTest::newRow("100, all") << 100 << QList<bool>{true, true, true, true};
}

// The wedge starts at the top and grows clockwise inside the ellipse that fills the paint rectangle.
void TestGauge::pie()
{
    QFETCH(int, progress);
    QFETCH(QList<bool>, filled);
    const QImage image = DialPicture(gkPie, QSize(101, 101), progress);

    const QPoint centre(50, 50);
    const int angles[] = {30, 120, 210, 300};
    for (int i = 0; i < 4; ++i) {
        const double radians = angles[i] * std::numbers::pi / 180;
        const QPoint at = centre + QPoint(qRound(30 * std::sin(radians)), -qRound(30 * std::cos(radians)));
        QCOMPARE(Hex(image.pixel(at)), Hex(filled.at(i) ? Fore : Back));
    }
    // Around the ellipse the gauge's colour, inside the frame; the outline touches the paint rectangle.
    QCOMPARE(Hex(image.pixel(3, 3)), Hex(Around));
    QCOMPARE(Hex(image.pixel(97, 97)), Hex(Around));
    QCOMPARE(Hex(image.pixel(0, 50)), Hex(Black));
    QCOMPARE(Hex(image.pixel(1, 50)), Hex(Fore));
    QCOMPARE(Hex(image.pixel(50, 1)), Hex(Fore));
    QCOMPARE(Hex(image.pixel(99, 50)), Hex(Fore));
    QCOMPARE(Hex(image.pixel(50, 99)), Hex(Fore));
}

void TestGauge::needle_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<QPoint>("onNeedle");
    QTest::addColumn<QPoint>("offNeedle");
    QTest::newRow("0") << 0 << QPoint() << QPoint(50, 20);
    QTest::newRow("25, up left") << 25 << QPoint(32, 31) << QPoint(50, 20);
    QTest::newRow("50, straight up") << 50 << QPoint(50, 20) << QPoint(30, 30);
    QTest::newRow("75, up right") << 75 << QPoint(68, 31) << QPoint(50, 20);
    QTest::newRow("100, right") << 100 << QPoint(80, 49) << QPoint(50, 20);
}

// The dial is the upper half of an ellipse centred on the bottom edge, over a base line along the
// bottom row; the needle turns from left through up to right.
void TestGauge::needle()
{
    QFETCH(int, progress);
    QFETCH(QPoint, onNeedle);
    QFETCH(QPoint, offNeedle);
    const QImage image = DialPicture(gkNeedle, QSize(101, 51), progress);

    if (!onNeedle.isNull()) {
        // Which of the neighbouring pixels a slanted line covers is the rasteriser's choice.
        bool found = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                found = found || (image.pixel(onNeedle + QPoint(dx, dy)) | Black) == Fore;
        QVERIFY2(found, "no needle there");
    }
    QCOMPARE(Hex(image.pixel(offNeedle)), Hex(Back));
    for (int x = 1; x <= 100; ++x)
        QCOMPARE(Hex(image.pixel(x, 50)), Hex(Fore));
    QCOMPARE(Hex(image.pixel(0, 50)), Hex(Black));
    QCOMPARE(Hex(image.pixel(50, 0)), Hex(progress == 50 ? Fore : Black));
    QCOMPARE(Hex(image.pixel(3, 3)), Hex(Around));
    QCOMPARE(Hex(image.pixel(97, 3)), Hex(Around));
    QCOMPARE(Hex(image.pixel(50, 1)), Hex(Fore));
}

QTEST_MAIN(TestGauge)
#include "tst_gauge.moc"
