#pragma once

// A learner at the real Windows program, from outside it: the program is
// started as its own process and driven by real mouse clicks and key
// strokes, and read the way a screen reader or a screenshot would read it.
// Wine delivers input asynchronously, so every reading waits for its answer.

#include "control_ids.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A length of the layout, in twips, in pixels at the screen's DPI.
int scaled(int twips);

// Waits until `done` holds, for at most `milliseconds`: generous, since a
// busy machine can stall Wine for seconds.
bool waitUntil(const std::function<bool()> &done, int milliseconds = 15000);

// Pixels copied from the screen, row by row, as 0x00RRGGBB.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // How many pixels are this colour.
    int count(std::uint32_t rgb) const;
    // How many different glyph shapes the text in it has: text drawn with a
    // font that lacks its letters shows one box or bar for all of them.
    int distinctGlyphs(std::uint32_t background) const;
};

Capture captureScreen(RECT area);
// Keeps the whole screen as a BMP file, for a person to look at.
void saveScreen(const std::wstring &path);

// The closing message box, while it is open.
struct OpenBox {
    HWND handle = nullptr;
    std::wstring title() const;
    std::wstring text() const;
    HWND button() const;
    std::wstring okCaption() const;
};

class Program {
  public:
    // Starts the program named by TSIFROLET_EXE and waits for its window.
    Program();
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    HWND form() const { return form_; }
    HWND control(std::string_view name) const { return GetDlgItem(form_, controlId(name)); }
    std::wstring text(std::string_view name) const;
    RECT screenRect(std::string_view name) const;

    void click(std::string_view name);
    void clickAt(POINT screen);
    void type(std::wstring_view text);
    void press(WORD virtualKey, bool shift = false);
    // Lets the program handle what it was sent so far.
    void settle() const;

    // The control that has the focus, and the one that shows the caret.
    HWND focus() const;
    HWND caret() const;
    // Where the mouse and the focus are, for a failure's message.
    std::string inputState() const;

    OpenBox openBox() const;
    bool hasEnded(int milliseconds = 15000) const;
    // How the program ended, for a failure's message: empty while it runs.
    std::string howItEnded() const;

    // The quiz, as a learner plays it: the next problem, and the product of
    // the factors on show.
    void next();
    void check();
    int product() const;

  private:
    void stopIfCrashed() const;

    PROCESS_INFORMATION process_{};
    mutable bool crashTold_ = false;
    HWND form_ = nullptr;
};

std::wstring windowText(HWND window);
