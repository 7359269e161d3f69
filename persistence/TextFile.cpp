#include "persistence/TextFile.h"

#include "platform/FilePath.h"

#include <charconv>
#include <system_error>

namespace persistence {

TLines SplitLines(const std::string& text)
{
    TLines lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        lines.emplace_back(text, start, stop - start);
        start = last ? text.size() : end + 1;
    }
    return lines;
}

std::string JoinLines(const TLines& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::optional<TLines> ReadLines(const std::filesystem::path& file)
{
    const std::optional<std::string> text = platform::ReadWholeFile(file);
    if (!text)
        return std::nullopt;
    return SplitLines(*text);
}

bool WriteLines(const std::filesystem::path& file, const TLines& lines, std::string* error)
{
    return platform::WriteFileAtomically(file, JoinLines(lines), error);
}

std::optional<int> ParseInt(const std::string& text)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

void KeepDamagedCopy(const std::filesystem::path& file)
{
    std::filesystem::path copy = file;
    copy += ".damaged";
    std::error_code error;
    if (std::filesystem::exists(copy, error))
        return;
    std::filesystem::copy_file(file, copy, error);
}

} // namespace persistence
