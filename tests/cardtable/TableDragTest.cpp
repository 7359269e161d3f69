#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>

#include "TableTestSupport.h"

using namespace tabletest;

namespace {

struct TDrop {
    TCard* Card;
    int X, Y, RelX, RelY, Index;
};

// A table with drag and drop on that records what it reports.
struct DragTable {
    std::unique_ptr<TCardTable> Table = MakeTable(800, 600);
    std::vector<TDrop> Drops;
    std::vector<std::pair<TCard*, Qt::MouseButton>> Clicks;
    int Restored = 0;
    // How the drop is answered: nothing = refuse, else accept at that corner.
    std::function<std::optional<QPoint>(const TDrop&)> Answer = [](const TDrop&) { return std::nullopt; };
    bool Animate = false;

    DragTable()
    {
        Table->SetDragAndDrop(true);
        Table->OnCardClickEvent = [this](TCard* card, Qt::MouseButton button) { Clicks.emplace_back(card, button); };
        Table->OnCardRestoredEvent = [this] { ++Restored; };
        Table->OnCardDropEvent = [this](TCard* card, int x, int y, int relX, int relY, int index) {
            Drops.push_back({card, x, y, relX, relY, index});
            if (const auto at = Answer(Drops.back()))
                Table->DropCard(at->x(), at->y(), Animate);
            else
                Table->RestoreCard();
        };
    }
    TCardTable& operator*() { return *Table; }
    TCardTable* operator->() { return Table.get(); }
};

QImage Whole(const TCardTable& table) { return table.SurfaceImage().copy(); }

} // namespace

TEST(TableDrag, GrabOffsetAndAcceptedDrop)
{
    for (const bool lift : {false, true}) {
        DragTable t;
        t->SetLiftOffset(lift);
        TCard* card = Deal(*t, 100, 100);
        t.Answer = [](const TDrop& d) { return QPoint(d.X - d.RelX, d.Y - d.RelY); };
        Press(*t, 110, 130);
        ASSERT_TRUE(t->Dragging());
        EXPECT_EQ(t->DraggedCard(), card);
        EXPECT_TRUE(t->ZList().empty()) << "the dragged card is in no list";
        MoveTo(*t, 300, 200);
        EXPECT_EQ(card->X, 300 - (10 + (lift ? Thickness : 0)));
        Release(*t, 300, 200);
        ASSERT_EQ(t.Drops.size(), 1u);
        const TDrop& d = t.Drops[0];
        EXPECT_EQ(d.Card, card);
        EXPECT_EQ(d.RelX, 10 + (lift ? Thickness : 0));
        EXPECT_EQ(d.RelY, 30 + (lift ? Thickness : 0));
        EXPECT_EQ(d.Index, -1) << "no drop points";
        EXPECT_EQ(card->X, 300 - d.RelX);
        EXPECT_FALSE(t->Dragging());
        EXPECT_EQ(t->DraggedCard(), nullptr);
        ASSERT_EQ(t->ZList().size(), 1u);
        // The press raised a click too.
        ASSERT_EQ(t.Clicks.size(), 1u);
        EXPECT_EQ(t.Clicks[0].first, card);
    }
}

TEST(TableDrag, AcceptedDropLeavesNoShadowOrShade)
{
    for (const bool animate : {false, true})
        for (const bool lift : {false, true}) {
            DragTable t;
            t->SetLiftOffset(lift);
            t.Animate = animate;
            t->PlaceBottom(0, 400, 300, 1);
            Deal(*t, 100, 100);
            TCard* card = Deal(*t, 100, 120);
            t->SetDropPoints({QPoint(400, 300), QPoint(600, 50)});
            t.Answer = [](const TDrop& d) {
                return d.Index == 0 ? std::optional<QPoint>(QPoint(400, 300)) : std::nullopt;
            };
            Press(*t, 120, 200);
            MoveTo(*t, 410, 380);
            Release(*t, 410, 380);
            ASSERT_EQ(t.Drops.size(), 1u);
            EXPECT_EQ(t.Drops[0].Index, 0);
            EXPECT_EQ(card->X, 400);
            EXPECT_EQ(card->Y, 300);

            auto reference = MakeTable(800, 600);
            reference->PlaceBottom(0, 400, 300, 1);
            Deal(*reference, 100, 100);
            Deal(*reference, 400, 300);
            EXPECT_EQ(Whole(*t), Whole(*reference)) << "animate " << animate << " lift " << lift;
        }
}

