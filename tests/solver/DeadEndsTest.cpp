// Proofs of loss without search: each on a position made by hand beside a
// near twin that is not lost, and never on a position of a winning line.
#include "SolverTestSupport.h"
#include "engine/EngineFixture.h"

#include "solver/DeadEnds.h"
#include "solver/Search.h"

#include <algorithm>
#include <random>
#include <unordered_set>

namespace {

using solver::TVerdict;

TCardCode Face(int value, int suit) { return MakeCardCode(value, suit, true); }

// Every card of one pack but `left`, in the order of the foundation, `top` last.
TCardCodes AllBut(const TCardCodes& left, TCardCode top)
{
    TCardCodes home;
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value) {
            const TCardCode card = Face(value, suit);
            if (card != top && std::find(left.begin(), left.end(), card) == left.end())
                home.push_back(card);
        }
    home.push_back(top);
    return home;
}

class DeadEndsTest : public EngineTest {
protected:
    solver::TSolveResult Solve(const solver::TSolverGame& game, const TPositionSnapshot& position)
    {
        return solver::Solve(game, position, States(100000));
    }

    // Positions called lost off the winning lines of won deals hold no win.
    ::testing::AssertionResult LostPositionsHoldNoWin(const std::string& game, int wins)
    {
        return ::LostPositionsHoldNoWin(
            game, {wins, 200, 10, 2, 30, 7}, *Engine, [&](std::uint32_t seed) { Deal(game, seed); },
            [](const solver::TSolverGame& rules, const solver::TSolverState& s) { return solver::TDeadEnds(rules).IsLost(s); });
    }
};

// Black Hole: one foundation built up or down, cards only go there.
TEST_F(DeadEndsTest, ABlackHoleCardWhoseNeighboursAllLieUnderItIsLost)
{
    Deal("Black Hole", 1);
    const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
    const solver::TDeadEnds deadEnds(game);
    ASSERT_TRUE(deadEnds.Applies());
    // The 7 of suit 2 lies on the last 6 and the last 8; the foundation shows a 5.
    TPositionSnapshot lost;
    lost.Tableau.assign(17, {});
    lost.Tableau[0] = {Face(5, 3), Face(7, 1), Face(6, 2)};
    lost.Foundations = {AllBut({Face(5, 3), Face(7, 1), Face(6, 2)}, Face(4, 0))};
    lost.FoundationCards = 49;
    EXPECT_TRUE(deadEnds.IsLost(solver::TSolverState(game, lost)));
    const solver::TSolveResult proved = Solve(game, lost);
    EXPECT_EQ(proved.Verdict, TVerdict::NotWinnable);
    EXPECT_LE(proved.States, 2);

    // The 8 elsewhere: the 7 may yet meet it (5, 6, 7, 8 is a walk, too).
    TPositionSnapshot open = lost;
    open.Tableau[0] = {Face(5, 3), Face(6, 2)};
    open.Tableau[1] = {Face(7, 1)};
    EXPECT_FALSE(deadEnds.IsLost(solver::TSolverState(game, open)));

    // On top and fitting the foundation's top now: playable, though its
    // other neighbours lie under it (a King goes on an Ace).
    TPositionSnapshot onTop = lost;
    onTop.Tableau[0] = {Face(11, 3), Face(12, 2)};
    onTop.Tableau[1] = {};
    onTop.Foundations = {AllBut({Face(11, 3), Face(12, 2)}, Face(0, 1))};
    onTop.FoundationCards = 50;
    EXPECT_FALSE(deadEnds.IsLost(solver::TSolverState(game, onTop)));
    EXPECT_EQ(Solve(game, onTop).Verdict, TVerdict::Winnable);
}

