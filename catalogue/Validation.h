#pragma once

#include "catalogue/Rules.h"

// The building rules as pure functions over card values, so each can be
// judged alone. Values are 0 (Ace) .. 12 (King); suits 0..3, and a suit above
// 3 (a joker) passes every colour test.
struct TCardFace {
    int Value = 0;
    int Suit = 0;
    bool FaceUp = true;
};

// Suits 0 and 3 are one colour, 1 and 2 the other.
inline bool IsJokerSuit(int suit) { return suit > 3; }
inline int SuitColour(int suit) { return (suit == 0 || suit == 3) ? 0 : 1; }
inline bool SameColour(int suitA, int suitB)
{
    return IsJokerSuit(suitA) || IsJokerSuit(suitB) || SuitColour(suitA) == SuitColour(suitB);
}
inline bool OtherColour(int suitA, int suitB)
{
    return IsJokerSuit(suitA) || IsJokerSuit(suitB) || SuitColour(suitA) != SuitColour(suitB);
}

// True when a wrap option lets `card` go on `top` (King on Ace, Ace on King);
// the rank options are then not tested at all.
inline bool SpecialCase(const TRuleOptions& rules, TCardFace card, TCardFace top)
{
    return (rules.Contains(roAceOnKing) && card.Value == 0 && top.Value == 12)
        || (rules.Contains(roKingOnAce) && card.Value == 12 && top.Value == 0);
}

// The rank options of a non-empty target (0, 1, 2, 6, 7), wrap included.
inline bool RankFits(const TRuleOptions& rules, TCardFace card, TCardFace top)
{
    if (SpecialCase(rules, card, top))
        return true;
    if (rules.Contains(roBuildUp) && card.Value != top.Value + 1)
        return false;
    if (rules.Contains(roBuildDown) && card.Value != top.Value - 1)
        return false;
    if (rules.Contains(roBuildUpOrDown) && card.Value != top.Value + 1 && card.Value != top.Value - 1)
        return false;
    if (rules.Contains(roBuildHigher) && card.Value <= top.Value)
        return false;
    if (rules.Contains(roBuildLower) && card.Value >= top.Value)
        return false;
    return true;
}

// The suit options of a non-empty target (8 unless 10 or 11 cancel it, 9, 11, 12).
inline bool SuitFits(const TRuleOptions& rules, TCardFace card, TCardFace top)
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

// Whether `upper` may lie on `lower` inside a run that is picked up as a unit:
// build up/down/either (or the wrap), same suit whatever 10 and 11 say, and
// alternate colour. Higher/lower, same colour and other suit are not applied.
inline bool RunLinkFits(const TRuleOptions& tableauRules, TCardFace upper, TCardFace lower)
{
    if (!SpecialCase(tableauRules, upper, lower)) {
        if (tableauRules.Contains(roBuildUp) && upper.Value != lower.Value + 1)
            return false;
        if (tableauRules.Contains(roBuildDown) && upper.Value != lower.Value - 1)
            return false;
        if (tableauRules.Contains(roBuildUpOrDown) && upper.Value != lower.Value + 1 && upper.Value != lower.Value - 1)
            return false;
    }
    if (tableauRules.Contains(roSameSuit) && upper.Suit != lower.Suit)
        return false;
    if (tableauRules.Contains(roAlternateColour) && !OtherColour(upper.Suit, lower.Suit))
        return false;
    return true;
}

// The largest number of cards one move may carry between tableau piles with
// `emptyCells` free cells and `emptyColumns` other empty columns.
int SuperMoveCapacity(const TRuleOptions& tableauRules, int emptyCells, int emptyColumns);

// The rank word shown on the foundation label ("Ace" .. "King").
const char* RankWord(int value);
