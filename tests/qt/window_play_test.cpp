#include "learner_rules.h"
#include "window_driver.h"

#include <gtest/gtest.h>

namespace {

const QColor Green(0, 192, 0);
const QPoint CreditPoint(383, 303); // (5750, 4550) twips

bool isDigit2To9(const QString &text)
{
    return text.size() == 1 && text[0] >= '2' && text[0] <= '9';
}

bool containsColour(const QImage &image, const QColor &colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

// By mouse: the buttons leave the focus where it is, so every answer is typed
// straight into the field, without a click into it. After the closing box a
// button pressed from the keyboard still brings the caret back.
TEST(WindowPlay, AWholeQuizThroughRealClicksAndTyping)
{
    WindowDriver driver;
    QSet<QPair<QString, QString>> problems;
    for (int n = 1; n <= ProblemCount; ++n) {
        driver.next();
        SCOPED_TRACE(n);
        ASSERT_EQ(driver.label("Label9"), QString::number(n));
        ASSERT_TRUE(isDigit2To9(driver.label("Label1")));
        ASSERT_TRUE(isDigit2To9(driver.label("Label2")));
        EXPECT_EQ(driver.answerField()->text(), "");
        EXPECT_EQ(driver.label("Label5"), "");
        problems.insert({driver.label("Label1"), driver.label("Label2")});
        ASSERT_EQ(driver.window.focusWidget(), driver.answerField());
        QTest::keyClicks(driver.window.focusWidget(), QString::number(driver.product() + (n <= 3 ? 1 : 0)));
        driver.check();
        ASSERT_EQ(driver.window.focusWidget(), driver.answerField());
        const QColor colour = n <= 3 ? QColor(255, 0, 0) : QColor(0, 0, 0);
        EXPECT_EQ(driver.label("Label5"), n <= 3 ? "Ошибка" : "Верно");
        EXPECT_EQ(driver.widget("Label5")->palette().color(QPalette::WindowText), colour);
        EXPECT_TRUE(containsColour(driver.widget("Label5")->grab().toImage(), colour));
    }
    EXPECT_EQ(problems.size(), 20);
    EXPECT_EQ(driver.label("Label10"), "3");

    for (int again = 0; again < 2; ++again) {
        const auto message = driver.nextExpectingMessage();
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->text, toQString(learner::closingText(3)));
        EXPECT_EQ(message->title, toQString(learner::ClosingTitle));
        EXPECT_EQ(message->icon, QMessageBox::Question);
        EXPECT_EQ(message->buttons, QMessageBox::Ok);
        EXPECT_EQ(message->okText, toQString(learner::ClosingOk));
        // Wide enough for the whole title beside the frame's buttons.
        EXPECT_GE(message->width, message->widthForTitle);
        EXPECT_GT(message->widthForTitle,
                  QFontMetrics(QApplication::font()).horizontalAdvance(message->title));
    }
    EXPECT_EQ(driver.label("Label9"), "20");
    driver.widget("Command3")->setFocus();
    QTest::keyClick(driver.widget("Command3"), Qt::Key_Space);
    EXPECT_EQ(driver.window.focusWidget(), driver.answerField());
}

// By keyboard: Tab still reaches every button, and a press brings the focus
// back to the field, which then reads the new problem as its description.
TEST(WindowPlay, TabReachesTheButtonsAndANewProblemReturnsToTheField)
{
    WindowDriver driver;
    QTest::keyClick(driver.answerField(), Qt::Key_Tab);
    QWidget *next = driver.widget("Command2");
    ASSERT_EQ(driver.window.focusWidget(), next);
    QTest::keyClick(next, Qt::Key_Space);
    EXPECT_EQ(driver.label("Label9"), "1");
    EXPECT_EQ(driver.window.focusWidget(), driver.answerField());
    EXPECT_EQ(
        driver.answerField()->accessibleDescription().toStdString(),
        learner::said(learner::SaidProblem, driver.label("Label1").toInt(), driver.label("Label2").toInt()));
}

TEST(WindowPlay, AnyTextCanBeTypedAndIsJudgedAsANumber)
{
    WindowDriver driver;
    driver.next();
    driver.type("   ");
    driver.next(); // blanks are an answer, so no penalty
    EXPECT_EQ(driver.label("Label10"), "0");
    driver.type(" \t ");
    driver.check();
    EXPECT_EQ(driver.label("Label5"), "Ошибка");
    EXPECT_EQ(driver.label("Label10"), "1");

    driver.next();
    driver.type(QString::number(driver.product()) + " кошек");
    driver.check();
    EXPECT_EQ(driver.label("Label5"), "Верно");

    driver.next();
    driver.answerField()->setText(QString(100000, QChar(0x263A)) + QChar(0) + "\t\n");
    driver.check();
    EXPECT_EQ(driver.label("Label5"), "Ошибка");
}

TEST(WindowPlay, TheCreditLineAppearsWithTheFirstProblemAndStays)
{
    WindowDriver driver;
    const QRect creditArea(CreditPoint, QPoint(522, 323));
    driver.type("12");
    driver.check(); // before the first problem: nothing changes, nothing is drawn
    EXPECT_EQ(driver.label("Label5"), "");
    EXPECT_EQ(driver.label("Label1"), "?");
    EXPECT_EQ(driver.windowPixel(CreditPoint), Green);
    EXPECT_FALSE(containsColour(driver.window.grab(creditArea).toImage(), QColor(0, 0, 0)));

    driver.next();
    EXPECT_EQ(driver.windowPixel(CreditPoint), QColor(0, 0, 0));
    const QImage credit = driver.window.grab(creditArea).toImage();
    // The text itself, not only the point at its corner: ink across the
    // width and the height its font gives the line.
    QRect inked;
    for (int y = 0; y < credit.height(); ++y)
        for (int x = 0; x < credit.width(); ++x)
            if (credit.pixelColor(x, y) != Green)
                inked |= QRect(x, y, 1, 1);
    const QFontMetrics metrics(driver.window.font());
    EXPECT_GE(inked.width(), metrics.horizontalAdvance(MainWindow::creditText()) - 2);
    EXPECT_GE(inked.height(), metrics.capHeight());
    // Nothing of it is cut off at the window's right or bottom edge.
    for (int y = 0; y < credit.height(); ++y)
        EXPECT_EQ(credit.pixelColor(credit.width() - 1, y), Green) << y;
    for (int x = 0; x < credit.width(); ++x)
        EXPECT_EQ(credit.pixelColor(x, credit.height() - 1), Green) << x;

    // Covered and uncovered, it is still there; later clicks leave it as it is.
    driver.window.repaint();
    driver.next();
    EXPECT_EQ(driver.window.grab(creditArea).toImage(), credit);
}

TEST(WindowPlay, ExitEndsTheEventLoopWithStatusZero)
{
    WindowDriver driver;
    driver.next();
    driver.type("5");
    QTimer::singleShot(0, [&driver] { driver.click("Command4"); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(42); }); // a safety net, never needed
    EXPECT_EQ(QApplication::exec(), 0);
}

} // namespace
