#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// A JPEG decoded to 8-bit RGB, row by row from the top; empty when the bytes
// are not a JPEG it can read.
struct DecodedJpeg {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Decoded by stb_image, compiled into the program: unlike the Windows Imaging
// Component it starts no COM class and loads no codec library, which at the
// window's first frame cost more than the three pictures' decoding itself.
// Plain C++, so it is tested natively against libjpeg-turbo.
DecodedJpeg decodeJpeg(std::string_view bytes);

// Whether the bytes are one whole JPEG: the start-of-image marker first; then
// segments, a frame header before the first scan, each scan's coded data
// running up to the next marker, with restart markers only where a restart
// interval was set; and the end-of-image marker as the very
// last two bytes, after a scan. How far a decoder reads into a picture cut
// short differs from one version of stb to the next, so what the program
// accepts is decided here, not by stb: decodeJpeg refuses anything else.
bool isWholeJpeg(std::string_view bytes);
