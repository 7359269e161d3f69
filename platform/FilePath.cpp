#include "platform/FilePath.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::vector<std::string> SplitComponents(std::string_view relative)
{
    std::vector<std::string> parts;
    std::string current;
    for (const char c : relative) {
        if (c == '/' || c == '\\') {
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(std::move(current));
    return parts;
}

} // namespace

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::optional<fs::path> FindEntry(const fs::path& folder, std::string_view name)
{
    std::error_code ec;
    const fs::path exact = folder / fs::path(std::string(name));
    if (fs::exists(exact, ec))
        return exact;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    if (ec)
        return std::nullopt;
    for (const fs::directory_entry& entry : it) {
        if (SameName(entry.path().filename().string(), name))
            return folder / entry.path().filename();
    }
    return std::nullopt;
}

std::optional<fs::path> FindPath(const fs::path& folder, std::string_view relative)
{
    fs::path current = folder;
    for (const std::string& part : SplitComponents(relative)) {
        if (part == ".")
            continue;
        if (part == "..") {
            current /= "..";
            continue;
        }
        const std::optional<fs::path> next = FindEntry(current, part);
        if (!next)
            return std::nullopt;
        current = *next;
    }
    std::error_code ec;
    if (!fs::exists(current, ec))
        return std::nullopt;
    return current;
}

fs::path ResolvePath(const fs::path& folder, std::string_view relative)
{
    fs::path result = folder;
    bool existing = true;
    for (const std::string& part : SplitComponents(relative)) {
        if (existing) {
            if (std::optional<fs::path> next = FindEntry(result, part)) {
                result = *next;
                continue;
            }
            existing = false;
        }
        result /= part;
    }
    return result;
}

std::vector<fs::path> SplitSearchPath(std::string_view list)
{
    std::vector<fs::path> folders;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(':', start), list.size());
        if (end > start)
            folders.emplace_back(std::string(list.substr(start, end - start)));
        start = end + 1;
    }
    return folders;
}

bool WriteFileAtomically(const fs::path& file, std::string_view contents)
{
    const fs::path temporary = file.parent_path()
        / (file.filename().string() + ".tmp" + std::to_string(::getpid()));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

std::optional<std::string> ReadWholeFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return std::move(buffer).str();
}

} // namespace platform
