#pragma once

#include <cstdint>

namespace zdawnik {

// The percentage a gauge shows: 100 × (progress − minValue) / (maxValue − minValue) truncated toward
// zero, 0 for an empty range. Nothing overflows, however wide the range: any progress within the
// range gives 0 to 100.
int GaugePercent(int minValue, int maxValue, int progress);

// The filled length of a bar of full length `length` at `percent` per cent: length × (percent × 0.01)
// truncated toward zero, where 0.01 and both products are rounded to nearest-even with a 64-bit
// mantissa, the gauge's historical extended-precision arithmetic. The constant is slightly below one
// hundredth, so a product that is an exact multiple of 100 may come out one short (130 at 10 per cent
// gives 12, not 13); 100 per cent always gives the full length. Computed exactly with integers, so
// the result is the same with every compiler and on every processor.
std::int64_t FillLength(int percent, int length);

} // namespace zdawnik
