#pragma once

class QMessageBox;

// The width a window manager needs to show the box's whole title beside its
// icon and its frame buttons, in device-independent pixels.
int widthForTitle(const QMessageBox &box);

// Widens the box to that width: a message box sizes itself to its text
// alone, so a short text under a long title gets a title bar that cuts it.
void widenToFitTitle(QMessageBox &box);
