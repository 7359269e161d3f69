// Splits that only trade which of two alike cards lies uncovered: left out
// of the depth-first search only where the uncovered card cannot go home,
// and never at the price of a win a plain search finds.
#include "SolverTestSupport.h"
#include "engine/EngineFixture.h"

#include "solver/DepthFirst.h"
#include "solver/SplitDominance.h"

#include <algorithm>

namespace {

using solver::TVerdict;

TCardCode Up(int value, int suit) { return MakeCardCode(value, suit, true); }
TCardCode Down(int value, int suit) { return MakeCardCode(value, suit, false); }

// Suits 0 and 3 are black, 1 and 2 red.
constexpr int Spades = 0;
constexpr int Hearts = 1;
constexpr int Diamonds = 2;
constexpr int Clubs = 3;

class SplitDominanceTest : public EngineTest {
protected:
    solver::TSolverGame Rules(const std::string& game)
    {
        Deal(game, 1);
        return solver::MakeSolverGame(Engine->Rules);
    }

    // One pass, one card at a time. The five of spades lies face down under
    // the seven of hearts and the six of spades; the seven of diamonds lies
    // alone. Hearts are home up to `heartsHome`, the diamonds to the six,
    // the spades to the four, the clubs whole; the seven of spades lies on
    // the eight to the King of spades, and the other hearts and diamonds
    // come from the stock in order. The only way on: the six of spades onto
    // the seven of diamonds, so that the seven of hearts goes home.
    static TPositionSnapshot SevenOfHeartsMustGoHome(int heartsHome, bool sixOfHeartsInStock)
    {
        TPositionSnapshot p;
        p.Tableau.assign(7, {});
        p.Foundations.assign(4, {});
        const auto home = [&p](int suit, int upTo) {
            for (int value = 0; value <= upTo; ++value)
                p.Foundations[static_cast<std::size_t>(suit)].push_back(Up(value, suit));
        };
        home(Spades, 3);
        home(Hearts, heartsHome);
        home(Diamonds, 5);
        home(Clubs, 12);
        p.FoundationCards = static_cast<std::int16_t>(4 + heartsHome + 1 + 6 + 13);
        p.Tableau[0] = {Down(4, Spades), Up(6, Hearts), Up(5, Spades)};
        p.Tableau[1] = {Up(6, Diamonds)};
        for (int value = 12; value >= 6; --value)
            p.Tableau[2].push_back(Up(value, Spades));
        if (sixOfHeartsInStock)
            p.Stock.push_back(Down(5, Hearts));
        for (int value = 7; value < 13; ++value) {
            p.Stock.push_back(Down(value, Hearts));
            p.Stock.push_back(Down(value, Diamonds));
        }
        return p;
    }

    // The six of spades from the seven of hearts onto the seven of diamonds.
    static solver::TSolverMove TheSplit(const solver::TSolverState& state)
    {
        std::vector<solver::TSolverMove> moves;
        solver::GenerateMoves(state, solver::TMoveSet::Folded, moves);
        const auto split = std::find_if(moves.begin(), moves.end(), [](const solver::TSolverMove& m) {
            return m.SourceKind == pkTableau && m.SourcePile == 0 && m.SourceIndex == 2 && m.TargetKind == pkTableau
                && m.TargetPile == 1;
        });
        EXPECT_NE(split, moves.end());
        return split == moves.end() ? solver::TSolverMove{} : *split;
    }

    static bool PlainSearchWins(const solver::TSolverGame& game, const TPositionSnapshot& position)
    {
        solver::TSolverState state(game, position);
        std::unordered_set<std::uint64_t> seen;
        int budget = 200000;
        const bool won = WinReachable(state, seen, budget);
        EXPECT_GE(budget, 0);
        return won;
    }

