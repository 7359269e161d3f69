#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "TableTestSupport.h"

using namespace tabletest;

namespace {

QImage Whole(const TCardTable& table) { return table.SurfaceImage().copy(); }

// Frames an operation produced.
template <typename F> int FramesOf(TCardTable& table, F&& operation)
{
    const int before = table.AnimationFrames;
    operation();
    return table.AnimationFrames - before;
}

} // namespace

TEST(TableAnimation, MoveStepCounts)
{
    auto table = MakeTable(800, 600);
    TCard* card = Deal(*table, 100, 100);
    EXPECT_EQ(FramesOf(*table, [&] { table->MoveCard(card, 200, 100); }), 7) << "6 x 16 + 4";
    EXPECT_EQ(card->X, 200);
    EXPECT_EQ(FramesOf(*table, [&] { table->MoveCard(card, 200, 100); }), 1) << "a move to where it is";

    // The slow region: full steps down to half a card width, then 1 pixel.
    table->SetSlowMoveRegion(true);
    EXPECT_EQ(FramesOf(*table, [&] { table->MoveCard(card, 400, 100); }), 11 + 35);
    EXPECT_EQ(card->X, 400);
    table->SetSlowMoveRegion(false);

    // Not on the table: nothing moves.
    TCard* stock = table->CardDeck().Cards[52];
    EXPECT_EQ(FramesOf(*table, [&] { table->MoveCard(stock, 10, 10); }), 0);
}

TEST(TableAnimation, MovedCardEndsOnTopAndLeavesNoTrace)
{
    auto table = MakeTable(800, 600);
    TCard* under = Deal(*table, 100, 100);
    TCard* over = Deal(*table, 100, 120);
    table->RotateCard(under, 0.7f);
    table->MoveCard(under, 400, 150);
    EXPECT_EQ(under->Angle, 0.0f) << "a moved turned card arrives upright";
    ASSERT_EQ(table->ZList().size(), 2u);
    EXPECT_EQ(table->ZList().back(), under);
    EXPECT_EQ(over->X, 100);

    auto reference = MakeTable(800, 600);
    for (TCard* card : {over, under}) {
        TCard* twin = Find(*reference, card->Suit, card->Value);
        twin->FaceUp = true;
        reference->PlaceCard(twin, card->X, card->Y);
    }
    EXPECT_EQ(Whole(*table), Whole(*reference));
}

TEST(TableAnimation, CardThatEndsUnderItsCoverStaysUnder)
{
    auto table = MakeTable(800, 600);
    TCard* under = Deal(*table, 100, 100);
    TCard* over = Deal(*table, 100, 120);
    table->MoveCard(under, 100, 105);
    ASSERT_EQ(table->ZList().size(), 2u);
    EXPECT_EQ(table->ZList().front(), under);
    EXPECT_EQ(table->ZList().back(), over);
    // Lifting both leaves the bare table: every saved picture is consistent.
    auto empty = MakeTable(800, 600);
    table->RemoveCard(under);
    table->RemoveCard(over);
    EXPECT_EQ(Whole(*table), Whole(*empty));
}

TEST(TableAnimation, FlipFrames)
{
    auto table = MakeTable();
    TCard* card = Deal(*table, 100, 100, false);
    EXPECT_EQ(FramesOf(*table, [&] { table->TurnCard(card); }), 12) << "96 pixels at 8 per frame";
    EXPECT_TRUE(card->FaceUp);
    table->SetTurnOverAnimationVertical(false);
    EXPECT_EQ(FramesOf(*table, [&] { table->TurnCard(card); }), 9) << "71 pixels at 8 per frame";
    table->SetTurnOverAnimationSpeed(0);
    EXPECT_EQ(FramesOf(*table, [&] { table->TurnCard(card); }), 0);
    EXPECT_TRUE(card->FaceUp);

    // After any flip the card is drawn whole with its new side.
    auto reference = MakeTable();
    Deal(*reference, 100, 100, true);
    EXPECT_EQ(Whole(*table), Whole(*reference));

    // Off the table only the face state changes, lift flip or not.
    TCard* loose = table->CardDeck().Cards[40];
    table->SetTurnOverAnimationLift(true);
    table->TurnCard(loose);
    EXPECT_TRUE(loose->FaceUp);
    EXPECT_FALSE(loose->OnTable);
    EXPECT_EQ(Whole(*table), Whole(*reference));
}

