// The stock games: cards that block the ones a foundation needs first, the
// best-first pass laying a stock out, and Aces Up's discards.
#include "SolverTestSupport.h"

#include "solver/AcesUp.h"
#include "solver/Blockers.h"
#include "solver/Evaluation.h"
#include "solver/Search.h"

namespace {

using solver::TVerdict;

class StockGamesTest : public SolverRulesTest {};

// Lady Betty builds home by suit, Sir Tommy in any suit; both lay the stock
// on waste piles that never give a card to another pile.
TEST_F(StockGamesTest, ACardAboveOneItsFoundationNeedsFirstIsHopeless)
{
    const solver::TSolverGame betty = Rules("Lady Betty");
    TPositionSnapshot p;
    p.Tableau.assign(6, {});
    p.Foundations.assign(4, {});
    p.Tableau[0] = {Up(2, 3), Up(6, 3)}; // the 7 of spades on the 3
    EXPECT_TRUE(solver::HopelesslyBlocked(solver::TSolverState(betty, p)));
    p.Tableau[0] = {Up(6, 3), Up(2, 3)};
    EXPECT_FALSE(solver::HopelesslyBlocked(solver::TSolverState(betty, p)));
    p.Tableau[0] = {Up(2, 1), Up(6, 3)}; // another suit's card is no block
    EXPECT_FALSE(solver::HopelesslyBlocked(solver::TSolverState(betty, p)));

    // Any suit: the five waits for a two, and every two is under it ...
    const solver::TSolverGame tommy = Rules("Sir Tommy");
    TPositionSnapshot q;
    q.Tableau.assign(4, {});
    q.Foundations.assign(4, {});
    q.Tableau[1] = {Up(1, 0), Up(1, 1), Up(1, 2), Up(1, 3), Up(4, 0)};
    EXPECT_TRUE(solver::HopelesslyBlocked(solver::TSolverState(tommy, q)));
    // ... unless a foundation already holds one and can climb to the five.
    q.Tableau[1] = {Up(1, 1), Up(1, 2), Up(1, 3), Up(4, 0)};
    q.Foundations[0] = {Up(0, 0), Up(1, 0)};
    EXPECT_FALSE(solver::HopelesslyBlocked(solver::TSolverState(tommy, q)));
    // A foundation past the five cannot take it: a two is needed again.
    q.Foundations[0] = SuitRun(0, 0, 5);
    q.Tableau[1] = {Up(1, 1), Up(1, 2), Up(1, 3), Up(4, 2)};
    EXPECT_TRUE(solver::HopelesslyBlocked(solver::TSolverState(tommy, q)));

    // The twos may lie in several piles, each under a card that waits for one.
    q.Foundations.assign(4, {});
    q.Tableau = {{Up(1, 0), Up(8, 1)}, {Up(1, 1), Up(1, 2), Up(3, 3)}, {Up(1, 3), Up(12, 0)}, {}};
    EXPECT_TRUE(solver::HopelesslyBlocked(solver::TSolverState(tommy, q)));
    // One two on top is enough to go on.
    q.Tableau[2] = {Up(12, 0), Up(1, 3)};
    EXPECT_FALSE(solver::HopelesslyBlocked(solver::TSolverState(tommy, q)));

    // Where tableau cards move on, nothing is hopeless this way.
    const solver::TSolverGame klondike = Rules("Klondike 1 [Turn over 1]");
    TPositionSnapshot k;
    k.Tableau.assign(7, {});
    k.Foundations.assign(4, {});
    k.Tableau[0] = {Up(2, 3), Up(6, 3)};
    EXPECT_FALSE(solver::HopelesslyBlocked(solver::TSolverState(klondike, k)));
}

// The prune is what proves it: twenty stock cards laid six ways each are
// far beyond the budget, a spade blocked at the bottom settles it at once.
TEST_F(StockGamesTest, ABlockedDealIsProvedLostWithoutLayingOutTheStock)
{
    const solver::TSolverGame betty = Rules("Lady Betty");
    TPositionSnapshot p;
    p.Tableau.assign(6, {});
    p.Tableau[0] = {Up(3, 3), Up(4, 3)};
    p.Foundations = {SuitRun(0, 0, 12), SuitRun(1, 0, 2), SuitRun(2, 0, 12), SuitRun(3, 0, 2)};
    p.FoundationCards = 32;
    for (int v = 12; v >= 3; --v)
        p.Stock.push_back(MakeCardCode(v, 1, false));
    for (int v = 12; v >= 5; --v)
        p.Stock.push_back(MakeCardCode(v, 3, false));
    const solver::TSolveResult lost = solver::Solve(betty, p, States(2000));
    EXPECT_EQ(lost.Verdict, TVerdict::NotWinnable);
    EXPECT_LT(lost.States, 10);
    // The player still has every move.
    EXPECT_TRUE(solver::HasAnyMove(betty, p));

    // With the two spades the other way round the same stock is won.
    p.Tableau[0] = {Up(4, 3), Up(3, 3)};
    const solver::TSolveResult won = solver::Solve(betty, p, States(20000));
    EXPECT_EQ(won.Verdict, TVerdict::Winnable);
}

// Waste piles that never build: the pass must keep them falling in rank
// (Strategy lays the whole stock out before anything goes home). Real deals
// are won in a few hundred positions, and the engine replays the line to a win.
TEST_F(StockGamesTest, WastePileDealsAreWonQuicklyAndReplay)
{
    const std::vector<std::pair<std::string, std::uint32_t>> deals = {
        {"Strategy", 1}, {"Strategy", 2}, {"Strategy", 3}, {"Fly", 2}};
    for (const auto& [game, seed] : deals) {
        Deal(game, seed);
        const solver::TSolveResult result =
            solver::Solve(solver::MakeSolverGame(Engine->Rules), Engine->Snapshot(), States(3000));
        ASSERT_EQ(result.Verdict, TVerdict::Winnable) << game << " seed " << seed;
        for (const solver::TRecordAction& a : result.Record)
            Engine->MakeMove(a.Kind, a.Pile, a.DropPoint, a.Position);
        EXPECT_TRUE(Engine->GameWon) << game << " seed " << seed;
    }
}

// Aces Up's discards land on one pile in the order they are made: the order
// must not make two positions of one.
TEST_F(StockGamesTest, AcesUpDiscardsInAnyOrderAreOnePosition)
{
    const solver::TSolverGame acesUp = Rules("Aces Up");
    TPositionSnapshot a;
    a.Tableau = {{Up(0, 0)}, {Up(0, 1)}, {Up(0, 2)}, {Up(0, 3)}};
    a.Foundations = {{Up(4, 0), Up(7, 1), Up(2, 2)}};
    a.FoundationCards = 3;
    TPositionSnapshot b = a;
    b.Foundations = {{Up(2, 2), Up(4, 0), Up(7, 1)}};
    EXPECT_EQ(solver::TSolverState(acesUp, a).Key(), solver::TSolverState(acesUp, b).Key());
    b.Foundations = {{Up(2, 2), Up(4, 0), Up(8, 1)}};
    EXPECT_NE(solver::TSolverState(acesUp, a).Key(), solver::TSolverState(acesUp, b).Key());
}

// A discard is made at once only when the card can never be needed to
// discard another: every lower card of its suit is gone.
TEST_F(StockGamesTest, AnAcesUpDiscardIsForcedOnlyWhenNoLowerCardOfItsSuitIsLeft)
{
    const solver::TSolverGame acesUp = Rules("Aces Up");
    TPositionSnapshot p;
    // The four of spades under the King of spades' eye, the three still in play.
    p.Tableau = {{Up(3, 3)}, {Up(12, 3)}, {Up(2, 3)}, {Up(0, 1)}};
    p.Foundations = {{Up(1, 3)}};
    p.FoundationCards = 1;
    solver::TSolverMove four;
    four.SourceKind = pkTableau;
    four.SourcePile = 0;
    four.TargetKind = pkFoundation;
    const solver::TSolverState withThree(acesUp, p);
    EXPECT_FALSE(solver::AcesUpDiscardIsSafe(withThree, four));
    EXPECT_FALSE(solver::IsSafeAutoMove(withThree, four));
    // The three is the lowest spade left: its discard is safe.
    solver::TSolverMove three = four;
    three.SourcePile = 2;
    EXPECT_TRUE(solver::IsSafeAutoMove(withThree, three));
    // With the three gone the four is safe too; an Ace never goes.
    p.Tableau[2] = {Up(0, 3)};
    p.Foundations = {{Up(1, 3), Up(2, 3)}};
    const solver::TSolverState threeGone(acesUp, p);
    EXPECT_TRUE(solver::IsSafeAutoMove(threeGone, four));
    three.SourcePile = 2;
    EXPECT_FALSE(solver::IsSafeAutoMove(threeGone, three));
}

// Black Widow moves runs of any suit but takes only whole suits home: the
// staged pass must prefer a run in suit to one of mixed suits.
TEST_F(StockGamesTest, TheStagedPassPrefersRunsInSuitWhereOnlyWholeSuitsGoHome)
{
    const solver::TSolverGame widow = Rules("Black Widow");
    TPositionSnapshot suited;
    suited.Tableau.assign(10, {});
    suited.Foundations.assign(8, {});
    suited.Tableau[0] = {Up(9, 3), Up(8, 3), Up(7, 3)};
    TPositionSnapshot mixed = suited;
    mixed.Tableau[0] = {Up(9, 3), Up(8, 1), Up(7, 0)};
    TPositionSnapshot unfit = suited;
    unfit.Tableau[0] = {Up(9, 3), Up(4, 1), Up(1, 0)};
    const int suitedScore = solver::StageEvaluate(solver::TSolverState(widow, suited));
    const int mixedScore = solver::StageEvaluate(solver::TSolverState(widow, mixed));
    EXPECT_GT(suitedScore, mixedScore);
    EXPECT_LE(mixedScore, solver::StageEvaluate(solver::TSolverState(widow, unfit)));
    // The score is the sum of its parts, which the pass updates pile by pile.
    const solver::TSolverState state(widow, mixed);
    const solver::TStageEvaluation evaluation(widow);
    int sum = evaluation.PositionScore(state);
    for (int p = 0; p < state.TableauCount(); ++p)
        sum += evaluation.PileScore(state, p);
    EXPECT_EQ(sum, mixedScore);

    // Spider's runs move in suit only: a mixed link is no run there either way.
    const solver::TSolverGame spider = Rules("Spider");
    EXPECT_GT(solver::StageEvaluate(solver::TSolverState(spider, suited)),
              solver::StageEvaluate(solver::TSolverState(spider, mixed)));
}

// Emptying a pile by laying its last card where it fits nothing is no
// progress between two deals (the next deal covers the pile again); laying
// it where it builds is, and so is turning a card up on the way.
TEST_F(StockGamesTest, TheStagedPassGainsNothingByEmptyingAPileOntoACardItDoesNotFit)
{
    for (const char* game : {"Spider", "Black Widow", "Spiderette"}) {
        const solver::TSolverGame rules = Rules(game);
        TPositionSnapshot before;
        before.Tableau.assign(static_cast<std::size_t>(rules.Rules.TableauCount), {});
        before.Foundations.assign(static_cast<std::size_t>(rules.Rules.FoundationCount), {});
        before.Tableau[0] = {Up(4, 0)};
        before.Tableau[1] = {Up(10, 1)};
        before.Tableau[2] = {Up(5, 0)};
        TPositionSnapshot unfit = before;
        unfit.Tableau[0] = {};
        unfit.Tableau[1] = {Up(10, 1), Up(4, 0)};
        TPositionSnapshot fits = before;
        fits.Tableau[0] = {};
        fits.Tableau[2] = {Up(5, 0), Up(4, 0)};
        const auto score = [&rules](const TPositionSnapshot& p) { return solver::StageEvaluate(solver::TSolverState(rules, p)); };
        EXPECT_LT(score(unfit), score(before)) << game;
        EXPECT_GT(score(fits), score(before)) << game;
        // A lone card on a face-down one: moving it away turns that one up.
        TPositionSnapshot covered = before;
        covered.Tableau[0] = {MakeCardCode(8, 2, false), Up(4, 0)};
        TPositionSnapshot turned = unfit;
        turned.Tableau[0] = {Up(8, 2)};
        EXPECT_GT(score(turned), score(covered)) << game;
    }
}

} // namespace
