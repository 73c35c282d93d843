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
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
