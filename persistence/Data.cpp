#include "persistence/Data.h"

#include "persistence/TextFile.h"
#include "platform/FilePath.h"

#include <system_error>

namespace persistence {

namespace {

constexpr int LinesPerEntry = 3;

// Line `index` of `lines` as a number; a missing or unreadable line is 0 and
// marks the file damaged.
int NumberAt(const TLines& lines, std::size_t index, bool& damaged)
{
    if (index >= lines.size()) {
        damaged = true;
        return 0;
    }
    const std::optional<int> value = ParseInt(lines[index]);
    if (!value)
        damaged = true;
    return value.value_or(0);
}

void ReadScores(const TLines& lines, TGameStats& stats)
{
    for (int e = 0; e < HighScoreEntries; ++e) {
        const std::size_t first = std::size_t(e) * LinesPerEntry;
        THighScore& entry = stats.Scores[std::size_t(e)];
        entry.Name = first < lines.size() ? lines[first] : std::string();
        entry.Date = first + 1 < lines.size() ? lines[first + 1] : std::string();
        entry.Points = NumberAt(lines, first + 2, stats.ScoresDamaged);
    }
}

} // namespace

std::filesystem::path StatsFile(const std::filesystem::path& dataRoot, const std::string& gameName)
{
    return platform::ResolvePath(dataRoot, "Data/" + gameName + ".dat");
}

std::filesystem::path HighScoreFile(const std::filesystem::path& dataRoot,
                                    const std::string& gameName)
{
    return platform::ResolvePath(dataRoot, "Data/" + gameName + "_HS.dat");
}

TGameStats LoadGameStats(const std::string& gameName, const std::filesystem::path& dataRoot)
{
    std::error_code error;
    std::filesystem::create_directories(platform::ResolvePath(dataRoot, "Data"), error);
    TGameStats stats;
    const std::optional<TLines> counters = ReadLines(StatsFile(dataRoot, gameName));
    if (!counters)
        return stats;
    stats.Played = NumberAt(*counters, 0, stats.StatsDamaged);
    stats.Won = NumberAt(*counters, 1, stats.StatsDamaged);
    // A table that is missing altogether is simply empty; one that is short
    // or unreadable is damaged.
    if (const std::optional<TLines> scores = ReadLines(HighScoreFile(dataRoot, gameName)))
        ReadScores(*scores, stats);
    return stats;
}

} // namespace persistence
