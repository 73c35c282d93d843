#include "fixed_frame.h"

#include <QByteArray>
#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QWidget>
#include <QWindow>
#include <QtGlobal>

namespace {

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

constexpr Qt::WindowStates StretchingStates = Qt::WindowMaximized | Qt::WindowFullScreen;

// Watches one top-level window and brings it back to its own size.
class SizeGuard final : public QObject {
  public:
    explicit SizeGuard(QWidget &window) : QObject(&window), window_(window)
    {
        window_.installEventFilter(this);
        if (onWayland())
            watchWindowHandle();
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &window_)
            return false;
        if (!onWayland()) {
            if (event->type() == QEvent::WindowStateChange && (window_.windowState() & StretchingStates))
                window_.setWindowState(window_.windowState() & ~StretchingStates);
            return false;
        }
        if (!loosened_) {
            if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
                watchWindowHandle();
            return false;
        }
        // The compositor has the window maximised. Qt passes a request for
        // the normal state on only once it has finished with the
        // compositor's message, and until then believes the compositor
        // already knows; so the request is made afterwards.
        if (event->type() == QEvent::WindowStateChange)
            QMetaObject::invokeMethod(this, &SizeGuard::askForNormalState, Qt::QueuedConnection);
        // Fixed again only once the compositor has given the window back its
        // own size: shrinking while it is still maximised would break the
        // protocol just the same.
        if (event->type() == QEvent::Resize && static_cast<QResizeEvent *>(event)->size() == normalSize_) {
            loosened_ = false;
            window_.setMinimumSize(minimumSize_);
            window_.setMaximumSize(maximumSize_);
        }
        return false;
    }

  private:
    void watchWindowHandle()
    {
        if (QWindow *handle = window_.windowHandle()) {
            // Emitted as the request is made, before the compositor has
            // answered: the only moment at which the answer can still be obeyed.
            connect(handle, &QWindow::windowStateChanged, this, &SizeGuard::onRequestedState,
                    Qt::UniqueConnection);
        }
    }

    void onRequestedState(Qt::WindowState state)
    {
        if (!(state & StretchingStates) || loosened_)
            return;
        loosened_ = true;
        normalSize_ = window_.size();
        minimumSize_ = window_.minimumSize();
        maximumSize_ = window_.maximumSize();
        window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }

    void askForNormalState()
    {
        if (QWindow *handle = window_.windowHandle())
            handle->setWindowStates(handle->windowStates() & ~StretchingStates);
    }

    QWidget &window_;
    bool loosened_ = false;
    QSize normalSize_;
    QSize minimumSize_;
    QSize maximumSize_;
};

} // namespace

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

void fixFormFrame(QWidget &form)
{
    form.setFixedSize(form.size());
    form.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    keepWindowSize(form);
}

void keepWindowSize(QWidget &window)
{
    new SizeGuard(window);
}