TEST(TableAnimation, LiftFlipEndsWhereItStarted)
{
    for (const bool lift : {false, true}) {
        auto table = MakeTable();
        table->SetTurnOverAnimationLift(true);
        table->SetLiftOffset(lift);
        TCard* other = Deal(*table, 300, 100);
        TCard* card = Deal(*table, 100, 100, false);
        table->TurnCard(card);
        EXPECT_TRUE(card->FaceUp);
        EXPECT_EQ(card->X, 100);
        EXPECT_EQ(card->Y, 100);
        auto reference = MakeTable();
        Deal(*reference, 300, 100);
        Deal(*reference, 100, 100, true);
        EXPECT_EQ(Whole(*table), Whole(*reference)) << "lift offset " << lift;
        table->RemoveCard(card);
        table->RemoveCard(other);
        EXPECT_EQ(Whole(*table), Whole(*MakeTable()));
    }
}

TEST(TableAnimation, SameEndStateWhetherDrawnOrNot)
{
    auto run = [](TCardTable& table) {
        table.SetTurnOverAnimationLift(true);
        table.SetLiftOffset(true);
        table.SetSlowMoveRegion(true);
        table.SetCardSpeed(40);
        table.PlaceBottom(0, 300, 300, 1);
        table.PlaceDeck(10, 10);
        std::vector<TCard*> dealt;
        for (int i = 0; i < 6; ++i) {
            TCard* card = table.NextCard();
            table.MoveCard(card, 200 + 15 * i, 150 + 20 * i);
            table.TurnCard(card);
            dealt.push_back(card);
        }
        table.RotateCard(dealt[2], 0.3f);
        table.MoveCard(dealt[1], 450, 100);  // slides out from under four cards
        table.TurnCard(dealt[5]);
        // A chain: the third card covers the first only through the second.
        TCard* first = Deal(table, 500, 300);
        Deal(table, 540, 330);
        Deal(table, 580, 360);
        table.MoveCard(first, 520, 250);
        table.MoveCard(first, 590, 370);  // ends under both again
        table.MoveCard(first, 300, 420);
        table.Wait(5);
        std::vector<std::pair<int, int>> places;
        for (TCard* card : table.ZList())
            places.emplace_back(card->X, card->Y);
        return places;
    };
    auto shown = MakeTable();
    shown->show();
    ASSERT_TRUE(shown->IsDrawing());
    auto hidden = MakeTable();
    ASSERT_FALSE(hidden->IsDrawing());
    EXPECT_EQ(run(*shown), run(*hidden));
    EXPECT_EQ(Whole(*shown), Whole(*hidden));
}

TEST(TableAnimation, ZoomNeverDrawsBelowOneAndEndsHidden)
{
    auto table = MakeTable();
    TCard* card = Deal(*table, 200, 150);
    const QImage before = Whole(*table);
    std::vector<float> scales;
    table->Sprite.OnDrawn = [&](float scale, float) { scales.push_back(scale); };

    // Not drawing: nothing is drawn at all, and the sprite is hidden.
    table->Sprite.Zoom(card, 30, 0.01f, true);
    EXPECT_TRUE(scales.empty());
    EXPECT_FALSE(table->Sprite.Shown);

    table->show();
    table->Sprite.Zoom(card, 30, 0.01f, true);
    ASSERT_FALSE(scales.empty());
    EXPECT_GE(*std::min_element(scales.begin(), scales.end()), 1.0f);
    EXPECT_FALSE(table->Sprite.Shown);
    EXPECT_EQ(Whole(*table), before);

    scales.clear();
    table->Sprite.Spin(card, 20, -3.14159f / 24);
    EXPECT_FALSE(scales.empty());
    EXPECT_FALSE(table->Sprite.Shown);
    EXPECT_EQ(Whole(*table), before);
}

TEST(TableAnimation, AZoomAfterASpinShowsTheCardUpright)
{
    auto table = MakeTable();
    TCard* card = Deal(*table, 200, 150);
    table->show();
    const QImage before = Whole(*table);
    table->Sprite.Spin(card, 20, -3.14159f / 24);
    ASSERT_NE(table->Sprite.Angle, 0.0f);

    std::vector<float> angles;
    table->Sprite.OnDrawn = [&](float, float angle) { angles.push_back(angle); };
    table->Sprite.Zoom(card, 20, 0.01f, true);
    ASSERT_FALSE(angles.empty());
    EXPECT_TRUE(std::all_of(angles.begin(), angles.end(), [](float a) { return a == 0.0f; }))
        << "the spin's last angle tilted the zoom";
    EXPECT_EQ(Whole(*table), before);
}

TEST(TableAnimation, SpriteSurvivesARebuild)
{
    auto table = MakeTable();
    table->show();
    TCard* card = Deal(*table, 200, 150);
    const QImage before = Whole(*table);
    table->Sprite.Zoom(card, 0, 0.0f, false);  // loads the card, then hides
    table->Sprite.Scale = 1.5f;
    table->Sprite.Draw();
    ASSERT_TRUE(table->Sprite.Shown);
    table->RefreshBackground();
    EXPECT_TRUE(table->Sprite.Shown);
    table->Sprite.Hide();
    EXPECT_EQ(Whole(*table), before);
}
