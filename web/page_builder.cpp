// Writes the whole web page from the window's layout table, so that the page
// and the window cannot drift apart:
//
//   page_builder WEB_DIR ASSETS_DIR FONTS_DIR QUIZ_WASM OUT_DIR
//
// WEB_DIR holds the page's template (index.html.in), style sheet, script and
// service worker template; ASSETS_DIR the pictures and the icon the table
// names; FONTS_DIR the fonts the style sheet names. Into OUT_DIR go two pages
// of one template:
//
// - index.html, to be served: the controls, every style and the script with
//   the quiz's WebAssembly written into it, so that it can be played as soon
//   as it has arrived; beside it the pictures (each with its double-size
//   variant, where there is one), the fonts, the icon, the app's manifest and
//   a service worker that keeps all of them for offline use;
// - tsifrolet.html, the page as one file to save and open from disk:
//   everything inside it, the pictures at their own size, and no worker.
//
// What the controls do with keys and clicks is written on them as data, from
// the rules the window follows.
#include "form_rules.h"
#include "hit_areas.h"
#include "layout_table.h"
#include "page_files.h"
#include "phrases.h"

#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string css(ColourWord colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(colour), greenOf(colour), blueOf(colour));
    return text;
}

std::string cssFont(const FontSpec &font)
{
    return std::to_string(font.weight) + " " + std::to_string(fontPixelSize(font)) + "px var(--face)";
}

// Form pixels, to a hundredth.
std::string px(double pixels)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", pixels);
    std::string number = text;
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.')
        number.pop_back();
    return (number == "-0" ? "0" : number) + "px";
}

std::string pxTwips(int twips)
{
    return px(twipsToPixels(twips));
}

// A resource path of the window (":/cat.jpg") as a file beside the page.
std::string fileName(std::string_view resource)
{
    if (resource.starts_with(":/"))
        resource.remove_prefix(2);
    return std::string(resource);
}

// The drawing the icon is rendered from: the installed app's icon at any size.
std::string iconDrawing()
{
    return fs::path(fileName(FormIcon)).replace_extension(".svg").string();
}

const char *alignment(TextAlignment a)
{
    switch (a) {
    case TextAlignment::Centre:
        return "center";
    case TextAlignment::Right:
        return "right";
    case TextAlignment::Left:
        break;
    }
    return "left";
}

std::string describedBy(const ControlSpec &row)
{
    if (row.accessibleDescription.empty())
        return "";
    return " aria-describedby=\"" + std::string(row.name) + "-about\"";
}

const char *domKeyName(Key key)
{
    switch (key) {
    case Key::Enter:
        return "Enter";
    case Key::Escape:
        return "Escape";
    case Key::Space:
        break;
    }
    return " ";
}

// The keys that must not press the button, and whether a click may take the
// focus, for the page's script to carry out.
std::string buttonRules(const ControlSpec &row)
{
    std::string deadKeys;
    for (const Key key : AllKeys)
        if (!pressesButton(key)) {
            if (!deadKeys.empty())
                deadKeys += ',';
            deadKeys += domKeyName(key);
        }
    std::string rules = " data-dead-keys=\"";
    rules += deadKeys;
    rules += "\"";
    if (!clickTakesFocus(row.kind))
        rules += " data-click-leaves-focus";
    return rules;
}

std::string controlHtml(const ControlSpec &row)
{
    const std::string id(row.name);
    const std::string text = escaped(row.text);
    std::ostringstream html;
    switch (row.kind) {
    case ControlKind::PushButton:
        html << "<button id=\"" << id << "\" class=\"control button hit\" type=\"button\"" << describedBy(row)
             << buttonRules(row) << ">" << text << "</button>";
        break;
    case ControlKind::TextField:
        // The field's element is all a finger reaches; its face, before it,
        // draws the field where the table puts it.
        html << "<div id=\"" << id << "-face\" class=\"control face\" aria-hidden=\"true\"></div>"
             << "<input id=\"" << id << "\" class=\"control field hit\" type=\"text\" value=\"" << text
             << "\" aria-label=\"" << escaped(row.accessibleName) << "\"" << describedBy(row)
             << " inputmode=\"decimal\" autocomplete=\"off\" spellcheck=\"false\" autofocus>";
        break;
    case ControlKind::Picture:
        // Drawn by the style sheet, stretched to the control as in the
        // window; the pictures only decorate, so screen readers pass over them.
        html << "<div id=\"" << id << "\" class=\"control picture\" aria-hidden=\"true\"></div>";
        break;
    case ControlKind::Label:
        // A label that tells the learner something says what it is first,
        // for screen readers only; the script changes the text after it.
        html << "<div id=\"" << id << "\" class=\"control label\">";
        if (!row.accessibleDescription.empty())
            html << "<span class=\"unseen\">" << escaped(row.accessibleDescription) << ": </span>";
        html << "<span class=\"text\">" << text << "</span></div>";
        break;
    }
    if (row.kind != ControlKind::Label && !row.accessibleDescription.empty())
        html << "<span id=\"" << id << "-about\" class=\"unseen\">" << escaped(row.accessibleDescription)
             << "</span>";
    return html.str();
}

