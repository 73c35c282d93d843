#include "program_driver.h"

#include "owned.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

// The tests measure and read the program's real pixels. A process that does
// not say it knows the screen's DPI is shown a screen scaled down to 96 dpi,
// as Windows does and Wine does from version 10: there every rectangle read
// would be in those pixels, and every capture blurred. Said before any test
// reads the screen.
[[maybe_unused]] const bool seesRealPixels = SetProcessDPIAware() != FALSE;

int scaled(int twips)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(twips, dpi, 1440);
}

bool waitUntil(const std::function<bool()> &done, int milliseconds)
{
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (done())
            return true;
        Sleep(20);
    }
    return done();
}

std::wstring windowText(HWND window)
{
    // WM_GETTEXT, unlike GetWindowText, reads an edit field of another process.
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &length);
    return std::wstring(text, length);
}

int Capture::count(std::uint32_t rgb) const
{
    int n = 0;
    for (const std::uint32_t p : pixels)
        n += p == rgb;
    return n;
}

int Capture::distinctGlyphs(std::uint32_t background) const
{
    // Columns of ink separated by empty columns are glyphs; each glyph's
    // shape is its rows of ink, as text.
    std::map<std::string, int> shapes;
    std::string shape;
    for (int x = 0; x <= width; ++x) {
        std::string column;
        bool ink = false;
        for (int y = 0; x < width && y < height; ++y) {
            const bool dark = at(x, y) != background;
            column += dark ? '#' : '.';
            ink = ink || dark;
        }
        if (ink) {
            shape += column + '|';
        } else if (!shape.empty()) {
            ++shapes[shape];
            shape.clear();
        }
    }
    return static_cast<int>(shapes.size());
}

Capture captureScreen(RECT area)
{
    Capture capture{area.right - area.left, area.bottom - area.top, {}};
    capture.pixels.resize(static_cast<std::size_t>(capture.width) * capture.height);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), capture.width, -capture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    const MemoryDc memory(CreateCompatibleDC(screen));
    void *bits = nullptr;
    const OwnedBitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        const Selection copy(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, capture.width, capture.height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
    }
    ReleaseDC(nullptr, screen);
    const auto *source = static_cast<const std::uint32_t *>(bits);
    for (std::size_t i = 0; i < capture.pixels.size(); ++i)
        capture.pixels[i] = source[i] & 0xFFFFFF;
    return capture;
}

void saveScreen(const std::wstring &path)
{
    const Capture screen =
        captureScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    BITMAPINFOHEADER info{sizeof(info), screen.width, -screen.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD pixelBytes = static_cast<DWORD>(screen.pixels.size() * 4);
    const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(info);
    BITMAPFILEHEADER file{0x4D42, headers + pixelBytes, 0, 0, headers};
    if (FILE *out = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(&file, sizeof(file), 1, out);
        std::fwrite(&info, sizeof(info), 1, out);
        std::fwrite(screen.pixels.data(), 4, screen.pixels.size(), out);
        std::fclose(out);
    }
}

std::wstring OpenBox::title() const
{
    return windowText(handle);
}
std::wstring OpenBox::text() const
{
    return windowText(GetDlgItem(handle, 0xFFFF)); // the message's static, in Windows and Wine alike
}
HWND OpenBox::button() const
{
    return FindWindowExW(handle, nullptr, L"Button", nullptr);
}
std::wstring OpenBox::okCaption() const
{
    return windowText(button());
}

namespace {

// Every program a test starts ends with the test program, even one that
// crashed: left running, it would hold the run's output open and keep Wine
// waiting for it.
HANDLE childrensJob()
{
    static const HANDLE job = [] {
        HANDLE created = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (created)
            SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return created;
    }();
    return job;
}

} // namespace

Program::Program()
{
    const char *exe = std::getenv("TSIFROLET_EXE");
    EXPECT_NE(exe, nullptr) << "TSIFROLET_EXE names the program to test";
    std::string commandLine = std::string("\"") + (exe ? exe : "tsifrolet.exe") + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    EXPECT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process_));
    if (process_.hProcess && childrensJob())
        AssignProcessToJobObject(childrensJob(), process_.hProcess);
    const DWORD id = process_.dwProcessId;
    waitUntil(
        [&] {
            if (!process_.hProcess || hasEnded(0))
                return true;
            HWND found = nullptr;
            while ((found = FindWindowExW(nullptr, found, FormClassName, nullptr))) {
                DWORD owner = 0;
                GetWindowThreadProcessId(found, &owner);
                if (owner == id && IsWindowVisible(found)) {
                    form_ = found;
                    return true;
                }
            }
            return false;
        },
        15000);
    stopIfCrashed();
    EXPECT_NE(form_, nullptr) << "the program's window did not appear" << howItEnded();
    SetForegroundWindow(form_);
    settle();
}

