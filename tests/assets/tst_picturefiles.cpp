// The built-in picture files byte by byte, as the program holds them: the containers, chunks and
// fields that decide how the window and the platform treat each picture.

#include "assets/BuiltInPictures.h"

#include <QFile>
#include <QtEndian>
#include <QtTest>

#include <zlib.h>

using namespace zdawnik::assets;

namespace {

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

quint16 Le16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 Le32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
qint32 LeInt32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<qint32>(b.constData() + at);
}
quint16 Be16(const QByteArray& b, qsizetype at)
{
    return qFromBigEndian<quint16>(b.constData() + at);
}
quint32 Be32(const QByteArray& b, qsizetype at)
{
    return qFromBigEndian<quint32>(b.constData() + at);
}
quint8 ByteAt(const QByteArray& b, qsizetype at)
{
    return static_cast<quint8>(b.at(at));
}

struct PngChunk
{
    QByteArray type;
    QByteArray data;
};

// Splits a PNG file into its chunks; fails the test on a bad signature, length or checksum.
QList<PngChunk> PngChunks(const QByteArray& file)
{
    QList<PngChunk> chunks;
    if (!file.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8))) {
        QTest::qFail("no PNG signature", __FILE__, __LINE__);
        return chunks;
    }
    qsizetype at = 8;
    while (at + 12 <= file.size()) {
        const quint32 length = Be32(file, at);
        if (at + 12 + qsizetype(length) > file.size()) {
            QTest::qFail("a chunk runs past the end of the file", __FILE__, __LINE__);
            return chunks;
        }
        const quint32 stored = Be32(file, at + 8 + length);
        // The checksum is computed here, so the test does not trust the writer's.
        const auto* typeAndData = reinterpret_cast<const Bytef*>(file.constData() + at + 4);
        if (crc32(0, typeAndData, uInt(4 + length)) != stored) {
            QTest::qFail("a chunk's checksum is wrong", __FILE__, __LINE__);
            return chunks;
        }
        chunks.append({file.mid(at + 4, 4), file.mid(at + 8, length)});
        at += 12 + length;
    }
    if (at != file.size())
        QTest::qFail("bytes after the last chunk", __FILE__, __LINE__);
    return chunks;
}

} // namespace

class TestPictureFiles : public QObject
{
    Q_OBJECT

private slots:
    void tickBitmap();
    void facePng_data();
    void facePng();
    void endPhotographJpeg();
    void iconAndCursor_data();
    void iconAndCursor();
    void desktopIcons();
};

void TestPictureFiles::tickBitmap()
{
    const QByteArray bmp = Bytes(ResourcePath(Picture::Tick));
    // 14 + 40 header bytes, 255 palette entries of 4 bytes, 50 rows padded to 52 bytes.
    QCOMPARE(bmp.size(), 3674);
    QVERIFY(bmp.startsWith("BM"));
    QCOMPARE(Le32(bmp, 2), 3674u);
    QCOMPARE(Le32(bmp, 10), 14u + 40u + 255u * 4u);
    QCOMPARE(Le32(bmp, 14), 40u); // BITMAPINFOHEADER
    QCOMPARE(LeInt32(bmp, 18), 50);
    QCOMPARE(LeInt32(bmp, 22), 50); // positive: bottom-up, so the last row read is the bottom one
    QCOMPARE(Le16(bmp, 26), quint16(1));
    QCOMPARE(Le16(bmp, 28), quint16(8));
    QCOMPARE(Le32(bmp, 30), 0u); // uncompressed
    QCOMPARE(Le32(bmp, 46), 255u);

    // The bottom-left pixel is the first byte of the pixel data; it must index pure white.
    const quint8 bottomLeft = ByteAt(bmp, 1074);
    QVERIFY(bottomLeft < 255);
    const qsizetype entry = 54 + 4 * bottomLeft;
    QCOMPARE(ByteAt(bmp, entry), quint8(255));
    QCOMPARE(ByteAt(bmp, entry + 1), quint8(255));
    QCOMPARE(ByteAt(bmp, entry + 2), quint8(255));

    // Every pixel indexes a palette entry, and no palette colour but the ground is pure white:
    // another white entry would key out pixels that were drawn to show.
    int whites = 0;
    for (int i = 0; i < 255; ++i) {
        const qsizetype e = 54 + 4 * i;
        if (ByteAt(bmp, e) == 255 && ByteAt(bmp, e + 1) == 255 && ByteAt(bmp, e + 2) == 255)
            ++whites;
    }
    QCOMPARE(whites, 1);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x)
            QVERIFY(ByteAt(bmp, 1074 + y * 52 + x) < 255);
    }
}

