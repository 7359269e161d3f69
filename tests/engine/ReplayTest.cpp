// A game loads exactly as it was played: the same piles, faces, card
// positions, points and passes, however the player used undo and redo.
#include "EngineFixture.h"

#include "engine/Snapshot.h"
#include "persistence/SourceLogFile.h"

#include <QApplication>
#include <QMouseEvent>
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

namespace {

void Mouse(TCardTable& table, QEvent::Type type, QPoint at)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&table, &event);
}

void Move(TCardTable& table, QPoint at)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(at), QPointF(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&table, &event);
}

// Plays some legal move of a top tableau card and undoes it.
void MoveAndUndo(TEngine& engine)
{
    for (int p = 0; p < static_cast<int>(engine.TableauPiles.size()); ++p) {
        const int top = static_cast<int>(engine.TableauPiles[static_cast<std::size_t>(p)].size()) - 1;
        for (int target = 0; target < static_cast<int>(engine.DropPoints.size()); ++target) {
            const int before = engine.HistoryPos;
            engine.MakeMove(pkTableau, p, target, top);
            if (engine.HistoryPos != before) {
                engine.Undo();
                return;
            }
        }
    }
}

TEST_F(EngineTest, PressingAndReleasingACardWithoutMovingItIsAClickNotAMove)
{
    Deal("Freecell", 9);
    MoveAndUndo(*Engine);
    ASSERT_TRUE(Engine->RedoEnabled);
    const int points = Engine->Points;
    const std::vector<std::string> log = Engine->SourceLog;
    const std::vector<std::string> history = Engine->History;
    const std::string table = StateJson(*Engine, true);
    TCard* card = Engine->TableauPiles[3].back();
    const QPoint grip(card->X + 20, card->Y + 30);
    const QPoint nudge = grip + QPoint(QApplication::startDragDistance() / 2, 0);

    Host.Sounds.clear();
    Host.PlaySounds = true;
    Mouse(*Table, QEvent::MouseButtonPress, grip);
    Move(*Table, nudge);
    Mouse(*Table, QEvent::MouseButtonRelease, nudge);
    // A double click: two presses on the spot.
    Mouse(*Table, QEvent::MouseButtonPress, grip);
    Mouse(*Table, QEvent::MouseButtonRelease, grip);
    Mouse(*Table, QEvent::MouseButtonDblClick, grip);
    Mouse(*Table, QEvent::MouseButtonRelease, grip);
    EXPECT_FALSE(Table->Dragging());
    EXPECT_EQ(Table->DraggedCard(), nullptr);
    EXPECT_EQ(Engine->Points, points);
    EXPECT_EQ(Engine->SourceLog, log) << "nothing logged";
    EXPECT_EQ(Engine->History, history);
    EXPECT_TRUE(Engine->GameOpen()) << "a click after an undo does not close the game";
    EXPECT_TRUE(Engine->RedoEnabled);
    EXPECT_EQ(StateJson(*Engine, true), table);
    EXPECT_EQ(std::count(Host.Sounds.begin(), Host.Sounds.end(), "undo.wav"), 0);
    EXPECT_EQ(std::count(Host.Sounds.begin(), Host.Sounds.end(), "drop.wav"), 3) << "each restore plays drop0.wav";

    // A real drag released over no pile is still a refused drop.
    Mouse(*Table, QEvent::MouseButtonPress, grip);
    Move(*Table, grip + QPoint(0, 400));
    Mouse(*Table, QEvent::MouseButtonRelease, grip + QPoint(0, 400));
    EXPECT_EQ(Engine->Points, -666 - 5) << "after an undo a refused drop is a new action";
    EXPECT_FALSE(Engine->GameOpen());
    EXPECT_EQ(Engine->SourceLog.size(), log.size()) << "the undone record cut, the refusal logged";
    EXPECT_EQ(Engine->SourceLog.back(), "-1");
}

TEST_F(EngineTest, ARefusedDropStillCostsFiveAndASavedRefusalReplaysAsBefore)
{
    Deal("Freecell", 9);
    TCard* card = Engine->TableauPiles[2].back();
    const int top = static_cast<int>(Engine->TableauPiles[2].size()) - 1;
    const QPoint grip(card->X + 20, card->Y + 30);
    Mouse(*Table, QEvent::MouseButtonPress, grip);
    Move(*Table, grip + QPoint(3, 500));
    Mouse(*Table, QEvent::MouseButtonRelease, grip + QPoint(3, 500));
    EXPECT_EQ(Engine->Points, -5);
    ASSERT_EQ(Engine->SourceLog.size(), 7u);
    EXPECT_EQ(Engine->SourceLog.back(), "-1");
    // Such a record, as older saved games hold for a mere click, still costs its five points.
    TSavedGame game;
    game.GameName = "Freecell";
    game.Seed = static_cast<std::uint32_t>(std::stoul(Engine->SourceLog[1]));
    game.Actions = {{pkTableau, 2, top, -1}, {pkTableau, 2, top, -1}};
    ASSERT_TRUE(Engine->LoadGame(game));
    EXPECT_EQ(Engine->Points, -10);
    EXPECT_EQ(Engine->SourceLog.size(), 11u);
}

TEST_F(EngineTest, RedoPassesOverARecordThatNoLongerPlaysInsteadOfSpinning)
{
    Deal("Klondike 1 [Turn over 1]", 4);
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    const std::string dealtOne = PilesText(*Engine);
    Engine->Undo();
    // Before the deal, a record naming a card that is nowhere: it plays nothing.
    const std::vector<std::string> header(Engine->SourceLog.begin(), Engine->SourceLog.begin() + 3);
    Engine->SourceLog = header;
    for (const char* field : {"5", "9", "0", "0", "6", "0", "0", "0"})
        Engine->SourceLog.emplace_back(field);
    Engine->History[2] = "-11";
    ASSERT_TRUE(Engine->RedoEnabled);
    Engine->Redo();
    EXPECT_EQ(PilesText(*Engine), dealtOne) << "the dead record passed over, the deal redone";
    EXPECT_EQ(Engine->SourceLogPos, 11);
    EXPECT_FALSE(Engine->RedoEnabled);

    // Nothing but a dead record left: redo ends and offers itself no more.
    Engine->Undo();
    ASSERT_EQ(Engine->SourceLogPos, 7);
    Engine->SourceLog[7] = "5";
    Engine->SourceLog[8] = "9";
    ASSERT_TRUE(Engine->RedoEnabled);
    Engine->Redo();
    EXPECT_EQ(Engine->SourceLogPos, 11);
    EXPECT_FALSE(Engine->RedoEnabled);
    EXPECT_EQ(Engine->HistoryPos, static_cast<int>(Engine->History.size()));
    EXPECT_TRUE(EveryCardOnce());
}

} // namespace
