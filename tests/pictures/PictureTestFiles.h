#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
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

} // namespace zdawnik::test
