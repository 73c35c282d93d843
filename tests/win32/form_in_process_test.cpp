// The window's own code in the test's process, where a message may carry a
// pointer and the system's look-ups are the recording stand-ins: the form
// moved to a monitor of another DPI, and what a screen reader is told.
#include "accessibility.h"
#include "dpi.h"
#include "form_window.h"
#include "recording_system_library.h"

#include <gtest/gtest.h>

namespace {

struct NoOwner final : FormWindow::Owner {
    void buttonClicked(const Control &) override {}
    void activationChanged(bool) override {}
};

RECT inClient(HWND form, HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

TEST(WindowsFormMoved, ToAMonitorOfAnotherDpiEveryControlAndFontRescales)
{
    NoOwner owner;
    FormWindow form(GetModuleHandleW(nullptr), owner);
    for (const int dpi : {144, 192, 120, 96}) {
        RECT suggested{20, 30, 20 + scaleTwips(FormWidthTwips, dpi), 30 + scaleTwips(FormHeightTwips, dpi)};
        SendMessageW(form.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT frame;
        GetWindowRect(form.handle(), &frame);
        EXPECT_EQ(frame.right - frame.left, suggested.right - suggested.left) << dpi << " dpi";
        for (const ControlSpec &row : formControls()) {
            const Control &c = form.control(row.name);
            const RECT want = scaledRect(row.left, row.top, row.width, row.height, dpi);
            const RECT got = inClient(form.handle(), c.handle);
            EXPECT_TRUE(got.left == want.left && got.top == want.top && got.right == want.right &&
                        got.bottom == want.bottom)
                << row.name << " at " << dpi << " dpi: " << got.left << "," << got.top << " to " << got.right
                << "," << got.bottom << ", not " << want.left << "," << want.top << " to " << want.right << ","
                << want.bottom;
            if (row.font.family.empty())
                continue;
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c.handle, WM_GETFONT, 0, 0)), sizeof font, &font);
            EXPECT_EQ(font.lfHeight, -scalePixels(fontPixelSize(row.font), dpi)) << row.name << " at " << dpi;
        }
    }
}

// What Narrator hears where Windows has UI Automation's notifications: each
// message once, as a completed action to be read in full, and nothing for
// an empty one.
TEST(WindowsAnnouncements, EachMessageIsRaisedOnceAndAnEmptyOneNever)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const struct {
        std::wstring message;
        bool raised;
    } cases[] = {{L"Сколько будет 7 х 8?", true}, {L"Ошибка. Ошибок: 1", true}, {L"", false}, {L"Верно", true}};
    for (const auto &c : cases) {
        raisedNotifications().clear();
        announce(window, c.message);
        ASSERT_EQ(raisedNotifications().size(), c.raised ? 1u : 0u) << (c.raised ? "a message" : "an empty message");
        if (!c.raised)
            continue;
        const RaisedNotification &told = raisedNotifications().front();
        EXPECT_EQ(told.window, window);
        EXPECT_TRUE(told.text == c.message);
        EXPECT_EQ(told.kind, 2) << "NotificationKind_ActionCompleted";
        EXPECT_EQ(told.processing, 0) << "NotificationProcessing_ImportantAll";
        EXPECT_FALSE(told.activity.empty());
    }
    DestroyWindow(window);
}

} // namespace
