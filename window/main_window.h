#pragma once

#include "quiz_state.h"
#include "quiz_view.h"
#include "random_source.h"

#include <QPointF>
#include <QWidget>

#include <optional>

class Announcer;
class QLabel;
class QLineEdit;
class QPushButton;
class QStyle;

// The program's one window. It shows the quiz on its controls, owns the quiz
// for the whole run, and hands each button click to the quiz's commands.
class MainWindow final : public QWidget, public QuizView {
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

  protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

  private:
    void buildControls();
    void setTabOrderFromTable();
    void connectButtons();
    void onExit();
    void presentProblem();

    template <typename T> T *control(const char *name) const;

    QuizState quiz_;
    ClockSeededRandom random_;
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
