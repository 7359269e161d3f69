#pragma once

#include "catalogue/Rules.h"
#include "catalogue/Validation.h"

#include <algorithm>
#include <optional>

// The one judge of every drop, shared by the engine (over its table's cards)
// and the solver (over card bytes). `Position` answers what the judge reads
// of the piles:
//   int TableauCount(), FoundationCount(), StockCount(), ReserveSize()
//   std::optional<TCardFace> TableauTop(p), FoundationTop(f), ReserveCard(i)
//   int TableauSize(p)           cards in tableau pile p (0 when empty)
//   bool FoundationHoldsValue(f, value)
//   bool ReserveAllEmpty()
//   int EmptyColumns(), EmptyCells()  as the lists last counted them
//   int BaseValue()              the foundation base card's value, -1 if none
// The order of the tests matters: the base-card side effect happens before
// the rest of an empty-pile test, so a refused drop can still set it.

struct TDropQuery {
    TCardFace Card;
    int TargetKind = 0;
    int TargetPile = 0;
    int TargetIndex = 0;
    int SourceKind = 0;
    int SourcePile = 0;
    int SourceIndex = 0;
};

struct TDropVerdict {
    bool Accepted = false;
    // The base card the judge set (the dropped card's value), if it did.
    bool SetsBase = false;
    // Whether the foundation label should name the new base.
    bool LabelsBase = false;
};

// The special games the judge knows by name.
struct TDropGame {
    bool FourColours = false;
    bool AcesUp = false;
};

namespace droprules {

// Aces count above Kings when a discard is judged.
inline int AcesUpRank(int value) { return value == 0 ? 13 : value; }

} // namespace droprules

