#include "devtools/make-samples/IconFile.h"
#include "pictures/LittleEndian.h"
#include "pictures/PictureLoader.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <zlib.h>

#include "JpegSize.h"
#include "PictureTestFiles.h"

using namespace zdawnik;
using namespace zdawnik::test;

namespace {

// The size a PNG declares in its IHDR chunk.
QSize PngHeaderSize(const QByteArray& png)
{
    return QSize(int(qFromBigEndian<quint32>(png.constData() + 16)),
                 int(qFromBigEndian<quint32>(png.constData() + 20)));
}

// The size a BMP declares in its header, height as a count of rows whatever their order.
QSize BmpHeaderSize(const QByteArray& bmp)
{
    const char* d = bmp.constData();
    if (qFromLittleEndian<quint32>(d + 14) == 12)
        return QSize(qFromLittleEndian<quint16>(d + 18), qFromLittleEndian<quint16>(d + 20));
    return QSize(qAbs(qFromLittleEndian<qint32>(d + 18)), qAbs(qFromLittleEndian<qint32>(d + 22)));
}

std::filesystem::path PathOf(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Left half red, right half blue: which way round a picture came out shows at a glance.
QImage TwoColours(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, size.width() / 2, size.height()), Qt::red);
    painter.fillRect(QRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height()), Qt::blue);
    return image;
}

// A JPEG with a segment put in right after its start marker.
QByteArray WithSegment(const QByteArray& jpeg, char marker, const QByteArray& payload)
{
    const int length = int(payload.size()) + 2;
    QByteArray segment;
    segment.append(char(0xFF))
        .append(marker)
        .append(char(length >> 8))
        .append(char(length & 0xFF))
        .append(payload);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// An Exif segment holding nothing but the orientation tag, as a camera writes it.
QByteArray ExifOrientation(int orientation)
{
    QByteArray exif("Exif\0\0", 6);
    LittleEndian tiff(exif);
    tiff.bytes(std::string_view("II*\0", 4));
    tiff.u32(8);
    tiff.u16(1);
    tiff.u16(0x0112);
    tiff.u16(3);
    tiff.u32(1);
    tiff.u16(quint16(orientation));
    tiff.u16(0);
    tiff.u32(0);
    return exif;
}

// Writes a new size into a PNG's IHDR chunk, with the checksum that goes with it.
QByteArray WithPngSize(QByteArray png, quint32 width, quint32 height)
{
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.constData() + 12), 17);
    qToBigEndian(quint32(crc), png.data() + 29);
    return png;
}

// A JPEG whose scan data is lengthened by zero bytes, enough to code blocks of an image that large.
QByteArray WithScanPadding(const QByteArray& jpeg, qsizetype bytes)
{
    return jpeg.chopped(2) + QByteArray(bytes, '\0') + jpeg.right(2);
}

} // namespace

class TestRasterPictures : public QObject
{
    Q_OBJECT

private slots:
    void pngSuite_data();
    void pngSuite();
    void bmpGood_data();
    void bmpGood();
    void bmpBadAndQuestionable_data();
    void bmpBadAndQuestionable();
    void jpegSamples_data();
    void jpegSamples();
    void progressiveJpeg();
    void orientation_data();
    void orientation();
    void cutShort_data();
    void cutShort();
    void thumbnailEndMarker();
    void sizeNoScreenNeeds_data();
    void sizeNoScreenNeeds();
    void largeButAllowed();
    void decodeMemory_data();
    void decodeMemory();
    void jpegDataMissing_data();
    void jpegDataMissing();
    void turnedJpegInAPlace_data();
    void turnedJpegInAPlace();
    void iconLargestImage_data();
    void iconLargestImage();
    void iconHoldingPng();
    void names_data();
    void names();
    void nameBytesNotText();

private:
    PictureLoader m_pictures;
};

void TestRasterPictures::pngSuite_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = FilesIn(QStringLiteral("pngsuite"), QStringLiteral("*.png"));
    QVERIFY(files.size() > 150);
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << file;
}

