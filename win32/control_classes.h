#pragma once

#include "layout_table.h"

// The system window class each kind of control of the form is made of.
// Header-only, so that a bench's plain Win32 window makes its controls of
// the same classes without linking the front end.
inline const wchar_t *classFor(ControlKind kind)
{
    switch (kind) {
    case ControlKind::PushButton:
        return L"BUTTON";
    case ControlKind::TextField:
        return L"EDIT";
    case ControlKind::Picture:
    case ControlKind::Label:
        break;
    }
    return L"STATIC";
}
