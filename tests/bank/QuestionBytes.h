#pragma once

#include <QByteArray>

namespace zdawnik::testing {

inline QByteArray Bytes(const char* text, int size = -1)
{
    return size < 0 ? QByteArray(text) : QByteArray(text, size);
}

} // namespace zdawnik::testing
