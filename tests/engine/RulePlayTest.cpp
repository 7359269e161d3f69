// Rules played through the engine as a player would: each test names the
// rule it holds to, so a rule that changes shows here even when the game
// still replays consistently.
#include "EngineFixture.h"

#include "engine/Snapshot.h"
#include "platform/Trace.h"

#include <algorithm>

namespace {

// The Clock: the one face-up card that may move goes to the foundation of its rank.
bool PlayOneClockMove(TEngine& engine)
{
    const auto it = std::find_if(engine.Draggables.begin(), engine.Draggables.end(),
                                 [](const TCard* card) { return card && card->FaceUp; });
    if (it == engine.Draggables.end())
        return false;
    TCard* card = *it;
    int kind = 0;
    TPilePos pos;
    if (!engine.LocateCard(card, kind, pos))
        return false;
    const QPoint target = engine.Rules.FoundationPositions.at(static_cast<std::size_t>(card->Value));
    const auto point = std::find(engine.DropPoints.begin(), engine.DropPoints.end(), target);
    if (point == engine.DropPoints.end())
        return false;
    engine.MakeMove(kind, pos.Pile, static_cast<int>(point - engine.DropPoints.begin()), pos.Index);
    return true;
}

bool EveryCardFaceUpOnItsRank(const TEngine& engine)
{
    for (std::size_t f = 0; f < engine.FoundationPiles.size(); ++f)
        for (const TCard* card : engine.FoundationPiles[f])
            if (!card || !card->FaceUp || card->Value != static_cast<int>(f))
                return false;
    return true;
}

TEST_F(EngineTest, TheClockPlayedOutIsWonExactlyWhenEveryCardLiesFaceUpOnItsRank)
{
    Deal("The Clock", 15);
    int moves = 0;
    while (moves < 100 && PlayOneClockMove(*Engine))
        ++moves;
    EXPECT_EQ(moves, 47);
    ASSERT_TRUE(EveryCardFaceUpOnItsRank(*Engine));
    EXPECT_TRUE(Engine->GameWon);
    EXPECT_FALSE(Engine->GameOpen()) << "a won game is closed";
    ASSERT_EQ(Host.Results.size(), 1u);
    EXPECT_TRUE(Host.Results[0].Won);
    // The points are what the cues gave: each move costs the 50 of the card
    // leaving its foundation and earns 50 on arrival, each card reaching its
    // own rank another 50.
    EXPECT_EQ(Host.Results[0].Points, Engine->Points);
    EXPECT_EQ(Engine->Points, 300);
    EXPECT_EQ(Engine->Draggables, (std::vector<TCard*>{nullptr}));

    int won = 0;
    int lost = 0;
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        Deal("The Clock", seed);
        for (int guard = 0; guard < 100 && PlayOneClockMove(*Engine); ++guard) {
        }
        const bool solved = EveryCardFaceUpOnItsRank(*Engine);
        EXPECT_EQ(Engine->GameWon, solved) << "seed " << seed;
        (solved ? won : lost) += 1;
    }
    EXPECT_GT(won, 0);
    EXPECT_GT(lost, 0);
}

int DropPointAt(const TEngine& engine, QPoint at)
{
    const auto it = std::find(engine.DropPoints.begin(), engine.DropPoints.end(), at);
    return it == engine.DropPoints.end() ? -1 : static_cast<int>(it - engine.DropPoints.begin());
}

// The Clock: an Ace dropped on the Aces' pile, whose top two hidden cards are
// Aces too, turns each up, sends it under the pile with applause and stops at
// the first card of another rank.
TEST_F(EngineTest, TheClockApplaudsEachCardSentUnderItsPileAgain)
{
    Deal("The Clock", 15);
    TCard* dropped = Card(cvAce, csClub);
    TCard* second = Card(cvAce, csDiamond);
    TCard* third = Card(cvAce, csHeart);
    TCard* x = Card(4, csClub);
    TCard* y = Card(5, csClub);
    // Swap the cards into place in the pile arrays, then lay the piles out again.
    const auto put = [this](TCard* card, std::size_t pile, std::size_t index) {
        for (TPile& p : Engine->FoundationPiles)
            for (TCard*& c : p)
                if (c == card)
                    std::swap(c, Engine->FoundationPiles[pile][index]);
    };
    put(x, 0, 0);
    put(y, 0, 1);
    put(second, 0, 2);
    put(third, 0, 3);
    put(dropped, 12, 3);
    for (std::size_t f = 0; f < 13; ++f) {
        const QPoint at = Engine->Rules.FoundationPositions[f];
        for (TCard* card : Engine->FoundationPiles[f]) {
            if (card->FaceUp != (card == dropped))
                Table->TurnCard(card);
            Table->RemoveCard(card);
            Table->PlaceCard(card, at.x(), at.y(), Engine->Rules.FoundationAngles[f]);
        }
    }
    Engine->SetLists();
    Host.PlaySounds = true;
    Host.Sounds.clear();
    const int points = Engine->Points;
    Engine->MakeMove(pkFoundation, 12, DropPointAt(*Engine, Engine->Rules.FoundationPositions[0]), 3);
    EXPECT_EQ(Engine->FoundationPiles[0], (TPile{second, third, dropped, x, y}));
    EXPECT_TRUE(y->FaceUp);
    EXPECT_FALSE(x->FaceUp);
    // The press that picks the card up is a click on it first.
    EXPECT_EQ(Host.Sounds, (std::vector<std::string>{"drag.wav", "success.wav", "claps.wav", "success.wav", "claps.wav",
                                                     "success.wav", "claps.wav"}));
    // Off its pile -50, onto the Aces +50, two more Aces at home +100.
    EXPECT_EQ(Engine->Points, points + 100);
    EXPECT_FALSE(Table->Sprite.Shown);
}

