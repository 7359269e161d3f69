#include "catalogue/Validation.h"

#include <array>
#include <cmath>

int SuperMoveCapacity(const TRuleOptions& tableauRules, int emptyCells, int emptyColumns)
{
    if (tableauRules.Contains(roUnlimitedMoves))
        return 13;
    const int base = emptyCells + 1;
    if (tableauRules.Contains(roEmptyKing) || emptyColumns <= 0)
        return base;
    // Doubling per empty column; a shift, since the solver asks this for every drop it judges.
    if (emptyColumns < 24)
        return base << emptyColumns;
    return static_cast<int>(std::lround(base * std::pow(2.0, emptyColumns)));
}

const char* RankWord(int value)
{
    static constexpr std::array<const char*, 13> words = {
        "Ace", "Two", "Three", "Four", "Five", "Six", "Seven",
        "Eight", "Nine", "Ten", "Jack", "Queen", "King"};
    if (value < 0 || value > 12)
        return "Move";
    return words[static_cast<std::size_t>(value)];
}