    static TVerdict DepthFirst(const solver::TSolverGame& game, const TPositionSnapshot& position)
    {
        return solver::TDepthFirst(game, position, States(200000)).Run().Verdict;
    }
};

TEST_F(SplitDominanceTest, ASplitIsSearchedOnlyWhereTheUncoveredCardGoesHome)
{
    const solver::TSolverGame game = Rules("Klondike 1 [Turn over 1]");
    const solver::TSplitDominance splits(game);
    ASSERT_TRUE(splits.Applies());

    // The six of hearts home: the seven goes home after the split, so it is searched.
    const TPositionSnapshot ready = SevenOfHeartsMustGoHome(5, false);
    const solver::TSolverState readyState(game, ready);
    EXPECT_FALSE(splits.Dominated(readyState, TheSplit(readyState)));
    EXPECT_TRUE(PlainSearchWins(game, ready));
    EXPECT_EQ(DepthFirst(game, ready), TVerdict::Winnable);

    // The six of hearts still in the stock: the split waits until it has
    // gone home, and the search still wins.
    const TPositionSnapshot later = SevenOfHeartsMustGoHome(4, true);
    const solver::TSolverState laterState(game, later);
    EXPECT_TRUE(splits.Dominated(laterState, TheSplit(laterState)));
    EXPECT_TRUE(PlainSearchWins(game, later));
    EXPECT_EQ(DepthFirst(game, later), TVerdict::Winnable);

    // The same group lifted off a face-down card turns it up: no split.
    TPositionSnapshot reveal = later;
    reveal.Tableau[0] = {Down(4, Spades), Down(6, Hearts), Up(5, Spades)};
    const solver::TSolverState revealState(game, reveal);
    EXPECT_FALSE(splits.Dominated(revealState, TheSplit(revealState)));
}

// In Yukon any face-up group moves: lifting one off a card unlike the one
// it lands on changes more than which card lies uncovered.
TEST_F(SplitDominanceTest, AGroupLiftedOffAnUnlikeCardIsSearched)
{
    const solver::TSolverGame game = Rules("Yukon");
    const solver::TSplitDominance splits(game);
    ASSERT_TRUE(splits.Applies());
    TPositionSnapshot p = SevenOfHeartsMustGoHome(4, false);
    p.Stock.clear();
    const solver::TSolverState alike(game, p);
    EXPECT_TRUE(splits.Dominated(alike, TheSplit(alike)));
    p.Tableau[0][1] = Up(8, Clubs);
    const solver::TSolverState unlike(game, p);
    EXPECT_FALSE(splits.Dominated(unlike, TheSplit(unlike)));
}

// Cells, refills from the reserve, whole piles or a stock dealing onto the
// tableau make the two sides of a split differ: no such pruning there.
TEST_F(SplitDominanceTest, GamesWhereASplitChangesMoreAreLeftAlone)
{
    for (const char* name : {"Freecell", "Canfield", "Spider", "Cruel", "Scorpion", "Aces Up"})
        EXPECT_FALSE(solver::TSplitDominance(Rules(name)).Applies()) << name;
    for (const char* name : {"Klondike 2 [Turn over 3]", "Klondike 3 [Double]", "Alaska", "Double Yukon"})
        EXPECT_TRUE(solver::TSplitDominance(Rules(name)).Applies()) << name;
}

// Positions the pruned depth-first search calls lost, off the winning lines
// of won deals, hold no win for a plain search.
TEST_F(SplitDominanceTest, PositionsThePrunedSearchCallsLostHoldNoWin)
{
    for (const char* name : {"Klondike 1 [Turn over 1]", "Klondike 2 [Turn over 3]"}) {
        EXPECT_TRUE(::LostPositionsHoldNoWin(
            name, {1, 60, 6, 3, 120, 7}, *Engine, [&](std::uint32_t seed) { Deal(name, seed); },
            [](const solver::TSolverGame& game, const solver::TSolverState& s) {
                return solver::TDepthFirst(game, s.ToSnapshot(), States(20000)).Run().Verdict
                    == TVerdict::NotWinnable;
            }));
    }
}

} // namespace
