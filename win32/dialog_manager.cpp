#include "dialog_manager.h"

#include "form_rules.h"

#include <algorithm>
#include <optional>

namespace {

std::optional<Key> keyOf(WPARAM virtualKey)
{
    switch (virtualKey) {
    case VK_RETURN:
        return Key::Enter;
    case VK_ESCAPE:
        return Key::Escape;
    case VK_SPACE:
        return Key::Space;
    default:
        return std::nullopt;
    }
}

} // namespace

DialogManager::DialogManager(const FormWindow &form, HWND firstFocus) : form_(form), firstFocus_(firstFocus)
{
    for (const ControlSpec &row : tabOrder())
        tabOrder_.push_back(form.control(row.name).handle);
}

// A key that may not press a button never reaches one (nor the field, where
// Enter and Escape would only beep).
bool DialogManager::handleKey(const MSG &message)
{
    if (message.message != WM_KEYDOWN && message.message != WM_KEYUP && message.message != WM_CHAR)
        return false;
    HWND form = form_.handle();
    if (!form || (message.hwnd != form && !IsChild(form, message.hwnd)))
        return false;
    if (message.wParam == VK_TAB) {
        if (message.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0)
            moveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    }
    const std::optional<Key> key = keyOf(message.wParam);
    if (!key)
        return false;
    const Control *focused = form_.find(message.hwnd);
    const bool onButton = focused && focused->row->kind == ControlKind::PushButton;
    if (*key == Key::Space)
        // Typed into the field; on a button the system presses it, if it may.
        return onButton && !pressesButton(*key);
    if (onButton && pressesButton(*key) && message.message == WM_KEYDOWN)
        SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focused->handle), BN_CLICKED),
                     reinterpret_cast<LPARAM>(focused->handle));
    return true;
}

void DialogManager::moveFocus(int step)
{
    const int size = static_cast<int>(tabOrder_.size());
    const auto at = std::ranges::find(tabOrder_, GetFocus());
    const int from = at == tabOrder_.end() ? (step > 0 ? -1 : 0) : static_cast<int>(at - tabOrder_.begin());
    SetFocus(tabOrder_[static_cast<std::size_t>(((from + step) % size + size) % size)]);
}

void DialogManager::activationChanged(bool active)
{
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(form_.handle(), focus))
            focusWhenInactive_ = focus;
    } else {
        SetFocus(focusWhenInactive_ ? focusWhenInactive_ : firstFocus_);
    }
}