TEST(TableDrag, RefusedDropGoesBackUnderItsCoveringCards)
{
    DragTable t;
    TCard* a = Deal(*t, 100, 100);
    TCard* b = Deal(*t, 100, 120);
    TCard* c = Deal(*t, 100, 140);
    const QImage before = Whole(*t);
    Press(*t, 110, 125);  // only A and B lie here: B is the top one
    ASSERT_EQ(t->DraggedCard(), b);
    MoveTo(*t, 400, 300);
    Release(*t, 400, 300);
    EXPECT_EQ(t.Restored, 1);
    ASSERT_EQ(t->ZList().size(), 3u);
    EXPECT_EQ(t->ZList()[0], a);
    EXPECT_EQ(t->ZList()[1], b);
    EXPECT_EQ(t->ZList()[2], c);
    EXPECT_EQ(b->X, 100);
    EXPECT_EQ(b->Y, 120);
    EXPECT_EQ(Whole(*t), before);
}

TEST(TableDrag, UnansweredDropIsRestored)
{
    DragTable t;
    TCard* card = Deal(*t, 100, 100);
    const QImage before = Whole(*t);
    t->OnCardDropEvent = [](TCard*, int, int, int, int, int) {};
    Press(*t, 110, 110);
    MoveTo(*t, 300, 300);
    Release(*t, 300, 300);
    EXPECT_EQ(t->DraggedCard(), nullptr);
    EXPECT_EQ(card->X, 100);
    EXPECT_EQ(Whole(*t), before);
}

TEST(TableDrag, StockDragTakesTheTopCardAndARefusalPutsItBack)
{
    DragTable t;
    t->SetDragFromDeck(true);
    t->SetPlaceDeckOffset(7);
    TCardDeck& deck = t->CardDeck();
    t->PlaceDeck(20, 20);
    const QImage before = Whole(*t);
    TCard* next = deck.Cards[1];
    // Only the bottom card of the staircase lies under this point.
    Press(*t, 20 + 70, 20 + 95);
    ASSERT_EQ(t->DraggedCard(), next);
    EXPECT_TRUE(t->FromStock());
    ASSERT_EQ(t.Clicks.size(), 1u);
    EXPECT_EQ(t.Clicks[0].first, next) << "the click carries the dealt card";
    EXPECT_EQ(deck.DealtCount, 1);
    MoveTo(*t, 300, 300);
    Release(*t, 300, 300);
    EXPECT_EQ(deck.DealtCount, 0);
    EXPECT_EQ(next->Status, 0);
    EXPECT_TRUE(t->ZList().empty());
    EXPECT_EQ(Whole(*t), before);
    EXPECT_EQ(deck.NextCard(), next);
}

TEST(TableDrag, CardStaysInsideTheTable)
{
    DragTable t;
    TCard* card = Deal(*t, 300, 300);
    Press(*t, 310, 310);
    MoveTo(*t, -500, -500);
    EXPECT_EQ(card->X, 0);
    EXPECT_EQ(card->Y, 0);
    MoveTo(*t, 5000, 5000);
    EXPECT_EQ(card->X, 800 - CardW);
    EXPECT_EQ(card->Y, 600 - CardH);
    Release(*t, 5000, 5000);
}

TEST(TableDrag, WhoMayBeDragged)
{
    DragTable t;
    TCard* faceDown = Deal(*t, 100, 100, false);
    TCard* allowed = Deal(*t, 300, 100);
    TCard* other = Deal(*t, 500, 100);
    t->SetDragCards({allowed});

    Press(*t, 110, 110);  // face down without DragFaceDown: a click only
    EXPECT_FALSE(t->Dragging());
    Press(*t, 510, 110);  // not in the drag list: nothing at all
    EXPECT_FALSE(t->Dragging());
    Press(*t, 310, 110, Qt::RightButton);  // right button: a click only
    EXPECT_FALSE(t->Dragging());
    Press(*t, 700, 500);  // no card: nothing
    ASSERT_EQ(t.Clicks.size(), 2u);
    EXPECT_EQ(t.Clicks[0].first, faceDown);
    EXPECT_EQ(t.Clicks[1].second, Qt::RightButton);

    Press(*t, 310, 110);
    EXPECT_TRUE(t->Dragging());
    Release(*t, 320, 120, Qt::RightButton);  // ignored
    EXPECT_TRUE(t->Dragging());
    Release(*t, 320, 120);
    EXPECT_FALSE(t->Dragging());
    EXPECT_EQ(t.Clicks.size(), 3u);
    (void)other;

    t->SetDragCards({nullptr});  // nothing may be picked up
    Press(*t, 310, 110);
    EXPECT_FALSE(t->Dragging());
}

