#pragma once

#include <string>
#include <string_view>

// Windows speaks UTF-16 through its W functions; the quiz and the layout
// table speak UTF-8.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);
