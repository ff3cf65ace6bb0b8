#include "drill/Random.h"

#include "base/Platform.h"

namespace zdawnik {

Random::Random(Clock clock)
{
    setClock(std::move(clock));
}

void Random::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(&platform::HighResolutionCounter);
}

void Random::Reseed()
{
    m_seed = m_clock();
}

int Random::RandomBelow(int n)
{
    m_seed = m_seed * 134775813u + 1u;
    return static_cast<int>((static_cast<std::uint64_t>(m_seed) * static_cast<std::uint32_t>(n)) >> 32);
}

} // namespace zdawnik
