// A card goes home at once, unsearched, only where no winning line can need
// it in the tableau: with alternate colours, also where the cards that fit
// on it can always go home in its stead.
#include "SolverTestSupport.h"

#include "solver/DepthFirst.h"

namespace {

using solver::TVerdict;

// Suits 0 and 3 are black, 1 and 2 red.
constexpr int Clubs = 0;
constexpr int Diamonds = 1;
constexpr int Hearts = 2;
constexpr int Spades = 3;

class SafeAutoMoveTest : public SolverRulesTest {
protected:
    // One pass, one card at a time. The five of hearts lies alone, the four
    // of clubs is the waste's last card, the three of diamonds lies on the
    // two of diamonds (unless that is home), the four of spades and the
    // five of diamonds face down under them. Hearts are home to the four,
    // clubs to `clubsHome`, spades to the three, diamonds to `diamondsHome`.
    // With the two of diamonds in play the only way on is the four of clubs
    // onto the five of hearts and the three of diamonds onto it.
    static TPositionSnapshot FiveOfHearts(int clubsHome, int diamondsHome)
    {
        TPositionSnapshot p;
        p.Tableau.assign(7, {});
        p.Foundations.assign(4, {});
        const auto home = [&p](int suit, int upTo) {
            for (int value = 0; value <= upTo; ++value)
                p.Foundations[static_cast<std::size_t>(suit)].push_back(Up(value, suit));
            p.FoundationCards += upTo + 1;
        };
        home(Hearts, 3);
        home(Clubs, clubsHome);
        home(Spades, 2);
        home(Diamonds, diamondsHome);
        p.Tableau[0] = {Up(4, Hearts)};
        p.Tableau[1] = {Down(4, Diamonds), Down(3, Spades)};
        if (diamondsHome < 1)
            p.Tableau[1].push_back(Down(1, Diamonds));
        p.Tableau[1].push_back(Up(2, Diamonds));
        for (int value = clubsHome + 1; value < 3; ++value)
            p.Tableau[2].push_back(Up(value, Clubs));
        const auto suitPile = [&p](std::size_t pile, int suit, int lowest) {
            for (int value = 12; value >= lowest; --value)
                p.Tableau[pile].push_back(value == lowest ? Up(value, suit) : Down(value, suit));
        };
        suitPile(3, Clubs, 4);
        suitPile(4, Spades, 4);
        suitPile(5, Hearts, 5);
        for (int value = 12; value >= 5; --value)
            p.Tableau[6].push_back(Down(value, Diamonds));
        p.Tableau[6].push_back(Up(3, Diamonds));
        p.Waste = {Up(3, Clubs)};
        return p;
    }

    static bool FiveOfHeartsGoesHomeAtOnce(const solver::TSolverGame& game, const TPositionSnapshot& position)
    {
        const solver::TSolverMove home{solver::TMoveType::Drag, pkTableau, 0, 0, pkFoundation, Hearts};
        return solver::IsSafeAutoMove(solver::TSolverState(game, position), home);
    }
};

TEST_F(SafeAutoMoveTest, AnAlternateColourCardGoesHomeWhereWhatFitsOnItCanGoHomeInstead)
{
    const solver::TSolverGame game = Rules("Klondike 1 [Turn over 1]");
    // Black threes and the two of diamonds home: the black fours and the
    // three of diamonds can always go home in the five's stead.
    const TPositionSnapshot safe = FiveOfHearts(2, 1);
    EXPECT_TRUE(FiveOfHeartsGoesHomeAtOnce(game, safe));
    EXPECT_EQ(solver::Solve(game, safe, States(100000)).Verdict, TVerdict::Winnable);

    // The three of clubs still out: a black four may need the five.
    EXPECT_FALSE(FiveOfHeartsGoesHomeAtOnce(game, FiveOfHearts(1, 1)));

    // The two of diamonds still out: the three of diamonds needs the four of
    // clubs on the five of hearts, so the five must stay; the deal is won
    // only so.
    const TPositionSnapshot needed = FiveOfHearts(2, 0);
    EXPECT_FALSE(FiveOfHeartsGoesHomeAtOnce(game, needed));
    EXPECT_EQ(solver::Solve(game, needed, States(100000)).Verdict, TVerdict::Winnable);
    TPositionSnapshot fiveGone = needed;
    fiveGone.Tableau[0].clear();
    fiveGone.Foundations[Hearts].push_back(Up(4, Hearts));
    ++fiveGone.FoundationCards;
    EXPECT_EQ(solver::TDepthFirst(game, fiveGone, States(100000)).Run().Verdict, TVerdict::NotWinnable);
}

// Where face-up cards may lie out of order, a card may come to lie on a
// four sent home in the five's stead, and the four could not go: no such
// shortcut there.
TEST_F(SafeAutoMoveTest, TheWiderProofNeedsATableauOfRuns)
{
    const solver::TSolverGame klondike = Rules("Klondike 1 [Turn over 1]");
    const TPositionSnapshot runs = FiveOfHearts(2, 1);
    // The six of hearts face up on the five of clubs, the seven turned up.
    TPositionSnapshot outOfOrder = runs;
    outOfOrder.Tableau[5].pop_back();
    outOfOrder.Tableau[5].back() = Up(6, Hearts);
    outOfOrder.Tableau[3].push_back(Up(5, Hearts));
    EXPECT_FALSE(FiveOfHeartsGoesHomeAtOnce(klondike, outOfOrder));

    // Yukon deals face-up cards in any order: the same holds there.
    const solver::TSolverGame yukon = Rules("Yukon");
    const auto withoutWaste = [](TPositionSnapshot p) {
        p.Tableau[2] = p.Waste;
        p.Waste.clear();
        return p;
    };
    EXPECT_TRUE(FiveOfHeartsGoesHomeAtOnce(yukon, withoutWaste(runs)));
    EXPECT_FALSE(FiveOfHeartsGoesHomeAtOnce(yukon, withoutWaste(outOfOrder)));
}

// Positions the search with its automatic moves calls lost, off the
// winning lines of won deals, hold no win for a plain search. (Two packs
// never send a card home unsearched, so Double Klondike is not walked.)
class SafeAutoMoveWalkTest : public SafeAutoMoveTest {
protected:
    ::testing::AssertionResult LostPositionsHoldNoWin(const char* name)
    {
        return ::LostPositionsHoldNoWin(
            name, {1, 60, 6, 3, 120, 5}, *Engine, [&](std::uint32_t seed) { Deal(name, seed); },
            [](const solver::TSolverGame& game, const solver::TSolverState& s) {
                return solver::TDepthFirst(game, s.ToSnapshot(), States(20000)).Run().Verdict == TVerdict::NotWinnable;
            });
    }
};

TEST_F(SafeAutoMoveWalkTest, PositionsTheSearchCallsLostHoldNoWin)
{
    for (const char* name : {"Klondike 1 [Turn over 1]", "Yukon", "Arched Klondike", "Freecell"})
        EXPECT_TRUE(LostPositionsHoldNoWin(name)) << name;
}

// Turn over 3, seed 2 of this walk, met a position the search called lost
// that a plain search wins: the depth-first pass left out splits between
// two alike cards (a run moved off one red ten onto the other), taking the
// two sides for mirrors. They are not: moving either ten on with its run
// uncovers a different card under it.
TEST_F(SafeAutoMoveWalkTest, PositionsTheSearchCallsLostHoldNoWinTurnOverThree)
{
    EXPECT_TRUE(LostPositionsHoldNoWin("Klondike 2 [Turn over 3]"));
}

} // namespace
