// The window on a high-density screen (run with QT_SCALE_FACTOR 1.25, 1.5 and 2): it keeps its
// proportions, the gauges are drawn at the screen's resolution and pictures are smoothed.

#include "widgets/TGauge.h"
#include "widgets/TImage.h"

#include <QPushButton>
#include <QScreen>

#include "MainFormFixture.h"

using namespace zdawnik;

class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainFormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void windowKeepsItsProportions();
    void gaugeAtScreenResolution();
    void picturesAreSmoothed();

private:
    std::unique_ptr<MainFormFixture> m_fixture;
    MainFormFixture& f() { return *m_fixture; }
    qreal ratio() { return f().window->devicePixelRatioF(); }
};

void TestHighDpi::windowKeepsItsProportions()
{
    f().open();
    qInfo("device pixel ratio %.2f", ratio());
    QCOMPARE(f().window->size(), QSize(952, 690));
    const QImage picture = f().window->grab().toImage();
    QCOMPARE(picture.size(), QSize(qCeil(952 * ratio()), qCeil(690 * ratio())));
    // The start panel's 8-pixel margin scales with the window.
    const int margin = qRound(4 * ratio());
    QCOMPARE(picture.pixelColor(margin, margin), QColor(7, 80, 152));
    QCOMPARE(picture.pixelColor(qRound(20 * ratio()), qRound(20 * ratio())), QColor(4, 47, 89));
}

void TestHighDpi::gaugeAtScreenResolution()
{
    f().open();
    auto* gauge = f().widget<TGauge>("gaugeDobreZle");
    gauge->setMaxValue(3);
    gauge->setProgress(2); // a fill length of 85 of 130
    const QImage picture = gauge->grab().toImage();
    const qreal r = ratio();
    QCOMPARE(picture.size(), QSize(qCeil(131 * r), qCeil(20 * r)));
    const int middle = picture.height() / 2;
    // A black frame one unit wide, lime up to 85 units, then the window's blue; every edge falls on
    // the screen pixel the scale puts it on.
    const auto column = [&](qreal units) { return int(units * r); };
    QCOMPARE(picture.pixelColor(0, middle), QColor(0, 0, 0));
    QCOMPARE(picture.pixelColor(column(1.5), middle), QColor(0, 255, 0));
    QCOMPARE(picture.pixelColor(qRound(85 * r) - 1, middle), QColor(0, 255, 0));
    QCOMPARE(picture.pixelColor(qRound(85 * r), middle), QColor(7, 80, 152));
    QCOMPARE(picture.pixelColor(picture.width() - 1, middle), QColor(0, 0, 0));
    // Nothing but the three colours: no smeared edges.
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            colours.insert(picture.pixel(x, y));
    QCOMPARE(colours.size(), 3);
}

void TestHighDpi::picturesAreSmoothed()
{
    QImage checker(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    std::filesystem::create_directories(f().bank());
    QVERIFY(checker.save(QString::fromStdString((f().bank() / "szachownica.png").string())));
    f().write("q.txt", "X1\n[img]szachownica.png[/img]\nA\n");
    f().open();
    f().click("btnStart");
    auto* image = f().widget<TImage>("imgPytanie");
    const QImage shown = image->grab().toImage();
    const QPoint centre(shown.width() / 2, shown.height() / 2);
    // Blocky enlargement keeps the picture's pure black and white; smoothing blends them to greys.
    int blended = 0;
    for (int dx = -10; dx < 10; ++dx) {
        const int grey = qGray(shown.pixel(centre.x() + dx, centre.y()));
        blended += grey > 20 && grey < 235;
    }
    if (ratio() == 1)
        QCOMPARE(blended, 0); // at 1:1 the pixels are the picture's own
    else
        QVERIFY(blended > 10);
}

ZDAWNIK_GUI_TEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
