// Rules played through the engine as a player would: each test names the
// rule it holds to, so a rule that changes shows here even when the game
// still replays consistently.
#include "EngineFixture.h"

#include "engine/Snapshot.h"

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

} // namespace
