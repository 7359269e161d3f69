// Speed of the engine driving a real card table that is never shown: an
// invisible deal of each game, the replay of a 1,000-action saved game,
// random player actions, and long random games.
#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "catalogue/GameDefinitions.h"
#include "engine/Engine.h"
#include "engine/RandomPlay.h"
#include "persistence/SourceLogFile.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

struct THeadlessGame {
    THeadlessGame()
        : Table(std::make_unique<TCardTable>(nullptr, std::filesystem::path(TESSALYN_PROGRAM_DIR) / "Cardsets"))
    {
        Table->SetTableSize(1400, 1000);
        Engine = std::make_unique<TEngine>(*Table, Host);
    }
    void Deal(const std::string& game, std::uint32_t seed)
    {
        SetRandSeed(seed);
        Engine->Rules.GameName.clear();
        Engine->SelectGame(game);
    }
    TQuietHost Host;
    std::unique_ptr<TCardTable> Table;
    std::unique_ptr<TEngine> Engine;
};

THeadlessGame& Game()
{
    static THeadlessGame game;
    return game;
}

void BM_InvisibleDeal(benchmark::State& state)
{
    const TGameDefinition& definition = GameDefinitions()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(definition.GameName);
    std::uint32_t seed = 1;
    for (auto _ : state)
        Game().Deal(definition.GameName, seed++);
}

// A saved game of Klondike with exactly 1,000 actions in force.
const TSavedGame& ThousandActionGame()
{
    static const TSavedGame saved = [] {
        THeadlessGame& game = Game();
        std::mt19937 random(99);
        TSavedGame result;
        for (std::uint32_t seed = 1; result.Actions.size() < 1000; ++seed) {
            game.Deal("Freecell", seed);
            for (int i = 0; i < 20000 && game.Engine->SavedRecord().size() < 3 + 4 * 1000; ++i)
                PlayRandomAction(*game.Engine, random, TUndoUse::Never);
            std::string error;
            result = *ParseSavedGame(FormatSourceLog(game.Engine->SavedRecord()), error);
        }
        result.Actions.resize(1000);
        return result;
    }();
    return saved;
}

void BM_ReplayThousandActions(benchmark::State& state)
{
    const TSavedGame& saved = ThousandActionGame();
    for (auto _ : state)
        Game().Engine->LoadGame(saved);
    state.SetItemsProcessed(state.iterations() * 1000);
}

void BM_RandomActions(benchmark::State& state)
{
    THeadlessGame& game = Game();
    std::mt19937 random(7);
    std::uint32_t seed = 1;
    game.Deal("Klondike 1 [Turn over 1]", seed);
    int actions = 0;
    for (auto _ : state) {
        PlayRandomAction(*game.Engine, random);
        if (++actions % 300 == 0) {
            state.PauseTiming();
            game.Deal("Klondike 1 [Turn over 1]", ++seed);
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}

// A long game of random play with undo and redo: an action must cost the
// same at the 100,000th as at the first, so the time per action of the two
// lengths stays alike.
void BM_LongRandomGame(benchmark::State& state)
{
    for (auto _ : state)
        PlayRandomGame(*Game().Engine, "Klondike 1 [Turn over 1]", 1, state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_LongRandomGame)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InvisibleDeal)->DenseRange(0, 204)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayThousandActions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomActions)->Unit(benchmark::kMicrosecond);
