#pragma once

#include "layout_table.h"

#include <string>
#include <string_view>
#include <vector>

// How the form's controls behave as a whole, alike in every front end.

// Only the field and the buttons take the keyboard focus.
constexpr bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::PushButton || kind == ControlKind::TextField;
}

// A click on a button leaves the focus, and the caret, where it was: in the
// answer field, where the learner types.
constexpr bool clickTakesFocus(ControlKind kind)
{
    return takesFocus(kind) && kind != ControlKind::PushButton;
}

// Keys that press a focused button. Neither Enter nor Escape may press one
// behind the learner's back; the space bar does.
enum class Key { Enter, Escape, Space };
inline constexpr Key AllKeys[] = {Key::Enter, Key::Escape, Key::Space};
constexpr bool pressesButton(Key key)
{
    return key == Key::Space;
}

// The mark on the focused button, drawn alike by every front end: a solid
// frame this wide, this far inside the button's outer edge, in the buttons'
// text colour, which a child sees at once on the green face where a dotted
// one is barely seen. In the form's pixels, scaled as the form is.
struct FocusMark {
    int width;
    int inset;
    ColourWord colour;
};
inline constexpr FocusMark ButtonFocusMark{2, 2, StandardTextColour};

// Every control in the order a reader meets it: the table's tab order.
std::vector<ControlSpec> readingOrder();
// The controls that take the focus, in the order Tab visits them.
std::vector<ControlSpec> tabOrder();
// Every control, the lowest first. Later controls are drawn over earlier
// ones, except that the pictures stay whole where text overlaps them.
std::vector<ControlSpec> drawingOrder();

// On a screen this dense or denser, a picture comes from its double-size
// variant, so that it stays sharp.
inline constexpr double DoubleSizeFromPixelRatio = 1.5;
constexpr bool wantsDoubleSize(double devicePixelRatio)
{
    return devicePixelRatio >= DoubleSizeFromPixelRatio;
}
// "cat.jpg" -> "cat@2x.jpg".
std::string doubleSizeName(std::string_view file);
