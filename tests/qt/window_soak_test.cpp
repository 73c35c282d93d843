// Tens of thousands of random clicks, keystrokes and pastes on the real
// window, one quiz after another, with everything the learner can read
// checked after each of them.
//
// The run is seeded: the seed is printed, and TSIFROLET_SOAK_SEED=N repeats
// a run exactly. TSIFROLET_SOAK_ACTIONS sets its length.

#include "learner_rules.h"
#include "window_driver.h"

#include <QClipboard>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <iostream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>

// Long texts shown by their start only, so that a failure stays readable.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.left(60).toStdString() << (text.size() > 60 ? "...\" (" : "\" (") << text.size()
         << " characters)";
}

namespace {

using Rng = std::mt19937_64;

// Every message box tells the offscreen platform a size hint it cannot use;
// thousands of boxes would bury a failure under that one warning.
QtMessageHandler otherMessages = nullptr;

void dropSizeHintWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")) && otherMessages)
        otherMessages(type, context, message);
}

std::uint64_t environmentNumber(const char *name, std::uint64_t fallback)
{
    bool ok = false;
    const qulonglong value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

// Closes every message box the moment it is shown, with its OK button as a
// learner would, and keeps what it said.
class MessageCloser final : public QObject {
  public:
    QStringList texts;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && event->type() == QEvent::Show) {
            texts.append(box->text());
            QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
        }
        return false;
    }
};

// Texts of every kind that a child, a cat on the keyboard or the clipboard
// can bring into the answer field.
class TextMaker {
  public:
    explicit TextMaker(Rng &rng) : rng_(rng) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    QString digits(int maxCount)
    {
        QString text;
        for (int i = below(maxCount) + 1; i > 0; --i)
            text += QChar('0' + below(10));
        return text;
    }

    QString pick(std::initializer_list<const char16_t *> choices)
    {
        return QString::fromUtf16(choices.begin()[below(int(choices.size()))]);
    }

    QString nonAscii()
    {
        return pick({u"пятьдесят шесть", u"٥٦", u"５６", u"😺", u"56\u0301", u"\u00A056", u"1\u202F000", u"x²",
                     u"\uFEFF12"});
    }

    QString control()
    {
        static constexpr char16_t Controls[] = u"\t\n\r\x01\x7F\x1B";
        QString text = digits(3);
        text.insert(below(int(text.size()) + 1), QChar(Controls[below(int(std::size(Controls)) - 1)]));
        return text;
    }

    QString withNul() { return below(2) ? digits(2) + QChar(0) + digits(2) : QChar(0) + digits(2); }

    QString loneSurrogate() { return digits(2) + QChar(char16_t(0xD800 + below(0x800))); }

    // Over a hundred thousand characters, more than the field keeps.
    QString huge(const QString &start)
    {
        const QString unit = pick({u"9", u"0", u" ", u"кот", u"😺", u"1,"});
        return start + unit.repeated(100'000 / int(unit.size()) + below(1000));
    }

    QString any(int product)
    {
        switch (below(9)) {
        case 0:
            return {};
        case 1:
            return QString::number(product);
        case 2:
            return QString::number(product + 1 + below(100));
        case 3:
            return nonAscii();
        case 4:
            return control();
        case 5:
            return withNul();
        case 6:
            return loneSurrogate();
        case 7:
            return huge(below(2) ? QString::number(product) : QString());
        default:
            return digits(20);
        }
    }

  private:
    Rng &rng_;
};

// What the learner can read on the window.
struct Screen {
    int problem = 0; // 0 before the first problem
    int errors = 0;
    QString first;
    QString second;
    QString verdict;
    QColor verdictColour;
    QString answer;

    int product() const { return first.toInt() * second.toInt(); }
};

class WindowSoak : public testing::Test {
  protected:
    void SetUp() override
    {
        qApp->installEventFilter(&closer_);
        otherMessages = qInstallMessageHandler(dropSizeHintWarnings);
    }
    void TearDown() override
    {
        qInstallMessageHandler(otherMessages);
        qApp->removeEventFilter(&closer_);
    }

    void run(std::uint64_t seed, std::uint64_t actions)
    {
        rng_.seed(seed);
        for (step_ = 0; step_ < actions; ++step_) {
            if (!driver_ || text_.below(150) == 0)
                newQuiz();
            act();
            QCoreApplication::processEvents(); // paint what changed, as the event loop would
            checkScreen(read());
            if (HasFailure()) {
                ADD_FAILURE() << "at action " << step_ << " of the run with TSIFROLET_SOAK_SEED=" << seed
                              << "; the last actions: " << history();
                return;
            }
        }
        endQuiz();
    }

    void newQuiz()
    {
        endQuiz();
        driver_ = std::make_unique<WindowDriver>();
        problems_.clear();
        ++quizzes_;
    }

    // The credit line is still there at the end of a started quiz.
    void endQuiz()
    {
        if (driver_ && read().problem > 0) {
            EXPECT_EQ(driver_->windowPixel({383, 303}), QColor(0, 0, 0));
        }
        driver_.reset();
    }

