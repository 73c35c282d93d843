#pragma once

#include "front_end.h"
#include "quiz_presenter.h"
#include "quiz_state.h"
#include "quiz_view.h"
#include "random_source.h"

#include <QPointF>
#include <QWidget>

#include <optional>
#include <string_view>

class Announcer;
class QLabel;
class QLineEdit;
class QPushButton;
class QStyle;

// The program's one window. It shows the quiz on its controls, owns the quiz
// for the whole run, and hands each button click to the presenter, which runs
// the quiz's command and tells the window what to say and where the caret goes.
class MainWindow final : public QWidget, public QuizView, public FrontEnd {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget *parent = nullptr);

    // The line written near the lower-right corner when the quiz starts.
    static QString creditText();

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

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void buildControls();
    void setTabOrderFromTable();
    void connectButtons();

    template <typename T> T *control(std::string_view name) const;

    QuizState quiz_;
    ClockSeededRandom random_;
    QuizPresenter presenter_{quiz_, *this, random_, *this};
    QStyle *style_ = nullptr;
    std::optional<QPointF> creditLineAt_;

    QLabel *firstFactor_ = nullptr;
    QLabel *secondFactor_ = nullptr;
    QLineEdit *answer_ = nullptr;
    QLabel *verdict_ = nullptr;
    QLabel *problemNumber_ = nullptr;
    QLabel *errorCount_ = nullptr;
    Announcer *announcer_ = nullptr;
};
