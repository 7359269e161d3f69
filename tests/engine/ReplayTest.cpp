// A game loads exactly as it was played: the same piles, faces, card
// positions, points and passes, however the player used undo and redo.
#include "EngineFixture.h"

#include "engine/Snapshot.h"

#include <QPoint>

namespace {

std::vector<QPoint> Positions(const TPile& pile)
{
    std::vector<QPoint> out;
    for (const TCard* card : pile)
        out.emplace_back(card ? QPoint(card->X, card->Y) : QPoint(-1, -1));
    return out;
}

TEST_F(EngineTest, AnAllAvailableReserveClosesItsGapOnTheTableAndUndoLaysItOutTheSame)
{
    for (std::uint32_t seed = 1; seed < 200; ++seed) {
        Deal("Brigade", seed);
        ASSERT_TRUE(Engine->Rules.ReserveAllAvailable);
        const TPile dealt = Engine->ReserveCards;
        const std::vector<QPoint> places = Positions(dealt);
        // A card from the middle of the reserve that some pile takes.
        for (int i = 1; i + 1 < static_cast<int>(dealt.size()); ++i) {
            for (int target = 0; target < static_cast<int>(Engine->DropPoints.size()); ++target) {
                const int historyBefore = Engine->HistoryPos;
                Engine->MakeMove(pkReserve, i, target, i);
                if (Engine->HistoryPos == historyBefore)
                    continue;
                ASSERT_EQ(Engine->ReserveCards.size(), dealt.size() - 1);
                const std::vector<QPoint> after = Positions(Engine->ReserveCards);
                EXPECT_EQ(after, std::vector<QPoint>(places.begin(), places.end() - 1))
                    << "every card lies at its index's place, the gap closed";
                const std::string played = StateJson(*Engine, true);
                Engine->Undo();
                EXPECT_EQ(Engine->ReserveCards, dealt);
                EXPECT_EQ(Positions(Engine->ReserveCards), places);
                Engine->Redo();
                EXPECT_EQ(StateJson(*Engine, true), played);
                return;
            }
        }
    }
    FAIL() << "no deal let a middle reserve card move";
}

} // namespace
