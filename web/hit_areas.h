#pragma once

#include <array>
#include <string_view>
#include <vector>

// Where a finger presses the form's controls on a touch screen. A child's
// finger is far wider than the window's buttons are drawn on a phone, so each
// control that takes input answers a larger area around what is drawn.

// A rectangle in the form's own pixels: lo is the left and top, hi the right
// and bottom; index 0 is across, 1 down.
struct FormBox {
    std::array<double, 2> lo, hi;
};

struct ControlSpec;
// Where the layout table draws a control.
FormBox formBoxOf(const ControlSpec &control);

struct HitArea {
    std::string_view name;
    FormBox control; // what is drawn
    FormBox area;    // what a finger hits; it holds the control
};

// A fingertip is 44 CSS pixels across on a phone 390 pixels wide, where the
// form is drawn at 390/523 of its size; no area may be smaller than 24.
inline constexpr double FingerCssPixels = 44;
inline constexpr double SmallestCssPixels = 24;
inline constexpr double PhoneWidthCssPixels = 390;

// The side of a fingertip's square in form pixels on that phone, whole pixels.
double fingerSide();

// One area for each control that takes input, as near to `side` square as
// the form leaves room for: each holds its control, lies within the form and
// overlaps no other. Areas only meet other controls' areas, never cross
// them; where two would, they move apart, and only where they cannot do
// they share out the space between their controls.
std::vector<HitArea> hitAreas(double side);
