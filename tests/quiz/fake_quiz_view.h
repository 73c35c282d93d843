#pragma once

#include "quiz_view.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Plays the window's part: keeps what each control would show, and records
// the calls whose order or count matters.
class FakeQuizView final : public QuizView {
  public:
    std::string firstFactor = "?";
    std::string secondFactor = "?";
    std::string answer;
    std::string verdict;
    std::optional<ColourWord> verdictColour; // none until a colour is set
    std::string problemNumber;
    std::string errorCount = "0";

    std::vector<std::pair<std::string, std::string>> messages; // text, title
    std::vector<std::pair<int, int>> creditLines;
    std::vector<std::string> log;

    void showFirstFactor(std::string_view text) override { firstFactor = text; }
    void showSecondFactor(std::string_view text) override { secondFactor = text; }
    std::string answerText() const override { return answer; }
    void clearAnswer() override { answer.clear(); }

    void showVerdict(std::string_view text, std::optional<ColourWord> colour) override
    {
        if (colour) {
            verdictColour = colour;
            log.push_back("colour " + std::to_string(*colour));
        }
        verdict = text;
        log.push_back("verdict " + verdict);
    }

    void showProblemNumber(std::string_view text) override { problemNumber = text; }
    void showErrorCount(std::string_view text) override { errorCount = text; }
    void showMessage(std::string_view text, std::string_view title) override
    {
        messages.emplace_back(text, title);
    }
    void drawCreditLine(int x, int y) override { creditLines.emplace_back(x, y); }
};
