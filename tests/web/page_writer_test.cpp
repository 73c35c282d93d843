// The page builder's parts on their own: its text helpers, the page's one
// pass of substitution, the manifest, the worker's cache name, and where a
// finger reaches each control.
#include "hit_areas.h"
#include "layout_table.h"
#include "page_files.h"
#include "page_html.h"
#include "page_manifest.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(PageText, EscapesForHtmlForJsonAndAsBase64)
{
    const struct {
        std::string (*write)(std::string_view);
        std::string_view text, written;
    } cases[] = {
        {escaped, "a<b>&\"c'", "a&lt;b&gt;&amp;&quot;c'"},
        {jsonString, "Tom \"&\" \\ <x>", R"("Tom \"&\" \\ <x>")"},
        {jsonString, "\n\x01Ёж", R"("\u000a\u0001Ёж")"},
        {base64, "", ""},
        {base64, "f", "Zg=="},
        {base64, "fo", "Zm8="},
        {base64, "foo", "Zm9v"},
        {base64, "foobar", "Zm9vYmFy"},
        {base64, "\xff\xfe", "//4="},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.write(c.text), c.written) << c.text;
}

TEST(PageText, InlinesWhatCannotCloseItsElement)
{
    EXPECT_EQ(inlined("\n  a < b;\n", "script"), "a < b;");
    EXPECT_THROW(inlined("x = '</SCRIPT>'", "script"), std::runtime_error);
    EXPECT_EQ(urlsIn(R"(url("a.woff2") url("b.woff2") url("a.woff2"))"),
              (std::vector<std::string>{"a.woff2", "b.woff2"}));
}

TEST(PageTemplate, FillsEachMarkerInOnePass)
{
    EXPECT_EQ(filled("<@X@>@Y@ a@b @X@@", {{"X", "@Y@"}, {"Y", "y"}}), "<@Y@>y a@b @Y@@");
    EXPECT_THROW(filled("@X@ @Z@", {{"X", "x"}}), std::runtime_error);
    EXPECT_THROW(filled("@X@", {{"X", "x"}, {"Y", "y"}}), std::runtime_error);
}

// Marker text in the script or the style sheet is theirs, not the template's.
TEST(PageTemplate, LeavesTheScriptAndTheStylesAsTheyAre)
{
    const PageFiles files(fs::path(testing::TempDir()) / "page");
    const PageSources sources{readFile(WEB_DIR "/index.html.in"), R"(b::after{content:"@CAPTION@"})",
                              R"(const shown = "@OK@ @CONTROLS@";)"};
    const std::string page = pageHtml(sources, files, {}, false);
    EXPECT_NE(page.find(sources.style), std::string::npos);
    EXPECT_NE(page.find(sources.script), std::string::npos);
}

TEST(PageManifest, WritesTheNameAsJson)
{
    EXPECT_NE(manifest("Tom \"&\" \\").find(R"("name": "Tom \"&\" \\",)"), std::string::npos);
}

TEST(PageWorker, ANewBuildIsANewCacheOfTheSameFiles)
{
    const auto worker = [](std::string picture) {
        PageFiles files(fs::path(testing::TempDir()) / "worker");
        files.write("a.jpg", std::move(picture));
        writeWorker(files, "@VERSION@ [@FILES@]");
        return files.all().at(std::string(WorkerFile));
    };
    const std::string first = worker("x");
    EXPECT_EQ(first.substr(16), R"( ["./", "a.jpg"])");
    EXPECT_EQ(worker("x"), first);
    EXPECT_NE(worker("y"), first);
}

bool holds(const FormBox &outer, const FormBox &inner)
{
    return outer.lo[0] <= inner.lo[0] && outer.lo[1] <= inner.lo[1] && outer.hi[0] >= inner.hi[0] &&
           outer.hi[1] >= inner.hi[1];
}

bool overlap(const FormBox &a, const FormBox &b)
{
    constexpr double Slack = 1e-9;
    return a.lo[0] < b.hi[0] - Slack && b.lo[0] < a.hi[0] - Slack && a.lo[1] < b.hi[1] - Slack &&
           b.lo[1] < a.hi[1] - Slack;
}

// However large a finger, each area holds its control within the form and
// crosses no other; on the phone each is a fingertip square.
TEST(HitAreas, HoldTheirControlsInTheFormApartAndFitAFinger)
{
    const FormBox form{{0, 0}, {twipsToPixels(FormWidthTwips), twipsToPixels(FormHeightTwips)}};
    const double phoneCssPerPixel = PhoneWidthCssPixels / form.hi[0];
    for (const double side : {0.0, fingerSide(), 200.0}) {
        const std::vector<HitArea> hits = hitAreas(side);
        ASSERT_EQ(hits.size(), 4u);
        for (std::size_t i = 0; i < hits.size(); ++i) {
            const HitArea &hit = hits[i];
            EXPECT_TRUE(holds(form, hit.area) && holds(hit.area, hit.control)) << hit.name << " at " << side;
            for (std::size_t j = i + 1; j < hits.size(); ++j)
                EXPECT_FALSE(overlap(hit.area, hits[j].area))
                    << hit.name << ", " << hits[j].name << " at " << side;
            for (int axis = 0; axis < 2 && side == fingerSide(); ++axis)
                EXPECT_GE((hit.area.hi[axis] - hit.area.lo[axis]) * phoneCssPerPixel, FingerCssPixels)
                    << hit.name;
        }
    }
}

} // namespace
