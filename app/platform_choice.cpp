#include "platform_choice.h"

#include <QByteArray>
#include <QtGlobal>

void chooseWindowPlatform()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    const bool waylandSession = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                                qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
    // XWayland first; native Wayland if the X server does not answer.
    if (waylandSession)
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb;wayland"));
}
