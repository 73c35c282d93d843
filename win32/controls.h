#pragma once

#include "accessibility.h"
#include "layout_table.h"
#include "owned.h"

#include <windows.h>

#include <string>

class FormWindow;

// One control of the window: the Win32 control a layout row describes, with
// what the window keeps for drawing it.
struct Control {
    FormWindow *form = nullptr;
    const ControlSpec *row = nullptr;
    HWND handle = nullptr;
    WNDPROC systemProcedure = nullptr;
    ColourWord textColour = 0;
    OwnedBrush background; // null: the form's
    OwnedFont font;
    OwnedBitmap picture;
    AccessibleText accessible;
    bool pressedByMouse = false;
};

// 0x00BBGGRR, as a ColourWord is.
inline COLORREF toColorRef(ColourWord colour)
{
    return static_cast<COLORREF>(colour);
}

// Creates the control a row describes, as a child of `parent`, at no size
// yet: its place depends on the DPI.
Control createControl(const ControlSpec &row, HWND parent, HINSTANCE instance);

// The row's font at `dpi`, by pixel height as the layout's sizes are meant
// at 96 dpi, always with the Cyrillic character set.
OwnedFont createFont(const FontSpec &font, int dpi);

// The picture's resource for a screen of this DPI.
std::wstring pictureResource(std::string_view path, int dpi);

std::wstring textOf(HWND handle);

// A button's mouse message, for a button whose click must not take the focus:
// the button is pushed while the mouse holds it and clicked (BN_CLICKED to
// `form`) when the mouse lets go over it, as a system button is, but the
// focus stays where it was. Returns true for a message handled here.
bool pressWithoutFocus(Control &control, HWND form, UINT message, LPARAM lParam);

// Owner-drawn buttons, so that their faces show the row's colour; and the
// pictures, already at their size.
void drawButton(const DRAWITEMSTRUCT &item, const Control &control, HBRUSH face, int dpi);
void drawPicture(const DRAWITEMSTRUCT &item, const Control &control);
