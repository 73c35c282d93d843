#include "learner_rules.h"
#include "window_driver.h"

#include "problem_set.h" // ProblemCount

#include <gtest/gtest.h>

namespace {

// By mouse: the buttons leave the focus where it is, so every answer is typed
// straight into the field, without a click into it.
TEST(WindowFocus, AWholeQuizByMouseNeedsNoClickIntoTheField)
{
    WindowDriver driver;
    for (int n = 1; n <= ProblemCount; ++n) {
        SCOPED_TRACE(n);
        driver.next();
        ASSERT_EQ(driver.window.focusWidget(), driver.answerField());
        QTest::keyClicks(driver.window.focusWidget(), QString::number(driver.product()));
        driver.check();
        ASSERT_EQ(driver.label("Label5"), "Верно");
        ASSERT_EQ(driver.window.focusWidget(), driver.answerField());
    }
    EXPECT_EQ(driver.label("Label10"), "0");
}

// By keyboard: Tab still reaches every button, and a press brings the focus
// back to the field, which then reads the new problem as its description.
TEST(WindowFocus, TabReachesTheButtonsAndANewProblemReturnsToTheField)
{
    WindowDriver driver;
    QTest::keyClick(driver.answerField(), Qt::Key_Tab);
    QWidget *next = driver.widget("Command2");
    ASSERT_EQ(driver.window.focusWidget(), next);
    QTest::keyClick(next, Qt::Key_Space);
    EXPECT_EQ(driver.label("Label9"), "1");
    EXPECT_EQ(driver.window.focusWidget(), driver.answerField());
    EXPECT_EQ(driver.answerField()->accessibleDescription().toStdString(),
              learner::said(learner::SaidProblem, driver.label("Label1").toInt(), driver.label("Label2").toInt()));
}

} // namespace
