// The deal: row deals with quarter steps, face rules, deal counts as upper
// bounds, Kings to the bottom, the base card, The Clock and Restart.
#include "EngineFixture.h"

#include "engine/Snapshot.h"
#include "catalogue/Validation.h"

namespace {

// A one-pack game of our own, dealt by rows onto `counts.size()` piles.
void RowDealRules(TGameRules& rules, const std::vector<int>& counts)
{
    rules = TGameRules{};
    rules.GameName = "Test Rows";
    rules.TableauCount = static_cast<int>(counts.size());
    rules.TableauDealCounts = counts;
    rules.TableauRules = {roBuildDown, roAlternateColour, roFanOnDrop, roDealRows};
    for (int i = 0; i < rules.TableauCount; ++i)
        rules.TableauPositions.emplace_back(15 + 80 * i, 170);
}

TEST_F(EngineTest, KlondikeDealsTwentyEightCardsByRowsWithQuarterStepsUnderFaceDownCards)
{
    Deal("Klondike 1 [Turn over 1]", 1);
    EXPECT_EQ(Engine->StockCount(), 24);
    // The golden shuffle of seed 1 begins 8s, Td, 3h, As, 3d, 5c, 3c, Jc: a
    // row deal gives one card to each pile before the second row starts.
    EXPECT_EQ(CardText(Engine->TableauPiles[0][0], false), "8s");
    EXPECT_EQ(CardText(Engine->TableauPiles[1][0], false), "(Td)");
    EXPECT_EQ(CardText(Engine->TableauPiles[6][0], false), "(3c)");
    EXPECT_EQ(CardText(Engine->TableauPiles[1][1], false), "Jc");
    const TPile& last = Engine->TableauPiles[6];
    ASSERT_EQ(last.size(), 7u);
    for (std::size_t j = 0; j < last.size(); ++j) {
        EXPECT_EQ(last[j]->FaceUp, j == 6) << j;
        EXPECT_EQ(last[j]->Y, 170 + 5 * static_cast<int>(j)) << j; // FanStep 20, a quarter is 5
        EXPECT_EQ(last[j]->X, Engine->Rules.TableauPositions[6].x());
    }
    EXPECT_EQ(Engine->FoundationLabel, "Ace");
    EXPECT_EQ(Engine->SourceLog.size(), 3u);
    EXPECT_EQ(Engine->SourceLog[1], "1");
    EXPECT_EQ(Engine->SourceLog[2], "O");
}

TEST_F(EngineTest, RowDealAskingForMoreCardsThanThePackHoldsStopsWhenTheStockIsEmpty)
{
    RowDealRules(Engine->Rules, {7, 7, 7, 7, 7, 6, 6, 6});
    SetRandSeed(5);
    Engine->StartGame();
    std::vector<std::size_t> sizes;
    for (const TPile& pile : Engine->TableauPiles)
        sizes.push_back(pile.size());
    EXPECT_EQ(sizes, (std::vector<std::size_t>{7, 7, 7, 7, 6, 6, 6, 6}));
    EXPECT_EQ(Engine->StockCount(), 0);
    EXPECT_TRUE(EveryCardOnce());
    // The card that emptied the stock is turned up although it is not the
    // last its pile was meant to get; the piles it skipped show their sixth.
    EXPECT_TRUE(Engine->TableauPiles[3][6]->FaceUp);
    EXPECT_FALSE(Engine->TableauPiles[2][5]->FaceUp);
    EXPECT_TRUE(Engine->TableauPiles[7][5]->FaceUp);
}

TEST_F(EngineTest, FaceDownCountsLeaveTheBottomCardsDownAndSpaceFaceUpCardsByFullSteps)
{
    Deal("Yukon", 9); // 1,6,7,...,11 cards, the bottom 0..6 face down
    for (std::size_t p = 0; p < Engine->TableauPiles.size(); ++p) {
        const TPile& pile = Engine->TableauPiles[p];
        for (std::size_t j = 0; j < pile.size(); ++j)
            EXPECT_EQ(pile[j]->FaceUp, j >= p) << p << "/" << j;
        for (std::size_t j = 1; j < pile.size(); ++j) {
            const int step = pile[j]->Y - pile[j - 1]->Y;
            EXPECT_EQ(step, pile[j - 1]->FaceUp ? 20 : 5) << p << "/" << j;
        }
    }
}

TEST_F(EngineTest, AKingDealtOntoCardsGoesToTheBottomOfItsPile)
{
    RowDealRules(Engine->Rules, {3});
    Engine->Rules.TableauRules = {roDealRows, roDealFaceUp, roKingToBottom};
    // Find a deal whose third card is a King and whose first two are not.
    for (std::uint32_t seed = 1; seed < 400; ++seed) {
        SetRandSeed(seed);
        Engine->StartGame();
        const TPile& pile = Engine->TableauPiles[0];
        ASSERT_EQ(pile.size(), 3u);
        if (pile[0]->Value != cvKing || pile[1]->Value == cvKing || pile[2]->Value == cvKing)
            continue;
        // The deal order is recoverable from the pack: the first three dealt cards.
        TCard* first = Table->CardDeck().CardByIndex(1);
        TCard* second = Table->CardDeck().CardByIndex(2);
        TCard* third = Table->CardDeck().CardByIndex(3);
        if (third->Value != cvKing)
            continue;
        EXPECT_EQ(pile[0], third);
        EXPECT_EQ(pile[1], first);
        EXPECT_EQ(pile[2], second);
        return;
    }
    FAIL() << "no deal with a King third";
}

TEST_F(EngineTest, TheBaseCardComesOffTheStockAndNamesTheFoundationRank)
{
    Deal("Canfield", 3);
    const TCard* base = Engine->FoundationPiles[0][0];
    ASSERT_NE(base, nullptr);
    EXPECT_TRUE(base->FaceUp);
    EXPECT_EQ(Engine->Rules.FoundationBaseCard, base);
    EXPECT_EQ(Engine->FoundationLabel, std::string(RankWord(base->Value)));
    EXPECT_EQ(Engine->FoundationCards, 1);
    EXPECT_EQ(Engine->Points, 50);
    // Another empty foundation takes only the base rank.
    TCard* sameRank = nullptr;
    TCard* otherRank = nullptr;
    for (int i = 1; i <= 52; ++i) {
        TCard* card = Table->CardDeck().CardByIndex(i);
        if (card != base && card->Value == base->Value)
            sameRank = card;
        if (card->Value != base->Value)
            otherRank = card;
    }
    EXPECT_TRUE(Engine->ValidDrop(sameRank, pkFoundation, {1, 0}, pkWaste, {0, 0}));
    EXPECT_FALSE(Engine->ValidDrop(otherRank, pkFoundation, {1, 0}, pkWaste, {0, 0}));
}

TEST_F(EngineTest, TheClockMovesKingsUnderTheCentrePileUntilAnotherCardShows)
{
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        Deal("The Clock", seed);
        ASSERT_EQ(Engine->FoundationPiles.size(), 13u);
        const TPile& centre = Engine->FoundationPiles[12];
        ASSERT_EQ(centre.size(), 4u);
        const bool allUp = std::all_of(centre.begin(), centre.end(), [](const TCard* c) { return c->FaceUp; });
        EXPECT_TRUE(centre.back()->FaceUp);
        EXPECT_TRUE(centre.back()->Value != cvKing || allUp) << "seed " << seed;
        for (std::size_t i = 0; i < 12; ++i)
            EXPECT_EQ(Engine->FoundationPiles[i].size(), 4u);
        EXPECT_TRUE(EveryCardOnce());
    }
}

