#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A 24-bit colour in the 0x00BBGGRR order: red in the low byte, blue in the
// high one. So 0 is black and 255 is pure red.
using ColourWord = std::uint32_t;

inline constexpr ColourWord Black = 0x000000;
inline constexpr ColourWord Red = 0x0000FF;

constexpr int redOf(ColourWord colour)
{
    return static_cast<int>(colour & 0xFF);
}
constexpr int greenOf(ColourWord colour)
{
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int blueOf(ColourWord colour)
{
    return static_cast<int>((colour >> 16) & 0xFF);
}

// The display operations through which the quiz shows itself and reads the
// learner's answer. The window carries them out on its controls; tests use a
// recording fake. All texts are UTF-8.
class QuizView {
  public:
    virtual ~QuizView() = default;

    virtual void showFirstFactor(std::string_view text) = 0;
    virtual void showSecondFactor(std::string_view text) = 0;

    virtual std::string answerText() const = 0;
    virtual void clearAnswer() = 0;

    // Sets the verdict's text colour (when one is given) and then its text.
    // Without a colour only the text changes; that is how it is cleared.
    virtual void showVerdict(std::string_view text, std::optional<ColourWord> colour) = 0;

    virtual void showProblemNumber(std::string_view text) = 0;
    virtual void showErrorCount(std::string_view text) = 0;

    // A modal message with a question-mark icon and one OK button; returns
    // once the learner has closed it.
    virtual void showMessage(std::string_view text, std::string_view title) = 0;

    // Marks the point (x, y), in twips from the client area's top-left corner,
    // and writes the one-line credit text there.
    virtual void drawCreditLine(int xTwips, int yTwips) = 0;

  protected:
    QuizView() = default;
    QuizView(const QuizView &) = default;
    QuizView &operator=(const QuizView &) = default;
};
