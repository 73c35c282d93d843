// The floors for the Windows program's start-up: an empty Win32 window with
// the form's client size and green, and nothing in it; and, built with
// TSIFROLET_PLAIN_CONTROLS, the same window with the form's 17 controls at
// their places as the system's plain ones (no colours, fonts, pictures or
// drawing of our own), so that what each child window costs under Wine is
// told apart from what the program itself adds.
#include "control_classes.h"
#include "layout_table.h"

#include <windows.h>

namespace {

LRESULT CALLBACK floorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int pixels(int twips)
{
    return MulDiv(twips, 1, TwipsPerPixel);
}

#ifdef TSIFROLET_PLAIN_CONTROLS
void addPlainControls(HWND window, HINSTANCE instance)
{
    for (const ControlSpec &row : formControls())
        CreateWindowExW(0, classFor(row.kind), L"", WS_CHILD | WS_VISIBLE, pixels(row.left), pixels(row.top),
                        pixels(row.width), pixels(row.height), window, nullptr, instance, nullptr);
}
#endif

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    WNDCLASSEXW floorClass{};
    floorClass.cbSize = sizeof(floorClass);
    floorClass.lpfnWndProc = floorProcedure;
    floorClass.hInstance = instance;
    floorClass.hbrBackground = CreateSolidBrush(RGB(0, 192, 0));
    floorClass.lpszClassName = L"TsifroletFloor";
    RegisterClassExW(&floorClass);
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, pixels(FormWidthTwips), pixels(FormHeightTwips)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, L"TsifroletFloor", L"Пусто", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  instance, nullptr);
#ifdef TSIFROLET_PLAIN_CONTROLS
    addPlainControls(window, instance);
#endif
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
