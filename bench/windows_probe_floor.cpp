// The floor for the Windows program's start-up: an empty Win32 window with
// the form's client size and green, and nothing in it.
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
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, 523, 324};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, L"TsifroletFloor", L"Пусто", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  instance, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
