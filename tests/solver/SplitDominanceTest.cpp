// Splits that only trade which of two alike cards lies uncovered: left out
// of the depth-first search only where the uncovered card cannot go home,
// and never at the price of a win a plain search finds.
#include "SolverTestSupport.h"
#include "engine/EngineFixture.h"

#include "solver/DepthFirst.h"
#include "solver/SplitDominance.h"

#include <algorithm>
#include <sstream>

namespace {

using solver::TVerdict;

TCardCode Up(int value, int suit) { return MakeCardCode(value, suit, true); }
TCardCode Down(int value, int suit) { return MakeCardCode(value, suit, false); }

// Suits 0 and 3 are black, 1 and 2 red.
constexpr int Clubs = 0;
constexpr int Diamonds = 1;
constexpr int Hearts = 2;
constexpr int Spades = 3;

// Cards written as "Qh 7d ...", bottom first, the first `faceDown` face down.
TCardCodes Cards(const std::string& text, int faceDown)
{
    static const std::string ranks = "A23456789TJQK";
    static const std::string suits = "cdhs";
    TCardCodes out;
    std::istringstream in(text);
    std::string card;
    while (in >> card) {
        const int value = static_cast<int>(ranks.find(card[0]));
        const int suit = static_cast<int>(suits.find(card[1]));
        out.push_back(static_cast<int>(out.size()) < faceDown ? Down(value, suit) : Up(value, suit));
    }
    return out;
}

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
            p.Tableau[2].push_back(value == 6 ? Up(value, Spades) : Down(value, Spades));
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

    // Whether a search starting at `position` leaves out its split.
    static bool SplitLeftOut(const solver::TSolverGame& game, const TPositionSnapshot& position)
    {
        const solver::TSolverState state(game, position);
        return solver::TSplitDominance(game, state).Dominated(state, TheSplit(state));
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

    // The six of hearts home: the seven goes home after the split, so it is searched.
    const TPositionSnapshot ready = SevenOfHeartsMustGoHome(5, false);
    EXPECT_FALSE(SplitLeftOut(game, ready));
    EXPECT_TRUE(PlainSearchWins(game, ready));
    EXPECT_EQ(DepthFirst(game, ready), TVerdict::Winnable);

    // The six of hearts still in the stock: the split waits until it has
    // gone home, and the search still wins.
    const TPositionSnapshot later = SevenOfHeartsMustGoHome(4, true);
    EXPECT_TRUE(SplitLeftOut(game, later));
    EXPECT_TRUE(PlainSearchWins(game, later));
    EXPECT_EQ(DepthFirst(game, later), TVerdict::Winnable);

    // The same group lifted off a face-down card turns it up: no split.
    TPositionSnapshot reveal = later;
    reveal.Tableau[0] = {Down(4, Spades), Down(6, Hearts), Up(5, Spades)};
    EXPECT_FALSE(SplitLeftOut(game, reveal));
}

// In Yukon any face-up group moves, and the deal lays face-up cards in any
// order. While every stack is a run the split is left out; once any face-up
// card lies on one it does not fit, a pile may come to hold one of the two
// alike cards above the other, and every split is searched. The second
// position below, off one of Yukon's won deals, has nothing but such splits
// and is won: left out, they made the search call it lost.
TEST_F(SplitDominanceTest, InYukonSplitsAreLeftOutOnlyWhileEveryStackIsARun)
{
    const solver::TSolverGame game = Rules("Yukon");
    TPositionSnapshot runs = SevenOfHeartsMustGoHome(4, false);
    runs.Stock.clear();
    EXPECT_TRUE(SplitLeftOut(game, runs));
    TPositionSnapshot anyOrder = runs;
    anyOrder.Tableau[3] = {Up(9, Clubs), Up(2, Diamonds)};
    EXPECT_FALSE(SplitLeftOut(game, anyOrder));

    TPositionSnapshot onlySplits;
    onlySplits.Tableau = {Cards("Kd", 0), Cards("Td 3h", 1), Cards("Jc", 0), Cards("9c", 0),
                          Cards("Qh 7d 8d Jd Ts 9h", 3),
                          Cards("Qc 8c 4s Ks 6d Kc 7s 6h 5s 4h 3s 2h Qd Js Th 9s 8h", 5),
                          Cards("Kh Qs Jh Tc 9d 8s 7h 6s 5h", 0)};
    onlySplits.Foundations = {Cards("Ah", 0), Cards("Ac 2c 3c 4c 5c 6c 7c", 0), Cards("Ad 2d 3d 4d 5d", 0), Cards("As 2s", 0)};
    onlySplits.FoundationCards = 15;
    EXPECT_TRUE(PlainSearchWins(game, onlySplits));
    EXPECT_NE(DepthFirst(game, onlySplits), TVerdict::NotWinnable);
}

// Cells, refills from the reserve, whole piles or a stock dealing onto the
// tableau make the two sides of a split differ: no such pruning there.
TEST_F(SplitDominanceTest, GamesWhereASplitChangesMoreAreLeftAlone)
{
    const auto appliesFromTheDeal = [this](const char* name) {
        const solver::TSolverGame game = Rules(name);
        return solver::TSplitDominance(game, solver::TSolverState(game, Engine->Snapshot())).Applies();
    };
    for (const char* name : {"Freecell", "Canfield", "Spider", "Cruel", "Scorpion", "Aces Up"})
        EXPECT_FALSE(appliesFromTheDeal(name)) << name;
    // Dealt with face-up cards in any order, or building both ways.
    for (const char* name : {"Yukon", "Double Yukon", "Alaska"})
        EXPECT_FALSE(appliesFromTheDeal(name)) << name;
    for (const char* name : {"Klondike 1 [Turn over 1]", "Klondike 2 [Turn over 3]", "Klondike 3 [Double]"})
        EXPECT_TRUE(appliesFromTheDeal(name)) << name;
}

// Positions the pruned depth-first search calls lost, off the winning lines
// of won deals, hold no win for a plain search.
TEST_F(SplitDominanceTest, PositionsThePrunedSearchCallsLostHoldNoWin)
{
    for (const char* name : {"Klondike 1 [Turn over 1]", "Klondike 2 [Turn over 3]", "Yukon"}) {
        EXPECT_TRUE(::LostPositionsHoldNoWin(
            name, {1, 60, 6, 3, 120, 7}, *Engine, [&](std::uint32_t seed) { Deal(name, seed); },
            [](const solver::TSolverGame& game, const solver::TSolverState& s) {
                return solver::TDepthFirst(game, s.ToSnapshot(), States(20000)).Run().Verdict
                    == TVerdict::NotWinnable;
            }));
    }
}

} // namespace
