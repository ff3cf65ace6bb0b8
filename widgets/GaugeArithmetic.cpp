#include "widgets/GaugeArithmetic.h"

#include <bit>

namespace zdawnik {

namespace {

std::uint32_t Magnitude(std::int32_t value)
{
    return value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
}

// A non-negative binary floating-point value: mantissa × 2^exponent.
struct Extended
{
    std::uint64_t mantissa;
    int exponent;
};

// One hundredth as the nearest value with a 64-bit mantissa: round(2^70 / 100) × 2^-70. The remainder
// of 2^70 / 100 is 24/100, so rounding went down and the value is just below 0.01.
constexpr Extended Hundredth{11805916207174113034ull, -70};

// The exact product of a 64-bit mantissa and a 32-bit factor, rounded to a 64-bit mantissa with ties
// to even: the rounding of one extended-precision multiplication.
Extended MultiplyRounded(Extended value, std::uint32_t factor)
{
    // A 96-bit product kept as high (at most 32 bits) and low 64-bit halves.
    const std::uint64_t lowPart = (value.mantissa & 0xFFFFFFFFu) * factor;
    const std::uint64_t highPart = (value.mantissa >> 32) * factor + (lowPart >> 32);
    const std::uint64_t high = highPart >> 32;
    const std::uint64_t low = (highPart << 32) | (lowPart & 0xFFFFFFFFu);
    if (high == 0)
        return {low, value.exponent};

    // Drop the bits beyond the 64 leading ones: 1 to 32 of them.
    const int dropped = 64 - std::countl_zero(high);
    std::uint64_t kept = (high << (64 - dropped)) | (low >> dropped);
    const std::uint64_t rest = low & ((std::uint64_t{1} << dropped) - 1);
    const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
    int exponent = value.exponent + dropped;
    if (rest > half || (rest == half && (kept & 1u) != 0)) {
        ++kept;
        if (kept == 0) { // carried out of the 64 bits: the value is now exactly 2^64
            kept = std::uint64_t{1} << 63;
            ++exponent;
        }
    }
    return {kept, exponent};
}

std::uint64_t Truncated(Extended value)
{
    if (value.exponent >= 0)
        return value.mantissa << value.exponent;
    if (value.exponent <= -64)
        return 0;
    return value.mantissa >> -value.exponent;
}

} // namespace

int GaugePercent(int minValue, int maxValue, int progress)
{
    if (maxValue == minValue)
        return 0;
    // The differences are taken wide: a range wider than 2147483647 must not wrap round and show a
    // negative share.
    const std::int64_t done = std::int64_t(progress) - minValue;
    const std::int64_t span = std::int64_t(maxValue) - minValue;
    return static_cast<int>(100 * done / span);
}

std::int64_t FillLength(int percent, int length)
{
    const Extended share = MultiplyRounded(Hundredth, Magnitude(percent));
    const Extended filled = MultiplyRounded(share, Magnitude(length));
    const auto magnitude = static_cast<std::int64_t>(Truncated(filled));
    return (percent < 0) != (length < 0) ? -magnitude : magnitude;
}

} // namespace zdawnik
