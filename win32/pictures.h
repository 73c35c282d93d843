#pragma once

#include "owned.h"

#include <windows.h>

#include <string_view>

// A JPEG from the program's resources, decoded and resampled to exactly
// `width` x `height` pixels, as a bitmap ready to be copied to the screen;
// null if the resource is missing or cannot be decoded. Each output pixel is
// the average of the source area it covers: the stretching of GDI and WIC
// alike leaves jagged edges.
OwnedBitmap loadPicture(HINSTANCE instance, std::wstring_view resourceName, int width, int height);
