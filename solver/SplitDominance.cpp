#include "solver/SplitDominance.h"

namespace solver {

TSplitDominance::TSplitDominance(const TSolverGame& game, const TSolverState& start) : Game(&game)
{
    const TGameRules& r = game.Rules;
    const TRuleOptions& t = r.TableauRules;
    const TRuleOptions& f = r.FoundationRules;
    const bool special =
        game.ClickPlay || game.TheClock || game.AcesUp || game.OneFoundation || game.Burleigh || game.FourColours;
    // Whether a card may go home reads the foundation's top alone (no base card set in play).
    const bool plainHome = game.FoundationBuildsPlain && game.FoundationEmptyBySourceKnown
        && !f.Contains(roFirstCardSetsBase) && !f.Contains(roEachCardSetsBase) && !f.Contains(roEmptyBaseRank)
        && !f.Contains(roFoundationSuitRun) && !f.Contains(roClockInsert);
    const bool neverBack = !f.Contains(roTakeFromFoundation) && !t.Contains(roTakeFromFoundation)
        && !r.DeckRules.Contains(roTakeFromFoundation);
    // A stock that deals onto the tableau or gathers it would lay cards on
    // both stacks or take them up, which the mirrors do not follow.
    const bool stockKeepsOff = r.TurnCount >= 0;
    const bool oneRankOneWay = t.Contains(roBuildDown) != t.Contains(roBuildUp) && !t.Contains(roKingOnAce)
        && !t.Contains(roAceOnKing) && !t.Contains(roBuildHigher) && !t.Contains(roBuildLower);
    Holds = !special && oneRankOneWay && game.TableauDropTarget && game.TableauBuildsPlain && plainHome && neverBack && stockKeepsOff
        && t.Contains(roMoveFaceUpGroups) && !t.Contains(roMoveSequences) && !r.FreeCells && r.ExceptCount == 0
        && !t.Contains(roRefillEmpty) && !t.Contains(roRefillFromStock) && StacksAreRuns(start);
}

// Every face-up card lying on another lies on it by the building rule.
bool TSplitDominance::StacksAreRuns(const TSolverState& s) const
{
    const TSolverGame& g = *Game;
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        for (int k = 1; k < pile.Count; ++k) {
            const TCardCode lower = pile.Cards[static_cast<std::size_t>(k - 1)];
            const TCardCode upper = pile.Cards[static_cast<std::size_t>(k)];
            if (CodeFaceUp(lower) && CodeFaceUp(upper)
                && ((g.TableauTopsFor[static_cast<std::size_t>(CodeIdentity(upper))] >> CodeIdentity(lower)) & 1u) == 0)
                return false;
        }
    }
    return true;
}

// Same rank, the same cards fit on each, and each fits on the same cards.
bool TSplitDominance::PlayAlike(TCardCode a, TCardCode b) const
{
    const auto ia = static_cast<std::size_t>(CodeIdentity(a));
    const auto ib = static_cast<std::size_t>(CodeIdentity(b));
    const TSolverGame& g = *Game;
    return CodeValue(a) == CodeValue(b) && g.TableauFits[ia] == g.TableauFits[ib]
        && g.TableauTopsFor[ia] == g.TableauTopsFor[ib];
}

bool TSplitDominance::CouldGoHome(const TSolverState& s, TCardCode card) const
{
    const TSolverGame& g = *Game;
    const auto id = static_cast<std::size_t>(CodeIdentity(card));
    for (int f = 0; f < s.FoundationCount(); ++f) {
        const TStack& home = s.Foundation(f);
        if (home.Empty() ? ((g.FoundationEmptyBySource[pkTableau] >> CodeValue(card)) & 1u) != 0
                         : ((g.FoundationTopsFor[id] >> CodeIdentity(home.Top())) & 1u) != 0)
            return true;
    }
    return false;
}

bool TSplitDominance::Dominated(const TSolverState& s, const TSolverMove& move) const
{
    if (!Holds || move.Type != TMoveType::Drag || move.Deals > 0 || move.SourceKind != pkTableau
        || move.TargetKind != pkTableau || move.SourceIndex == 0)
        return false;
    // A stock dealing onto the piles (with no rule of its own here) stays out.
    if (s.Game().Rules.TurnCount < 1 && (s.StockCount() > 0 || s.Counters.RedealOffered))
        return false;
    const TStack& from = s.Tableau(move.SourcePile);
    const TStack& onto = s.Tableau(move.TargetPile);
    if (onto.Empty() || move.SourcePile == move.TargetPile)
        return false;
    const TCardCode uncovered = from.Cards[move.SourceIndex - 1u];
    return CodeFaceUp(uncovered) && PlayAlike(uncovered, onto.Top()) && !CouldGoHome(s, uncovered);
}

} // namespace solver
