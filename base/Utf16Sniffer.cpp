#include "base/Utf16Sniffer.h"

#include <algorithm>

namespace zdawnik {

void Utf16Sniffer::feed(std::string_view bytes)
{
    for (const char c : bytes.substr(0, SampleBytes - std::min(m_seen, SampleBytes))) {
        ++m_seen;
        const int byte = static_cast<unsigned char>(c);
        if (m_firstOfPair < 0) {
            m_firstOfPair = byte;
            continue;
        }
        ++m_pairs;
        const int first = m_firstOfPair;
        const bool bothZero = first == 0 && byte == 0; // says nothing of the order
        if (!bothZero && byte <= 1)
            ++m_littleEndian;
        else if (!bothZero && first <= 1)
            ++m_bigEndian;
        m_firstOfPair = -1;
    }
}

std::optional<TextEncoding> Utf16Sniffer::guess() const
{
    // A single pair says nothing.
    const auto most = [&](std::size_t count) { return m_pairs >= 2 && 4 * count >= 3 * m_pairs; };
    if (most(m_littleEndian))
        return TextEncoding::Utf16Le;
    if (most(m_bigEndian))
        return TextEncoding::Utf16Be;
    return std::nullopt;
}

} // namespace zdawnik
