#include "solver/HomeOnly.h"

#include "solver/StagedSearch.h"

#include <algorithm>

namespace solver {

THomeOnly::THomeOnly(const TSolverGame& game)
{
    const TGameRules& r = game.Rules;
    const TRuleOptions& f = r.FoundationRules;
    bool anySuit = true;
    for (const TRuleOption option : {roSameSuit, roAlternateColour, roSameColour, roOtherSuit})
        anySuit = anySuit && !f.Contains(option);
    bool fixedOrder = f.Contains(roBuildUp);
    for (const TRuleOption option : {roBuildDown, roBuildUpOrDown, roKingOnAce, roAceOnKing, roFirstCardSetsBase,
                                     roEachCardSetsBase, roEmptyBaseRank, roRankIsPileIndex, roClockInsert,
                                     roTakeFromFoundation, roFoundationSuitRun})
        fixedOrder = fixedOrder && !f.Contains(option);
    // Only an Ace starts a foundation (or the Aces are there from the deal).
    const bool acesStart = game.FoundationEmptyValues == 1u;
    Fits = DealsOntoEveryPile(game) && !game.TableauDropTarget && game.FoundationDropTarget && r.DeckPasses == 1
        && r.ReserveCount == 0 && r.ExceptCount == 0 && !r.FreeCells && !r.TableauRules.Contains(roTakeFromFoundation)
        && anySuit && fixedOrder && acesStart;
}

bool THomeOnly::GoesHomeAtOnce(const TSolverState& s, const TSolverMove& move) const
{
    if (!Fits || move.Type != TMoveType::Drag || move.SourceKind != pkTableau || move.TargetKind != pkFoundation
        || move.Deals > 0)
        return false;
    const TStack& from = s.Tableau(move.SourcePile);
    if (move.SourceIndex + 1 != from.Count)
        return false;
    const int rank = CodeValue(from.Cards[move.SourceIndex]);
    int openings = 0;
    for (int f = 0; f < s.FoundationCount(); ++f) {
        const TStack& home = s.Foundation(f);
        openings += (home.Empty() ? -1 : CodeValue(home.Top())) == rank - 1 ? 1 : 0;
    }
    int stillOut = 0;
    for (int p = 0; p < s.TableauCount(); ++p)
        for (int k = 0; k < s.Tableau(p).Count; ++k)
            stillOut += CodeValue(s.Tableau(p).Cards[static_cast<std::size_t>(k)]) == rank ? 1 : 0;
    for (int k = 0; k < s.Stock().Count; ++k)
        stillOut += CodeValue(s.Stock().Cards[static_cast<std::size_t>(k)]) == rank ? 1 : 0;
    for (int k = 0; k < s.Waste().Count; ++k)
        stillOut += CodeValue(s.Waste().Cards[static_cast<std::size_t>(k)]) == rank ? 1 : 0;
    return openings >= stillOut;
}

bool THomeOnly::IsLost(const TSolverState& s) const
{
    if (!Fits || s.Waste().Count > 0 || s.Reserve().Count > 0)
        return false;
    // The cards still out, by rank.
    std::array<int, 13> out{};
    for (int p = 0; p < s.TableauCount(); ++p)
        for (int k = 0; k < s.Tableau(p).Count; ++k)
            ++out[static_cast<std::size_t>(CodeValue(s.Tableau(p).Cards[static_cast<std::size_t>(k)]))];
    for (int k = 0; k < s.Stock().Count; ++k)
        ++out[static_cast<std::size_t>(CodeValue(s.Stock().Cards[static_cast<std::size_t>(k)]))];
    // The foundations' tops, an empty one as −1.
    std::array<bool, 14> topAt{}; // by top + 1
    for (int f = 0; f < s.FoundationCount(); ++f) {
        const TStack& home = s.Foundation(f);
        topAt[static_cast<std::size_t>(home.Empty() ? 0 : CodeValue(home.Top()) + 1)] = true;
    }
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        std::array<int, 13> under{};
        for (int k = 0; k < pile.Count; ++k) {
            const int rank = CodeValue(pile.Cards[static_cast<std::size_t>(k)]);
            // The highest rank below X's whose every card still out lies under X.
            int sealed = -1;
            for (int q = rank - 1; q >= 0 && sealed < 0; --q)
                if (out[static_cast<std::size_t>(q)] > 0 && under[static_cast<std::size_t>(q)] == out[static_cast<std::size_t>(q)])
                    sealed = q;
            if (sealed >= 0) {
                // A foundation whose top lies in [sealed, rank − 1] could still take X.
                bool reachable = false;
                for (int top = sealed; top <= rank - 1 && !reachable; ++top)
                    reachable = topAt[static_cast<std::size_t>(top + 1)];
                if (!reachable)
                    return true;
            }
            ++under[static_cast<std::size_t>(rank)];
        }
    }
    return false;
}

bool THomeOnlySearch::Visit(std::size_t depth)
{
    if (Meter.Spent()) {
        Stopped = true;
        return false;
    }
    Meter.Count();
    if (Proof.IsLost(State))
        return false;
    if (MovesAt.size() <= depth)
        MovesAt.emplace_back();
    // (a reference into MovesAt would not survive the deeper levels' growth)
    GenerateMoves(State, TMoveSet::Search, MovesAt[depth]);
    for (const TSolverMove& move : MovesAt[depth])
        if (Proof.GoesHomeAtOnce(State, move)) {
            MovesAt[depth].assign(1, TSolverMove(move));
            break;
        }
    for (std::size_t m = 0; m < MovesAt[depth].size(); ++m) {
        const TSolverMove move = MovesAt[depth][m];
        // Every move sends a card home or deals, so no line meets a position
        // twice: a full table may be emptied (positions are then searched
        // again, never skipped).
        if (Table.Full())
            Table.Clear();
        if (!Table.Insert(KeyAfter(State, move)))
            continue;
        ApplyMove(State, move);
        Line.push_back(move);
        if (IsWon(State) || Visit(depth + 1))
            return true;
        Line.pop_back();
        State.UndoMove();
        if (Stopped)
            return false;
    }
    return false;
}

TSolveResult THomeOnlySearch::Run()
{
    TSolveResult result;
    const bool won = IsWon(State) || Visit(0);
    if (won)
        result.Line = Line;
    return Meter.Finish(result, won ? TVerdict::Winnable : Stopped ? TVerdict::Unknown : TVerdict::NotWinnable);
}

} // namespace solver
