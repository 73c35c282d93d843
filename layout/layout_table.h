#pragma once

#include "quiz_view.h" // ColourWord

#include <optional>
#include <span>
#include <string_view>

// The window is laid out in twips, 1440 to the inch: 15 twips are one
// device-independent pixel at 96 dots per inch.
inline constexpr int TwipsPerPixel = 15;

constexpr double twipsToPixels(double twips)
{
    return twips / TwipsPerPixel;
}

enum class ControlKind { PushButton, TextField, Picture, Label };
enum class TextAlignment { Left, Centre, Right };

struct FontSpec {
    std::string_view family; // empty for controls without text
    double points = 0;
    int weight = 400; // 400 regular, 700 bold
};

// Fonts are asked for by pixel size, the size their points have at 96 dots
// per inch, so that text keeps its place in the fixed layout whatever the
// desktop's font DPI.
constexpr int fontPixelSize(const FontSpec &font)
{
    constexpr double PointsPerInch = 72;
    constexpr double ReferenceDpi = 96;
    return static_cast<int>(font.points * ReferenceDpi / PointsPerInch + 0.5);
}
static_assert(fontPixelSize({"", 9.75, 700}) == 13 && fontPixelSize({"", 8, 400}) == 11);

// The "standard control text colour": fixed black, so that a dark desktop
// theme cannot put light text on the fixed green.
inline constexpr ColourWord StandardTextColour = Black;

// One control of the window: a row of the layout table.
struct ControlSpec {
    std::string_view name;
    ControlKind kind;
    std::string_view text;        // UTF-8; for a picture, its resource path
    int left, top, width, height; // twips
    FontSpec font;
    std::optional<ColourWord> textColour; // none: the standard control text colour
    std::optional<ColourWord> background;
    TextAlignment alignment;
    int tabIndex;
    // For screen readers: a name only where the control shows none of its
    // own, and a description of what the control tells the learner.
    std::string_view accessibleName = {};
    std::string_view accessibleDescription = {};
};

// The window itself.
inline constexpr std::string_view FormCaption = "Цифролёт";
inline constexpr int FormWidthTwips = 7845;
inline constexpr int FormHeightTwips = 4860;
inline constexpr ColourWord FormBackground = 0x00C000; // RGB(0, 192, 0)
inline constexpr std::string_view FormIcon = ":/icon.png";
// The window's own font, used for the credit line.
inline constexpr FontSpec FormFont{"MS Sans Serif", 8, 400};
// The one line the window writes itself, where the quiz tells it to.
inline constexpr std::string_view CreditText = "Цифролёт, с любовью";

// Every control, in the order the window creates them.
std::span<const ControlSpec> formControls();

// The row of the control with this name; every name the program asks for
// is in the table.
const ControlSpec &controlNamed(std::string_view name);
