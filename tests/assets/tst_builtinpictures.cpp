// The built-in pictures as the window gets them from the accessors: sizes, the colours the window
// relies on when it draws them, and the hand cursor's hot spot.

#include "assets/BuiltInPictures.h"

#include <QBitmap>
#include <QFile>
#include <QSet>
#include <QtTest>

#include <cstdlib>

using namespace zdawnik::assets;

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb FaceGround = 0xFF075098; // the window's colour, RGB 7, 80, 152

QImage FaceImage(Picture picture)
{
    switch (picture) {
    case Picture::GoodFace:
        return GoodFace();
    case Picture::PartialFace:
        return PartialFace();
    default:
        return WrongFace();
    }
}

// True when c lies on the straight blend from `from` to `to`, within rounding.
bool IsBlend(QRgb c, QRgb from, QRgb to)
{
    double t = 0;
    double weight = 0;
    const int fromChannels[3] = {qRed(from), qGreen(from), qBlue(from)};
    const int toChannels[3] = {qRed(to), qGreen(to), qBlue(to)};
    const int channels[3] = {qRed(c), qGreen(c), qBlue(c)};
    for (int i = 0; i < 3; ++i) {
        const int span = toChannels[i] - fromChannels[i];
        t += double(channels[i] - fromChannels[i]) * span;
        weight += double(span) * span;
    }
    t = weight > 0 ? t / weight : 0;
    for (int i = 0; i < 3; ++i) {
        const double expected = fromChannels[i] + t * (toChannels[i] - fromChannels[i]);
        if (std::abs(channels[i] - expected) > 1.5)
            return false;
    }
    return t >= -0.01 && t <= 1.01;
}

} // namespace

class TestBuiltInPictures : public QObject
{
    Q_OBJECT

private slots:
    void resourcesComeWithTheLibrary();
    void sizes_data();
    void sizes();
    void tickColourKey_data();
    void tickColourKey();
    void faces_data();
    void faces();
    void endPhotograph_data();
    void endPhotograph();
    void applicationIcon();
    void handCursor();
};

void TestBuiltInPictures::resourcesComeWithTheLibrary()
{
    // This program only links the library: the pictures must be there without any set-up.
    for (const Picture picture : {Picture::Tick, Picture::GoodFace, Picture::PartialFace, Picture::WrongFace,
                                  Picture::EndPhotograph, Picture::ApplicationIcon, Picture::HandCursor})
        QVERIFY2(QFile::exists(ResourcePath(picture)), qPrintable(ResourcePath(picture)));
    for (const int size : DesktopIconSizes())
        QVERIFY2(QFile::exists(DesktopIconResourcePath(size)), qPrintable(DesktopIconResourcePath(size)));
}

void TestBuiltInPictures::sizes_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QSize>("size");
    QTest::newRow("tick") << Tick() << QSize(50, 50);
    QTest::newRow("good face") << GoodFace() << QSize(63, 63);
    QTest::newRow("partial face") << PartialFace() << QSize(63, 63);
    QTest::newRow("wrong face") << WrongFace() << QSize(63, 63);
    QTest::newRow("end photograph") << EndPhotograph() << QSize(347, 484);
}

void TestBuiltInPictures::sizes()
{
    QFETCH(QImage, image);
    QFETCH(QSize, size);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
}

void TestBuiltInPictures::tickColourKey_data()
{
    // The window leaves out every pixel of the bottom-left pixel's colour, pure white: the ground
    // and the upper-left inside of the box show the panel beneath; the box's grey shading, its
    // border and the check mark are drawn.
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("keyedOut");
    QTest::newRow("top-left corner") << QPoint(0, 0) << true;
    QTest::newRow("top-right corner") << QPoint(49, 0) << true;
    QTest::newRow("bottom-right corner") << QPoint(49, 49) << true;
    QTest::newRow("left of the box") << QPoint(2, 30) << true;
    QTest::newRow("box inside, upper left") << QPoint(11, 17) << true;
    QTest::newRow("box inside, near the middle") << QPoint(15, 22) << true;
    QTest::newRow("box border, left") << QPoint(8, 30) << false;
    QTest::newRow("box border, top") << QPoint(20, 14) << false;
    QTest::newRow("box inside, lower right") << QPoint(31, 37) << false;
    QTest::newRow("shade right of the box") << QPoint(35, 30) << false;
    QTest::newRow("shade below the box") << QPoint(20, 41) << false;
    QTest::newRow("check mark, joint") << QPoint(21, 37) << false;
    QTest::newRow("check mark, long stroke") << QPoint(33, 17) << false;
    QTest::newRow("check mark, short stroke") << QPoint(11, 29) << false;
}

