// Whole quizzes on the real Windows program: what the learner sees, from
// the window's texts and from its pixels.
#include "learner_rules.h"
#include "program_driver.h"
#include "quiz_commands.h"
#include "text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace {

bool isRed(std::uint32_t rgb)
{
    return (rgb >> 16) > 150 && ((rgb >> 8) & 0xFF) < 80 && (rgb & 0xFF) < 80;
}
bool isBlack(std::uint32_t rgb)
{
    return (rgb >> 16) < 60 && ((rgb >> 8) & 0xFF) < 60 && (rgb & 0xFF) < 60;
}
int countWhere(const Capture &capture, bool (*test)(std::uint32_t))
{
    int n = 0;
    for (const std::uint32_t p : capture.pixels)
        n += test(p);
    return n;
}

constexpr std::uint32_t Green = 0x00C000;

std::wstring wide(std::string_view utf8)
{
    return toWide(utf8);
}

// Where a person can look at the window later, if asked for.
void keepScreen(const wchar_t *name)
{
    if (const char *folder = std::getenv("TSIFROLET_SCREENSHOTS"))
        saveScreen(wide(folder) + L"\\" + name);
}

RECT clientOnScreen(HWND form, POINT from)
{
    RECT client;
    GetClientRect(form, &client);
    POINT to{client.right, client.bottom};
    ClientToScreen(form, &from);
    ClientToScreen(form, &to);
    return {from.x, from.y, to.x, to.y};
}

// The closing box: its texts, then closed by a click on its button.
void expectClosingBox(Program &program, std::string_view text)
{
    const OpenBox box = program.openBox();
    ASSERT_NE(box.handle, nullptr) << "no closing message";
    EXPECT_EQ(box.title(), wide(learner::ClosingTitle));
    EXPECT_EQ(box.text(), wide(text));
    EXPECT_EQ(box.okCaption(), wide(learner::ClosingOk));
    RECT message;
    GetWindowRect(GetDlgItem(box.handle, 0xFFFF), &message);
    const Capture shown = captureScreen(message);
    EXPECT_GE(shown.distinctGlyphs(shown.at(0, 0)), 6) << "the message is not drawn in real letters";
    RECT ok;
    GetWindowRect(box.button(), &ok);
    program.clickAt({(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2});
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box.handle); })) << "the box did not close";
    // The box's caption is its own: the window's buttons, which a screen
    // reader names by their text, keep theirs.
    program.settle();
    const std::pair<const char *, const wchar_t *> buttons[] = {
        {"Command2", L"Пример"}, {"Command3", L"Да"}, {"Command4", L"Выход"}};
    for (const auto &[name, caption] : buttons)
        EXPECT_EQ(program.text(name), caption) << name << " was renamed by the closing box";
}

TEST(WindowsQuiz, TypedQuizRightToTheEndThenOneWrong)
{
    Program program;
    EXPECT_EQ(program.text("Label1"), L"?");
    EXPECT_EQ(program.text("Label2"), L"?");
    EXPECT_EQ(program.text("Label10"), L"0");
    EXPECT_EQ(program.text("Label9"), L"");

    program.type(L"5");
    program.check();
    EXPECT_EQ(program.text("Label5"), L"") << "«Да» before the first problem judged something";

    for (int n = 1; n < ProblemCount; ++n) {
        program.next();
        ASSERT_EQ(program.text("Label9"), std::to_wstring(n));
        EXPECT_EQ(program.text("Text1"), L"");
        program.type(std::to_wstring(program.product()));
        program.check();
        ASSERT_TRUE(waitUntil([&] { return program.text("Label5") == wide(learner::VerdictRight); }))
            << "problem " << n << ": " << toUtf8(program.text("Label1")) << " x "
            << toUtf8(program.text("Label2")) << ", answer " << toUtf8(program.text("Text1")) << ", verdict "
            << toUtf8(program.text("Label5"));
        if (n == 1) {
            const Capture verdict = captureScreen(program.screenRect("Label5"));
            EXPECT_GT(countWhere(verdict, isBlack), 10);
            EXPECT_EQ(countWhere(verdict, isRed), 0);
            EXPECT_GE(verdict.distinctGlyphs(Green), 4) << "«Верно» is not drawn in real letters";
            // Checked once: a changed answer is not judged again.
            program.type(L"1");
            program.check();
            program.type(L"");
            EXPECT_EQ(program.text("Label5"), wide(learner::VerdictRight));
            EXPECT_EQ(program.text("Label10"), L"0");
        }
        if (n == 10)
            keepScreen(L"mid-quiz.bmp");
    }
    EXPECT_EQ(program.text("Label10"), L"0");

    // The credit line, drawn at the start, in real letters, and still there
    // once the whole window has been painted again, as after being covered.
    RedrawWindow(program.form(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    program.settle();
    const Capture credit =
        captureScreen(clientOnScreen(program.form(), {scaled(CreditLineX), scaled(CreditLineY)}));
    EXPECT_GE(credit.distinctGlyphs(Green), 8) << "the credit line is missing or not in real letters";

    // Problem 20 is left empty: no penalty, and the best closing text.
    program.next();
    ASSERT_EQ(program.text("Label9"), L"20");
    program.click("Command2");
    keepScreen(L"closing.bmp");
    expectClosingBox(program, learner::ClosingNone);
    EXPECT_EQ(program.text("Label10"), L"0");

    // Problem 20 can still be checked; the next closing text counts it.
    program.type(std::to_wstring(program.product() + 1));
    program.check();
    ASSERT_TRUE(waitUntil([&] { return program.text("Label5") == wide(learner::VerdictWrong); }));
    EXPECT_EQ(program.text("Label10"), L"1");
    const Capture verdict = captureScreen(program.screenRect("Label5"));
    EXPECT_GT(countWhere(verdict, isRed), 10);
    EXPECT_GE(verdict.distinctGlyphs(Green), 5) << "«Ошибка» is not drawn in real letters";
    program.click("Command2");
    expectClosingBox(program, learner::ClosingFew);
}

TEST(WindowsQuiz, EmptyFieldsAreChargedThenTheLastClosingTextAndExit)
{
    Program program;
    program.next();
    program.next();
    EXPECT_EQ(program.text("Label10"), L"1") << "an empty field was not charged";
    for (int n = 3; n <= ProblemCount; ++n)
        program.next();
    EXPECT_EQ(program.text("Label10"), std::to_wstring(ProblemCount - 1));
    program.click("Command2");
    expectClosingBox(program, learner::ClosingMany);
    EXPECT_EQ(program.text("Label9"), L"20");

    program.click("Command4");
    EXPECT_TRUE(program.hasEnded()) << "«Выход» did not end the program";
}

} // namespace
