#include "check/MessageText.h"

namespace zdawnik {

namespace {

constexpr std::size_t MaxQuotedCharacters = 60;

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string Quoted(std::string_view utf8)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (IsContinuationByte(utf8[i]))
            continue;
        if (++characters > MaxQuotedCharacters)
            return "\"" + std::string(utf8.substr(0, i)) + "\xE2\x80\xA6\""; // "…"
    }
    return "\"" + std::string(utf8) + "\"";
}

std::string SizeText(QSize size)
{
    return std::to_string(size.width()) + " \xC3\x97 " + std::to_string(size.height()); // "×"
}

} // namespace zdawnik
