#include "random_source.h"

#include <bit>
#include <chrono>

namespace {

// SplitMix64: each step spreads the seed over all 64 bits, so clock readings
// a few nanoseconds apart start unrelated sequences, and the state it fills
// is never all zero.
std::uint64_t splitMix64(std::uint64_t &counter)
{
    std::uint64_t z = (counter += 0x9E3779B97F4A7C15);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
}

} // namespace

std::uint64_t ClockSeededRandom::systemNanoseconds()
{
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

void ClockSeededRandom::seedFromClock()
{
    seed(clock_());
}

void ClockSeededRandom::seed(std::uint64_t value)
{
    for (std::uint64_t &word : state_)
        word = splitMix64(value);
}

double ClockSeededRandom::next()
{
    return toUnitInterval(nextBits());
}

std::uint64_t ClockSeededRandom::nextBits()
{
    const std::uint64_t result = std::rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t shifted = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= shifted;
    state_[3] = std::rotl(state_[3], 45);
    return result;
}
