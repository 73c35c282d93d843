#pragma once

#include <array>
#include <cassert>

// One quiz is always this many problems, numbered 1 to ProblemCount.
inline constexpr int ProblemCount = 20;

// The smallest and largest factor a problem can have.
inline constexpr int MinFactor = 2;
inline constexpr int MaxFactor = 9;

struct Problem {
    int firstFactor = 0;
    int secondFactor = 0;

    friend bool operator==(const Problem &, const Problem &) = default;
};

// The twenty problems of one quiz, numbered 1 to 20 as the learner sees them.
// The factors are kept as two parallel sequences; slot 0 exists only so that a
// problem's number is its index, and is never used. Before generation every
// slot holds (0, 0), which no generated problem can equal.
class ProblemSet {
  public:
    Problem at(int number) const
    {
        assert(isValidNumber(number));
        return {firstFactors_[index(number)], secondFactors_[index(number)]};
    }

    void set(int number, Problem problem)
    {
        assert(isValidNumber(number));
        firstFactors_[index(number)] = problem.firstFactor;
        secondFactors_[index(number)] = problem.secondFactor;
    }

    static constexpr bool isValidNumber(int number) { return number >= 1 && number <= ProblemCount; }

  private:
    // Keeps a bad number inside the arrays even in a release build.
    static constexpr std::size_t index(int number)
    {
        return isValidNumber(number) ? static_cast<std::size_t>(number) : 0;
    }

    std::array<int, ProblemCount + 1> firstFactors_{};
    std::array<int, ProblemCount + 1> secondFactors_{};
};
