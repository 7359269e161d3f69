// Every game of the collection: random play never corrupts a pile, undoing
// everything gives back the state the history starts from, and the saved
// record replays to the same piles, and a played game loads to the very
// table it was played to, card positions included.
#include "EngineFixture.h"
#include "GameParams.h"

#include "catalogue/GameDefinitions.h"
#include "engine/RandomPlay.h"
#include "engine/Snapshot.h"
#include "persistence/SourceLogFile.h"

#include <random>

namespace {

// Every dealt card with its face and position, the stock aside.
std::string TablePositions(const TEngine& engine)
{
    const std::string state = StateJson(engine, true);
    const std::size_t from = state.find("\"waste\"");
    return state.substr(from, state.find("\"points\"") - from);
}

class AllGames : public EngineTest, public ::testing::WithParamInterface<std::string> {};


TEST_P(AllGames, RandomPlayKeepsEveryCardUndoesToItsStartAndReplays)
{
    const std::string game = GetParam();
    for (const std::uint32_t seed : {1u, 77u, 4000000000u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        // One run never makes a new move over undone ones, so even the points replay.
        const TUndoUse undoUse = seed == 77u ? TUndoUse::KeepRedoable : TUndoUse::Free;
        Deal(game, seed);
        ASSERT_TRUE(EveryCardOnce());
        ASSERT_EQ(Engine->Rules.GameName, game);
        const int packSize = Table->CardDeck().Count();
        EXPECT_EQ(packSize, Engine->Rules.DeckCount == 2 ? 104 : 52);

        std::string historyStart = PilesText(*Engine);
        std::string startPositions = TablePositions(*Engine);
        std::mt19937 random(seed);
        for (int action = 0; action < 250; ++action) {
            PlayRandomAction(*Engine, random, undoUse);
            ASSERT_TRUE(EveryCardOnce()) << "after action " << action;
            // Gathering redeals and complete runs wipe the history: undo can
            // only go back to there.
            if (Engine->History.empty()) {
                historyStart = PilesText(*Engine);
                startPositions = TablePositions(*Engine);
            }
        }

        if (undoUse == TUndoUse::KeepRedoable)
            RedoEverything(*Engine);
        const std::string finalPiles = PilesText(*Engine);
        const std::string finalState = StateJson(*Engine, false);
        const int foundationCards = Engine->FoundationCards;
        const int passes = Engine->PassesDone;
        std::string error;
        const auto saved = ParseSavedGame(FormatSourceLog(Engine->SavedRecord()), error);
        ASSERT_TRUE(saved) << error;

        if (!Engine->Rules.FoundationRules.Contains(roNoUndo)) {
            for (int guard = 0; Engine->HistoryPos > 0 && guard < 5000; ++guard)
                Engine->Undo();
            EXPECT_EQ(Engine->HistoryPos, 0);
            EXPECT_TRUE(EveryCardOnce());
            EXPECT_EQ(PilesText(*Engine), historyStart);
            EXPECT_EQ(TablePositions(*Engine), startPositions) << "undone cards land where they lay";
        }

        ASSERT_TRUE(Engine->LoadGame(*saved));
        EXPECT_TRUE(EveryCardOnce());
        EXPECT_EQ(PilesText(*Engine), finalPiles);
        EXPECT_EQ(Engine->FoundationCards, foundationCards);
        EXPECT_EQ(Engine->PassesDone, passes);
        if (undoUse == TUndoUse::KeepRedoable) {
            EXPECT_EQ(StateJson(*Engine, false), finalState);
        }
    }

    // What `tessalyn-cli play` writes, `tessalyn-cli replay` loads to the same
    // table: piles, faces, every card's position, points, passes and the win.
    for (const std::uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("played with seed " + std::to_string(seed));
        ASSERT_TRUE(PlayRandomGame(*Engine, game, seed, 300));
        ASSERT_TRUE(EveryCardOnce());
        const std::string played = StateJson(*Engine, true);
        std::string error;
        const auto saved = ParseSavedGame(FormatSourceLog(Engine->SavedRecord()), error);
        ASSERT_TRUE(saved) << error;
        // A fresh table and engine, as a new run of the program would have.
        TRecordingHost host;
        TCardTable table(nullptr, testpaths::ProgramDir() / "Cardsets");
        table.SetTableSize(1400, 1000);
        TEngine replay(table, host);
        ASSERT_TRUE(replay.LoadGame(*saved));
        EXPECT_EQ(StateJson(replay, true), played);
    }
}

TEST_P(AllGames, ARecordOfArbitraryActionsReplaysWithoutLosingACard)
{
    std::mt19937 random(std::hash<std::string>{}(GetParam()));
    const auto number = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    TSavedGame game;
    game.GameName = GetParam();
    game.Seed = static_cast<std::uint32_t>(random());
    for (int i = 0; i < 80; ++i)
        game.Actions.push_back({number(0, 7), number(-2, 20), number(-2, 25), number(-2, 30)});
    ASSERT_TRUE(Engine->LoadGame(game));
    EXPECT_TRUE(EveryCardOnce());
    for (int i = 0; i < 40 && Engine->HistoryPos > 0; ++i)
        Engine->Undo();
    EXPECT_TRUE(EveryCardOnce());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, AllGames, ::testing::ValuesIn(AllGameNames()), GameTestName);

} // namespace
