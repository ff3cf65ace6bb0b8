#include "base/Utf16Decoder.h"

#include "base/Errors.h"

#include <array>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace zdawnik {

#ifdef _WIN32

Utf16Decoder::Utf16Decoder(TextEncoding byteOrder) : m_bigEndian(byteOrder == TextEncoding::Utf16Be) {}

Utf16Decoder::~Utf16Decoder() = default;

void Utf16Decoder::convertWholeUnits(std::string_view bytes, std::string& utf8)
{
    std::wstring units(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const unsigned first = static_cast<unsigned char>(bytes[2 * i]);
        const unsigned second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<wchar_t>(m_bigEndian ? first << 8 | second : second << 8 | first);
    }
    if (units.empty())
        return;
    // Without WC_ERR_INVALID_CHARS the system writes U+FFFD for an unpaired surrogate.
    const int count = static_cast<int>(units.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, units.data(), count, nullptr, 0, nullptr, nullptr);
    const std::size_t start = utf8.size();
    utf8.resize(start + static_cast<std::size_t>(size));
    WideCharToMultiByte(CP_UTF8, 0, units.data(), count, utf8.data() + start, size, nullptr, nullptr);
}

#else

Utf16Decoder::Utf16Decoder(TextEncoding byteOrder) : m_bigEndian(byteOrder == TextEncoding::Utf16Be)
{
    const iconv_t converter = iconv_open("UTF-8", m_bigEndian ? "UTF-16BE" : "UTF-16LE");
    if (converter == reinterpret_cast<iconv_t>(-1))
        throw EInOutError("UTF-16 text cannot be read: the system has no converter for it");
    m_converter = converter;
}

Utf16Decoder::~Utf16Decoder()
{
    iconv_close(static_cast<iconv_t>(m_converter));
}

void Utf16Decoder::convertWholeUnits(std::string_view bytes, std::string& utf8)
{
    const iconv_t converter = static_cast<iconv_t>(m_converter);
    char* in = const_cast<char*>(bytes.data()); // iconv's interface; the input is only read
    std::size_t inLeft = bytes.size();
    std::array<char, 4096> out;
    while (inLeft > 0) {
        char* outNext = out.data();
        std::size_t outLeft = out.size();
        const std::size_t done = iconv(converter, &in, &inLeft, &outNext, &outLeft);
        const int error = errno;
        utf8.append(out.data(), outNext);
        if (done != static_cast<std::size_t>(-1) || error == E2BIG)
            continue;
        // A surrogate without its partner (the only thing whole units can hold that is no
        // character): one U+FFFD for its unit, and on with the next.
        utf8 += ReplacementCharacter;
        const std::size_t skip = inLeft < 2 ? inLeft : 2;
        in += skip;
        inLeft -= skip;
    }
}

#endif

void Utf16Decoder::feed(std::string_view bytes, std::string& utf8)
{
    std::string joined;
    if (!m_pending.empty()) {
        // Rare: only a character cut by the end of the last piece.
        joined = m_pending;
        joined += bytes;
        bytes = joined;
    }
    // Whole units only, and never a first surrogate whose partner may come with the next piece.
    std::size_t whole = bytes.size() & ~std::size_t(1);
    if (whole >= 2) {
        const unsigned high = static_cast<unsigned char>(bytes[m_bigEndian ? whole - 2 : whole - 1]);
        if (high >= 0xD8 && high <= 0xDB)
            whole -= 2;
    }
    std::string pending(bytes.substr(whole));
    convertWholeUnits(bytes.substr(0, whole), utf8);
    m_pending = std::move(pending);
}

void Utf16Decoder::finish(std::string& utf8)
{
    // A first surrogate left alone, a lone byte, or both.
    for (std::size_t open = m_pending.size() / 2 + m_pending.size() % 2; open > 0; --open)
        utf8 += ReplacementCharacter;
    m_pending.clear();
}

} // namespace zdawnik
