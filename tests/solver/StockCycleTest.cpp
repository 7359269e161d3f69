// Where the stock turns onto the waste without end, the depth-first pass
// keys the stock and the waste as one cycle of cards at each turn of it,
// and plays a waste card of the next pass as one move.
#include "SolverTestSupport.h"

#include "solver/DepthFirst.h"

namespace {

using solver::TMoveType;
using solver::TSolverMove;
using solver::TSolverState;
using solver::TVerdict;

class StockCycleTest : public SolverRulesTest {
protected:
    static void Play(TSolverState& state, TMoveType type)
    {
        TSolverMove move;
        move.Type = type;
        solver::ApplyMove(state, move);
    }
};

// Canfield turns three cards at a time: the positions the clicks and the
// redeal reach from the deal's turns share the deal's key, the others not.
TEST_F(StockCycleTest, TheTurnsOfOneCycleShareAKeyAndNoOtherPositionDoes)
{
    const solver::TSolverGame canfield = Rules("Canfield");
    ASSERT_TRUE(solver::StockTurnsInCycle(TSolverState(canfield, Engine->Snapshot())));
    TSolverState state(canfield, Engine->Snapshot());
    state.KeyStockAsCycle();
    const std::uint64_t deal = state.Key();
    while (state.StockCount() > 0) {
        Play(state, TMoveType::StockDeal);
        ASSERT_TRUE(state.AtCycleTurn()) << state.Waste().Count;
        EXPECT_EQ(state.Key(), deal) << state.Waste().Count << " cards turned";
        EXPECT_EQ(state.Key(), state.FreshKey());
    }
    Play(state, TMoveType::Redeal);
    EXPECT_EQ(state.Key(), deal);

    // Another order of the same cards is another cycle.
    TPositionSnapshot swapped = Engine->Snapshot();
    std::swap(swapped.Stock[0], swapped.Stock[1]);
    TSolverState other(canfield, swapped);
    other.KeyStockAsCycle();
    EXPECT_NE(other.Key(), deal);

    // Off the turns (a card taken from the waste), each click is a position of its own.
    TPositionSnapshot played = Engine->Snapshot();
    played.Waste = {CodeTurnedUp(played.Stock.back())};
    played.Stock.pop_back();
    TSolverState off(canfield, played);
    off.KeyStockAsCycle();
    ASSERT_FALSE(off.AtCycleTurn());
    const std::uint64_t before = off.Key();
    Play(off, TMoveType::StockDeal);
    EXPECT_NE(off.Key(), before);
    EXPECT_EQ(off.Key(), off.FreshKey());

    // Klondike turning one card has one pass, Four Seasons too: no cycle.
    for (const char* game : {"Klondike 1 [Turn over 1]", "Four Seasons"}) {
        const solver::TSolverGame rules = Rules(game);
        EXPECT_FALSE(solver::StockTurnsInCycle(TSolverState(rules, Engine->Snapshot()))) << game;
    }
}

// Along random lines of the depth-first pass's moves, waste cards of the
// next pass among them: the engine, fed each move's record, stays in step
// with the solver; each child's key foreseen is its key when played; the kept
// key is the key worked out afresh.
TEST_F(StockCycleTest, CardsOfTheNextPassPlayAsTheEnginePlaysTheirClicksAndRedeal)
{
    for (const char* game : {"Canfield", "Double Canfield", "Superior Canfield"}) {
        int recycled = 0;
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            Deal(game, seed);
            const solver::TSolverGame rules = solver::MakeSolverGame(Engine->Rules);
            TSolverState state(rules, Engine->Snapshot());
            ASSERT_TRUE(solver::StockTurnsInCycle(state)) << game;
            state.KeyStockAsCycle();
            std::vector<TSolverMove> moves;
            for (int step = 0; step < 80; ++step) {
                solver::GenerateMoves(state, solver::TMoveSet::Folded, moves);
                if (moves.empty())
                    break;
                for (const TSolverMove& move : moves) {
                    const std::uint64_t foreseen = solver::KeyAfter(state, move);
                    solver::ApplyMove(state, move);
                    ASSERT_EQ(state.Key(), foreseen) << game << " seed " << seed << ": " << MoveText(move);
                    state.UndoMove();
                }
                // Cards of the next pass first where there are any, so that lines hold many.
                const auto next = std::find_if(moves.begin(), moves.end(), [](const TSolverMove& m) { return m.Recycles; });
                const TSolverMove move =
                    next != moves.end() && step % 2 == 0 ? *next : moves[static_cast<std::size_t>(step * 7 + 3) % moves.size()];
                recycled += move.Recycles ? 1 : 0;
                for (const solver::TRecordAction& a : solver::RecordOf(state, move))
                    Engine->MakeMove(a.Kind, a.Pile, a.DropPoint, a.Position);
                solver::ApplyMove(state, move);
                ASSERT_EQ(Engine->Snapshot(), state.ToSnapshot()) << game << " seed " << seed << " step " << step << ": "
                                                                  << MoveText(move);
                ASSERT_EQ(state.Key(), state.FreshKey()) << game << " seed " << seed << " step " << step;
            }
        }
        EXPECT_GT(recycled, 0) << game;
    }
}

// Positions the depth-first pass calls lost, keying the cycle, hold no win
// for a plain search on the full key, one click at a time.
TEST_F(StockCycleTest, PositionsTheSearchCallsLostHoldNoWin)
{
    for (const char* name : {"Canfield", "Superior Canfield", "Osmosis"}) {
        EXPECT_TRUE(::LostPositionsHoldNoWin(
            name, {2, 60, 6, 3, 120, 7}, *Engine, [&](std::uint32_t seed) { Deal(name, seed); },
            [](const solver::TSolverGame& game, const TSolverState& s) {
                return solver::TDepthFirst(game, s.ToSnapshot(), States(20000)).Run().Verdict == TVerdict::NotWinnable;
            }))
            << name;
    }
}

} // namespace
