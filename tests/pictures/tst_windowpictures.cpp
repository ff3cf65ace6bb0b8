// Pictures in the window: what is kept of a picture larger than its place looks as the whole picture
// would, the pictures of a question shown before are let go, and a picture that takes the metafile
// helper down or never finishes costs only its own place.

#include "pictures/PictureLoader.h"
#include "widgets/TImage.h"

#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>

#include "PictureTestFiles.h"
#include "tests/app/MainFormFixture.h"

using namespace zdawnik;
using namespace zdawnik::test;

namespace {

// Rings around the middle of the picture, so that any shift of what is shown shows.
QImage Rings(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    for (int radius = qMax(size.width(), size.height()), k = 0; radius > 0; radius -= 7, ++k) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromHsv((k * 37) % 360, 200, 100 + (k * 53) % 155));
        painter.drawEllipse(centre, radius, radius);
    }
    return image;
}

QString Answers(const QStringList& pictures)
{
    QString file =
        QStringLiteral("X") + QString(pictures.size(), QLatin1Char('0')) + QStringLiteral("\r\nPytanie\r\n");
    for (const QString& picture : pictures)
        file += QStringLiteral("[img]") + picture + QStringLiteral("[/img]\r\n");
    return file;
}

QString MetafileData(const QString& relative)
{
    return PictureData(QStringLiteral("metafiles/") + relative);
}

} // namespace

class TestWindowPictures : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainFormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void largePictureLooksWhole_data();
    void largePictureLooksWhole();
    void picturesOfTheQuestionBeforeLetGo();
    void crashingPictureAndElevenGood();
    void hangingPictureAndTheNextOnes();

private:
    std::unique_ptr<MainFormFixture> m_fixture;
    MainFormFixture& f() { return *m_fixture; }
    void start(const QString& question)
    {
        f().write("pytanie.txt", question.toUtf8());
        f().open();
        f().click("btnStart");
    }
};

void TestWindowPictures::largePictureLooksWhole_data()
{
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("format");
    QTest::newRow("question, PNG") << "X1\r\n[img]obraz.png[/img]\r\nA\r\n"
                                   << "imgPytanie" << QSize(2001, 900) << "png";
    QTest::newRow("question, JPEG") << "X1\r\n[img]obraz.jpg[/img]\r\nA\r\n"
                                    << "imgPytanie" << QSize(1500, 151) << "jpeg";
    QTest::newRow("answer, PNG") << "X1\r\nPytanie\r\n[img]obraz.png[/img]\r\n"
                                 << "imgOdp1" << QSize(1000, 333) << "png";
    QTest::newRow("answer, JPEG, wide only") << "X1\r\nPytanie\r\n[img]obraz.jpg[/img]\r\n"
                                             << "imgOdp1" << QSize(900, 40) << "jpeg";
}

void TestWindowPictures::largePictureLooksWhole()
{
    // Only the part of the picture its place shows is kept, and the place looks as it would with the
    // whole picture in it.
    QFETCH(QString, question);
    QFETCH(QString, image);
    QFETCH(QSize, size);
    QFETCH(QString, format);
    const QByteArray file = Encoded(Rings(size), qPrintable(format));
    f().write(format == QLatin1String("png") ? "obraz.png" : "obraz.jpg", file);
    start(question);
    auto* shown = f().widget<TImage>(image);
    QVERIFY(shown->isVisible());
    QVERIFY(shown->hasPicture());
    QVERIFY(shown->picture().width() <= shown->width() && shown->picture().height() <= shown->height());

    PictureLoader loader;
    const PictureResult whole = loader.Decode(file, format);
    QVERIFY2(whole.ok(), qPrintable(whole.error));
    QCOMPARE(whole.image.size(), size);
    TImage reference;
    reference.resize(shown->size());
    reference.setCenter(true);
    reference.setPicture(whole.image, false);
    // Where the picture lies in its place; around it each widget shows what lies beneath.
    const QRect covered = QRect(reference.pictureOrigin(), size) & reference.rect();
    const auto look = [&](QWidget* widget) {
        return widget->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(covered);
    };
    QCOMPARE(look(shown), look(&reference));
}

