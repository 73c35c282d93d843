#include "problem_generation.h"

#include "quiz_state.h"
#include "random_source.h"

namespace {

constexpr int FactorChoices = MaxFactor - MinFactor + 1;

int drawFactor(RandomSource &random)
{
    double r = random.next();
    // A source that broke its promise must not produce a factor of 10 or an
    // undefined float-to-int conversion.
    if (!(r >= 0.0 && r < 1.0))
        r = 0.0;
    return static_cast<int>(r * FactorChoices) + MinFactor;
}

// Scans all twenty slots, filled or not: an unfilled slot holds (0, 0) and
// never matches a candidate.
bool isTaken(QuizState &state, Problem candidate)
{
    for (state.scanIndex = 1; state.scanIndex <= ProblemCount; ++state.scanIndex) {
        if (state.problems.at(state.scanIndex) == candidate)
            return true;
    }
    return false;
}

} // namespace

void generateProblemSet(QuizState &state, RandomSource &random)
{
    random.seedFromClock();
    for (state.currentNumber = 1; state.currentNumber <= ProblemCount; ++state.currentNumber) {
        Problem candidate;
        do {
            // A duplicate sends both factors back to be drawn again.
            state.candidateFirstFactor = drawFactor(random);
            state.candidateSecondFactor = drawFactor(random);
            candidate = {state.candidateFirstFactor, state.candidateSecondFactor};
        } while (isTaken(state, candidate));
        state.problems.set(state.currentNumber, candidate);
    }
}
