#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cardtable/Card.h"
#include "cardtable/Random.h"
#include "CardSetTestFixture.h"

namespace {

using namespace cardsetfixture;

std::string Name(const TCard* card)
{
    if (card == nullptr)
        return "nil";
    if (card->Suit == csJoker)
        return "J" + std::to_string(card->Value);
    return std::string(1, "A23456789TJQK"[card->Value]) + "cdhs"[card->Suit];
}

std::vector<std::string> Deal(TCardDeck& deck, int n)
{
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i)
        names.push_back(Name(deck.NextCard()));
    return names;
}

void ExpectCanonical(const TCardDeck& deck)
{
    const int suited = deck.Count() - deck.Jokers();
    for (int k = 1; k <= deck.Count(); ++k) {
        const TCard* card = deck.CardByIndex(k);
        if (k <= suited) {
            EXPECT_EQ(card->Suit, (k - 1) % 4) << "index " << k;
            EXPECT_EQ(card->Value, ((k - 1) / 4) % 13) << "index " << k;
        } else {
            EXPECT_EQ(card->Suit, csJoker) << "index " << k;
            EXPECT_EQ(card->Value, k - suited - 1) << "index " << k;
        }
    }
}

class CardDeckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteSet(Sets.Cardsets() / "Standard");
        Deck = std::make_unique<TCardDeck>(nullptr, Sets.Cardsets());
    }
    TempSets Sets;
    std::unique_ptr<TCardDeck> Deck;
};

TEST_F(CardDeckTest, NewPackDealsInCanonicalOrderUntilEmpty)
{
    EXPECT_EQ(Deck->Count(), 52);
    const auto first = Deal(*Deck, 6);
    EXPECT_EQ(first, (std::vector<std::string>{"Ac", "Ad", "Ah", "As", "2c", "2d"}));
    Deal(*Deck, 45);
    EXPECT_EQ(Name(Deck->NextCard()), "Ks");
    EXPECT_EQ(Deck->NextCard(), nullptr);
    EXPECT_EQ(Deck->DealtCount, 52);
    EXPECT_EQ(Deck->StockCount(), 0);
    EXPECT_EQ(Deck->CardByIndex(0), nullptr);
    EXPECT_EQ(Deck->CardByIndex(53), nullptr);
}

// Saved games replay deals from their seeds: this order must never change.
TEST_F(CardDeckTest, ShuffleFromSeedOneDealsTheKnownOrder)
{
    SetRandSeed(1);
    Deck->Shuffle();
    EXPECT_EQ(Deal(*Deck, 12), (std::vector<std::string>{"8s", "Td", "3h", "As", "3d", "5c", "3c", "Jc", "6s",
                                                         "9h", "Kh", "4d"}));
    // Collect, sort and shuffle again from the same seed: same deal.
    Deck->CollectAll();
    Deck->Sort();
    SetRandSeed(1);
    Deck->Shuffle();
    EXPECT_EQ(Name(Deck->NextCard()), "8s");
}

TEST_F(CardDeckTest, ShuffleLeavesDealtCardsAndSortRestoresAnyOrder)
{
    for (int count : {52, 54, 104, 108}) {
        Deck->SetCardCount(count);
        ASSERT_EQ(Deck->Count(), count);
        ExpectCanonical(*Deck);
        SetRandSeed(std::uint32_t(count) * 7919u);
        Deal(*Deck, 5);
        std::vector<TCard*> dealt(Deck->Cards.begin() + 1, Deck->Cards.begin() + 6);
        Deck->Shuffle();
        EXPECT_TRUE(std::equal(dealt.begin(), dealt.end(), Deck->Cards.begin() + 1));
        Deck->CollectAll();
        Deck->Shuffle();
        Deck->Sort();
        ExpectCanonical(*Deck);
    }
}

