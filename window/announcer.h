#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

// Says a short message to a screen reader without taking the focus. Screen
// readers drop name changes of labels that do not have the focus, but read a
// notification the moment it shows: the announcer is such a notification,
// with the message as its name, that shows itself for each message. It is
// not a widget, so the window keeps exactly the controls it shows.
//
// What one command announces is spoken once, joined, after the command is
// done: so it follows whatever the focus move of the same command says.
class Announcer final : public QObject {
    Q_OBJECT

  public:
    explicit Announcer(QWidget *window);

    void announce(const QString &message);
    // What was spoken last.
    QString message() const { return message_; }

  private:
    void speakPending();

    QStringList pending_;
    QString message_;
};
