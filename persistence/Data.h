#pragma once

#include <array>
#include <filesystem>
#include <string>

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

} // namespace persistence
