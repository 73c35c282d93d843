// Writes the web page's controls from the window's layout table, so that the
// page and the window cannot drift apart:
//
//   page_builder TEMPLATE ASSETS_DIR OUT_DIR
//
// OUT_DIR/index.html is TEMPLATE with @CAPTION@, @CONTROLS@, @CREDIT@ and the
// front ends' shared words filled in; OUT_DIR/layout.css places, sizes,
// stacks and colours every control, and OUT_DIR/manifest.webmanifest names
// the installed app and gives its colours. A picture also gets its
// double-size variant when ASSETS_DIR has one. What the controls do with keys
// and clicks is written on them as data, from the rules the window follows.
#include "form_rules.h"
#include "layout_table.h"
#include "phrases.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

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

std::string px(int twips)
{
    return std::to_string(twips / TwipsPerPixel) + "px";
}

// A resource path of the window (":/cat.jpg") as a file beside the page.
std::string fileName(std::string_view resource)
{
    if (resource.starts_with(":/"))
        resource.remove_prefix(2);
    return std::string(resource);
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
        if (!pressesButton(key))
            deadKeys += (deadKeys.empty() ? "" : ",") + std::string(domKeyName(key));
    std::string rules = " data-dead-keys=\"" + deadKeys + "\"";
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
        html << "<button id=\"" << id << "\" class=\"control button\" type=\"button\"" << describedBy(row)
             << buttonRules(row) << ">" << text << "</button>";
        break;
    case ControlKind::TextField:
        html << "<input id=\"" << id << "\" class=\"control field\" type=\"text\" value=\"" << text
             << "\" aria-label=\"" << escaped(row.accessibleName) << "\"" << describedBy(row)
             << " inputmode=\"decimal\" autocomplete=\"off\" spellcheck=\"false\" autofocus>";
        break;
    case ControlKind::Picture:
        // Drawn by layout.css, stretched to the control as in the window;
        // the pictures only decorate, so screen readers pass over them.
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

// The picture stretched over the whole control, its aspect ratio not kept.
std::string pictureCss(const ControlSpec &row)
{
    return ";background:url(" + fileName(row.text) + ") 0 0/100% 100% no-repeat";
}

// From its double-size variant on a screen as dense as the window asks for
// one, when there is one.
std::string doubleSizePictureCss(const ControlSpec &row, const fs::path &assets)
{
    const std::string file = doubleSizeName(fileName(row.text));
    if (!fs::exists(assets / file))
        return "";
    return "#" + std::string(row.name) + "{background-image:url(" + file + ")}";
}

std::string controlCss(const ControlSpec &row, int stacking)
{
    std::ostringstream rule;
    rule << "#" << row.name << "{left:" << px(row.left) << ";top:" << px(row.top)
         << ";width:" << px(row.width) << ";height:" << px(row.height) << ";z-index:" << stacking;
    if (!row.font.family.empty())
        rule << ";font:" << cssFont(row.font) << ";text-align:" << alignment(row.alignment)
             << ";color:" << css(row.textColour.value_or(StandardTextColour));
    if (row.background)
        rule << ";background-color:" << css(*row.background);
    if (row.kind == ControlKind::Picture)
        rule << pictureCss(row);
    rule << "}\n";
    return rule.str();
}

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Replaces every occurrence of `marker`, of which there must be at least one.
void replace(std::string &text, std::string_view marker, const std::string &with)
{
    std::size_t at = text.find(marker);
    if (at == std::string::npos)
        throw std::runtime_error("template has no " + std::string(marker));
    for (; at != std::string::npos; at = text.find(marker, at + with.size()))
        text.replace(at, marker.size(), with);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::cerr << "usage: page_builder TEMPLATE ASSETS_DIR OUT_DIR\n";
        return 2;
    }
    const fs::path assets = argv[2];
    const fs::path out = argv[3];
    try {
        // The page is read, and tabbed through, in the table's tab order.
        std::string controls;
        for (const ControlSpec &row : readingOrder())
            controls += "      " + controlHtml(row) + "\n";

        std::ostringstream layout;
        layout << ":root{--form-width:" << px(FormWidthTwips) << ";--form-height:" << px(FormHeightTwips)
               << ";--form-background:" << css(FormBackground)
               << ";--standard-text:" << css(StandardTextColour) << "}\n";
        layout << "#credit{font:" << cssFont(FormFont) << ";color:" << css(StandardTextColour) << "}\n";
        const std::vector<ControlSpec> drawing = drawingOrder();
        std::string doubleSize;
        for (std::size_t i = 0; i < drawing.size(); ++i) {
            layout << controlCss(drawing[i], static_cast<int>(i) + 1);
            if (drawing[i].kind == ControlKind::Picture)
                doubleSize += doubleSizePictureCss(drawing[i], assets);
        }
        if (!doubleSize.empty())
            layout << "@media (min-resolution:" << DoubleSizeFromPixelRatio << "dppx){" << doubleSize << "}\n";

        std::string page = readFile(argv[1]);
        replace(page, "@CAPTION@", escaped(FormCaption));
        replace(page, "@THEME@", css(FormBackground));
        replace(page, "@CONTROLS@", controls);
        replace(page, "@CREDIT@", escaped(CreditText));
        replace(page, "@OK@", escaped(MessageOkCaption));
        replace(page, "@QUIZ_ENDED@", escaped(QuizEndedPhrase));
        replace(page, "@QUIZ_ENDED_NOTE@", escaped(QuizEndedNote));
        replace(page, "@NEW_QUIZ@", escaped(NewQuizCaption));
        replace(page, "@TWIPS_PER_PIXEL@", std::to_string(TwipsPerPixel));
        replace(page, "@FORM_WIDTH@", std::to_string(FormWidthTwips / TwipsPerPixel));
        replace(page, "@FORM_HEIGHT@", std::to_string(FormHeightTwips / TwipsPerPixel));

        std::ostringstream manifest;
        manifest << "{\n  \"name\": \"" << escaped(FormCaption) << "\",\n  \"short_name\": \""
                 << escaped(FormCaption)
                 << "\",\n  \"lang\": \"ru\",\n  \"start_url\": \"./\",\n  \"scope\": \"./\",\n"
                 << "  \"display\": \"standalone\",\n  \"background_color\": \"" << css(FormBackground)
                 << "\",\n  \"theme_color\": \"" << css(FormBackground) << "\",\n  \"icons\": [\n"
                 << "    {\"src\": \"icon.svg\", \"sizes\": \"any\", \"type\": \"image/svg+xml\"},\n"
                 << "    {\"src\": \"icon.png\", \"sizes\": \"48x48\", \"type\": \"image/png\"}\n  ]\n}\n";

        std::ofstream(out / "index.html", std::ios::binary) << page;
        std::ofstream(out / "manifest.webmanifest", std::ios::binary) << manifest.str();
        std::ofstream(out / "layout.css", std::ios::binary) << layout.str();
    } catch (const std::exception &error) {
        std::cerr << "page_builder: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
