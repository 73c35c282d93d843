#pragma once

#include "layout_table.h"

#include <string_view>

// The window's class, by which a test or a screen reader's script finds it.
inline constexpr wchar_t FormClassName[] = L"TsifroletForm1";

// Win32 controls have numbers rather than names. Each control's number is
// its row's place in the layout table from FirstControlId on, so anything
// that knows the table can find a control by the name the table gives it.
inline constexpr int FirstControlId = 100;

inline int controlId(std::string_view name)
{
    const auto rows = formControls();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name)
            return FirstControlId + static_cast<int>(i);
    return 0;
}
