#include "quiz_player.h"

#include "learner_rules.h"
#include "quiz_commands.h"

#include <algorithm>
#include <utility>

namespace quiz_fuzz {

void Player::play()
{
    for (int step = 0; step < 5000 && !input_.empty(); ++step) {
        act(input_.front());
        checkInvariants(state_, view_, random_.seedCount, firstSet_);
    }
}

void Player::act(std::uint8_t command)
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

int Player::product() const
{
    return std::stoi(view_.firstFactor) * std::stoi(view_.secondFactor);
}

std::string Player::rightAnswer(std::uint8_t way) const
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

std::string Player::wrongAnswer(std::uint8_t which) const
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

void Player::typeDigits(std::size_t count)
{
    std::string digits;
    for (std::size_t i = 0; i < count; ++i)
        digits += static_cast<char>('0' + input_.front() % 10);
    type(Answer::Other, digits);
}

void Player::typeHuge(std::uint8_t size)
{
    const std::string chunk = input_.text(8);
    std::string huge;
    while (!chunk.empty() && huge.size() < std::size_t{size} * 512)
        huge += chunk;
    type(Answer::Other, huge);
}

void Player::type(Answer kind, std::string text)
{
    answerKind_ = text.empty() ? Answer::Empty : kind;
    view_.answer = std::move(text);
}

void Player::next()
{
    const int shownBefore = state_.currentNumber;
    const int errorsBefore = state_.errorCount;
    const std::size_t messagesBefore = view_.messages.size();
    onNextExample(state_, view_, random_);
    if (state_.started == 1 && !firstSet_)
        firstSet_ = problemsOf(state_);

    require(state_.errorCount ==
                errorsBefore + learner::penaltyForNext(shownBefore, answerKind_ == Answer::Empty),
            "an error is charged for an empty field, and only then");
    require(state_.currentNumber == std::min(shownBefore + 1, ProblemCount), "next shows the next problem");
    require(view_.messages.size() == messagesBefore + (shownBefore == ProblemCount ? 1 : 0),
            "after problem 20, and only then, each click brings the closing message");
    if (shownBefore < ProblemCount) {
        require(view_.answer.empty() && view_.verdict.empty(), "a new problem starts clean");
        answerKind_ = Answer::Empty;
    }
}

void Player::check()
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

} // namespace quiz_fuzz
