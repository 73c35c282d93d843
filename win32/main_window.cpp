#include "main_window.h"

#include "control_ids.h"
#include "dpi.h"
#include "form_rules.h"
#include "message_box.h"
#include "phrases.h"
#include "pictures.h"
#include "text.h"

#include <algorithm>

namespace {

constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int IconResource = 1;

SIZE formFrame(int dpi)
{
    return frameSize({scaleTwips(FormWidthTwips, dpi), scaleTwips(FormHeightTwips, dpi)}, FormStyle, 0, dpi);
}

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

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance)
{
    formBackground_ = CreateSolidBrush(toColorRef(FormBackground));
    WNDCLASSEXW formClass{};
    formClass.cbSize = sizeof(formClass);
    formClass.lpfnWndProc = formProcedure;
    formClass.hInstance = instance;
    formClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    formClass.hbrBackground = formBackground_;
    formClass.lpszClassName = FormClassName;
    formClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IconResource));
    RegisterClassExW(&formClass);

    const SIZE frame = formFrame(systemDpi());
    CreateWindowExW(0, FormClassName, toWide(FormCaption).c_str(), FormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.cx, frame.cy, nullptr, nullptr, instance, this);
    buildControls();
    // The monitor the window opened on may have another DPI than the system.
    arrangeForDpi(dpiOfWindow(window_));
    const SIZE sized = formFrame(dpi_);
    SetWindowPos(window_, nullptr, 0, 0, sized.cx, sized.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

MainWindow::~MainWindow()
{
    if (window_)
        DestroyWindow(window_);
    for (Control &c : controls_)
        destroyControl(c);
    DeleteObject(formFont_);
    DestroyIcon(bigIcon_);
    DestroyIcon(smallIcon_);
    UnregisterClassW(FormClassName, instance_);
    DeleteObject(formBackground_);
}

int MainWindow::run(int showCommand)
{
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    focusAnswerField();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (handleKey(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void MainWindow::buildControls()
{
    controls_.reserve(formControls().size());
    for (const ControlSpec &row : formControls())
        controls_.push_back(createControl(row, window_, instance_));
    for (Control &c : controls_) {
        c.window = this;
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

void MainWindow::arrangeForDpi(int dpi)
{
    dpi_ = dpi;
    for (Control &c : controls_) {
        const ControlSpec &row = *c.row;
        const RECT r = scaledRect(row.left, row.top, row.width, row.height, dpi);
        SetWindowPos(c.handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (!row.font.family.empty()) {
            HFONT old = c.font;
            c.font = createFont(row.font, dpi);
            SendMessageW(c.handle, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), TRUE);
            DeleteObject(old);
        }
        if (row.kind == ControlKind::Picture) {
            DeleteObject(c.picture);
            c.picture =
                loadPicture(instance_, pictureResource(row.text, dpi), r.right - r.left, r.bottom - r.top);
            InvalidateRect(c.handle, nullptr, FALSE);
        }
    }
    DeleteObject(formFont_);
    formFont_ = createFont(FormFont, dpi);
    loadIcons();
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::loadIcons()
{
    const auto load = [this](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IconResource), IMAGE_ICON,
                                             systemMetric(width, dpi_), systemMetric(height, dpi_), 0));
    };
    HICON big = load(SM_CXICON, SM_CYICON);
    HICON small = load(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    DestroyIcon(bigIcon_);
    DestroyIcon(smallIcon_);
    bigIcon_ = big;
    smallIcon_ = small;
}

LRESULT CALLBACK MainWindow::formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<MainWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<MainWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handleFormMessage(message, wParam, lParam)
                : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainWindow::handleFormMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0)
            buttonClicked(LOWORD(wParam));
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
        // The focus goes back where it was when the learner returns.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_, focus))
                focusWhenInactive_ = focus;
        } else if (focusWhenInactive_) {
            SetFocus(focusWhenInactive_);
        } else {
            focusAnswerField();
        }
        return 0;
    case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::controlProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *c = reinterpret_cast<Control *>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    return c->window->handleControlMessage(*c, message, wParam, lParam);
}

LRESULT MainWindow::handleControlMessage(Control &c, UINT message, WPARAM wParam, LPARAM lParam)
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

// Keys are filtered before any control sees them: a key that may not press
// a button never reaches one (nor the field, where Enter and Escape would
// only beep), and Tab follows the table's order rather than the order of
// creation. Returns true for a key handled here.
bool MainWindow::handleKey(const MSG &message)
{
    if (message.message != WM_KEYDOWN && message.message != WM_KEYUP && message.message != WM_CHAR)
        return false;
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd)))
        return false;
    if (message.wParam == VK_TAB) {
        if (message.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0)
            moveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    }
    const std::optional<Key> key = keyOf(message.wParam);
    if (!key)
        return false;
    const Control *focused = find(message.hwnd);
    const bool onButton = focused && focused->row->kind == ControlKind::PushButton;
    if (*key == Key::Space)
        // Typed into the field; on a button the system presses it, if it may.
        return onButton && !pressesButton(*key);
    if (onButton && pressesButton(*key) && message.message == WM_KEYDOWN)
        buttonClicked(GetDlgCtrlID(focused->handle));
    return true;
}

