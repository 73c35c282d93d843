#include "message_box.h"

namespace {

// A hook procedure gets no data of its own; the caption waits here while the
// one box of this thread is being shown.
thread_local const std::wstring *pendingCaption = nullptr;
thread_local HHOOK captionHook = nullptr;

// The box's one button, found by its class rather than by a number, which
// the system's own box does not promise.
BOOL CALLBACK renameIfButton(HWND child, LPARAM)
{
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Button") == 0)
        SetWindowTextW(child, pendingCaption->c_str());
    return TRUE;
}

LRESULT CALLBACK renameButton(int code, WPARAM wParam, LPARAM lParam)
{
    // The box is built and about to be shown: its button can be renamed now.
    if (code == HCBT_ACTIVATE && pendingCaption)
        EnumChildWindows(reinterpret_cast<HWND>(wParam), renameIfButton, 0);
    return CallNextHookEx(captionHook, code, wParam, lParam);
}

} // namespace

void showQuestionBox(HWND owner, const std::wstring &text, const std::wstring &title,
                     const std::wstring &okCaption)
{
    pendingCaption = &okCaption;
    captionHook = SetWindowsHookExW(WH_CBT, renameButton, nullptr, GetCurrentThreadId());
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONQUESTION | MB_APPLMODAL);
    if (captionHook)
        UnhookWindowsHookEx(captionHook);
    captionHook = nullptr;
    pendingCaption = nullptr;
}
