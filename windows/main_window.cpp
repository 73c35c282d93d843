#include "main_window.h"

#include "control_ids.h"
#include "dpi.h"
#include "message_box.h"
#include "pictures.h"
#include "quiz_commands.h"
#include "text.h"

#include <windowsx.h>

#include <algorithm>

namespace {

constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int IconResource = 1;

COLORREF toColorRef(ColourWord colour)
{
    // Both are 0x00BBGGRR.
    return static_cast<COLORREF>(colour);
}

// Windows has no "MS Sans Serif" outline font with Cyrillic; its successor
// does. Asked for by name with the Cyrillic character set, the bitmap font
// would be chosen, which draws Russian letters as bars.
std::wstring windowsFamily(std::string_view family)
{
    return family == "MS Sans Serif" ? L"Microsoft Sans Serif" : toWide(family);
}

// The picture's resource for a screen of this DPI: the double-size one
// from 150 %, named with "_2x" as resource names cannot hold "@".
std::wstring pictureResource(std::string_view path, int dpi)
{
    std::wstring name = toWide(path.starts_with(":/") ? path.substr(2) : path);
    if (dpi * 2 >= ReferenceDpi * 3) {
        const std::size_t dot = name.rfind(L'.');
        if (dot != std::wstring::npos)
            name.insert(dot, L"_2x");
    }
    return name;
}

std::wstring textOf(HWND handle)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
    return text;
}

DWORD styleFor(const ControlSpec &row)
{
    const DWORD common = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const DWORD alignment = row.alignment == TextAlignment::Centre  ? SS_CENTER
                            : row.alignment == TextAlignment::Right ? SS_RIGHT
                                                                    : SS_LEFT;
    switch (row.kind) {
    case ControlKind::PushButton:
        return common | WS_TABSTOP | BS_OWNERDRAW;
    case ControlKind::TextField:
        return common | WS_TABSTOP | ES_AUTOHSCROLL |
               (row.alignment == TextAlignment::Centre ? ES_CENTER : row.alignment == TextAlignment::Right ? ES_RIGHT : ES_LEFT);
    case ControlKind::Picture:
        return common | SS_OWNERDRAW;
    case ControlKind::Label:
        break;
    }
    return common | alignment | SS_NOPREFIX;
}

const wchar_t *classFor(ControlKind kind)
{
    switch (kind) {
    case ControlKind::PushButton:
        return L"BUTTON";
    case ControlKind::TextField:
        return L"EDIT";
    case ControlKind::Picture:
    case ControlKind::Label:
        break;
    }
    return L"STATIC";
}

bool takesFocus(const ControlSpec &row)
{
    return row.kind == ControlKind::PushButton || row.kind == ControlKind::TextField;
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance)
{
    formBackground_ = CreateSolidBrush(toColorRef(FormBackground));
    WNDCLASSEXW formClass{};
    formClass.cbSize = sizeof(formClass);
    formClass.lpfnWndProc = formProcedure;
    formClass.hInstance = instance;
    formClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    formClass.hbrBackground = formBackground_;
    formClass.lpszClassName = FormClassName;
    formClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IconResource));
    RegisterClassExW(&formClass);

    const int dpi = systemDpi();
    const SIZE frame = frameSize({scaleTwips(FormWidthTwips, dpi), scaleTwips(FormHeightTwips, dpi)}, FormStyle, 0, dpi);
    CreateWindowExW(0, FormClassName, toWide(FormCaption).c_str(), FormStyle, CW_USEDEFAULT, CW_USEDEFAULT, frame.cx,
                    frame.cy, nullptr, nullptr, instance, this);
    buildControls();
    // The monitor the window opened on may have another DPI than the system's.
    arrangeForDpi(dpiOfWindow(window_));
    const SIZE sized = frameSize({scaleTwips(FormWidthTwips, dpi_), scaleTwips(FormHeightTwips, dpi_)}, FormStyle, 0, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, sized.cx, sized.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

MainWindow::~MainWindow()
{
    if (window_)
        DestroyWindow(window_);
    for (Control &c : controls_) {
        DeleteObject(c.font);
        DeleteObject(c.picture);
        DeleteObject(c.background);
    }
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
    SetFocus(control("Text1").handle);
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
        createControl(row);
    for (Control &c : controls_) {
        // Stored only now: the vector no longer moves its elements.
        SetWindowLongPtrW(c.handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
        c.systemProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(c.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProcedure)));
    }
    stackControls();
}

