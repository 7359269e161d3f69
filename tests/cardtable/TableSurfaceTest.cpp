#include <fstream>
#include <tuple>

#include <gtest/gtest.h>

#include "TableTestSupport.h"

using namespace tabletest;

namespace {

QImage Whole(const TCardTable& table) { return table.SurfaceImage().copy(); }

} // namespace

TEST(TableSurface, PlacingThenRemovingAnyCardRestoresTheBackground)
{
    auto table = MakeTable();
    const QImage empty = Whole(*table);
    // Upright, turned, face down, hanging over the right and bottom edges.
    struct Case { int x, y; float angle; bool faceUp; };
    for (const Case c : {Case{10, 10, 0.0f, true}, Case{200, 50, 0.6f, true}, Case{300, 200, 0.0f, false},
                         Case{400, 100, -1.1f, false}, Case{600, 420, 0.0f, true}, Case{-20, -30, 0.3f, true}}) {
        TCard* card = table->NextCard();
        card->FaceUp = c.faceUp;
        table->PlaceCard(card, c.x, c.y, c.angle);
        EXPECT_NE(Whole(*table), empty);
        table->RemoveCard(card);
        EXPECT_EQ(Whole(*table), empty) << "card at " << c.x << "," << c.y << " angle " << c.angle;
        EXPECT_FALSE(card->OnTable);
    }
    EXPECT_TRUE(table->ZList().empty());
}

TEST(TableSurface, CardIsMaskedIntoTheTable)
{
    auto table = MakeTable();
    TCard* card = Deal(*table, 100, 100);
    const QImage& surface = table->SurfaceImage();
    EXPECT_EQ(surface.pixel(100 + 35, 100 + 10), FaceColour(card->Suit, card->Value));
    EXPECT_EQ(surface.pixel(100 + 35, 100 + 45), qRgb(0, 0, 0)) << "black ink stays black";
    // The rounded corner outside the outline keeps the table.
    EXPECT_EQ(surface.pixel(100, 100), PatternAt(100 % 50, 100 % 37));
    table->TurnCard(card);
    EXPECT_EQ(surface.pixel(100 + 35, 100 + 10), BackColour(1));
}

TEST(TableSurface, TurnedCardKeepsItsBlackInk)
{
    auto table = MakeTable();
    TCard* card = Deal(*table, 200, 150);
    table->RotateCard(card, 0.5f);
    // The middle of the card is its black pip, whatever the angle.
    const QRect rect(card->RotLeft, card->RotTop, card->RotWidth, card->RotHeight);
    EXPECT_EQ(table->SurfaceImage().pixel(rect.center()), qRgb(0, 0, 0));
}

// A card turned while face down gets its turned face only when shown; it
// must be the face of the card now, at the angle it lies at now.
TEST(TableSurface, TurnedCardShownLaterLooksAsIfTurnedFaceUp)
{
    auto shownFirst = MakeTable();
    TCard* reference = Deal(*shownFirst, 200, 150);
    shownFirst->RotateCard(reference, 0.5f);

    auto table = MakeTable();
    TCard* card = Find(*table, reference->Suit, reference->Value);
    table->PlaceCard(card, 200, 150, -0.8f);
    table->RotateCard(card, 0.5f);
    table->TurnCard(card);
    EXPECT_TRUE(card->FaceUp);
    EXPECT_EQ(Whole(*table), Whole(*shownFirst));

    // Another card's face put in its place shows at once, turned the same way.
    TCard* other = Find(*shownFirst, csHeart, cvKing);
    shownFirst->RemoveCard(reference);
    other->FaceUp = true;
    shownFirst->PlaceCard(other, 200, 150, 0.5f);
    table->RemoveCard(card);
    card->FaceImage = Find(*table, csHeart, cvKing)->FaceImage;
    table->PlaceCard(card, 200, 150, 0.5f);
    EXPECT_EQ(Whole(*table), Whole(*shownFirst));
}

TEST(TableSurface, RemovingACardUnderTwoFannedCardsRedrawsThemInOrder)
{
    auto table = MakeTable();
    const QImage empty = Whole(*table);
    TCard* bottom = Deal(*table, 100, 100);
    TCard* middle = Deal(*table, 100, 120);
    TCard* top = Deal(*table, 100, 140);
    TCard* aside = Deal(*table, 400, 100);  // not overlapping: must stay put

    // What the table looks like with only the two fanned cards.
    auto reference = MakeTable();
    for (const auto& [card, x, y] : {std::tuple{middle, 100, 120}, std::tuple{top, 100, 140}, std::tuple{aside, 400, 100}}) {
        TCard* same = Find(*reference, card->Suit, card->Value);
        same->FaceUp = true;
        reference->PlaceCard(same, x, y);
    }

    table->RemoveCard(bottom);
    EXPECT_EQ(Whole(*table), Whole(*reference));
    ASSERT_EQ(table->ZList().size(), 3u);
    EXPECT_EQ(table->ZList()[0], middle);
    EXPECT_EQ(table->ZList()[1], top);
    EXPECT_EQ(table->ZList()[2], aside);

    // Lifting the rest in any order still leaves the bare table.
    table->RemoveCard(middle);
    table->RemoveCard(aside);
    table->RemoveCard(top);
    EXPECT_EQ(Whole(*table), empty);
}