void MainWindow::moveFocus(int step)
{
    const std::vector<ControlSpec> order = tabOrder();
    const int size = static_cast<int>(order.size());
    const Control *focused = find(GetFocus());
    const auto at = std::ranges::find_if(
        order, [focused](const ControlSpec &row) { return focused && row.name == focused->row->name; });
    const int from = at == order.end() ? (step > 0 ? -1 : 0) : static_cast<int>(at - order.begin());
    SetFocus(control(order[static_cast<std::size_t>(((from + step) % size + size) % size)].name).handle);
}

void MainWindow::buttonClicked(int id)
{
    if (id == controlId("Command2"))
        presenter_.nextExample();
    else if (id == controlId("Command3"))
        presenter_.checkAnswer();
    else if (id == controlId("Command4"))
        presenter_.exit();
}

HBRUSH MainWindow::backgroundOf(const Control &c) const
{
    return c.background ? c.background : formBackground_;
}

LRESULT MainWindow::colourControl(HDC dc, HWND handle) const
{
    const Control *c = const_cast<MainWindow *>(this)->find(handle);
    if (!c)
        return 0;
    SetTextColor(dc, toColorRef(c->textColour));
    SetBkColor(dc, toColorRef(c->row->background.value_or(FormBackground)));
    return reinterpret_cast<LRESULT>(backgroundOf(*c));
}

// Painted with the window, not once, so it survives being covered.
void MainWindow::paintCreditLine(HDC dc) const
{
    if (!creditLineTwips_)
        return;
    const int x = scaleTwips(creditLineTwips_->x, dpi_);
    const int y = scaleTwips(creditLineTwips_->y, dpi_);
    SetPixel(dc, x, y, toColorRef(StandardTextColour));
    HGDIOBJ oldFont = SelectObject(dc, formFont_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, toColorRef(StandardTextColour));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    const std::wstring credit = toWide(CreditText);
    TextOutW(dc, x, y, credit.c_str(), static_cast<int>(credit.size()));
    SelectObject(dc, oldFont);
}

Control *MainWindow::find(HWND handle)
{
    const auto at = std::ranges::find(controls_, handle, &Control::handle);
    return at == controls_.end() ? nullptr : &*at;
}

Control &MainWindow::control(std::string_view name)
{
    return *std::ranges::find_if(controls_, [name](const Control &c) { return c.row->name == name; });
}

const Control &MainWindow::control(std::string_view name) const
{
    return const_cast<MainWindow *>(this)->control(name);
}

void MainWindow::showFirstFactor(std::string_view text)
{
    SetWindowTextW(control("Label1").handle, toWide(text).c_str());
}

void MainWindow::showSecondFactor(std::string_view text)
{
    SetWindowTextW(control("Label2").handle, toWide(text).c_str());
}

std::string MainWindow::answerText() const
{
    return toUtf8(textOf(control("Text1").handle));
}

void MainWindow::clearAnswer()
{
    SetWindowTextW(control("Text1").handle, L"");
}

void MainWindow::showVerdict(std::string_view text, std::optional<ColourWord> colour)
{
    Control &verdict = control("Label5");
    if (colour)
        verdict.textColour = *colour;
    SetWindowTextW(verdict.handle, toWide(text).c_str());
    InvalidateRect(verdict.handle, nullptr, TRUE);
}

void MainWindow::showProblemNumber(std::string_view text)
{
    SetWindowTextW(control("Label9").handle, toWide(text).c_str());
}

void MainWindow::showErrorCount(std::string_view text)
{
    SetWindowTextW(control("Label10").handle, toWide(text).c_str());
}

void MainWindow::showMessage(std::string_view text, std::string_view title)
{
    showQuestionBox(window_, toWide(text), toWide(title), toWide(MessageOkCaption));
    presenter_.messageClosed();
}

void MainWindow::drawCreditLine(int xTwips, int yTwips)
{
    creditLineTwips_ = POINT{xTwips, yTwips};
    InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::announce(std::string_view message)
{
    ::announce(window_, toWide(message));
}

void MainWindow::describeAnswerField(std::string_view description)
{
    Control &field = control("Text1");
    field.accessible.description = toWide(description);
    descriptionChanged(field.handle);
}

bool MainWindow::answerFieldHasFocus() const
{
    return GetFocus() == control("Text1").handle;
}

void MainWindow::focusAnswerField()
{
    SetFocus(control("Text1").handle);
}

FrontEnd::Ending MainWindow::endProgram()
{
    DestroyWindow(window_);
    return Ending::Closed;
}
