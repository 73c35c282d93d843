#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The page builder's files, and the text it writes them into.

namespace fs = std::filesystem;

inline constexpr std::string_view ManifestFile = "manifest.webmanifest";
inline constexpr std::string_view WorkerFile = "sw.js";
// The page as one file: a name a parent can tell apart from the others.
inline constexpr std::string_view SingleFile = "tsifrolet.html";
// The fonts' copyright notice and licence, beside them.
inline constexpr std::string_view FontLicenceFile = "LiberationSans-LICENSE.txt";

// The files of the served page, as they are written beside it; the service
// worker keeps exactly these.
class PageFiles {
  public:
    explicit PageFiles(fs::path folder);

    void write(std::string_view name, std::string contents);
    // Copies a file into the folder under its own name.
    void copy(const fs::path &source);

    bool has(const std::string &name) const { return files_.contains(name); }
    // The file as a data: URL, to be written into a page.
    std::string dataUrl(const std::string &name) const;
    const std::map<std::string, std::string> &all() const { return files_; }
    // Removes whatever else is in the folder, such as a file an older build
    // wrote, so that the folder is this page and nothing more.
    void removeOthers(std::string_view alsoKept);

  private:
    fs::path folder_;
    std::map<std::string, std::string> files_;
};

// sw.js from its template: @FILES@ becomes the list of the page's files and
// @VERSION@ the program's version and a name for the files' contents, so
// that a new build replaces the old.
void writeWorker(PageFiles &files, std::string_view workerTemplate);

// The copyright notice and licence of the files "*" in a Debian copyright
// file (machine-readable format 1.0), as plain text.
std::string copyrightAndLicence(std::string_view debianCopyright);

std::string readFile(const fs::path &path);
void writeFile(const fs::path &path, std::string_view contents);

std::string base64(std::string_view bytes);
std::string mimeType(std::string_view file);

// A resource path of the window (":/cat.jpg") as a file beside the page.
std::string fileName(std::string_view resource);

// Text for HTML, with &, <, > and " escaped.
std::string escaped(std::string_view text);
// Text as a JSON string, quotes and all; UTF-8 passes through as it is.
std::string jsonString(std::string_view text);
// Replaces every occurrence of `marker`, of which there must be at least one.
void replaceAll(std::string &text, std::string_view marker, std::string_view with);
// A template with each @NAME@ in it replaced by its value, in one pass, so
// that no value is searched for markers in turn. A marker without a value,
// or a value without a marker, is a mistake in the template.
std::string filled(std::string_view text, const std::map<std::string, std::string, std::less<>> &values);
// A style sheet or script as it can be written inside its element, which
// nothing in it may close.
std::string inlined(std::string_view text, std::string_view element);
// The files a style sheet asks for, as url("name"), each once.
std::vector<std::string> urlsIn(std::string_view css);
