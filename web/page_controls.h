#pragma once

#include <string>

// The form's controls as HTML, in the table's tab order, with what they do
// with keys and clicks written on them as data, from the rules the window
// follows.
std::string controlsHtml();
