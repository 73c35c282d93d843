#pragma once

#include "owned.h"

#include <windows.h>

#include <oleacc.h>

#include <string>

// What a screen reader is told of one control beyond what the control shows
// itself. Windows screen readers name a control after its own text, and an
// edit field after the label in front of it ("=" here); a control with such
// a description answers the reader's request (WM_GETOBJECT) with the
// system's own accessible object for it, with this name and description.
struct AccessibleText {
    std::wstring name;        // empty: the control's own text
    std::wstring description; // empty: none
};

// The system's accessible object for `control`, with `text`; null where the
// system has none for such a control.
ComRef<IAccessible> namedAccessible(HWND control, const AccessibleText &text);

// Answers WM_GETOBJECT for `control`; 0 when the request is not for its
// client object, which then takes the usual course.
LRESULT answerAccessibleRequest(HWND control, WPARAM wParam, LPARAM lParam, const AccessibleText &text);

// Tells a screen reader that the description of `control` changed.
void descriptionChanged(HWND control);

// Says `message` through the screen reader without moving the focus: a UI
// Automation notification where Windows has them (Windows 10 1709 and
// later). Elsewhere nothing is said beyond the controls' own changes, which
// screen readers follow themselves.
void announce(HWND window, const std::wstring &message);
