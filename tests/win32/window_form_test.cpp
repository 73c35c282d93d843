// The Windows program's form: its size at the screen's DPI, its keys and
// focus, and what a screen reader is told of its controls.
#include "form_rules.h"
#include "jpeg_decoder.h"
#include "layout_table.h"
#include "learner_rules.h"
#include "owned.h"
#include "program_driver.h"
#include "text.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <utility>
#include <string>

namespace {

// Whether the focused button wears the focus mark every front end draws:
// across the middle row and down the middle column from each edge, the
// button's own edge, then the mark, then the face. In the form's pixels,
// scaled as the button is (375 twips high, 25 pixels at 96 dpi).
bool wearsFocusMark(const Program &program, std::string_view button)
{
    const Capture shot = captureScreen(program.screenRect(button));
    const auto scaled = [&](int pixels) { return MulDiv(pixels, shot.height, 25); };
    const auto [width, inset, colour] = ButtonFocusMark;
    const std::uint32_t mark = (redOf(colour) << 16) | (greenOf(colour) << 8) | blueOf(colour);
    const int w = shot.width - 1;
    const int h = shot.height - 1;
    for (int from = 0; from < scaled(inset + width) + 1; ++from) {
        const bool marked = from >= scaled(inset) && from < scaled(inset) + scaled(width);
        for (const auto &[x, y] : {std::pair{from, h / 2}, {w - from, h / 2}, {w / 2, from}, {w / 2, h - from}})
            if ((shot.at(x, y) == mark) != marked)
                return false;
    }
    return true;
}

TEST(WindowsForm, ScalesAsOneAtTheScreensDpi)
{
    Program program;
    RECT client;
    GetClientRect(program.form(), &client);
    EXPECT_EQ(client.right, scaled(FormWidthTwips));
    EXPECT_EQ(client.bottom, scaled(FormHeightTwips));
    EXPECT_FALSE(GetWindowLongW(program.form(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));

    for (const ControlSpec &row : formControls()) {
        RECT r = program.screenRect(row.name);
        MapWindowPoints(nullptr, program.form(), reinterpret_cast<POINT *>(&r), 2);
        EXPECT_EQ(r.left, scaled(row.left)) << row.name;
        EXPECT_EQ(r.bottom, scaled(row.top + row.height)) << row.name;
    }
    for (const char *label : {"Label6", "Label7", "Label8"}) {
        const Capture text = captureScreen(program.screenRect(label));
        EXPECT_GE(text.distinctGlyphs(0x00C000), 5) << label << " is not drawn in real letters";
    }
    // Each picture drawn, and in its file's colours: averaged over its box,
    // what is shown is within a few levels of the file itself, so a channel
    // swapped in decoding or resampling would show.
    for (const ControlSpec &row : formControls()) {
        if (row.kind != ControlKind::Picture)
            continue;
        const Capture shown = captureScreen(program.screenRect(row.name));
        EXPECT_LT(shown.count(0x00C000), shown.width * shown.height / 10) << row.name << " is not drawn";
        std::ifstream file(std::string(ASSETS_DIR) + "/" + std::string(row.text.substr(2)), std::ios::binary);
        const DecodedJpeg original = decodeJpeg(std::string(std::istreambuf_iterator<char>(file), {}));
        ASSERT_FALSE(original.rgb.empty()) << row.text;
        for (int channel = 0; channel < 3; ++channel) {
            double drawn = 0, filed = 0;
            for (const std::uint32_t pixel : shown.pixels)
                drawn += (pixel >> (16 - 8 * channel)) & 0xFF;
            for (std::size_t i = static_cast<std::size_t>(channel); i < original.rgb.size(); i += 3)
                filed += original.rgb[i];
            EXPECT_NEAR(drawn / static_cast<double>(shown.pixels.size()),
                        filed / static_cast<double>(original.rgb.size() / 3), 4.0)
                << row.name << ", channel " << channel << " (red, green, blue)";
        }
    }
}

TEST(WindowsForm, KeysPressNoButtonBehindTheLearnersBack)
{
    Program program;
    EXPECT_EQ(program.focus(), program.control("Text1"));
    program.next();
    program.type(std::to_wstring(program.product()));
    program.press(VK_RETURN);
    program.press(VK_ESCAPE);
    program.type(L"");
    EXPECT_EQ(program.text("Label5"), L"") << "Enter or Escape checked the answer";
    EXPECT_EQ(program.text("Label9"), L"1");

    // Tab follows the table's order, round and back.
    const std::vector<HWND> order = {program.control("Command2"), program.control("Command3"),
                                     program.control("Command4"), program.control("Text1")};
    for (HWND expected : order) {
        program.press(VK_TAB);
        EXPECT_TRUE(waitUntil([&] { return program.focus() == expected; }));
    }
    program.press(VK_TAB, true);
    EXPECT_TRUE(waitUntil([&] { return program.focus() == program.control("Command4"); }));
    program.press(VK_TAB, true);
    program.press(VK_TAB, true);
    ASSERT_TRUE(waitUntil([&] { return program.focus() == program.control("Command2"); }));
    EXPECT_TRUE(waitUntil([&] { return wearsFocusMark(program, "Command2"); }));
    EXPECT_FALSE(wearsFocusMark(program, "Command3"));

    // On a focused button Enter and Escape do nothing, the space bar presses it.
    program.press(VK_RETURN);
    program.press(VK_ESCAPE);
    EXPECT_EQ(program.text("Label9"), L"1");
    program.press(VK_SPACE);
    EXPECT_TRUE(waitUntil([&] { return program.text("Label9") == L"2"; }));
}

TEST(WindowsForm, ClicksLeaveTheCaretInTheField)
{
    Program program;
    program.next();
    program.type(std::to_wstring(program.product()));
    program.check();
    EXPECT_EQ(program.focus(), program.control("Text1"));
    EXPECT_EQ(program.caret(), program.control("Text1"));
    program.next();
    program.type(L"7");
    EXPECT_TRUE(waitUntil([&] { return program.text("Text1") == L"7"; }))
        << "typing after a click did not reach the field";
}

// What a screen reader reads of a control: its name, description and role.
struct Heard {
    std::wstring name;
    std::wstring description;
    long role = -1;
};

std::optional<Heard> hear(HWND control)
{
    ComRef<IAccessible> object;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void **>(object.out()))) ||
        !object)
        return std::nullopt;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr, description = nullptr;
    VARIANT role{};
    object->get_accName(self, &name);
    object->get_accDescription(self, &description);
    object->get_accRole(self, &role);
    Heard heard{name ? name : L"", description ? description : L"", role.vt == VT_I4 ? role.lVal : -1};
    SysFreeString(name);
    SysFreeString(description);
    return heard;
}

struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

TEST(WindowsForm, ScreenReadersHearWhatEachControlShows)
{
    const ComApartment com;
    Program program;
    program.next();
    const std::optional<Heard> heading = hear(program.control("Label6"));
    // 64-bit Wine 8 hands no accessible object to another process; 32-bit
    // Wine and Windows do.
    if (!heading)
        GTEST_SKIP() << "this system gives no accessible objects for its standard controls";
    EXPECT_EQ(heading->name, L"Сколько будет?");
    // 32-bit Wine 8 hands them over, but gives a label and a button the role
    // of its generic client object; Windows gives each its own.
    const bool genericRoles = heading->role == ROLE_SYSTEM_CLIENT;
    if (!genericRoles) {
        EXPECT_EQ(heading->role, ROLE_SYSTEM_STATICTEXT);
    }

    const std::optional<Heard> field = hear(program.control("Text1"));
    ASSERT_TRUE(field);
    EXPECT_EQ(field->name, toWide(controlNamed("Text1").accessibleName));
    EXPECT_EQ(field->role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(field->description,
              toWide(learner::said(learner::SaidProblem, std::stoi(program.text("Label1")),
                                   std::stoi(program.text("Label2")))));

    const std::optional<Heard> button = hear(program.control("Command2"));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->name, L"Пример");
    if (!genericRoles) {
        EXPECT_EQ(button->role, ROLE_SYSTEM_PUSHBUTTON);
    }
}

} // namespace
