#include "solver/BestFirst.h"

#include "solver/Evaluation.h"

#include <algorithm>

namespace solver {

std::vector<TSolverMove> TBestFirst::LineTo(std::uint32_t node, const TSolverMove& last) const
{
    std::vector<TSolverMove> line = Nodes.LineTo(node);
    line.push_back(last);
    return line;
}

// Measured at 100,000 positions, seeds 1-50: newer first won more deals of
// Baker's Dozen, Box Fan, Super Flower Garden, Florentine Tessalyn, Simple
// Simon and Waning Moon; older first many more of the waste-pile games
// (Strategy 50 against 40, Lady Betty 41 against 29, Fly 18 against 6) and
// of Black Hole, whose cards only go home.
bool FollowsLinesFirst(const TSolverGame& game, const TSolverState& start)
{
    return game.TableauDropTarget && start.StockCount() == 0 && start.Waste().Empty();
}

bool FoldsStockCycle(const TSolverState& start)
{
    return StockTurnsInCycle(start) && start.Reserve().Count > 0 && start.StockCount() + start.Waste().Count > 52;
}

// Where every card lies open on piles that build, with no cells and no
// stock, cards shuttle between piles without end: a greedy order follows
// such a line deep into positions that score well and lead nowhere, and
// spends the budget there. Charging each move of the line to a position a
// quarter of a card home makes the pass prefer the shorter way to an equal
// score and come back to shallower positions sooner. (It changes only the
// order: an exhausted pass still dropped no move, and its verdict stays a
// proof.) Measured at 100,000 positions, seeds 1-50, deals won against no
// charge: Baker's Dozen 38 against 31, Box Fan 33 against 24, Shamrocks 30
// against 24, Flower Garden 26 against 18, Scotch Tessalyn 22 against 19,
// Beleaguered Castle 24 against 20, Streets and Alleys 17 against 13, Super
// Flower Garden 29 as many, King Albert 25 against 26. (A tenth of a card
// won 20 deals fewer over these games; a card and more lost many: Baker's
// Dozen 7 of 50 at a card.) Seeds 51-100 of the same games: 239 won against
// 222. Free-cell games are left out: a tenth of a card won Freecell 4x8 and
// 5x6 seven deals more but lost one of plain Freecell's. Over all 86 games
// dealt open without a stock, seeds 1-50: 2,990 deals won against 2,932,
// the same proved lost; a deal fewer won in Fan, Butcher's Knife, King
// Albert and Somerset, 9 more in Good Measure, 5 in Flyaway Home.
// Deals with face-down cards are left out too: there a line turns cards
// up, and charged for its length, the pass lost Double Scorpion 9 deals of
// 31. So are foundations that take whole suits: their cards go home
// thirteen at a time, after long lines the charge outweighs (Simple Simon
// won no deal of 50 with it against 43).
int LineMoveCost(const TSolverGame& game, const TSolverState& start)
{
    constexpr int QuarterOfACardHome = 400;
    const bool cardsGoHomeOneByOne = !game.Rules.FoundationRules.Contains(roFoundationSuitRun);
    return FollowsLinesFirst(game, start) && !game.Rules.FreeCells && start.TableauFaceUp() && cardsGoHomeOneByOne
        ? QuarterOfACardHome
        : 0;
}

TSolveResult TBestFirst::Run()
{
    TSolveResult result;
    const auto finish = [&](TVerdict verdict) { return Meter.Finish(result, verdict); };
    if (IsWon(State))
        return finish(TVerdict::Winnable);
    // The open positions, best first; among equals the newer or the older one.
    TOpen open;
    Table.Insert(State.Key());
    Nodes.Add(0, {});
    Nodes.Encode(State, 0);
    open.emplace(0, 0);
    std::vector<TSolverMove> moves;
    struct TChildKey {
        bool Ahead; // keyed without playing the move
        std::uint64_t Key;
    };
    std::vector<TChildKey> keys;
    TEvaluation evaluation(State, WasteCardWeight);
    // The node the state stands at: each expansion leaves it there (its
    // children are taken back), and the next node is often one of them.
    std::uint32_t at = 0;
    while (!open.empty()) {
        if (Meter.Spent() || MemorySpent(open))
            return finish(TVerdict::Unknown);
        const std::uint32_t node = open.top().second;
        open.pop();
        Nodes.Restore(State, node, at);
        at = node;
        // A position proved lost is dropped as if searched to its end.
        if (DeadEnds.IsLost(State))
            continue;
        Nodes.Encode(State, node);
        Meter.Count();
        GenerateMoves(State, State.StockKeyedAsCycle() ? TMoveSet::Folded : TMoveSet::Search, moves);
        for (const TSolverMove& move : moves) {
            if (IsSafeAutoMove(State, move)) {
                const TSolverMove only = move;
                moves.assign(1, only);
                break;
            }
        }
        // Every child is keyed first (most without playing them), its slot in
        // the table fetched meanwhile; then only the new ones are played and scored.
        evaluation.Reset(State);
        // A move that is keyed only by playing it is keyed when it is played.
        keys.clear();
        for (const TSolverMove& move : moves) {
            const std::optional<std::uint64_t> key = KeyAhead(State, move);
            keys.push_back({key.has_value(), key.value_or(0)});
            if (key)
                Table.Prefetch(*key);
        }
        for (std::size_t c = 0; c < moves.size(); ++c) {
            // A won position is never in the table: it ends the search when met.
            if (keys[c].Ahead && !Table.Insert(keys[c].Key))
                continue;
            const TSolverMove& move = moves[c];
            // The move's score reads the piles it leaves, so before it is made.
            const int moveScore = MoveScore(State, move);
            ApplyMove(State, move);
            if (IsWon(State)) {
                result.Line = LineTo(node, move);
                return finish(TVerdict::Winnable);
            }
            if (!keys[c].Ahead && !Table.Insert(State.Key())) {
                State.UndoMove();
                continue;
            }
            const std::uint32_t lineMoves = Nodes[node].Extra.Moves + 1;
            const std::int64_t value = std::int64_t{evaluation.AfterMove(State)} * 16 + moveScore
                - std::int64_t{MoveCost} * lineMoves;
            State.UndoMove();
            const std::uint32_t child = Nodes.Add(node, move, {lineMoves});
            // The counter breaks ties.
            const std::int64_t order = NewerFirst ? std::int64_t{child} : -std::int64_t{child};
            open.emplace(value * 4194304 + order, child);
        }
        if (Table.Full())
            return finish(TVerdict::Unknown);
    }
    return finish(TVerdict::NotWinnable);
}

} // namespace solver
