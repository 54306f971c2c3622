#pragma once

#include <cstdint>

namespace pylonix::feed
{

// Small deterministic generator (splitmix64): the same seed gives the same
// sequence on every platform and standard library.
class Random
{
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    // Next raw 64-bit value.
    std::uint64_t next();
    // A value in [0, n); 0 when n <= 0.
    int below(int n);
    // A value in [low, high], both included.
    int between(int low, int high);
    // True with the given chance in thousandths.
    bool chance(int perMille);

private:
    std::uint64_t state_;
};

} // namespace pylonix::feed
