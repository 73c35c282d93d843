#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A test build's look-up of the system's functions: UI Automation's host
// provider and notification are stand-ins that record what the program
// tells a screen reader, so that it is checked where the system has no such
// call (Windows 7, Wine); every other function is the system's own.
struct RaisedNotification {
    HWND window = nullptr; // whose provider was raised on
    int kind = -1;
    int processing = -1;
    std::wstring text;
    std::wstring activity;
};

std::vector<RaisedNotification> &raisedNotifications();
