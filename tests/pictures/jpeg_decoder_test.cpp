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
    if (tjDecompressHeader3(decoder, data, jpeg.size(), &out.width, &out.height, &subsampling,
                            &colourSpace) == 0) {
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

// Only a whole JPEG is decoded, whatever stb itself would make of the rest:
// one version of stb makes a picture of one cut short, another refuses it.
// The first two cases are whole; each other one is the picture made wrong in
// one way.
TEST(JpegDecoder, DecodesOnlyAWholeJpeg)
{
    const std::string jpeg = fileBytes("cat_yarn.jpg");
    ASSERT_EQ(jpeg.substr(jpeg.size() - 2), "\xff\xd9");
    const std::size_t frame = jpeg.find("\xff\xc0"), scan = jpeg.find("\xff\xda");
    ASSERT_LT(frame, scan);
    ASSERT_NE(scan, std::string::npos);
    const std::size_t frameEnd =
        frame + 2 + (static_cast<std::size_t>(static_cast<unsigned char>(jpeg[frame + 2])) << 8) +
        static_cast<unsigned char>(jpeg[frame + 3]);
    const std::size_t late = jpeg.size() - 100;
    std::string longSegment = jpeg;
    longSegment.replace(4, 2, "\xff\xff");
    const struct {
        const char *what;
        std::string bytes;
        bool whole;
    } cases[] = {
        {"the picture", jpeg, true},
        {"fill bytes before its end", jpeg.substr(0, jpeg.size() - 2) + "\xff\xff\xff\xd9", true},
        {"nothing", "", false},
        {"not a picture", "not a picture", false},
        {"its start alone", jpeg.substr(0, 2), false},
        {"no start marker", std::string(2, '\0') + jpeg.substr(2), false},
        {"cut at 200 bytes", jpeg.substr(0, 200), false},
        {"cut inside the scan", jpeg.substr(0, jpeg.size() / 2), false},
        {"cut just before its end", jpeg.substr(0, jpeg.size() - 2), false},
        {"half its end", jpeg.substr(0, jpeg.size() - 1), false},
        {"a byte after its end", jpeg + '\0', false},
        {"a second picture after it", jpeg + jpeg, false},
        {"its end before the scan", jpeg.substr(0, scan) + "\xff\xd9", false},
        {"no frame before the scan", jpeg.substr(0, frame) + jpeg.substr(frameEnd), false},
        {"a segment longer than the file", longSegment, false},
        {"all 0xff", std::string(jpeg.size(), '\xff'), false},
        {"a restart marker, with no interval set", jpeg.substr(0, late) + "\xff\xd3" + jpeg.substr(late),
         false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(isWholeJpeg(c.bytes), c.whole) << c.what;
        const DecodedJpeg decoded = decodeJpeg(c.bytes);
        EXPECT_EQ(decoded.width * decoded.height, c.whole ? 142 * 214 : 0) << c.what;
        EXPECT_EQ(decoded.rgb.size(), c.whole ? 142 * 214 * 3 : 0) << c.what;
    }
    // Where an interval is set, restart markers belong to the scan: whole by
    // its markers, though not where a decoder expects them.
    const std::string interval("\xff\xdd\x00\x04\x00\x01", 6);
    EXPECT_TRUE(isWholeJpeg(jpeg.substr(0, scan) + interval + jpeg.substr(scan, late - scan) + "\xff\xd3" +
                            jpeg.substr(late)));
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
