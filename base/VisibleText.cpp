#include "base/VisibleText.h"

#include "base/TextEncoding.h"

#include <cstdio>

namespace zdawnik {

namespace {

std::string Hex(const char* format, unsigned value)
{
    char escaped[16];
    std::snprintf(escaped, sizeof escaped, format, value);
    return escaped;
}

// Characters that move the cursor, ring, switch the terminal's modes or turn the text around.
bool IsHidden(char32_t point)
{
    return point < 0x20 || (point >= 0x7F && point <= 0x9F) || (point >= 0x200E && point <= 0x200F) ||
           (point >= 0x2028 && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069);
}

std::string Escape(char32_t point)
{
    switch (point) {
    case 0:
        return "\\0";
    case '\t':
        return "\\t";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    default:
        return point < 0x80 ? Hex("\\x%02X", point) : Hex("\\u%04X", point);
    }
}

} // namespace

std::string VisibleText(std::string_view utf8)
{
    std::string visible;
    visible.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = Utf8SequenceLength(utf8, i);
        if (length == 0) {
            visible += Hex("\\x%02X", static_cast<unsigned char>(utf8[i]));
            ++i;
            continue;
        }
        const char32_t point = DecodeUtf8(utf8.substr(i, length)).front();
        if (IsHidden(point))
            visible += Escape(point);
        else
            visible.append(utf8, i, length);
        i += length;
    }
    return visible;
}

} // namespace zdawnik
