#include "catalogue/Odds.h"

#include "platform/FilePath.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

template <typename T>
bool ReadNumber(const std::string& text, T& value)
{
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && value >= 0;
}

std::optional<TGameOdds> ReadLine(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const std::vector<std::string> fields = SplitTabs(line);
    if (fields.size() < 6 || fields[0].empty())
        return std::nullopt;
    TGameOdds odds;
    odds.Game = fields[0];
    if (!ReadNumber(fields[1], odds.Deals) || !ReadNumber(fields[2], odds.Winnable)
        || !ReadNumber(fields[3], odds.NotWinnable) || !ReadNumber(fields[4], odds.Unknown)
        || !ReadNumber(fields[5], odds.BudgetStates))
        return std::nullopt;
    if (odds.Deals == 0 || odds.Winnable > odds.Deals)
        return std::nullopt;
    return odds;
}

} // namespace

TOddsTable ParseOdds(const std::string& text)
{
    TOddsTable table;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (std::optional<TGameOdds> odds = ReadLine(line))
            table[odds->Game] = std::move(*odds);
    return table;
}

TOddsTable ReadOdds(const std::filesystem::path& file)
{
    const std::optional<std::string> text = platform::ReadWholeFile(file);
    return text ? ParseOdds(*text) : TOddsTable{};
}

std::filesystem::path OddsFile(const std::filesystem::path& programFolder) { return programFolder / "odds.tsv"; }

std::optional<TGameOdds> FindOdds(const TOddsTable& table, const std::string& game)
{
    const auto found = table.find(game);
    if (found == table.end())
        return std::nullopt;
    return found->second;
}

int WinnablePercent(const TGameOdds& odds)
{
    if (odds.Deals <= 0)
        return 0;
    return static_cast<int>((200LL * odds.Winnable + odds.Deals) / (2LL * odds.Deals));
}

std::string OddsSentence(const TGameOdds& odds)
{
    // A share is only "about" right when the search decided nearly every
    // deal; otherwise the undecided ones are said, and no share is invented.
    const bool decided = odds.Unknown * 10 <= odds.Deals;
    if (decided)
        return "About " + std::to_string(WinnablePercent(odds)) + " % of deals can be won (" + std::to_string(odds.Deals)
               + " deals solved, at most " + std::to_string(odds.BudgetStates) + " positions each)";
    const std::string tried = " (" + std::to_string(odds.Deals) + " deals tried, " + std::to_string(odds.Unknown)
                              + " left undecided at " + std::to_string(odds.BudgetStates) + " positions each)";
    if (odds.Winnable > 0)
        return "At least " + std::to_string(WinnablePercent(odds)) + " % of deals can be won" + tried;
    return "How many deals can be won is not known yet" + tried;
}