void MainWindow::createControl(const ControlSpec &row)
{
    Control c;
    c.window = this;
    c.row = &row;
    c.textColour = row.textColour.value_or(StandardTextColour);
    if (row.background)
        c.background = CreateSolidBrush(toColorRef(*row.background));
    c.accessible = {toWide(row.accessibleName), toWide(row.accessibleDescription)};
    const std::wstring text = row.kind == ControlKind::Picture ? std::wstring() : toWide(row.text);
    c.handle = CreateWindowExW(row.kind == ControlKind::TextField ? WS_EX_CLIENTEDGE : 0, classFor(row.kind),
                               text.c_str(), styleFor(row), 0, 0, 0, 0, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(row.name))), instance_, nullptr);
    controls_.push_back(c);
}

// Where the heading overlaps the kitten picture, the picture stays whole.
void MainWindow::stackControls()
{
    SetWindowPos(control("Image3").handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
            c.font = createFont(row.font);
            SendMessageW(c.handle, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), TRUE);
            DeleteObject(old);
        }
        if (row.kind == ControlKind::Picture) {
            DeleteObject(c.picture);
            c.picture = loadPicture(instance_, pictureResource(row.text, dpi), r.right - r.left, r.bottom - r.top);
            InvalidateRect(c.handle, nullptr, FALSE);
        }
    }
    DeleteObject(formFont_);
    formFont_ = createFont(FormFont);
    loadIcons();
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::loadIcons()
{
    HICON big = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IconResource), IMAGE_ICON,
                                              systemMetric(SM_CXICON, dpi_), systemMetric(SM_CYICON, dpi_), 0));
    HICON small = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IconResource), IMAGE_ICON,
                                                systemMetric(SM_CXSMICON, dpi_), systemMetric(SM_CYSMICON, dpi_), 0));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    DestroyIcon(bigIcon_);
    DestroyIcon(smallIcon_);
    bigIcon_ = big;
    smallIcon_ = small;
}

HFONT MainWindow::createFont(const FontSpec &spec) const
{
    // By pixel height, as the layout's font sizes are meant at 96 dpi.
    return CreateFontW(-scalePixels(fontPixelSize(spec), dpi_), 0, 0, 0, spec.weight, FALSE, FALSE, FALSE,
                       RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, windowsFamily(spec.family).c_str());
}

LRESULT CALLBACK MainWindow::formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<MainWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<MainWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handleFormMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
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
        if (item.CtlType == ODT_BUTTON)
            drawButton(item);
        else
            drawPicture(item);
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
        } else {
            SetFocus(focusWhenInactive_ ? focusWhenInactive_ : control("Text1").handle);
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
    if (c.row->kind == ControlKind::PushButton && handleMouseClick(c, message, lParam))
        return 0;
    return CallWindowProcW(c.systemProcedure, c.handle, message, wParam, lParam);
}

// A click presses the button without taking the focus, so the caret stays
// in the answer field: the button is pushed while the mouse holds it and
// clicked when the mouse lets go over it, as a system button would be.
bool MainWindow::handleMouseClick(Control &c, UINT message, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        c.pressedByMouse = true;
        SetCapture(c.handle);
        SendMessageW(c.handle, BM_SETSTATE, TRUE, 0);
        return true;
    case WM_MOUSEMOVE:
        if (c.pressedByMouse) {
            RECT r;
            GetClientRect(c.handle, &r);
            const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            SendMessageW(c.handle, BM_SETSTATE, PtInRect(&r, at), 0);
        }
        return c.pressedByMouse;
    case WM_LBUTTONUP: {
        if (!c.pressedByMouse)
            return false;
        const bool pushed = SendMessageW(c.handle, BM_GETSTATE, 0, 0) & BST_PUSHED;
        ReleaseCapture(); // sends WM_CAPTURECHANGED, which lets the button go
        if (pushed)
            SendMessageW(window_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c.handle), BN_CLICKED),
                         reinterpret_cast<LPARAM>(c.handle));
        return true;
    }
    case WM_CAPTURECHANGED:
        if (c.pressedByMouse) {
            c.pressedByMouse = false;
            SendMessageW(c.handle, BM_SETSTATE, FALSE, 0);
        }
        return false;
    default:
        return false;
    }
}

