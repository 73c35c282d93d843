#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Says a short message to a screen reader without taking the focus. Screen
// readers drop name changes of labels that do not have the focus, but read a
// notification the moment it shows: the announcer is such a notification,
// with the message as its name, that shows itself for each message. It is
// not a widget, so the window keeps exactly the controls it shows.
//
// The message is spoken once the event loop is back, after whatever the
// focus move that came with it says.
class Announcer final : public QObject {
    Q_OBJECT

  public:
    explicit Announcer(QWidget *window);

    void announce(const QString &message);
    // What was spoken last.
    QString message() const { return message_; }

  private:
    void speak();

    QString pending_;
    QString message_;
};
