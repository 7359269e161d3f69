// The beam over a stock's turns: which games it fits, that it wins through
// the stock, and that it gives up (never "not winnable") where it cannot.
#include "SolverTestSupport.h"

#include "solver/WasteBeam.h"

namespace {

using solver::TVerdict;

class WasteBeamTest : public SolverRulesTest {
protected:
    // Klondike near its end: every suit home but spades, home to the eight;
    // the spade jack, queen and king still in the stock, `pile` on the table.
    static TPositionSnapshot NearlyHome(const TCardCodes& pile)
    {
        TPositionSnapshot p;
        p.Tableau.assign(7, {});
        p.Tableau[0] = pile;
        p.Foundations = {SuitRun(0, 0, 7), SuitRun(1, 0, 12), SuitRun(2, 0, 12), SuitRun(3, 0, 12)};
        p.FoundationCards = 8 + 3 * 13;
        p.Stock = {Up(10, 0), Up(11, 0), Up(12, 0)};
        return p;
    }
};

TEST_F(WasteBeamTest, FitsStocksTurnedOntoAWasteInLimitedPasses)
{
    EXPECT_TRUE(solver::TurnsOntoWasteInPasses(Rules("Forty Thieves")));
    EXPECT_TRUE(solver::TurnsOntoWasteInPasses(Rules("Octagon"))); // three passes
    // An emptied pile that takes only a king: left to the exhaustive passes.
    EXPECT_FALSE(solver::TurnsOntoWasteInPasses(Rules("Klondike 1 [Turn over 1]")));
    EXPECT_FALSE(solver::TurnsOntoWasteInPasses(Rules("Gargantua")));
    // So with one pack dealt face up; with two the exhaustive passes prove nothing.
    EXPECT_FALSE(solver::TurnsOntoWasteInPasses(Rules("Australian Tessalyn")));
    EXPECT_TRUE(solver::TurnsOntoWasteInPasses(Rules("Lady Palk")));
    // Piles that take no card but fill themselves from the waste.
    EXPECT_TRUE(solver::TurnsOntoWasteInPasses(Rules("Kingdom")));
    // Passes without end: no clock that only runs forward.
    EXPECT_FALSE(solver::TurnsOntoWasteInPasses(Rules("Klondike 2 [Turn over 3]")));
    // Deals onto every pile, or no stock at all.
    EXPECT_FALSE(solver::TurnsOntoWasteInPasses(Rules("Spider")));
    EXPECT_FALSE(solver::TurnsOntoWasteInPasses(Rules("Freecell")));

    Deal("Forty Thieves", 1);
    EXPECT_TRUE(solver::WasteBeamFits(solver::MakeSolverGame(Engine->Rules), Engine->Snapshot()));
    // Nothing left to turn: nothing to stage.
    TPositionSnapshot turned = Engine->Snapshot();
    turned.Waste.insert(turned.Waste.end(), turned.Stock.begin(), turned.Stock.end());
    turned.Stock.clear();
    EXPECT_FALSE(solver::WasteBeamFits(solver::MakeSolverGame(Engine->Rules), turned));
}

TEST_F(WasteBeamTest, WinsThroughTheStockAndGivesUpWithoutAVerdictWhereNoWinIs)
{
    const solver::TSolverGame klondike = Rules("Klondike 1 [Turn over 1]");
    // The nine goes home, then the ten; each card turned follows.
    const TPositionSnapshot winnable = NearlyHome({Up(9, 0), Up(8, 0)});
    const solver::TSolveResult won = solver::TWasteBeam(klondike, winnable, States(10000)).Run();
    ASSERT_EQ(won.Verdict, TVerdict::Winnable);
    solver::TSolverState replay(klondike, winnable);
    for (const solver::TSolverMove& move : won.Line)
        solver::ApplyMove(replay, move);
    EXPECT_TRUE(solver::IsWon(replay));
    EXPECT_EQ(std::count_if(won.Line.begin(), won.Line.end(),
                            [](const solver::TSolverMove& m) { return m.Type == solver::TMoveType::StockDeal; }),
              3);

    // The ten lies on the nine and no pile takes it: lost. The beam searched
    // every position, so it stops at once rather than widening until the
    // budget runs out; and it proves nothing, so it says so.
    const TPositionSnapshot lost = NearlyHome({Up(8, 0), Up(9, 0)});
    const solver::TSolveResult gaveUp = solver::TWasteBeam(klondike, lost, States(100000)).Run();
    EXPECT_EQ(gaveUp.Verdict, TVerdict::Unknown);
    EXPECT_LT(gaveUp.States, 100);
    std::unordered_set<std::uint64_t> seen;
    int budget = 10000;
    solver::TSolverState state(klondike, lost);
    EXPECT_FALSE(WinReachable(state, seen, budget));
    EXPECT_GT(budget, 0);
}

} // namespace