template <class Position>
TDropVerdict JudgeDrop(const TGameRules& gameRules, TDropGame game, const Position& position, const TDropQuery& q)
{
    TDropVerdict verdict;
    const TCardFace card = q.Card;
    // 1. Cells take anything, except in Four Colours: one card per suit.
    if (q.TargetKind == pkReserve) {
        verdict.Accepted = true;
        if (!game.FourColours)
            return verdict;
        for (int i = 0; i < position.ReserveSize() && i < 4; ++i) {
            const std::optional<TCardFace> held = position.ReserveCard(i);
            const bool isTheCard = q.SourceKind == pkReserve && q.SourcePile == i;
            if (held && !isTheCard && held->Suit == card.Suit) {
                verdict.Accepted = false;
                break;
            }
        }
        return verdict;
    }
    // 2. Aces Up: a card is discarded when a higher card of its suit shows elsewhere.
    if (q.TargetKind == pkFoundation && game.AcesUp) {
        if (card.Value == 0)
            return verdict;
        for (int p = 0; p < position.TableauCount() && p < 4; ++p) {
            if (q.SourceKind == pkTableau && p == q.SourcePile)
                continue;
            const std::optional<TCardFace> top = position.TableauTop(p);
            if (top && top->Suit == card.Suit && droprules::AcesUpRank(top->Value) > droprules::AcesUpRank(card.Value)) {
                verdict.Accepted = true;
                return verdict;
            }
        }
        return verdict;
    }

    const bool toFoundation = q.TargetKind == pkFoundation;
    const TRuleOptions& rules = toFoundation ? gameRules.FoundationRules : gameRules.TableauRules;
    const int pileCount = toFoundation ? position.FoundationCount() : position.TableauCount();
    if (q.TargetPile < 0 || q.TargetPile >= pileCount)
        return verdict;

    // 3, 4.
    if (q.TargetKind == pkTableau && rules.Contains(roMaxThree) && q.TargetIndex == 2)
        return verdict;
    if (rules.Contains(roNoDropWhileStock) && position.StockCount() > 0)
        return verdict;

    const std::optional<TCardFace> top = toFoundation ? position.FoundationTop(q.TargetPile) : position.TableauTop(q.TargetPile);
    if (top) {
        // 5. Onto a card.
        if ((rules.Contains(roNoBuildFromReserve) && q.SourceKind == pkReserve)
            || (rules.Contains(roNoBuildFromTableau) && q.SourceKind == pkTableau)
            || (rules.Contains(roNoBuildFromWaste) && q.SourceKind == pkWaste)
            || (rules.Contains(roNoBuildFromStock) && q.SourceKind == pkStock) || rules.Contains(roNoBuildOnCards))
            return verdict;
        if (!RankFits(rules, card, *top) || !SuitFits(rules, card, *top))
            return verdict;
        if (rules.Contains(roRankIsPileIndex) && card.Value != q.TargetPile)
            return verdict;
        if (toFoundation && rules.Contains(roFoundationSideways) && q.TargetPile > 0
            && !position.FoundationHoldsValue(q.TargetPile - 1, card.Value))
            return verdict;
        verdict.Accepted = !(q.SourceKind == pkTableau && q.TargetKind == pkTableau && q.SourcePile == q.TargetPile);
        return verdict;
    }

    // 6. Onto an empty pile.
    int baseValue = position.BaseValue();
    if (rules.Contains(roFirstCardSetsBase)) {
        if (baseValue < 0 || rules.Contains(roEachCardSetsBase)) {
            baseValue = card.Value;
            verdict.SetsBase = true;
            verdict.LabelsBase = !rules.Contains(roEachCardSetsBase);
        }
    }
    bool baseRule = false;
    if (rules.Contains(roEmptyBaseRank) || rules.Contains(roFirstCardSetsBase)) {
        if (toFoundation) {
            baseRule = baseValue >= 0 && card.Value == baseValue;
            if (baseRule && rules.Contains(roFoundationSideways) && q.TargetPile > 0)
                baseRule = position.FoundationTop(q.TargetPile - 1).has_value();
        } else {
            baseRule = q.SourceKind == pkStock;
        }
        if (!rules.Contains(roEmptyFromTableau)) {
            verdict.Accepted = baseRule;
            return verdict;
        }
    }
    const int v = card.Value;
    const bool accepted = (rules.Contains(roEmptyFromReserve) && q.SourceKind == pkReserve)
        || (rules.Contains(roEmptyFromWaste) && q.SourceKind == pkWaste
            && (position.ReserveAllEmpty() || !rules.Contains(roEmptyFromReserve) || rules.Contains(roWasteAnyTime)))
        || (rules.Contains(roEmptyFromTableau) && (q.SourceKind == pkTableau || q.SourceKind == pkFoundation))
        || (rules.Contains(roEmptyFromExcept) && q.SourceKind == pkExcept)
        || (rules.Contains(roEmptyAce) && v == 0) || (rules.Contains(roEmptyKing) && v == 12)
        || (rules.Contains(roEmptyTwo) && v == 1) || (rules.Contains(roEmptyJack) && v == 10)
        || (rules.Contains(roRankIsPileIndex) && v == q.TargetPile) || baseRule;
    if (!accepted)
        return verdict;

    // Capacity into an empty column, counting the other empty columns only.
    if (q.SourceKind == pkTableau && q.TargetKind == pkTableau && gameRules.FreeCells && q.SourcePile >= 0
        && q.SourcePile < position.TableauCount()) {
        // The engine counts an empty pile as one slot, so an empty source carries one card.
        const int topIndex = std::max(position.TableauSize(q.SourcePile), 1) - 1;
        const int carried = topIndex - q.SourceIndex + 1;
        if (carried - 1 >= SuperMoveCapacity(gameRules.TableauRules, position.EmptyCells(), position.EmptyColumns() - 1))
            return verdict;
    }
    verdict.Accepted = true;
    return verdict;
}

inline TDropGame DropGame(const TGameRules& rules)
{
    return {rules.GameName == "Four Colours", rules.GameName == "Aces Up"};
}
