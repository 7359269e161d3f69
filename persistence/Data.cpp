#include "persistence/Data.h"

#include "persistence/Player.h"
#include "persistence/SourceLogFile.h"
#include "persistence/TextFile.h"
#include "platform/FilePath.h"

#include <QLocale>

#include <algorithm>
#include <limits>
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

TGameStats ParseGameStats(const TLines& counters, const TLines* scores)
{
    TGameStats stats;
    stats.Played = NumberAt(counters, 0, stats.StatsDamaged);
    stats.Won = NumberAt(counters, 1, stats.StatsDamaged);
    // A table that is missing altogether is simply empty; one that is short
    // or unreadable is damaged.
    if (scores != nullptr)
        ReadScores(*scores, stats);
    return stats;
}

TGameStats LoadGameStats(const std::string& gameName, const std::filesystem::path& dataRoot)
{
    std::error_code error;
    std::filesystem::create_directories(platform::ResolvePath(dataRoot, "Data"), error);
    const std::optional<TLines> counters = ReadLines(StatsFile(dataRoot, gameName));
    if (!counters)
        return {};
    const std::optional<TLines> scores = ReadLines(HighScoreFile(dataRoot, gameName));
    return ParseGameStats(*counters, scores ? &*scores : nullptr);
}

} // namespace persistence

namespace persistence {

namespace {

TLines ScoreLines(const TGameStats& stats)
{
    TLines lines;
    for (const THighScore& entry : stats.Scores) {
        lines.push_back(entry.Name);
        lines.push_back(entry.Date);
        lines.push_back(std::to_string(entry.Points));
    }
    return lines;
}

bool SaveFile(const std::filesystem::path& file, const TLines& lines, bool damaged)
{
    if (damaged)
        KeepDamagedCopy(file);
    return WriteLines(file, lines);
}

// A saved game with as many lines as the record has seen no move since it
// was saved or opened. Undo shortens the record in force but keeps the
// undone tail until a new move replaces it (and that move closes the game),
// so the whole record counts too: open, undo, leave is no game played.
bool UnplayedSinceSaved(const std::string& saveName, std::size_t recordLines, std::size_t wholeRecordLines)
{
    const std::optional<std::string> text = platform::ReadWholeFile(saveName, platform::SavedGameLimit);
    if (!text)
        return false;
    const std::size_t lines = SplitLines(*text).size();
    return lines == recordLines || lines == wholeRecordLines;
}

// Counters only grow; at the largest number they stay there.
void CountUp(int& counter)
{
    if (counter < std::numeric_limits<int>::max())
        ++counter;
}

} // namespace

bool SaveGameStats(const std::string& gameName, const std::filesystem::path& dataRoot,
                   const TGameStats& stats)
{
    const bool counters = SaveFile(StatsFile(dataRoot, gameName),
                                   {std::to_string(stats.Played), std::to_string(stats.Won)},
                                   stats.StatsDamaged);
    const bool scores = SaveFile(HighScoreFile(dataRoot, gameName), ScoreLines(stats),
                                 stats.ScoresDamaged);
    return counters && scores;
}

int HighScorePosition(const TGameStats& stats, int points)
{
    for (int i = 0; i < HighScoreEntries; ++i)
        if (stats.Scores[std::size_t(i)].Points < points)
            return i;
    return HighScoreEntries;
}

int RecordGameResult(std::vector<std::string>& sourceLog, std::size_t recordLines,
                     const TGameResult& result, const std::filesystem::path& dataRoot,
                     const TAskHighScoreName& askName, const QDate& today)
{
    if (sourceLog.size() > 2 && sourceLog[2] == "0")
        return 0;
    if (!result.SaveName.empty()) {
        if (UnplayedSinceSaved(result.SaveName, recordLines, sourceLog.size()))
            return 0;
        if (sourceLog.size() > 2)
            sourceLog[2].assign(1, '0');
        CloseSavedGameFile(result.SaveName);
    }
    TGameStats stats = LoadGameStats(result.GameName, dataRoot);
    CountUp(stats.Played);
    if (result.Won)
        CountUp(stats.Won);
    SaveFile(StatsFile(dataRoot, result.GameName),
             {std::to_string(stats.Played), std::to_string(stats.Won)}, stats.StatsDamaged);

    const std::filesystem::path scoresFile = HighScoreFile(dataRoot, result.GameName);
    const int i = HighScorePosition(stats, result.Points);
    if (i < HighScoreEntries) {
        std::move_backward(stats.Scores.begin() + i, stats.Scores.end() - 1, stats.Scores.end());
        const std::string name = askName ? askName(i + 1, result.Points, ReadPlayerName(dataRoot))
                                         : std::string();
        stats.Scores[std::size_t(i)] = {name, QLocale::system().toString(today, QLocale::ShortFormat).toStdString(),
                                        result.Points};
        SaveFile(scoresFile, ScoreLines(stats), stats.ScoresDamaged);
        return i + 1;
    }
    std::error_code error;
    if (!std::filesystem::exists(scoresFile, error) || stats.ScoresDamaged)
        SaveFile(scoresFile, ScoreLines(stats), stats.ScoresDamaged);
    return 0;
}

void ResetAllStats(const std::filesystem::path& dataRoot)
{
    const std::optional<std::filesystem::path> folder = platform::FindPath(dataRoot, "Data");
    if (!folder)
        return;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(*folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code ignored;
        if (entry->is_regular_file(ignored)
            && platform::SameName(entry->path().extension().string(), ".dat"))
            std::filesystem::remove(entry->path(), ignored);
    }
}

} // namespace persistence
