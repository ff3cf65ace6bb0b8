#include "widgets/TBltBitmap.h"

#include <QtTest>

#include <random>

using namespace zdawnik;

namespace {

// The plain meaning of each operation, pixel by pixel.
struct Model
{
    QImage image;

    void fillRect(const TRect& rect, QRgb color)
    {
        for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, image.height()); ++y)
            for (int x = std::max(rect.left, 0); x < std::min(rect.right, image.width()); ++x)
                image.setPixel(x, y, color | 0xFF000000u);
    }
    void combineXor(const QImage& source)
    {
        for (int y = 0; y < std::min(image.height(), source.height()); ++y)
            for (int x = 0; x < std::min(image.width(), source.width()); ++x)
                image.setPixel(x, y, (image.pixel(x, y) ^ source.pixel(x, y)) | 0xFF000000u);
    }
};

QString Describe(const QImage& got, const QImage& want)
{
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if ((got.pixel(x, y) | 0xFF000000u) != (want.pixel(x, y) | 0xFF000000u))
                return QStringLiteral("pixel (%1, %2): %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(got.pixel(x, y) & 0xFFFFFFu, 6, 16, QChar('0'))
                    .arg(want.pixel(x, y) & 0xFFFFFFu, 6, 16, QChar('0'));
    return {};
}

} // namespace

class TestBltBitmap : public QObject
{
    Q_OBJECT

private slots:
    void matchesPlainOperations_data();
    void matchesPlainOperations();
    void copiesHandedOutStayUnchanged();
};

void TestBltBitmap::matchesPlainOperations_data()
{
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 12; ++seed)
        QTest::addRow("seed %d", seed) << seed;
}

// Random sequences of fills and combinations, some of them on images of other sizes, give exactly
// the pixels the operations mean, whether read one by one or as a whole.
void TestBltBitmap::matchesPlainOperations()
{
    QFETCH(int, seed);
    std::mt19937 random(seed);
    const auto below = [&](int n) { return int(random() % unsigned(n)); };
    const auto color = [&] { return QRgb(random() & 0xFFFFFFu) | (below(4) == 0 ? 0u : 0xFF000000u); };
    const QSize sizes[] = {QSize(7, 5), QSize(7, 5), QSize(4, 9)};
    TBltBitmap bitmaps[3];
    Model models[3];
    for (int i = 0; i < 3; ++i) {
        bitmaps[i].setSize(sizes[i]);
        bitmaps[i].fill(0);
        models[i].image = QImage(sizes[i], QImage::Format_RGB32);
        models[i].image.fill(0xFF000000u);
    }
    for (int step = 0; step < 600; ++step) {
        const int target = below(3);
        TBltBitmap& bitmap = bitmaps[target];
        Model& model = models[target];
        QString operation;
        switch (below(6)) {
        case 0: {
            const QRgb c = color();
            bitmap.fill(c);
            model.image.fill(c | 0xFF000000u);
            operation = "fill";
            break;
        }
        case 1:
        case 2: {
            const TRect rect{below(12) - 3, below(12) - 3, below(14) - 3, below(14) - 3};
            const QRgb c = color();
            bitmap.fillRect(rect, c);
            model.fillRect(rect, c);
            operation = QStringLiteral("fillRect %1 %2 %3 %4")
                            .arg(rect.left)
                            .arg(rect.top)
                            .arg(rect.right)
                            .arg(rect.bottom);
            break;
        }
        case 3: {
            const int source = below(3);
            if (source == target)
                continue;
            bitmap.combineXor(bitmaps[source]);
            model.combineXor(models[source].image);
            operation = QStringLiteral("combineXor from %1").arg(source);
            break;
        }
        case 4: {
            // A source given away may be left black: both sides make it black afterwards.
            const int source = below(3);
            if (source == target)
                continue;
            bitmap.combineXor(std::move(bitmaps[source]));
            model.combineXor(models[source].image);
            bitmaps[source].fill(0);
            models[source].image.fill(0xFF000000u);
            operation = QStringLiteral("combineXor taking %1").arg(source);
            break;
        }
        default:
            // Reading single pixels tells what is pending without writing it out.
            for (int y = 0; y < sizes[target].height(); ++y)
                for (int x = 0; x < sizes[target].width(); ++x)
                    QCOMPARE(bitmap.pixel(x, y) | 0xFF000000u, model.image.pixel(x, y) | 0xFF000000u);
            continue;
        }
        if (below(4) == 0) {
            const QString mismatch = Describe(bitmap.image(), model.image);
            QVERIFY2(mismatch.isEmpty(),
                     qPrintable(QStringLiteral("step %1, %2: %3").arg(step).arg(operation, mismatch)));
        }
    }
}

void TestBltBitmap::copiesHandedOutStayUnchanged()
{
    TBltBitmap bitmap;
    bitmap.setSize(QSize(6, 4));
    bitmap.fill(0xFF112233u);
    bitmap.fillRect({1, 1, 5, 3}, 0xFF445566u);
    const QImage kept = bitmap.image();
    const QImage before = kept.copy();
    bitmap.fillRect({0, 0, 3, 4}, 0xFF778899u);
    TBltBitmap other;
    other.makeLike(bitmap, 0xFF000000u);
    other.fill(0xFF0000FFu);
    bitmap.combineXor(other);
    QVERIFY(bitmap.image() != before);
    QCOMPARE(kept, before);
}

QTEST_MAIN(TestBltBitmap)
#include "tst_bltbitmap.moc"