void TestRasterPictures::pngSuite()
{
    QFETCH(QString, file);
    const QString path = PictureData(QStringLiteral("pngsuite/") + file);
    const PictureResult result = m_pictures.Load(PathOf(path));
    // The suite marks its deliberately corrupt files with a leading x.
    if (file.startsWith(QLatin1Char('x'))) {
        QVERIFY2(!result.ok(), "a corrupt file was accepted");
        QVERIFY(result.image.isNull());
        return;
    }
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.size(), PngHeaderSize(ReadBytes(path)));
    QVERIFY(!result.bitmap);
}

void TestRasterPictures::bmpGood_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = FilesIn(QStringLiteral("bmpsuite/g"), QStringLiteral("*.bmp"));
    QVERIFY(files.size() > 20);
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << file;
}

void TestRasterPictures::bmpGood()
{
    QFETCH(QString, file);
    const QString path = PictureData(QStringLiteral("bmpsuite/g/") + file);
    const PictureResult result = m_pictures.Load(PathOf(path));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.size(), BmpHeaderSize(ReadBytes(path)));
    QVERIFY(result.bitmap);
}

void TestRasterPictures::bmpBadAndQuestionable_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("mustRefuse");
    // Files that are damaged beyond doubt: cut short, of an impossible size or structure.
    const QStringList damaged = {
        QStringLiteral("b/shortfile.bmp"),     QStringLiteral("b/reallybig.bmp"),
        QStringLiteral("b/rletopdown.bmp"),    QStringLiteral("b/badbitcount.bmp"),
        QStringLiteral("b/badheadersize.bmp"), QStringLiteral("b/badplanes.bmp"),
        QStringLiteral("b/badwidth.bmp"),      QStringLiteral("b/badpalettesize.bmp")};
    for (const QString& folder : {QStringLiteral("b"), QStringLiteral("q")}) {
        for (const QString& name : FilesIn(QStringLiteral("bmpsuite/") + folder, QStringLiteral("*.bmp"))) {
            const QString file = folder + QLatin1Char('/') + name;
            QTest::newRow(qPrintable(file)) << file << damaged.contains(file);
        }
    }
}

void TestRasterPictures::bmpBadAndQuestionable()
{
    QFETCH(QString, file);
    QFETCH(bool, mustRefuse);
    const QString path = PictureData(QStringLiteral("bmpsuite/") + file);
    const PictureResult result = m_pictures.Load(PathOf(path));
    if (mustRefuse) {
        QVERIFY2(!result.ok(), "a damaged file was accepted");
        return;
    }
    // Readers differ on these; whatever is shown must be whole, at the size the file declares.
    if (result.ok())
        QCOMPARE(result.image.size(), BmpHeaderSize(ReadBytes(path)));
    else
        QVERIFY(result.image.isNull());
}

void TestRasterPictures::jpegSamples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("expected"); // 1 loads, 0 refused, -1 either
    QTest::newRow("baseline") << QStringLiteral("testorig.jpg") << 1;
    QTest::newRow("baseline, integer transform") << QStringLiteral("testimgint.jpg") << 1;
    QTest::newRow("12-bit precision") << QStringLiteral("monkey12.jpg") << 0;
    QTest::newRow("arithmetic coding") << QStringLiteral("testimgari.jpg") << -1;
}

void TestRasterPictures::jpegSamples()
{
    QFETCH(QString, file);
    QFETCH(int, expected);
    const PictureResult result = m_pictures.Load(PathOf(PictureData(QStringLiteral("jpeg/") + file)));
    if (expected == 0) {
        QVERIFY(!result.ok());
        return;
    }
    if (expected == 1)
        QVERIFY2(result.ok(), qPrintable(result.error));
    if (result.ok())
        QCOMPARE(result.image.size(), QSize(227, 149));
}