TEST_F(EngineTest, RestartDealsTheSameCardsAndClosesTheGameThenNewGameDealsAfresh)
{
    Deal("Klondike 1 [Turn over 1]", 1234);
    const std::string dealt = PilesText(*Engine);
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    ASSERT_NE(PilesText(*Engine), dealt);
    Host.Answer = true;
    Engine->Restart();
    EXPECT_EQ(Host.Questions.size(), 1u); // the game was open and scored
    EXPECT_EQ(PilesText(*Engine), dealt);
    EXPECT_EQ(Engine->SourceLog[2], "0");
    EXPECT_NE(Engine->Caption.find("[Closed Game]"), std::string::npos);
    // A closed game restarts without asking.
    Engine->Restart();
    EXPECT_EQ(Host.Questions.size(), 1u);
    EXPECT_EQ(PilesText(*Engine), dealt);
    Engine->NewGame();
    EXPECT_NE(PilesText(*Engine), dealt);
    EXPECT_EQ(Engine->SourceLog[2], "O");
}

TEST_F(EngineTest, NoCardDraggableMeansOneEmptyEntryAndDropPointsFollowTheTargets)
{
    Deal("Osmosis", 2); // tableau piles are no drop targets
    EXPECT_EQ(Engine->DropPoints.size(), Engine->FoundationPiles.size());
    EXPECT_EQ(Engine->DropPoints[0], Engine->Rules.FoundationPositions[0]);
    // Klondike picks up face-up groups: empty piles offer nothing at all.
    Deal("Klondike 1 [Turn over 1]", 2);
    Engine->WasteCards.clear();
    for (TPile& pile : Engine->TableauPiles)
        pile.assign(1, nullptr);
    Engine->SetLists();
    EXPECT_EQ(Engine->Draggables, (std::vector<TCard*>{nullptr}));
}

} // namespace

