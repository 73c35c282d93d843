#pragma once

// The promises the window relies on, checked by the command fuzzer: each
// call the quiz makes on the view as it comes, and the whole quiz between
// two steps. A broken promise names itself and stops the fuzzer.

#include "problem_set.h"
#include "quiz_fakes.h"

#include <array>
#include <optional>
#include <string_view>

struct QuizState;

namespace quiz_fuzz {

using Problems = std::array<Problem, ProblemCount>;

void require(bool holds, const char *rule);

// A count as the window shows it: plain decimal, no sign, no leading zeros.
int countShown(std::string_view text);

// The window's part, checking each call as it comes.
class CheckingView final : public FakeQuizView {
  public:
    CheckingView() { keepLog = false; }

    std::array<int, ProblemCount + 1> verdictsFor{};

    void showVerdict(std::string_view text, std::optional<ColourWord> colour) override;
    void showErrorCount(std::string_view text) override;
    void showMessage(std::string_view text, std::string_view title) override;
    void drawCreditLine(int xTwips, int yTwips) override;
};

// Problems 1 to 20 as the quiz holds them.
Problems problemsOf(const QuizState &state);

// What holds after any step: `seedCount` is how often the source was seeded,
// `firstSet` the problems as they were first drawn.
void checkInvariants(const QuizState &state, const CheckingView &view, int seedCount,
                     const std::optional<Problems> &firstSet);

} // namespace quiz_fuzz
