#pragma once

#include "pictures/LittleEndian.h"
#include "pictures/PictureLoader.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRect>
#include <QString>
#include <QStringList>

namespace zdawnik::test {

inline QString PictureData(const QString& relative)
{
    return QStringLiteral(ZDAWNIK_TEST_DATA "/pictures/") + relative;
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The files of a test data folder, sorted, filtered by name.
inline QStringList FilesIn(const QString& relative, const QString& pattern)
{
    return QDir(PictureData(relative)).entryList({pattern}, QDir::Files, QDir::Name);
}

// The box around the pixels that are not (nearly) transparent; empty when there are none.
inline QRect InkBox(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) > 32)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// A picture in a format Qt writes: png, jpeg, bmp.
inline QByteArray Encoded(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// An icon file of one image stored as PNG, its directory giving the size 256 x 256 (a zero byte), as
// icon editors write large images.
inline QByteArray IconHoldingPng(const QByteArray& png)
{
    QByteArray icon;
    LittleEndian fields(icon);
    fields.u16(0);
    fields.u16(1);
    fields.u16(1);
    fields.u32(0); // 256 x 256, no palette
    fields.u16(1);
    fields.u16(32);
    fields.u32(quint32(png.size()));
    fields.u32(22);
    return icon + png;
}

// The tests' helper hangs on every metafile whose bytes begin with "HANG" and crashes on every one
// whose bytes begin with "CRASH".
inline PictureLoaderOptions FaultyHelper(int budgetMs, int shareMs)
{
    PictureLoaderOptions options;
    options.metafileHelper =
        QCoreApplication::applicationDirPath() + QStringLiteral("/zdawnik-metafile-faulty");
    options.questionBudgetMs = budgetMs;
    options.pictureShareMs = shareMs;
    return options;
}

} // namespace zdawnik::test
