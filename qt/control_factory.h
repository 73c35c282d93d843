#pragma once

#include "layout_table.h"

#include <string_view>

class QColor;
class QFont;
class QString;
class QStyle;
class QWidget;

QString toQString(std::string_view utf8);
QColor toQColor(ColourWord colour);

// The font at the pixel size its point size has at 96 dpi, so text keeps to
// its fixed rectangle whatever font DPI the desktop is set to. Liberation
// Sans, metric-compatible with Arial and rich in Cyrillic, stands in where a
// family is not installed.
QFont fontFor(const FontSpec &face);

// Builds the widget a layout row describes, as a child of `parent`, drawn
// with `style`.
QWidget *createControl(const ControlSpec &row, QWidget *parent, QStyle *style);
