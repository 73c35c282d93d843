#pragma once

#include <QObject>
#include <QSize>

class QWidget;

// Keeps a fixed-size top-level window alive on Wayland when something asks
// the compositor to maximise it or make it full screen.
//
// Qt 6.4's own title bar, drawn where the compositor draws none (Weston, for
// one), shows a maximise button on every window, fixed or not, and its click
// goes straight to the compositor. The compositor answers with the size the
// surface must then have; a client that keeps its own size breaks the
// protocol and is disconnected, and the child's quiz is gone. So from the
// moment such a request leaves until the window is back to normal, the
// window may take the size it is given; the guard asks for the normal state
// again at once, and once the window has its own size back, it is fixed
// again.
//
// Does nothing on other platforms, where the window manager itself refuses
// to stretch a window whose smallest and largest sizes are equal.
class WaylandSizeGuard final : public QObject {
  public:
    // Installs the guard on a top-level widget, before it is shown; the
    // widget owns it.
    explicit WaylandSizeGuard(QWidget &window);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void watchWindowHandle();
    void onRequestedState(Qt::WindowState state);
    void askForNormalState();

    QWidget &window_;
    bool loosened_ = false;
    QSize normalSize_;
    QSize minimumSize_;
    QSize maximumSize_;
};
