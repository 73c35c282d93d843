#pragma once

#include "problem_set.h"
#include "random_source.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

// Hands out the values it was given, in order. Once they run out it reports a
// test failure and walks through all 64 pairs, so generation still ends.
class ScriptedRandom final : public RandomSource {
  public:
    explicit ScriptedRandom(std::vector<double> values) : values_(std::move(values)) {}

    int seedCount = 0;

    void seedFromClock() override { ++seedCount; }

    double next() override
    {
        if (position_ < values_.size())
            return values_[position_++];
        if (fallbackDraws_ == 0)
            ADD_FAILURE() << "the scripted random values ran out after " << values_.size();
        const std::size_t draw = fallbackDraws_++;
        const std::size_t pair = draw / 2;
        const std::size_t choice = draw % 2 == 0 ? pair / 8 % 8 : pair % 8;
        return (static_cast<double>(choice) + 0.5) / 8.0;
    }

    std::size_t used() const { return position_; }

  private:
    std::vector<double> values_;
    std::size_t position_ = 0;
    std::size_t fallbackDraws_ = 0;
};

// The value of r that draws `factor`: the middle of its eighth of [0, 1).
inline double valueFor(int factor)
{
    return (factor - MinFactor + 0.5) / 8.0;
}

// Values that make generation produce exactly these problems, in order.
inline std::vector<double> valuesFor(const std::vector<Problem> &problems)
{
    std::vector<double> values;
    for (const Problem &p : problems) {
        values.push_back(valueFor(p.firstFactor));
        values.push_back(valueFor(p.secondFactor));
    }
    return values;
}

// Twenty distinct problems, with mirror images and squares among them.
inline std::vector<Problem> sampleProblems()
{
    return {{2, 3}, {3, 2}, {9, 9}, {4, 7}, {5, 5}, {6, 8}, {8, 6}, {7, 9}, {2, 2}, {3, 9},
            {9, 3}, {4, 4}, {5, 8}, {6, 2}, {7, 7}, {8, 8}, {2, 9}, {9, 2}, {3, 3}, {6, 6}};
}
