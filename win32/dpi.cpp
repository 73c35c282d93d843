#include "dpi.h"

#include "system_library.h"

namespace {

// Functions of Windows 10 that a Windows 7 program may not import directly.
template <typename Function> Function user32Function(const char *name)
{
    return systemFunction<Function>(L"user32.dll", name);
}

using GetDpiForWindowFunction = UINT(WINAPI *)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI *)(RECT *, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI *)(int, UINT);

} // namespace

int systemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : ReferenceDpi;
}

int dpiOfWindow(HWND window)
{
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    }
    return systemDpi();
}

SIZE frameSize(SIZE client, DWORD style, DWORD extendedStyle, int dpi)
{
    static const auto adjustForDpi =
        user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    if (adjustForDpi)
        adjustForDpi(&frame, style, FALSE, extendedStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int systemMetric(int index, int dpi)
{
    static const auto forDpi = user32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}
