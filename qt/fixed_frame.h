#pragma once

class QWidget;

// The whole of how the window keeps its size and its frame, on every desktop.
//
// The form is laid out to the pixel and has nothing to gain from more room:
// its frame offers minimise and close only, and whatever asks for more (a
// keyboard shortcut, a window manager's menu, a compositor) gets the form
// back at its own size rather than a corner of a green screen.
//
// On X11 the window manager itself refuses to stretch a window whose
// smallest and largest sizes are equal; a maximised or full-screen state that
// arrives all the same is undone. Wayland is harder: Qt 6.4 draws its own
// title bar where the compositor draws none (Weston, for one), with a
// maximise button on every window, fixed or not, and its click goes straight
// to the compositor. The compositor answers with the size the surface must
// then have; a client that keeps its own size breaks the protocol and is
// disconnected, and the child's quiz is gone. So on Wayland, from the moment
// such a request leaves until the window is back to normal, the window may
// take the size it is given, asks at once for its normal state again, and is
// fixed again once it has its own size back. And on a Wayland desktop that
// also runs XWayland the window goes through XWayland in the first place
// (see chooseWindowPlatform), where the desktop's own frame keeps it fixed.

// Chooses how the window reaches the screen, before the application object
// exists. On a Wayland desktop that also runs XWayland, and unless the user
// chose a platform (QT_QPA_PLATFORM), the window goes through XWayland.
// Native Wayland stays available through QT_QPA_PLATFORM=wayland, and is
// where there is no XWayland.
void chooseWindowPlatform();

// Makes `form` a top-level window of its present fixed size, with minimise
// and close only, that stays at that size. Call it before the form is shown.
void fixFormFrame(QWidget &form);

// Keeps a top-level window that sized itself (a message box) at its size:
// the same guard without the frame flags.
void keepWindowSize(QWidget &window);
