// The one judge of every drop: the player's, the automatic moves' and the
// replayed ones. The order of the tests matters (the base-card side effect
// happens before the rest of an empty-pile test).
#include "engine/Engine.h"

#include "cardtable/Card.h"
#include "engine/Validation.h"

#include <algorithm>

namespace {

TCardFace Face(const TCard* card)
{
    return {static_cast<int>(card->Value), static_cast<int>(card->Suit), card->FaceUp};
}

// Aces count above Kings when a discard is judged.
int AcesUpRank(const TCard* card)
{
    return card->Value == cvAce ? 13 : static_cast<int>(card->Value);
}

bool HoldsValue(const TPile& pile, int value)
{
    return std::any_of(pile.begin(), pile.end(), [value](const TCard* c) { return c && c->Value == value; });
}

} // namespace

int TEngine::SuperMove(int emptyColumns) const
{
    return SuperMoveCapacity(Rules.TableauRules, EmptyCells, emptyColumns);
}

bool TEngine::ValidDrop(TCard* card, int targetKind, TPilePos target, int sourceKind, TPilePos source)
{
    if (!card)
        return false;
    // 1. Cells take anything, except in Four Colours: one card per suit.
    if (targetKind == pkReserve) {
        if (Rules.GameName != "Four Colours")
            return true;
        for (std::size_t i = 0; i < ReserveCards.size() && i < 4; ++i) {
            const TCard* held = ReserveCards[i];
            if (held && held != card && held->Suit == card->Suit)
                return false;
        }
        return true;
    }
    // 2. Aces Up: a card is discarded when a higher card of its suit shows elsewhere.
    if (targetKind == pkFoundation && Rules.GameName == "Aces Up") {
        if (card->Value == cvAce)
            return false;
        for (int p = 0; p < static_cast<int>(TableauPiles.size()) && p < 4; ++p) {
            if (sourceKind == pkTableau && p == source.Pile)
                continue;
            const TCard* top = TableauPiles[static_cast<std::size_t>(p)].back();
            if (top && top->Suit == card->Suit && AcesUpRank(top) > AcesUpRank(card))
                return true;
        }
        return false;
    }

    const bool toFoundation = targetKind == pkFoundation;
    const TRuleOptions rules = toFoundation ? Rules.FoundationRules : Rules.TableauRules;
    const std::vector<TPile>& piles = toFoundation ? FoundationPiles : TableauPiles;
    if (target.Pile < 0 || target.Pile >= static_cast<int>(piles.size()))
        return false;
    const TPile& pile = piles[static_cast<std::size_t>(target.Pile)];

    // 3, 4.
    if (targetKind == pkTableau && rules.Contains(roMaxThree) && target.Index == 2)
        return false;
    if (rules.Contains(roNoDropWhileStock) && StockCount() > 0)
        return false;

    const TCard* top = pile.back();
    if (top) {
        // 5. Onto a card.
        if ((rules.Contains(roNoBuildFromReserve) && sourceKind == pkReserve)
            || (rules.Contains(roNoBuildFromTableau) && sourceKind == pkTableau)
            || (rules.Contains(roNoBuildFromWaste) && sourceKind == pkWaste)
            || (rules.Contains(roNoBuildFromStock) && sourceKind == pkStock) || rules.Contains(roNoBuildOnCards))
            return false;
        if (!RankFits(rules, Face(card), Face(top)) || !SuitFits(rules, Face(card), Face(top)))
            return false;
        if (rules.Contains(roRankIsPileIndex) && card->Value != target.Pile)
            return false;
        if (toFoundation && rules.Contains(roFoundationSideways) && target.Pile > 0
            && !HoldsValue(FoundationPiles[static_cast<std::size_t>(target.Pile - 1)], card->Value))
            return false;
        return !(sourceKind == pkTableau && targetKind == pkTableau && source.Pile == target.Pile);
    }

    // 6. Onto an empty pile.
    if (rules.Contains(roFirstCardSetsBase)) {
        if (!Rules.FoundationBaseCard || rules.Contains(roEachCardSetsBase)) {
            Rules.FoundationBaseCard = card;
            if (!rules.Contains(roEachCardSetsBase))
                SetFoundationLabel(RankWord(card->Value));
        }
    }
    bool baseRule = false;
    const bool baseRuleRuns = rules.Contains(roEmptyBaseRank) || rules.Contains(roFirstCardSetsBase);
    if (baseRuleRuns) {
        if (toFoundation) {
            baseRule = Rules.FoundationBaseCard && card->Value == Rules.FoundationBaseCard->Value;
            if (baseRule && rules.Contains(roFoundationSideways) && target.Pile > 0)
                baseRule = FoundationPiles[static_cast<std::size_t>(target.Pile - 1)].back() != nullptr;
        } else {
            baseRule = sourceKind == pkStock;
        }
        if (!rules.Contains(roEmptyFromTableau))
            return baseRule;
    }
    const int v = card->Value;
    const bool accepted = (rules.Contains(roEmptyFromReserve) && sourceKind == pkReserve)
        || (rules.Contains(roEmptyFromWaste) && sourceKind == pkWaste
            && (ReserveCards.empty() || std::all_of(ReserveCards.begin(), ReserveCards.end(), [](const TCard* c) { return !c; })
                || !rules.Contains(roEmptyFromReserve) || rules.Contains(roWasteAnyTime)))
        || (rules.Contains(roEmptyFromTableau) && (sourceKind == pkTableau || sourceKind == pkFoundation))
        || (rules.Contains(roEmptyFromExcept) && sourceKind == pkExcept)
        || (rules.Contains(roEmptyAce) && v == cvAce) || (rules.Contains(roEmptyKing) && v == cvKing)
        || (rules.Contains(roEmptyTwo) && v == cvTwo) || (rules.Contains(roEmptyJack) && v == cvJack)
        || (rules.Contains(roRankIsPileIndex) && v == target.Pile) || baseRule;
    if (!accepted)
        return false;

    // Capacity into an empty column, counting the other empty columns only.
    if (sourceKind == pkTableau && targetKind == pkTableau && Rules.FreeCells
        && source.Pile >= 0 && source.Pile < static_cast<int>(TableauPiles.size())) {
        const int topIndex = static_cast<int>(TableauPiles[static_cast<std::size_t>(source.Pile)].size()) - 1;
        const int carried = topIndex - source.Index + 1;
        if (carried - 1 >= SuperMove(EmptyColumns - 1))
            return false;
    }
    return true;
}
