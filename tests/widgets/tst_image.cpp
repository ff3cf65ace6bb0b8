#include "widgets/TImage.h"

#include <QtTest>

#include "PatternedParent.h"

using namespace zdawnik;

namespace {

// A picture whose every pixel has its own colour, so that a shifted copy shows.
QImage Numbered(QSize size, QImage::Format format = QImage::Format_RGB32)
{
    QImage picture(size, format);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb(40 + 5 * x, 40 + 5 * y, 200));
    return picture;
}

QString Hex(QRgb rgb)
{
    return QString::number(rgb & 0xFFFFFFu, 16).rightJustified(6, '0');
}

} // namespace

class TestImage : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void transparency_data();
    void transparency();
    void autoSize();
    void clearedPictureDrawsNothing();
};

void TestImage::placement_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("center");
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("top-left") << QSize(60, 40) << QSize(20, 10) << false << QPoint(0, 0);
    QTest::newRow("centred") << QSize(60, 40) << QSize(20, 10) << true << QPoint(20, 15);
    QTest::newRow("centred, odd difference") << QSize(61, 41) << QSize(20, 10) << true << QPoint(20, 15);
    // Truncation toward zero: -3 div 2 is -1, and the picture is cut at both edges.
    QTest::newRow("centred, larger than the widget")
        << QSize(10, 12) << QSize(13, 17) << true << QPoint(-1, -2);
    QTest::newRow("top-left, larger than the widget")
        << QSize(10, 12) << QSize(13, 17) << false << QPoint(0, 0);
    QTest::newRow("answer picture in 441 x 70") << QSize(441, 70) << QSize(300, 64) << true << QPoint(70, 3);
}

// The picture at its natural size at the origin, cut at the widget's edges; elsewhere the widget
// paints nothing and what lies beneath shows.
void TestImage::placement()
{
    QFETCH(QSize, widget);
    QFETCH(QSize, picture);
    QFETCH(bool, center);
    QFETCH(QPoint, origin);
    PatternedParent parent;
    parent.resize(widget + QSize(20, 20));
    auto* image = new TImage(&parent);
    image->setGeometry(QRect(QPoint(10, 10), widget));
    image->setCenter(center);
    const QImage source = Numbered(picture);
    image->setPicture(source, false);
    QCOMPARE(image->pictureOrigin(), origin);

    const QImage drawn = Grab(parent);
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QPoint inWidget = QPoint(x, y) - image->pos();
            const QPoint inPicture = inWidget - origin;
            QRgb want = PatternedParent::patternAt(x, y);
            if (image->rect().contains(inWidget) && source.rect().contains(inPicture))
                want = source.pixel(inPicture);
            if ((drawn.pixel(x, y) | 0xFF000000u) != (want | 0xFF000000u))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(Hex(drawn.pixel(x, y)), Hex(want))));
        }
    }
}

void TestImage::transparency_data()
{
    QTest::addColumn<bool>("bitmap");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("withAlpha");
    QTest::addColumn<bool>("keyedOut");
    QTest::newRow("transparent bitmap") << true << true << false << true;
    QTest::newRow("opaque bitmap") << true << false << false << false;
    QTest::newRow("transparent, not a bitmap") << false << true << false << false;
    QTest::newRow("opaque, not a bitmap") << false << false << false << false;
    QTest::newRow("alpha channel, opaque widget") << false << false << true << false;
    QTest::newRow("alpha channel, transparent bitmap") << true << true << true << true;
}

// A transparent bitmap leaves out every pixel of its bottom-left pixel's colour, and only those; a
// picture with an alpha channel is blended; any other picture is drawn opaque.
void TestImage::transparency()
{
    QFETCH(bool, bitmap);
    QFETCH(bool, transparent);
    QFETCH(bool, withAlpha);
    QFETCH(bool, keyedOut);
    QImage picture(8, 8, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(3, 3, qRgb(254, 255, 255)); // nearly white stays
    picture.setPixel(5, 2, qRgb(200, 0, 0));
    picture.setPixel(0, 0, qRgb(0, 128, 0)); // the key is the bottom-left pixel, not the top-left
    if (withAlpha)
        picture.setPixel(6, 6, qRgba(0, 0, 255, 128));
    PatternedParent parent;
    auto* image = new TImage(&parent);
    image->setGeometry(0, 0, 8, 8);
    image->setTransparent(transparent);
    image->setPicture(picture, bitmap);
    const QImage drawn = Grab(parent);

    QCOMPARE(Hex(drawn.pixel(3, 3)), Hex(qRgb(254, 255, 255)));
    QCOMPARE(Hex(drawn.pixel(5, 2)), Hex(qRgb(200, 0, 0)));
    QCOMPARE(Hex(drawn.pixel(0, 0)), Hex(qRgb(0, 128, 0)));
    for (const QPoint white : {QPoint(0, 7), QPoint(7, 7), QPoint(7, 0), QPoint(4, 5)})
        QCOMPARE(Hex(drawn.pixel(white)),
                 Hex(keyedOut ? PatternedParent::patternAt(white.x(), white.y()) : 0xFFFFFFFFu));
    if (withAlpha) {
        // Half the blue over the pattern's pixel there.
        const QColor beneath(PatternedParent::patternAt(6, 6));
        const QColor blended(drawn.pixel(6, 6));
        QVERIFY(qAbs(blended.blue() - (255 + beneath.blue()) / 2) <= 2);
        QVERIFY(qAbs(blended.green() - beneath.green() / 2) <= 2);
    }
}

void TestImage::autoSize()
{
    PatternedParent parent;
    TImage image(&parent);
    image.setGeometry(851, 608, 10, 10);
    image.setPicture(Numbered(QSize(63, 63)), false);
    QCOMPARE(image.size(), QSize(10, 10));
    image.setAutoSize(true);
    QCOMPARE(image.geometry(), QRect(851, 608, 63, 63));
    image.setPicture(Numbered(QSize(50, 40)), true);
    QCOMPARE(image.geometry(), QRect(851, 608, 50, 40));
    image.setAutoSize(false);
    image.setPicture(Numbered(QSize(20, 20)), true);
    QCOMPARE(image.size(), QSize(50, 40));
}

void TestImage::clearedPictureDrawsNothing()
{
    PatternedParent parent;
    auto* image = new TImage(&parent);
    image->setGeometry(0, 0, 30, 30);
    image->setPicture(Numbered(QSize(30, 30)), false);
    QVERIFY(image->hasPicture());
    image->clearPicture();
    QVERIFY(!image->hasPicture());
    QVERIFY(image->picture().isNull());
    const QImage drawn = Grab(parent);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            QCOMPARE(drawn.pixel(x, y) | 0xFF000000u, PatternedParent::patternAt(x, y));
}

QTEST_MAIN(TestImage)
#include "tst_image.moc"
