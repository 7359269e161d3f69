#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

// The survey of every game's deals: how many a solver proved winnable.
// odds.tsv is tab-separated, a header line first, then one line per game:
// game, deals, winnable, notWinnable, unknown, budgetStates.
struct TGameOdds {
    std::string Game;
    int Deals = 0;
    int Winnable = 0;
    int NotWinnable = 0;
    int Unknown = 0;
    std::int64_t BudgetStates = 0; // the search budget of one deal
};

using TOddsTable = std::map<std::string, TGameOdds>;

// The games of the text; a line that does not read (too few fields, a
// number that is none, no deals) is left out, and so is the header.
TOddsTable ParseOdds(const std::string& text);
// The table of the file; empty when there is none or it cannot be read.
TOddsTable ReadOdds(const std::filesystem::path& file);
// Where the program keeps it: odds.tsv in the program folder.
std::filesystem::path OddsFile(const std::filesystem::path& programFolder);

std::optional<TGameOdds> FindOdds(const TOddsTable& table, const std::string& game);

// The share of deals proved winnable, rounded to a whole per cent. The
// deals the search gave up on count as not won: the share is a floor.
int WinnablePercent(const TGameOdds& odds);
// "About 82 % of deals can be won (1000 deals solved, at most 200000 positions each)"
// when at most a tenth of the deals were left undecided; otherwise "At least …"
// or, with none proved winnable, that the odds are not known yet.
std::string OddsSentence(const TGameOdds& odds);
