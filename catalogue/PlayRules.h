#pragma once

#include "catalogue/Rules.h"

#include <algorithm>
#include <vector>

// What a click on the stock, a redeal, the refill of an emptied pile, a pair
// of clicked cards and the end of a game do: the decisions the engine (over
// its table's cards) and the solver (over card bytes) both act on. Each
// answers from the rule record and a few counts; the moving of cards stays
// with each side.

namespace playrules {

// The games whose stock or end the rule record marks only by their name.
struct TPlayGame {
    bool AcesUp = false;        // won with the four Aces left on the tableau
    bool Burleigh = false;      // the stock is dealt from either end
    bool OneFoundation = false; // the stock deals onto the one foundation
};

inline TPlayGame PlayGame(const TGameRules& rules)
{
    const bool special = rules.DeckRules.Contains(roStockSpecial);
    return {rules.GameName == "Aces Up", special && rules.GameName == "Burleigh",
            special && rules.GameName == "One Foundation"};
}

// Where a click on the stock sends its cards.
enum class TStockDeal {
    Refused,        // a Spider-like stock deals only when no tableau pile is empty
    ToTableauPiles, // one card onto each tableau pile
    ToFoundation,   // straight onto the one foundation
    ToWaste,        // turned onto the waste
};

inline TStockDeal StockDealKind(const TGameRules& rules, TPlayGame game, bool anyTableauPileEmpty)
{
    if (rules.TurnCount < 1)
        return rules.TurnCount == -2 && anyTableauPileEmpty ? TStockDeal::Refused : TStockDeal::ToTableauPiles;
    return game.OneFoundation ? TStockDeal::ToFoundation : TStockDeal::ToWaste;
}

// How many cards one click turns onto the waste or the foundation.
inline int CardsTurned(const TGameRules& rules, int stockCount) { return std::min(stockCount, rules.TurnCount); }

// Whether a redeal is offered once the stock has run out `passesDone` times.
inline bool RedealOffered(const TGameRules& rules, int passesDone)
{
    return rules.DeckPasses == 0 || passesDone < rules.DeckPasses;
}

// A gathering redeal takes the whole tableau back into the stock and deals it
// again; the others only turn the waste over.
inline bool RedealGathers(const TGameRules& rules) { return rules.TurnCount < -2; }

// Whether the cards are shuffled before they are dealt again.
inline bool RedealShuffles(const TGameRules& rules) { return rules.TurnCount == -4; }

// Whether the card dealt as the `row`th of tableau pile `pile` (both from 1)
// stays face down: every card of a counted pile but its last, unless the face-
// down counts say fewer, or the stock has just run out.
inline bool DealtCardStaysDown(const TGameRules& rules, int row, int pile, bool stockLeft)
{
    const TRuleOptions& t = rules.TableauRules;
    const auto& counts = rules.TableauDealCounts;
    const auto& faceDown = rules.TableauFaceDownCounts;
    const auto at = [pile](const std::vector<int>& v) { return v.at(static_cast<std::size_t>(pile - 1)); };
    return !t.Contains(roDealFaceUp) && !counts.empty() && row != at(counts) && stockLeft
        && (faceDown.empty() || at(faceDown) >= row);
}

// Whether a King dealt as the `row`th card of its pile goes under the pile.
inline bool KingGoesUnder(const TGameRules& rules, int row, int value)
{
    constexpr int king = 12;
    return rules.TableauRules.Contains(roKingToBottom) && row > 1 && value == king;
}

// The pile (from 1) that a deal by suit gives the next card.
inline int DealBySuitPile(const TGameRules& rules, int suit) { return std::min(rules.TableauCount, suit + 1); }

// Where the card that refills an emptied tableau pile comes from: pkReserve,
// pkStock or pkWaste, or -1 when nothing refills it.
inline int RefillSource(const TRuleOptions& tableauRules, bool reserveHasCard, bool stockHasCard, bool wasteHasCard)
{
    if (tableauRules.Contains(roEmptyFromReserve))
        return reserveHasCard ? pkReserve : -1;
    if (tableauRules.Contains(roRefillFromStock))
        return stockHasCard ? pkStock : (wasteHasCard ? pkWaste : -1);
    return wasteHasCard ? pkWaste : (stockHasCard ? pkStock : -1);
}

// The foundation cards of a won game.
inline int WinningCount(const TGameRules& rules) { return rules.DeckCount == 2 ? 104 : 52; }

// Whether the game is won. Aces Up is won with every card but the four Aces
// discarded and each Ace alone on one of the first four piles.
inline bool GameWon(const TGameRules& rules, TPlayGame game, int foundationCards, bool clockSolved,
                    bool firstFourPilesHeld)
{
    if (game.AcesUp)
        return foundationCards == 48 && firstFourPilesHeld;
    return foundationCards == WinningCount(rules) || clockSolved;
}

// Whether two clicked cards leave play as a pair.
inline bool PairLeaves(const TGameRules& rules, int valueA, int valueB)
{
    return rules.FoundationRules.Contains(roPairsByRank) && valueA == valueB;
}

} // namespace playrules
