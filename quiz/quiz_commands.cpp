#include "quiz_commands.h"

#include "parse_answer.h"
#include "problem_generation.h"
#include "quiz_state.h"
#include "quiz_view.h"

#include <string>

namespace {

constexpr int GoodResultMaxErrors = 3;
constexpr const char *ClosingTitle = "Окончание опроса";

void startQuiz(QuizState &state, QuizView &view, RandomSource &random)
{
    generateProblemSet(state, random);
    state.currentNumber = 0;
    state.started += 1;
    state.answerState = 1;
    view.drawCreditLine(CreditLineX, CreditLineY);
}

void showClosingMessage(const QuizState &state, QuizView &view)
{
    if (state.errorCount == 0)
        view.showMessage("Все примеры решены. Молодец! Отлично!", ClosingTitle);
    else if (state.errorCount <= GoodResultMaxErrors)
        view.showMessage("Все примеры решены. Хорошо, но постарайся и будет отлично.", ClosingTitle);
    else
        view.showMessage("Примеры закончились", ClosingTitle);
}

void chargeError(QuizState &state, QuizView &view)
{
    state.errorCount += 1;
    view.showErrorCount(std::to_string(state.errorCount));
}

void showNextProblem(QuizState &state, QuizView &view)
{
    const int number = ++state.currentNumber;
    // A problem left with an empty field counts as wrong; a typed answer that
    // was never checked does not.
    if (number > 1 && view.answerText().empty())
        chargeError(state, view);

    const Problem problem = state.problems.at(number);
    view.showFirstFactor(std::to_string(problem.firstFactor));
    view.showSecondFactor(std::to_string(problem.secondFactor));
    view.clearAnswer();
    view.showVerdict("", std::nullopt);
    view.showProblemNumber(std::to_string(number));
    state.expectedProduct = static_cast<std::uint8_t>(problem.firstFactor * problem.secondFactor);
    state.answerState = 1;
}

} // namespace

void onNextExample(QuizState &state, QuizView &view, RandomSource &random)
{
    if (state.started <= 0)
        startQuiz(state, view, random);

    if (state.currentNumber >= ProblemCount)
        showClosingMessage(state, view);
    else
        showNextProblem(state, view);
}

void onCheckAnswer(QuizState &state, QuizView &view)
{
    if (state.answerState != 1)
        return;
    const std::string answer = view.answerText();
    if (answer.empty())
        return;

    if (parseAnswer(answer) == static_cast<double>(state.expectedProduct)) {
        view.showVerdict("Верно", Black);
    } else {
        view.showVerdict("Ошибка", Red);
        chargeError(state, view);
    }
    state.answerState += 1;
}