TEST(TableSurface, RemovingTheTopCardTouchesNoOtherCard)
{
    auto table = MakeTable();
    Deal(*table, 100, 100);
    Deal(*table, 100, 120);
    const QImage before = Whole(*table);
    TCard* top = Deal(*table, 100, 140);
    table->RemoveCard(top);
    EXPECT_EQ(Whole(*table), before);
}

TEST(TableSurface, PlaceDeckStaircase)
{
    auto table = MakeTable();
    TCardDeck& deck = table->CardDeck();
    for (int i = 0; i < 28; ++i)
        deck.NextCard();
    ASSERT_EQ(deck.StockCount(), 24);
    table->SetPlaceDeckOffset(7);
    table->PlaceDeck(50, 60);
    TCard* next = deck.Cards[std::size_t(deck.DealtCount + 1)];
    TCard* last = deck.Cards[std::size_t(deck.Count())];
    EXPECT_EQ(next->X, 47);
    EXPECT_EQ(next->Y, 57);
    EXPECT_EQ(last->X, 50);
    EXPECT_EQ(deck.StockX, 50);
    EXPECT_EQ(deck.StockY, 60);
    EXPECT_TRUE(table->ZList().empty()) << "stock cards are not in the drawing order";
    // The hit test finds the bottom-most stock card under the point.
    EXPECT_EQ(table->CardAt(60, 70), last);
    // Dealing the top card hands it to the drawing order; clearing lifts all.
    auto empty = MakeTable();
    EXPECT_EQ(table->NextCard(), next);
    ASSERT_EQ(table->ZList().size(), 1u);
    table->ClearTable();
    EXPECT_EQ(Whole(*table), Whole(*empty));
    EXPECT_EQ(deck.DealtCount, 0);
}

TEST(TableSurface, PlaceDeckWithEmptyStockDrawsNothing)
{
    auto table = MakeTable();
    const QImage empty = Whole(*table);
    TCardDeck& deck = table->CardDeck();
    while (deck.NextCard() != nullptr) {
    }
    table->PlaceDeck(10, 10);
    EXPECT_EQ(Whole(*table), empty);
}

TEST(TableSurface, PileBasesDrawOnceAndLiftCleanly)
{
    auto table = MakeTable();
    const QImage empty = Whole(*table);
    table->PlaceBottom(0, 30, 40, 1);
    const QImage once = Whole(*table);
    EXPECT_NE(once, empty);
    table->PlaceBottom(0, 30, 40, 1);
    EXPECT_EQ(Whole(*table), once) << "a placed slot is not drawn again";
    table->RemoveBottom(1, 1);  // never placed
    EXPECT_EQ(Whole(*table), once);
    table->PlaceBottom(1, 200, 40, 3, nullptr, 0.4f);
    EXPECT_TRUE(table->SlotRecord(TCardDeck::FirstSlot(1) + 2).Placed);
    table->PlaceBottom(0, 0, 0, 21);  // kind 0 has 20 slots: ignored
    table->PlaceBottom(7, 0, 0, 1);
    table->ClearBottoms();
    EXPECT_EQ(Whole(*table), empty);
}

TEST(TableSurface, MovedPileBasesFollowARedraw)
{
    auto table = MakeTable();
    table->PlaceBottom(0, 30, 40, 2);
    TCard* card = Deal(*table, 30, 40);
    table->SlotRecord(2).X = 300;
    table->RefreshBackground();
    // The base is now at 300, the card still at 30 on a clean background.
    auto reference = MakeTable();
    reference->PlaceBottom(0, 300, 40, 2);
    TCard* same = Find(*reference, card->Suit, card->Value);
    same->FaceUp = true;
    reference->PlaceCard(same, 30, 40);
    EXPECT_EQ(Whole(*table), Whole(*reference));
}

