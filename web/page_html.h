#pragma once

#include <string>
#include <vector>

class PageFiles;

// The page's own sources: its template, style sheet and script.
struct PageSources {
    std::string page;
    std::string style;
    std::string script;
};

// A page of the template, whole: the served page, with its files beside it
// (`files`, the fonts among them), or, `inside`, everything written into it.
std::string pageHtml(const PageSources &sources, const PageFiles &files,
                     const std::vector<std::string> &fonts, bool inside);