    Screen read() const
    {
        const QLabel *verdict = driver_->widget<QLabel>("Label5");
        return {driver_->label("Label9").toInt(),
                driver_->label("Label10").toInt(),
                driver_->label("Label1"),
                driver_->label("Label2"),
                verdict->text(),
                verdict->palette().color(QPalette::WindowText),
                driver_->answerField()->text()};
    }

    void note(const char *action) { history_.emplace_back(action); }
    std::string history() const
    {
        std::string all;
        for (const std::string &action : history_)
            all += action + " ";
        return all;
    }

    void act()
    {
        if (history_.size() == 12)
            history_.pop_front();
        const int roll = text_.below(1000);
        if (roll < 280)
            next(text_.below(5) == 0);
        else if (roll < 500)
            check(text_.below(5) == 0);
        else if (roll < 650)
            typeKeys();
        else if (roll < 750)
            paste();
        else if (roll < 850)
            setText();
        else if (roll < 930)
            erase();
        else if (roll < 999)
            pressKeys();
        else
            exitInsideTheEventLoop();
    }

    // Presses a button with the mouse, or with the space bar after tabbing to it.
    void press(const char *button, bool byKeyboard)
    {
        auto *widget = driver_->widget<QPushButton>(button);
        if (byKeyboard) {
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Space);
        } else {
            QTest::mouseClick(widget, Qt::LeftButton);
        }
    }

    void next(bool byKeyboard)
    {
        note(byKeyboard ? "next(space)" : "next");
        const Screen before = read();
        const qsizetype messagesBefore = closer_.texts.size();
        press("Command2", byKeyboard);
        const Screen after = read();

        if (before.problem == ProblemCount) {
            ASSERT_EQ(closer_.texts.size(), messagesBefore + 1) << "a closing message after problem 20";
            EXPECT_EQ(closer_.texts.back(), toQString(learner::closingText(before.errors)));
            EXPECT_EQ(after.problem, ProblemCount);
            EXPECT_EQ(after.errors, before.errors);
            EXPECT_EQ(after.verdict, before.verdict);
            EXPECT_EQ(after.answer, before.answer);
            return;
        }
        EXPECT_EQ(closer_.texts.size(), messagesBefore) << "no message before the end";
        EXPECT_EQ(after.problem, before.problem + 1);
        EXPECT_EQ(after.errors, before.errors + learner::penaltyForNext(before.problem, before.answer.isEmpty()))
            << "an error for an empty field, and only then";
        EXPECT_EQ(after.answer, "");
        EXPECT_EQ(after.verdict, "");
        EXPECT_TRUE(problems_.emplace(after.first, after.second).second)
            << "problem " << after.first.toStdString() << "x" << after.second.toStdString() << " again";
    }

    void check(bool byKeyboard)
    {
        note(byKeyboard ? "check(space)" : "check");
        const Screen before = read();
        press("Command3", byKeyboard);
        const Screen after = read();

        if (!learner::checkJudges(before.problem, !before.verdict.isEmpty(), before.answer.isEmpty())) {
            EXPECT_EQ(after.verdict, before.verdict)
                << "a problem is checked once, and an empty answer never";
            EXPECT_EQ(after.errors, before.errors);
            return;
        }
        const QString right = toQString(learner::VerdictRight);
        const QString wrong = toQString(learner::VerdictWrong);
        ASSERT_TRUE(after.verdict == right || after.verdict == wrong) << after.verdict.toStdString();
        EXPECT_EQ(after.errors, before.errors + (after.verdict == wrong ? 1 : 0));
        if (before.answer == QString::number(before.product())) {
            EXPECT_EQ(after.verdict, right);
        }
        if (before.answer == QString::number(before.product() + 1)) {
            EXPECT_EQ(after.verdict, wrong);
        }
        EXPECT_EQ(after.answer, before.answer) << "a check leaves the answer in its field";
    }

    // Typing changes nothing but the field, whatever is typed.
    template <typename Action> void typing(const char *name, Action action)
    {
        note(name);
        const Screen before = read();
        action(before);
        const Screen after = read();
        EXPECT_EQ(after.problem, before.problem);
        EXPECT_EQ(after.errors, before.errors);
        EXPECT_EQ(after.verdict, before.verdict);
        EXPECT_LE(after.answer.size(), driver_->answerField()->maxLength());
    }

    void typeKeys()
    {
        typing("type", [this](const Screen &screen) {
            QString text;
            switch (text_.below(5)) {
            case 0:
                text = QString::number(screen.product());
                break;
            case 1:
                text = QString::number(screen.product() + 1);
                break;
            case 2:
                text = text_.nonAscii();
                break;
            case 3:
                text = text_.control();
                break;
            default:
                text = text_.digits(6);
            }
            driver_->type(text);
            if (isDigits(text)) {
                EXPECT_EQ(driver_->answerField()->text(), text);
            }
        });
    }

