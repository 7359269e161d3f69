// The proof of loss for games whose foundations take whole suits: on
// positions made by hand beside near twins that are not lost, and never on
// a position off a winning line.
#include "SolverTestSupport.h"
#include "engine/EngineFixture.h"

#include "solver/Search.h"
#include "solver/SuitRunDeadEnds.h"

namespace {

using solver::TVerdict;

TCardCode Spade(int value) { return MakeCardCode(value, 0, true); }

class SuitRunDeadEndsTest : public EngineTest {
protected:
    // Scorpion with the other three suits home and the spades spread over
    // the piles as given, the King down to the 8 on pile 2, no stock.
    TPositionSnapshot Spades(const std::vector<TCardCodes>& piles)
    {
        TPositionSnapshot position;
        position.Tableau = piles;
        position.Tableau.resize(7);
        position.Tableau[2] = {Spade(12), Spade(11), Spade(10), Spade(9), Spade(8), Spade(7)};
        position.Foundations.assign(4, {});
        for (int suit = 1; suit < 4; ++suit)
            for (int value = 12; value >= 0; --value)
                position.Foundations[static_cast<std::size_t>(suit)].push_back(MakeCardCode(value, suit, true));
        position.FoundationCards = 39;
        return position;
    }

    solver::TSolveResult Solve(const solver::TSolverGame& game, const TPositionSnapshot& position)
    {
        return solver::Solve(game, position, States(100000));
    }
};

TEST_F(SuitRunDeadEndsTest, ScorpionCardsThatCoverEachOthersPlacesAreLost)
{
    Deal("Scorpion", 1);
    const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
    const solver::TSuitRunDeadEnds proof(game);
    ASSERT_TRUE(proof.Applies());

    // The 2 lies on the 7 and covers the 3 the 6 needs; the 6 lies on the 3
    // and covers the 7 the 2 needs: neither ever moves, so the 2 never lies on its 3.
    const TPositionSnapshot lost =
        Spades({{Spade(6), Spade(1)}, {Spade(2), Spade(5)}, {}, {Spade(4)}, {Spade(3)}, {Spade(0)}});
    EXPECT_TRUE(proof.IsLost(solver::TSolverState(game, lost)));
    const solver::TSolveResult proved = Solve(game, lost);
    EXPECT_EQ(proved.Verdict, TVerdict::NotWinnable);
    EXPECT_LE(proved.States, 2);

    // The 2 on a pile of its own: the 6 goes onto the 7, and the spades home.
    const TPositionSnapshot open =
        Spades({{Spade(6)}, {Spade(2), Spade(5)}, {}, {Spade(4)}, {Spade(3)}, {Spade(0)}, {Spade(1)}});
    EXPECT_FALSE(proof.IsLost(solver::TSolverState(game, open)));
    EXPECT_EQ(Solve(game, open).Verdict, TVerdict::Winnable);

    // The 6's 7 lies under it, yet not directly under a card that cannot
    // move: the 4 goes onto the 5 carrying the 6, which leaves the 7 open.
    const TPositionSnapshot carried =
        Spades({{Spade(6), Spade(3), Spade(5)}, {Spade(2)}, {}, {Spade(4)}, {Spade(0)}, {Spade(1)}});
    EXPECT_FALSE(proof.IsLost(solver::TSolverState(game, carried)));
    EXPECT_EQ(Solve(game, carried).Verdict, TVerdict::Winnable);
}

// Where an empty pile takes any card, a card always has somewhere to go.
TEST_F(SuitRunDeadEndsTest, GamesWithOtherHomesOrOpenEmptyPilesHaveNoSuchProof)
{
    for (const char* name : {"Spider", "Spiderette", "Freecell", "Klondike 1 [Turn over 1]", "Fan"}) {
        Deal(name, 1);
        const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
        EXPECT_FALSE(solver::TSuitRunDeadEnds(game).Applies()) << name;
    }
}

TEST_F(SuitRunDeadEndsTest, PositionsCalledLostHoldNoWin)
{
    for (const char* name : {"Scorpion", "Scorpion II", "Double Scorpion"}) {
        const std::string game = name;
        EXPECT_TRUE(::LostPositionsHoldNoWin(
            game, {3, 200, 10, 2, 30, 7}, *Engine, [&](std::uint32_t seed) { Deal(game, seed); },
            [](const solver::TSolverGame& rules, const solver::TSolverState& s) {
                return solver::TSuitRunDeadEnds(rules).IsLost(s);
            }))
            << name;
    }
}

} // namespace
