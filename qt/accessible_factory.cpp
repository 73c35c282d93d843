#include "accessible_factory.h"

#include "announcer.h"
#include "main_window.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>

namespace {

// The announcer as a screen reader sees it: a notification, a child of the
// window, whose name is the message.
class AccessibleNotification final : public QAccessibleObject {
  public:
    explicit AccessibleNotification(Announcer *announcer) : QAccessibleObject(announcer) {}

    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? static_cast<const Announcer *>(object())->message() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }
};

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    // Qt's own interface for a plain QWidget is a filler: Orca would neither
    // read its title nor treat it as the application's window.
    if (className == QLatin1String(MainWindow::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    if (className == QLatin1String(Announcer::staticMetaObject.className()))
        return new AccessibleNotification(static_cast<Announcer *>(object));
    return nullptr;
}

} // namespace

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(&interfaceFor);
        return true;
    }();
    (void)installed;
}
