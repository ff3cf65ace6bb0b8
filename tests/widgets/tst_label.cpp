#include "widgets/TLabel.h"

#include <QPainter>
#include <QtTest>

#include "PatternedParent.h"

using namespace zdawnik;

namespace {

// The smallest rectangle holding every pixel that differs from the background.
QRect InkBounds(const QImage& image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) | 0xFF000000u) != (background | 0xFF000000u))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TLabel* FixedLabel(QWidget* parent, const QString& caption, QSize size)
{
    auto* label = new TLabel(parent);
    label->setAutoSize(false);
    label->setColor(Qt::white);
    label->setFontColor(Qt::black);
    label->setGeometry(QRect(QPoint(0, 0), size));
    label->setCaption(caption);
    return label;
}

} // namespace

class TestLabel : public QObject
{
    Q_OBJECT

private slots:
    void autoSizeFitsText_data();
    void autoSizeFitsText();
    void autoSizeKeepsItsEdge_data();
    void autoSizeKeepsItsEdge();
    void fixedLabelKeepsItsRectangle();
    void wrappingAutoSizeKeepsWidth();
    void alignment_data();
    void alignment();
    void wordWrap_data();
    void wordWrap();
    void background_data();
    void background();
    void textColourFromParent();
    void ampersand_data();
    void ampersand();
};

void TestLabel::autoSizeFitsText_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "Czas nauki:"
                           << "Czas nauki:";
    QTest::newRow("double ampersand") << "A&&B"
                                      << "A&B";
    QTest::newRow("accelerator") << "&Plik"
                                 << "Plik";
    // An empty caption keeps the height of a line and takes the width of a space, as a Windows
    // label does.
    QTest::newRow("empty") << ""
                           << " ";
}

void TestLabel::autoSizeFitsText()
{
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    PatternedParent parent;
    TLabel label(&parent);
    label.setCaption(caption);
    parent.show(); // a label out of sight takes its size when it is shown
    QCOMPARE(label.size(), label.fontMetrics().size(0, shown));
    QCOMPARE(label.height(), label.fontMetrics().size(0, "Xg").height());
}

void TestLabel::autoSizeKeepsItsEdge_data()
{
    QTest::addColumn<TAlignment>("alignment");
    QTest::addColumn<bool>("keepsRight");
    QTest::newRow("left keeps its left edge") << TAlignment::LeftJustify << false;
    QTest::newRow("centred keeps its left edge") << TAlignment::Center << false;
    QTest::newRow("right keeps its right edge") << TAlignment::RightJustify << true;
}

// As the file-name label in the question's corner: its right edge stays put for any text and font.
void TestLabel::autoSizeKeepsItsEdge()
{
    QFETCH(TAlignment, alignment);
    QFETCH(bool, keepsRight);
    PatternedParent parent;
    TLabel label(&parent);
    label.setAlignment(alignment);
    label.setGeometry(200, 18, 78, 13);
    parent.show(); // on screen, as that label is: measured at every change
    const int left = label.x();
    const int right = label.x() + label.width();
    int widthBefore = label.width();
    const auto check = [&](const char* step) {
        const int edge = keepsRight ? label.x() + label.width() : label.x();
        QVERIFY2(edge == (keepsRight ? right : left), step);
        QCOMPARE(label.y(), 18);
        QVERIFY2(label.width() != widthBefore, step);
        widthBefore = label.width();
    };
    label.setCaption("pytanie_017.txt");
    check("caption set");
    label.setCaption("a much longer name of a question file.txt");
    check("longer caption");
    label.setCaption("q.txt");
    check("shorter caption");
    QFont larger = label.font();
    larger.setPixelSize(30);
    label.setFont(larger);
    check("larger font");
    QFont smaller = parent.font();
    smaller.setPixelSize(9);
    parent.setFont(smaller);
    label.setFont(QFont());
    check("parent's font");
}

void TestLabel::fixedLabelKeepsItsRectangle()
{
    PatternedParent parent;
    TLabel label(&parent);
    label.setAutoSize(false);
    label.setAlignment(TAlignment::RightJustify);
    label.setGeometry(12, 16, 50, 20);
    label.setCaption("a caption far longer than fifty pixels");
    QFont larger = label.font();
    larger.setPixelSize(40);
    label.setFont(larger);
    QCOMPARE(label.geometry(), QRect(12, 16, 50, 20));
}