void TestBuiltInPictures::tickColourKey()
{
    QFETCH(QPoint, at);
    QFETCH(bool, keyedOut);
    const QImage tick = Tick();
    QCOMPARE(tick.format(), QImage::Format_Indexed8);
    QCOMPARE(tick.pixel(0, tick.height() - 1), White);
    QCOMPARE(tick.pixel(at) == tick.pixel(0, tick.height() - 1), keyedOut);
}

void TestBuiltInPictures::faces_data()
{
    QTest::addColumn<Picture>("picture");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<QList<QPoint>>("face");   // points the face covers fully
    QTest::addColumn<QList<QPoint>>("ground"); // points left to the ground

    // Shared by all three: the outline's outer edge touches x = 1, x = 61, y = 1 and y = 61; the
    // eyes are centred at (21, 21) and (41, 21).
    const QList<QPoint> outline = {{3, 31}, {59, 31}, {31, 3}, {31, 59}, {21, 21}, {41, 21}};
    const QList<QPoint> around = {{0, 31}, {62, 31}, {31, 0}, {31, 62}, {31, 21}, {27, 27}};

    QTest::newRow("good") << Picture::GoodFace << qRgb(0, 255, 0)
                          << outline + QList<QPoint>{{31, 48}, {16, 37}, {46, 37}}
                          << around + QList<QPoint>{{31, 40}, {31, 53}};
    QTest::newRow("partial") << Picture::PartialFace << qRgb(255, 255, 255)
                             << outline + QList<QPoint>{{15, 39}, {31, 38}, {31, 41}, {47, 40}}
                             << around + QList<QPoint>{{31, 36}, {31, 43}, {12, 39}, {50, 39}};
    QTest::newRow("wrong") << Picture::WrongFace << qRgb(255, 153, 0)
                           << outline + QList<QPoint>{{31, 32}, {16, 44}, {46, 44}}
                           << around + QList<QPoint>{{31, 40}, {31, 28}};
}

void TestBuiltInPictures::faces()
{
    QFETCH(Picture, picture);
    QFETCH(QRgb, colour);
    QFETCH(QList<QPoint>, face);
    QFETCH(QList<QPoint>, ground);
    const QImage image = FaceImage(picture);
    QVERIFY(!image.hasAlphaChannel()); // drawn opaque whatever the widget asks

    // The square must not show on the window: the ground is the window's own colour to the edges.
    const int last = image.width() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        QCOMPARE(image.pixel(corner), FaceGround);
    for (const QPoint p : face)
        QVERIFY2(image.pixel(p) == colour, qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));
    for (const QPoint p : ground)
        QVERIFY2(image.pixel(p) == FaceGround, qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));

    // At most sixteen colours, all on the way from the ground to the face colour: smooth edges
    // without stray tints.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
            QVERIFY2(IsBlend(image.pixel(x, y), FaceGround, colour),
                     qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
        }
    }
    QVERIFY(colours.size() <= 16);
    QVERIFY(colours.size() > 2); // the edges are smoothed
}

void TestBuiltInPictures::endPhotograph_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QString>("what");
    QTest::newRow("top-left background") << QRect(0, 0, 20, 20) << "dark grey";
    QTest::newRow("bottom-left background") << QRect(0, 464, 20, 20) << "dark grey";
    QTest::newRow("top-right background") << QRect(327, 0, 20, 20) << "dark grey";
    QTest::newRow("foam head") << QRect(150, 60, 40, 20) << "foam";
    QTest::newRow("beer") << QRect(150, 320, 40, 40) << "amber";
}

