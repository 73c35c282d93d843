#include "learner_rules.h"
#include "window_driver.h"

#include <QElapsedTimer>

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

TEST(WindowPlay, CheckBeforeTheFirstProblemChangesNothing)
{
    WindowDriver driver;
    driver.type("12");
    driver.check();
    EXPECT_EQ(driver.label("Label5"), "");
    EXPECT_EQ(driver.label("Label9"), "");
    EXPECT_EQ(driver.label("Label10"), "0");
    EXPECT_EQ(driver.label("Label1"), "?");
    EXPECT_EQ(driver.windowPixel(CreditPoint), Green);
}

TEST(WindowPlay, AWholeQuizThroughRealClicksAndTyping)
{
    WindowDriver driver;
    QSet<QPair<QString, QString>> problems;
    for (int n = 1; n <= 20; ++n) {
        driver.next();
        SCOPED_TRACE(n);
        ASSERT_EQ(driver.label("Label9"), QString::number(n));
        ASSERT_TRUE(isDigit2To9(driver.label("Label1")));
        ASSERT_TRUE(isDigit2To9(driver.label("Label2")));
        EXPECT_EQ(driver.answerField()->text(), "");
        EXPECT_EQ(driver.label("Label5"), "");
        problems.insert({driver.label("Label1"), driver.label("Label2")});
        if (n <= 3)
            driver.answerWrong();
        else
            driver.answerRight();
        EXPECT_EQ(driver.label("Label5"), n <= 3 ? "Ошибка" : "Верно");
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
}

TEST(WindowPlay, EmptyAnswersAreChargedAndAllSkippedEndsInTheLastMessage)
{
    WindowDriver driver;
    for (int n = 1; n <= 20; ++n)
        driver.next();
    EXPECT_EQ(driver.label("Label10"), "19");
    const auto message = driver.nextExpectingMessage();
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->text, toQString(learner::closingText(19)));
}

TEST(WindowPlay, AFieldOfBlanksIsWrongWhenCheckedButNotChargedAsEmpty)
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
}

TEST(WindowPlay, VerdictsAreBlackOrRedAndClearedByTheNextProblem)
{
    WindowDriver driver;
    driver.next();
    driver.answerRight();
    EXPECT_EQ(driver.label("Label5"), "Верно");
    EXPECT_EQ(driver.widget("Label5")->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_TRUE(containsColour(driver.widget("Label5")->grab().toImage(), QColor(0, 0, 0)));

    driver.next();
    driver.answerWrong();
    EXPECT_EQ(driver.label("Label5"), "Ошибка");
    EXPECT_EQ(driver.label("Label10"), "1");
    EXPECT_EQ(driver.widget("Label5")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(containsColour(driver.widget("Label5")->grab().toImage(), QColor(255, 0, 0)));

    driver.check(); // checked once only
    EXPECT_EQ(driver.label("Label10"), "1");
    driver.next();
    EXPECT_EQ(driver.label("Label5"), "");
    EXPECT_EQ(driver.label("Label10"), "1"); // the wrong answer stayed in the field
}

TEST(WindowPlay, AnyTextCanBeTypedAndIsJudgedAsANumber)
{
    WindowDriver driver;
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
    EXPECT_EQ(driver.windowPixel(CreditPoint), Green);
    EXPECT_FALSE(containsColour(driver.window.grab(creditArea).toImage(), QColor(0, 0, 0)));

    driver.next();
    EXPECT_EQ(driver.windowPixel(CreditPoint), QColor(0, 0, 0));
    const QImage credit = driver.window.grab(creditArea).toImage();
    EXPECT_TRUE(containsColour(credit, QColor(0, 0, 0)));
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

TEST(WindowPlay, ExitEndsTheEventLoopAtOnceWithStatusZero)
{
    WindowDriver driver;
    driver.next();
    driver.type("5");
    QElapsedTimer clock;
    QTimer::singleShot(0, [&driver, &clock] {
        clock.start();
        driver.click("Command4");
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(42); }); // a safety net, never needed
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_LT(clock.elapsed(), 250);
}

} // namespace
