#include "persistence/SourceLogFile.h"

#include "platform/FilePath.h"

#include <charconv>
#include <cstdint>

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string current;
    for (const char c : text) {
        if (c == '\n') {
            if (!current.empty() && current.back() == '\r')
                current.pop_back();
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        if (current.back() == '\r')
            current.pop_back();
        lines.push_back(current);
    }
    return lines;
}

std::optional<long long> ParseInteger(const std::string& line)
{
    long long value = 0;
    const char* first = line.data();
    const char* last = line.data() + line.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

} // namespace

std::string QuotedExcerpt(const std::string& text)
{
    constexpr std::size_t MaxShown = 40;
    std::string quoted = "\"";
    for (std::size_t i = 0; i < text.size() && i < MaxShown; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            quoted += static_cast<char>(byte);
            continue;
        }
        static constexpr char Hex[] = "0123456789abcdef";
        quoted += "\\x";
        quoted += Hex[byte >> 4];
        quoted += Hex[byte & 15];
    }
    if (text.size() > MaxShown)
        quoted += "...";
    return quoted + "\"";
}

std::optional<TSavedGame> ParseSavedGame(const std::string& text, std::string& error)
{
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.size() < 3) {
        error = "saved game has no header (needs game name, seed and open mark)";
        return std::nullopt;
    }
    if ((lines.size() - 3) % 4 != 0) {
        error = "saved game ends inside an action (" + std::to_string(lines.size()) + " lines)";
        return std::nullopt;
    }
    TSavedGame game;
    game.GameName = lines[0];
    if (game.GameName.empty()) {
        error = "saved game names no game";
        return std::nullopt;
    }
    const auto seed = ParseInteger(lines[1]);
    if (!seed || *seed < INT32_MIN || *seed > UINT32_MAX) {
        error = "saved game seed is not a 32-bit number: " + QuotedExcerpt(lines[1]);
        return std::nullopt;
    }
    game.Seed = static_cast<std::uint32_t>(*seed);
    if (lines[2] == "O")
        game.Open = true;
    else if (lines[2] == "0")
        game.Open = false;
    else {
        error = "saved game open mark is neither \"O\" nor \"0\": " + QuotedExcerpt(lines[2]);
        return std::nullopt;
    }
    for (std::size_t i = 3; i + 3 < lines.size(); i += 4) {
        int values[4] = {};
        for (int k = 0; k < 4; ++k) {
            const auto v = ParseInteger(lines[i + k]);
            if (!v || *v < -1000000 || *v > 1000000) {
                error =
                    "saved game line " + std::to_string(i + k + 1) + " is not a number: " + QuotedExcerpt(lines[i + k]);
                return std::nullopt;
            }
            values[k] = static_cast<int>(*v);
        }
        if (values[0] < 0 || values[0] > 7) {
            error = "saved game line " + std::to_string(i + 1) + " holds an unknown action kind " + std::to_string(values[0]);
            return std::nullopt;
        }
        game.Actions.push_back({values[0], values[1], values[2], values[3]});
    }
    return game;
}

std::optional<TSavedGame> ReadSavedGame(const std::filesystem::path& file, std::string& error)
{
    std::string why;
    const auto text = platform::ReadWholeFile(file, platform::SavedGameLimit, &why);
    if (!text) {
        error = "cannot read saved game " + file.string() + " (" + why + ")";
        return std::nullopt;
    }
    return ParseSavedGame(*text, error);
}

std::string FormatSourceLog(const std::vector<std::string>& sourceLog)
{
    std::string text;
    for (const auto& line : sourceLog) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool WriteSourceLog(const std::filesystem::path& file, const std::vector<std::string>& sourceLog,
                    std::string* error)
{
    return platform::WriteFileAtomically(file, FormatSourceLog(sourceLog), error);
}

bool CloseSavedGameFile(const std::filesystem::path& file)
{
    const auto text = platform::ReadWholeFile(file, platform::SavedGameLimit);
    if (!text)
        return true;
    std::vector<std::string> lines = SplitLines(*text);
    if (lines.size() < 3 || lines[2] == "0")
        return true;
    lines[2] = "0";
    return WriteSourceLog(file, lines);
}
