#include "layout_table.h"

#include <array>
#include <stdexcept>
#include <string>

namespace {

constexpr ColourWord Green = FormBackground;
constexpr ColourWord DarkGreen = 0x004000; // RGB(0, 64, 0)

constexpr FontSpec Arial12Bold{"Arial", 12, 700};
constexpr FontSpec Arial9Bold{"Arial", 9.75, 700};
constexpr FontSpec Arial18Bold{"Arial", 18, 700};
constexpr FontSpec Arial24{"Arial", 24, 400};
constexpr FontSpec SansSerif12{"MS Sans Serif", 12, 400};
constexpr FontSpec NoFont{};

using enum ControlKind;
using enum TextAlignment;
constexpr std::nullopt_t Default = std::nullopt;

// clang-format off
constexpr std::array Controls{
//  name        kind        text                  left  top   width height font         text colour background align  tab  accessible name, description
    ControlSpec{"Command4", PushButton, "Выход",              3360, 4080, 1335, 375,  Arial12Bold, Default,   Green, Centre, 13, "", "закончить"},
    ControlSpec{"Command3", PushButton, "Да",                 3600, 2400, 735,  375,  Arial12Bold, Default,   Green, Centre, 6, "", "проверить ответ"},
    ControlSpec{"Command2", PushButton, "Пример",             3360, 3240, 1335, 375,  Arial12Bold, Default,   Green, Centre, 5, "", "следующий пример"},
    ControlSpec{"Text1",    TextField,  "",                   5040, 1680, 735,  495,  Arial18Bold, DarkGreen, Green, Centre, 4, "Ответ", "ответ"},
    ControlSpec{"Image3",   Picture,    ":/kitten_duckling.jpg", 120, 120, 2055, 1695, NoFont,     Default,   Default, Left, 0},
    ControlSpec{"Image2",   Picture,    ":/cat_yarn.jpg",     6240, 1560, 1455, 2295, NoFont,      Default,   Default, Left, 0},
    ControlSpec{"Image1",   Picture,    ":/cat_blocks.jpg",   240,  2520, 1335, 2175, NoFont,      Default,   Default, Left, 0},
    ControlSpec{"Label10",  Label,      "0",                  6960, 600,  615,  375,  Arial9Bold,  Default,   Green, Centre, 12, "", "число ошибок"},
    ControlSpec{"Label9",   Label,      "",                   6960, 120,  615,  375,  Arial9Bold,  Default,   Green, Centre, 11, "", "номер примера"},
    ControlSpec{"Label8",   Label,      "Ошибок:",            5760, 600,  1215, 375,  Arial9Bold,  Default,   Green, Right,  10},
    ControlSpec{"Label7",   Label,      "Пример:",            5760, 120,  1215, 375,  Arial9Bold,  Default,   Green, Right,  9},
    ControlSpec{"Label6",   Label,      "Сколько будет?",     2040, 840,  3975, 615,  Arial24,     DarkGreen, Green, Centre, 8},
    ControlSpec{"Label5",   Label,      "",                   3000, 2880, 1935, 375,  SansSerif12, Default,   Green, Centre, 7, "", "результат проверки"},
    ControlSpec{"Label4",   Label,      "=",                  4440, 1680, 495,  375,  Arial18Bold, DarkGreen, Green, Centre, 3},
    ControlSpec{"Label3",   Label,      "х",                  3240, 1680, 495,  375,  Arial18Bold, DarkGreen, Green, Centre, 2},
    ControlSpec{"Label2",   Label,      "?",                  3840, 1680, 615,  495,  Arial18Bold, DarkGreen, Green, Centre, 1, "", "второй множитель"},
    ControlSpec{"Label1",   Label,      "?",                  2520, 1680, 615,  495,  Arial18Bold, DarkGreen, Green, Centre, 0, "", "первый множитель"},
};
// clang-format on

constexpr bool onPixelGrid(const ControlSpec &c)
{
    return c.left % TwipsPerPixel == 0 && c.top % TwipsPerPixel == 0 && c.width % TwipsPerPixel == 0 &&
           c.height % TwipsPerPixel == 0;
}

constexpr bool allOnPixelGrid()
{
    for (const ControlSpec &c : Controls)
        if (!onPixelGrid(c))
            return false;
    return true;
}

// Whole pixels keep every edge sharp at 96 dpi.
static_assert(allOnPixelGrid(), "every control must sit on whole pixels");
static_assert(FormWidthTwips % TwipsPerPixel == 0 && FormHeightTwips % TwipsPerPixel == 0);

} // namespace

std::span<const ControlSpec> formControls()
{
    return Controls;
}

const ControlSpec &controlNamed(std::string_view name)
{
    for (const ControlSpec &row : Controls)
        if (row.name == name)
            return row;
    throw std::out_of_range("no control named " + std::string(name));
}
