// Writes the whole web page from the window's layout table, so that the page
// and the window cannot drift apart:
//
//   page_builder WEB_DIR ASSETS_DIR FONTS_DIR QUIZ_WASM OUT_DIR
//
// WEB_DIR holds the page's template (index.html.in), style sheet, script and
// service worker template; ASSETS_DIR the pictures and the icon the table
// names; FONTS_DIR the fonts the style sheet names and Debian's copyright
// file for them. Into OUT_DIR go two pages of one template, and nothing else
// is left there:
//
// - index.html, to be served: the controls, every style and the script with
//   the quiz's WebAssembly written into it, so that it can be played as soon
//   as it has arrived; beside it the pictures (each with its double-size
//   variant, where there is one), the fonts and their licence, the icon, the
//   app's manifest and a service worker that keeps all of them for offline use;
// - tsifrolet.html, the page as one file to save and open from disk:
//   everything inside it, the pictures at their own size, the fonts'
//   licence in a comment, and no worker.
//
// What the controls do with keys and clicks is written on them as data, from
// the rules the window follows.
#include "form_rules.h"
#include "layout_table.h"
#include "page_files.h"
#include "page_html.h"
#include "page_manifest.h"
#include "phrases.h"

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

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
    files.write(FontLicenceFile, copyrightAndLicence(readFile(fonts / "copyright")));
}

void build(const fs::path &web, const fs::path &assets, const fs::path &fonts, const fs::path &wasm,
           const fs::path &out)
{
    PageSources sources{readFile(web / "index.html.in"), readFile(web / "page.css"),
                        readFile(web / "app.js")};
    // The quiz's WebAssembly goes into the script as base64 text.
    // Appended in place: GCC 12 takes `"\"" + text` for an overlapping copy.
    std::string quoted = "\"";
    quoted.append(base64(readFile(wasm))).append("\"");
    replaceAll(sources.script, "\"@QUIZ_WASM@\"", quoted);
    const std::vector<std::string> fontNames = urlsIn(sources.style);

    PageFiles files(out);
    gatherFiles(files, assets, fonts, fontNames);
    files.write(ManifestFile, manifest(FormCaption));
    files.write("index.html", pageHtml(sources, files, fontNames, false));
    writeWorker(files, readFile(web / "sw.js.in"));
    writeFile(out / SingleFile, pageHtml(sources, files, fontNames, true));
    files.removeOthers(SingleFile);
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
