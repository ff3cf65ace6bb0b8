#pragma once

#include "base/TextEncoding.h"

#include <QByteArray>
#include <QString>

namespace zdawnik::testing {

inline QByteArray Bytes(const char* text, int size = -1)
{
    return size < 0 ? QByteArray(text) : QByteArray(text, size);
}

// The text's UTF-16 code units in the given byte order, behind a byte-order mark when marked.
inline QByteArray Utf16(const QString& text, TextEncoding order, bool marked = true)
{
    QByteArray bytes;
    for (const QChar unit : (marked ? QString(QChar(0xFEFF)) + text : text)) {
        const char low = char(unit.unicode() & 0xFF), high = char(unit.unicode() >> 8);
        bytes += order == TextEncoding::Utf16Le ? QByteArray(1, low) + high : QByteArray(1, high) + low;
    }
    return bytes;
}

} // namespace zdawnik::testing
