#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zdawnik {

// How the texts of a question file are encoded. Files are Windows-1250 unless they begin with a
// byte-order mark (UTF-8, or UTF-16 little or big endian) or are valid UTF-8 holding at least one
// multi-byte sequence. UTF-16 is turned into UTF-8 as it is read, so the texts of a UTF-16 file are
// held, compared and shown as UTF-8 (HeldEncoding).
enum class TextEncoding
{
    Windows1250,
    Utf8,
    Utf16Le,
    Utf16Be,
};

// U+FFFD in UTF-8: what stands for bytes that are no character.
inline constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

// "windows-1250", "utf-8", "utf-16le" or "utf-16be".
const char* EncodingName(TextEncoding encoding);

// The encoding a file's texts are held in once read: Windows-1250, or UTF-8 for every Unicode file.
TextEncoding HeldEncoding(TextEncoding fileEncoding);

// Checks bytes for UTF-8 validity as they stream past, remembering whether a multi-byte sequence
// was seen. Bytes may come in pieces of any size.
class Utf8Validator
{
public:
    void feed(std::string_view bytes);
    void feed(char byte);
    // The text breaks off here though it goes on: a sequence it leaves open is dropped, not held
    // against it.
    void dropOpenSequence();
    // Valid so far and no sequence left open.
    bool valid() const { return m_valid && m_pending == 0; }
    bool sawMultiByte() const { return m_sawMultiByte; }

private:
    bool m_valid = true;
    bool m_sawMultiByte = false;
    int m_pending = 0;        // continuation bytes still expected
    unsigned m_lowest = 0x80; // bounds of the next continuation byte
    unsigned m_highest = 0xBF;
};

// Character k (counted from 1) of text: one byte in Windows-1250, one code point in the UTF-8 that
// the other encodings are held in (a byte that starts no valid sequence counts as one character).
// Empty when text is shorter.
std::string CharacterAt(std::string_view text, std::size_t k, TextEncoding encoding);

// Length of the valid UTF-8 sequence that starts at text[i], or 0 when none starts there.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

// The code points of UTF-8 text; a byte that starts no valid sequence stands for itself.
std::u32string DecodeUtf8(std::string_view text);

// The text, held in the given file encoding's way (HeldEncoding), as UTF-8. Windows-1250 bytes that
// the code page leaves undefined, and invalid UTF-8, become U+FFFD.
std::string ToUtf8(std::string_view text, TextEncoding encoding);

} // namespace zdawnik