void TestLabel::wrappingAutoSizeKeepsWidth()
{
    PatternedParent parent;
    TLabel label(&parent);
    label.setAutoSize(false);
    label.setGeometry(0, 0, 120, 10);
    label.setWordWrap(true);
    label.setCaption("jeden dwa trzy cztery pięć sześć siedem osiem");
    label.setAutoSize(true);
    parent.show();
    QVERIFY(label.width() <= 120);
    QVERIFY(label.width() > 60);
    QVERIFY(label.height() >= 3 * label.fontMetrics().height());
}

void TestLabel::alignment_data()
{
    QTest::addColumn<TAlignment>("alignment");
    QTest::addColumn<TTextLayout>("layout");
    QTest::addColumn<int>("horizontal"); // -1 at the left, 0 centred, 1 at the right
    QTest::addColumn<int>("vertical");   // -1 at the top, 0 in the middle
    QTest::newRow("left, top") << TAlignment::LeftJustify << TTextLayout::Top << -1 << -1;
    QTest::newRow("right, top") << TAlignment::RightJustify << TTextLayout::Top << 1 << -1;
    QTest::newRow("centred, top") << TAlignment::Center << TTextLayout::Top << 0 << -1;
    QTest::newRow("left, middle") << TAlignment::LeftJustify << TTextLayout::Center << -1 << 0;
    QTest::newRow("centred, middle") << TAlignment::Center << TTextLayout::Center << 0 << 0;
    QTest::newRow("right, middle") << TAlignment::RightJustify << TTextLayout::Center << 1 << 0;
}

void TestLabel::alignment()
{
    QFETCH(TAlignment, alignment);
    QFETCH(TTextLayout, layout);
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    PatternedParent parent;
    TLabel* label = FixedLabel(&parent, "HxH", QSize(240, 90));
    label->setAlignment(alignment);
    label->setLayout(layout);
    const QRect ink = InkBounds(Grab(*label), 0xFFFFFFFFu);
    QVERIFY(!ink.isEmpty());
    const int slack = 4;
    if (horizontal < 0)
        QVERIFY2(ink.left() <= slack, qPrintable(QString::number(ink.left())));
    else if (horizontal > 0)
        QVERIFY2(ink.right() >= 239 - slack, qPrintable(QString::number(ink.right())));
    else
        QVERIFY2(qAbs(ink.center().x() - 120) <= 2, qPrintable(QString::number(ink.center().x())));
    const QFontMetrics metrics(label->font());
    if (vertical < 0)
        QVERIFY2(ink.top() <= metrics.ascent() - metrics.capHeight() + 1,
                 qPrintable(QString::number(ink.top())));
    else
        QVERIFY2(qAbs(ink.center().y() - 45) <= 3, qPrintable(QString::number(ink.center().y())));
}

void TestLabel::wordWrap_data()
{
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<TTextLayout>("layout");
    QTest::newRow("one line, cut at the edge") << false << TTextLayout::Top;
    QTest::newRow("wrapped") << true << TTextLayout::Top;
    QTest::newRow("wrapped, middle") << true << TTextLayout::Center;
}

// The answer labels: wrapped text, left-aligned, the block vertically centred.
void TestLabel::wordWrap()
{
    QFETCH(bool, wrap);
    QFETCH(TTextLayout, layout);
    PatternedParent parent;
    TLabel* label = FixedLabel(&parent, "jeden dwa trzy cztery pięć sześć siedem", QSize(110, 116));
    label->setWordWrap(wrap);
    label->setLayout(layout);
    const QRect ink = InkBounds(Grab(*label), 0xFFFFFFFFu);
    const int line = label->fontMetrics().height();
    if (!wrap) {
        QVERIFY(ink.height() <= line);
        QCOMPARE(ink.right(), 109); // the text runs on beyond the label
        return;
    }
    QVERIFY(ink.height() > 2 * line);
    QVERIFY(ink.right() < 109);
    if (layout == TTextLayout::Center)
        QVERIFY2(qAbs(ink.center().y() - 58) <= 3, qPrintable(QString::number(ink.center().y())));
    else
        QVERIFY(ink.top() <= 4);
}

void TestLabel::background_data()
{
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("shows");
    QTest::newRow("opaque in its own colour") << false << QColor(Qt::white) << "own";
    QTest::newRow("opaque in the parent's colour") << false << QColor() << "parent";
    QTest::newRow("transparent, own colour unused") << true << QColor(Qt::white) << "beneath";
}

