#pragma once

#include "base/TextEncoding.h"

#include <string>
#include <string_view>

namespace zdawnik {

// Turns UTF-16 bytes into UTF-8 as they stream past, through the system's own converter. A
// character split between pieces waits for the next piece; an unpaired surrogate, and a lone byte
// at the end, become U+FFFD.
class Utf16Decoder
{
public:
    // byteOrder is TextEncoding::Utf16Le or TextEncoding::Utf16Be.
    explicit Utf16Decoder(TextEncoding byteOrder);
    ~Utf16Decoder();
    Utf16Decoder(const Utf16Decoder&) = delete;
    Utf16Decoder& operator=(const Utf16Decoder&) = delete;

    // Appends the UTF-8 of the bytes to utf8.
    void feed(std::string_view bytes, std::string& utf8);
    // Call once after the last piece: what the last bytes left open becomes U+FFFD.
    void finish(std::string& utf8);

private:
    void convertWholeUnits(std::string_view bytes, std::string& utf8);

    bool m_bigEndian;
    void* m_converter = nullptr;
    std::string m_pending; // the start of a character whose rest is in the next piece
};

} // namespace zdawnik