TEST_F(EngineTest, APairMismatchRefusesEachCardInTurnAndAMatchScoresTwoFoundationCards)
{
    Deal("Concentration", 8);
    ASSERT_TRUE(Engine->Rules.TableauRules.Contains(roDealFaceDown));
    Host.PlaySounds = true;
    // Two cards of different rank, then two of the same rank.
    int first = 0;
    int other = 1;
    while (Engine->TableauPiles[static_cast<std::size_t>(other)][0]->Value
           == Engine->TableauPiles[static_cast<std::size_t>(first)][0]->Value)
        ++other;
    TCard* a = Engine->TableauPiles[static_cast<std::size_t>(first)][0];
    TCard* b = Engine->TableauPiles[static_cast<std::size_t>(other)][0];
    Engine->MakeMove(pkTableau, first, 0, 0);
    EXPECT_TRUE(a->FaceUp);
    EXPECT_EQ(Engine->Points, -1);
    Host.Sounds.clear();
    Engine->MakeMove(pkTableau, other, 0, 0);
    EXPECT_EQ(Host.Sounds, (std::vector<std::string>{"drop.wav", "undo.wav", "drop.wav", "undo.wav", "drop.wav"}));
    EXPECT_EQ(Engine->Points, -1 - 1 - 5 - 5);
    EXPECT_FALSE(a->FaceUp);
    EXPECT_FALSE(b->FaceUp);
    EXPECT_EQ(Engine->SourceLog.size(), 3u + 8u) << "each click is one record";

    int match = 1;
    while (match == first || Engine->TableauPiles[static_cast<std::size_t>(match)][0]->Value != a->Value)
        ++match;
    Engine->MakeMove(pkTableau, first, 0, 0);
    Engine->MakeMove(pkTableau, match, 0, 0);
    EXPECT_EQ(Engine->FoundationCards, 2);
    EXPECT_EQ(Engine->Points, -12 - 1 - 1 + 100);
    EXPECT_EQ(Engine->RemovedCards.size(), 2u);
    EXPECT_FALSE(a->OnTable);
    EXPECT_FALSE(Table->Sprite.Shown);
}

TEST_F(EngineTest, WasteDealsTurnCardsWithoutTheFlipAndARedealWaitsForItsSound)
{
    for (const char* game : {"Klondike 2 [Turn over 3]", "One Foundation"}) {
        SCOPED_TRACE(game);
        Deal(game, 6);
        Table->SetTurnOverAnimationSpeed(8);
        Table->SetTurnOverAnimationLift(true);
        Table->SetLiftOffset(true);
        std::vector<int> speeds;
        Host.PlaySounds = true;
        Host.OnSound = [&](const std::string&) {
            speeds.push_back(Table->TurnOverAnimationSpeed() + (Table->TurnOverAnimationLift() ? 100 : 0)
                             + (Table->LiftOffset() ? 1000 : 0));
        };
        Engine->MakeMove(pkStockDeal, 0, 0, 0);
        ASSERT_FALSE(speeds.empty());
        EXPECT_EQ(speeds, std::vector<int>(speeds.size(), 0)) << "no flip, no lift, no lift offset while dealing";
        Host.OnSound = nullptr;
        EXPECT_EQ(Table->TurnOverAnimationSpeed(), 8);
        EXPECT_TRUE(Table->TurnOverAnimationLift());
        EXPECT_TRUE(Table->LiftOffset());
    }
    Deal("Klondike 2 [Turn over 3]", 6);
    while (Engine->StockCount() > 0)
        Engine->MakeMove(pkStockDeal, 0, 0, 0);
    Host.Sounds.clear();
    Host.Modes.clear();
    Engine->Redeal();
    ASSERT_FALSE(Host.Sounds.empty());
    EXPECT_EQ(Host.Sounds[0], "waste.wav");
    EXPECT_EQ(Host.Modes[0], 2) << "played to its end before the cards go back";
}

TEST_F(EngineTest, AReplayedDropNamesItsCardInTheTrace)
{
    std::vector<std::string> lines;
    platform::SetTraceSink([&lines](std::string_view line) { lines.emplace_back(line); });
    Deal("Klondike 1 [Turn over 1]", 3);
    TCard* top = Engine->TableauPiles[6].back();
    Engine->MakeMove(pkTableau, 6, -1, static_cast<int>(Engine->TableauPiles[6].size()) - 1);
    platform::SetTraceSink({});
    const std::string expected = "MakeMove calls CardDropEvent: " + CardText(top, false) + " -1";
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
}

} // namespace
