// Osmosis's foundations read only which values they hold: positions that
// differ only in the order a foundation's cards went on are one position.
#include "engine/EngineFixture.h"

#include "solver/SolverState.h"

namespace {

class SidewaysKeyTest : public EngineTest {};

TEST_F(SidewaysKeyTest, OsmosisFoundationsAreKeyedByTheirCards)
{
    Deal("Osmosis", 1);
    const solver::TSolverGame game = solver::MakeSolverGame(Engine->Rules);
    const TPositionSnapshot dealt = Engine->Snapshot();
    ASSERT_EQ(dealt.Foundations.size(), 4u);
    ASSERT_EQ(dealt.Foundations[0].size(), 1u);
    const TCardCode base = dealt.Foundations[0][0];
    const auto face = [&](int value) { return MakeCardCode(value, CodeSuit(base), true); };
    const auto withFirst = [&](const TCardCodes& first, const TCardCodes& second) {
        TPositionSnapshot position = dealt;
        position.Foundations[0] = first;
        position.Foundations[1] = second;
        position.FoundationCards = static_cast<int>(first.size() + second.size());
        return solver::TSolverState(game, position).Key();
    };
    const int b = CodeValue(base);
    const TCardCode one = face((b + 3) % 13);
    const TCardCode two = face((b + 5) % 13);
    // The same cards in another order: one position.
    EXPECT_EQ(withFirst({base, one, two}, {}), withFirst({base, two, one}, {}));
    // Other cards, or the same cards on another foundation: another.
    EXPECT_NE(withFirst({base, one, two}, {}), withFirst({base, one}, {}));
    EXPECT_NE(withFirst({base, one}, {two}), withFirst({base, one, two}, {}));

    // Foundations built in order keep their order in the key.
    Deal("Klondike 1 [Turn over 1]", 1);
    const solver::TSolverGame klondike = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot upward = Engine->Snapshot();
    upward.Foundations[0] = {MakeCardCode(0, 0, true), MakeCardCode(1, 0, true)};
    TPositionSnapshot downward = upward;
    downward.Foundations[0] = {MakeCardCode(1, 0, true), MakeCardCode(0, 0, true)};
    EXPECT_NE(solver::TSolverState(klondike, upward).Key(), solver::TSolverState(klondike, downward).Key());
}

} // namespace
