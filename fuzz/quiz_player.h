#pragma once

// Plays the input's commands against one quiz, as a child would click and
// type, and checks after each step what it must have done.

#include "fuzz_input.h"
#include "quiz_invariants.h"
#include "quiz_state.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quiz_fuzz {

class Player {
  public:
    explicit Player(Input &input) : input_(input), random_(input) {}

    void play();

  private:
    enum class Answer { Empty, Right, Wrong, Other };

    void act(std::uint8_t command);
    int product() const;
    std::string rightAnswer(std::uint8_t way) const;
    std::string wrongAnswer(std::uint8_t which) const;
    void typeDigits(std::size_t count);
    void typeHuge(std::uint8_t size);
    void type(Answer kind, std::string text);
    void next();
    void check();

    Input &input_;
    InputRandom random_;
    CheckingView view_;
    QuizState state_;
    Answer answerKind_ = Answer::Empty;
    std::optional<Problems> firstSet_;
};

} // namespace quiz_fuzz