namespace {

TEST_F(EngineTest, TheCompactLayoutRefusesLargeStepsAndResetsThem)
{
    Deal("Klondike 1 [Turn over 1]", 1);
    Engine->SetScale(3);
    EXPECT_EQ(Host.LastMessage, "Scale for this deck, in this layout mode, is too large - Reset");
    EXPECT_EQ(Engine->ScaleStep, 1);
    EXPECT_EQ(Table->CardDeck().CardWidth, 71);
    Host.LastMessage.clear();
    Engine->SetScale(2); // "Standard" may grow to 125% in the Compact layout
    EXPECT_TRUE(Host.LastMessage.empty());
    EXPECT_EQ(Engine->ScaleStep, 2);
    Engine->SetScale(1);
    EXPECT_EQ(Table->CardDeck().CardWidth, 71);

    // A small set at a step of -1 or more is refused in the Compact layout.
    Table->CardDeck().SetDeckName("M_Small");
    ASSERT_EQ(Table->CardDeck().DeckName(), "M_Small");
    Engine->CardSetChanged("Standard");
    EXPECT_EQ(Host.LastMessage, "Scale for this deck, in this layout mode, is toolarge - Reset");
    EXPECT_EQ(Table->CardDeck().DeckName(), "Standard");
    EXPECT_FLOAT_EQ(Engine->ScaleX, 1.0f);
}

TEST_F(EngineTest, ARelayoutKeepsEveryCardInItsPlaceRelativeToItsPile)
{
    Deal("Klondike 1 [Turn over 1]", 1);
    std::vector<QPoint> before;
    for (const TPile& pile : Engine->TableauPiles)
        for (const TCard* card : pile)
            before.emplace_back(card->X, card->Y);
    Engine->Relayout();
    std::vector<QPoint> after;
    for (const TPile& pile : Engine->TableauPiles)
        for (const TCard* card : pile)
            after.emplace_back(card->X, card->Y);
    EXPECT_EQ(before, after);
    EXPECT_EQ(Engine->Rules.GameName, "Klondike 1 [Turn over 1]");
    EXPECT_EQ(Engine->TableauPiles.size(), 7u);
}

} // namespace

namespace {

TEST_F(EngineTest, TheExtendedLayoutStretchesADownwardFanningGameSidewaysOnlyAndDealsTheSameCards)
{
    Deal("Klondike 1 [Turn over 1]", 42);
    const std::string compact = PilesText(*Engine);
    const QPoint compactSecond = Engine->Rules.TableauPositions[1];
    Engine->SwitchToExtended();
    Deal("Klondike 1 [Turn over 1]", 42);
    EXPECT_EQ(PilesText(*Engine), compact);
    EXPECT_GT(Engine->Rules.TableauPositions[1].x(), compactSecond.x());
    EXPECT_EQ(Engine->Rules.TableauPositions[1].y(), compactSecond.y());
    EXPECT_EQ(Engine->TableauPiles[1][0]->X, Engine->Rules.TableauPositions[1].x());
    EXPECT_TRUE(EveryCardOnce());
    EXPECT_EQ(Host.Results.size(), 1u); // the game left behind; the measuring deal counts nothing
    Engine->SwitchToCompact();
    EXPECT_EQ(Engine->Layout.ColumnStep, 102);
}

} // namespace

namespace {

TEST_F(EngineTest, WithNoGameChosenLayoutChangesAndCardSizesLayNothingOnTheTable)
{
    Table->show();
    ASSERT_TRUE(Table->isVisible());
    const QImage empty = Table->SurfaceImage().copy();
    Engine->SwitchToExtended();
    Engine->SetScale(2);
    Engine->Relayout();
    Engine->AutoMode();
    Engine->SetScale(-1);
    Engine->SwitchToCompact();
    Engine->SetScale(1);
    const TCardDeck& deck = Table->CardDeck();
    for (int i = 1; i <= deck.Count(); ++i)
        EXPECT_FALSE(deck.CardByIndex(i)->OnTable) << "card " << i;
    EXPECT_TRUE(Table->ZList().empty());
    EXPECT_EQ(Table->SurfaceImage(), empty) << "no pack drawn at the top left";
    EXPECT_EQ(Table->CardDeck().ScaleStep(), 1) << "the size steps still apply";
    Table->hide();
}

} // namespace

