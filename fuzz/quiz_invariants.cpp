#include "quiz_invariants.h"

#include "learner_rules.h"
#include "quiz_commands.h"
#include "quiz_state.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

namespace quiz_fuzz {

void require(bool holds, const char *rule)
{
    if (holds)
        return;
    std::fprintf(stderr, "quiz invariant broken: %s\n", rule);
    std::abort();
}

int countShown(std::string_view text)
{
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    require(error == std::errc{} && end == text.data() + text.size() && value >= 0, "a count is a number");
    require(std::to_string(value) == text, "a count is plain decimal");
    return value;
}

void CheckingView::showVerdict(std::string_view text, std::optional<ColourWord> colour)
{
    FakeQuizView::showVerdict(text, colour);
    if (text.empty()) {
        require(!colour, "clearing the verdict leaves its colour");
        return;
    }
    require((text == learner::VerdictRight && colour == Black) ||
                (text == learner::VerdictWrong && colour == Red),
            "the verdict is Верно in black or Ошибка in red");
    require(!problemNumber.empty(), "a verdict only for a problem on show");
    require(++verdictsFor.at(static_cast<std::size_t>(countShown(problemNumber))) == 1,
            "each problem is checked at most once");
}

void CheckingView::showErrorCount(std::string_view text)
{
    require(countShown(text) == countShown(errorCount) + 1, "the error count goes up one at a time");
    FakeQuizView::showErrorCount(text);
}

void CheckingView::showMessage(std::string_view text, std::string_view title)
{
    require(problemNumber == "20", "the closing message comes only after problem 20");
    require(title == learner::ClosingTitle, "the closing message has its title");
    require(text == learner::closingText(countShown(errorCount)),
            "the closing message suits the error count");
    FakeQuizView::showMessage(text, title);
}

void CheckingView::drawCreditLine(int xTwips, int yTwips)
{
    require(xTwips == CreditLineX && yTwips == CreditLineY, "the credit line sits at its place");
    FakeQuizView::drawCreditLine(xTwips, yTwips);
}

Problems problemsOf(const QuizState &state)
{
    Problems all;
    for (int n = 1; n <= ProblemCount; ++n)
        all.at(static_cast<std::size_t>(n - 1)) = state.problems.at(n);
    return all;
}

void checkInvariants(const QuizState &state, const CheckingView &view, int seedCount,
                     const std::optional<Problems> &firstSet)
{
    const int shown = state.currentNumber;
    require(shown >= 0 && shown <= ProblemCount, "the problem number stays within 0..20");
    require(state.started == 0 || state.started == 1, "the problem set is generated once");
    require(seedCount == state.started, "the clock seeds the source once, when the quiz starts");
    require(std::ssize(view.creditLines) == state.started,
            "the credit line is drawn once, when the quiz starts");
    require(state.errorCount >= 0 && state.errorCount <= std::max(0, 2 * shown - 1),
            "at most a wrong answer and an empty field per problem");
    require(countShown(view.errorCount) == state.errorCount, "the error count on show is the real one");

    if (state.started == 0) {
        require(shown == 0, "no problem before the start");
        require(std::ranges::all_of(problemsOf(state),
                                    [](Problem p) {
                                        return p == Problem{0, 0};
                                    }),
                "no problems before the start");
        require(view.firstFactor == "?" && view.secondFactor == "?" && view.problemNumber.empty(),
                "nothing on show before the start");
        return;
    }

    require(shown >= 1, "the first click shows problem 1");
    const Problems all = problemsOf(state);
    std::set<std::pair<int, int>> different;
    for (const auto &[a, b] : all) {
        require(a >= MinFactor && a <= MaxFactor && b >= MinFactor && b <= MaxFactor, "factors 2 to 9");
        different.emplace(a, b);
    }
    require(different.size() == ProblemCount, "twenty different problems");
    require(all == firstSet, "the problems never change once drawn");

    const Problem problem = state.problems.at(shown);
    require(view.firstFactor == std::to_string(problem.firstFactor) &&
                view.secondFactor == std::to_string(problem.secondFactor),
            "the factors on show are those of the problem");
    require(view.problemNumber == std::to_string(shown), "the number on show is the problem's");
    require(state.expectedProduct == problem.firstFactor * problem.secondFactor, "the product is kept");
}

} // namespace quiz_fuzz