// Black Hole again: every card left has a neighbour at hand, yet three 3s
// cannot be played from an Ace with one 2 and one 4 to part them.
TEST_F(DeadEndsTest, BlackHoleRanksThatAdmitNoWalkAreLost)
{
    Deal("Black Hole", 1);
    const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
    const solver::TDeadEnds deadEnds(game);
    const TCardCodes left{Face(1, 1), Face(2, 0), Face(2, 1), Face(2, 2), Face(3, 0)};
    TPositionSnapshot lost;
    lost.Tableau.assign(17, {});
    for (std::size_t k = 0; k < left.size(); ++k)
        lost.Tableau[k] = {left[k]};
    lost.Foundations = {AllBut(left, Face(0, 0))};
    lost.FoundationCards = 47;
    EXPECT_TRUE(deadEnds.IsLost(solver::TSolverState(game, lost)));
    EXPECT_EQ(Solve(game, lost).Verdict, TVerdict::NotWinnable);

    // A second 2 parts them: Ace, 2, 3, 2, 3, 4, 3.
    TPositionSnapshot open = lost;
    const TCardCodes more{Face(1, 1), Face(1, 2), Face(2, 0), Face(2, 1), Face(2, 2), Face(3, 0)};
    for (std::size_t k = 0; k < more.size(); ++k)
        open.Tableau[k] = {more[k]};
    open.Foundations = {AllBut(more, Face(0, 0))};
    open.FoundationCards = 46;
    EXPECT_FALSE(deadEnds.IsLost(solver::TSolverState(game, open)));
    EXPECT_EQ(Solve(game, open).Verdict, TVerdict::Winnable);

    // Round the corner: from a King, the Ace and the Queen are both a step away.
    TPositionSnapshot corner = lost;
    const TCardCodes ends{Face(0, 1), Face(11, 0), Face(12, 1)};
    corner.Tableau.assign(17, {});
    for (std::size_t k = 0; k < ends.size(); ++k)
        corner.Tableau[k] = {ends[k]};
    corner.Foundations = {AllBut(ends, Face(12, 0))};
    corner.FoundationCards = 49;
    EXPECT_FALSE(deadEnds.IsLost(solver::TSolverState(game, corner)));
    EXPECT_EQ(Solve(game, corner).Verdict, TVerdict::Winnable);
}

// Fan: built down by suit, single cards move, an empty pile takes a King only.
TEST_F(DeadEndsTest, AFanCardOnItsOwnLowerCardWithItsPlaceUnderItIsLost)
{
    Deal("Fan", 1);
    const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
    const solver::TDeadEnds deadEnds(game);
    ASSERT_TRUE(deadEnds.Applies());
    TPositionSnapshot lost;
    lost.Tableau.assign(18, {});
    // The 6 can go neither home (the 5 under it) nor onto the 7 (under it too).
    lost.Tableau[0] = {Face(4, 0), Face(6, 0), Face(5, 0)};
    lost.Tableau[1] = {Face(12, 0), Face(11, 0), Face(10, 0), Face(9, 0), Face(8, 0), Face(7, 0)};
    lost.Foundations = {{}, {}, {}, {}};
    for (int suit = 1; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value)
            lost.Foundations[static_cast<std::size_t>(suit)].push_back(Face(value, suit));
    lost.Foundations[0] = {Face(0, 0), Face(1, 0), Face(2, 0), Face(3, 0)};
    lost.FoundationCards = 43;
    EXPECT_TRUE(deadEnds.IsLost(solver::TSolverState(game, lost)));
    EXPECT_EQ(Solve(game, lost).Verdict, TVerdict::NotWinnable);

    // The 7 on the other pile: the 6 goes onto it, and the game is won.
    TPositionSnapshot open = lost;
    open.Tableau[0] = {Face(4, 0), Face(5, 0)};
    open.Tableau[1].push_back(Face(6, 0));
    EXPECT_FALSE(deadEnds.IsLost(solver::TSolverState(game, open)));

    // A King over its own lower card may yet go to an empty pile.
    TPositionSnapshot king = lost;
    king.Tableau[0] = {Face(4, 0), Face(5, 0), Face(6, 0)};
    king.Tableau[1] = {Face(7, 0), Face(8, 0), Face(9, 0), Face(10, 0), Face(11, 0), Face(12, 0)};
    EXPECT_FALSE(deadEnds.IsLost(solver::TSolverState(game, king)));
}

