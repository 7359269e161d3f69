// Proofs of loss while the stock still turns onto a waste: each on a
// position made by hand beside a near twin that is not lost, and never on a
// position off a winning line that a plain search can still win.
#include "SolverTestSupport.h"

#include "solver/Search.h"
#include "solver/WasteDeadEnds.h"

#include <algorithm>
#include <random>
#include <unordered_set>

namespace {

using solver::TVerdict;

class WasteDeadEndsTest : public SolverRulesTest {
protected:
    static solver::TSolveResult Solve(const solver::TSolverGame& game, const TPositionSnapshot& position)
    {
        return solver::Solve(game, position, States(100000));
    }

    static bool Lost(const solver::TSolverGame& game, const TPositionSnapshot& position)
    {
        return solver::WasteDeadEndLost(game, solver::TSolverState(game, position));
    }

    // Klondike's table with three suits home and the fourth home up to its
    // four: the spades' five and seven lie where the test puts them, the
    // six and the eight to the King wait in the stock.
    static TPositionSnapshot ThreeSuitsHome()
    {
        TPositionSnapshot p;
        p.Tableau.assign(7, {});
        p.Foundations.assign(4, {});
        for (int suit = 1; suit < 4; ++suit)
            for (int value = 0; value < 13; ++value)
                p.Foundations[static_cast<std::size_t>(suit)].push_back(Up(value, suit));
        for (int value = 0; value < 4; ++value)
            p.Foundations[0].push_back(Up(value, 0));
        p.FoundationCards = 43;
        p.Stock.push_back(Down(5, 0));
        for (int value = 7; value < 13; ++value)
            p.Stock.push_back(Down(value, 0));
        return p;
    }

