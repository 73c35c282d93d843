#pragma once

#include "front_end.h"

#include <string>
#include <vector>

class QuizView;
class RandomSource;
struct QuizState;

// Runs the quiz's commands for a front end, and does with each what every
// front end does alike: puts the caret back in the answer field, and tells a
// screen reader what changed, in one utterance. The front end owns
// the quiz, the view and the random source; the presenter only holds them.
//
//   after «Пример»: "Сколько будет 9 х 2?", read with the answer field as the
//                   focus moves there, or announced where the focus already
//                   is; an error charged for an empty field comes first:
//                   "Ошибок: 3. Сколько будет 9 х 2?"
//   after «Да»:     "Верно", or "Ошибка. Ошибок: 1"
//   the closing message speaks for itself, as the modal box it is; once it
//   is closed the caret goes back to the field.
class QuizPresenter {
  public:
    QuizPresenter(QuizState &state, QuizView &view, RandomSource &random, FrontEnd &frontEnd);

    void nextExample();
    void checkAnswer();
    // The closing message was closed. A front end whose message box returns
    // before it is closed (a page cannot wait) reports it here; the others
    // once their box has returned.
    void messageClosed();
    void exit();

    // The view the quiz's commands are given: the front end's own, passed
    // through, with what the presenter must hear of it.
    class ListeningView;

  private:
    template <typename Command> void run(Command command);
    void presentProblem(bool caretWasInField);
    void placeCaret();

    QuizState &state_;
    QuizView &view_;
    RandomSource &random_;
    FrontEnd &frontEnd_;
    std::vector<std::string> said_;
    bool messageOpen_ = false;
};
