// The quiz for the web page: a QuizView carried out by a JavaScript object,
// and the two commands the page's buttons give. embind knows neither
// std::string_view nor std::optional, so this layer passes plain strings and
// a colour number, or null for "no colour".
#include "quiz_commands.h"
#include "quiz_state.h"
#include "quiz_view.h"
#include "random_source.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <string_view>
#include <utility>

namespace {

using emscripten::val;

class ScriptQuizView final : public QuizView {
  public:
    explicit ScriptQuizView(val page) : page_(std::move(page)) {}

    void showFirstFactor(std::string_view text) override { call("showFirstFactor", text); }
    void showSecondFactor(std::string_view text) override { call("showSecondFactor", text); }
    std::string answerText() const override { return page_.call<std::string>("answerText"); }
    void clearAnswer() override { page_.call<void>("clearAnswer"); }

    void showVerdict(std::string_view text, std::optional<ColourWord> colour) override
    {
        page_.call<void>("showVerdict", std::string(text), colour ? val(*colour) : val::null());
    }

    void showProblemNumber(std::string_view text) override { call("showProblemNumber", text); }
    void showErrorCount(std::string_view text) override { call("showErrorCount", text); }

    // A page cannot wait for a dialog to close; the page's dialog is modal
    // instead, and nothing in the quiz follows the message.
    void showMessage(std::string_view text, std::string_view title) override
    {
        page_.call<void>("showMessage", std::string(text), std::string(title));
    }

    void drawCreditLine(int xTwips, int yTwips) override
    {
        page_.call<void>("drawCreditLine", xTwips, yTwips);
    }

  private:
    void call(const char *method, std::string_view text) { page_.call<void>(method, std::string(text)); }

    val page_;
};

// One quiz, as one page load is one run of the program.
class WebQuiz {
  public:
    explicit WebQuiz(val page) : view_(std::move(page)) {}

    void nextExample() { onNextExample(state_, view_, random_); }
    void checkAnswer() { onCheckAnswer(state_, view_); }

  private:
    QuizState state_;
    ScriptQuizView view_;
    ClockSeededRandom random_;
};

} // namespace

EMSCRIPTEN_BINDINGS(tsifrolet_quiz)
{
    emscripten::class_<WebQuiz>("Quiz")
        .constructor<val>()
        .function("nextExample", &WebQuiz::nextExample)
        .function("checkAnswer", &WebQuiz::checkAnswer);
}
