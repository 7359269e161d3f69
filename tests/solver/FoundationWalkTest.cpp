// The search for games whose cards only go home to one foundation: its
// verdicts against a plain exhaustive search, and which positions it takes.
#include "SolverTestSupport.h"
#include "engine/EngineFixture.h"

#include "solver/FoundationWalk.h"

#include <algorithm>
#include <random>
#include <unordered_set>

namespace {

using solver::TVerdict;

class FoundationWalkTest : public EngineTest {};

// From Black Hole positions a few cards from the end, reached by random
// play, its verdict must be the plain search's, and its lines must win.
TEST_F(FoundationWalkTest, BlackHoleVerdictsMatchAPlainSearch)
{
    std::mt19937 random(11);
    int won = 0;
    int lost = 0;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        Deal("Black Hole", seed);
        const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
        solver::TSolverState state(game, Engine->Snapshot());
        ASSERT_TRUE(solver::TFoundationWalk::Fits(game, state));
        // Along a winning line to a few cards from its end, then off it at random.
        solver::TSolveBudget dealBudget;
        dealBudget.MaxStates = 100000;
        dealBudget.TableBytes = std::size_t{8} << 20;
        const solver::TSolveResult line = solver::TFoundationWalk(game, Engine->Snapshot(), dealBudget).Run();
        if (line.Verdict != TVerdict::Winnable)
            continue;
        const int leave = 18 + static_cast<int>(random() % 12);
        for (std::size_t m = 0; m + leave < line.Line.size(); ++m)
            solver::ApplyMove(state, line.Line[m]);
        std::vector<solver::TSolverMove> moves;
        for (int step = static_cast<int>(random() % 6); step > 0; --step) {
            solver::GenerateMoves(state, solver::TMoveSet::Search, moves);
            if (moves.empty())
                break;
            solver::ApplyMove(state, moves[random() % moves.size()]);
        }
        const TPositionSnapshot position = state.ToSnapshot();
        solver::TSolveBudget budget;
        budget.MaxStates = 200000;
        budget.TableBytes = std::size_t{8} << 20;
        solver::TFoundationWalk walk(game, position, budget);
        const solver::TSolveResult result = walk.Run();
        ASSERT_FALSE(walk.Declined());
        ASSERT_NE(result.Verdict, TVerdict::Unknown) << "seed " << seed;
        std::unordered_set<std::uint64_t> seen;
        int plainBudget = 2000000;
        solver::TSolverState plain(game, position);
        const bool winnable = WinReachable(plain, seen, plainBudget);
        ASSERT_GE(plainBudget, 0) << "seed " << seed;
        EXPECT_EQ(result.Verdict == TVerdict::Winnable, winnable) << "seed " << seed;
        if (result.Verdict == TVerdict::Winnable) {
            solver::TSolverState replay(game, position);
            for (const solver::TSolverMove& move : result.Line)
                solver::ApplyMove(replay, move);
            EXPECT_TRUE(solver::IsWon(replay)) << "seed " << seed;
        }
        (winnable ? won : lost) += 1;
    }
    // Both verdicts were put to the test.
    EXPECT_GT(won, 3);
    EXPECT_GT(lost, 3);
}

// Played home in two orders, the same cards make one position; the same
// piles emptied onto another top make another.
TEST_F(FoundationWalkTest, PositionsAreKeyedByHeightsAndTop)
{
    Deal("Black Hole", 1);
    const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
    const auto face = [](int value, int suit) { return MakeCardCode(value, suit, true); };
    // The foundation shows a 4; a 3, a 4, a 5 and another 4 lie on four piles.
    const TCardCodes left{face(2, 0), face(3, 1), face(4, 0), face(3, 3)};
    TPositionSnapshot position;
    position.Tableau.assign(17, {});
    for (std::size_t k = 0; k < left.size(); ++k)
        position.Tableau[k] = {left[k]};
    TCardCodes home;
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value)
            if (std::find(left.begin(), left.end(), face(value, suit)) == left.end() && face(value, suit) != face(3, 2))
                home.push_back(face(value, suit));
    home.push_back(face(3, 2));
    position.Foundations = {home};
    position.FoundationCards = 48;
    const auto after = [&](std::initializer_list<int> piles) {
        solver::TSolverState state(game, position);
        std::vector<solver::TSolverMove> moves;
        for (const int pile : piles) {
            solver::GenerateMoves(state, solver::TMoveSet::Search, moves);
            const auto move = std::find_if(moves.begin(), moves.end(), [&](const solver::TSolverMove& m) {
                return m.SourcePile == pile && m.TargetKind == pkFoundation;
            });
            EXPECT_NE(move, moves.end()) << pile;
            if (move != moves.end())
                solver::ApplyMove(state, *move);
        }
        return solver::TFoundationWalk::KeyOf(state);
    };
    // 3, 4, 5, 4 and 5, 4, 3, 4: the same piles emptied, the same top.
    EXPECT_EQ(after({0, 1, 2, 3}), after({2, 1, 0, 3}));
    // 3, 4, 5 and 5, 4, 3: the same piles emptied, but a 5 or a 3 on top.
    EXPECT_NE(after({0, 1, 2}), after({2, 1, 0}));
    EXPECT_NE(after({0}), after({2}));
}

// It keys piles by their heights alone: only where they just shrink.
TEST_F(FoundationWalkTest, TakesOnlyPositionsWhosePilesJustShrink)
{
    for (const char* name : {"Freecell", "Klondike 1 [Turn over 1]", "Fan", "Aces Up", "Egyptian Pyramid"}) {
        Deal(name, 1);
        const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
        EXPECT_FALSE(solver::TFoundationWalk::Fits(game, solver::TSolverState(game, Engine->Snapshot()))) << name;
    }
    Deal("Black Hole", 1);
    const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot hidden = Engine->Snapshot();
    hidden.Tableau[3][0] = MakeCardCode(CodeValue(hidden.Tableau[3][0]), CodeSuit(hidden.Tableau[3][0]), false);
    EXPECT_FALSE(solver::TFoundationWalk::Fits(game, solver::TSolverState(game, hidden)));
}

} // namespace