void TestWindowPictures::picturesOfTheQuestionBeforeLetGo()
{
    // Two picture questions and a text question; whichever comes after which, no image keeps a
    // picture that its question does not show.
    f().write("a.txt", Answers({"a.png", "b.png", "c.png", "d.png"}).toUtf8());
    f().write("b.txt", "X10\r\n[img]p.png[/img]\r\n[img]a.png[/img]\r\nB\r\n");
    f().write("c.txt", "X10\r\nPytanie\r\nA\r\nB\r\n");
    for (const char* name : {"a.png", "b.png", "c.png", "d.png", "p.png"})
        f().write(name, PictureBytes({600, 300}, Qt::darkGreen, "PNG"));
    f().open();
    f().click("btnStart");
    for (int shown = 0; shown < 6; ++shown) {
        const QString file = f().caption("lblPytanieInfo");
        const QList<TImage*> images =
            f().window->findChildren<TImage*>(QRegularExpression("^img(Pytanie|Odp\\d+)$"));
        QCOMPARE(images.size(), 13);
        int holding = 0;
        for (TImage* image : images) {
            if (image->hasPicture()) {
                ++holding;
                QVERIFY2(image->isVisibleTo(f().window.get()), qPrintable(file + ": " + image->objectName()));
            }
        }
        QCOMPARE(holding, file == "a.txt" ? 4 : file == "b.txt" ? 2 : 0);
        f().window->findChild<QPushButton*>("btnCheck")->click();
        f().window->findChild<QPushButton*>("btnDalej")->click();
    }
}

void TestWindowPictures::crashingPictureAndElevenGood()
{
    // The first answer's picture takes the metafile helper down: its place says "rysunek", and the
    // eleven after it are drawn. (The budget is generous: the sanitizers slow the helper down.)
    PictureLoader pictures(FaultyHelper(60000, 20000));
    f().pictures = &pictures;
    f().write("p1.wmf", "CRASH");
    const QStringList good = {"wmf-libwmf/2doorvan.wmf",
                              "wmf-libwmf/ant.wmf",
                              "wmf-libwmf/formula1.wmf",
                              "wmf-libwmf/sample.wmf",
                              "made-here/inkscape-matplotlib.wmf",
                              "wmf-libwmf/cell.wmf",
                              "emf-libemf2svg/test-007.emf",
                              "emf-libemf2svg/test-022.emf",
                              "emf-libemf2svg/test-041.emf",
                              "made-here/inkscape-matplotlib.emf",
                              "made-here/libreoffice-polish_question.emf"};
    QStringList names = {"p1.wmf"};
    for (int k = 0; k < good.size(); ++k) {
        names << QStringLiteral("p%1.%2").arg(k + 2).arg(QFileInfo(good[k]).suffix());
        f().copyPicture(MetafileData(good[k]), names.last().toStdString());
    }
    start(Answers(names));
    QCOMPARE(f().caption("lblOdp1"), QStringLiteral("rysunek"));
    QVERIFY(!f().visible("imgOdp1"));
    QVERIFY(f().visible("pnlOdp1"));
    for (int n = 2; n <= 12; ++n) {
        auto* image = f().widget<TImage>(Numbered("imgOdp", n));
        QVERIFY2(image->isVisible() && image->hasPicture(), qPrintable(names[n - 1]));
        QVERIFY2(!InkBox(image->picture()).isEmpty(), qPrintable(names[n - 1]));
        QCOMPARE(f().caption(Numbered("lblOdp", n)), QString());
    }
}

void TestWindowPictures::hangingPictureAndTheNextOnes()
{
    // The helper never finishes the first picture: the question comes up within its budget, with
    // "rysunek" in that place and the next pictures drawn.
    PictureLoader pictures(FaultyHelper(20000, 1000));
    f().pictures = &pictures;
    f().write("zawiesza.wmf", "HANG");
    f().copyPicture(MetafileData(QStringLiteral("wmf-libwmf/ant.wmf")), "mrowka.wmf");
    f().write("obraz.png", PictureBytes({100, 40}, Qt::blue, "PNG"));
    start(Answers({"zawiesza.wmf", "mrowka.wmf", "obraz.png"}));
    QCOMPARE(f().caption("lblOdp1"), QStringLiteral("rysunek"));
    for (int n = 2; n <= 3; ++n)
        QVERIFY(f().widget<TImage>(Numbered("imgOdp", n))->hasPicture());
}

ZDAWNIK_GUI_TEST_MAIN(TestWindowPictures)
#include "tst_windowpictures.moc"
