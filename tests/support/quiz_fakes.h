#pragma once

// Stand-ins for the window and for chance, shared by the quiz tests, the
// fuzzers and the benchmarks: a view that keeps what each control would
// show, and a random source that hands out chosen values.

#include "quiz_view.h"
#include "random_source.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Plays the window's part: keeps what each control would show, and records
// the calls whose order or count matters. Checking views derive from it.
class FakeQuizView : public QuizView {
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
    bool keepLog = true; // off where only the cost of the quiz itself matters

    void showFirstFactor(std::string_view text) override { firstFactor = text; }
    void showSecondFactor(std::string_view text) override { secondFactor = text; }
    std::string answerText() const override { return answer; }
    void clearAnswer() override { answer.clear(); }

    void showVerdict(std::string_view text, std::optional<ColourWord> colour) override
    {
        if (colour) {
            verdictColour = colour;
            if (keepLog)
                log.push_back("colour " + std::to_string(*colour));
        }
        verdict = text;
        if (keepLog)
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

// Hands out the values a test or a fuzzer chose. Once they run out it walks
// through all 64 pairs of factors in turn, so generation always ends.
class ScriptedRandomSource : public RandomSource {
  public:
    int seedCount = 0;

    void seedFromClock() override { ++seedCount; }

    double next() override
    {
        if (const std::optional<double> value = nextScripted())
            return *value;
        if (fallbackDraws_ == 0)
            ranOut();
        const std::size_t draw = fallbackDraws_++;
        const std::size_t pair = draw / 2 % 64;
        const std::size_t factor = draw % 2 == 0 ? pair / 8 : pair % 8;
        return (static_cast<double>(factor) + 0.5) / 8.0;
    }

  protected:
    // The next chosen value, or none when they have run out.
    virtual std::optional<double> nextScripted() = 0;
    // Called once, when the chosen values first run out.
    virtual void ranOut() {}

  private:
    std::size_t fallbackDraws_ = 0;
};
