#include "page_files.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

PageFiles::PageFiles(fs::path folder) : folder_(std::move(folder))
{
    fs::create_directories(folder_);
}

void PageFiles::write(std::string_view name, std::string contents)
{
    writeFile(folder_ / name, contents);
    files_.insert_or_assign(std::string(name), std::move(contents));
}

void PageFiles::copy(const fs::path &source)
{
    write(source.filename().string(), readFile(source));
}

void PageFiles::removeOthers(std::string_view alsoKept)
{
    std::vector<fs::path> others;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder_)) {
        const std::string name = entry.path().filename().string();
        if (name != alsoKept && !files_.contains(name))
            others.push_back(entry.path());
    }
    for (const fs::path &other : others)
        fs::remove_all(other);
}

std::string PageFiles::dataUrl(const std::string &name) const
{
    return "data:" + mimeType(name) + ";base64," + base64(files_.at(name));
}

namespace {

// FNV-1a: enough to tell one build's files from another's.
std::uint64_t contentHash(const std::map<std::string, std::string> &files)
{
    std::uint64_t hash = 0xcbf29ce484222325;
    const auto add = [&hash](std::string_view bytes) {
        for (const unsigned char byte : bytes)
            hash = (hash ^ byte) * 0x100000001b3;
    };
    for (const auto &[name, contents] : files) {
        add(name);
        add(std::string_view("\0", 1));
        add(contents);
    }
    return hash;
}

} // namespace

void writeWorker(PageFiles &files, std::string_view workerTemplate)
{
    char version[64];
    std::snprintf(version, sizeof version, "%s-%016llx", TSIFROLET_VERSION,
                  static_cast<unsigned long long>(contentHash(files.all())));
    std::string list = jsonString("./");
    for (const auto &file : files.all())
        list += ", " + jsonString(file.first);
    files.write(WorkerFile, filled(workerTemplate, {{"VERSION", version}, {"FILES", list}}));
}

std::string copyrightAndLicence(std::string_view debianCopyright)
{
    // Stanzas are separated by blank lines; a field's further lines start
    // with a space, and a line of " ." is a blank line in the field's text.
    std::string text;
    bool inStanza = false;
    bool inField = false;
    std::size_t from = 0;
    while (from < debianCopyright.size()) {
        std::size_t end = debianCopyright.find('\n', from);
        if (end == std::string_view::npos)
            end = debianCopyright.size();
        const std::string_view line = debianCopyright.substr(from, end - from);
        from = end + 1;
        if (line.empty()) {
            if (inStanza && !text.empty())
                break;
            continue;
        }
        if (line.front() != ' ') {
            if (line.starts_with("Files:"))
                inStanza = line == "Files: *";
            inField = inStanza && (line.starts_with("Copyright:") || line.starts_with("License:"));
            if (inField && !text.empty())
                text += '\n';
            continue;
        }
        if (inField)
            text.append(line == " ." ? "" : line.substr(1)).append("\n");
    }
    if (text.empty())
        throw std::runtime_error("no copyright or licence for the files \"*\"");
    return text;
}

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path &path, std::string_view contents)
{
    std::ofstream out(path, std::ios::binary);
    out << contents;
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

std::string base64(std::string_view bytes)
{
    static constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            text += k <= count ? Digits[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return text;
}

std::string mimeType(std::string_view file)
{
    const std::string extension = fs::path(file).extension().string();
    if (extension == ".jpg" || extension == ".jpeg")
        return "image/jpeg";
    if (extension == ".png")
        return "image/png";
    if (extension == ".svg")
        return "image/svg+xml";
    if (extension == ".woff2")
        return "font/woff2";
    throw std::runtime_error("no content type known for " + std::string(file));
}

std::string fileName(std::string_view resource)
{
    if (resource.starts_with(":/"))
        resource.remove_prefix(2);
    return std::string(resource);
}

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

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out + '"';
}

void replaceAll(std::string &text, std::string_view marker, std::string_view with)
{
    std::size_t at = text.find(marker);
    if (at == std::string::npos)
        throw std::runtime_error("nothing to replace: " + std::string(marker));
    for (; at != std::string::npos; at = text.find(marker, at + with.size()))
        text.replace(at, marker.size(), with);
}

std::string filled(std::string_view text, const std::map<std::string, std::string, std::less<>> &values)
{
    std::string out;
    std::set<std::string_view> used;
    std::size_t from = 0;
    for (std::size_t at = text.find('@'); at != std::string_view::npos; at = text.find('@', at + 1)) {
        const std::size_t end = text.find('@', at + 1);
        if (end == std::string_view::npos)
            break;
        const std::string_view name = text.substr(at + 1, end - at - 1);
        const bool isMarker = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || c == '_';
        });
        if (!isMarker)
            continue;
        const auto value = values.find(name);
        if (value == values.end())
            throw std::runtime_error("no value for @" + std::string(name) + "@");
        used.insert(value->first);
        out.append(text.substr(from, at - from)).append(value->second);
        from = end + 1;
        at = end;
    }
    if (used.size() != values.size())
        for (const auto &[name, value] : values)
            if (!used.contains(name))
                throw std::runtime_error("nothing to replace: @" + name + "@");
    return out.append(text.substr(from));
}

std::string inlined(std::string_view text, std::string_view element)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.find("</" + std::string(element)) != std::string::npos)
        throw std::runtime_error("cannot be written into <" + std::string(element) +
                                 ">: it closes the element");
    const std::size_t first = text.find_first_not_of(" \n");
    const std::size_t last = text.find_last_not_of(" \n");
    return first == std::string_view::npos ? "" : std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> urlsIn(std::string_view css)
{
    std::vector<std::string> names;
    constexpr std::string_view Opening = "url(\"";
    for (std::size_t at = css.find(Opening); at != std::string_view::npos; at = css.find(Opening, at)) {
        at += Opening.size();
        const std::size_t end = css.find('"', at);
        const std::string name(css.substr(at, end - at));
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}