    void paste()
    {
        typing("paste", [this](const Screen &screen) {
            const QString text = text_.any(screen.product());
            QApplication::clipboard()->setText(text);
            driver_->answerField()->setFocus();
            driver_->answerField()->selectAll();
            QTest::keyClick(driver_->answerField(), Qt::Key_V, Qt::ControlModifier);
            if (isDigits(text)) {
                EXPECT_EQ(driver_->answerField()->text(), text.left(driver_->answerField()->maxLength()));
            }
        });
    }

    void setText()
    {
        typing("setText", [this](const Screen &screen) {
            const QString text = text_.any(screen.product());
            driver_->answerField()->setText(text);
            EXPECT_EQ(driver_->answerField()->text(), text.left(driver_->answerField()->maxLength()));
        });
    }

    void erase()
    {
        typing("erase", [this](const Screen &) {
            driver_->answerField()->setFocus();
            driver_->answerField()->selectAll();
            QTest::keyClick(driver_->answerField(), text_.below(2) ? Qt::Key_Delete : Qt::Key_Backspace);
            EXPECT_EQ(driver_->answerField()->text(), "");
        });
    }

    // Keys that must not press any button: Enter, Escape, Tab, arrows.
    void pressKeys()
    {
        typing("keys", [this](const Screen &) {
            for (const Qt::Key key :
                 {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Left})
                if (text_.below(2))
                    QTest::keyClick(driver_->answerField(), key);
        });
    }

    // "Выход" ends the event loop at once; here a loop is run for it to end,
    // so the soak goes on with the next quiz.
    void exitInsideTheEventLoop()
    {
        note("exit");
        QTimer::singleShot(0, &driver_->window, [this] { driver_->click("Command4"); });
        QTimer safetyNet; // never needed while "Выход" works
        safetyNet.setSingleShot(true);
        QObject::connect(&safetyNet, &QTimer::timeout, [] { QCoreApplication::exit(42); });
        safetyNet.start(5000);
        EXPECT_EQ(QApplication::exec(), 0);
        safetyNet.stop();
        ++exits_;
        newQuiz();
    }

    static bool isDigits(const QString &text)
    {
        return !text.isEmpty() && std::ranges::all_of(text, [](QChar c) { return c >= '0' && c <= '9'; });
    }

    static bool isFactor(const QString &text) { return text.size() == 1 && text[0] >= '2' && text[0] <= '9'; }

    void checkScreen(const Screen &screen)
    {
        const QString number = driver_->label("Label9");
        EXPECT_TRUE(number.isEmpty() || (screen.problem >= 1 && screen.problem <= ProblemCount &&
                                         number == QString::number(screen.problem)))
            << "Label9: " << number.toStdString();
        const QString errors = driver_->label("Label10");
        EXPECT_EQ(errors, QString::number(screen.errors)) << "Label10 is a plain number";
        EXPECT_LE(screen.errors, std::max(0, 2 * screen.problem - 1)) << "two errors at most per problem";

        if (screen.problem == 0) {
            EXPECT_EQ(screen.first, "?");
            EXPECT_EQ(screen.second, "?");
        } else {
            EXPECT_TRUE(isFactor(screen.first)) << screen.first.toStdString();
            EXPECT_TRUE(isFactor(screen.second)) << screen.second.toStdString();
        }
        if (screen.verdict == toQString(learner::VerdictRight))
            EXPECT_EQ(screen.verdictColour, QColor(toQString(learner::VerdictRightColour)));
        else if (screen.verdict == toQString(learner::VerdictWrong))
            EXPECT_EQ(screen.verdictColour, QColor(toQString(learner::VerdictWrongColour)));
        else
            EXPECT_EQ(screen.verdict, "");
    }

    static constexpr int ProblemCount = 20;

    MessageCloser closer_;
    Rng rng_;
    TextMaker text_{rng_};
    std::unique_ptr<WindowDriver> driver_;
    std::set<std::pair<QString, QString>> problems_;
    std::deque<std::string> history_;
    std::uint64_t step_ = 0;
    int quizzes_ = 0;
    int exits_ = 0;
};

TEST_F(WindowSoak, RandomClicksTypingAndPastingKeepTheWindowConsistent)
{
    const auto clock = std::chrono::system_clock::now().time_since_epoch().count();
    const std::uint64_t seed = environmentNumber("TSIFROLET_SOAK_SEED", static_cast<std::uint64_t>(clock));
    const std::uint64_t actions = environmentNumber("TSIFROLET_SOAK_ACTIONS", 20'000);
    std::cout << "soak: " << actions << " actions, TSIFROLET_SOAK_SEED=" << seed << std::endl;
    RecordProperty("seed", std::to_string(seed));

    const auto start = std::chrono::steady_clock::now();
    run(seed, actions);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "soak: " << quizzes_ << " quizzes, " << closer_.texts.size() << " closing messages, "
              << exits_ << " exits, in " << seconds << " s" << std::endl;
}

} // namespace
