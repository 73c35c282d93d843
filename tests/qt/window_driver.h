#pragma once

#include "control_factory.h"
#include "main_window.h"
#include "message_box_width.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

inline void PrintTo(const QColor &colour, std::ostream *out)
{
    *out << "RGB(" << colour.red() << ", " << colour.green() << ", " << colour.blue() << ")";
}

// What a modal message box showed before it was closed.
struct SeenMessage {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QString okText;
    int width = 0;
    int widthForTitle = 0;
};

// A learner at the real window: clicks, typing and reading, as a person would.
class WindowDriver {
  public:
    MainWindow window;

    WindowDriver()
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename T = QWidget> T *widget(const char *name) const
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString label(const char *name) const { return widget<QLabel>(name)->text(); }
    QLineEdit *answerField() const { return widget<QLineEdit>("Text1"); }

    void click(const char *button) { QTest::mouseClick(widget<QPushButton>(button), Qt::LeftButton); }
    void next() { click("Command2"); }
    void check() { click("Command3"); }

    void type(const QString &text)
    {
        answerField()->setFocus();
        answerField()->selectAll();
        QTest::keyClick(answerField(), Qt::Key_Delete);
        // Key events carrying the text, as a keyboard layout delivers them;
        // QTest's own key tables know only ASCII.
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(answerField(), &press);
            QApplication::sendEvent(answerField(), &release);
        }
    }

    int product() const { return label("Label1").toInt() * label("Label2").toInt(); }
    void answerRight()
    {
        type(QString::number(product()));
        check();
    }
    void answerWrong()
    {
        type(QString::number(product() + 1));
        check();
    }

    // Clicks "Пример" while expecting a message box, and closes it with OK.
    std::optional<SeenMessage> nextExpectingMessage()
    {
        std::optional<SeenMessage> seen;
        QTimer::singleShot(0, [&seen] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = SeenMessage{box->text(),
                               box->windowTitle(),
                               box->icon(),
                               box->standardButtons(),
                               box->button(QMessageBox::Ok)->text(),
                               box->width(),
                               widthForTitle(*box)};
            QTest::keyClick(box, Qt::Key_Return);
        });
        next();
        return seen;
    }

    QColor pixel(const char *name, QPoint at) const { return widget(name)->grab().toImage().pixelColor(at); }
    QColor windowPixel(QPoint at) { return window.grab().toImage().pixelColor(at); }
};