void TestRasterPictures::progressiveJpeg()
{
    const QByteArray jpeg = Encoded(TwoColours(QSize(64, 48)), "jpeg", true);
    QVERIFY2(jpeg.contains("\xFF\xC2"), "the writer made no progressive frame");
    const PictureResult result = m_pictures.Decode(jpeg, QStringLiteral("jpg"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.size(), QSize(64, 48));
    QVERIFY(qRed(result.image.pixel(8, 24)) > 200 && qBlue(result.image.pixel(56, 24)) > 200);
}

void TestRasterPictures::orientation_data()
{
    QTest::addColumn<int>("tag");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("red");  // a point that must come out red
    QTest::addColumn<QPoint>("blue"); // and one that must come out blue
    QTest::newRow("upright") << 1 << QSize(40, 20) << QPoint(5, 10) << QPoint(35, 10);
    QTest::newRow("upside down") << 3 << QSize(40, 20) << QPoint(35, 10) << QPoint(5, 10);
    QTest::newRow("turned right") << 6 << QSize(20, 40) << QPoint(10, 5) << QPoint(10, 35);
    QTest::newRow("turned left") << 8 << QSize(20, 40) << QPoint(10, 35) << QPoint(10, 5);
}

void TestRasterPictures::orientation()
{
    QFETCH(int, tag);
    QFETCH(QSize, size);
    QFETCH(QPoint, red);
    QFETCH(QPoint, blue);
    const QByteArray jpeg =
        WithSegment(Encoded(TwoColours(QSize(40, 20)), "jpeg"), char(0xE1), ExifOrientation(tag));
    const PictureResult result = m_pictures.Decode(jpeg, QStringLiteral("JPEG"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.size(), size);
    QVERIFY(qRed(result.image.pixel(red)) > 200 && qBlue(result.image.pixel(red)) < 60);
    QVERIFY(qBlue(result.image.pixel(blue)) > 200 && qRed(result.image.pixel(blue)) < 60);
}

void TestRasterPictures::cutShort_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("extension");
    const QByteArray png = ReadBytes(PictureData(QStringLiteral("pngsuite/basn2c08.png")));
    const QByteArray interlaced = ReadBytes(PictureData(QStringLiteral("pngsuite/basi6a16.png")));
    const QByteArray jpeg = ReadBytes(PictureData(QStringLiteral("jpeg/testorig.jpg")));
    const QByteArray progressive = Encoded(TwoColours(QSize(64, 48)), "jpeg", true);
    const QByteArray bmp = ReadBytes(PictureData(QStringLiteral("bmpsuite/g/rgb24.bmp")));
    const QByteArray bmp8 = ReadBytes(PictureData(QStringLiteral("bmpsuite/g/pal8.bmp")));
    const QByteArray rle = ReadBytes(PictureData(QStringLiteral("bmpsuite/g/pal8rle.bmp")));
    const QByteArray icon = EncodeIcon({TwoColours(QSize(16, 16)), TwoColours(QSize(48, 48))});
    QVERIFY(!png.isEmpty() && !jpeg.isEmpty() && !bmp.isEmpty());
    const int bmpRow = (127 * 24 + 31) / 32 * 4;
    QTest::newRow("png, half") << png.left(png.size() / 2) << "png";
    QTest::newRow("png, without its end chunk") << png.chopped(12) << "png";
    QTest::newRow("png, interlaced, at 90%") << interlaced.left(interlaced.size() * 9 / 10) << "png";
    QTest::newRow("jpeg, half") << jpeg.left(jpeg.size() / 2) << "jpg";
    QTest::newRow("jpeg, without its end marker") << jpeg.chopped(2) << "jpg";
    QTest::newRow("jpeg, progressive, at 80%") << progressive.left(progressive.size() * 8 / 10) << "jpeg";
    QTest::newRow("bmp, without its last row") << bmp.chopped(bmpRow) << "bmp";
    QTest::newRow("bmp, half") << bmp.left(bmp.size() / 2) << "bmp";
    QTest::newRow("bmp, 8-bit, one byte short") << bmp8.chopped(1) << "bmp";
    QTest::newRow("bmp, compressed, half") << rle.left(rle.size() / 2) << "bmp";
    QTest::newRow("ico, without the end of its last image") << icon.chopped(10) << "ico";
    QTest::newRow("header only") << png.left(33) << "png";
}

void TestRasterPictures::cutShort()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, extension);
    const PictureResult result = m_pictures.Decode(data, extension);
    QVERIFY2(!result.ok(), "a file cut short was accepted");
    QVERIFY(result.image.isNull());
}