std::string rectCss(const FormBox &box)
{
    return "left:" + px(box.lo[0]) + ";top:" + px(box.lo[1]) + ";width:" + px(box.hi[0] - box.lo[0]) +
           ";height:" + px(box.hi[1] - box.lo[1]);
}

std::string reachCss(const HitArea &hit)
{
    return ";--reach-top:" + px(hit.control.lo[1] - hit.area.lo[1]) +
           ";--reach-right:" + px(hit.area.hi[0] - hit.control.hi[0]) +
           ";--reach-bottom:" + px(hit.area.hi[1] - hit.control.hi[1]) +
           ";--reach-left:" + px(hit.control.lo[0] - hit.area.lo[0]);
}

// How one page shows its pictures: as files beside it, with the double-size
// variants for dense screens, or written into it at their own size.
struct PictureSource {
    const PageFiles &files;
    bool inside;

    std::string url(const std::string &file) const { return inside ? files.dataUrl(file) : file; }
};

// Where the control is drawn, its font and colours, how it is stacked, and
// for a control that takes input how far a finger reaches it.
std::string controlCss(const ControlSpec &row, int stacking, const HitArea *hit,
                       const PictureSource &pictures)
{
    const FormBox drawn = formBoxOf(row);
    const bool hasFace = row.kind == ControlKind::TextField;
    std::ostringstream rule;
    rule << "#" << row.name << "{" << rectCss(hasFace && hit ? hit->area : drawn) << ";z-index:" << stacking;
    if (!row.font.family.empty())
        rule << ";font:" << cssFont(row.font) << ";text-align:" << alignment(row.alignment)
             << ";color:" << css(row.textColour.value_or(StandardTextColour));
    if (hit)
        rule << reachCss(*hit);
    if (row.background && !hasFace)
        rule << ";background-color:" << css(*row.background);
    // The picture stretched over the whole control, its aspect ratio not kept.
    if (row.kind == ControlKind::Picture)
        rule << ";background:url(" << pictures.url(fileName(row.text)) << ") 0 0/100% 100% no-repeat";
    rule << "}\n";
    if (hasFace) {
        rule << "#" << row.name << "-face{" << rectCss(drawn) << ";z-index:" << stacking;
        if (row.background)
            rule << ";background-color:" << css(*row.background);
        rule << "}\n";
    }
    return rule.str();
}

// From its double-size variant on a screen as dense as the window asks for
// one, when there is one.
std::string doubleSizePictureCss(const ControlSpec &row, const PageFiles &files)
{
    const std::string file = doubleSizeName(fileName(row.text));
    if (!files.has(file))
        return "";
    std::ostringstream rule;
    rule << "#" << row.name << "{background-image:url(" << file << ")}";
    return rule.str();
}

// A length in the form's pixels as CSS pixels on the phone.
double onPhone(double formPixels)
{
    return formPixels * PhoneWidthCssPixels / twipsToPixels(FormWidthTwips);
}

std::map<std::string_view, HitArea> fingerAreas()
{
    std::map<std::string_view, HitArea> areas;
    for (const HitArea &hit : hitAreas(fingerSide())) {
        for (int axis = 0; axis < 2; ++axis)
            if (onPhone(hit.area.hi[axis] - hit.area.lo[axis]) < SmallestCssPixels)
                throw std::runtime_error(std::string(hit.name) + " leaves a finger too little room");
        areas.emplace(hit.name, hit);
    }
    return areas;
}

// Every control placed, sized, stacked and coloured, as the layout table has it.
std::string layoutCss(const PictureSource &pictures)
{
    std::ostringstream layout;
    layout << ":root{--form-width:" << pxTwips(FormWidthTwips)
           << ";--form-height:" << pxTwips(FormHeightTwips) << ";--form-background:" << css(FormBackground)
           << ";--standard-text:" << css(StandardTextColour) << "}\n";
    layout << "#credit{font:" << cssFont(FormFont) << ";color:" << css(StandardTextColour) << "}\n";
    const std::map<std::string_view, HitArea> areas = fingerAreas();
    const std::vector<ControlSpec> drawing = drawingOrder();
    std::string doubleSize;
    for (std::size_t i = 0; i < drawing.size(); ++i) {
        const auto hit = areas.find(drawing[i].name);
        layout << controlCss(drawing[i], static_cast<int>(i) + 1, hit == areas.end() ? nullptr : &hit->second,
                             pictures);
        if (drawing[i].kind == ControlKind::Picture && !pictures.inside)
            doubleSize += doubleSizePictureCss(drawing[i], pictures.files);
    }
    if (!doubleSize.empty())
        layout << "@media (min-resolution:" << DoubleSizeFromPixelRatio << "dppx){" << doubleSize << "}\n";
    return layout.str();
}

