#include "page_controls.h"

#include "form_rules.h"
#include "layout_table.h"
#include "page_files.h"

#include <sstream>

namespace {

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
        // The field is the element as drawn, so that a screen reader's box
        // goes round what the child sees; the wider area a finger reaches is
        // an empty label beneath it, which hands a tap on to the field.
        html << "<label id=\"" << id << "-reach\" class=\"control reach\" for=\"" << id << "\"></label>"
             << "<input id=\"" << id << "\" class=\"control field\" type=\"text\" value=\"" << text
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

} // namespace

std::string controlsHtml()
{
    // The page is read, and tabbed through, in the table's tab order.
    std::string controls;
    for (const ControlSpec &row : readingOrder())
        controls += "      " + controlHtml(row) + "\n";
    return controls;
}
