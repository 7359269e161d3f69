#pragma once

#include <QDate>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Each game's two counters and its table of the twenty best scores, kept in
// the "Data" folder as NAME.dat and NAME_HS.dat.
namespace persistence {

struct THighScore {
    std::string Name;
    std::string Date;
    int Points = 0;
};

inline constexpr int HighScoreEntries = 20;

struct TGameStats {
    int Played = 0;
    int Won = 0;
    std::array<THighScore, HighScoreEntries> Scores;
    // Set when a file held lines that could not be read; its damaged
    // original is kept beside it before it is first rewritten.
    bool StatsDamaged = false;
    bool ScoresDamaged = false;
};

std::filesystem::path StatsFile(const std::filesystem::path& dataRoot, const std::string& gameName);
std::filesystem::path HighScoreFile(const std::filesystem::path& dataRoot,
                                    const std::string& gameName);

// The game's counters and table; zeros and empty entries for a game never
// counted. Creates the "Data" folder when it is missing. What a damaged file
// holds is read as far as it is readable; the rest counts as zero or empty.
TGameStats LoadGameStats(const std::string& gameName, const std::filesystem::path& dataRoot);

// The same from the files' lines; a missing table (null) is simply empty.
TGameStats ParseGameStats(const std::vector<std::string>& counters,
                          const std::vector<std::string>* scores);


// Writes both files of a game as they stand in `stats`; a damaged original is
// kept beside each as NAME.damaged first. False when a file could not be written.
bool SaveGameStats(const std::string& gameName, const std::filesystem::path& dataRoot,
                   const TGameStats& stats);

// The first entry, from the top, whose points are below `points`: a score
// equal to one already listed goes below it, and 0 or less never enters.
// HighScoreEntries when the score does not enter.
int HighScorePosition(const TGameStats& stats, int points);

struct TGameResult {
    std::string GameName;
    std::string SaveName; // the saved game in play, or empty
    int Points = 0;
    bool Won = false;
};

// Asks the player's name for a new high score at `position` (1 to 20), with
// `defaultName` offered.
using TAskHighScoreName =
    std::function<std::string(int position, int points, const std::string& defaultName)>;

// Counts one finished or abandoned game, once. Nothing happens for a closed
// game (its record's third line is "0"), nor when the saved game in play has
// exactly `recordLines` lines or as many as the whole `sourceLog`, undone
// tail included (nothing was played since it was saved or opened);
// otherwise the record and the file are closed, the counters grow
// and a high enough score enters the table under the name `askName` gives.
// Returns the position entered (1 to 20), or 0.
int RecordGameResult(std::vector<std::string>& sourceLog, std::size_t recordLines,
                     const TGameResult& result, const std::filesystem::path& dataRoot,
                     const TAskHighScoreName& askName, const QDate& today);

// Deletes every statistics and high-score file ("Data/*.dat").
void ResetAllStats(const std::filesystem::path& dataRoot);

} // namespace persistence
