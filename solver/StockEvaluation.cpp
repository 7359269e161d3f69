#include "solver/StockEvaluation.h"

#include "solver/Blockers.h"

#include <algorithm>
#include <array>

namespace solver {

namespace {

// Measured at 100,000 positions, seeds 1-50, deals won against the general
// evaluation (which weighs how deep the cards the foundations want next lie
// in the tableau): Steps 36 against 16, Squadron 42 against 29, Streets 22
// against 11, Corona 15 against 8, Forty Thieves 11 against 4. A heavier
// weight for a blocker (10, 20) won fewer; so did leaving the depth in.
constexpr int WasteBlockerWeight = 5;
// Beside the general evaluation's quarter point for each card not yet in play.
constexpr int CardsToComeDivisor = 4;

enum class TSuitOrder { None, Up, Down };

// Foundations that take one suit a card at a time in one direction, with no
// wrap and no base card set in play: their order says which card goes first.
TSuitOrder FoundationSuitOrder(const TRuleOptions& f)
{
    if (!f.Contains(roSameSuit) || f.Contains(roFoundationSuitRun) || f.Contains(roBuildUpOrDown)
        || f.Contains(roKingOnAce) || f.Contains(roAceOnKing))
        return TSuitOrder::None;
    for (const TRuleOption option :
         {roFirstCardSetsBase, roEachCardSetsBase, roEmptyBaseRank, roRankIsPileIndex, roClockInsert})
        if (f.Contains(option))
            return TSuitOrder::None;
    if (f.Contains(roBuildUp) == f.Contains(roBuildDown))
        return TSuitOrder::None;
    return f.Contains(roBuildUp) ? TSuitOrder::Up : TSuitOrder::Down;
}

// A waste from which the top card alone is played onto piles that build:
// waste piles that never build have their own score.
bool WasteFeedsTableau(const TSolverGame& g)
{
    return g.Rules.TurnCount >= 1 && !g.OneFoundation && !g.Burleigh && !g.ClickPlay && g.TableauDropTarget
        && !TableauNeverBuilds(g.Rules);
}

} // namespace

TStockWasteWeighing StockWasteWeighing(const TSolverGame& game)
{
    if (!WasteFeedsTableau(game) || FoundationSuitOrder(game.Rules.FoundationRules) == TSuitOrder::None)
        return TStockWasteWeighing::None;
    const TRuleOptions& t = game.Rules.TableauRules;
    // Measured as above: Triple Line won 35 with the depth, 25 without it;
    // Corona 19 against 13.
    const bool refills = t.Contains(roRefillEmpty) && !t.Contains(roEmptyFromReserve);
    return refills ? TStockWasteWeighing::BesideDepth : TStockWasteWeighing::InsteadOfDepth;
}

int StockWasteScore(const TSolverState& s)
{
    const TStack& waste = s.Waste();
    const int toCome = -(s.StockCount() + waste.Count) / CardsToComeDivisor;
    const TSuitOrder order = FoundationSuitOrder(s.Game().Rules.FoundationRules);
    if (waste.Count < 2 || order == TSuitOrder::None)
        return toCome;
    // Ranks counted so that the foundation takes the lower first.
    const auto rank = [order](TCardCode card) { return order == TSuitOrder::Up ? CodeValue(card) : 12 - CodeValue(card); };
    std::array<int, 4> lowestUnder{13, 13, 13, 13};
    int blockers = 0;
    for (int k = 0; k < waste.Count; ++k) {
        const TCardCode card = waste.Cards[static_cast<std::size_t>(k)];
        int& lowest = lowestUnder[static_cast<std::size_t>(CodeSuit(card))];
        if (lowest < rank(card))
            ++blockers;
        lowest = std::min(lowest, rank(card));
    }
    return toCome - WasteBlockerWeight * blockers;
}

} // namespace solver