TEST(TableDrag, LargestOverlapShadesTheFirstOfEqualTargets)
{
    DragTable t;
    t->SetAutoShadeMode(3);
    TCard* card = Deal(*t, 50, 50);
    // The card will sit at (230, 300): 41 columns over each target.
    t->SetDropPoints({QPoint(600, 0), QPoint(260, 300), QPoint(200, 300)});
    const QImage before = Whole(*t);
    Press(*t, 60, 60);
    MoveTo(*t, 240, 310);
    ASSERT_EQ(card->X, 230);
    // The shade is visible where the card does not cover the target.
    EXPECT_NE(t->SurfaceImage().pixel(327, 350), before.pixel(327, 350)) << "target 1 not shaded";
    EXPECT_EQ(t->SurfaceImage().pixel(205, 350), before.pixel(205, 350)) << "target 2 shaded too";
    Release(*t, 240, 310);
    ASSERT_EQ(t.Drops.size(), 1u);
    EXPECT_EQ(t.Drops[0].Index, 1);
    EXPECT_EQ(Whole(*t), before) << "refused: shade, shadow and card all gone back";
}

TEST(TableDrag, StackOfTouchedTargets)
{
    DragTable t;
    t->SetAutoShadeMode(1);
    TCard* card = Deal(*t, 50, 50);
    t->SetDropPoints({QPoint(600, 0), QPoint(600, 120), QPoint(100, 300), QPoint(600, 240), QPoint(600, 360),
                      QPoint(200, 300)});
    t.Answer = [](const TDrop&) { return std::nullopt; };
    std::vector<int> shaded;
    Press(*t, 60, 60);  // grabbed 10, 10 inside
    auto shadeAt = [&](int cardX) {
        MoveTo(*t, cardX + 10, 290);
        EXPECT_EQ(card->X, cardX);
        // Which target shows the shade: its far corner is free of the card.
        const QImage& s = t->SurfaceImage();
        const bool two = s.pixel(101, 390) != PatternAt(101 % 50, 390 % 37);
        const bool five = s.pixel(270, 390) != PatternAt(270 % 50, 390 % 37);
        return two && !five ? 2 : five && !two ? 5 : -1;
    };
    EXPECT_EQ(shadeAt(120), 2);  // touches 2 only
    EXPECT_EQ(shadeAt(150), 5);  // touches 2 and then 5: the later wins
    EXPECT_EQ(shadeAt(110), 2);  // off 5, still on 2
    Release(*t, 120, 290);
    ASSERT_EQ(t.Drops.size(), 1u);
    EXPECT_EQ(t.Drops[0].Index, 2);
}

TEST(TableDrag, TargetUnderThePointerAndOwnPileSkipped)
{
    DragTable t;
    t->SetAutoShadeMode(2);
    Deal(*t, 50, 50);
    // Target 0 is the card's own pile and is never shaded.
    t->SetDropPoints({QPoint(50, 50), QPoint(300, 300)});
    Press(*t, 60, 60);
    MoveTo(*t, 70, 70);
    Release(*t, 70, 70);
    ASSERT_EQ(t.Drops.size(), 1u);
    EXPECT_EQ(t.Drops[0].Index, -1);
    Press(*t, 60, 60);
    MoveTo(*t, 290, 290);  // pointer outside target 1, card overlapping it
    MoveTo(*t, 310, 310);  // pointer inside
    Release(*t, 310, 310);
    EXPECT_EQ(t.Drops.back().Index, 1);
}

