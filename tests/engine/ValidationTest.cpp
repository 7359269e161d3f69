// Move validation over real games with arranged piles: ValidDrop reads only
// the piles, so each case sets the cards it needs.
#include "EngineFixture.h"

#include "catalogue/Validation.h"

namespace {

TEST(Rules, SuperMoveCountsCellsAndDoublesPerEmptyColumnUnlessOnlyKingsFillThem)
{
    const TRuleOptions freecell = {roBuildDown, roAlternateColour, roMoveSequences};
    EXPECT_EQ(SuperMoveCapacity(freecell, 2, 1), 6);
    EXPECT_EQ(SuperMoveCapacity(freecell, 2, 0), 3);
    EXPECT_EQ(SuperMoveCapacity(freecell, 4, 2), 20);
    EXPECT_EQ(SuperMoveCapacity(freecell, 0, -1), 1);
    TRuleOptions eightOff = freecell;
    eightOff.Include(roEmptyKing);
    EXPECT_EQ(SuperMoveCapacity(eightOff, 2, 1), 3);
    EXPECT_EQ(SuperMoveCapacity(eightOff, 5, 3), 6);
    TRuleOptions unlimited = freecell;
    unlimited.Include(roUnlimitedMoves);
    EXPECT_EQ(SuperMoveCapacity(unlimited, 0, 0), 13);
}

TEST(Rules, WrapsAndRankOptionsAsBlackHoleAndKlondikeUseThem)
{
    const TRuleOptions blackHole = {roBuildUpOrDown, roKingOnAce, roAceOnKing};
    const TCardFace king{12, 0}, queen{11, 2}, ace{0, 1}, two{1, 3}, five{4, 0};
    EXPECT_TRUE(RankFits(blackHole, queen, king));
    EXPECT_TRUE(RankFits(blackHole, ace, king));
    EXPECT_TRUE(RankFits(blackHole, king, ace));
    EXPECT_TRUE(RankFits(blackHole, two, ace));
    EXPECT_FALSE(RankFits(blackHole, five, ace));
    const TRuleOptions klondike = {roBuildDown, roAlternateColour};
    const TCardFace blackSeven{6, 3}, redSix{5, 1}, blackSix{5, 0};
    EXPECT_TRUE(RankFits(klondike, redSix, blackSeven) && SuitFits(klondike, redSix, blackSeven));
    EXPECT_FALSE(SuitFits(klondike, blackSix, blackSeven));
    // Spider drops any suit; its runs hold together only in one suit.
    const TRuleOptions spider = {roBuildDown, roSameSuit, roAnySuitDrop};
    EXPECT_TRUE(SuitFits(spider, TCardFace{6, 2}, TCardFace{7, 0}));
    EXPECT_FALSE(RunLinkFits(spider, TCardFace{6, 2}, TCardFace{7, 0}));
    EXPECT_TRUE(RunLinkFits(spider, TCardFace{6, 0}, TCardFace{7, 0}));
    EXPECT_TRUE(SameColour(4, 1) && OtherColour(4, 1)); // a joker passes every colour test
}

TEST_F(EngineTest, KlondikeOpensColumnsWithKingsAndFoundationsWithAces)
{
    Deal("Klondike 1 [Turn over 1]", 3);
    Engine->TableauPiles[0].assign(1, nullptr);
    Engine->TableauPiles[1].assign(1, Card(cvSeven, csSpade));
    EXPECT_TRUE(Engine->ValidDrop(Card(cvSix, csHeart), pkTableau, {1, 0}, pkWaste, {0, 0}));
    EXPECT_FALSE(Engine->ValidDrop(Card(cvSix, csClub), pkTableau, {1, 0}, pkWaste, {0, 0}));
    EXPECT_TRUE(Engine->ValidDrop(Card(cvKing, csClub), pkTableau, {0, 0}, pkWaste, {0, 0}));
    EXPECT_FALSE(Engine->ValidDrop(Card(cvQueen, csClub), pkTableau, {0, 0}, pkWaste, {0, 0}));
    Engine->FoundationPiles[0].assign(1, nullptr);
    EXPECT_TRUE(Engine->ValidDrop(Card(cvAce, csSpade), pkFoundation, {0, 0}, pkWaste, {0, 0}));
    EXPECT_FALSE(Engine->ValidDrop(Card(cvTwo, csSpade), pkFoundation, {0, 0}, pkWaste, {0, 0}));
    Engine->FoundationPiles[0].assign(1, Card(cvAce, csSpade));
    EXPECT_TRUE(Engine->ValidDrop(Card(cvTwo, csSpade), pkFoundation, {0, 0}, pkWaste, {0, 0}));
    EXPECT_FALSE(Engine->ValidDrop(Card(cvTwo, csHeart), pkFoundation, {0, 0}, pkWaste, {0, 0}));
    // A card never goes back onto its own pile.
    EXPECT_FALSE(Engine->ValidDrop(Card(cvSix, csHeart), pkTableau, {1, 0}, pkTableau, {1, 1}));
}

TEST_F(EngineTest, FreecellRunsIntoAnEmptyColumnCountOnlyTheOtherEmptyColumns)
{
    Deal("Freecell", 8);
    for (TPile& pile : Engine->TableauPiles)
        pile.assign(1, Card(cvKing, csSpade));
    // Pile 0 holds a run of four on a King; pile 1 is empty; two cells are free.
    Engine->TableauPiles[0] = {Card(cvKing, csClub), Card(cvQueen, csHeart), Card(cvJack, csClub),
                               Card(cvTen, csHeart), Card(cvNine, csClub)};
    Engine->TableauPiles[1].assign(1, nullptr);
    Engine->ReserveCards = {Card(cvTwo, csClub), Card(cvTwo, csHeart), nullptr, nullptr};
    Engine->SetLists();
    ASSERT_EQ(Engine->EmptyCells, 2);
    ASSERT_EQ(Engine->EmptyColumns, 1);
    EXPECT_FALSE(Engine->ValidDrop(Card(cvQueen, csHeart), pkTableau, {1, 0}, pkTableau, {0, 1}));
    EXPECT_TRUE(Engine->ValidDrop(Card(cvJack, csClub), pkTableau, {1, 0}, pkTableau, {0, 2}));
    // The whole run of four is draggable (SuperMove of 1 empty column is 6).
    EXPECT_NE(std::find(Engine->Draggables.begin(), Engine->Draggables.end(), Card(cvQueen, csHeart)),
              Engine->Draggables.end());
}

TEST_F(EngineTest, SpiderTakesAnySuitOnDropButPicksUpSameSuitRunsOnly)
{
    Deal("Spider", 4);
    TCard* eight = Card(cvEight, csClub);
    Engine->TableauPiles[0] = {eight};
    EXPECT_TRUE(Engine->ValidDrop(Card(cvSeven, csHeart), pkTableau, {0, 0}, pkTableau, {1, 0}));
    EXPECT_FALSE(Engine->ValidDrop(Card(cvSix, csHeart), pkTableau, {0, 0}, pkTableau, {1, 0}));
    Engine->TableauPiles[1] = {Card(cvNine, csClub), Card(cvEight, csDiamond), Card(cvSeven, csDiamond)};
    for (TCard* card : Engine->TableauPiles[1])
        card->FaceUp = true;
    Engine->SetLists();
    const auto draggable = [this](TCard* card) {
        return std::find(Engine->Draggables.begin(), Engine->Draggables.end(), card) != Engine->Draggables.end();
    };
    EXPECT_TRUE(draggable(Card(cvSeven, csDiamond)));
    EXPECT_TRUE(draggable(Card(cvEight, csDiamond)));
    EXPECT_FALSE(draggable(Card(cvNine, csClub)));
}

TEST_F(EngineTest, ChessboardsFirstFoundationCardFixesTheBaseRankForAll)
{
    Deal("Chessboard", 6);
    EXPECT_EQ(Engine->FoundationLabel, "Move");
    TCard* seven = Card(cvSeven, csHeart);
    EXPECT_TRUE(Engine->ValidDrop(seven, pkFoundation, {2, 0}, pkTableau, {0, 0}));
    EXPECT_EQ(Engine->FoundationLabel, "Seven");
    EXPECT_EQ(Engine->Rules.FoundationBaseCard, seven);
    EXPECT_FALSE(Engine->ValidDrop(Card(cvEight, csClub), pkFoundation, {0, 0}, pkTableau, {0, 0}));
    EXPECT_TRUE(Engine->ValidDrop(Card(cvSeven, csClub), pkFoundation, {0, 0}, pkTableau, {0, 0}));
}

TEST_F(EngineTest, ShamrocksAcesUpOsmosisAndTheClockEachKeepTheirOwnRule)
{
    Deal("Shamrocks", 2);
    Engine->TableauPiles[0] = {Card(cvNine, csClub), Card(cvEight, csClub), Card(cvSeven, csClub)};
    EXPECT_FALSE(Engine->ValidDrop(Card(cvSix, csClub), pkTableau, {0, 2}, pkTableau, {1, 0}));
    Engine->TableauPiles[0] = {Card(cvNine, csClub), Card(cvEight, csClub)};
    EXPECT_TRUE(Engine->ValidDrop(Card(cvSeven, csHeart), pkTableau, {0, 1}, pkTableau, {1, 0}));

    Deal("Aces Up", 2);
    TCard* five = Card(cvFive, csHeart);
    for (TPile& pile : Engine->TableauPiles)
        pile.assign(1, Card(cvTwo, csClub));
    Engine->TableauPiles[0] = {five};
    Engine->TableauPiles[1] = {Card(cvFour, csHeart)};
    EXPECT_FALSE(Engine->ValidDrop(five, pkFoundation, {0, 0}, pkTableau, {0, 0}));
    Engine->TableauPiles[2] = {Card(cvNine, csHeart)};
    EXPECT_TRUE(Engine->ValidDrop(five, pkFoundation, {0, 0}, pkTableau, {0, 0}));
    Engine->TableauPiles[2] = {Card(cvAce, csHeart)};
    EXPECT_TRUE(Engine->ValidDrop(five, pkFoundation, {0, 0}, pkTableau, {0, 0}));
    EXPECT_FALSE(Engine->ValidDrop(Card(cvAce, csHeart), pkFoundation, {0, 0}, pkTableau, {2, 0}));

    Deal("Osmosis", 2);
    TCard* jack = Card(cvJack, csSpade);
    Engine->FoundationPiles[0] = {Card(cvFive, csHeart)};
    Engine->FoundationPiles[1] = {Card(cvFive, csSpade)};
    EXPECT_FALSE(Engine->ValidDrop(jack, pkFoundation, {1, 0}, pkTableau, {0, 0}));
    Engine->FoundationPiles[0] = {Card(cvFive, csHeart), Card(cvJack, csHeart)};
    EXPECT_TRUE(Engine->ValidDrop(jack, pkFoundation, {1, 0}, pkTableau, {0, 0}));

    Deal("The Clock", 2);
    Engine->FoundationPiles[6] = {Card(cvTwo, csClub)};
    EXPECT_TRUE(Engine->ValidDrop(Card(cvSeven, csClub), pkFoundation, {6, 0}, pkFoundation, {12, 3}));
    EXPECT_FALSE(Engine->ValidDrop(Card(cvEight, csClub), pkFoundation, {6, 0}, pkFoundation, {12, 3}));
}

} // namespace
