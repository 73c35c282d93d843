#pragma once

#include "controls.h"
#include "owned.h"

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

// The window's plumbing in plain Win32: its class, the window and every
// control built from the layout table, their places, fonts and pictures at
// the window's DPI, their colours and faces, and the credit line painted
// with the window. What a click or an activation means is its owner's.
class FormWindow {
  public:
    class Owner {
      public:
        // A button was clicked, by the mouse or by a key.
        virtual void buttonClicked(const Control &button) = 0;
        virtual void activationChanged(bool active) = 0;

      protected:
        ~Owner() = default;
    };

    FormWindow(HINSTANCE instance, Owner &owner);
    ~FormWindow();
    FormWindow(const FormWindow &) = delete;
    FormWindow &operator=(const FormWindow &) = delete;

    // Null once the window has been destroyed.
    HWND handle() const { return window_; }
    void destroy();

    // The control the layout table names so, resolved once by its owner;
    // a name the table lacks ends the program at its start.
    Control &control(std::string_view name);
    const Control &control(std::string_view name) const;
    // The window's control with this handle, if it is one.
    const Control *find(HWND handle) const;

    void showCreditLine(POINT twips);

  private:
    static LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> handleFormMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleControlMessage(Control &control, UINT message, WPARAM wParam, LPARAM lParam);

    static std::size_t placeOf(std::string_view name);
    void buildControls();
    void arrangeForDpi(int dpi);
    void loadIcons();
    void paintCreditLine(HDC dc) const;
    LRESULT colourControl(HDC dc, HWND handle) const;
    HBRUSH backgroundOf(const Control &control) const;

    HINSTANCE instance_;
    Owner &owner_;
    // The class's brush outlives the class, and the fonts their window.
    OwnedBrush formBackground_;
    OwnedFont formFont_;
    OwnedIcon bigIcon_;
    OwnedIcon smallIcon_;
    std::vector<Control> controls_; // in the table's order, never moved once built
    HWND window_ = nullptr;
    int dpi_ = 96;
    std::optional<POINT> creditLineTwips_;
};
