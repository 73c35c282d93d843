#include "accessible_factory.h"

#include "announcer.h"
#include "main_window.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QLabel>
#include <QMessageBox>

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

// The closing box's text, which the box also carries as its description:
// a label that tells it labels the box, so that a screen reader reads it
// with the box once, as the description, and not again as a stray label.
class AccessibleMessageText final : public QAccessibleWidget {
  public:
    explicit AccessibleMessageText(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? static_cast<const QLabel *>(widget())->text()
                                         : QAccessibleWidget::text(kind);
    }
    QList<std::pair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto found = QAccessibleWidget::relations(match);
        if (match & QAccessible::Label)
            if (QAccessibleInterface *box = QAccessible::queryAccessibleInterface(widget()->parent()))
                found.append({box, QAccessible::Label});
        return found;
    }
};

bool isMessageText(QObject *object)
{
    return object->objectName() == QLatin1String("qt_msgbox_label") &&
           qobject_cast<QMessageBox *>(object->parent());
}

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("QLabel") && isMessageText(object))
        return new AccessibleMessageText(static_cast<QLabel *>(object));
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
