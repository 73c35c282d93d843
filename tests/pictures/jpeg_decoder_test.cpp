#include "jpeg_decoder.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string fileBytes(const std::string &name)
{
    std::ifstream in(std::string(ASSETS_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

DecodedJpeg byLibjpegTurbo(const std::string &jpeg)
{
    tjhandle decoder = tjInitDecompress();
    const auto *data = reinterpret_cast<const unsigned char *>(jpeg.data());
    DecodedJpeg out;
    int subsampling = 0, colourSpace = 0;
    if (tjDecompressHeader3(decoder, data, jpeg.size(), &out.width, &out.height, &subsampling, &colourSpace) == 0) {
        out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
        tjDecompress2(decoder, data, jpeg.size(), out.rgb.data(), out.width, 0, out.height, TJPF_RGB, 0);
    }
    tjDestroy(decoder);
    return out;
}

// Each picture as the Qt window shows it: libjpeg-turbo's inverse DCT and
// chroma upsampling are not stb's, so a level may differ by up to three (by
// 0.04 on average in these files), but never so far that a colour or a row
// slips.
TEST(JpegDecoder, GivesEveryPictureAsLibjpegTurboDoes)
{
    for (const char *name : {"cat_blocks.jpg", "cat_blocks@2x.jpg", "cat_yarn.jpg", "cat_yarn@2x.jpg",
                             "kitten_duckling.jpg", "kitten_duckling@2x.jpg"}) {
        const std::string jpeg = fileBytes(name);
        ASSERT_FALSE(jpeg.empty()) << name;
        const DecodedJpeg ours = decodeJpeg(jpeg), reference = byLibjpegTurbo(jpeg);
        ASSERT_EQ(ours.width, reference.width) << name;
        ASSERT_EQ(ours.height, reference.height) << name;
        ASSERT_EQ(ours.rgb.size(), reference.rgb.size()) << name;
        int largest = 0;
        long total = 0;
        for (std::size_t i = 0; i < ours.rgb.size(); ++i) {
            const int difference = std::abs(ours.rgb[i] - reference.rgb[i]);
            largest = std::max(largest, difference);
            total += difference;
        }
        EXPECT_LE(largest, 4) << name;
        EXPECT_LT(static_cast<double>(total) / static_cast<double>(ours.rgb.size()), 0.1) << name;
    }
}

// Whatever the bytes, an empty result and no crash: cut anywhere, or not a
// JPEG at all.
TEST(JpegDecoder, RefusesWhatIsNotAWholeJpeg)
{
    const std::string jpeg = fileBytes("cat_yarn.jpg");
    for (const std::string &bytes : {std::string(), std::string("not a picture"), jpeg.substr(0, 2),
                                     jpeg.substr(0, 200), std::string(jpeg.size(), '\xff')}) {
        const DecodedJpeg decoded = decodeJpeg(bytes);
        EXPECT_TRUE(decoded.rgb.empty()) << bytes.size() << " bytes";
        EXPECT_EQ(decoded.width * decoded.height, 0);
    }
}

// A picture cut short or damaged anywhere decodes to a whole image or to
// nothing, and is never read past its end: each copy is allocated to its
// exact size, so that under the address sanitizer a read beyond it stops the
// test.
TEST(JpegDecoder, DamagedPicturesAreNeverReadPastTheirEnd)
{
    const std::string jpeg = fileBytes("kitten_duckling.jpg");
    const auto check = [](const std::vector<char> &bytes) {
        const DecodedJpeg decoded = decodeJpeg(std::string_view(bytes.data(), bytes.size()));
        EXPECT_EQ(decoded.rgb.size(), static_cast<std::size_t>(decoded.width) * decoded.height * 3);
    };
    for (std::size_t cut = 1; cut < jpeg.size(); cut += 499)
        check(std::vector<char>(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(cut)));
    for (std::size_t at = 0; at < jpeg.size(); at += 211) {
        std::vector<char> damaged(jpeg.begin(), jpeg.end());
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
        check(damaged);
    }
}

} // namespace
