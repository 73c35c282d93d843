#include "problem_generation.h"
#include "quiz_state.h"
#include "random_source.h"
#include "scripted_random.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <set>
#include <utility>

namespace {

std::set<std::pair<int, int>> pairsOf(const QuizState &state)
{
    std::set<std::pair<int, int>> pairs;
    for (int n = 1; n <= ProblemCount; ++n)
        pairs.emplace(state.problems.at(n).firstFactor, state.problems.at(n).secondFactor);
    return pairs;
}

TEST(Generation, StoresTheDrawnPairsInOrderAndSeedsOnce)
{
    QuizState state;
    ScriptedRandom random(valuesFor(sampleProblems()));
    generateProblemSet(state, random);

    EXPECT_EQ(random.seedCount, 1);
    EXPECT_EQ(random.used(), 40u);
    for (int n = 1; n <= ProblemCount; ++n)
        EXPECT_EQ(state.problems.at(n), sampleProblems()[n - 1]) << "problem " << n;
}

TEST(Generation, MapsTheWholeUnitIntervalOntoTwoToNine)
{
    // The edges of each eighth, including the largest double below 1.
    std::vector<double> values;
    for (int k = 0; k < 8; ++k) {
        values.push_back(k / 8.0);
        values.push_back(std::nextafter((k + 1) / 8.0, 0.0));
    }
    for (const Problem &p : sampleProblems()) {
        if (p.firstFactor != p.secondFactor) {
            values.push_back(valueFor(p.firstFactor));
            values.push_back(valueFor(p.secondFactor));
        }
    }
    QuizState state;
    ScriptedRandom random(values);
    generateProblemSet(state, random);
    EXPECT_EQ(random.used(), values.size());
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(state.problems.at(k + 1), (Problem{k + 2, k + 2}));
}

TEST(Generation, ADuplicateRedrawsBothFactors)
{
    // Problem 2 first draws (2, 3) again. Were only the second factor redrawn,
    // the next value (9) would give (2, 9); both are redrawn, giving (9, 4).
    std::vector<Problem> problems = sampleProblems();
    std::vector<double> values = valuesFor({problems[0]});
    for (double v : valuesFor({{2, 3}, {9, 4}}))
        values.push_back(v);
    problems[1] = {9, 4};
    for (double v : valuesFor({problems.begin() + 2, problems.end()}))
        values.push_back(v);

    QuizState state;
    ScriptedRandom random(values);
    generateProblemSet(state, random);
    EXPECT_EQ(state.problems.at(2), (Problem{9, 4}));
    for (int n = 1; n <= ProblemCount; ++n)
        EXPECT_EQ(state.problems.at(n), problems[n - 1]) << "problem " << n;
}

// The real source, with generation's clock seeding replaced by a known seed,
// so every run of the test covers the same seeds.
class FixedSeedRandom final : public RandomSource {
  public:
    explicit FixedSeedRandom(std::uint64_t seed) { inner_.seed(seed); }
    void seedFromClock() override {}
    double next() override { return inner_.next(); }

  private:
    ClockSeededRandom inner_;
};

TEST(Generation, RealSourceAlwaysGivesTwentyDistinctPairsAndReachesAllSixtyFour)
{
    std::set<std::pair<int, int>> seen;
    for (std::uint64_t seed = 0; seed < 2000; ++seed) {
        QuizState state;
        FixedSeedRandom random(seed);
        generateProblemSet(state, random);

        const auto pairs = pairsOf(state);
        ASSERT_EQ(pairs.size(), 20u) << "seed " << seed;
        for (const auto &[a, b] : pairs) {
            ASSERT_TRUE(a >= MinFactor && a <= MaxFactor) << a;
            ASSERT_TRUE(b >= MinFactor && b <= MaxFactor) << b;
        }
        seen.insert(pairs.begin(), pairs.end());
    }
    EXPECT_EQ(seen.size(), 64u);
}

TEST(RandomSourceTest, EveryDrawIsBelowOneAndEveryEighthGetsItsShare)
{
    // Each factor is one eighth of [0, 1); 80,000 draws put 10,000 in each,
    // give or take five standard deviations (about 470).
    // Every draw in [0, 1): the largest output stays below one.
    EXPECT_LT(ClockSeededRandom::toUnitInterval(~std::uint64_t{0}), 1.0);
    EXPECT_EQ(ClockSeededRandom::toUnitInterval(0), 0.0);
    ClockSeededRandom random;
    random.seed(20240601);
    std::array<int, 8> counts{};
    for (int i = 0; i < 80000; ++i) {
        const double r = random.next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        ++counts.at(static_cast<std::size_t>(r * 8));
    }
    for (std::size_t eighth = 0; eighth < counts.size(); ++eighth) {
        EXPECT_GT(counts[eighth], 9530) << "eighth " << eighth;
        EXPECT_LT(counts[eighth], 10470) << "eighth " << eighth;
    }
}

TEST(RandomSourceTest, ClockSeedsDifferWithinOneSecond)
{
    ClockSeededRandom a;
    ClockSeededRandom b;
    a.seedFromClock();
    // Two runs of the program never start within one tick of the clock, but
    // two seedings in a row can: Windows' clock ticks every 100 ns at best,
    // every 15.6 ms on older systems. So the second seeding waits for the
    // clock to move on, as the next run would; a clock read in whole seconds
    // still gives both the same seed.
    const auto seeded = std::chrono::high_resolution_clock::now();
    while (std::chrono::high_resolution_clock::now() == seeded) {
    }
    b.seedFromClock();
    EXPECT_NE(a.next(), b.next());
}

} // namespace
