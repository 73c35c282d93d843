#pragma once

// Chooses how the window reaches the screen, before the application object
// exists. On a Wayland desktop that also runs XWayland, and unless the user
// chose a platform (QT_QPA_PLATFORM), the window goes through XWayland: the
// desktop's own frame then draws it and keeps a fixed window fixed, with
// minimise and close only. Qt 6.4's title bar for native Wayland offers a
// maximise button to every window, and the compositors that need that title
// bar (Weston, for one) answer the click by demanding a size the form cannot
// take. Native Wayland stays available through QT_QPA_PLATFORM=wayland, and
// is where there is no XWayland.
void chooseWindowPlatform();
