// What a search on the worker costs the player: a drag step while the solver
// works on the other core (or the same one, on a busy machine), and the time
// from asking for a hint to having it, over the deals of three games.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QMouseEvent>

#include "cardtable/CardTable.h"
#include "support/FullTable.h"
#include "cardtable/Random.h"
#include "engine/Engine.h"
#include "engine/EngineHost.h"
#include "shell/SolverWorker.h"
#include "solver/Search.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

using benchtable::MakeFullTable;
using benchtable::Send;
using benchtable::TableHeight;
using benchtable::TableWidth;
// As the hint asks: about a second, a 32 MB table.
constexpr std::int64_t HintBudgetMs = 1000;
constexpr std::size_t HintTableBytes = std::size_t{32} << 20;
constexpr int DealsPerGame = 20;

using benchtable::Cardsets;

// A headless engine: its table is never shown, so a deal completes at once.
struct TDealer {
    TCardTable Table{nullptr, Cardsets()};
    TQuietHost Host;
    TEngine Engine{Table, Host};

    TDealer() { Table.SetTableSize(1400, 1000); }

    TPositionSnapshot Deal(const std::string& game, std::uint32_t seed)
    {
        SetRandSeed(seed);
        Engine.Rules.GameName.clear();
        Engine.SelectGame(game);
        return Engine.Snapshot();
    }
};


// Arg 1: a search that never ends runs on the worker the whole time (a hard
// Spider deal, no limit but the cancel flag), as the verdict's search would.
void BM_DragStepWithSearch(benchmark::State& state)
{
    TDealer dealer;
    const TPositionSnapshot deal = dealer.Deal("Spider", 1);
    const solver::TSolverGame game = solver::MakeSolverGame(dealer.Engine.Rules);
    TSolverWorker worker;
    if (state.range(0) != 0)
        worker.Submit(
            [&game, deal](const std::atomic<bool>& cancel) {
                solver::TSolveBudget budget;
                budget.TableBytes = HintTableBytes;
                budget.Cancel = &cancel;
                while (!cancel.load())
                    solver::Solve(game, deal, budget);
            },
            nullptr);
    auto table = MakeFullTable();
    table->OnCardDropEvent = [&](TCard*, int, int, int, int, int) { table->RestoreCard(); };
    Send(*table, QEvent::MouseButtonPress, 20 + 12 * 120 + 30, 20 + 7 * 30 + 40);
    int step = 0;
    for (auto _ : state) {
        const int x = 40 + (step * 37) % (TableWidth - 200);
        const int y = 120 + (step * 11) % 400;
        Send(*table, QEvent::MouseMove, x, y);
        ++step;
    }
    Send(*table, QEvent::MouseButtonRelease, 100, 100);
    worker.Cancel();
}
BENCHMARK(BM_DragStepWithSearch)->Arg(0)->Arg(1)->ArgName("search")->Unit(benchmark::kMicrosecond);

// The search of a hint from the deal, over deals 1..20: the median and the
// slowest, and how many were settled (won or lost) within the budget.
void BM_TimeToFirstHint(benchmark::State& state, const std::string& gameName)
{
    TDealer dealer;
    std::vector<TPositionSnapshot> deals;
    for (int seed = 1; seed <= DealsPerGame; ++seed)
        deals.push_back(dealer.Deal(gameName, std::uint32_t(seed)));
    const solver::TSolverGame game = solver::MakeSolverGame(dealer.Engine.Rules);
    std::vector<double> times;
    int settled = 0;
    for (auto _ : state) {
        times.clear();
        settled = 0;
        for (const TPositionSnapshot& deal : deals) {
            solver::TSolveBudget budget;
            budget.MaxMilliseconds = HintBudgetMs;
            budget.TableBytes = HintTableBytes;
            const auto start = std::chrono::steady_clock::now();
            const solver::TSolveResult result = solver::Solve(game, deal, budget);
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            settled += result.Verdict != solver::TVerdict::Unknown;
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    state.counters["max_ms"] = times.back();
    state.counters["settled"] = settled;
}
BENCHMARK_CAPTURE(BM_TimeToFirstHint, Freecell, std::string("Freecell"))->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TimeToFirstHint, Klondike1, std::string("Klondike 1 [Turn over 1]"))->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TimeToFirstHint, Spider, std::string("Spider"))->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
