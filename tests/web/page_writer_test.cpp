// The page builder's parts on their own: its text helpers, the page's one
// pass of substitution, the manifest, and where a finger reaches each
// control.
#include "hit_areas.h"
#include "layout_table.h"
#include "page_files.h"
#include "page_html.h"
#include "page_manifest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(PageText, EscapesForHtmlForJsonInTheManifestAndAsBase64)
{
    EXPECT_EQ(escaped("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c'");
    EXPECT_EQ(jsonString("\"\\ <\n\x01Ё"), R"("\"\\ <\u000a\u0001Ё")");
    // Each padding, and bytes past 127.
    EXPECT_EQ(base64("f") + base64("fo") + base64("foobar") + base64("\xff\xfe"), "Zg==Zm8=Zm9vYmFy//4=");
    EXPECT_NE(manifest("Tom \"&\" \\").find(R"("name": "Tom \"&\" \\",)"), std::string::npos);
}

TEST(PageTemplate, FillsEachMarkerInOnePassLeavingTheScriptAndTheStylesAsTheyAre)
{
    EXPECT_EQ(filled("<@X@>@Y@ a@b @X@@", {{"X", "@Y@"}, {"Y", "y"}}), "<@Y@>y a@b @Y@@");
    EXPECT_THROW(filled("@X@ @Z@", {{"X", "x"}}), std::runtime_error);
    EXPECT_THROW(inlined("x = '</SCRIPT>'", "script"), std::runtime_error);
    // Marker text in the script or the style sheet is theirs, not the template's.
    const PageSources sources{readFile(WEB_DIR "/index.html.in"), R"(b::after{content:"@CAPTION@"})",
                              R"(const shown = "@OK@ @CONTROLS@";)"};
    const std::string page = pageHtml(sources, PageFiles(fs::path(testing::TempDir()) / "page"), {}, false);
    EXPECT_TRUE(page.find(sources.style) != std::string::npos &&
                page.find(sources.script) != std::string::npos);
}

// The fonts' notice and licence, from the stanza for every file and no other.
TEST(PageFiles, TakeTheFontsLicenceFromDebiansCopyrightFile)
{
    const std::string copyright =
        "Format: https://example.org/\n\n"
        "Files: debian/*\nCopyright: 2020 Packager\nLicense: GPL-2+\n text\n\n"
        "Files: *\nCopyright:\n (c) 2012 Maker.\nLicense: OFL-1.1\n Licensed.\n .\n Terms.\n\n"
        "Files: other/*\nCopyright: Someone\n";
    EXPECT_EQ(copyrightAndLicence(copyright), "(c) 2012 Maker.\n\nLicensed.\n\nTerms.\n");
    EXPECT_THROW(copyrightAndLicence("Files: debian/*\nCopyright: 2020 Packager\n"), std::runtime_error);
}

// A file or folder an older build left behind goes; what this one wrote stays.
TEST(PageFiles, LeaveOnlyWhatThePageIs)
{
    const fs::path folder = fs::path(testing::TempDir()) / "stale";
    fs::remove_all(folder);
    fs::create_directories(folder / "old-folder");
    writeFile(folder / "old.jpg", "old");
    PageFiles files(folder);
    files.write("new.jpg", "new");
    writeFile(folder / "page.html", "page");
    files.removeOthers("page.html");
    std::vector<std::string> left;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"new.jpg", "page.html"}));
}

// However large a finger, each area holds its control within the form and
// crosses no other; on the phone each is a fingertip square.
TEST(HitAreas, HoldTheirControlsInTheFormApartAndFitAFinger)
{
    const FormBox form{{0, 0}, {twipsToPixels(FormWidthTwips), twipsToPixels(FormHeightTwips)}};
    const auto shared = [](const HitArea &a, const HitArea &b, int axis) {
        return std::min(a.area.hi[axis], b.area.hi[axis]) - std::max(a.area.lo[axis], b.area.lo[axis]);
    };
    for (const double side : {0.0, fingerSide(), 200.0}) {
        const std::vector<HitArea> hits = hitAreas(side);
        for (const HitArea &a : hits) {
            for (int axis = 0; axis < 2; ++axis) {
                EXPECT_TRUE(form.lo[axis] <= a.area.lo[axis] && a.area.lo[axis] <= a.control.lo[axis] &&
                            a.control.hi[axis] <= a.area.hi[axis] && a.area.hi[axis] <= form.hi[axis])
                    << a.name << " at " << side;
                EXPECT_TRUE(side != fingerSide() ||
                            (a.area.hi[axis] - a.area.lo[axis]) * PhoneWidthCssPixels / form.hi[0] >=
                                FingerCssPixels);
            }
            for (const HitArea &b : hits)
                EXPECT_TRUE(&a == &b || shared(a, b, 0) <= 1e-9 || shared(a, b, 1) <= 1e-9)
                    << a.name << ", " << b.name;
        }
    }
}

} // namespace
