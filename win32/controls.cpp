#include "controls.h"

#include "control_classes.h"
#include "control_ids.h"
#include "dpi.h"
#include "form_rules.h"
#include "text.h"

#include <windowsx.h>

#include <algorithm>

namespace {

// Windows has no "MS Sans Serif" outline font with Cyrillic; its successor
// does. Asked for by name with the Cyrillic character set, the bitmap font
// would be chosen, which draws Russian letters as bars.
std::wstring windowsFamily(std::string_view family)
{
    return family == "MS Sans Serif" ? L"Microsoft Sans Serif" : toWide(family);
}

DWORD alignmentStyle(const ControlSpec &row)
{
    const bool field = row.kind == ControlKind::TextField;
    switch (row.alignment) {
    case TextAlignment::Centre:
        return field ? ES_CENTER : SS_CENTER;
    case TextAlignment::Right:
        return field ? ES_RIGHT : SS_RIGHT;
    case TextAlignment::Left:
        break;
    }
    return field ? ES_LEFT : SS_LEFT;
}

DWORD styleFor(const ControlSpec &row)
{
    const DWORD common = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (takesFocus(row.kind) ? WS_TABSTOP : 0);
    switch (row.kind) {
    case ControlKind::PushButton:
        return common | BS_OWNERDRAW;
    case ControlKind::TextField:
        return common | ES_AUTOHSCROLL | alignmentStyle(row);
    case ControlKind::Picture:
        return common | SS_OWNERDRAW;
    case ControlKind::Label:
        break;
    }
    return common | alignmentStyle(row) | SS_NOPREFIX;
}

// The focus mark every front end draws alike, scaled as the form is.
void drawFocusFrame(HDC dc, RECT button, int dpi)
{
    const int edge = scalePixels(ButtonFocusMark.inset, dpi);
    const int width = scalePixels(ButtonFocusMark.width, dpi);
    InflateRect(&button, -edge, -edge);
    const RECT bars[] = {{button.left, button.top, button.right, button.top + width},
                         {button.left, button.bottom - width, button.right, button.bottom},
                         {button.left, button.top, button.left + width, button.bottom},
                         {button.right - width, button.top, button.right, button.bottom}};
    const OwnedBrush ink(CreateSolidBrush(toColorRef(ButtonFocusMark.colour)));
    for (const RECT &bar : bars)
        FillRect(dc, &bar, ink.get());
}

} // namespace

Control createControl(const ControlSpec &row, HWND parent, HINSTANCE instance)
{
    Control c;
    c.row = &row;
    c.textColour = row.textColour.value_or(StandardTextColour);
    if (row.background)
        c.background.reset(CreateSolidBrush(toColorRef(*row.background)));
    c.accessible = {toWide(row.accessibleName), toWide(row.accessibleDescription)};
    const std::wstring text = row.kind == ControlKind::Picture ? std::wstring() : toWide(row.text);
    c.handle = CreateWindowExW(row.kind == ControlKind::TextField ? WS_EX_CLIENTEDGE : 0, classFor(row.kind),
                               text.c_str(), styleFor(row), 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(row.name))), instance,
                               nullptr);
    return c;
}

OwnedFont createFont(const FontSpec &font, int dpi)
{
    return OwnedFont(CreateFontW(-scalePixels(fontPixelSize(font), dpi), 0, 0, 0, font.weight, FALSE, FALSE,
                                 FALSE, RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, windowsFamily(font.family).c_str()));
}

// A resource name cannot hold "@": "cat@2x.jpg" is the resource "cat_2x.jpg".
std::wstring pictureResource(std::string_view path, int dpi)
{
    const std::string_view file = path.starts_with(":/") ? path.substr(2) : path;
    std::string name =
        wantsDoubleSize(static_cast<double>(dpi) / ReferenceDpi) ? doubleSizeName(file) : std::string(file);
    std::ranges::replace(name, '@', '_');
    return toWide(name);
}

std::wstring textOf(HWND handle)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
    return text;
}

void drawButton(const DRAWITEMSTRUCT &item, const Control &c, HBRUSH face, int dpi)
{
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pushed = item.itemState & ODS_SELECTED;
    FillRect(dc, &r, face);
    DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    const std::wstring text = textOf(item.hwndItem);
    RECT textArea = r;
    if (pushed)
        OffsetRect(&textArea, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, toColorRef(c.textColour));
    {
        const Selection font(dc, c.font.get());
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS)
        drawFocusFrame(dc, r, dpi);
}

void drawPicture(const DRAWITEMSTRUCT &item, const Control &c)
{
    if (!c.picture)
        return;
    const MemoryDc source(CreateCompatibleDC(item.hDC));
    const Selection picture(source.get(), c.picture.get());
    BitBlt(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, source.get(), 0, 0, SRCCOPY);
}

bool pressWithoutFocus(Control &c, HWND form, UINT message, LPARAM lParam)
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
            SendMessageW(c.handle, BM_SETSTATE,
                         PtInRect(&r, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), 0);
        }
        return c.pressedByMouse;
    case WM_LBUTTONUP: {
        if (!c.pressedByMouse)
            return false;
        const bool pushed = SendMessageW(c.handle, BM_GETSTATE, 0, 0) & BST_PUSHED;
        ReleaseCapture(); // its WM_CAPTURECHANGED lets the button go
        if (pushed)
            SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c.handle), BN_CLICKED),
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
