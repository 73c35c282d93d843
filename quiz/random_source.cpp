#include "random_source.h"

#include <chrono>

void ClockSeededRandom::seedFromClock()
{
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch();
    seed(static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

void ClockSeededRandom::seed(std::uint64_t value)
{
    // seed_seq spreads the clock's few changing low bits over the whole state.
    std::seed_seq sequence{static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32)};
    engine_.seed(sequence);
}

double ClockSeededRandom::next()
{
    return toUnitInterval(engine_());
}
