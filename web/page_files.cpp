#include "page_files.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
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

void writeWorker(PageFiles &files, std::string workerTemplate)
{
    char version[64];
    std::snprintf(version, sizeof version, "%s-%016llx", TSIFROLET_VERSION,
                  static_cast<unsigned long long>(contentHash(files.all())));
    std::string list = "\"./\"";
    for (const auto &file : files.all())
        list += ", \"" + file.first + "\"";
    replaceAll(workerTemplate, "@VERSION@", version);
    replaceAll(workerTemplate, "@FILES@", list);
    files.write(WorkerFile, std::move(workerTemplate));
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

void replaceAll(std::string &text, std::string_view marker, std::string_view with)
{
    std::size_t at = text.find(marker);
    if (at == std::string::npos)
        throw std::runtime_error("nothing to replace: " + std::string(marker));
    for (; at != std::string::npos; at = text.find(marker, at + with.size()))
        text.replace(at, marker.size(), with);
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
