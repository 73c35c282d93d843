#pragma once

#include <windows.h>

#include <string>

// The system's modal message box with the question-mark icon and one button,
// whose caption is `okCaption` whatever language Windows speaks: the
// system's own caption would be "OK" in Latin letters on most PCs.
void showQuestionBox(HWND owner, const std::wstring &text, const std::wstring &title,
                     const std::wstring &okCaption);