TEST(TableDrag, DraggedCardCastsAShadowAndTheTargetIsTinted)
{
    for (const TShadowMode mode : {smDarken, smOriginal}) {
        DragTable t;
        t->SetShadowMode(mode);
        t->SetSoftShadow(false);
        Deal(*t, 50, 50);
        t->SetDropPoints({QPoint(300, 300)});
        const QImage before = Whole(*t);
        Press(*t, 60, 60);
        MoveTo(*t, 290, 290);  // card at 280, 280 over the target
        const QImage& s = t->SurfaceImage();
        // Right strip: x 351..354 from y 284; bottom strip: y 376..379 from x 284.
        EXPECT_LT(qGreen(s.pixel(352, 320)), qGreen(before.pixel(352, 320))) << "no right shadow, mode " << mode;
        EXPECT_LT(qGreen(s.pixel(320, 377)), qGreen(before.pixel(320, 377))) << "no bottom shadow, mode " << mode;
        // The target's uncovered part is tinted red: green and blue darker, red kept.
        const QRgb tinted = s.pixel(360, 390), plain = before.pixel(360, 390);
        EXPECT_EQ(qRed(tinted), qRed(plain));
        EXPECT_LT(qGreen(tinted), qGreen(plain));
        Release(*t, 290, 290);
        EXPECT_EQ(Whole(*t), before);
    }
}

TEST(TableDrag, TurnedTargetsAreShadedTurnedAndCleanedUp)
{
    for (const bool quality : {true, false}) {
        DragTable t;
        t->SetHQDragShade(quality);
        t->PlaceBottom(1, 300, 300, 1, nullptr, 0.5f);
        const QImage before = Whole(*t);
        Deal(*t, 50, 50);
        t->SetDropPoints({QPoint(300, 300)});
        t->SetDropAngles({0.5f});
        Press(*t, 60, 60);
        MoveTo(*t, 305, 305);
        MoveTo(*t, 600, 100);  // off the target: the shade goes
        MoveTo(*t, 312, 298);  // and back
        // Accepted turned, without a slide.
        t->OnCardDropEvent = [&](TCard*, int, int, int, int, int index) {
            ASSERT_EQ(index, 0);
            t->DropCard(300, 300, false, 0.5f);
        };
        Release(*t, 312, 298);
        TCard* card = t->ZList().back();
        EXPECT_EQ(card->Angle, 0.5f);
        t->RemoveCard(card);
        EXPECT_EQ(Whole(*t), before) << "quality shade " << quality;
    }
}

TEST(TableDrag, TakingFromTheMiddleOfTheStock)
{
    DragTable t;
    t->SetPlaceDeckOffset(7);
    TCardDeck& deck = t->CardDeck();
    t->PlaceDeck(20, 20);
    TCard* third = deck.Cards[3];
    const int x = third->X, y = third->Y;
    EXPECT_EQ(t->TakeCardFromDeck(3, 20, 20), third);
    EXPECT_EQ(third->X, x);
    EXPECT_EQ(third->Y, y);
    ASSERT_EQ(t->ZList().size(), 1u);
    EXPECT_EQ(t->ZList()[0], third);
    EXPECT_EQ(deck.StockCount(), 51);
    EXPECT_EQ(t->TakeCardFromDeck(60, 20, 20), nullptr);
    t->ClearTable();
    EXPECT_EQ(Whole(*t), Whole(*MakeTable(800, 600)));
}

TEST(TableDrag, EverySecondPressIsAnotherClick)
{
    DragTable t;
    TCard* card = Deal(*t, 100, 100, false);
    Press(*t, 110, 110);
    Release(*t, 110, 110);
    Mouse(*t, QEvent::MouseButtonDblClick, 110, 110);
    Release(*t, 110, 110);
    ASSERT_EQ(t.Clicks.size(), 2u);
    EXPECT_EQ(t.Clicks[1].first, card);
}

TEST(TableDrag, APressLetGoWithinTheDragDistanceIsNoDrop)
{
    DragTable t;
    TCard* card = Deal(*t, 100, 100);
    t->SetDropPoints({QPoint(104, 100)});
    const QImage before = Whole(*t);
    const int near = QApplication::startDragDistance() - 1;
    Press(*t, 110, 110);
    MoveTo(*t, 110 + near, 110);  // close enough to shade the target beside it
    Release(*t, 110 + near, 110);
    EXPECT_TRUE(t.Drops.empty());
    EXPECT_EQ(t.Restored, 1);
    EXPECT_FALSE(t->Dragging());
    EXPECT_EQ(card->X, 100);
    EXPECT_EQ(Whole(*t), before);
    // Once the pointer went the distance, coming back is a drop all the same.
    Press(*t, 110, 110);
    MoveTo(*t, 110, 110 + QApplication::startDragDistance());
    MoveTo(*t, 110, 110);
    Release(*t, 110, 110);
    EXPECT_EQ(t.Drops.size(), 1u);
}
