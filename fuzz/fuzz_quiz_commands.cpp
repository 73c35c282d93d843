// Plays arbitrary sequences of clicks and typing against the quiz, with the
// random numbers taken from the input as well, and stops at the first step
// that breaks a promise the window relies on.
//
// Input: commands and the text they type are read from the front, random
// numbers from the back, so a change to one leaves the other alone.
//   'n' next problem        'c' check the answer     'e' empty the field
//   'r' the right product, as a child might type it (next byte: which way)
//   'w' a wrong number (next byte: which one)
//   'd' digits (next byte: how many, then one byte per digit)
//   'j' raw bytes (next byte: how many)   'h' a huge text (next byte: size)
// Any other byte stands for one of these.

#include "learner_rules.h"
#include "problem_set.h"
#include "quiz_commands.h"
#include "quiz_fakes.h"
#include "quiz_state.h"
#include "quiz_view.h"
#include "random_source.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace {

void require(bool holds, const char *rule)
{
    if (holds)
        return;
    std::fprintf(stderr, "quiz invariant broken: %s\n", rule);
    std::abort();
}

// A count as the window shows it: plain decimal, no sign, no leading zeros.
int countShown(std::string_view text)
{
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    require(error == std::errc{} && end == text.data() + text.size() && value >= 0, "a count is a number");
    require(std::to_string(value) == text, "a count is plain decimal");
    return value;
}

class Input {
  public:
    Input(const std::uint8_t *data, std::size_t size) : data_(data), back_(size) {}

    bool empty() const { return front_ == back_; }
    std::uint8_t front() { return empty() ? 0 : data_[front_++]; }
    std::optional<std::uint8_t> back()
    {
        if (empty())
            return std::nullopt;
        return data_[--back_];
    }
    std::string text(std::size_t length)
    {
        length = std::min(length, back_ - front_);
        std::string bytes(reinterpret_cast<const char *>(data_ + front_), length);
        front_ += length;
        return bytes;
    }

  private:
    const std::uint8_t *data_;
    std::size_t front_ = 0;
    std::size_t back_;
};

// Random numbers from the back of the input, then the pairs' walk.
class InputRandom final : public ScriptedRandomSource {
  public:
    explicit InputRandom(Input &input) : input_(input) {}

  private:
    std::optional<double> nextScripted() override
    {
        if (const auto byte = input_.back())
            return valueOf(*byte);
        return std::nullopt;
    }

    // Most bytes spread evenly over [0, 1); the top four break the source's
    // promise, which generation must survive all the same.
    static double valueOf(std::uint8_t byte)
    {
        switch (byte) {
        case 0xFF:
            return 1.0;
        case 0xFE:
            return -0.25;
        case 0xFD:
            return std::numeric_limits<double>::quiet_NaN();
        case 0xFC:
            return std::numeric_limits<double>::infinity();
        default:
            return byte / 256.0;
        }
    }

    Input &input_;
};

// The window's part, checking each call as it comes.
class CheckingView final : public FakeQuizView {
  public:
    CheckingView() { keepLog = false; }

    std::array<int, ProblemCount + 1> verdictsFor{};

    void showVerdict(std::string_view text, std::optional<ColourWord> colour) override
    {
        FakeQuizView::showVerdict(text, colour);
        if (text.empty()) {
            require(!colour, "clearing the verdict leaves its colour");
            return;
        }
        require((text == learner::VerdictRight && colour == Black) ||
                    (text == learner::VerdictWrong && colour == Red),
                "the verdict is Верно in black or Ошибка in red");
        require(!problemNumber.empty(), "a verdict only for a problem on show");
        require(++verdictsFor.at(static_cast<std::size_t>(countShown(problemNumber))) == 1,
                "each problem is checked at most once");
    }

    void showErrorCount(std::string_view text) override
    {
        require(countShown(text) == countShown(errorCount) + 1, "the error count goes up one at a time");
        FakeQuizView::showErrorCount(text);
    }