// An opaque label fills its rectangle first; a transparent one leaves whatever lies beneath.
void TestLabel::background()
{
    QFETCH(bool, transparent);
    QFETCH(QColor, color);
    QFETCH(QString, shows);
    PatternedParent parent;
    auto* label = new TLabel(&parent);
    label->setAutoSize(false);
    label->setGeometry(20, 10, 200, 80);
    label->setTransparent(transparent);
    if (color.isValid())
        label->setColor(color);
    label->setCaption("Ab");
    const QImage image = Grab(parent);
    // Away from the text, in the label's lower right part.
    for (int y = 60; y < 90; ++y) {
        for (int x = 150; x < 220; ++x) {
            QRgb want = PatternedParent::patternAt(x, y);
            if (shows == "own")
                want = color.rgb();
            else if (shows == "parent")
                want = PatternedParent::Color;
            QCOMPARE(image.pixel(x, y) | 0xFF000000u, want);
        }
    }
    // Outside the label the parent's own painting shows.
    QCOMPARE(image.pixel(250, 100) | 0xFF000000u, PatternedParent::patternAt(250, 100));
}

void TestLabel::textColourFromParent()
{
    PatternedParent parent;
    TLabel inherits(&parent);
    inherits.setCaption("MMMM");
    QCOMPARE(inherits.fontColor(), QColor(PatternedParent::TextColor));
    QCOMPARE(inherits.color(), QColor(PatternedParent::Color));
    QSet<QRgb> colours;
    const QImage image = Grab(inherits);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) | 0xFF000000u);
    QVERIFY(colours.contains(PatternedParent::TextColor));

    TLabel own(&parent);
    own.setFontColor(Qt::black);
    QCOMPARE(own.fontColor(), QColor(Qt::black));
    QCOMPARE(own.color(), QColor(PatternedParent::Color));
}

void TestLabel::ampersand_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<int>("underlined"); // index of the underlined character in plain, or -1
    QTest::newRow("double ampersand draws one") << "A&&B"
                                                << "A&B" << -1;
    QTest::newRow("accelerator underlines the next letter") << "&Plik"
                                                            << "Plik" << 0;
    QTest::newRow("accelerator inside") << "Za&kończ"
                                        << "Zakończ" << 2;
    QTest::newRow("both") << "R&&D &Widok"
                          << "R&D Widok" << 4;
}

// The label draws the plain text, the ampersands resolved; an accelerator adds an underline below
// the baseline under its letter. Text after an underlined letter may move by a fraction of a pixel,
// so there the comparison is by extent.
void TestLabel::ampersand()
{
    QFETCH(QString, caption);
    QFETCH(QString, plain);
    QFETCH(int, underlined);
    PatternedParent parent;
    TLabel* label = FixedLabel(&parent, caption, QSize(220, 40));
    const QImage drawn = Grab(*label);

    QImage expected(drawn.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        painter.setFont(label->font());
        painter.setPen(Qt::black);
        painter.drawText(expected.rect(), Qt::AlignLeft | Qt::AlignTop, plain);
    }
    if (underlined < 0) {
        QCOMPARE(drawn, expected);
        return;
    }

    const QFontMetrics metrics(label->font());
    const int letterLeft = metrics.horizontalAdvance(plain.left(underlined));
    const int letterRight = metrics.horizontalAdvance(plain.left(underlined + 1));
    // Before the accelerator's letter nothing differs (the underline may start a pixel early).
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < letterLeft - 1; ++x)
            QVERIFY2(drawn.pixel(x, y) == expected.pixel(x, y),
                     qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
    // The text ends where the plain text ends: no ampersand was drawn.
    const QRect drawnInk = InkBounds(drawn, 0xFFFFFFFFu);
    const QRect plainInk = InkBounds(expected, 0xFFFFFFFFu);
    QVERIFY2(qAbs(drawnInk.right() - plainInk.right()) <= 1,
             qPrintable(QStringLiteral("%1 against %2").arg(drawnInk.right()).arg(plainInk.right())));
    // A line under the letter, below the baseline, that the plain text does not have.
    int underline = 0;
    for (int y = metrics.ascent(); y < drawn.height(); ++y)
        for (int x = letterLeft; x < letterRight; ++x)
            underline += drawn.pixel(x, y) != expected.pixel(x, y);
    QVERIFY2(underline >= letterRight - letterLeft - 2, qPrintable(QString::number(underline)));
}

QTEST_MAIN(TestLabel)
#include "tst_label.moc"
