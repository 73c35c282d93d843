#pragma once

#include "layout_table.h"

#include <string>

// The page's look from the layout table: where each control is drawn, its
// font and colours, and how far a finger reaches it.

class PageFiles;

// A colour of the table as CSS writes it, #rrggbb.
std::string css(ColourWord colour);

// Every control placed, sized, stacked and coloured, as the layout table has
// it. The pictures are files beside the page, with double-size variants for
// dense screens, or, `inside` the page, written into it at their own size.
std::string layoutCss(const PageFiles &files, bool inside);
