#include "quiz_presenter.h"

#include "phrases.h"
#include "quiz_commands.h"
#include "quiz_state.h"
#include "quiz_view.h"

class QuizPresenter::ListeningView final : public QuizView {
  public:
    ListeningView(QuizView &view, std::vector<std::string> &said, bool &messageOpen)
        : view_(view), said_(said), messageOpen_(messageOpen)
    {
    }

    void showFirstFactor(std::string_view text) override { view_.showFirstFactor(text); }
    void showSecondFactor(std::string_view text) override { view_.showSecondFactor(text); }
    std::string answerText() const override { return view_.answerText(); }
    void clearAnswer() override { view_.clearAnswer(); }
    void showProblemNumber(std::string_view text) override { view_.showProblemNumber(text); }
    void drawCreditLine(int xTwips, int yTwips) override { view_.drawCreditLine(xTwips, yTwips); }

    void showVerdict(std::string_view text, std::optional<ColourWord> colour) override
    {
        view_.showVerdict(text, colour);
        if (!text.empty())
            said_.emplace_back(text);
    }

    void showErrorCount(std::string_view text) override
    {
        view_.showErrorCount(text);
        said_.push_back(errorCountPhrase(text));
    }

    void showMessage(std::string_view text, std::string_view title) override
    {
        messageOpen_ = true;
        view_.showMessage(text, title);
    }

  private:
    QuizView &view_;
    std::vector<std::string> &said_;
    bool &messageOpen_;
};

QuizPresenter::QuizPresenter(QuizState &state, QuizView &view, RandomSource &random, FrontEnd &frontEnd)
    : state_(state), view_(view), random_(random), frontEnd_(frontEnd)
{
}

void QuizPresenter::nextExample()
{
    run([this](QuizView &view) { onNextExample(state_, view, random_); });
}

void QuizPresenter::checkAnswer()
{
    run([this](QuizView &view) { onCheckAnswer(state_, view); });
}

void QuizPresenter::messageClosed()
{
    messageOpen_ = false;
    placeCaret();
}

void QuizPresenter::exit()
{
    if (frontEnd_.endProgram() == FrontEnd::Ending::InPlace)
        frontEnd_.announce(QuizEndedPhrase);
}

template <typename Command> void QuizPresenter::run(Command command)
{
    said_.clear();
    const int shownBefore = state_.currentNumber;
    // The caret goes back to the field before the command changes it: a
    // screen reader that reads the field as the focus arrives then finds it
    // as the command leaves it, and no change to the field can overtake the
    // focus move in its queue and swallow it.
    const bool caretWasInField = frontEnd_.answerFieldHasFocus();
    placeCaret();
    ListeningView listening(view_, said_, messageOpen_);
    command(listening);
    // A new problem is on show once the command is done, whatever order
    // the quiz showed its parts in.
    if (state_.currentNumber != shownBefore)
        presentProblem(caretWasInField);
    if (!said_.empty())
        frontEnd_.announce(joinedPhrases(said_));
}

// The problem becomes the answer field's description, so that moving the
// focus there reads it out with the field. Where the focus already was,
// nothing would be read, so it is announced instead.
void QuizPresenter::presentProblem(bool caretWasInField)
{
    const std::string question = questionFor(state_.problems.at(state_.currentNumber));
    frontEnd_.describeAnswerField(question);
    if (caretWasInField)
        said_.push_back(question);
}

void QuizPresenter::placeCaret()
{
    if (!messageOpen_ && !frontEnd_.answerFieldHasFocus())
        frontEnd_.focusAnswerField();
}