void TestRasterPictures::thumbnailEndMarker()
{
    // Cameras put a small JPEG of the photo inside an application segment, end marker and all.
    const QByteArray thumbnail = Encoded(TwoColours(QSize(16, 12)), "jpeg");
    const QByteArray photo = WithSegment(Encoded(TwoColours(QSize(160, 120)), "jpeg"), char(0xE1),
                                         QByteArray("Exif\0\0", 6) + thumbnail);
    const PictureResult whole = m_pictures.Decode(photo, QStringLiteral("jpg"));
    QVERIFY2(whole.ok(), qPrintable(whole.error));
    QCOMPARE(whole.image.size(), QSize(160, 120));

    const qsizetype afterThumbnail = photo.indexOf(thumbnail) + thumbnail.size();
    const QByteArray cut = photo.left(afterThumbnail + (photo.size() - afterThumbnail) / 2);
    QVERIFY(!m_pictures.Decode(cut, QStringLiteral("jpg")).ok());
}

void TestRasterPictures::sizeNoScreenNeeds_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("extension");
    const QByteArray png = ReadBytes(PictureData(QStringLiteral("pngsuite/basn2c08.png")));
    const QByteArray jpeg = ReadBytes(PictureData(QStringLiteral("jpeg/testorig.jpg")));
    QTest::newRow("png, 20000 x 20000") << WithPngSize(png, 20000, 20000) << "png";
    QTest::newRow("png, 16385 wide") << WithPngSize(png, 16385, 1) << "png";
    QTest::newRow("png, 100000 high") << WithPngSize(png, 1, 100000) << "png";
    // The scans are lengthened to what images that large need at the least, so that the files are
    // refused for their size and not for missing data.
    QTest::newRow("jpeg, 20000 x 20000")
        << WithScanPadding(WithJpegSize(jpeg, 20000, 20000), 1300000) << "jpg";
    QTest::newRow("jpeg, 9000 x 9000 (81 megapixels)")
        << WithScanPadding(WithJpegSize(jpeg, 9000, 9000), 300000) << "jpg";
    // Qt's icon reader reports the directory's size for an image stored as PNG but decodes the PNG at
    // its own: the PNG's size is the one judged.
    QTest::newRow("ico holding a png 16385 wide")
        << IconHoldingPng(Encoded(TwoColours(QSize(16385, 2)), "png")) << "ico";
    QTest::newRow("ico holding a png of 9000 x 9000")
        << IconHoldingPng(WithPngSize(png, 9000, 9000)) << "ico";
}

void TestRasterPictures::sizeNoScreenNeeds()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, extension);
    QVERIFY(!data.isEmpty());
    const PictureResult result = m_pictures.Decode(data, extension);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(QLatin1String("too large")), qPrintable(result.error));
}

void TestRasterPictures::largeButAllowed()
{
    // 48 megapixels of RGBA, as a camera's photograph with transparency would be: within the limits,
    // though more than Qt's readers take by default.
    QImage photo(8000, 6000, QImage::Format_ARGB32);
    photo.fill(QColor(20, 120, 220, 200));
    const QByteArray png = Encoded(photo, "png");
    photo = QImage();
    const PictureResult result = m_pictures.Decode(png, QStringLiteral("png"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.size(), QSize(8000, 6000));
}

void TestRasterPictures::decodeMemory_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("tooLarge");
    // 6000 x 6000 pixels take 144 MB at 8 bits a channel and 288 MB at 16: only the first is
    // decoded. (The files are cut short behind their headers, so a decode fails soon after.)
    QTest::newRow("8-bit RGBA") << "basn6a08.png" << QSize(6000, 6000) << false;
    QTest::newRow("16-bit RGBA") << "basn6a16.png" << QSize(6000, 6000) << true;
    QTest::newRow("16-bit RGBA, 5000 x 5000 (200 MB)") << "basn6a16.png" << QSize(5000, 5000) << false;
}