TEST_F(CardDeckTest, TwoPacksAndJokersFollowTheCanonicalOrder)
{
    Deck->SetCardCount(104);
    EXPECT_EQ(Name(Deck->CardByIndex(53)), "Ac");
    EXPECT_EQ(Name(Deck->CardByIndex(104)), "Ks");
    Deck->SetCardCount(54);
    EXPECT_EQ(Name(Deck->CardByIndex(53)), "J0");
    EXPECT_EQ(Name(Deck->CardByIndex(54)), "J1");
    // Joker 0 wears 01joker.bmp, joker 1 02joker.bmp.
    EXPECT_EQ(Deck->CardByIndex(53)->FaceImage.pixel(5, 5), FaceColour(4, 0));
    EXPECT_EQ(Deck->CardByIndex(54)->FaceImage.pixel(5, 5), FaceColour(4, 1));
    EXPECT_EQ(Deck->CardByIndex(1)->FaceImage.pixel(5, 5), FaceColour(csClub, cvAce));
}

TEST_F(CardDeckTest, SetCardCountRefusesCountsOutsideOneOrTwoPacksWithJokers)
{
    for (int refused : {51, 57, 103, 109, 0, -52}) {
        Deck->SetCardCount(refused);
        EXPECT_EQ(Deck->Count(), 52) << refused;
    }
    Deck->SetCardCount(56);
    EXPECT_EQ(Deck->Count(), 56);
    EXPECT_EQ(Deck->Jokers(), 4);
}

TEST_F(CardDeckTest, SetCardCountKeepsTheBackAndFaceUpDefault)
{
    Deck->SetCardBack(3);
    Deck->SetDefaultFaceUp(true);
    Deck->SetCardCount(104);
    EXPECT_EQ(Deck->CardBack(), 3);
    EXPECT_EQ(Deck->BackImage.pixel(0, 0), BackColour(3));
    for (int i = 1; i <= 104; ++i) {
        ASSERT_TRUE(Deck->CardByIndex(i)->FaceUp);
        ASSERT_EQ(Deck->CardByIndex(i)->UnderImage.size(), QSize(Width, Height));
    }
}

TEST_F(CardDeckTest, TakeCardDealsFromInsideTheStockKeepingTheRestInOrder)
{
    Deal(*Deck, 10);  // stock now starts 3h 3s 4c 4d 4h ...
    TCard* taken = Deck->TakeCard(3);
    EXPECT_EQ(Name(taken), "4c");
    EXPECT_EQ(taken->Status, 1);
    EXPECT_EQ(Deck->DealtCount, 11);
    EXPECT_EQ(Deal(*Deck, 4), (std::vector<std::string>{"3h", "3s", "4d", "4h"}));
    EXPECT_EQ(Deck->TakeCard(0), nullptr);
    EXPECT_EQ(Deck->TakeCard(Deck->StockCount() + 1), nullptr);
    EXPECT_EQ(Deck->DealtCount, 15);
}

TEST_F(CardDeckTest, ReturnedCardIsDealtNextAndRefusalsChangeNothing)
{
    Deal(*Deck, 3);
    TCard* ah = Deck->CardByIndex(3);
    TCard* ac = Deck->CardByIndex(1);
    Deck->ReturnCard(ac);  // not the last dealt: swaps into the stock's front
    EXPECT_EQ(Deck->DealtCount, 2);
    EXPECT_EQ(ac->Status, 0);
    EXPECT_EQ(Name(Deck->NextCard()), "Ac");

    ah->OnTable = true;
    Deck->ReturnCard(ah);  // still on the table: refused
    EXPECT_EQ(Deck->DealtCount, 3);
    ah->OnTable = false;
    Deck->ReturnCard(Deck->CardByIndex(10));  // in the stock: refused
    EXPECT_EQ(Deck->DealtCount, 3);
    Deck->ReturnCard(nullptr);
}

TEST_F(CardDeckTest, ReturnCardsGoToTheBottomInListOrder)
{
    Deal(*Deck, 4);
    TCard* ac = Deck->CardByIndex(1);
    TCard* ah = Deck->CardByIndex(3);
    TCard* as = Deck->CardByIndex(4);
    Deck->ReturnCards({ah, ac, nullptr, as}, 3);  // stops at the nil
    EXPECT_EQ(Deck->DealtCount, 2);
    EXPECT_EQ(Deck->CardByIndex(51), ah);
    EXPECT_EQ(Deck->CardByIndex(52), ac);
    EXPECT_EQ(Name(Deck->CardByIndex(1)), "Ad");
    EXPECT_EQ(Name(Deck->CardByIndex(2)), "As");
    EXPECT_EQ(Name(Deck->CardByIndex(3)), "2c");
    Deck->ReturnCards({as}, 5);  // High beyond the list is bounded by it
    EXPECT_EQ(Deck->CardByIndex(52), as);
}

