#pragma once

#include "problem_set.h"
#include "quiz_fakes.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

// Hands out the values it was given, in order. Running out of them is a
// test failure; the pairs' walk then lets generation end all the same.
class ScriptedRandom final : public ScriptedRandomSource {
  public:
    explicit ScriptedRandom(std::vector<double> values) : values_(std::move(values)) {}

    std::size_t used() const { return position_; }

  private:
    std::optional<double> nextScripted() override
    {
        if (position_ < values_.size())
            return values_[position_++];
        return std::nullopt;
    }

    void ranOut() override { ADD_FAILURE() << "the scripted random values ran out after " << values_.size(); }

    std::vector<double> values_;
    std::size_t position_ = 0;
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
