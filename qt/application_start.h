#pragma once

#include <memory>

class QApplication;

// Creates the application object. Where no window can be opened (no X11 or
// Wayland session, or one that does not answer), Qt would abort with a core
// dump and a list of its platform plugins; instead this says in plain words
// that a desktop session is needed, then what Qt said of the cause, and ends
// the program with status 1.
// What Qt says while it starts is held back, and passed on only if it starts.
std::unique_ptr<QApplication> startApplicationOrExit(int &argc, char **argv);
