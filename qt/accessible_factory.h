#pragma once

// Gives the window and its announcer the roles screen readers expect: the
// window is a frame with a title to read out, the announcer a notification.
// Must run before the window exists, since Qt keeps an object's accessible
// interface once it has made one.
void installAccessibleFactory();