TEST(TableSurface, BackgroundPictures)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    auto table = MakeTable(120, 90, false);

    // Tiled from the top-left corner, clipped at the right and bottom.
    table->SetBackgroundPicture(PatternPicture().string());
    EXPECT_EQ(table->BackgroundPicture(), PatternPicture().string());
    const QImage& surface = table->SurfaceImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(49, 36), QPoint(50, 0), QPoint(119, 89), QPoint(73, 40)})
        EXPECT_EQ(surface.pixel(p), PatternAt(p.x() % 50, p.y() % 37)) << p.x() << "," << p.y();

    // Stretched: the picture's corners land in the table's corners.
    table->SetStretchBackground(true);
    EXPECT_EQ(table->SurfaceImage().pixel(119, 89), PatternAt(49, 36));
    table->SetStretchBackground(false);

    // Missing, damaged or foreign files: "None" and the colour, no crash.
    const std::filesystem::path damaged = folder / "damaged.jpg";
    std::ofstream(damaged) << "not a jpeg at all";
    const std::filesystem::path truncated = folder / "short.bmp";
    std::ofstream(truncated) << "BM\x10\x00";
    for (const std::filesystem::path& bad : {folder / "missing.bmp", damaged, truncated}) {
        table->SetBackgroundPicture(PatternPicture().string());
        table->SetBackgroundPicture(bad.string());
        EXPECT_EQ(table->BackgroundPicture(), "None") << bad;
        EXPECT_EQ(table->SurfaceImage().pixel(60, 45), TableColour.rgb()) << bad;
    }
}

TEST(TableSurface, JpegBackgroundIsDecodedOnce)
{
    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "Felt.JPG";
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(qRgb(10, 120, 40));
    ASSERT_TRUE(WriteJpegFile(picture, file));
    auto table = MakeTable(100, 80, false);
    table->SetBackgroundPicture(file.string());
    ASSERT_EQ(table->BackgroundPicture(), file.string());
    const QRgb shown = table->SurfaceImage().pixel(70, 70);
    EXPECT_NEAR(qGreen(shown), 120, 4);
    // Once decoded, the picture survives its file (resizes reuse it).
    std::filesystem::remove(file);
    std::ofstream(file) << "gone";
    table->SetTableSize(140, 90);
    EXPECT_EQ(table->BackgroundPicture(), file.string());
    EXPECT_EQ(table->SurfaceImage().pixel(130, 85), shown);
}

TEST(TableSurface, ResizingRedrawsCardsInPlace)
{
    auto table = MakeTable(300, 200);
    TCard* card = Deal(*table, 150, 80);
    table->SetTableSize(500, 400);
    EXPECT_EQ(table->SurfaceImage().size(), QSize(500, 400));
    EXPECT_EQ(card->X, 150);
    EXPECT_EQ(table->SurfaceImage().pixel(150 + 35, 80 + 10), FaceColour(card->Suit, card->Value));
    table->RemoveCard(card);
    EXPECT_EQ(table->SurfaceImage().pixel(150 + 35, 80 + 10), PatternAt((150 + 35) % 50, (80 + 10) % 37));
}

TEST(TableSurface, BackdropGradientReplacesThePicture)
{
    auto table = MakeTable(256, 100);
    TCard* card = Deal(*table, 20, 2);
    table->BackDrop().SetChangeGColour(false);
    table->BackDrop().SetChangeBColour(false);
    table->BackDrop().SetEnabled(true);
    EXPECT_EQ(table->BackgroundPicture(), "None");
    EXPECT_EQ(qRed(table->SurfaceImage().pixel(250, 99)), 250);
    EXPECT_EQ(qGreen(table->SurfaceImage().pixel(250, 99)), 0);
    EXPECT_EQ(table->SurfaceImage().pixel(20 + 35, 2 + 10), FaceColour(card->Suit, card->Value));
}

TEST(TableSurface, InvalidPropertyValuesAreIgnored)
{
    auto table = MakeTable(100, 100, false);
    table->SetCardSpeed(0);
    table->SetPlaceDeckOffset(0);
    table->SetTurnOverAnimationSpeed(-1);
    table->SetAutoShadeMode(4);
    EXPECT_EQ(table->CardSpeed(), 16);
    EXPECT_EQ(table->PlaceDeckOffset(), 666);
    EXPECT_EQ(table->TurnOverAnimationSpeed(), 8);
    EXPECT_EQ(table->AutoShadeMode(), 3);
    table->SetHQDragShadeColour(9);
    EXPECT_EQ(table->HQDragShadeColour(), 0);
}

TEST(TableSurface, OwnerWindowKeepsTheMinimumSize)
{
    QWidget window;
    TCardTable table(&window, Cardsets());
    EXPECT_EQ(window.minimumSize(), QSize(500, 400));
    table.SetMinWidth(640);
    EXPECT_EQ(window.minimumWidth(), 640);
    table.SetAutoResize(true);
    window.resize(800, 600);
    QResizeEvent resize(QSize(800, 600), QSize(640, 400));
    QCoreApplication::sendEvent(&window, &resize);
    EXPECT_EQ(table.SurfaceImage().size(), QSize(800, 600));
}
