#include "message_box.h"

#include <string_view>

namespace {

// A hook procedure gets no data of its own; the caption waits here while the
// one box of this thread is being built.
thread_local const std::wstring *pendingCaption = nullptr;
thread_local HHOOK captionHook = nullptr;

// The box's one button, found by its class rather than by a number, which
// the system's own box does not promise.
BOOL CALLBACK renameIfButton(HWND child, LPARAM caption)
{
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Button") == 0)
        SetWindowTextW(child, reinterpret_cast<const std::wstring *>(caption)->c_str());
    return TRUE;
}

bool isDialog(HWND window)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return std::wstring_view(className) == L"#32770";
}

void unhook()
{
    if (captionHook)
        UnhookWindowsHookEx(captionHook);
    captionHook = nullptr;
    pendingCaption = nullptr;
}

LRESULT CALLBACK renameButton(int code, WPARAM wParam, LPARAM lParam)
{
    const HHOOK hook = captionHook;
    // The box is built and about to be shown: its button is renamed, and
    // nothing after it. When the box closes, the window it leaves is
    // activated before the box returns; its own buttons keep their names.
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && pendingCaption && isDialog(window)) {
        EnumChildWindows(window, renameIfButton, reinterpret_cast<LPARAM>(pendingCaption));
        unhook();
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

void showQuestionBox(HWND owner, const std::wstring &text, const std::wstring &title,
                     const std::wstring &okCaption)
{
    pendingCaption = &okCaption;
    captionHook = SetWindowsHookExW(WH_CBT, renameButton, nullptr, GetCurrentThreadId());
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONQUESTION | MB_APPLMODAL);
    unhook(); // if the box was never shown
}
