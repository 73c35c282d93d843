#pragma once

#include "form_window.h"

#include <windows.h>

#include <vector>

// What the system's dialog manager does for a dialog, done for the form by
// the form's rules: keys are filtered before any control sees them, Tab
// follows the table's order, and the focus goes back where it was when the
// learner returns to the window.
class DialogManager {
  public:
    // `firstFocus` gets the focus when the window is activated with none of
    // its own to go back to.
    DialogManager(const FormWindow &form, HWND firstFocus);

    // A message from the loop before it is dispatched: true for a key
    // handled here, which goes no further.
    bool handleKey(const MSG &message);
    void activationChanged(bool active);

  private:
    void moveFocus(int step);

    const FormWindow &form_;
    HWND firstFocus_;
    std::vector<HWND> tabOrder_;
    HWND focusWhenInactive_ = nullptr;
};
