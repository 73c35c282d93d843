#include "jpeg_decoder.h"

#include <limits>
#include <memory>

// JPEG only, from memory only, with no error texts kept in thread-local
// storage: what the program needs and no more, to keep the .exe small.
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_NO_THREAD_LOCALS
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

bool isWholeJpeg(std::string_view bytes)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const std::size_t size = bytes.size();
    if (size < 4 || at(0) != 0xFF || at(1) != 0xD8)
        return false;
    bool frame = false, scanned = false, restarts = false;
    std::size_t i = 2;
    while (i + 1 < size) {
        if (at(i) != 0xFF)
            return false;
        const unsigned marker = at(i + 1);
        if (marker == 0xFF) { // a fill byte before the marker
            ++i;
            continue;
        }
        if (marker == 0xD9)
            return scanned && i + 2 == size;
        if (marker == 0x00 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || i + 3 >= size)
            return false;
        const std::size_t length = (static_cast<std::size_t>(at(i + 2)) << 8) | at(i + 3);
        if (length < 2)
            return false;
        frame =
            frame || (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC);
        if (marker == 0xDD) // the restart interval, in blocks; none when nought
            restarts = length == 4 && i + 5 < size && (at(i + 4) | at(i + 5)) != 0;
        i += 2 + length;
        if (marker != 0xDA)
            continue;
        if (!frame)
            return false;
        scanned = true;
        // The coded data runs up to the next marker: a 0xFF in it is followed
        // by a stuffed nought or, where an interval was set, a restart marker.
        for (; i + 1 < size; ++i) {
            if (at(i) != 0xFF || at(i + 1) == 0x00)
                continue;
            if (at(i + 1) < 0xD0 || at(i + 1) > 0xD7)
                break;
            if (!restarts)
                return false;
        }
    }
    // A segment or a scan that runs past the end.
    return false;
}

DecodedJpeg decodeJpeg(std::string_view bytes)
{
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()) || !isWholeJpeg(bytes))
        return {};
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void *)> pixels(
        stbi_load_from_memory(reinterpret_cast<const stbi_uc *>(bytes.data()), static_cast<int>(bytes.size()),
                              &width, &height, &channels, 3),
        stbi_image_free);
    if (!pixels || width <= 0 || height <= 0)
        return {};
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    return {width, height, std::vector<std::uint8_t>(pixels.get(), pixels.get() + size)};
}