void TestRasterPictures::decodeMemory()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(bool, tooLarge);
    const QByteArray png = ReadBytes(PictureData(QStringLiteral("pngsuite/") + file));
    QVERIFY(!png.isEmpty());
    const PictureResult result = m_pictures.Decode(
        WithPngSize(png, quint32(size.width()), quint32(size.height())), QStringLiteral("png"));
    QVERIFY(!result.ok());
    QCOMPARE(result.error.contains(QLatin1String("too large")), tooLarge);
}

void TestRasterPictures::jpegDataMissing_data()
{
    QTest::addColumn<QByteArray>("jpeg");
    QTest::addColumn<bool>("damaged");
    const QByteArray baseline = ReadBytes(PictureData(QStringLiteral("jpeg/testorig.jpg")));
    const QByteArray progressive = Encoded(TwoColours(QSize(64, 48)), "jpeg", true);
    QVERIFY(!baseline.isEmpty());
    // A few hundred bytes of scans cannot code the blocks of a picture of many megapixels, though
    // every marker is in place: Qt's reader would fill the rest in grey and call it a picture.
    QTest::newRow("progressive, declaring 16384 x 4096") << WithJpegSize(progressive, 16384, 4096) << true;
    QTest::newRow("baseline, declaring 4000 x 3000") << WithJpegSize(baseline, 4000, 3000) << true;
    QTest::newRow("baseline as written") << baseline << false;
    QTest::newRow("progressive as written") << progressive << false;
}

void TestRasterPictures::jpegDataMissing()
{
    QFETCH(QByteArray, jpeg);
    QFETCH(bool, damaged);
    const PictureResult result = m_pictures.Decode(jpeg, QStringLiteral("jpg"));
    if (!damaged) {
        QVERIFY2(result.ok(), qPrintable(result.error));
        return;
    }
    QVERIFY(!result.ok());
    QVERIFY(result.image.isNull());
    QVERIFY2(result.error.startsWith(QLatin1String("Damaged JPEG")), qPrintable(result.error));
}

void TestRasterPictures::turnedJpegInAPlace_data()
{
    QTest::addColumn<int>("tag");
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<QPoint>("red");  // a point of the kept part that must come out red
    QTest::addColumn<QPoint>("blue"); // and one that must come out blue
    // 400 x 60 pictures, left half red: in a place 100 x 100 the middle stretch is kept, after the
    // picture has been turned upright.
    QTest::newRow("upright") << 1 << QSize(400, 60) << QPoint(40, 30) << QPoint(60, 30);
    QTest::newRow("upside down") << 3 << QSize(400, 60) << QPoint(60, 30) << QPoint(40, 30);
    QTest::newRow("turned right") << 6 << QSize(60, 400) << QPoint(30, 40) << QPoint(30, 60);
    QTest::newRow("turned left") << 8 << QSize(60, 400) << QPoint(30, 60) << QPoint(30, 40);
}

void TestRasterPictures::turnedJpegInAPlace()
{
    QFETCH(int, tag);
    QFETCH(QSize, natural);
    QFETCH(QPoint, red);
    QFETCH(QPoint, blue);
    const QByteArray jpeg =
        WithSegment(Encoded(TwoColours(QSize(400, 60)), "jpeg"), char(0xE1), ExifOrientation(tag));
    const PictureResult result = m_pictures.Decode(jpeg, QStringLiteral("jpg"), QSize(100, 100));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.naturalSize, natural);
    QCOMPARE(result.image.size(), natural.boundedTo(QSize(100, 100)));
    QVERIFY(qRed(result.image.pixel(red)) > 200 && qBlue(result.image.pixel(red)) < 60);
    QVERIFY(qBlue(result.image.pixel(blue)) > 200 && qRed(result.image.pixel(blue)) < 60);
}

