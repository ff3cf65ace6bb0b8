#include "base/TextEncoding.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace zdawnik {

namespace {

// What a UTF-8 lead byte promises: the length of its sequence (1 for ASCII, 0 for a byte that starts
// no sequence) and the bounds of the byte after it. Later continuation bytes are always 0x80..0xBF;
// the tighter bounds of the second byte shut out overlong forms, surrogates and code points past
// U+10FFFF.
struct Utf8Lead
{
    std::size_t length;
    unsigned lowest;
    unsigned highest;
};

constexpr Utf8Lead LeadOf(unsigned byte)
{
    if (byte < 0x80)
        return {1, 0x80, 0xBF};
    if (byte >= 0xC2 && byte <= 0xDF)
        return {2, 0x80, 0xBF};
    if (byte >= 0xE0 && byte <= 0xEF)
        return {3, byte == 0xE0 ? 0xA0u : 0x80u, byte == 0xED ? 0x9Fu : 0xBFu};
    if (byte >= 0xF0 && byte <= 0xF4)
        return {4, byte == 0xF0 ? 0x90u : 0x80u, byte == 0xF4 ? 0x8Fu : 0xBFu};
    return {0, 0, 0};
}

// Length of the valid UTF-8 sequence that starts at text[i], or 0 when none starts there.
std::size_t SequenceLength(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const Utf8Lead lead = LeadOf(byte(i));
    if (lead.length == 0 || i + lead.length > text.size())
        return 0;
    unsigned lowest = lead.lowest, highest = lead.highest;
    for (std::size_t k = 1; k < lead.length; ++k) {
        const unsigned next = byte(i + k);
        if (next < lowest || next > highest)
            return 0;
        lowest = 0x80;
        highest = 0xBF;
    }
    return lead.length;
}

// The position of the first byte at or after i that is not ASCII, or the text's size. Runs of ASCII,
// most of any question file, are passed over in blocks.
std::size_t SkipAscii(std::string_view text, std::size_t i)
{
    const char* bytes = text.data();
    const std::size_t size = text.size();
#if defined(__SSE2__) || defined(_M_X64)
    for (; i + 64 <= size; i += 64) {
        const auto load = [&](std::size_t at) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        };
        const __m128i any =
            _mm_or_si128(_mm_or_si128(load(i), load(i + 16)), _mm_or_si128(load(i + 32), load(i + 48)));
        if (_mm_movemask_epi8(any) != 0)
            break;
    }
#endif
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        if ((word & 0x8080808080808080u) != 0)
            break;
    }
    while (i < size && static_cast<unsigned char>(bytes[i]) < 0x80)
        ++i;
    return i;
}

using CodePageTable = std::array<std::string, 256>;

// The code page's 256 characters as UTF-8, taken once from the system's own converter.
const CodePageTable& Windows1250Table()
{
    static const CodePageTable table = [] {
        CodePageTable result;
        for (int b = 0; b < 256; ++b) {
            char in = static_cast<char>(b);
#ifdef _WIN32
            wchar_t wide[2] = {};
            char out[8] = {};
            int converted = MultiByteToWideChar(1250, MB_ERR_INVALID_CHARS, &in, 1, wide, 2);
            int written = converted > 0 ? WideCharToMultiByte(CP_UTF8, 0, wide, converted, out, sizeof out,
                                                              nullptr, nullptr)
                                        : 0;
            result[b] = written > 0 ? std::string(out, written) : std::string(ReplacementCharacter);
#else
            static iconv_t converter = iconv_open("UTF-8", "CP1250");
            char out[8] = {};
            char* inPtr = &in;
            char* outPtr = out;
            std::size_t inLeft = 1, outLeft = sizeof out;
            if (b < 0x80)
                result[b] = std::string(1, in);
            else if (converter != reinterpret_cast<iconv_t>(-1) &&
                     iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1))
                result[b] = std::string(out, outPtr);
            else {
                if (converter != reinterpret_cast<iconv_t>(-1))
                    iconv(converter, nullptr, nullptr, nullptr, nullptr);
                result[b] = std::string(ReplacementCharacter);
            }
#endif
        }
        return result;
    }();
    return table;
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i)
{
    return SequenceLength(text, i);
}

const char* EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return "utf-8";
    case TextEncoding::Utf16Le:
        return "utf-16le";
    case TextEncoding::Utf16Be:
        return "utf-16be";
    case TextEncoding::Windows1250:
        break;
    }
    return "windows-1250";
}

TextEncoding HeldEncoding(TextEncoding fileEncoding)
{
    return fileEncoding == TextEncoding::Windows1250 ? TextEncoding::Windows1250 : TextEncoding::Utf8;
}

void Utf8Validator::feed(char c)
{
    if (!m_valid)
        return;
    const unsigned byte = static_cast<unsigned char>(c);
    if (m_pending > 0) {
        if (byte < m_lowest || byte > m_highest) {
            m_valid = false;
            return;
        }
        m_lowest = 0x80;
        m_highest = 0xBF;
        if (--m_pending == 0)
            m_sawMultiByte = true;
        return;
    }
    const Utf8Lead lead = LeadOf(byte);
    if (lead.length == 0) {
        m_valid = false;
        return;
    }
    m_pending = static_cast<int>(lead.length) - 1;
    m_lowest = lead.lowest;
    m_highest = lead.highest;
}

void Utf8Validator::feed(std::string_view bytes)
{
    std::size_t i = 0;
    while (m_valid && i < bytes.size()) {
        if (m_pending == 0) {
            i = SkipAscii(bytes, i);
            if (i == bytes.size())
                return;
            // A whole sequence inside the piece is checked in one step; one that is invalid or runs
            // past the piece's end goes byte by byte.
            const std::size_t length = SequenceLength(bytes, i);
            if (length > 1) {
                m_sawMultiByte = true;
                i += length;
                continue;
            }
        }
        feed(bytes[i++]);
    }
}

void Utf8Validator::dropOpenSequence()
{
    m_pending = 0;
    m_lowest = 0x80;
    m_highest = 0xBF;
}

std::string CharacterAt(std::string_view text, std::size_t k, TextEncoding encoding)
{
    if (k == 0)
        return {};
    if (encoding == TextEncoding::Windows1250)
        return k <= text.size() ? std::string(1, text[k - 1]) : std::string();
    std::size_t i = 0;
    for (std::size_t n = 1; i < text.size(); ++n) {
        const std::size_t length = SequenceLength(text, i);
        const std::size_t step = length == 0 ? 1 : length;
        if (n == k)
            return std::string(text.substr(i, step));
        i += step;
    }
    return {};
}

std::u32string DecodeUtf8(std::string_view text)
{
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        const auto byte = [&](std::size_t k) {
            return static_cast<char32_t>(static_cast<unsigned char>(text[k]));
        };
        if (length <= 1) {
            result += byte(i);
            ++i;
            continue;
        }
        char32_t code = byte(i) & (0xFFu >> (length + 1));
        for (std::size_t k = 1; k < length; ++k)
            code = (code << 6) | (byte(i + k) & 0x3Fu);
        result += code;
        i += length;
    }
    return result;
}

std::string ToUtf8(std::string_view text, TextEncoding encoding)
{
    std::string result;
    result.reserve(text.size() + text.size() / 4);
    if (encoding == TextEncoding::Windows1250) {
        const CodePageTable& table = Windows1250Table();
        for (const char c : text)
            result += table[static_cast<unsigned char>(c)];
        return result;
    }
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 0) {
            result += ReplacementCharacter;
            ++i;
        } else {
            result.append(text.substr(i, length));
            i += length;
        }
    }
    return result;
}

} // namespace zdawnik
