#include "page_styles.h"

#include "form_rules.h"
#include "hit_areas.h"
#include "page_files.h"

#include <cstdio>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

std::string css(ColourWord colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(colour), greenOf(colour), blueOf(colour));
    return text;
}

namespace {

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

const char *alignment(TextAlignment a)
{
    return a == TextAlignment::Centre ? "center" : a == TextAlignment::Right ? "right" : "left";
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
// for a control that takes input how far a finger reaches it: a button's
// reach is a box of its own inside it, the field's an element beneath it.
std::string controlCss(const ControlSpec &row, int stacking, const HitArea *hit,
                       const PictureSource &pictures)
{
    std::ostringstream rule;
    rule << "#" << row.name << "{" << rectCss(formBoxOf(row)) << ";z-index:" << stacking;
    if (!row.font.family.empty())
        rule << ";font:" << cssFont(row.font) << ";text-align:" << alignment(row.alignment)
             << ";color:" << css(row.textColour.value_or(StandardTextColour));
    if (hit && row.kind == ControlKind::PushButton)
        rule << reachCss(*hit);
    if (row.background)
        rule << ";background-color:" << css(*row.background);
    // The picture stretched over the whole control, its aspect ratio not kept.
    if (row.kind == ControlKind::Picture)
        rule << ";background:url(" << pictures.url(fileName(row.text)) << ") 0 0/100% 100% no-repeat";
    rule << "}\n";
    if (hit && row.kind == ControlKind::TextField)
        rule << "#" << row.name << "-reach{" << rectCss(hit->area) << ";z-index:" << stacking << "}\n";
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

} // namespace

std::string layoutCss(const PageFiles &files, bool inside)
{
    const PictureSource pictures{files, inside};
    std::ostringstream layout;
    // The closing box's and the end panel's buttons take a fingertip's
    // square in CSS pixels, whatever the scale.
    layout << ":root{--form-width:" << pxTwips(FormWidthTwips)
           << ";--form-height:" << pxTwips(FormHeightTwips) << ";--form-background:" << css(FormBackground)
           << ";--standard-text:" << css(StandardTextColour) << ";--fingertip:" << px(FingerCssPixels)
           << "}\n";
    // The focus mark, drawn by the rule every front end draws it by. Only
    // the keyboard brings the focus to a button: a click leaves it in the
    // answer field.
    const std::string mark = "outline:" + px(ButtonFocusMark.width) + " solid " +
                             css(ButtonFocusMark.colour) +
                             ";outline-offset:" + px(-(ButtonFocusMark.inset + ButtonFocusMark.width));
    layout << ".button:focus{" << mark << "}\n";
    layout << "#credit{font:" << cssFont(FormFont) << ";color:" << css(StandardTextColour) << "}\n";
    const std::map<std::string_view, HitArea> areas = fingerAreas();
    const std::vector<ControlSpec> drawing = drawingOrder();
    std::string doubleSize;
    for (std::size_t i = 0; i < drawing.size(); ++i) {
        const auto hit = areas.find(drawing[i].name);
        layout << controlCss(drawing[i], static_cast<int>(i) + 1, hit == areas.end() ? nullptr : &hit->second,
                             pictures);
        if (drawing[i].kind == ControlKind::Picture && !inside)
            doubleSize += doubleSizePictureCss(drawing[i], files);
    }
    if (!doubleSize.empty())
        // Safari before 16 knows the pixel ratio by its older, prefixed name only.
        layout << "@media (-webkit-min-device-pixel-ratio:" << DoubleSizeFromPixelRatio
               << "),(min-resolution:" << DoubleSizeFromPixelRatio << "dppx){" << doubleSize << "}\n";
    return layout.str();
}
