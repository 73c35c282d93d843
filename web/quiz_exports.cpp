// The quiz for the web page: a QuizView carried out by the page's script, and
// the two commands the page's buttons give. The module is plain WebAssembly
// with no JavaScript of its own: the page's side is a handful of functions
// (in app.js) that take texts as UTF-8 bytes in the module's memory, pointer
// and length, so starting the module registers nothing and converts no types.
#include "quiz_commands.h"
#include "quiz_state.h"
#include "quiz_view.h"
#include "random_source.h"

#include <cstddef>
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

// One quiz, as one page load is one run of the program.
QuizState state;
PageQuizView view;
ClockSeededRandom randomSource;

} // namespace

extern "C" {
__attribute__((used)) void quiz_next_example()
{
    onNextExample(state, view, randomSource);
}

__attribute__((used)) void quiz_check_answer()
{
    onCheckAnswer(state, view);
}
}