// Yukon: any face-up group moves, so only a card lying on a face-down card
// is sure to stay where it is.
TEST_F(DeadEndsTest, AYukonCardOnAFaceDownCardOverItsOwnPlacesIsLost)
{
    Deal("Yukon", 1);
    const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
    const solver::TDeadEnds deadEnds(game);
    ASSERT_TRUE(deadEnds.Applies());
    const auto down = [](int value, int suit) { return MakeCardCode(value, suit, false); };
    // Home: spades to the 4, hearts and diamonds to the 5, clubs to the Queen.
    // Left: the 5 of spades over the 4 it needs home and both red 6s it fits on.
    TPositionSnapshot lost;
    lost.Tableau.assign(7, {});
    lost.Tableau[0] = {down(5, 1), down(5, 2), down(3, 0), Face(12, 3), Face(4, 0)};
    for (int value = 12; value >= 5; --value)
        lost.Tableau[1].push_back(Face(value, 0));
    for (int value = 12; value >= 6; --value) {
        lost.Tableau[2].push_back(Face(value, 1));
        lost.Tableau[3].push_back(Face(value, 2));
    }
    const int homeTo[] = {2, 4, 4, 11};
    lost.Foundations.assign(4, {});
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value <= homeTo[suit]; ++value)
            lost.Foundations[static_cast<std::size_t>(suit)].push_back(Face(value, suit));
    lost.FoundationCards = 3 + 5 + 5 + 12;

    // On the King, face up: the King carries it to an empty pile, which
    // opens everything under it.
    EXPECT_FALSE(deadEnds.IsLost(solver::TSolverState(game, lost)));
    EXPECT_EQ(Solve(game, lost).Verdict, TVerdict::Winnable);

    // The King elsewhere: the 5 lies on the face-down 4 and stays there.
    TPositionSnapshot stuck = lost;
    stuck.Tableau[0] = {down(5, 1), down(5, 2), down(3, 0), Face(4, 0)};
    stuck.Tableau[4] = {Face(12, 3)};
    EXPECT_TRUE(deadEnds.IsLost(solver::TSolverState(game, stuck)));
    EXPECT_EQ(Solve(game, stuck).Verdict, TVerdict::NotWinnable);

    // One red 6 open on another pile: the 5 goes onto it, and the game is won.
    TPositionSnapshot open = stuck;
    open.Tableau[0] = {down(5, 2), down(3, 0), Face(4, 0)};
    open.Tableau[2].push_back(Face(5, 1));
    EXPECT_FALSE(deadEnds.IsLost(solver::TSolverState(game, open)));
    EXPECT_EQ(Solve(game, open).Verdict, TVerdict::Winnable);
}

// Neither proof reads games where a card has somewhere else to go.
TEST_F(DeadEndsTest, GamesWithCellsOrAStockHaveNoSuchProof)
{
    for (const char* name : {"Freecell", "Canfield", "Spider", "Concentration", "The Clock"}) {
        Deal(name, 1);
        const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
        EXPECT_FALSE(solver::TDeadEnds(game).Applies()) << name;
    }
}

TEST_F(DeadEndsTest, PositionsCalledLostHoldNoWin)
{
    for (const char* game : {"Black Hole", "Fan", "Baker's Dozen", "La Belle Lucie", "Yukon"})
        EXPECT_TRUE(LostPositionsHoldNoWin(game, 3));
    // Klondike's won lines send more cards home unsearched and end sooner:
    // more of them are walked to meet a position the proofs call lost.
    EXPECT_TRUE(LostPositionsHoldNoWin("Klondike 1 [Turn over 1]", 6));
}

} // namespace