TEST_F(CardDeckTest, DefaultFaceUpTurnsOnlyStockCards)
{
    TCard* dealt = Deck->NextCard();
    Deck->SetDefaultFaceUp(true);
    EXPECT_FALSE(dealt->FaceUp);
    EXPECT_TRUE(Deck->CardByIndex(2)->FaceUp);
    Deck->CollectAll();
    EXPECT_TRUE(dealt->FaceUp);
    EXPECT_EQ(Deck->DealtCount, 0);
}

TEST_F(CardDeckTest, ScaleStepsResizeEveryPictureAndIgnoreBadValues)
{
    Deck->SetScaleStep(-2);
    EXPECT_EQ(Deck->ScaleStep(), -2);
    EXPECT_FLOAT_EQ(Deck->Scale(), 0.599f);
    EXPECT_EQ(Deck->CardWidth, 6);   // round(10 * 0.599)
    EXPECT_EQ(Deck->CardHeight, 8);  // round(14 * 0.599)
    EXPECT_EQ(Deck->CardByIndex(1)->FaceImage.size(), QSize(6, 8));
    EXPECT_EQ(Deck->MaskImage.size(), QSize(6, 8));
    EXPECT_EQ(Deck->BaseImages[6].size(), QSize(6, 8));
    EXPECT_EQ(Deck->CardByIndex(1)->UnderImage.size(), QSize(6, 8));
    EXPECT_EQ(Deck->SlotRecord(38).SavedSurface.size(), QSize(6, 8));

    for (int refused : {-3, 6, -2}) {
        Deck->SetScaleStep(refused);
        EXPECT_EQ(Deck->ScaleStep(), -2);
    }
    Deck->SetCardScale(0.2f);
    EXPECT_FLOAT_EQ(Deck->Scale(), 0.599f);
    Deck->SetCardScale(2.0f);
    EXPECT_EQ(Deck->ScaleStep(), 1);
    EXPECT_EQ(Deck->CardWidth, 20);
    Deck->SetScaleStep(0);
    EXPECT_EQ(Deck->CardWidth, 10);
}

TEST_F(CardDeckTest, RotatedCardsKeepTheirTurnAcrossReloads)
{
    TCard* card = Deck->CardByIndex(1);
    card->SetAngle(float(std::numbers::pi / 2));
    EXPECT_EQ(card->RotWidth, Height);
    EXPECT_EQ(card->RotHeight, Width);
    EXPECT_EQ(card->RotCentreX, Height / 2);
    Deck->SetCardScale(2.0f);
    EXPECT_EQ(card->RotWidth, 2 * Height);
    card->SetAngle(0.0f);
    EXPECT_EQ(card->Angle, 0.0f);
}

TEST_F(CardDeckTest, AssignCopiesCardsAndPictures)
{
    WriteSet(Sets.Cardsets() / "Other", 2);
    TCardDeck other(nullptr, Sets.Cardsets());
    other.SetDeckName("Other");
    other.SetCardBack(2);
    other.NextCard()->X = 42;
    Deck->Assign(other);
    EXPECT_EQ(Deck->DeckName(), "Other");
    EXPECT_EQ(Deck->CardBack(), 2);
    EXPECT_EQ(Deck->BackCount(), 2);
    EXPECT_EQ(Deck->DealtCount, 1);
    EXPECT_EQ(Deck->CardByIndex(1)->X, 42);
    EXPECT_EQ(Deck->BackImage.pixel(0, 0), BackColour(2));
    EXPECT_EQ(Deck->SlotRecord(1).BaseImage, &Deck->BaseImages[0]);
}

} // namespace
