#pragma once

#include "controls.h"
#include "front_end.h"
#include "quiz_presenter.h"
#include "quiz_state.h"
#include "quiz_view.h"
#include "random_source.h"

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

// The program's one window, in plain Win32: every control built from the
// layout table and the quiz shown on them. It owns the quiz for the whole
// run and hands each button click to the presenter, which runs the quiz's
// command and decides what a screen reader hears and where the caret goes;
// the window carries that out.
class MainWindow final : public QuizView, public FrontEnd {
  public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    // Shows the window with the focus in the answer field and handles its
    // messages until it is closed; returns the program's exit code.
    int run(int showCommand);

    void showFirstFactor(std::string_view text) override;
    void showSecondFactor(std::string_view text) override;
    std::string answerText() const override;
    void clearAnswer() override;
    void showVerdict(std::string_view text, std::optional<ColourWord> colour) override;
    void showProblemNumber(std::string_view text) override;
    void showErrorCount(std::string_view text) override;
    void showMessage(std::string_view text, std::string_view title) override;
    void drawCreditLine(int xTwips, int yTwips) override;

    void announce(std::string_view message) override;
    void describeAnswerField(std::string_view description) override;
    bool answerFieldHasFocus() const override;
    void focusAnswerField() override;
    Ending endProgram() override;

  private:
    static LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleFormMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleControlMessage(Control &control, UINT message, WPARAM wParam, LPARAM lParam);
    bool handleKey(const MSG &message);
    void moveFocus(int step);
    void buttonClicked(int id);

    void buildControls();
    void arrangeForDpi(int dpi);
    void loadIcons();
    void paintCreditLine(HDC dc) const;
    LRESULT colourControl(HDC dc, HWND handle) const;

    Control *find(HWND handle);
    Control &control(std::string_view name);
    const Control &control(std::string_view name) const;
    HBRUSH backgroundOf(const Control &control) const;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    std::vector<Control> controls_;
    HBRUSH formBackground_ = nullptr;
    HFONT formFont_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HWND focusWhenInactive_ = nullptr;
    std::optional<POINT> creditLineTwips_;

    QuizState quiz_;
    ClockSeededRandom random_;
    QuizPresenter presenter_{quiz_, *this, random_, *this};
};
