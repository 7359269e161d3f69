// The best-first pass's order where every card lies open: the charge on
// each move of a line falls on those games alone, and the pass keeps its
// verdicts sound and its lines playable under it.
#include "SolverTestSupport.h"

#include "solver/BestFirst.h"

namespace {

using solver::TVerdict;

class BestFirstTest : public SolverRulesTest {
protected:
    int MoveCostOf(const std::string& game)
    {
        Deal(game, 1);
        const solver::TSolverGame rules = solver::MakeSolverGame(Engine->Rules);
        return solver::LineMoveCost(rules, solver::TSolverState(rules, Engine->Snapshot()));
    }
};

TEST_F(BestFirstTest, MovesOfALineCostOnlyWhereCardsLieOpenWithoutCellsOrStock)
{
    for (const char* open : {"Baker's Dozen", "Box Fan", "Flower Garden", "Beleaguered Castle"})
        EXPECT_GT(MoveCostOf(open), 0) << open;
    // Whole suits home, face-down cards, cells, a stock, a waste: their orders were tuned without the charge.
    for (const char* other : {"Simple Simon", "Double Scorpion", "Yukon", "Freecell", "Klondike 1 [Turn over 1]", "Spider", "Forty Thieves", "Canfield", "Fly"})
        EXPECT_EQ(MoveCostOf(other), 0) << other;
}

// Lines won under the charge load in the engine as won games (the line is
// rebuilt from the nodes' parents, which now carry their lengths too).
TEST_F(BestFirstTest, OpenGamesLinesWonUnderTheChargeLoadAsWonGames)
{
    int won = 0;
    for (const char* name : {"Baker's Dozen", "Box Fan"}) {
        for (std::uint32_t seed = 1; seed <= 4; ++seed) {
            Deal(name, seed);
            const solver::TSolverGame rules = solver::MakeSolverGame(Engine->Rules);
            constexpr std::size_t MemoryBytes = std::size_t{16} << 20;
            const solver::TSolveResult result = solver::TBestFirst(rules, Engine->Snapshot(), States(20000), MemoryBytes).Run();
            if (result.Verdict != TVerdict::Winnable)
                continue;
            ++won;
            TSavedGame saved;
            saved.GameName = name;
            saved.Seed = seed;
            solver::TSolverState state(rules, Engine->Snapshot());
            for (const solver::TSolverMove& move : result.Line) {
                for (const solver::TRecordAction& a : solver::RecordOf(state, move))
                    saved.Actions.push_back({a.Kind, a.Pile, a.Position, a.DropPoint});
                solver::ApplyMove(state, move);
            }
            EXPECT_TRUE(solver::IsWon(state)) << name << " seed " << seed;
            EXPECT_TRUE(Engine->LoadGame(saved) && Engine->GameWon) << name << " seed " << seed;
        }
    }
    EXPECT_GE(won, 2);
}

// Positions off won lines of open games that the pass, searched to its end,
// calls lost hold no win for a plain search.
TEST_F(BestFirstTest, OpenGamesLossesHoldNoWin)
{
    for (const char* name : {"Baker's Dozen", "Beleaguered Castle"}) {
        const auto deal = [&](std::uint32_t seed) { Deal(name, seed); };
        const auto lost = [](const solver::TSolverGame& game, const solver::TSolverState& s) {
            constexpr std::size_t MemoryBytes = std::size_t{16} << 20;
            return solver::TBestFirst(game, s.ToSnapshot(), States(20000), MemoryBytes).Run().Verdict
                == TVerdict::NotWinnable;
        };
        EXPECT_TRUE(LostPositionsHoldNoWin(name, {1, 60, 6, 3, 120, 5}, *Engine, deal, lost)) << name;
    }
}

} // namespace