void TestRasterPictures::iconLargestImage_data()
{
    QTest::addColumn<QList<int>>("sides");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("largest last") << QList<int>{16, 32, 48} << QSize(48, 48);
    QTest::newRow("largest first") << QList<int>{64, 16, 32} << QSize(64, 64);
    QTest::newRow("largest between") << QList<int>{16, 256, 24} << QSize(256, 256);
    QTest::newRow("one image") << QList<int>{24} << QSize(24, 24);
}

void TestRasterPictures::iconLargestImage()
{
    QFETCH(QList<int>, sides);
    QFETCH(QSize, expected);
    QList<QImage> images;
    for (int side : sides)
        images << TwoColours(QSize(side, side));
    const PictureResult result = m_pictures.Decode(EncodeIcon(images), QStringLiteral("ico"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.size(), expected);
    QVERIFY(!result.bitmap);
}

void TestRasterPictures::iconHoldingPng()
{
    // Wider than the 256 pixels an icon's directory can tell: loaded at the PNG's own size.
    const PictureResult result =
        m_pictures.Decode(IconHoldingPng(Encoded(TwoColours(QSize(300, 20)), "png")), QStringLiteral("ico"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.size(), QSize(300, 20));
    QVERIFY(!result.bitmap);
}

void TestRasterPictures::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("content"); // a test file to copy there, "" for an empty file, "-" for none
    QTest::addColumn<bool>("loads");
    const QString png = QStringLiteral("pngsuite/basn2c08.png");
    const QString jpeg = QStringLiteral("jpeg/testorig.jpg");
    QTest::newRow("extension in capitals") << "pic.PNG" << png << true;
    QTest::newRow("extension in mixed case") << "pic.JpEg" << jpeg << true;
    QTest::newRow("several dots, the last counts") << "pic.jpg.png" << png << true;
    QTest::newRow("content of another format") << "pic.png.jpg" << png << false;
    QTest::newRow("extension outside the table") << "pic.gif" << png << false;
    QTest::newRow("no extension") << "pic" << png << false;
    QTest::newRow("nothing after the dot") << "pic." << png << false;
    QTest::newRow("empty file") << "empty.png"
                                << "" << false;
    QTest::newRow("missing file") << "missing.png"
                                  << "-" << false;
}

void TestRasterPictures::names()
{
    QFETCH(QString, name);
    QFETCH(QString, content);
    QFETCH(bool, loads);
    QTemporaryDir directory;
    const QString path = directory.filePath(name);
    if (content != QLatin1String("-")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (!content.isEmpty())
            file.write(ReadBytes(PictureData(content)));
    }
    const PictureResult result = m_pictures.Load(PathOf(path));
    QCOMPARE(result.ok(), loads);
    QCOMPARE(result.image.isNull(), !loads);
    if (!loads)
        QVERIFY(!result.error.isEmpty());
}

void TestRasterPictures::nameBytesNotText()
{
    // A directory named like a picture, an empty name, and a name whose bytes are no UTF-8 (a
    // Windows-1250 "łódź.png"): the name goes to the system as it stands.
    QTemporaryDir directory;
    QVERIFY(QDir(directory.path()).mkdir(QStringLiteral("folder.png")));
    QVERIFY(!m_pictures.Load(PathOf(directory.filePath(QStringLiteral("folder.png")))).ok());
    QVERIFY(!m_pictures.Load(std::filesystem::path()).ok());

    const std::filesystem::path odd = PathOf(directory.path()) / std::string("\xB3\xF3\x64\x9F.png");
    {
        const QByteArray png = ReadBytes(PictureData(QStringLiteral("pngsuite/basn2c08.png")));
        std::ofstream file(odd, std::ios::binary);
        file.write(png.constData(), png.size());
    }
    const PictureResult result = m_pictures.Load(odd);
    std::filesystem::remove(odd); // QTemporaryDir cannot remove names that are no UTF-8
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.size(), QSize(32, 32));
}

QTEST_MAIN(TestRasterPictures)
#include "tst_rasterpictures.moc"
