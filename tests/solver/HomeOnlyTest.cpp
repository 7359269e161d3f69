// Games whose tableau only sends cards home while the stock deals onto every
// pile (Tam O'Shanter, Auld Lang Syne): the proof that a buried card never
// goes home, the plays home that are safe at once, and the exhaustive search
// that uses both, checked against the plain depth-first search.
#include "SolverTestSupport.h"

#include "solver/DepthFirst.h"
#include "solver/HomeOnly.h"
#include "solver/Search.h"

namespace {

using solver::TVerdict;

class HomeOnlyTest : public SolverRulesTest {};

TEST_F(HomeOnlyTest, OnlyGamesWhoseTableauTakesNoCardAreOfTheKind)
{
    EXPECT_TRUE(solver::THomeOnly(Rules("Tam O'Shanter")).Applies());
    EXPECT_TRUE(solver::THomeOnly(Rules("Auld Lang Syne")).Applies());
    for (const char* game : {"Spider", "Scorpion", "Agnes Sorel", "Klondike 1 [Turn over 1]"})
        EXPECT_FALSE(solver::THomeOnly(Rules(game)).Applies()) << game;
}

// The Aces are home; the three of spades lies on every two, so no foundation
// can reach a two before it leaves: lost. Its twins are not: one two lies
// elsewhere, or a foundation already holds a two.
TEST_F(HomeOnlyTest, ACardOnEveryCardItWaitsForIsLostAndItsTwinsAreNot)
{
    const solver::TSolverGame tam = Rules("Tam O'Shanter");
    const solver::THomeOnly proof(tam);
    TPositionSnapshot p;
    p.Tableau = {{Up(1, 0), Up(1, 1), Up(1, 2), Up(1, 3), Up(2, 0)}, {Up(2, 1)}, {Up(4, 0)}, {Up(5, 0)}};
    p.Foundations = {{Up(0, 0)}, {Up(0, 1)}, {Up(0, 2)}, {Up(0, 3)}};
    p.FoundationCards = 4;
    EXPECT_TRUE(proof.IsLost(solver::TSolverState(tam, p)));

    TPositionSnapshot twoElsewhere = p;
    twoElsewhere.Tableau[0] = {Up(1, 0), Up(1, 1), Up(1, 2), Up(2, 0)};
    twoElsewhere.Tableau[1] = {Up(2, 1), Up(1, 3)};
    EXPECT_FALSE(proof.IsLost(solver::TSolverState(tam, twoElsewhere)));

    TPositionSnapshot twoHome = p;
    twoHome.Tableau[0] = {Up(1, 0), Up(1, 1), Up(1, 2), Up(2, 0)};
    twoHome.Foundations[3] = {Up(0, 3), Up(1, 3)};
    twoHome.FoundationCards = 5;
    EXPECT_FALSE(proof.IsLost(solver::TSolverState(tam, twoHome)));

    // A two in the stock is not under the three: it is dealt on top of it.
    TPositionSnapshot twoInStock = twoElsewhere;
    twoInStock.Tableau[1] = {Up(2, 1)};
    twoInStock.Stock = {Up(1, 3), Up(6, 0), Up(7, 0), Up(8, 0)};
    EXPECT_FALSE(proof.IsLost(solver::TSolverState(tam, twoInStock)));
}

// A two may go home at once when the foundations topped by an Ace are as many
// as the twos still out; with an Ace still out, three places for four twos
// are not enough (the two may be needed to free the other twos' way).
TEST_F(HomeOnlyTest, ACardGoesHomeAtOnceOnlyWhenEveryCardOfItsRankHasAPlace)
{
    const solver::TSolverGame tam = Rules("Tam O'Shanter");
    const solver::THomeOnly proof(tam);
    TPositionSnapshot p;
    p.Tableau = {{Up(5, 0), Up(1, 0)}, {Up(1, 1)}, {Up(1, 2)}, {Up(6, 0), Up(1, 3)}};
    p.Foundations = {{Up(0, 0)}, {Up(0, 1)}, {Up(0, 2)}, {Up(0, 3)}};
    p.FoundationCards = 4;
    solver::TSolverMove two;
    two.SourceKind = pkTableau;
    two.SourcePile = 0;
    two.SourceIndex = 1;
    two.TargetKind = pkFoundation;
    EXPECT_TRUE(proof.GoesHomeAtOnce(solver::TSolverState(tam, p), two));

    TPositionSnapshot aceOut = p;
    aceOut.Foundations[3].clear();
    aceOut.FoundationCards = 3;
    aceOut.Tableau[3] = {Up(1, 3), Up(0, 3)};
    EXPECT_FALSE(proof.GoesHomeAtOnce(solver::TSolverState(tam, aceOut), two));
    // A card that is not the top of its pile never goes by this rule.
    two.SourceIndex = 0;
    EXPECT_FALSE(proof.GoesHomeAtOnce(solver::TSolverState(tam, p), two));
}

// The search with the proof and the safe plays gives the plain depth-first
// search's verdict wherever that one finishes, and a win it finds replays.
TEST_F(HomeOnlyTest, TheSearchAgreesWithThePlainDepthFirstSearch)
{
    solver::TSolveBudget budget;
    budget.MaxStates = 3000000;
    budget.TableBytes = std::size_t{32} << 20;
    int compared = 0;
    for (const char* game : {"Tam O'Shanter", "Auld Lang Syne"}) {
        for (std::uint32_t seed = 1; seed <= 4; ++seed) {
            Deal(game, seed);
            const solver::TSolverGame rules = solver::MakeSolverGame(Engine->Rules);
            const TPositionSnapshot snapshot = Engine->Snapshot();
            const solver::TSolveResult plain = solver::TDepthFirst(rules, snapshot, budget).Run();
            if (plain.Verdict == TVerdict::Unknown)
                continue;
            const solver::TSolveResult fast = solver::THomeOnlySearch(rules, snapshot, budget).Run();
            EXPECT_EQ(fast.Verdict, plain.Verdict) << game << " seed " << seed;
            EXPECT_LT(fast.States, plain.States) << game << " seed " << seed;
            ++compared;
        }
    }
    EXPECT_GE(compared, 2);
}

// One card from a win: the search finds it and Solve's line is a win.
TEST_F(HomeOnlyTest, APositionOneCardFromAWinIsWon)
{
    const solver::TSolverGame tam = Rules("Tam O'Shanter");
    TPositionSnapshot p;
    p.Tableau.assign(4, {});
    p.Foundations.assign(4, {});
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value)
            if (suit != 3 || value < 12)
                p.Foundations[static_cast<std::size_t>(suit)].push_back(Up(value, suit));
    p.Tableau[2] = {Up(12, 3)};
    p.FoundationCards = 51;
    const solver::TSolveResult result = solver::Solve(tam, p, solver::TSolveBudget{});
    ASSERT_EQ(result.Verdict, TVerdict::Winnable);
    EXPECT_EQ(result.Line.size(), 1u);
}

} // namespace
