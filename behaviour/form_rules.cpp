#include "form_rules.h"

#include <algorithm>
#include <iterator>

std::vector<ControlSpec> readingOrder()
{
    const auto table = formControls();
    std::vector<ControlSpec> controls(table.begin(), table.end());
    std::ranges::stable_sort(controls, {}, &ControlSpec::tabIndex);
    return controls;
}

std::vector<ControlSpec> tabOrder()
{
    std::vector<ControlSpec> focusable;
    std::ranges::copy_if(readingOrder(), std::back_inserter(focusable),
                         [](const ControlSpec &c) { return takesFocus(c.kind); });
    return focusable;
}

std::vector<ControlSpec> drawingOrder()
{
    const auto table = formControls();
    std::vector<ControlSpec> controls(table.begin(), table.end());
    std::ranges::stable_partition(controls, [](const ControlSpec &c) { return c.kind != ControlKind::Picture; });
    return controls;
}

std::string doubleSizeName(std::string_view file)
{
    const std::size_t dot = file.rfind('.');
    const std::size_t stem = dot == std::string_view::npos ? file.size() : dot;
    return std::string(file.substr(0, stem)) + "@2x" + std::string(file.substr(stem));
}
