#include "announcer.h"

#include <QAccessible>
#include <QTimer>
#include <QWidget>

Announcer::Announcer(QWidget *window) : QObject(window)
{
    setObjectName(QStringLiteral("Announcer"));
}

void Announcer::announce(const QString &message)
{
    if (message.isEmpty())
        return;
    if (pending_.isEmpty())
        QTimer::singleShot(0, this, &Announcer::speak);
    pending_ = message;
}

void Announcer::speak()
{
    message_ = pending_;
    pending_.clear();
    // The new name is told before the showing: a bridge that keeps each
    // object's name (AT-SPI's, as Orca 48 reads it) would otherwise show
    // the message before, and a wrong answer would be read out as «Верно».
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