// Enter and Escape press no button; Tab follows the table's order rather
// than the order the controls were created in.
bool MainWindow::handleKey(const MSG &message)
{
    if (message.message != WM_KEYDOWN && message.message != WM_KEYUP && message.message != WM_CHAR)
        return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd))
        return false;
    if (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)
        return true;
    if (message.wParam == VK_TAB && message.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0) {
        moveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    }
    return message.wParam == VK_TAB;
}

void MainWindow::moveFocus(int step)
{
    const std::vector<HWND> order = tabOrder();
    const auto at = std::find(order.begin(), order.end(), GetFocus());
    const int size = static_cast<int>(order.size());
    const int from = at == order.end() ? (step > 0 ? -1 : 0) : static_cast<int>(at - order.begin());
    SetFocus(order[static_cast<std::size_t>(((from + step) % size + size) % size)]);
}

std::vector<HWND> MainWindow::tabOrder() const
{
    std::vector<const Control *> focusable;
    for (const Control &c : controls_)
        if (takesFocus(*c.row))
            focusable.push_back(&c);
    std::ranges::sort(focusable, {}, [](const Control *c) { return c->row->tabIndex; });
    std::vector<HWND> order;
    for (const Control *c : focusable)
        order.push_back(c->handle);
    return order;
}

void MainWindow::buttonClicked(int id)
{
    if (id == controlId("Command2"))
        onNextExample(quiz_, *this, random_);
    else if (id == controlId("Command3"))
        onCheckAnswer(quiz_, *this);
    else if (id == controlId("Command4"))
        endProgram();
}

void MainWindow::endProgram()
{
    DestroyWindow(window_);
}

LRESULT MainWindow::colourControl(HDC dc, HWND handle) const
{
    const Control *c = find(handle);
    if (!c)
        return 0;
    SetTextColor(dc, toColorRef(c->textColour));
    SetBkColor(dc, toColorRef(c->row->background.value_or(FormBackground)));
    return reinterpret_cast<LRESULT>(c->background ? c->background : formBackground_);
}

void MainWindow::drawButton(const DRAWITEMSTRUCT &item) const
{
    const Control *c = find(item.hwndItem);
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pushed = item.itemState & ODS_SELECTED;
    FillRect(dc, &r, c->background ? c->background : formBackground_);
    DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    const std::wstring text = textOf(item.hwndItem);
    RECT textArea = r;
    if (pushed)
        OffsetRect(&textArea, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, toColorRef(c->textColour));
    HGDIOBJ oldFont = SelectObject(dc, c->font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);

    // A dark frame just inside the edge, which a child sees at once; the
    // system's dotted rectangle is barely visible on green.
    if (item.itemState & ODS_FOCUS) {
        const int edge = scalePixels(2, dpi_);
        const int width = scalePixels(2, dpi_);
        RECT inside = r;
        InflateRect(&inside, -edge, -edge);
        HBRUSH frame = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        const RECT bars[] = {{inside.left, inside.top, inside.right, inside.top + width},
                             {inside.left, inside.bottom - width, inside.right, inside.bottom},
                             {inside.left, inside.top, inside.left + width, inside.bottom},
                             {inside.right - width, inside.top, inside.right, inside.bottom}};
        for (const RECT &bar : bars)
            FillRect(dc, &bar, frame);
    }
}

void MainWindow::drawPicture(const DRAWITEMSTRUCT &item) const
{
    const Control *c = find(item.hwndItem);
    if (!c || !c->picture)
        return;
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(source, c->picture);
    BitBlt(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
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

MainWindow::Control *MainWindow::find(HWND handle)
{
    for (Control &c : controls_)
        if (c.handle == handle)
            return &c;
    return nullptr;
}

const MainWindow::Control *MainWindow::find(HWND handle) const
{
    for (const Control &c : controls_)
        if (c.handle == handle)
            return &c;
    return nullptr;
}

MainWindow::Control &MainWindow::control(std::string_view name)
{
    for (Control &c : controls_)
        if (c.row->name == name)
            return c;
    return controls_.front(); // every name asked for is in the table
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
    return toUtf8(textOf(const_cast<MainWindow *>(this)->control("Text1").handle));
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
    showQuestionBox(window_, toWide(text), toWide(title), L"ОК");
}

void MainWindow::drawCreditLine(int xTwips, int yTwips)
{
    creditLineTwips_ = POINT{xTwips, yTwips};
    InvalidateRect(window_, nullptr, FALSE);
}
