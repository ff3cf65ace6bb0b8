// The screenshots in docs/ are the program as it is: each scene drawn again and compared with its
// picture, so a change of the window that the documents do not show yet fails here.

#include "devtools/make-screenshots/ScreenshotScenes.h"

#include <QtTest>

#include "MainFormFixture.h"

using namespace zdawnik;

class TestScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void docsShowTheProgram_data()
    {
        QTest::addColumn<QString>("scene");
        // At scale 2 (the test runs again so) only the checked question is kept.
        const QStringList scenes = Doubled() ? QStringList{"question"} : ScreenshotScenes();
        for (const QString& scene : scenes)
            QTest::newRow(qPrintable(scene)) << scene;
    }

    void docsShowTheProgram()
    {
        QFETCH(QString, scene);
        const QString kept = ZDAWNIK_SOURCE_DIR "/docs/" + ScreenshotFileName(scene, Doubled());
        const Screenshot made = RenderScene(scene, ZDAWNIK_SOURCE_DIR "/baza");
        // Nothing but the smoothing of an edge may differ.
        const double share = DifferentShare(made.Image, QImage(kept), made.MachineDependent);
        QVERIFY2(share < 0.002, qPrintable(QString("%1 differs from the window in %2% of its pixels: run "
                                                   "zdawnik-make-screenshots and look at the pictures")
                                               .arg(kept)
                                               .arg(share * 100, 0, 'f', 2)));
    }

private:
    static bool Doubled() { return qEnvironmentVariable("QT_SCALE_FACTOR") == "2"; }
};

ZDAWNIK_GUI_TEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
