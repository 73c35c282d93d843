#include "learner_rules.h"
#include "quiz_fakes.h"
#include "quiz_presenter.h"
#include "quiz_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Records what the presenter asks of the front end, in order.
class FakeFrontEnd final : public FrontEnd {
  public:
    std::vector<std::string> calls;
    bool caretInField = true;
    Ending ending = Ending::Closed;

    void announce(std::string_view message) override { calls.push_back("announce: " + std::string(message)); }
    void describeAnswerField(std::string_view text) override
    {
        calls.push_back("describe: " + std::string(text));
    }
    bool answerFieldHasFocus() const override { return caretInField; }
    void focusAnswerField() override
    {
        caretInField = true;
        calls.emplace_back("focus");
    }
    Ending endProgram() override
    {
        calls.emplace_back("end");
        return ending;
    }
};

// How the closing box behaves: a modal one returns once it is closed, and
// then the front end reports it; a page's returns at once and reports later.
enum class Box { Modal, Page };

// The box takes the focus while it is open and leaves it wherever the
// toolkit leaves it: here, not in the field.
class BoxView final : public FakeQuizView {
  public:
    BoxView(FakeFrontEnd &frontEnd, Box box) : frontEnd_(frontEnd), box_(box) {}
    QuizPresenter *presenter = nullptr;

    void showMessage(std::string_view text, std::string_view title) override
    {
        FakeQuizView::showMessage(text, title);
        frontEnd_.caretInField = false;
        frontEnd_.calls.emplace_back("box");
        if (box_ == Box::Modal)
            presenter->messageClosed();
    }

  private:
    FakeFrontEnd &frontEnd_;
    Box box_;
};

// The walk through the pairs of factors: twenty different problems.
class PairWalk final : public ScriptedRandomSource {
    std::optional<double> nextScripted() override { return std::nullopt; }
};

// A call as a phrase from learner_sees.tsv, filled in with the problem on
// show and the error count once the watched steps are done.
struct Call {
    std::string_view what;
    std::string_view phrase = {};
};

// Steps: n «Пример», c «Да», r/w/e a right, wrong or empty answer, a the
// caret away on a button, m the page's box closed, x «Выход». The calls of
// the steps after the bar are compared.
struct Case {
    std::string steps;
    std::vector<Call> calls;
    Box box = Box::Modal;
    FrontEnd::Ending ending = FrontEnd::Ending::Closed;
};

using namespace learner;
const std::string TwentyProblems(20, 'n');

const Case Cases[] = {
    // A problem where the caret is: described, and announced.
    {"|n", {{"describe", SaidProblem}, {"announce", SaidProblem}}},
    // With the caret on a button it moves, and the field reads the problem.
    {"a|n", {{"focus"}, {"describe", SaidProblem}}},
    // An empty field's error is said before the problem.
    {"n|n", {{"describe", SaidProblem}, {"announce", SaidProblemAfterPenalty}}},
    {"nr|c", {{"announce", SaidRight}}},
    // The caret comes back first.
    {"nra|c", {{"focus"}, {"announce", SaidRight}}},
    // The verdict and the new count.
    {"nw|c", {{"announce", SaidWrong}}},
    // A second check, or an empty field: nothing is said.
    {"nrc|cec", {}},
    // The closing box takes the caret, and it comes back once the box is closed.
    {TwentyProblems + "|n", {{"box"}, {"focus"}}},
    // While a page's box is open the caret stays with it, and comes back once it is closed.
    {TwentyProblems + "|nc", {{"box"}}, Box::Page},
    {TwentyProblems + "n|m", {{"focus"}}, Box::Page},
    // A program that closes says nothing; a page that ends in place says so.
    {"n|x", {{"end"}}},
    {"n|x", {{"end"}, {"announce", SaidEnded}}, Box::Page, FrontEnd::Ending::InPlace},
};

TEST(QuizPresenter, SaysWhatChangedAndPutsTheCaretWhereTheLearnerTypes)
{
    for (const Case &c : Cases) {
        SCOPED_TRACE(c.steps);
        QuizState state;
        FakeFrontEnd frontEnd;
        frontEnd.ending = c.ending;
        BoxView view(frontEnd, c.box);
        PairWalk random;
        QuizPresenter presenter(state, view, random, frontEnd);
        view.presenter = &presenter;

        const auto play = [&](const std::string &steps) {
            for (const char step : steps) {
                switch (step) {
                case 'n':
                    presenter.nextExample();
                    break;
                case 'c':
                    presenter.checkAnswer();
                    break;
                case 'r':
                case 'w':
                    view.answer = std::to_string(state.expectedProduct + (step == 'w' ? 1 : 0));
                    break;
                case 'e':
                    view.answer.clear();
                    break;
                case 'a':
                    frontEnd.caretInField = false;
                    break;
                case 'm':
                    presenter.messageClosed();
                    break;
                default:
                    presenter.exit();
                }
            }
        };
        const std::size_t bar = c.steps.find('|');
        play(c.steps.substr(0, bar));
        frontEnd.calls.clear();
        play(c.steps.substr(bar + 1));

        const Problem shown = state.problems.at(state.currentNumber);
        std::vector<std::string> expected;
        for (const Call &call : c.calls)
            expected.push_back(call.phrase.empty() ? std::string(call.what)
                                                   : std::string(call.what) + ": " +
                                                         said(call.phrase, shown.firstFactor,
                                                              shown.secondFactor, state.errorCount));
        EXPECT_EQ(frontEnd.calls, expected);
    }
}

} // namespace