// An exit code that is an exception's (0xC0000005 and the like) is a crash.
std::string Program::howItEnded() const
{
    DWORD code = 0;
    if (!process_.hProcess || !hasEnded(0) || !GetExitCodeProcess(process_.hProcess, &code))
        return "";
    char text[80];
    std::snprintf(text, sizeof text, code >= 0xC0000000 ? "; the program CRASHED: exception 0x%08lx"
                                                        : "; the program ended with exit code %lu",
                  static_cast<unsigned long>(code));
    return text;
}

// A crashed program is the test's end: every wait after it would only run
// out. GoogleTest fails the test with the exception's text.
void Program::stopIfCrashed() const
{
    const std::string ended = howItEnded();
    if (!crashTold_ && ended.find("CRASHED") != std::string::npos) {
        crashTold_ = true;
        throw std::runtime_error(ended.substr(2));
    }
}

Program::~Program()
{
    if (process_.hProcess) {
        const std::string ended = howItEnded();
        EXPECT_TRUE(crashTold_ || ended.find("CRASHED") == std::string::npos) << ended;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

std::wstring Program::text(std::string_view name) const
{
    stopIfCrashed();
    return windowText(control(name));
}

RECT Program::screenRect(std::string_view name) const
{
    RECT r;
    GetWindowRect(control(name), &r);
    return r;
}

void Program::settle() const
{
    // A window is painted only once no message and no input is waiting for
    // its thread: when a corner of the form, spoilt now, and every control
    // are painted, the program has handled all it was sent.
    stopIfCrashed();
    const RECT corner{0, 0, 1, 1};
    InvalidateRect(form_, &corner, FALSE);
    waitUntil([&] {
        if (GetUpdateRect(form_, nullptr, FALSE))
            return false;
        for (const ControlSpec &row : formControls())
            if (GetUpdateRect(control(row.name), nullptr, FALSE))
                return false;
        return true;
    });
}

void Program::clickAt(POINT screen)
{
    // Wine moves X's pointer along, and X reports each move back later: the
    // pointer is moved first and given time to arrive, so that no late
    // report of it lands between the button going down and coming up. The
    // clicks carry the place too, since a move alone may still be on its way.
    INPUT clicks[3] = {};
    for (INPUT &input : clicks) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    SendInput(1, clicks, sizeof(INPUT));
    waitUntil([&] {
        POINT at;
        GetCursorPos(&at);
        return at.x == screen.x && at.y == screen.y;
    });
    settle();
    clicks[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    clicks[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks + 1, sizeof(INPUT));
    settle();
}

void Program::click(std::string_view name)
{
    const RECT r = screenRect(name);
    clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Program::type(std::wstring_view text)
{
    for (const wchar_t c : text) {
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wScan = keys[1].ki.wScan = c;
        keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
        keys[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    }
    settle();
}

void Program::press(WORD virtualKey, bool shift)
{
    std::vector<INPUT> keys;
    const auto key = [&keys](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        keys.push_back(input);
    };
    if (shift)
        key(VK_SHIFT, false);
    key(virtualKey, false);
    key(virtualKey, true);
    if (shift)
        key(VK_SHIFT, true);
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    settle();
}

HWND Program::focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(form_, nullptr), &info);
    return info.hwndFocus;
}

HWND Program::caret() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(form_, nullptr), &info);
    return info.hwndCaret;
}

OpenBox Program::openBox() const
{
    OpenBox box;
    waitUntil([&] {
        HWND found = nullptr;
        while ((found = FindWindowExW(nullptr, found, L"#32770", nullptr))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == process_.dwProcessId && IsWindowVisible(found)) {
                box.handle = found;
                return true;
            }
        }
        return false;
    });
    return box;
}

bool Program::hasEnded(int milliseconds) const
{
    return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

void Program::next()
{
    const std::wstring before = text("Label9");
    click("Command2");
    waitUntil([&] { return text("Label9") != before; });
}

void Program::check()
{
    click("Command3");
}

int Program::product() const
{
    return std::stoi(text("Label1")) * std::stoi(text("Label2"));
}

std::string Program::inputState() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(form_, nullptr), &info);
    POINT cursor;
    GetCursorPos(&cursor);
    char text[200];
    std::snprintf(text, sizeof text, "; the mouse at %ld,%ld, captured by %p, the focus in %p, %p active",
                  cursor.x, cursor.y, static_cast<void *>(info.hwndCapture),
                  static_cast<void *>(info.hwndFocus), static_cast<void *>(info.hwndActive));
    return text;
}
