#pragma once

#include "layout_table.h"

#include <windows.h>

// The fixed layout at a given DPI. Both edges of a control are scaled from
// twips, rather than its corner and its size, so controls that touch at
// 96 dpi still touch at any scale and the form grows as one.
constexpr int ReferenceDpi = 96;

inline int scaleTwips(int twips, int dpi)
{
    return MulDiv(twips, dpi, TwipsPerPixel * ReferenceDpi);
}

inline RECT scaledRect(int left, int top, int width, int height, int dpi)
{
    return {scaleTwips(left, dpi), scaleTwips(top, dpi), scaleTwips(left + width, dpi),
            scaleTwips(top + height, dpi)};
}

// A length given in pixels at 96 dpi, at `dpi`.
inline int scalePixels(int pixels, int dpi)
{
    return MulDiv(pixels, dpi, ReferenceDpi);
}

// The DPI of the monitor the window is on (Windows 10 1607 and later), else
// the system's.
int dpiOfWindow(HWND window);
int systemDpi();

// The outer size of a window with this client size, style and DPI.
SIZE frameSize(SIZE client, DWORD style, DWORD extendedStyle, int dpi);

// A system metric (SM_CXICON, ...) at `dpi`, as later Windows versions give it.
int systemMetric(int index, int dpi);