namespace {

std::vector<const TCard*> FoundationCardsOf(const TEngine& engine)
{
    std::vector<const TCard*> cards;
    for (const TPile& pile : engine.FoundationPiles)
        for (const TCard* card : pile)
            if (card)
                cards.push_back(card);
    return cards;
}

TEST_F(EngineTest, PrePlacingPutsTheListedAcesOutInPackOrderUpToItsCount)
{
    const auto ace = [this](int suit) -> const TCard* { return Card(cvAce, suit); };
    Deal("Brigade", 4); // every Ace
    EXPECT_EQ(FoundationCardsOf(*Engine), (std::vector<const TCard*>{ace(csClub), ace(csDiamond), ace(csHeart), ace(csSpade)}));
    Deal("Good Measure", 4); // two Aces
    EXPECT_EQ(FoundationCardsOf(*Engine), (std::vector<const TCard*>{ace(csClub), ace(csDiamond)}));
    Deal("Little Windmill", 4); // one Ace
    EXPECT_EQ(FoundationCardsOf(*Engine), (std::vector<const TCard*>{ace(csClub)}));
    Deal("Black Hole", 4); // the Ace of Spades alone
    EXPECT_EQ(FoundationCardsOf(*Engine), (std::vector<const TCard*>{ace(csSpade)}));
    for (const TCard* card : FoundationCardsOf(*Engine))
        EXPECT_TRUE(card->FaceUp);
    EXPECT_TRUE(EveryCardOnce());
    // The kept cards went back and were shuffled: the other Aces are still in play.
    Deal("Good Measure", 4);
    int acesElsewhere = 0;
    for (const TPile& pile : Engine->TableauPiles)
        for (const TCard* card : pile)
            acesElsewhere += card && card->Value == cvAce;
    EXPECT_EQ(acesElsewhere, 2);
}

TEST_F(EngineTest, ReserveCardsAndCellsLieWhereTheirKindOfReserveSays)
{
    const TLayoutConstants& l = Engine->Layout;
    Deal("Canfield", 2); // a stacked reserve: every card on one place
    const int x0 = Engine->Rules.ReservePosition.x() == 0 ? l.ReserveLeft : Engine->Rules.ReservePosition.x();
    for (const TCard* card : Engine->ReserveCards)
        EXPECT_EQ(QPoint(card->X, card->Y), QPoint(x0, l.SecondRowTop));
    EXPECT_TRUE(Engine->ReserveCards.back()->FaceUp);

    Deal("Brigade", 2); // fanned down the second row
    ASSERT_TRUE(Engine->Rules.ReserveFanned);
    const int bx = Engine->Rules.ReservePosition.x() == 0 ? l.ReserveLeft : Engine->Rules.ReservePosition.x();
    for (std::size_t i = 0; i < Engine->ReserveCards.size(); ++i)
        EXPECT_EQ(QPoint(Engine->ReserveCards[i]->X, Engine->ReserveCards[i]->Y),
                  QPoint(bx, l.SecondRowTop + static_cast<int>(i) * Engine->FanStep));

    Deal("Freecell", 2); // cells to the right of the reserve position, dealt empty
    const QPoint r = Engine->Rules.ReservePosition;
    EXPECT_EQ(Engine->ReserveCards, TPile(4, nullptr));
    for (int k = 0; k < 4; ++k)
        EXPECT_NE(std::find(Engine->DropPoints.begin(), Engine->DropPoints.end(), QPoint(r.x() + (k + 1) * l.ColumnStep, r.y())),
                  Engine->DropPoints.end())
            << "cell " << k;
}

TEST_F(EngineTest, AutoFitKeepsFiveCardWidthsFreeBesideASidewaysFanThatTakesDropsAndStretchesItDownToo)
{
    const int w = Table->width();
    const int h = Table->height();
    const int below = h - (2 * 96 + 50);
    const auto extent = [this](const char* game, bool extended) {
        if (extended)
            Engine->SwitchToExtended();
        else
            Engine->SwitchToCompact();
        Deal(game, 3);
        return Engine->MaxInLayout();
    };
    // A sideways fan that takes drops grows to the right: five card widths stay free.
    const QPoint castle = extent("Beleaguered Castle", true);
    const QPoint castleCompact = extent("Beleaguered Castle", false);
    EXPECT_LE(castle.x(), w - 5 * 71);
    EXPECT_GT(castle.x(), castleCompact.x());
    EXPECT_LE(castle.y(), below);
    EXPECT_GT(castle.y(), castleCompact.y());
    // Osmosis fans sideways but takes no drops on its tableau: two widths.
    const QPoint osmosis = extent("Osmosis", true);
    const QPoint osmosisCompact = extent("Osmosis", false);
    EXPECT_LE(osmosis.x(), w - 2 * 71);
    EXPECT_GT(osmosis.x(), w - 5 * 71);
    EXPECT_GT(osmosis.y(), osmosisCompact.y());
    EXPECT_LE(osmosis.y(), below);
    // A downward fan is stretched sideways only.
    const QPoint klondike = extent("Klondike 1 [Turn over 1]", true);
    EXPECT_LE(klondike.x(), w - 2 * 71);
    EXPECT_GT(klondike.x(), w - 3 * 71);
    EXPECT_EQ(Engine->Layout.RowStep, 155);
    EXPECT_EQ(Engine->Layout.SecondRowTop, 170);
}

TEST_F(EngineTest, TheExtendedLayoutTakesEveryCardSizeAndLaysTheGameOutAgain)
{
    Engine->SwitchToExtended();
    Deal("Klondike 1 [Turn over 1]", 8);
    const std::string piles = PilesText(*Engine);
    Engine->SetScale(3);
    EXPECT_TRUE(Host.LastMessage.empty()) << "no refusal in the Extended layout";
    EXPECT_EQ(Table->CardDeck().ScaleStep(), 3);
    EXPECT_FLOAT_EQ(Engine->ScaleX, Table->CardDeck().CardWidth / 71.0f);
    EXPECT_GE(Engine->Layout.RowStep, static_cast<int>(155 * Engine->ScaleY));
    EXPECT_EQ(PilesText(*Engine), piles) << "the same game, not a new deal";
    for (std::size_t p = 0; p < Engine->TableauPiles.size(); ++p)
        EXPECT_EQ(QPoint(Engine->TableauPiles[p][0]->X, Engine->TableauPiles[p][0]->Y), Engine->Rules.TableauPositions[p]);
    Engine->SetScale(1);
    EXPECT_EQ(Table->CardDeck().ScaleStep(), 1);
    EXPECT_EQ(PilesText(*Engine), piles);
}

TEST_F(EngineTest, ExtraPilesFanDownFromTheirPlacesWithOnlyTheTopCardUpUnlessAllAreDealtUp)
{
    Deal("Holding Pattern", 5);
    ASSERT_EQ(Engine->ExceptPiles.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const TPile& pile = Engine->ExceptPiles[i];
        const QPoint origin = Engine->Rules.ExceptPositions[i];
        ASSERT_EQ(pile.size(), 20u);
        for (std::size_t j = 0; j < pile.size(); ++j) {
            EXPECT_EQ(QPoint(pile[j]->X, pile[j]->Y), origin + QPoint(0, static_cast<int>(j) * Engine->FanStep));
            EXPECT_EQ(pile[j]->FaceUp, j + 1 == pile.size()) << "pile " << i << " card " << j;
        }
    }
    Deal("Obrai-Skai", 5);
    ASSERT_EQ(Engine->ExceptPiles.size(), 1u);
    for (const TCard* card : Engine->ExceptPiles[0])
        EXPECT_TRUE(card->FaceUp);
    // Only the top card of an extra pile may be picked up; taking it turns up the next.
    for (std::uint32_t seed = 1; seed < 100; ++seed) {
        Deal("Holding Pattern", seed);
        TCard* top = Engine->ExceptPiles[0].back();
        TCard* next = Engine->ExceptPiles[0][18];
        EXPECT_NE(std::find(Engine->Draggables.begin(), Engine->Draggables.end(), top), Engine->Draggables.end());
        EXPECT_EQ(std::find(Engine->Draggables.begin(), Engine->Draggables.end(), next), Engine->Draggables.end());
        for (int target = 0; target < static_cast<int>(Engine->DropPoints.size()) && Engine->HistoryPos == 0; ++target)
            Engine->MakeMove(pkExcept, 0, target, 19);
        if (Engine->HistoryPos == 0)
            continue;
        EXPECT_TRUE(next->FaceUp);
        EXPECT_EQ(Engine->History[1].front(), '-') << "the entry marks the card turned up";
        Engine->Undo();
        EXPECT_FALSE(next->FaceUp);
        EXPECT_EQ(Engine->ExceptPiles[0].back(), top);
        EXPECT_EQ(QPoint(top->X, top->Y), Engine->Rules.ExceptPositions[0] + QPoint(0, 19 * Engine->FanStep));
        return;
    }
    FAIL() << "no deal let the top card of an extra pile move";
}

} // namespace
