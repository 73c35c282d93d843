// The quiz for the web page: a QuizView and a FrontEnd carried out by the
// page's script, and the commands the page's buttons give, run by the same
// presenter as in the window, so that the page says and does what the window
// does. The module is plain WebAssembly
// with no JavaScript of its own: the page's side is a handful of functions
// (in app.js) that take texts as UTF-8 bytes in the module's memory, pointer
// and length, so starting the module registers nothing and converts no types.
#include "front_end.h"
#include "quiz_presenter.h"
#include "quiz_state.h"
#include "quiz_view.h"
#include "random_source.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Imported from the page, as the module "page".
#define PAGE_FUNCTION __attribute__((import_module("page")))

extern "C" {
PAGE_FUNCTION void page_show_first_factor(const char *text, std::size_t length);
PAGE_FUNCTION void page_show_second_factor(const char *text, std::size_t length);
PAGE_FUNCTION std::size_t page_answer_length();
// Writes the answer's UTF-8 bytes, exactly page_answer_length() of them.
PAGE_FUNCTION void page_copy_answer(char *buffer, std::size_t length);
PAGE_FUNCTION void page_clear_answer();
// colour is a ColourWord, or -1 for "no colour".
PAGE_FUNCTION void page_show_verdict(const char *text, std::size_t length, long colour);
PAGE_FUNCTION void page_show_problem_number(const char *text, std::size_t length);
PAGE_FUNCTION void page_show_error_count(const char *text, std::size_t length);
PAGE_FUNCTION void page_show_message(const char *text, std::size_t textLength, const char *title,
                                     std::size_t titleLength);
PAGE_FUNCTION void page_draw_credit_line(int xTwips, int yTwips);

PAGE_FUNCTION void page_announce(const char *text, std::size_t length);
PAGE_FUNCTION void page_describe_answer(const char *text, std::size_t length);
PAGE_FUNCTION bool page_answer_has_focus();
PAGE_FUNCTION void page_focus_answer();
// Switches the controls off and offers a new quiz.
PAGE_FUNCTION void page_end_in_place();
// Milliseconds since 1970, with what fraction the browser tells.
PAGE_FUNCTION double page_milliseconds_now();
}

namespace {

class PageQuizView final : public QuizView {
  public:
    void showFirstFactor(std::string_view text) override { page_show_first_factor(text.data(), text.size()); }
    void showSecondFactor(std::string_view text) override
    {
        page_show_second_factor(text.data(), text.size());
    }

    std::string answerText() const override
    {
        std::string text(page_answer_length(), '\0');
        page_copy_answer(text.data(), text.size());
        return text;
    }

    void clearAnswer() override { page_clear_answer(); }

    void showVerdict(std::string_view text, std::optional<ColourWord> colour) override
    {
        page_show_verdict(text.data(), text.size(), colour ? static_cast<long>(*colour) : -1L);
    }

    void showProblemNumber(std::string_view text) override
    {
        page_show_problem_number(text.data(), text.size());
    }
    void showErrorCount(std::string_view text) override { page_show_error_count(text.data(), text.size()); }

    // A page cannot wait for a dialog to close; the page's dialog is modal
    // instead, and nothing in the quiz follows the message.
    void showMessage(std::string_view text, std::string_view title) override
    {
        page_show_message(text.data(), text.size(), title.data(), title.size());
    }

    void drawCreditLine(int xTwips, int yTwips) override { page_draw_credit_line(xTwips, yTwips); }
};

class PageFrontEnd final : public FrontEnd {
  public:
    void announce(std::string_view message) override { page_announce(message.data(), message.size()); }
    void describeAnswerField(std::string_view description) override
    {
        page_describe_answer(description.data(), description.size());
    }
    bool answerFieldHasFocus() const override { return page_answer_has_focus(); }
    void focusAnswerField() override { page_focus_answer(); }
    // A page cannot close a browser tab it did not open.
    Ending endProgram() override
    {
        page_end_in_place();
        return Ending::InPlace;
    }
};

// The page's clock, not the C library's: that one hands the module its time
// as a 64-bit integer, which a browser older than the JavaScript's BigInt
// cannot pass, and the first «Пример» would stop there.
std::uint64_t pageNanoseconds()
{
    // Converted only where it fits: a clock set before 1970, or a NaN, seeds with 0.
    const double nanoseconds = page_milliseconds_now() * 1e6;
    return nanoseconds >= 0 && nanoseconds < 0x1p64 ? static_cast<std::uint64_t>(nanoseconds) : 0;
}

// One quiz, as one page load is one run of the program.
QuizState state;
PageQuizView view;
PageFrontEnd frontEnd;
ClockSeededRandom randomSource(pageNanoseconds);
QuizPresenter presenter(state, view, randomSource, frontEnd);

} // namespace

extern "C" {
__attribute__((used)) void quiz_next_example()
{
    presenter.nextExample();
}

__attribute__((used)) void quiz_check_answer()
{
    presenter.checkAnswer();
}

__attribute__((used)) void quiz_message_closed()
{
    presenter.messageClosed();
}

__attribute__((used)) void quiz_exit()
{
    presenter.exit();
}
}
