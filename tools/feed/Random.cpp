#include "Random.h"

namespace pylonix::feed
{

std::uint64_t Random::next()
{
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Random::below(int n)
{
    if (n <= 0)
        return 0;
    return static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

int Random::between(int low, int high)
{
    if (high <= low)
        return low;
    return low + below(high - low + 1);
}

bool Random::chance(int perMille)
{
    return below(1000) < perMille;
}

} // namespace pylonix::feed
