#pragma once

#include <cstdint>
#include <functional>

namespace zdawnik {

// The program's one pseudo-random generator: a 32-bit linear congruential state that is re-seeded
// from a clock before every single draw. The clock can be replaced, so a run can be replayed.
class Random
{
public:
    using Clock = std::function<std::uint32_t()>;

    // Without a clock, the system's high-resolution counter seeds the generator.
    explicit Random(Clock clock = {});

    // The seed becomes the clock's current value.
    void Reseed();

    // Advances the state and returns a value in 0 .. n-1 (n at least 1).
    int RandomBelow(int n);

    std::uint32_t seed() const { return m_seed; }
    void setSeed(std::uint32_t seed) { m_seed = seed; }
    void setClock(Clock clock);

private:
    Clock m_clock;
    std::uint32_t m_seed = 0;
};

} // namespace zdawnik
