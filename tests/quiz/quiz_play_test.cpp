#include "learner_rules.h"
#include "quiz_commands.h"
#include "quiz_fakes.h"
#include "quiz_state.h"
#include "scripted_random.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string ClosingTitle(learner::ClosingTitle);
const std::string Excellent(learner::ClosingNone);
const std::string Good(learner::ClosingFew);
const std::string Finished(learner::ClosingMany);

// A learner at the window: a quiz with a known problem set, driven through
// the two commands exactly as the buttons drive it. What holds of every
// sequence of commands (the start, the penalty for an empty field, the
// closing message after problem 20) is checked on the fuzz corpus, which
// ctest replays; these are the cases it cannot tell apart.
class Learner {
  public:
    QuizState state;
    FakeQuizView view;
    ScriptedRandom random{valuesFor(sampleProblems())};

    void next() { onNextExample(state, view, random); }
    void check() { onCheckAnswer(state, view); }
    void type(std::string text) { view.answer = std::move(text); }

    Problem onShow() const { return sampleProblems()[std::stoi(view.problemNumber) - 1]; }
    std::string rightAnswer() const { return std::to_string(onShow().firstFactor * onShow().secondFactor); }

    void answerRight()
    {
        type(rightAnswer());
        check();
    }
    void answerWrong()
    {
        type(std::to_string(onShow().firstFactor * onShow().secondFactor + 1));
        check();
    }

    // Shows all twenty problems, answering `wrong` of them wrongly and the rest right.
    void playAll(int wrong)
    {
        for (int n = 1; n <= ProblemCount; ++n) {
            next();
            if (n <= wrong)
                answerWrong();
            else
                answerRight();
        }
    }
};

TEST(QuizPlay, AnEmptyFieldIsChargedWhenMovingOn)
{
    Learner learner;
    learner.next();
    learner.next(); // problem 1 left empty
    EXPECT_EQ(learner.view.problemNumber, "2");
    EXPECT_EQ(learner.view.errorCount, "1");
    EXPECT_EQ(learner.view.firstFactor, "3");
    EXPECT_EQ(learner.view.secondFactor, "2");

    learner.type("99"); // typed but never checked: not charged
    learner.next();
    EXPECT_EQ(learner.view.problemNumber, "3");
    EXPECT_EQ(learner.view.errorCount, "1");

    learner.answerWrong(); // wrong once, then left in the field: charged once
    EXPECT_EQ(learner.view.errorCount, "2");
    learner.next();
    EXPECT_EQ(learner.view.errorCount, "2");
    EXPECT_EQ(learner.view.problemNumber, "4");
}

TEST(QuizPlay, EachProblemIsCheckedOnce)
{
    Learner learner;
    learner.next();
    learner.check(); // empty field: ignored, still checkable
    EXPECT_EQ(learner.view.verdict, "");
    EXPECT_EQ(learner.state.answerState, 1);

    learner.answerWrong();
    EXPECT_EQ(learner.view.verdict, "Ошибка");
    EXPECT_EQ(learner.view.errorCount, "1");

    learner.answerRight(); // edited afterwards: the verdict stands
    learner.check();
    EXPECT_EQ(learner.view.verdict, "Ошибка");
    EXPECT_EQ(learner.view.errorCount, "1");
    EXPECT_EQ(learner.view.answer, learner.rightAnswer()); // a check never clears the field

    learner.next(); // the next problem is checkable again
    learner.answerRight();
    EXPECT_EQ(learner.view.verdict, "Верно");
}

