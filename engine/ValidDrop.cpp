// The one judge of every drop: the player's, the automatic moves' and the
// replayed ones. The judging itself is shared with the solver (DropRules.h);
// here the engine's piles answer its questions and the base card it sets is
// kept.
#include "engine/Engine.h"

#include "cardtable/Card.h"
#include "catalogue/DropRules.h"

#include <algorithm>

namespace {

TCardFace Face(const TCard* card)
{
    return {static_cast<int>(card->Value), static_cast<int>(card->Suit), card->FaceUp};
}

std::optional<TCardFace> TopFace(const TPile& pile)
{
    if (pile.empty() || !pile.back())
        return std::nullopt;
    return Face(pile.back());
}

// The engine's piles as the drop judge reads them.
class TEnginePosition {
public:
    explicit TEnginePosition(const TEngine& engine) : E(engine) {}
    int TableauCount() const { return static_cast<int>(E.TableauPiles.size()); }
    int FoundationCount() const { return static_cast<int>(E.FoundationPiles.size()); }
    int StockCount() const { return E.StockCount(); }
    int ReserveSize() const { return static_cast<int>(E.ReserveCards.size()); }
    std::optional<TCardFace> TableauTop(int p) const { return TopFace(E.TableauPiles[static_cast<std::size_t>(p)]); }
    std::optional<TCardFace> FoundationTop(int f) const { return TopFace(E.FoundationPiles[static_cast<std::size_t>(f)]); }
    std::optional<TCardFace> ReserveCard(int i) const
    {
        const TCard* card = E.ReserveCards[static_cast<std::size_t>(i)];
        return card ? std::optional<TCardFace>(Face(card)) : std::nullopt;
    }
    int TableauSize(int p) const
    {
        const TPile& pile = E.TableauPiles[static_cast<std::size_t>(p)];
        return pile.back() ? static_cast<int>(pile.size()) : 0;
    }
    bool FoundationHoldsValue(int f, int value) const
    {
        const TPile& pile = E.FoundationPiles[static_cast<std::size_t>(f)];
        return std::any_of(pile.begin(), pile.end(), [value](const TCard* c) { return c && c->Value == value; });
    }
    bool ReserveAllEmpty() const
    {
        return std::all_of(E.ReserveCards.begin(), E.ReserveCards.end(), [](const TCard* c) { return !c; });
    }
    int EmptyColumns() const { return E.EmptyColumns; }
    int EmptyCells() const { return E.EmptyCells; }
    int BaseValue() const { return E.Rules.FoundationBaseCard ? static_cast<int>(E.Rules.FoundationBaseCard->Value) : -1; }

private:
    const TEngine& E;
};

} // namespace

int TEngine::SuperMove(int emptyColumns) const
{
    return SuperMoveCapacity(Rules.TableauRules, EmptyCells, emptyColumns);
}

bool TEngine::ValidDrop(TCard* card, int targetKind, TPilePos target, int sourceKind, TPilePos source)
{
    if (!card)
        return false;
    // A card of the reserve is told apart from the others by its place, as the
    // solver does; a free cell's index is its pile.
    int sourcePile = source.Pile;
    if (sourceKind == pkReserve) {
        const auto it = std::find(ReserveCards.begin(), ReserveCards.end(), card);
        sourcePile = it == ReserveCards.end() ? -1 : static_cast<int>(it - ReserveCards.begin());
    }
    const TDropQuery query{Face(card), targetKind, target.Pile, target.Index, sourceKind, sourcePile, source.Index};
    const TDropVerdict verdict = JudgeDrop(Rules, DropGame(Rules), TEnginePosition(*this), query);
    if (verdict.SetsBase) {
        Rules.FoundationBaseCard = card;
        if (verdict.LabelsBase)
            SetFoundationLabel(RankWord(card->Value));
    }
    return verdict.Accepted;
}
