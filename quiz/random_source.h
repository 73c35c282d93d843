#pragma once

#include <array>
#include <cstdint>

// Uniform random numbers r with 0 <= r < 1.
class RandomSource {
  public:
    virtual ~RandomSource() = default;

    // Seeds the source from the system clock, so each run draws other numbers.
    virtual void seedFromClock() = 0;

    // The next number; never 1.0, so floor(r * n) is always below n.
    virtual double next() = 0;

  protected:
    RandomSource() = default;
    RandomSource(const RandomSource &) = default;
    RandomSource &operator=(const RandomSource &) = default;
};

// The program's own source: xoshiro256** (Blackman and Vigna), seeded from a
// nanosecond clock through SplitMix64, so two runs started within the same
// second still differ. Its whole state is four words, so seeding at the start
// of each quiz costs nanoseconds; a Mersenne Twister would first fill 312
// words, which takes longer than drawing all twenty problems.
class ClockSeededRandom final : public RandomSource {
  public:
    // Nanoseconds since any fixed moment.
    using Clock = std::uint64_t (*)();
    static std::uint64_t systemNanoseconds();

    // Another clock where the system's cannot be asked, as in the web page,
    // whose browser may have no way to pass the C library's 64-bit time.
    explicit ClockSeededRandom(Clock clock = systemNanoseconds) : clock_(clock) { seed(0); }

    void seedFromClock() override;
    double next() override;

    // Seeds with a fixed value; for reproducible measurements.
    void seed(std::uint64_t value);

    // Turns 64 random bits into a double in [0, 1): the top 53 bits become the
    // mantissa, so the largest result is 1 - 2^-53 and 1.0 cannot occur.
    static constexpr double toUnitInterval(std::uint64_t bits)
    {
        return static_cast<double>(bits >> 11) * 0x1.0p-53;
    }

  private:
    std::uint64_t nextBits();

    Clock clock_;
    std::array<std::uint64_t, 4> state_;
};
