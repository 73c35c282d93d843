#include "wayland_size_guard.h"

#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

constexpr Qt::WindowStates StretchingStates = Qt::WindowMaximized | Qt::WindowFullScreen;

} // namespace

WaylandSizeGuard::WaylandSizeGuard(QWidget &window)
    : QObject(&window), window_(window), fixedSize_(window.minimumSize())
{
    if (!onWayland())
        return;
    window_.installEventFilter(this);
    watchWindowHandle();
}

void WaylandSizeGuard::watchWindowHandle()
{
    if (QWindow *handle = window_.windowHandle()) {
        // Emitted as the request is made, before the compositor has answered:
        // the only moment at which the answer can still be obeyed.
        connect(handle, &QWindow::windowStateChanged, this, &WaylandSizeGuard::onRequestedState,
                Qt::UniqueConnection);
    }
}

void WaylandSizeGuard::onRequestedState(Qt::WindowState state)
{
    if (!(state & StretchingStates) || loosened_)
        return;
    loosened_ = true;
    window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void WaylandSizeGuard::askForNormalState()
{
    if (QWindow *handle = window_.windowHandle())
        handle->setWindowStates(handle->windowStates() & ~StretchingStates);
}

bool WaylandSizeGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &window_)
        return false;
    if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
        watchWindowHandle();
    // The window turns its state back to normal as soon as the compositor
    // reports it maximised, but Qt passes that on only once it has finished
    // with the compositor's message; until then it believes the compositor
    // already knows. So the request is made again, afterwards.
    if (event->type() == QEvent::WindowStateChange && loosened_)
        QMetaObject::invokeMethod(this, &WaylandSizeGuard::askForNormalState, Qt::QueuedConnection);
    // Fixed again only once the compositor has given the window back its
    // normal size: shrinking while it is still maximised would break the
    // protocol just the same, and the window's own state says "normal" as
    // soon as it asks, long before the compositor has answered.
    if (event->type() == QEvent::Resize && loosened_ &&
        static_cast<QResizeEvent *>(event)->size() == fixedSize_ &&
        !(window_.windowState() & StretchingStates)) {
        loosened_ = false;
        window_.setFixedSize(fixedSize_);
    }
    return false;
}