    void showMessage(std::string_view text, std::string_view title) override
    {
        require(problemNumber == "20", "the closing message comes only after problem 20");
        require(title == learner::ClosingTitle, "the closing message has its title");
        require(text == learner::closingText(countShown(errorCount)), "the closing message suits the error count");
        FakeQuizView::showMessage(text, title);
    }

    void drawCreditLine(int xTwips, int yTwips) override
    {
        require(xTwips == CreditLineX && yTwips == CreditLineY, "the credit line sits at its place");
        FakeQuizView::drawCreditLine(xTwips, yTwips);
    }
};

enum class Answer { Empty, Right, Wrong, Other };

class Player {
  public:
    explicit Player(Input &input) : input_(input), random_(input) {}

    void play()
    {
        for (int step = 0; step < 5000 && !input_.empty(); ++step) {
            act(input_.front());
            checkInvariants();
        }
    }

  private:
    void act(std::uint8_t command)
    {
        switch (command) {
        case 'n':
            return next();
        case 'c':
            return check();
        case 'e':
            return type(Answer::Empty, "");
        case 'r':
            return type(Answer::Right, rightAnswer(input_.front()));
        case 'w':
            return type(Answer::Wrong, wrongAnswer(input_.front()));
        case 'd':
            return typeDigits(input_.front() % 12);
        case 'j':
            return type(Answer::Other, input_.text(input_.front()));
        case 'h':
            return typeHuge(input_.front());
        default:
            return act(static_cast<std::uint8_t>("nnnccerwdjh"[command % 11]));
        }
    }

    int product() const { return std::stoi(view_.firstFactor) * std::stoi(view_.secondFactor); }

    std::string rightAnswer(std::uint8_t way) const
    {
        if (view_.problemNumber.empty())
            return "56";
        const std::string p = std::to_string(product());
        switch (way % 9) {
        case 1:
            return "  " + p;
        case 2:
            return "+" + p;
        case 3:
            return p + ",0";
        case 4:
            return p + ".000";
        case 5:
            return p + " кошек";
        case 6:
            return "00" + p;
        case 7:
            return "\u00A0" + p + "\t";
        case 8:
            return p.substr(0, 1) + " " + p.substr(1);
        default:
            return p;
        }
    }

    std::string wrongAnswer(std::uint8_t which) const
    {
        const int p = view_.problemNumber.empty() ? 56 : product();
        switch (which % 5) {
        case 1:
            return "-" + std::to_string(p);
        case 2:
            return std::to_string(p) + ",5";
        case 3:
            return "0";
        case 4:
            return std::to_string(std::max(0, p - 1 - which / 5));
        default:
            return std::to_string(p + 1 + which / 5);
        }
    }

    void typeDigits(std::size_t count)
    {
        std::string digits;
        for (std::size_t i = 0; i < count; ++i)
            digits += static_cast<char>('0' + input_.front() % 10);
        type(Answer::Other, digits);
    }

    void typeHuge(std::uint8_t size)
    {
        const std::string chunk = input_.text(8);
        std::string huge;
        while (!chunk.empty() && huge.size() < std::size_t{size} * 512)
            huge += chunk;
        type(Answer::Other, huge);
    }

    void type(Answer kind, std::string text)
    {
        answerKind_ = text.empty() ? Answer::Empty : kind;
        view_.answer = std::move(text);
    }

    void next()
    {
        const int shownBefore = state_.currentNumber;
        const int errorsBefore = state_.errorCount;
        const std::size_t messagesBefore = view_.messages.size();
        onNextExample(state_, view_, random_);
        if (state_.started == 1 && !firstSet_)
            firstSet_ = problems();

        require(state_.errorCount == errorsBefore + learner::penaltyForNext(shownBefore, answerKind_ == Answer::Empty),
                "an error is charged for an empty field, and only then");
        require(state_.currentNumber == std::min(shownBefore + 1, ProblemCount),
                "next shows the next problem");
        require(view_.messages.size() == messagesBefore + (shownBefore == ProblemCount ? 1 : 0),
                "after problem 20, and only then, each click brings the closing message");
        if (shownBefore < ProblemCount) {
            require(view_.answer.empty() && view_.verdict.empty(), "a new problem starts clean");
            answerKind_ = Answer::Empty;
        }
    }