TEST(QuizPlay, VerdictsSetTheirColourBeforeTheirTextAndClearWithoutOne)
{
    Learner learner;
    learner.next();
    learner.answerRight();
    EXPECT_EQ(learner.view.verdict, "Верно");
    EXPECT_EQ(learner.view.verdictColour, Black);
    EXPECT_EQ(learner.view.errorCount, "0");

    learner.next();
    learner.answerWrong();
    EXPECT_EQ(learner.view.verdict, "Ошибка");
    EXPECT_EQ(learner.view.verdictColour, Red);
    EXPECT_EQ(learner.view.errorCount, "1");

    learner.next(); // clearing keeps the red
    EXPECT_EQ(learner.view.verdict, "");
    EXPECT_EQ(learner.view.verdictColour, Red);

    const std::vector<std::string> expected = {"verdict ",   "colour 0",       "verdict Верно", "verdict ",
                                               "colour 255", "verdict Ошибка", "verdict "};
    EXPECT_EQ(learner.view.log, expected);
}

TEST(QuizPlay, AnswersAreComparedAsNumbersAndNonNumbersAreErrors)
{
    const std::pair<std::string, bool> answers[] = {
        {"6", true},      {"06", true},     {" 6 ", true},  {"6,0", true},   {"+6", true},
        {"6 штук", true}, {"6,5", false},   {"-6", false},  {"abc", false},  {" ", false},
        {"-", false},     {"шесть", false}, {"0x6", false}, {"\xFF", false}, {"60", false},
    };
    for (const auto &[text, right] : answers) {
        Learner learner;
        learner.next(); // 2 x 3
        learner.type(text);
        learner.check();
        EXPECT_EQ(learner.view.verdict, right ? "Верно" : "Ошибка") << text;
        EXPECT_EQ(learner.view.errorCount, right ? "0" : "1") << text;
    }
}

TEST(QuizPlay, TheLargestProductFitsItsByte)
{
    Learner learner;
    learner.next();
    learner.next();
    learner.type("0");
    learner.next(); // problem 3 is 9 x 9
    EXPECT_EQ(learner.state.expectedProduct, 81);
    learner.type("81");
    learner.check();
    EXPECT_EQ(learner.view.verdict, "Верно");
}

struct Ending {
    int wrong;
    std::string text;
};

void PrintTo(const Ending &ending, std::ostream *out)
{
    *out << ending.wrong << " errors";
}

class QuizEnding : public testing::TestWithParam<Ending> {};

TEST_P(QuizEnding, TheClosingMessageDependsOnTheErrorCountAndRepeats)
{
    Learner learner;
    learner.playAll(GetParam().wrong);
    EXPECT_EQ(learner.view.errorCount, std::to_string(GetParam().wrong));
    EXPECT_TRUE(learner.view.messages.empty());

    learner.next();
    learner.next();
    const std::pair<std::string, std::string> expected{GetParam().text, ClosingTitle};
    ASSERT_EQ(learner.view.messages.size(), 2u);
    EXPECT_EQ(learner.view.messages[0], expected);
    EXPECT_EQ(learner.view.messages[1], expected);
    EXPECT_EQ(learner.view.problemNumber, "20");
    EXPECT_EQ(learner.view.errorCount, std::to_string(GetParam().wrong));
}

INSTANTIATE_TEST_SUITE_P(QuizPlay, QuizEnding,
                         testing::Values(Ending{0, Excellent}, Ending{1, Good}, Ending{3, Good},
                                         Ending{4, Finished}, Ending{20, Finished}),
                         [](const testing::TestParamInfo<Ending> &info) {
                             return std::to_string(info.param.wrong) + "Errors";
                         });

TEST(QuizPlay, CheckingProblemTwentyAfterTheMessageChangesTheNextMessage)
{
    Learner learner;
    for (int n = 1; n < ProblemCount; ++n) {
        learner.next();
        learner.answerRight();
    }
    learner.next();
    learner.type(learner.rightAnswer()); // typed, not yet checked
    learner.next();
    learner.answerWrong();
    learner.next();
    ASSERT_EQ(learner.view.messages.size(), 2u);
    EXPECT_EQ(learner.view.messages[0].first, Excellent);
    EXPECT_EQ(learner.view.messages[1].first, Good);
}

} // namespace
