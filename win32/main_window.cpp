#include "main_window.h"

#include "message_box.h"
#include "phrases.h"
#include "text.h"

namespace {

void setText(const Control &control, std::string_view text)
{
    SetWindowTextW(control.handle, toWide(text).c_str());
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance) : form_(instance, *this) {}

// A window still there when the loop ends (a stray WM_QUIT, a failing
// GetMessageW) is destroyed while everything its last messages reach lives:
// the form, the first member, goes last.
MainWindow::~MainWindow()
{
    form_.destroy();
}

int MainWindow::run(int showCommand)
{
    ShowWindow(form_.handle(), showCommand);
    UpdateWindow(form_.handle());
    focusAnswerField();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (dialog_.handleKey(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void MainWindow::buttonClicked(const Control &button)
{
    if (&button == &nextExampleButton_)
        presenter_.nextExample();
    else if (&button == &checkButton_)
        presenter_.checkAnswer();
    else if (&button == &exitButton_)
        presenter_.exit();
}

void MainWindow::activationChanged(bool active)
{
    dialog_.activationChanged(active);
}

void MainWindow::showFirstFactor(std::string_view text)
{
    setText(firstFactor_, text);
}

void MainWindow::showSecondFactor(std::string_view text)
{
    setText(secondFactor_, text);
}

std::string MainWindow::answerText() const
{
    return toUtf8(textOf(answer_.handle));
}

void MainWindow::clearAnswer()
{
    setText(answer_, "");
}

void MainWindow::showVerdict(std::string_view text, std::optional<ColourWord> colour)
{
    if (colour)
        verdict_.textColour = *colour;
    setText(verdict_, text);
    InvalidateRect(verdict_.handle, nullptr, TRUE);
}

void MainWindow::showProblemNumber(std::string_view text)
{
    setText(problemNumber_, text);
}

void MainWindow::showErrorCount(std::string_view text)
{
    setText(errorCount_, text);
}

void MainWindow::showMessage(std::string_view text, std::string_view title)
{
    showQuestionBox(form_.handle(), toWide(text), toWide(title), toWide(MessageOkCaption));
    presenter_.messageClosed();
}

void MainWindow::drawCreditLine(int xTwips, int yTwips)
{
    form_.showCreditLine({xTwips, yTwips});
}

void MainWindow::announce(std::string_view message)
{
    ::announce(form_.handle(), toWide(message));
}

void MainWindow::describeAnswerField(std::string_view description)
{
    answer_.accessible.description = toWide(description);
    descriptionChanged(answer_.handle);
}

bool MainWindow::answerFieldHasFocus() const
{
    return GetFocus() == answer_.handle;
}

void MainWindow::focusAnswerField()
{
    SetFocus(answer_.handle);
}

FrontEnd::Ending MainWindow::endProgram()
{
    form_.destroy();
    return Ending::Closed;
}