    void check()
    {
        const int number = state_.currentNumber;
        const int verdictsBefore = number >= 1 ? view_.verdictsFor.at(static_cast<std::size_t>(number)) : 0;
        const int errorsBefore = state_.errorCount;
        onCheckAnswer(state_, view_);
        const bool judged =
            number >= 1 && view_.verdictsFor.at(static_cast<std::size_t>(number)) > verdictsBefore;

        require(judged == learner::checkJudges(number, verdictsBefore > 0, answerKind_ == Answer::Empty),
                "a check judges a typed answer to a problem not yet checked, and nothing else");
        if (judged && answerKind_ == Answer::Right)
            require(view_.verdict == learner::VerdictRight, "the right product is right, however it is written");
        if (judged && answerKind_ == Answer::Wrong)
            require(view_.verdict == learner::VerdictWrong, "a wrong number is wrong");
        require(state_.errorCount == errorsBefore + (judged && view_.verdict == learner::VerdictWrong ? 1 : 0),
                "a wrong answer counts one error");
    }

    std::array<Problem, ProblemCount> problems() const
    {
        std::array<Problem, ProblemCount> all;
        for (int n = 1; n <= ProblemCount; ++n)
            all.at(static_cast<std::size_t>(n - 1)) = state_.problems.at(n);
        return all;
    }

    void checkInvariants() const
    {
        const int shown = state_.currentNumber;
        require(shown >= 0 && shown <= ProblemCount, "the problem number stays within 0..20");
        require(state_.started == 0 || state_.started == 1, "the problem set is generated once");
        require(random_.seedCount == state_.started, "the clock seeds the source once, when the quiz starts");
        require(std::ssize(view_.creditLines) == state_.started,
                "the credit line is drawn once, when the quiz starts");
        require(state_.errorCount >= 0 && state_.errorCount <= std::max(0, 2 * shown - 1),
                "at most a wrong answer and an empty field per problem");
        require(countShown(view_.errorCount) == state_.errorCount, "the error count on show is the real one");

        if (state_.started == 0) {
            require(shown == 0, "no problem before the start");
            require(std::ranges::all_of(problems(),
                                        [](Problem p) {
                                            return p == Problem{0, 0};
                                        }),
                    "no problems before the start");
            require(view_.firstFactor == "?" && view_.secondFactor == "?" && view_.problemNumber.empty(),
                    "nothing on show before the start");
            return;
        }

        require(shown >= 1, "the first click shows problem 1");
        const auto all = problems();
        std::set<std::pair<int, int>> different;
        for (const auto &[a, b] : all) {
            require(a >= MinFactor && a <= MaxFactor && b >= MinFactor && b <= MaxFactor, "factors 2 to 9");
            different.emplace(a, b);
        }
        require(different.size() == ProblemCount, "twenty different problems");
        require(all == firstSet_, "the problems never change once drawn");

        const Problem problem = state_.problems.at(shown);
        require(view_.firstFactor == std::to_string(problem.firstFactor) &&
                    view_.secondFactor == std::to_string(problem.secondFactor),
                "the factors on show are those of the problem");
        require(view_.problemNumber == std::to_string(shown), "the number on show is the problem's");
        require(state_.expectedProduct == problem.firstFactor * problem.secondFactor, "the product is kept");
    }

    Input &input_;
    InputRandom random_;
    CheckingView view_;
    QuizState state_;
    Answer answerKind_ = Answer::Empty;
    std::optional<std::array<Problem, ProblemCount>> firstSet_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Input input(data, size);
    Player(input).play();
    return 0;
}
