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

WaylandSizeGuard::WaylandSizeGuard(QWidget &window) : QObject(&window), window_(window)
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
    normalSize_ = window_.size();
    minimumSize_ = window_.minimumSize();
    maximumSize_ = window_.maximumSize();
    window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void WaylandSizeGuard::askForNormalState()
{
    if (QWindow *handle = window_.windowHandle())
        handle->setWindowStates(handle->windowStates() & ~StretchingStates);
}

bool WaylandSizeGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &window_ || !loosened_) {
        if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
            watchWindowHandle();
        return false;
    }
    // The compositor has the window maximised. Qt passes a request for the
    // normal state on only once it has finished with the compositor's
    // message, and until then believes the compositor already knows; so the
    // request is made afterwards.
    if (event->type() == QEvent::WindowStateChange)
        QMetaObject::invokeMethod(this, &WaylandSizeGuard::askForNormalState, Qt::QueuedConnection);
    // Fixed again only once the compositor has given the window back its own
    // size: shrinking while it is still maximised would break the protocol
    // just the same.
    if (event->type() == QEvent::Resize && static_cast<QResizeEvent *>(event)->size() == normalSize_) {
        loosened_ = false;
        window_.setMinimumSize(minimumSize_);
        window_.setMaximumSize(maximumSize_);
    }
    return false;
}