    // Positions called lost off the winning lines of won deals hold no win.
    ::testing::AssertionResult LostPositionsHoldNoWin(const std::string& name, int wins)
    {
        return ::LostPositionsHoldNoWin(
            name, {wins, 60, 8, 3, 120, 11}, *Engine, [&](std::uint32_t seed) { Deal(name, seed); },
            [](const solver::TSolverGame& game, const solver::TSolverState& s) {
                return solver::WasteDeadEndLost(game, s);
            });
    }
};

// One pass, one card at a time: the seven of spades lies on the five in the
// waste; every card it fits on is home and an empty pile takes a King only.
TEST_F(WasteDeadEndsTest, AWasteCardOnItsOwnLowerCardInTheLastPassIsLost)
{
    const solver::TSolverGame game = Rules("Klondike 1 [Turn over 1]");
    ASSERT_TRUE(solver::TWasteDeadEnds(game).Applies());
    TPositionSnapshot lost = ThreeSuitsHome();
    lost.Waste = {Up(4, 0), Up(6, 0)};
    EXPECT_TRUE(Lost(game, lost));
    const solver::TSolveResult proved = Solve(game, lost);
    EXPECT_EQ(proved.Verdict, TVerdict::NotWinnable);
    EXPECT_LE(proved.States, 2);

    // The five on top: it goes home, the six comes from the stock, then the seven.
    TPositionSnapshot open = lost;
    open.Waste = {Up(6, 0), Up(4, 0)};
    EXPECT_FALSE(Lost(game, open));
    EXPECT_EQ(Solve(game, open).Verdict, TVerdict::Winnable);

    // Still in the stock, the seven may be dealt after the five has gone home.
    TPositionSnapshot toCome = lost;
    toCome.Waste = {Up(4, 0)};
    toCome.Stock.insert(toCome.Stock.begin() + 1, Down(6, 0));
    EXPECT_FALSE(Lost(game, toCome));

    // A redeal to come turns the waste over: the same waste is not lost.
    const solver::TSolverGame again = Rules("Klondike 2 [Turn over 3]");
    EXPECT_FALSE(Lost(again, lost));
}

// While the stock still deals, a tableau card on its own lower card is
// stuck all the same where nothing can lift it and nothing takes it.
TEST_F(WasteDeadEndsTest, ATableauCardOnItsOwnLowerCardIsLostWithCardsToCome)
{
    const solver::TSolverGame game = Rules("Klondike 1 [Turn over 1]");
    TPositionSnapshot lost = ThreeSuitsHome();
    lost.Tableau[0] = {Down(4, 0), Up(6, 0)};
    EXPECT_TRUE(Lost(game, lost));
    EXPECT_EQ(Solve(game, lost).Verdict, TVerdict::NotWinnable);

    // The five face up under it: the two move as one group, so no proof.
    TPositionSnapshot lifted = lost;
    lifted.Tableau[0] = {Up(4, 0), Up(6, 0)};
    EXPECT_FALSE(Lost(game, lifted));

    // The five on top goes home and turns the seven up: won.
    TPositionSnapshot open = lost;
    open.Tableau[0] = {Down(6, 0), Up(4, 0)};
    EXPECT_FALSE(Lost(game, open));
    EXPECT_EQ(Solve(game, open).Verdict, TVerdict::Winnable);

    // A King may always go to an empty pile.
    TPositionSnapshot king = ThreeSuitsHome();
    king.Stock = {Down(5, 0), Down(6, 0), Down(7, 0), Down(8, 0), Down(9, 0), Down(10, 0), Down(11, 0)};
    king.Tableau[0] = {Down(4, 0), Up(12, 0)};
    EXPECT_FALSE(Lost(game, king));
    EXPECT_EQ(Solve(game, king).Verdict, TVerdict::Winnable);
}

// Arched Klondike takes each suit home down from its King: a card waits for
// every higher card of its suit.
TEST_F(WasteDeadEndsTest, ACardOverAHigherCardOfItsSuitIsLostWhereSuitsGoHomeDown)
{
    const solver::TSolverGame game = Rules("Arched Klondike");
    ASSERT_TRUE(solver::TWasteDeadEnds(game).Applies());
    // Three suits home, the spades down to the 9; the 7 and the 5 to the
    // Ace wait in the stock, the 8 and the 6 lie on the table.
    TPositionSnapshot lost;
    lost.Tableau.assign(7, {});
    lost.Foundations.assign(4, {});
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 12; value >= (suit == 0 ? 8 : 0); --value)
            lost.Foundations[static_cast<std::size_t>(suit)].push_back(Up(value, suit));
    lost.FoundationCards = 44;
    lost.Stock = {Down(6, 0), Down(4, 0), Down(3, 0), Down(2, 0), Down(1, 0), Down(0, 0)};
    // The 6 on the face-down 8: it needs the 8 home first, and the red 5s it would build on are home.
    lost.Tableau[0] = {Down(7, 0), Up(5, 0)};
    EXPECT_TRUE(Lost(game, lost));
    EXPECT_EQ(Solve(game, lost).Verdict, TVerdict::NotWinnable);

    // The other way up: the 8 goes home and turns the 6 up; won.
    TPositionSnapshot open = lost;
    open.Tableau[0] = {Down(5, 0), Up(7, 0)};
    EXPECT_FALSE(Lost(game, open));
    EXPECT_EQ(Solve(game, open).Verdict, TVerdict::Winnable);

    // Up from the Ace, the same cards would be in order.
    EXPECT_FALSE(Lost(Rules("Klondike 1 [Turn over 1]"), lost));
}

// Games where a card has somewhere else to go have no such proof.
TEST_F(WasteDeadEndsTest, GamesWithCellsOrOtherFoundationsHaveNoSuchProof)
{
    for (const char* name : {"Freecell", "Canfield", "Spider", "Black Hole", "Sir Tommy", "Concentration", "The Clock"})
        EXPECT_FALSE(solver::TWasteDeadEnds(Rules(name)).Applies()) << name;
}

TEST_F(WasteDeadEndsTest, PositionsCalledLostHoldNoWin)
{
    // (one pass: the waste's proof; passes without end: the tableau's)
    EXPECT_TRUE(LostPositionsHoldNoWin("Klondike 1 [Turn over 1]", 2));
    EXPECT_TRUE(LostPositionsHoldNoWin("Klondike 2 [Turn over 3]", 3));
    // (face-up groups move from any card: the waste's proof alone)
    EXPECT_TRUE(LostPositionsHoldNoWin("Australian Tessalyn", 3));
    // (suits home down from the King)
    EXPECT_TRUE(LostPositionsHoldNoWin("Arched Klondike", 2));
}

} // namespace