void TestPictureFiles::facePng_data()
{
    QTest::addColumn<Picture>("picture");
    QTest::addColumn<bool>("srgb");
    QTest::newRow("good") << Picture::GoodFace << true;
    QTest::newRow("partial") << Picture::PartialFace << false;
    QTest::newRow("wrong") << Picture::WrongFace << false;
}

void TestPictureFiles::facePng()
{
    QFETCH(Picture, picture);
    QFETCH(bool, srgb);
    const QList<PngChunk> chunks = PngChunks(Bytes(ResourcePath(picture)));
    QVERIFY(!chunks.isEmpty());

    QByteArrayList types;
    for (const PngChunk& chunk : chunks) {
        if (types.isEmpty() || types.last() != chunk.type)
            types.append(chunk.type);
    }
    // No palette, no transparency, nothing else the window's reader could act on.
    const QByteArrayList expected = srgb ? QByteArrayList{"IHDR", "gAMA", "sRGB", "IDAT", "IEND"}
                                         : QByteArrayList{"IHDR", "gAMA", "IDAT", "IEND"};
    QCOMPARE(types, expected);

    const QByteArray& header = chunks[0].data;
    QCOMPARE(header.size(), 13);
    QCOMPARE(Be32(header, 0), 63u);
    QCOMPARE(Be32(header, 4), 63u);
    QCOMPARE(ByteAt(header, 8), quint8(8));  // bits per channel
    QCOMPARE(ByteAt(header, 9), quint8(2));  // RGB, no alpha
    QCOMPARE(ByteAt(header, 12), quint8(0)); // not interlaced

    QCOMPARE(chunks[1].data.size(), 4);
    QCOMPARE(Be32(chunks[1].data, 0), 45455u);
    if (srgb) {
        QCOMPARE(chunks[2].data.size(), 1);
        QVERIFY(ByteAt(chunks[2].data, 0) <= 3); // a defined rendering intent
    }
}

void TestPictureFiles::endPhotographJpeg()
{
    const QByteArray jpeg = Bytes(ResourcePath(Picture::EndPhotograph));
    QVERIFY(jpeg.size() > 4);
    QCOMPARE(Be16(jpeg, 0), quint16(0xFFD8));
    QCOMPARE(Be16(jpeg, jpeg.size() - 2), quint16(0xFFD9));

    // The first segment is the JFIF header.
    QCOMPARE(Be16(jpeg, 2), quint16(0xFFE0));
    QCOMPARE(jpeg.mid(6, 5), QByteArray("JFIF\0", 5));
    QCOMPARE(ByteAt(jpeg, 11), quint8(1));
    QCOMPARE(ByteAt(jpeg, 12), quint8(1));
    QCOMPARE(ByteAt(jpeg, 13), quint8(1)); // dots per inch
    QCOMPARE(Be16(jpeg, 14), quint16(96));
    QCOMPARE(Be16(jpeg, 16), quint16(96));

    // Walk the segments up to the scan; exactly one frame header, and it is baseline.
    QList<quint8> frames;
    QByteArray frame;
    qsizetype at = 2;
    while (at + 4 <= jpeg.size()) {
        QCOMPARE(ByteAt(jpeg, at), quint8(0xFF));
        const quint8 marker = ByteAt(jpeg, at + 1);
        const quint16 length = Be16(jpeg, at + 2);
        const bool isFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (isFrame) {
            frames.append(marker);
            frame = jpeg.mid(at + 4, length - 2);
        }
        if (marker == 0xDA) // start of scan: entropy-coded data follows
            break;
        at += 2 + length;
    }
    QCOMPARE(frames, QList<quint8>{0xC0});
    QCOMPARE(frame.size(), 6 + 3 * 3);
    QCOMPARE(ByteAt(frame, 0), quint8(8)); // bits per sample
    QCOMPARE(Be16(frame, 1), quint16(484));
    QCOMPARE(Be16(frame, 3), quint16(347));
    QCOMPARE(ByteAt(frame, 5), quint8(3));
    // Luminance sampled 2 x 2 against the two colour channels' 1 x 1: chroma halved each way.
    QCOMPARE(ByteAt(frame, 6 + 1), quint8(0x22));
    QCOMPARE(ByteAt(frame, 9 + 1), quint8(0x11));
    QCOMPARE(ByteAt(frame, 12 + 1), quint8(0x11));
}

