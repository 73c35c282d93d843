#include "form_window.h"

#include "control_ids.h"
#include "dpi.h"
#include "form_rules.h"
#include "pictures.h"
#include "text.h"

#include <cstdlib>
#include <string>

namespace {

constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int IconResource = 1;

SIZE formFrame(int dpi)
{
    return frameSize({scaleTwips(FormWidthTwips, dpi), scaleTwips(FormHeightTwips, dpi)}, FormStyle, 0, dpi);
}

// Without its window the program has nothing to show and no message would
// ever come: it says so, with the system's reason, and ends.
[[noreturn]] void cannotOpen(const wchar_t *call)
{
    // The number by hand: std::to_wstring would bring in the C library's
    // locale and wide printing for this one line.
    std::wstring code;
    for (DWORD error = GetLastError(); code.empty() || error; error /= 10)
        code.insert(code.begin(), static_cast<wchar_t>(L'0' + error % 10));
    const std::wstring text = L"Цифролёт не может открыть своё окно: Windows не выполнила " +
                              std::wstring(call) + L" (код ошибки " + code + L").";
    MessageBoxW(nullptr, text.c_str(), toWide(FormCaption).c_str(), MB_OK | MB_ICONERROR);
    std::exit(1);
}

} // namespace

FormWindow::FormWindow(HINSTANCE instance, Owner &owner)
    : instance_(instance), owner_(owner), formBackground_(CreateSolidBrush(toColorRef(FormBackground)))
{
    WNDCLASSEXW formClass{};
    formClass.cbSize = sizeof(formClass);
    formClass.lpfnWndProc = formProcedure;
    formClass.hInstance = instance;
    formClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    formClass.hbrBackground = formBackground_.get();
    formClass.lpszClassName = FormClassName;
    formClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IconResource));
    if (!RegisterClassExW(&formClass))
        cannotOpen(L"RegisterClassExW");

    const SIZE frame = formFrame(systemDpi());
    if (!CreateWindowExW(0, FormClassName, toWide(FormCaption).c_str(), FormStyle, CW_USEDEFAULT,
                         CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr, instance, this))
        cannotOpen(L"CreateWindowExW");
    buildControls();
    // The monitor the window opened on may have another DPI than the system.
    arrangeForDpi(dpiOfWindow(window_));
    const SIZE sized = formFrame(dpi_);
    SetWindowPos(window_, nullptr, 0, 0, sized.cx, sized.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

FormWindow::~FormWindow()
{
    destroy();
    UnregisterClassW(FormClassName, instance_);
}

void FormWindow::destroy()
{
    if (window_)
        DestroyWindow(window_);
}

void FormWindow::buildControls()
{
    controls_.reserve(formControls().size());
    for (const ControlSpec &row : formControls()) {
        controls_.push_back(createControl(row, window_, instance_));
        if (!controls_.back().handle)
            cannotOpen(L"CreateWindowExW");
    }
    for (Control &c : controls_) {
        c.form = this;
        // Stored only now that the vector no longer moves its elements.
        SetWindowLongPtrW(c.handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
        c.systemProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(c.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProcedure)));
    }
    // Each control in turn to the top: the last is drawn over all others.
    for (const ControlSpec &row : drawingOrder())
        SetWindowPos(control(row.name).handle, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The controls are built in the table's order: a control's number is its place.
std::size_t FormWindow::placeOf(std::string_view name)
{
    const int id = controlId(name);
    if (id < FirstControlId)
        std::abort();
    return static_cast<std::size_t>(id - FirstControlId);
}

Control &FormWindow::control(std::string_view name)
{
    return controls_[placeOf(name)];
}

const Control &FormWindow::control(std::string_view name) const
{
    return controls_[placeOf(name)];
}

const Control *FormWindow::find(HWND handle) const
{
    const int place = handle ? GetDlgCtrlID(handle) - FirstControlId : -1;
    if (place < 0 || place >= static_cast<int>(controls_.size()))
        return nullptr;
    const Control &c = controls_[static_cast<std::size_t>(place)];
    return c.handle == handle ? &c : nullptr;
}

void FormWindow::arrangeForDpi(int dpi)
{
    dpi_ = dpi;
    for (Control &c : controls_) {
        const ControlSpec &row = *c.row;
        const RECT r = scaledRect(row.left, row.top, row.width, row.height, dpi);
        SetWindowPos(c.handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (!row.font.family.empty()) {
            OwnedFont font = createFont(row.font, dpi);
            SendMessageW(c.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
            c.font = std::move(font); // the old one only once the control has let it go
        }
        if (row.kind == ControlKind::Picture) {
            c.picture =
                loadPicture(instance_, pictureResource(row.text, dpi), r.right - r.left, r.bottom - r.top);
            InvalidateRect(c.handle, nullptr, FALSE);
        }
    }
    formFont_ = createFont(FormFont, dpi);
    loadIcons();
    InvalidateRect(window_, nullptr, TRUE);
}

void FormWindow::loadIcons()
{
    const auto load = [this](int width, int height) {
        return OwnedIcon(
            static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IconResource), IMAGE_ICON,
                                          systemMetric(width, dpi_), systemMetric(height, dpi_), 0)));
    };
    OwnedIcon big = load(SM_CXICON, SM_CYICON);
    OwnedIcon small = load(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void FormWindow::showCreditLine(POINT twips)
{
    creditLineTwips_ = twips;
    InvalidateRect(window_, nullptr, FALSE);
}

LRESULT CALLBACK FormWindow::formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<FormWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<FormWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_NCDESTROY) {
        // The window's last message: from here on it is the system's alone.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self = nullptr;
    }
    if (self) {
        if (const std::optional<LRESULT> answer = self->handleFormMessage(message, wParam, lParam))
            return *answer;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::optional<LRESULT> FormWindow::handleFormMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            if (const Control *button = find(reinterpret_cast<HWND>(lParam)))
                owner_.buttonClicked(*button);
        }
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return colourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: {
        const auto &item = *reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        if (const Control *c = find(item.hwndItem)) {
            if (item.CtlType == ODT_BUTTON)
                drawButton(item, *c, backgroundOf(*c), dpi_);
            else
                drawPicture(item, *c);
        }
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        paintCreditLine(dc);
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_DPICHANGED: {
        arrangeForDpi(LOWORD(wParam));
        const RECT &suggested = *reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_ACTIVATE:
        owner_.activationChanged(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return std::nullopt;
    }
}

LRESULT CALLBACK FormWindow::controlProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *c = reinterpret_cast<Control *>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    return c->form->handleControlMessage(*c, message, wParam, lParam);
}

LRESULT FormWindow::handleControlMessage(Control &c, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETOBJECT && (!c.accessible.name.empty() || !c.accessible.description.empty())) {
        if (const LRESULT answer = answerAccessibleRequest(c.handle, wParam, lParam, c.accessible))
            return answer;
    }
    if (!clickTakesFocus(c.row->kind) && c.row->kind == ControlKind::PushButton &&
        pressWithoutFocus(c, window_, message, lParam))
        return 0;
    return CallWindowProcW(c.systemProcedure, c.handle, message, wParam, lParam);
}

HBRUSH FormWindow::backgroundOf(const Control &c) const
{
    return c.background ? c.background.get() : formBackground_.get();
}

LRESULT FormWindow::colourControl(HDC dc, HWND handle) const
{
    const Control *c = find(handle);
    if (!c)
        return 0;
    SetTextColor(dc, toColorRef(c->textColour));
    SetBkColor(dc, toColorRef(c->row->background.value_or(FormBackground)));
    return reinterpret_cast<LRESULT>(backgroundOf(*c));
}

// Painted with the window, not once, so it survives being covered.
void FormWindow::paintCreditLine(HDC dc) const
{
    if (!creditLineTwips_)
        return;
    const int x = scaleTwips(creditLineTwips_->x, dpi_);
    const int y = scaleTwips(creditLineTwips_->y, dpi_);
    SetPixel(dc, x, y, toColorRef(StandardTextColour));
    const Selection font(dc, formFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, toColorRef(StandardTextColour));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    const std::wstring credit = toWide(CreditText);
    TextOutW(dc, x, y, credit.c_str(), static_cast<int>(credit.size()));
}
