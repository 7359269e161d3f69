// Drops, stock deals, history, undo and redo, automatic moves, redeal and
// the points the cues give.
#include "EngineFixture.h"

#include "engine/Snapshot.h"

#include <algorithm>

// Reaches the engine's private steps that need no mouse.
class TEngineTestAccess {
public:
    static void WinTest(TEngine& engine) { engine.WinTest(false); }
    static bool CompleteRunFits(const TEngine& engine, TPilePos source) { return engine.CompleteRunFits(source); }
    static const TCard* SelectedCard(const TEngine& engine) { return engine.SelectedCard; }
};

namespace {

TEST_F(EngineTest, UndoingAThreeCardDealTakesItBackWithTheRedealOfferAndThePass)
{
    Deal("Klondike 2 [Turn over 3]", 21);
    ASSERT_EQ(Engine->Rules.TurnCount, 3);
    for (int click = 0; click < 8; ++click)
        Engine->MakeMove(pkStockDeal, 0, 0, 0);
    EXPECT_EQ(Engine->StockCount(), 0);
    EXPECT_EQ(Engine->WasteCards.size(), 24u);
    EXPECT_EQ(Engine->PassesDone, 1);
    EXPECT_TRUE(Engine->RedealOffered); // unlimited passes
    EXPECT_EQ(Engine->Points, 0);       // stock clicks score nothing

    Engine->Undo();
    EXPECT_EQ(Engine->StockCount(), 3);
    EXPECT_EQ(Engine->WasteCards.size(), 21u);
    EXPECT_EQ(Engine->PassesDone, 0);
    EXPECT_FALSE(Engine->RedealOffered);
    EXPECT_TRUE(EveryCardOnce());

    Engine->Redo();
    EXPECT_EQ(Engine->StockCount(), 0);
    EXPECT_EQ(Engine->PassesDone, 1);
    EXPECT_TRUE(Engine->RedealOffered);
    EXPECT_EQ(Engine->Points, 0);

    // Each redeal costs 10 and can be undone, bringing the offer back.
    const std::vector<TCard*> waste = Engine->WasteCards;
    Engine->Redeal();
    EXPECT_EQ(Engine->Points, -10);
    EXPECT_EQ(Engine->StockCount(), 24);
    EXPECT_FALSE(Engine->RedealOffered);
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    EXPECT_EQ(Engine->WasteCards[0], waste[0]); // the pass starts again from the first card turned
    Engine->Undo();
    Engine->Undo();
    EXPECT_EQ(Engine->WasteCards, waste);
    EXPECT_TRUE(Engine->RedealOffered);
    EXPECT_EQ(Engine->Points, -10);
}

TEST_F(EngineTest, TurnOneKlondikeOffersNoRedealWhenTheStockRunsOut)
{
    Deal("Klondike 1 [Turn over 1]", 21);
    for (int click = 0; click < 24; ++click)
        Engine->MakeMove(pkStockDeal, 0, 0, 0);
    EXPECT_EQ(Engine->PassesDone, 1);
    EXPECT_FALSE(Engine->RedealOffered);
}

TEST_F(EngineTest, ANewMoveAfterAnUndoClosesTheGameAtMinus666)
{
    Deal("Klondike 1 [Turn over 1]", 5);
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    Engine->MakeMove(pkWaste, 0, -1, 0); // refused: -5
    EXPECT_EQ(Engine->Points, -5);
    Engine->Undo();
    EXPECT_EQ(Engine->Points, -5); // undo leaves the points
    EXPECT_TRUE(Engine->GameOpen());
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    EXPECT_EQ(Engine->Points, -666);
    EXPECT_FALSE(Engine->GameOpen());
    EXPECT_FALSE(Engine->RedoEnabled);
    ASSERT_EQ(Host.Results.size(), 1u);
    EXPECT_FALSE(Host.Results[0].Won);
    EXPECT_EQ(Host.Results[0].Points, -666);
    // The record keeps only the actions in force.
    EXPECT_EQ(Engine->SourceLog.size(), 7u);
}

TEST_F(EngineTest, AFoundationCardMovedBackCostsFiftyAndUndoRestoresTheCount)
{
    // Canfield's base card lies on foundation 1; dragging it down is allowed
    // nowhere, but taking cards off foundations is a rule of other games.
    Deal("Canfield", 3);
    Engine->Rules.FoundationRules.Include(roTakeFromFoundation);
    Engine->SetLists();
    TCard* base = Engine->FoundationPiles[0][0];
    const int before = Engine->FoundationCards;
    // Give tableau pile 1 a top card the base card builds on (a card one
    // higher of the other colour; the pile arrays alone decide).
    const int higher = (base->Value + 1) % 13;
    const int otherSuit = (base->Suit == csClub || base->Suit == csSpade) ? csHeart : csSpade;
    TCard* top = Card(higher, otherSuit);
    Engine->TableauPiles[0] = {top};
    Engine->SetLists();
    const int points = Engine->Points;
    Engine->MakeMove(pkFoundation, 0, 0, 0);
    ASSERT_EQ(Engine->TableauPiles[0].back(), base);
    EXPECT_EQ(Engine->FoundationPiles[0][0], nullptr);
    EXPECT_EQ(Engine->FoundationCards, before - 1);
    EXPECT_EQ(Engine->Points, points - 50 - 1);
    Engine->Undo();
    EXPECT_EQ(Engine->FoundationPiles[0][0], base);
    EXPECT_EQ(Engine->TableauPiles[0], (TPile{top}));
    EXPECT_EQ(Engine->FoundationCards, before);
}

TEST_F(EngineTest, EmptyingACanfieldPileRefillsItFromTheReserveAndOneUndoTakesBothBack)
{
    for (std::uint32_t seed = 1; seed < 300; ++seed) {
        Deal("Canfield", seed);
        const std::size_t reserve = Engine->ReserveCards.size();
        // A one-card tableau pile whose card fits on another pile or a foundation.
        for (int p = 0; p < static_cast<int>(Engine->TableauPiles.size()); ++p) {
            for (int target = 0; target < static_cast<int>(Engine->DropPoints.size()); ++target) {
                const std::string before = PilesText(*Engine);
                const int historyBefore = Engine->HistoryPos;
                Engine->MakeMove(pkTableau, p, target, 0);
                if (Engine->HistoryPos == historyBefore)
                    continue;
                EXPECT_NE(Engine->TableauPiles[static_cast<std::size_t>(p)][0], nullptr);
                EXPECT_EQ(Engine->ReserveCards.size(), reserve - 1);
                EXPECT_EQ(Engine->History[static_cast<std::size_t>(Engine->HistoryPos - 2)], "102");
                Engine->Undo();
                EXPECT_EQ(Engine->HistoryPos, historyBefore);
                EXPECT_EQ(PilesText(*Engine), before);
                return;
            }
        }
    }
    FAIL() << "no deal offered a move off a tableau pile";
}

TEST_F(EngineTest, UndoTurnsAnUncoveredCardDownAgainAndRedoReturnsToTheSamePoints)
{
    for (std::uint32_t seed = 1; seed < 300; ++seed) {
        Deal("Klondike 1 [Turn over 1]", seed);
        for (int p = 1; p < 7; ++p) {
            for (int target = 0; target < 7; ++target) {
                const std::string before = PilesText(*Engine);
                Engine->MakeMove(pkTableau, p, target, p);
                if (PilesText(*Engine) == before)
                    continue;
                TCard* uncovered = Engine->TableauPiles[static_cast<std::size_t>(p)].back();
                ASSERT_TRUE(uncovered->FaceUp);
                EXPECT_EQ(Engine->History[1][0], '-');
                const int points = Engine->Points;
                const std::string after = PilesText(*Engine);
                Engine->Undo();
                EXPECT_FALSE(uncovered->FaceUp);
                EXPECT_EQ(PilesText(*Engine), before);
                Engine->Redo();
                EXPECT_EQ(PilesText(*Engine), after);
                EXPECT_EQ(Engine->Points, points);
                EXPECT_TRUE(Engine->GameOpen());
                return;
            }
        }
    }
    FAIL() << "no deal offered a tableau move";
}

TEST_F(EngineTest, AutomovePlaysAnAceAndItsTwoInOnePassAndSaysSoWhenNothingMoves)
{
    bool refusalSeen = false;
    for (std::uint32_t seed = 1; seed < 3000; ++seed) {
        Deal("Klondike 1 [Turn over 1]", seed);
        Engine->MakeMove(pkStockDeal, 0, 0, 0);
        const TCard* waste = Engine->WasteCards.back();
        const bool aceOnWaste = waste->Value == cvAce;
        bool twoOnTop = false;
        bool anyAceShowing = aceOnWaste;
        for (const TPile& pile : Engine->TableauPiles) {
            twoOnTop = twoOnTop || (pile.back()->Value == cvTwo && pile.back()->Suit == waste->Suit);
            anyAceShowing = anyAceShowing || pile.back()->Value == cvAce;
        }
        if (!anyAceShowing && !refusalSeen) {
            const int points = Engine->Points;
            const std::size_t records = Engine->SourceLog.size();
            Engine->AutomoveExecute();
            EXPECT_EQ(Engine->Points, points - 5);
            EXPECT_EQ(Engine->SourceLog.size(), records + 4);
            EXPECT_EQ(Engine->SourceLog.back(), "-1");
            refusalSeen = true;
        }
        if (!aceOnWaste || !twoOnTop)
            continue;
        TCard* two = Card(cvTwo, waste->Suit);
        Engine->AutomoveExecute();
        EXPECT_GE(Engine->FoundationCards, 2);
        EXPECT_EQ(Engine->Points, 50 * Engine->FoundationCards);
        EXPECT_EQ(Engine->FoundationPiles[0][0], waste);
        EXPECT_EQ(Engine->FoundationPiles[0][1], two);
        // Each automatic move is its own undoable entry.
        const int cards = Engine->FoundationCards;
        Engine->Undo();
        EXPECT_EQ(Engine->FoundationCards, cards - 1);
        EXPECT_TRUE(refusalSeen);
        return;
    }
    FAIL() << "no deal put an Ace on the waste over its Two";
}

TEST_F(EngineTest, TheFortyFourthFoundationCardSoundsTheNearlyDoneCueAndStillScores)
{
    Deal("Klondike 1 [Turn over 1]", 1);
    Engine->FoundationCards = 42;
    Host.Sounds.clear();
    Host.PlaySounds = true;
    Engine->Sound("success.wav", 1, 100);
    Engine->Sound("SUCCESS.WAV", 1, 100);
    ASSERT_EQ(Host.Sounds.size(), 2u);
    EXPECT_EQ(Host.Sounds[0], "success.wav");
    EXPECT_EQ(Host.Sounds[1], "BEEPSPAC.WAV");
    EXPECT_EQ(Engine->Points, 100);
    Engine->Sound("drop0.wav", 1, 100);
    EXPECT_EQ(Host.Sounds.back(), "drop.wav");
    EXPECT_EQ(Engine->Points, 100);
    Engine->Sound("waste.wav", 1, 100);
    EXPECT_EQ(Engine->Points, 90);
}

TEST_F(EngineTest, ASpiderDealIsRefusedWithABeepWhileAColumnIsEmpty)
{
    Deal("Spider", 3);
    Engine->TableauPiles[4].assign(1, nullptr);
    const int stock = Engine->StockCount();
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    EXPECT_EQ(Engine->StockCount(), stock);
    EXPECT_EQ(Host.Beeps, 1);
}

TEST_F(EngineTest, LaBelleLucieGathersShufflesAndDealsAgainWithoutUndo)
{
    Deal("La Belle Lucie", 8);
    EXPECT_TRUE(Engine->RedealOffered);
    const std::string before = PilesText(*Engine);
    Engine->Redeal();
    EXPECT_NE(PilesText(*Engine), before);
    EXPECT_EQ(Engine->PassesDone, 1);
    EXPECT_EQ(Engine->HistoryPos, 0);
    EXPECT_TRUE(Engine->Rules.TableauRules.Contains(roDealPileByPile));
    EXPECT_TRUE(EveryCardOnce());
    EXPECT_EQ(Engine->Points, -10);
}

TEST_F(EngineTest, AcesUpIsWonWithFortyEightDiscardsAndTheFourAcesLeft)
{
    Deal("Aces Up", 1);
    for (int s = 0; s < 4; ++s)
        Engine->TableauPiles[static_cast<std::size_t>(s)] = {Card(cvAce, s)};
    Engine->FoundationCards = 47;
    TEngineTestAccess::WinTest(*Engine);
    EXPECT_FALSE(Engine->GameWon);
    Engine->FoundationCards = 48;
    TEngineTestAccess::WinTest(*Engine);
    EXPECT_TRUE(Engine->GameWon);
    EXPECT_FALSE(Engine->GameOpen());
    ASSERT_FALSE(Host.Results.empty());
    EXPECT_TRUE(Host.Results.back().Won);
    EXPECT_EQ(Engine->Draggables, (std::vector<TCard*>{nullptr}));
}

TEST_F(EngineTest, OnlyAThirteenCardRunOfOneSuitReachingThePileTopGoesToASpiderFoundation)
{
    Deal("Spider", 5);
    TPile run = {Card(cvFive, csClub)};
    for (int v = cvKing; v >= cvAce; --v)
        run.push_back(Card(v, csHeart));
    Engine->TableauPiles[0] = run;
    EXPECT_TRUE(TEngineTestAccess::CompleteRunFits(*Engine, {0, 1}));
    EXPECT_FALSE(TEngineTestAccess::CompleteRunFits(*Engine, {0, 2})); // twelve cards
    run.push_back(Card(cvSix, csSpade));
    Engine->TableauPiles[0] = run;
    EXPECT_FALSE(TEngineTestAccess::CompleteRunFits(*Engine, {0, 1})); // not up to the top
    run.pop_back();
    run[5] = Card(cvNine, csDiamond); // a break of suit inside the run
    Engine->TableauPiles[0] = run;
    EXPECT_FALSE(TEngineTestAccess::CompleteRunFits(*Engine, {0, 1}));
}

TEST_F(EngineTest, SimplePairsMarksTheSelectionWithAHighlightThatLeavesNoTrace)
{
    Deal("Simple Pairs", 11);
    const QImage before = Table->SurfaceImage().copy();
    TCard* first = Engine->TableauPiles[0].back();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->FaceUp);
    Engine->CardClickEvent(first, 0);
    EXPECT_EQ(TEngineTestAccess::SelectedCard(*Engine), first);
    EXPECT_TRUE(Table->Sprite.Shown);
    EXPECT_FLOAT_EQ(Table->Sprite.Scale, 1.2f);
    EXPECT_NE(Table->SurfaceImage(), before);

    Engine->CardClickEvent(first, 0); // the same card again: selection dropped
    EXPECT_EQ(TEngineTestAccess::SelectedCard(*Engine), nullptr);
    EXPECT_FALSE(Table->Sprite.Shown);
    EXPECT_EQ(Table->SurfaceImage(), before);

    // A second card ends the attempt whatever it matches, and the highlight goes.
    Engine->CardClickEvent(first, 0);
    TCard* second = Engine->TableauPiles[1].back();
    ASSERT_NE(second, nullptr);
    Engine->CardClickEvent(second, 0);
    EXPECT_EQ(TEngineTestAccess::SelectedCard(*Engine), nullptr);
    EXPECT_FALSE(Table->Sprite.Shown);
    EXPECT_TRUE(EveryCardOnce());
}

} // namespace
