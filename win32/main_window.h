#pragma once

#include "dialog_manager.h"
#include "form_window.h"
#include "front_end.h"
#include "quiz_presenter.h"
#include "quiz_state.h"
#include "quiz_view.h"
#include "random_source.h"

#include <windows.h>

#include <optional>
#include <string_view>

// The program's one window, in plain Win32: the quiz shown on the form's
// controls. It owns the quiz for the whole run and hands each button click
// to the presenter, which runs the quiz's command and decides what a screen
// reader hears and where the caret goes; the window carries that out.
class MainWindow final : public QuizView, public FrontEnd, private FormWindow::Owner {
  public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow();
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
    void buttonClicked(const Control &button) override;
    void activationChanged(bool active) override;

    FormWindow form_;
    Control &firstFactor_ = form_.control("Label1");
    Control &secondFactor_ = form_.control("Label2");
    Control &answer_ = form_.control("Text1");
    Control &verdict_ = form_.control("Label5");
    Control &problemNumber_ = form_.control("Label9");
    Control &errorCount_ = form_.control("Label10");
    const Control &nextExampleButton_ = form_.control("Command2");
    const Control &checkButton_ = form_.control("Command3");
    const Control &exitButton_ = form_.control("Command4");
    DialogManager dialog_{form_, answer_.handle};

    QuizState quiz_;
    ClockSeededRandom random_;
    QuizPresenter presenter_{quiz_, *this, random_, *this};
};
