#include "learner_rules.h"
#include "window_driver.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace {

struct Spoken {
    const char *name;
    QAccessible::Role role;
    QString accessibleName; // what is read out
    QString description;
};

QAccessibleInterface *accessible(WindowDriver &driver, const char *name)
{
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(driver.widget(name));
    EXPECT_NE(interface, nullptr) << name;
    return interface;
}

TEST(WindowAccessibility, EveryControlSaysWhatItIsAndWhatItShows)
{
    WindowDriver driver;
    const Spoken controls[] = {
        {"Label1", QAccessible::StaticText, "?", "первый множитель"},
        {"Label3", QAccessible::StaticText, "\u0445", ""},
        {"Label2", QAccessible::StaticText, "?", "второй множитель"},
        {"Label4", QAccessible::StaticText, "=", ""},
        {"Text1", QAccessible::EditableText, "Ответ", "ответ"},
        {"Label5", QAccessible::StaticText, "", "результат проверки"},
        {"Label6", QAccessible::StaticText, "Сколько будет?", ""},
        {"Label7", QAccessible::StaticText, "Пример:", ""},
        {"Label9", QAccessible::StaticText, "", "номер примера"},
        {"Label8", QAccessible::StaticText, "Ошибок:", ""},
        {"Label10", QAccessible::StaticText, "0", "число ошибок"},
        {"Command3", QAccessible::Button, "Да", "проверить ответ"},
        {"Command2", QAccessible::Button, "Пример", "следующий пример"},
        {"Command4", QAccessible::Button, "Выход", "закончить"},
    };
    for (const Spoken &c : controls) {
        SCOPED_TRACE(c.name);
        QAccessibleInterface *interface = accessible(driver, c.name);
        ASSERT_NE(interface, nullptr);
        EXPECT_EQ(interface->role(), c.role);
        EXPECT_EQ(interface->text(QAccessible::Name), c.accessibleName);
        EXPECT_EQ(interface->text(QAccessible::Description), c.description);
    }

    // The pictures are decoration: a graphic with nothing to read out.
    for (const char *name : {"Image1", "Image2", "Image3"}) {
        QAccessibleInterface *interface = accessible(driver, name);
        ASSERT_NE(interface, nullptr);
        EXPECT_EQ(interface->role(), QAccessible::Graphic) << name;
        EXPECT_EQ(interface->text(QAccessible::Name), "") << name;
        EXPECT_EQ(interface->text(QAccessible::Description), "") << name;
    }
}

// Records the accessibility events the window raises, as a screen reader's
// bridge would receive them.
class EventRecorder {
  public:
    struct Event {
        QString objectName;
        QAccessible::Event type;
        QString nameThen;
        QAccessible::Role role;
    };

    EventRecorder()
    {
        events().clear();
        previous_ = QAccessible::installUpdateHandler(&EventRecorder::record);
        // Offscreen there is no screen reader to switch accessibility on;
        // the platform's own switch stands in for it.
        if (QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(true);
    }
    ~EventRecorder() { QAccessible::installUpdateHandler(previous_); }

    static std::vector<Event> &events()
    {
        static std::vector<Event> recorded;
        return recorded;
    }

    bool heard(const char *objectName, const QString &name) const
    {
        for (const Event &e : events())
            if (e.objectName == QLatin1String(objectName) && e.type == QAccessible::NameChanged &&
                e.nameThen == name)
                return true;
        return false;
    }

    // A message a notification showed, as a screen reader reads it out:
    // renamed first, for a bridge that keeps the name it last heard of.
    bool announced(const QString &message) const
    {
        QCoreApplication::processEvents(); // announcements wait for the command to end
        const std::vector<Event> &all = events();
        for (std::size_t i = 1; i < all.size(); ++i) {
            const Event &renamed = all[i - 1];
            const Event &shown = all[i];
            if (shown.type == QAccessible::ObjectShow && shown.role == QAccessible::Notification &&
                shown.nameThen == message && renamed.type == QAccessible::NameChanged &&
                renamed.objectName == shown.objectName && renamed.nameThen == message)
                return true;
        }
        return false;
    }

  private:
    static void record(QAccessibleEvent *event)
    {
        QString name;
        QAccessible::Role role = QAccessible::NoRole;
        if (QAccessibleInterface *interface = event->accessibleInterface()) {
            name = interface->text(QAccessible::Name);
            role = interface->role();
        }
        events().push_back(
            {event->object() ? event->object()->objectName() : QString(), event->type(), name, role});
    }

    QAccessible::UpdateHandler previous_ = nullptr;
};

TEST(WindowAccessibility, AListenerHearsTheProblemTheVerdictAndTheCountsChange)
{
    WindowDriver driver;
    EventRecorder recorder;

    driver.next();
    const QString first = driver.label("Label1");
    const QString second = driver.label("Label2");
    EXPECT_TRUE(recorder.heard("Label1", first));
    EXPECT_TRUE(recorder.heard("Label2", second));
    EXPECT_TRUE(recorder.heard("Label9", "1"));

    driver.answerWrong();
    EXPECT_TRUE(recorder.heard("Label5", "Ошибка"));
    EXPECT_TRUE(recorder.heard("Label10", "1"));

    driver.next();
    EXPECT_TRUE(recorder.heard("Label5", ""));
    EXPECT_TRUE(recorder.heard("Label9", "2"));
    driver.answerRight();
    EXPECT_TRUE(recorder.heard("Label5", "Верно"));
}

// Orca drops name changes of labels without the focus, so what the learner
// must hear is also announced, or read with the focus in the answer field.
// What is said when is the presenter's, tested on its own; here, that the
// window carries it to a screen reader.
TEST(WindowAccessibility, TheProblemsVerdictsAndCountsAreAnnounced)
{
    WindowDriver driver;
    EventRecorder recorder;
    const auto said = [&driver](std::string_view phrase, int errors = 0) {
        return toQString(learner::said(phrase, driver.label("Label1").toInt(), driver.label("Label2").toInt(), errors));
    };

    driver.next(); // the focus is in the field already
    EXPECT_TRUE(recorder.announced(said(learner::SaidProblem)));
    EXPECT_EQ(accessible(driver, "Text1")->text(QAccessible::Description), said(learner::SaidProblem));

    driver.answerWrong();
    EXPECT_TRUE(recorder.announced(said(learner::SaidWrong, 1)));
}

// A frame, not a filler, so that a screen reader reads its title.
TEST(WindowAccessibility, TheWindowIsAWindowNamedByItsCaption)
{
    WindowDriver driver;
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&driver.window);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Цифролёт");
}

} // namespace
