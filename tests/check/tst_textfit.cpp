#include "check/TextFit.h"
#include "widgets/TLabel.h"

#include <QtTest>

#include "CheckTestFiles.h"
#include "tests/app/MainFormFixture.h"

using namespace zdawnik;

// The checker's measure of a text against what the window shows: the checker measures with the
// window's own labels' fonts, sizes and wrapping, and a text it calls cut is cut on screen.
class TestTextFit : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainFormFixture>(); }
    void cleanup() { m_fixture.reset(); }
    void placesAreTheWindowsLabels();
    void cutOnScreen_data();
    void cutOnScreen();
    void plainTextsTakeNoShortCut_data();
    void plainTextsTakeNoShortCut();

private:
    // Shows a choice question of that question line and one answer in the real window.
    void show(const QString& question, const QString& answer)
    {
        m_fixture->write("q.txt", Windows1250("X1\r\n" + question + "\r\n" + answer + "\r\n"));
        m_fixture->open();
        m_fixture->click("btnStart");
    }

    std::unique_ptr<MainFormFixture> m_fixture;
    TextFit m_fit;
};

namespace {

// The pixels of the label that its caption changes.
QImage InkOf(TLabel& label)
{
    const QImage shown = label.grab().toImage();
    const QString caption = label.caption();
    label.setCaption(QString());
    const QImage empty = label.grab().toImage();
    label.setCaption(caption);
    QImage ink(shown.size(), QImage::Format_Mono);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            ink.setPixel(x, y, shown.pixel(x, y) != empty.pixel(x, y));
    return ink;
}

int Count(const QImage& ink)
{
    int count = 0;
    for (int y = 0; y < ink.height(); ++y)
        for (int x = 0; x < ink.width(); ++x)
            count += ink.pixelIndex(x, y);
    return count;
}

// Whether the user sees less of the caption than there is: a line of it above or below the label,
// which a label grown in height shows, or a word too wide, which runs over the right edge (and, when
// centred, the left one).
bool CutOnScreen(TLabel& label)
{
    const QImage shown = InkOf(label);
    for (int y = 0; y < shown.height(); ++y)
        if (shown.pixelIndex(shown.width() - 1, y))
            return true;
    // Grown the same on both sides, the text keeps its place and its wrapping.
    const TAlign docked = label.align();
    label.setAlign(TAlign::None);
    const QRect place = label.geometry();
    label.setGeometry(place.adjusted(0, -1000, 0, 1000));
    const QImage whole = InkOf(label);
    label.setGeometry(place);
    label.setAlign(docked);
    return Count(shown) < Count(whole);
}

} // namespace

void TestTextFit::placesAreTheWindowsLabels()
{
    show("Pytanie", "odpowiedź");
    auto* question = m_fixture->widget<TLabel>("lblPytanie");
    QCOMPARE(question->size(), m_fit.placeSize(QuestionPlace::Question));
    QCOMPARE(question->font(), m_fit.font(QuestionPlace::Question));
    QCOMPARE(question->textFlags(), m_fit.textFlags(QuestionPlace::Question));
    auto* answer = m_fixture->widget<TLabel>("lblOdp1");
    QVERIFY(answer->isVisible());
    QCOMPARE(answer->size(), m_fit.placeSize(QuestionPlace::Answer));
    QCOMPARE(answer->font(), m_fit.font(QuestionPlace::Answer));
    QCOMPARE(answer->textFlags(), m_fit.textFlags(QuestionPlace::Answer));
}

void TestTextFit::cutOnScreen_data()
{
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("questionCut");
    QTest::addColumn<bool>("answerCut");
    const QString sentence = QStringLiteral("Które z podanych zdań o żółwiach jest prawdziwe? ");
    QTest::newRow("short texts") << "Ile to 2 + 2?"
                                 << "cztery" << false << false;
    QTest::newRow("question of three lines, answer of two")
        << sentence.repeated(6) << sentence.repeated(2) << false << false;
    QTest::newRow("question of a dozen lines") << sentence.repeated(25) << "a" << true << false;
    QTest::newRow("answer of six lines") << "Q" << sentence.repeated(8) << false << true;
    QTest::newRow("one word wider than both places")
        << QString("W").repeated(120) << QString("W").repeated(60) << true << true;
}

void TestTextFit::cutOnScreen()
{
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(bool, questionCut);
    QFETCH(bool, answerCut);
    show(question, answer);
    auto* questionLabel = m_fixture->widget<TLabel>("lblPytanie");
    auto* answerLabel = m_fixture->widget<TLabel>("lblOdp1");
    QCOMPARE(questionLabel->caption(), question);
    QCOMPARE(answerLabel->caption(), answer);

    // The user sees less of a text exactly when the checker calls it cut.
    QCOMPARE(CutOnScreen(*questionLabel), questionCut);
    QCOMPARE(CutOnScreen(*answerLabel), answerCut);
    QCOMPARE(m_fit.overflow(question, QuestionPlace::Question).has_value(), questionCut);
    QCOMPARE(m_fit.overflow(answer, QuestionPlace::Answer).has_value(), answerCut);
}

void TestTextFit::plainTextsTakeNoShortCut_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("narrow letters") << "il ";
    QTest::newRow("wide letters") << "WM ";
    QTest::newRow("Polish letters") << "żółć ";
    QTest::newRow("kerned pairs") << "AVTo ";
}

void TestTextFit::plainTextsTakeNoShortCut()
{
    // Short plain texts are judged without laying them out; that judgement must be the layout's own,
    // for every length from one word to many lines.
    QFETCH(QString, word);
    for (const QuestionPlace place : {QuestionPlace::Question, QuestionPlace::Answer}) {
        const QSize size = m_fit.placeSize(place);
        for (int count = 1; count <= 120; ++count) {
            const QString text = word.repeated(count);
            const QSize needed =
                MeasureCaption(text, m_fit.font(place), m_fit.textFlags(place), size.width());
            const bool fits = needed.width() <= size.width() && needed.height() <= size.height();
            QVERIFY2(m_fit.overflow(text, place).has_value() != fits, qPrintable(text));
        }
    }
}

ZDAWNIK_GUI_TEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
