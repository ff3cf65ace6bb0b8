#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>

#include <filesystem>
#include <fstream>

// Question files in the tests are written as UTF-8 source and stored in Windows-1250, as most banks
// are: the Polish letters the tests use, each one byte.
inline QByteArray Windows1250(const QString& text)
{
    static const QString Letters = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    static const char* const Bytes =
        "\xb9\xe6\xea\xb3\xf1\xf3\x9c\x9f\xbf\xa5\xc6\xca\xa3\xd1\xd3\x8c\x8f\xaf";
    QByteArray bytes;
    for (const QChar c : text) {
        const qsizetype letter = Letters.indexOf(c);
        bytes += letter >= 0 ? Bytes[letter] : char(c.unicode());
    }
    return bytes;
}

// The text in UTF-16 of either byte order, behind its byte-order mark or without one.
inline QByteArray Utf16(const QString& text, bool bigEndian, bool mark)
{
    QByteArray bytes;
    for (const QChar c : (mark ? QStringLiteral("\uFEFF") : QString()) + text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes += bigEndian ? QByteArray{&high, 1} + low : QByteArray{&low, 1} + high;
    }
    return bytes;
}

inline void WriteFile(const std::filesystem::path& file, const QByteArray& bytes)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.constData(), bytes.size());
}

// A PNG of one colour and the given size.
inline QByteArray PngOfSize(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
