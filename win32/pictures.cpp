#include "pictures.h"

#include "jpeg_decoder.h"
#include "owned.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string_view resourceBytes(HINSTANCE instance, std::wstring_view name)
{
    const std::wstring key(name);
    HRSRC found = FindResourceW(instance, key.c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(instance, found);
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? std::string_view(static_cast<const char *>(bytes), SizeofResource(instance, found))
                 : std::string_view();
}

// How much of source cell `s` lies under destination cell `d`, when `from`
// cells are spread over `to`.
double coverage(int d, int s, int from, int to)
{
    const double scale = static_cast<double>(from) / to;
    const double start = d * scale;
    const double end = start + scale;
    return std::max(0.0, std::min(end, s + 1.0) - std::max(start, static_cast<double>(s)));
}

// Averages along one axis of a row-major image of three channels: each of
// `lines` rows (or columns) of `from` pixels becomes one of `to` pixels.
std::vector<double> averageAxis(const std::vector<double> &in, int lines, int from, int to, bool alongRows)
{
    std::vector<double> out(static_cast<std::size_t>(lines) * to * 3, 0.0);
    const double scale = static_cast<double>(from) / to;
    for (int line = 0; line < lines; ++line) {
        for (int d = 0; d < to; ++d) {
            const int first = static_cast<int>(d * scale);
            const int last = std::min(from - 1, static_cast<int>((d + 1) * scale - 1e-9));
            double sum[3] = {0, 0, 0};
            double weights = 0;
            for (int s = first; s <= last; ++s) {
                const double w = coverage(d, s, from, to);
                const std::size_t at = alongRows ? (static_cast<std::size_t>(line) * from + s) * 3
                                                 : (static_cast<std::size_t>(s) * lines + line) * 3;
                for (int c = 0; c < 3; ++c)
                    sum[c] += w * in[at + c];
                weights += w;
            }
            const std::size_t toAt = alongRows ? (static_cast<std::size_t>(line) * to + d) * 3
                                               : (static_cast<std::size_t>(d) * lines + line) * 3;
            for (int c = 0; c < 3; ++c)
                out[toAt + c] = weights > 0 ? sum[c] / weights : 0;
        }
    }
    return out;
}

// Our own area average: WIC's scaler would bring back the COM class and the
// codec library that the decoder was chosen to leave out.
// Channels are kept blue, green, red: the order of a 32-bit DIB's bytes.
std::vector<std::uint32_t> resample(const DecodedJpeg &source, int width, int height)
{
    std::vector<double> channels(source.rgb.size());
    for (std::size_t i = 0; i < channels.size(); i += 3)
        for (std::size_t c = 0; c < 3; ++c)
            channels[i + c] = source.rgb[i + 2 - c];
    const std::vector<double> narrowed = averageAxis(channels, source.height, source.width, width, true);
    const std::vector<double> done = averageAxis(narrowed, width, source.height, height, false);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::uint32_t pixel = 0;
        for (int c = 0; c < 3; ++c)
            pixel |= static_cast<std::uint32_t>(std::clamp(done[i * 3 + c] + 0.5, 0.0, 255.0)) << (8 * c);
        out[i] = pixel;
    }
    return out;
}

OwnedBitmap toBitmap(const std::vector<std::uint32_t> &bgrx, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap)
        std::copy(bgrx.begin(), bgrx.end(), static_cast<std::uint32_t *>(bits));
    return bitmap;
}

} // namespace

OwnedBitmap loadPicture(HINSTANCE instance, std::wstring_view resourceName, int width, int height)
{
    const DecodedJpeg source = decodeJpeg(resourceBytes(instance, resourceName));
    if (source.rgb.empty() || width <= 0 || height <= 0)
        return {};
    return toBitmap(resample(source, width, height), width, height);
}
