#pragma once

#include <string_view>

// What a front end can do beyond the quiz's display operations: the
// primitives through which the behaviour every front end shares acts on a
// window or a page. A front end carries them out and decides nothing itself.
class FrontEnd {
  public:
    virtual ~FrontEnd() = default;

    // Says `message` to a screen reader without moving the focus, after
    // whatever the focus move of the same command says.
    virtual void announce(std::string_view message) = 0;

    // What a screen reader reads with the answer field when it gets the focus.
    virtual void describeAnswerField(std::string_view description) = 0;
    virtual bool answerFieldHasFocus() const = 0;
    virtual void focusAnswerField() = 0;

    enum class Ending { Closed, InPlace };
    // Ends the program; a front end that cannot close itself (a page cannot
    // close its browser tab) ends the quiz in place and says so.
    virtual Ending endProgram() = 0;

  protected:
    FrontEnd() = default;
    FrontEnd(const FrontEnd &) = default;
    FrontEnd &operator=(const FrontEnd &) = default;
};
