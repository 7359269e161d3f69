#include "catalogue/Validation.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace {

bool IsJoker(int suit) { return suit > 3; }
int Colour(int suit) { return (suit == 0 || suit == 3) ? 0 : 1; }

} // namespace

bool SameColour(int suitA, int suitB)
{
    return IsJoker(suitA) || IsJoker(suitB) || Colour(suitA) == Colour(suitB);
}

bool OtherColour(int suitA, int suitB)
{
    return IsJoker(suitA) || IsJoker(suitB) || Colour(suitA) != Colour(suitB);
}

bool SpecialCase(const TRuleOptions& rules, TCardFace card, TCardFace top)
{
    return (rules.Contains(roAceOnKing) && card.Value == 0 && top.Value == 12)
        || (rules.Contains(roKingOnAce) && card.Value == 12 && top.Value == 0);
}

bool RankFits(const TRuleOptions& rules, TCardFace card, TCardFace top)
{
    if (SpecialCase(rules, card, top))
        return true;
    if (rules.Contains(roBuildUp) && card.Value != top.Value + 1)
        return false;
    if (rules.Contains(roBuildDown) && card.Value != top.Value - 1)
        return false;
    if (rules.Contains(roBuildUpOrDown) && std::abs(card.Value - top.Value) != 1)
        return false;
    if (rules.Contains(roBuildHigher) && card.Value <= top.Value)
        return false;
    if (rules.Contains(roBuildLower) && card.Value >= top.Value)
        return false;
    return true;
}

bool SuitFits(const TRuleOptions& rules, TCardFace card, TCardFace top)
{
    const bool sameSuitCancelled = rules.Contains(roAnySuitDrop) || rules.Contains(roSameColour);
    if (rules.Contains(roSameSuit) && !sameSuitCancelled && card.Suit != top.Suit)
        return false;
    if (rules.Contains(roAlternateColour) && !OtherColour(card.Suit, top.Suit))
        return false;
    if (rules.Contains(roSameColour) && !SameColour(card.Suit, top.Suit))
        return false;
    if (rules.Contains(roOtherSuit) && card.Suit == top.Suit)
        return false;
    return true;
}

bool RunLinkFits(const TRuleOptions& tableauRules, TCardFace upper, TCardFace lower)
{
    if (!SpecialCase(tableauRules, upper, lower)) {
        if (tableauRules.Contains(roBuildUp) && upper.Value != lower.Value + 1)
            return false;
        if (tableauRules.Contains(roBuildDown) && upper.Value != lower.Value - 1)
            return false;
        if (tableauRules.Contains(roBuildUpOrDown) && std::abs(upper.Value - lower.Value) != 1)
            return false;
    }
    if (tableauRules.Contains(roSameSuit) && upper.Suit != lower.Suit)
        return false;
    if (tableauRules.Contains(roAlternateColour) && !OtherColour(upper.Suit, lower.Suit))
        return false;
    return true;
}

int SuperMoveCapacity(const TRuleOptions& tableauRules, int emptyCells, int emptyColumns)
{
    if (tableauRules.Contains(roUnlimitedMoves))
        return 13;
    const int base = emptyCells + 1;
    if (tableauRules.Contains(roEmptyKing) || emptyColumns <= 0)
        return base;
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
