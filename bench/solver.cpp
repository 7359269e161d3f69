// Speed of the solver on one core: positions expanded per second on the
// first deals of six games, each solve capped at a fixed number of positions
// so a run measures the same work on every machine; one long Freecell search,
// where the solve's set-up no longer weighs in; and the cost of making the
// snapshot the solver starts from.
#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "engine/Engine.h"
#include "solver/Search.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

const char* const Games[] = {"Freecell", "Klondike 1 [Turn over 1]", "Spider", "Yukon", "Canfield", "Black Hole"};

struct TDeals {
    solver::TSolverGame Game;
    std::vector<TPositionSnapshot> Snapshots;
};

// The first ten deals of a game, dealt once by a real engine.
const TDeals& DealsOf(int game)
{
    static std::vector<std::unique_ptr<TDeals>> all(std::size(Games));
    auto& deals = all[static_cast<std::size_t>(game)];
    if (!deals) {
        TQuietHost host;
        TCardTable table(nullptr, std::filesystem::path(TESSALYN_PROGRAM_DIR) / "Cardsets");
        table.SetTableSize(1400, 1000);
        TEngine engine(table, host);
        deals = std::make_unique<TDeals>();
        for (std::uint32_t seed = 1; seed <= 10; ++seed) {
            SetRandSeed(seed);
            engine.Rules.GameName.clear();
            engine.SelectGame(Games[game]);
            deals->Snapshots.push_back(engine.Snapshot());
        }
        deals->Game = solver::MakeSolverGame(engine.Rules);
    }
    return *deals;
}

void BM_SolverStates(benchmark::State& state)
{
    const int game = static_cast<int>(state.range(0));
    const TDeals& deals = DealsOf(game);
    state.SetLabel(Games[game]);
    solver::TSolveBudget budget;
    budget.MaxStates = 50000;
    std::int64_t states = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        const solver::TSolveResult result = solver::Solve(deals.Game, deals.Snapshots[next++ % deals.Snapshots.size()], budget);
        states += result.States;
        benchmark::DoNotOptimize(result.Verdict);
    }
    state.counters["states/s"] = benchmark::Counter(static_cast<double>(states), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SolverStates)->DenseRange(0, std::size(Games) - 1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A Freecell deal the solver does not settle within 200,000 positions: both
// passes run to the end of their shares, so the figure is the search's own
// pace (the short solves above are mostly won within a thousand positions).
void BM_SolverLongSearch(benchmark::State& state)
{
    static const TDeals deals = [] {
        TQuietHost host;
        TCardTable table(nullptr, std::filesystem::path(TESSALYN_PROGRAM_DIR) / "Cardsets");
        table.SetTableSize(1400, 1000);
        TEngine engine(table, host);
        SetRandSeed(39);
        engine.SelectGame("Freecell");
        return TDeals{solver::MakeSolverGame(engine.Rules), {engine.Snapshot()}};
    }();
    state.SetLabel("Freecell seed 39");
    solver::TSolveBudget budget;
    budget.MaxStates = 200000;
    std::int64_t states = 0;
    for (auto _ : state) {
        const solver::TSolveResult result = solver::Solve(deals.Game, deals.Snapshots.front(), budget);
        states += result.States;
        benchmark::DoNotOptimize(result.Verdict);
    }
    state.counters["states/s"] = benchmark::Counter(static_cast<double>(states), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SolverLongSearch)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MoveGeneration(benchmark::State& state)
{
    const int game = static_cast<int>(state.range(0));
    const TDeals& deals = DealsOf(game);
    state.SetLabel(Games[game]);
    const solver::TSolverState position(deals.Game, deals.Snapshots.front());
    std::vector<solver::TSolverMove> moves;
    for (auto _ : state) {
        solver::GenerateMoves(position, solver::TMoveSet::Search, moves);
        benchmark::DoNotOptimize(moves.data());
    }
}
BENCHMARK(BM_MoveGeneration)->DenseRange(0, std::size(Games) - 1);

} // namespace
