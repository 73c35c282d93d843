#include "page_html.h"

#include "layout_table.h"
#include "page_controls.h"
#include "page_files.h"
#include "page_styles.h"
#include "phrases.h"

#include <stdexcept>

namespace {

// The links in the page's head: the served page's manifest, icon and fonts,
// fetched early; the single file's icon, written into it.
std::string headLinks(const PageFiles &files, const std::vector<std::string> &fonts, bool inside)
{
    const std::string icon = fileName(FormIcon);
    if (inside)
        return "  <link rel=\"icon\" href=\"" + files.dataUrl(icon) + "\" type=\"image/png\">";
    std::string links = "  <link rel=\"manifest\" href=\"" + std::string(ManifestFile) + "\">\n" +
                        "  <link rel=\"icon\" href=\"" + icon + "\" type=\"image/png\">";
    for (const std::string &font : fonts)
        links += "\n  <link rel=\"preload\" href=\"" + font + "\" as=\"font\" type=\"" + mimeType(font) +
                 "\" crossorigin>";
    return links;
}

// The fonts' copyright and licence: the served page names the file beside
// it; the single file, which goes alone, carries them.
std::string fontLicence(const PageFiles &files, bool inside)
{
    if (!inside)
        return "  <!-- The fonts: " + std::string(FontLicenceFile) + " -->";
    const std::string licence = files.all().at(std::string(FontLicenceFile));
    if (licence.find("--") != std::string::npos)
        throw std::runtime_error("the fonts' licence cannot be written into a comment");
    return "  <!-- The fonts, Tsifrolet Sans: Liberation Sans cut down to the letters the page needs, and "
           "renamed, as the licence asks of a changed copy:\n\n" +
           licence + "-->";
}

} // namespace

std::string pageHtml(const PageSources &sources, const PageFiles &files,
                     const std::vector<std::string> &fonts, bool inside)
{
    std::string style = sources.style;
    if (inside)
        for (const std::string &font : fonts)
            replaceAll(style, "url(\"" + font + "\")", "url(" + files.dataUrl(font) + ")");
    style += layoutCss(files, inside);

    // One pass: whatever the script and the style sheet say is left as it is.
    return filled(sources.page,
                  {
                      {"WORKER", inside ? "" : " data-service-worker=\"" + std::string(WorkerFile) + "\""},
                      {"HEAD_LINKS", headLinks(files, fonts, inside)},
                      {"FONT_LICENCE", fontLicence(files, inside)},
                      {"STYLE", inlined(style, "style")},
                      {"SCRIPT", inlined(sources.script, "script")},
                      {"CAPTION", escaped(FormCaption)},
                      {"THEME", css(FormBackground)},
                      {"CONTROLS", controlsHtml()},
                      {"CREDIT", escaped(CreditText)},
                      {"OK", escaped(MessageOkCaption)},
                      {"QUIZ_ENDED", escaped(QuizEndedPhrase)},
                      {"QUIZ_ENDED_NOTE", escaped(QuizEndedNote)},
                      {"NEW_QUIZ", escaped(NewQuizCaption)},
                      {"TWIPS_PER_PIXEL", std::to_string(TwipsPerPixel)},
                      {"FORM_WIDTH", std::to_string(FormWidthTwips / TwipsPerPixel)},
                      {"FORM_HEIGHT", std::to_string(FormHeightTwips / TwipsPerPixel)},
                  });
}