std::string controlsHtml()
{
    // The page is read, and tabbed through, in the table's tab order.
    std::string controls;
    for (const ControlSpec &row : readingOrder())
        controls += "      " + controlHtml(row) + "\n";
    return controls;
}

std::string manifest()
{
    std::ostringstream text;
    text << "{\n  \"name\": \"" << escaped(FormCaption) << "\",\n  \"short_name\": \"" << escaped(FormCaption)
         << "\",\n  \"lang\": \"ru\",\n  \"start_url\": \"./\",\n  \"scope\": \"./\",\n"
         << "  \"display\": \"standalone\",\n  \"background_color\": \"" << css(FormBackground)
         << "\",\n  \"theme_color\": \"" << css(FormBackground) << "\",\n  \"icons\": [\n"
         << "    {\"src\": \"" << iconDrawing() << "\", \"sizes\": \"any\", \"type\": \"image/svg+xml\"},\n"
         << "    {\"src\": \"" << fileName(FormIcon) << "\", \"sizes\": \"48x48\", \"type\": \"image/png\"}\n"
         << "  ]\n}\n";
    return text.str();
}

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

struct Sources {
    std::string page;
    std::string style;
    std::string script;
};

std::string pageHtml(const Sources &sources, const PageFiles &files, const std::vector<std::string> &fonts,
                     bool inside)
{
    std::string style = sources.style;
    if (inside)
        for (const std::string &font : fonts)
            replaceAll(style, "url(\"" + font + "\")", "url(" + files.dataUrl(font) + ")");
    style += layoutCss(PictureSource{files, inside});

    std::string page = sources.page;
    replaceAll(page, "@WORKER@", inside ? "" : " data-service-worker=\"" + std::string(WorkerFile) + "\"");
    replaceAll(page, "@HEAD_LINKS@", headLinks(files, fonts, inside));
    replaceAll(page, "@STYLE@", inlined(style, "style"));
    replaceAll(page, "@SCRIPT@", inlined(sources.script, "script"));
    replaceAll(page, "@CAPTION@", escaped(FormCaption));
    replaceAll(page, "@THEME@", css(FormBackground));
    replaceAll(page, "@CONTROLS@", controlsHtml());
    replaceAll(page, "@CREDIT@", escaped(CreditText));
    replaceAll(page, "@OK@", escaped(MessageOkCaption));
    replaceAll(page, "@QUIZ_ENDED@", escaped(QuizEndedPhrase));
    replaceAll(page, "@QUIZ_ENDED_NOTE@", escaped(QuizEndedNote));
    replaceAll(page, "@NEW_QUIZ@", escaped(NewQuizCaption));
    replaceAll(page, "@TWIPS_PER_PIXEL@", std::to_string(TwipsPerPixel));
    replaceAll(page, "@FORM_WIDTH@", std::to_string(FormWidthTwips / TwipsPerPixel));
    replaceAll(page, "@FORM_HEIGHT@", std::to_string(FormHeightTwips / TwipsPerPixel));
    return page;
}

// The files beside the served page: the pictures the table names, with their
// double-size variants, the icon and its drawing, and the fonts.
void gatherFiles(PageFiles &files, const fs::path &assets, const fs::path &fonts,
                 const std::vector<std::string> &fontNames)
{
    for (const ControlSpec &row : formControls())
        if (row.kind == ControlKind::Picture) {
            const std::string picture = fileName(row.text);
            files.copy(assets / picture);
            if (fs::exists(assets / doubleSizeName(picture)))
                files.copy(assets / doubleSizeName(picture));
        }
    files.copy(assets / fileName(FormIcon));
    files.copy(assets / "src" / iconDrawing());
    for (const std::string &font : fontNames)
        files.copy(fonts / font);
}

void build(const fs::path &web, const fs::path &assets, const fs::path &fonts, const fs::path &wasm,
           const fs::path &out)
{
    Sources sources{readFile(web / "index.html.in"), readFile(web / "page.css"), readFile(web / "app.js")};
    // The quiz's WebAssembly goes into the script as base64 text.
    replaceAll(sources.script, "\"@QUIZ_WASM@\"", "\"" + base64(readFile(wasm)) + "\"");
    const std::vector<std::string> fontNames = urlsIn(sources.style);

    PageFiles files(out);
    gatherFiles(files, assets, fonts, fontNames);
    files.write(ManifestFile, manifest());
    files.write("index.html", pageHtml(sources, files, fontNames, false));
    writeWorker(files, readFile(web / "sw.js.in"));
    writeFile(out / SingleFile, pageHtml(sources, files, fontNames, true));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 6) {
        std::cerr << "usage: page_builder WEB_DIR ASSETS_DIR FONTS_DIR QUIZ_WASM OUT_DIR\n";
        return 2;
    }
    try {
        build(argv[1], argv[2], argv[3], argv[4], argv[5]);
    } catch (const std::exception &error) {
        std::cerr << "page_builder: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
