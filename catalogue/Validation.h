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
bool SameColour(int suitA, int suitB);
bool OtherColour(int suitA, int suitB);

// True when a wrap option lets `card` go on `top` (King on Ace, Ace on King);
// the rank options are then not tested at all.
bool SpecialCase(const TRuleOptions& rules, TCardFace card, TCardFace top);

// The rank options of a non-empty target (0, 1, 2, 6, 7), wrap included.
bool RankFits(const TRuleOptions& rules, TCardFace card, TCardFace top);

// The suit options of a non-empty target (8 unless 10 or 11 cancel it, 9, 11, 12).
bool SuitFits(const TRuleOptions& rules, TCardFace card, TCardFace top);

// Whether `upper` may lie on `lower` inside a run that is picked up as a unit:
// build up/down/either (or the wrap), same suit whatever 10 and 11 say, and
// alternate colour. Higher/lower, same colour and other suit are not applied.
bool RunLinkFits(const TRuleOptions& tableauRules, TCardFace upper, TCardFace lower);

// The largest number of cards one move may carry between tableau piles with
// `emptyCells` free cells and `emptyColumns` other empty columns.
int SuperMoveCapacity(const TRuleOptions& tableauRules, int emptyCells, int emptyColumns);

// The rank word shown on the foundation label ("Ace" .. "King").
const char* RankWord(int value);
