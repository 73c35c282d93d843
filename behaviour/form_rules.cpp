#include "form_rules.h"

// Written with the classic algorithms: the WebAssembly build's standard
// library has no ranges.
#include <algorithm>
#include <iterator>

std::vector<ControlSpec> readingOrder()
{
    const auto table = formControls();
    std::vector<ControlSpec> controls(table.begin(), table.end());
    std::stable_sort(controls.begin(), controls.end(),
                     [](const ControlSpec &a, const ControlSpec &b) { return a.tabIndex < b.tabIndex; });
    return controls;
}

std::vector<ControlSpec> tabOrder()
{
    const std::vector<ControlSpec> reading = readingOrder();
    std::vector<ControlSpec> focusable;
    std::copy_if(reading.begin(), reading.end(), std::back_inserter(focusable),
                 [](const ControlSpec &c) { return takesFocus(c.kind); });
    return focusable;
}

std::vector<ControlSpec> drawingOrder()
{
    const auto table = formControls();
    std::vector<ControlSpec> controls(table.begin(), table.end());
    std::stable_partition(controls.begin(), controls.end(),
                          [](const ControlSpec &c) { return c.kind != ControlKind::Picture; });
    return controls;
}

std::string doubleSizeName(std::string_view file)
{
    const std::size_t dot = file.rfind('.');
    const std::size_t stem = dot == std::string_view::npos ? file.size() : dot;
    return std::string(file.substr(0, stem)) + "@2x" + std::string(file.substr(stem));
}
