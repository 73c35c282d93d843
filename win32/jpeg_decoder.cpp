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

DecodedJpeg decodeJpeg(std::string_view bytes)
{
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
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
