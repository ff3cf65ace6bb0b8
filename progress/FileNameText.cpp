#include "progress/FileNameText.h"

#include "base/TextEncoding.h"

namespace zdawnik {

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool StandsAsItIs(char c)
{
    return static_cast<unsigned char>(c) < 0x80 && c != '%';
}

} // namespace

void AppendFileNameText(std::string& text, std::string_view name)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::size_t i = 0;
    while (i < name.size()) {
        // Most names are plain ASCII: they are copied in runs.
        std::size_t run = i;
        while (run < name.size() && StandsAsItIs(name[run]))
            ++run;
        text.append(name, i, run - i);
        if (run == name.size())
            break;
        i = run;
        const std::size_t length = name[i] == '%' ? 0 : Utf8SequenceLength(name, i);
        if (length == 0) {
            const auto byte = static_cast<unsigned char>(name[i]);
            text += '%';
            text += Digits[byte >> 4];
            text += Digits[byte & 15];
            ++i;
        } else {
            text.append(name, i, length);
            i += length;
        }
    }
}

std::string FileNameToText(std::string_view name)
{
    std::string text;
    text.reserve(name.size());
    AppendFileNameText(text, name);
    return text;
}

std::optional<std::string> FileNameFromText(std::string_view text)
{
    std::string name;
    name.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        name += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return name;
}

} // namespace zdawnik
