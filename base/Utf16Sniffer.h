#pragma once

#include "base/TextEncoding.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace zdawnik {

// Tells whether the first bytes of a file without a byte-order mark look like UTF-16 text: in most
// pairs of bytes, always on the same side, the high byte is 0 or 1, as it is for every Latin letter
// up to U+017F (the Polish ones included), and the pair is not two zero bytes. Only the first
// SampleBytes bytes are looked at.
class Utf16Sniffer
{
public:
    static constexpr std::size_t SampleBytes = 4096;

    void feed(std::string_view bytes);
    // TextEncoding::Utf16Le or TextEncoding::Utf16Be when the bytes seen look like it.
    std::optional<TextEncoding> guess() const;

private:
    std::size_t m_seen = 0;
    int m_firstOfPair = -1; // the first byte of a pair whose second has not come yet
    std::size_t m_pairs = 0;
    std::size_t m_littleEndian = 0; // pairs like "X", 0
    std::size_t m_bigEndian = 0;    // pairs like 0, "X"
};

} // namespace zdawnik