void TestPictureFiles::iconAndCursor_data()
{
    QTest::addColumn<Picture>("picture");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("field1"); // planes for an icon, hot spot x for a cursor
    QTest::addColumn<int>("field2"); // bits per pixel for an icon, hot spot y for a cursor
    QTest::addColumn<int>("bitsPerPixel");
    QTest::addColumn<int>("imageBytes");
    // 40 header bytes, the palette, the colour rows and the 32 mask rows of 4 bytes.
    QTest::newRow("icon") << Picture::ApplicationIcon << 1 << 16 << 1 << 4 << 4
                          << 40 + 16 * 4 + 32 * 16 + 32 * 4;
    QTest::newRow("cursor") << Picture::HandCursor << 2 << 2 << 7 << 1 << 1 << 40 + 2 * 4 + 32 * 4 + 32 * 4;
}

void TestPictureFiles::iconAndCursor()
{
    QFETCH(Picture, picture);
    QFETCH(int, type);
    QFETCH(int, colours);
    QFETCH(int, field1);
    QFETCH(int, field2);
    QFETCH(int, bitsPerPixel);
    QFETCH(int, imageBytes);
    const QByteArray file = Bytes(ResourcePath(picture));
    QCOMPARE(file.size(), 6 + 16 + imageBytes);
    QCOMPARE(Le16(file, 0), quint16(0));
    QCOMPARE(Le16(file, 2), quint16(type));
    QCOMPARE(Le16(file, 4), quint16(1)); // a single image
    QCOMPARE(ByteAt(file, 6), quint8(32));
    QCOMPARE(ByteAt(file, 7), quint8(32));
    QCOMPARE(ByteAt(file, 8), quint8(colours));
    QCOMPARE(Le16(file, 10), quint16(field1));
    QCOMPARE(Le16(file, 12), quint16(field2));
    QCOMPARE(Le32(file, 14), quint32(imageBytes));
    QCOMPARE(Le32(file, 18), 22u);

    QCOMPARE(Le32(file, 22), 40u);
    QCOMPARE(LeInt32(file, 26), 32);
    QCOMPARE(LeInt32(file, 30), 64); // colour rows and mask rows
    QCOMPARE(Le16(file, 34), quint16(1));
    QCOMPARE(Le16(file, 36), quint16(bitsPerPixel));
    QCOMPARE(Le32(file, 38), 0u);
}

void TestPictureFiles::desktopIcons()
{
    for (const int size : DesktopIconSizes()) {
        const QList<PngChunk> chunks = PngChunks(Bytes(DesktopIconResourcePath(size)));
        QVERIFY2(!chunks.isEmpty(), qPrintable(DesktopIconResourcePath(size)));
        QCOMPARE(chunks[0].type, QByteArray("IHDR"));
        QCOMPARE(Be32(chunks[0].data, 0), quint32(size));
        QCOMPARE(Be32(chunks[0].data, 4), quint32(size));
        QCOMPARE(ByteAt(chunks[0].data, 9), quint8(6)); // RGBA: a desktop icon has clear corners
    }
}

QTEST_GUILESS_MAIN(TestPictureFiles)
#include "tst_picturefiles.moc"
