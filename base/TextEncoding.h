#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zdawnik {

// How the texts of a question file are encoded. Files are Windows-1250 unless they carry a UTF-8
// byte-order mark or are valid UTF-8 holding at least one multi-byte sequence.
enum class TextEncoding
{
    Windows1250,
    Utf8,
};

const char* EncodingName(TextEncoding encoding);

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

// Character k (counted from 1) of text: one byte in Windows-1250, one code point in UTF-8 (a byte
// that starts no valid sequence counts as one character). Empty when text is shorter.
std::string CharacterAt(std::string_view text, std::size_t k, TextEncoding encoding);

// Length of the valid UTF-8 sequence that starts at text[i], or 0 when none starts there.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

// The code points of UTF-8 text; a byte that starts no valid sequence stands for itself.
std::u32string DecodeUtf8(std::string_view text);

// The text as UTF-8. Windows-1250 bytes that the code page leaves undefined, and invalid UTF-8,
// become U+FFFD.
std::string ToUtf8(std::string_view text, TextEncoding encoding);

} // namespace zdawnik
