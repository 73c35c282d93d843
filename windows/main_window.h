#pragma once

#include "accessibility.h"
#include "layout_table.h"
#include "quiz_state.h"
#include "quiz_view.h"
#include "random_source.h"

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

// The program's one window, in plain Win32: every control built from the
// layout table, the quiz shown on them, and each button's click handed to
// the quiz's commands. It owns the quiz for the whole run.
class MainWindow final : public QuizView {
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

  private:
    struct Control {
        MainWindow *window = nullptr;
        const ControlSpec *row = nullptr;
        HWND handle = nullptr;
        WNDPROC systemProcedure = nullptr;
        ColourWord textColour = 0;
        HBRUSH background = nullptr;
        HFONT font = nullptr;
        HBITMAP picture = nullptr;
        AccessibleText accessible;
        bool pressedByMouse = false;
    };

    static LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleFormMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleControlMessage(Control &control, UINT message, WPARAM wParam, LPARAM lParam);
    bool handleMouseClick(Control &control, UINT message, LPARAM lParam);

    void buildControls();
    void createControl(const ControlSpec &row);
    void arrangeForDpi(int dpi);
    void loadIcons();
    void stackControls();
    bool handleKey(const MSG &message);
    void moveFocus(int step);
    void buttonClicked(int id);
    void endProgram();

    void paintCreditLine(HDC dc) const;
    void drawButton(const DRAWITEMSTRUCT &item) const;
    void drawPicture(const DRAWITEMSTRUCT &item) const;
    LRESULT colourControl(HDC dc, HWND handle) const;

    Control *find(HWND handle);
    const Control *find(HWND handle) const;
    Control &control(std::string_view name);
    HFONT createFont(const FontSpec &spec) const;
    std::vector<HWND> tabOrder() const;

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
};
