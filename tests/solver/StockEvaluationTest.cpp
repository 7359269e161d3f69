// The best-first pass's share for the games whose stock turns onto a waste.
#include "SolverTestSupport.h"

#include "solver/Search.h"
#include "solver/StockEvaluation.h"

namespace {

class StockEvaluationTest : public SolverRulesTest {
protected:
    int WasteScore(const std::string& name, const TCardCodes& waste)
    {
        Deal(name, 1);
        const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
        TPositionSnapshot p = Engine->Snapshot();
        p.Waste = waste;
        return solver::StockWasteScore(solver::TSolverState(game, p));
    }
};

// Each waste card above a card its foundation takes first costs the same,
// whatever lies between them; the other suits' cards and twins are no block.
TEST_F(StockEvaluationTest, AWasteCardAboveOneItsFoundationTakesFirstCosts)
{
    const std::string klondike = "Klondike 1 [Turn over 1]";
    const int free = WasteScore(klondike, {Up(6, 0), Up(4, 0)});
    const int one = WasteScore(klondike, {Up(4, 0), Up(6, 0)}) - free;
    EXPECT_LT(one, 0);
    EXPECT_EQ(WasteScore(klondike, {Up(4, 0), Up(9, 2), Up(6, 0), Up(11, 0)}),
              WasteScore(klondike, {Up(11, 0), Up(6, 0), Up(9, 2), Up(4, 0)}) + 2 * one);
    EXPECT_EQ(WasteScore(klondike, {Up(4, 1), Up(6, 0)}), free);
    const int twins = WasteScore("Forty Thieves", {Up(4, 0), Up(4, 0)});
    EXPECT_EQ(WasteScore("Forty Thieves", {Up(5, 0), Up(4, 0)}), twins);
    EXPECT_EQ(WasteScore("Forty Thieves", {Up(4, 0), Up(5, 0)}), twins + one);
}

// Waste piles that never build, stocks dealt onto every pile and
// foundations whose base is set in play are weighed as before.
TEST_F(StockEvaluationTest, OnlyAWasteThatFeedsBuildingPilesIsScored)
{
    for (const char* name : {"Sir Tommy", "Lady Betty", "Spider", "Freecell", "Canfield"}) {
        Deal(name, 1);
        EXPECT_EQ(solver::StockWasteWeighing(solver::MakeSolverGame(Engine->Rules)), solver::TStockWasteWeighing::None)
            << name;
    }
    for (const char* name : {"Klondike 1 [Turn over 1]", "Forty Thieves", "Streets"}) {
        Deal(name, 1);
        EXPECT_EQ(solver::StockWasteWeighing(solver::MakeSolverGame(Engine->Rules)),
                  solver::TStockWasteWeighing::InsteadOfDepth)
            << name;
    }
    // Piles that fill themselves from the waste keep the depth beside it.
    for (const char* name : {"Corona", "Triple Line"}) {
        Deal(name, 1);
        EXPECT_EQ(solver::StockWasteWeighing(solver::MakeSolverGame(Engine->Rules)), solver::TStockWasteWeighing::BesideDepth)
            << name;
    }
}

// Games dealt without a stock have a turn count too; with no waste to come
// they keep the depth of the wanted cards. Flyaway Home's fourth deal is won
// within a few hundred positions that way; weighed as a waste game it was
// still unknown at 100,000.
TEST_F(StockEvaluationTest, AGameDealtWithoutAStockKeepsTheGeneralWeighing)
{
    Deal("Flyaway Home", 4);
    ASSERT_TRUE(Engine->Snapshot().Stock.empty());
    const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
    solver::TSolveBudget budget;
    budget.MaxStates = 2000;
    EXPECT_EQ(solver::Solve(game, Engine->Snapshot(), budget).Verdict, solver::TVerdict::Winnable);
}

// The best-first pass looks at such a game twice, the second time with the
// cards dealt to the waste and not played weighed heavily, on an eighth of
// the budget. Forty Thieves' 19th deal is won that way within a few thousand
// positions (the first look and the depth-first pass leave it unknown at
// 100,000), the line replays, and the looks and the depth-first pass
// together keep to the budget where nothing is won.
TEST_F(StockEvaluationTest, ASecondLookWeighingTheWasteWinsWhatTheFirstMisses)
{
    Deal("Forty Thieves", 19);
    const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
    const solver::TSolveResult won = solver::Solve(game, Engine->Snapshot(), States(40000));
    ASSERT_EQ(won.Verdict, solver::TVerdict::Winnable);
    EXPECT_LE(won.States, 40000);
    for (const solver::TRecordAction& a : won.Record)
        Engine->MakeMove(a.Kind, a.Pile, a.DropPoint, a.Position);
    EXPECT_TRUE(Engine->GameWon);

    Deal("Forty Thieves", 1);
    const solver::TSolveResult open = solver::Solve(game, Engine->Snapshot(), States(20000));
    EXPECT_EQ(open.Verdict, solver::TVerdict::Unknown);
    EXPECT_EQ(open.States, 20000);
}

} // namespace