void TestBuiltInPictures::endPhotograph()
{
    QFETCH(QRect, area);
    QFETCH(QString, what);
    const QImage photo = EndPhotograph();
    QCOMPARE(photo.size(), QSize(347, 484));
    double r = 0;
    double g = 0;
    double b = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = photo.pixel(x, y);
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
        }
    }
    const double n = double(area.width()) * area.height();
    r /= n;
    g /= n;
    b /= n;
    const QString mean = QStringLiteral("mean RGB %1, %2, %3").arg(r).arg(g).arg(b);
    if (what == "dark grey") {
        QVERIFY2(r < 80 && g < 80 && b < 80 && std::abs(r - b) < 12 && std::abs(r - g) < 12,
                 qPrintable(mean));
    } else if (what == "foam") {
        QVERIFY2(r > 170 && g > 160 && b > 130 && r >= b, qPrintable(mean));
    } else {
        QVERIFY2(r > 150 && r > g + 30 && g > b + 30, qPrintable(mean));
    }
}

void TestBuiltInPictures::applicationIcon()
{
    const QIcon icon = ApplicationIcon();
    QVERIFY(!icon.isNull());
    for (const int size : DesktopIconSizes())
        QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));

    // At 32 x 32 the icon is the 16-colour one: opaque pixels of the classic palette only, clear
    // corners from its mask, a black chip and yellow pins.
    const QImage image = icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(32, 32));
    const QSet<QRgb> palette = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                                0xFF008080, 0xFF808080, 0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    QSet<QRgb> used;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            QCOMPARE(qAlpha(c), 255);
            QVERIFY(palette.contains(c));
            used.insert(c);
        }
    }
    QCOMPARE(qAlpha(image.pixel(0, 31)), 0);
    QCOMPARE(qAlpha(image.pixel(31, 0)), 0);
    QVERIFY(used.contains(0xFF000000));
    QVERIFY(used.contains(0xFFFFFF00));
    QVERIFY(used.size() <= 16);
    // Lying from top left to bottom right: the middle of that diagonal is chip, the other one's
    // ends are clear.
    QCOMPARE(image.pixel(16, 16), 0xFF000000);
    QCOMPARE(qAlpha(image.pixel(3, 28)), 0);
    QCOMPARE(qAlpha(image.pixel(28, 3)), 0);
}

void TestBuiltInPictures::handCursor()
{
    const QCursor cursor = HandCursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(7, 1));
    const QImage bitmap = cursor.bitmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage mask = cursor.mask().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(bitmap.size(), QSize(32, 32));
    QCOMPARE(mask.size(), QSize(32, 32));

    // Qt's pair: mask colour1 (black) shows a pixel, bitmap colour1 (black) makes it black.
    const auto shown = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < 32 && y < 32 && mask.pixel(x, y) == QColor(Qt::color1).rgb();
    };
    const auto black = [&](int x, int y) { return bitmap.pixel(x, y) == QColor(Qt::color1).rgb(); };

    // The hot spot is the tip of the finger: a drawn pixel, with clear space above it.
    QVERIFY(shown(7, 1));
    QVERIFY(!shown(7, 0));
    // The index finger stands up from the tip: white inside, black on both sides.
    for (int y = 2; y <= 6; ++y) {
        QVERIFY(shown(7, y) && !black(7, y));
        QVERIFY(shown(5, y) && black(5, y));
        QVERIFY(shown(9, y) && black(9, y));
    }

    // A white hand with a black outline: no white pixel touches the clear area.
    int whites = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (!shown(x, y) || black(x, y))
                continue;
            ++whites;
            QVERIFY2(shown(x - 1, y) && shown(x + 1, y) && shown(x, y - 1) && shown(x, y + 1),
                     qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
        }
    }
    QVERIFY(whites > 100);
}

QTEST_MAIN(TestBuiltInPictures)
#include "tst_builtinpictures.moc"
