// The odds of the games: many deals of each game solved on the machine's
// cores. The engine deals on this thread (it drives a table); the solver,
// which needs no table, works on the deals in parallel.
#include "Commands.h"
#include "Headless.h"
#include "Solving.h"

#include "catalogue/GameDefinitions.h"
#include "engine/Engine.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* Usage = "usage: survey GAME|all --seeds A-B [--budget-ms M | --budget-states S] [--jobs J]";

struct TTally {
    int Winnable = 0;
    int NotWinnable = 0;
    int Unknown = 0;
    std::int64_t States = 0;
    double Milliseconds = 0;
};

TTally SolveAll(const solver::TSolverGame& game, const std::vector<TPositionSnapshot>& deals, const solver::TSolveBudget& budget,
                int jobs)
{
    std::vector<solver::TSolveResult> results(deals.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < deals.size(); i = next++)
            results[i] = solver::Solve(game, deals[i], budget);
    };
    std::vector<std::thread> workers;
    for (int j = 1; j < jobs; ++j)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
    TTally tally;
    for (const solver::TSolveResult& r : results) {
        tally.Winnable += r.Verdict == solver::TVerdict::Winnable;
        tally.NotWinnable += r.Verdict == solver::TVerdict::NotWinnable;
        tally.Unknown += r.Verdict == solver::TVerdict::Unknown;
        tally.States += r.States;
        tally.Milliseconds += r.Milliseconds;
    }
    return tally;
}

std::string TallyJson(const std::string& game, int deals, const TTally& t, const TCliOptions& options)
{
    char text[400];
    const double perSecond = t.Milliseconds > 0 ? static_cast<double>(t.States) * 1000.0 / t.Milliseconds : 0.0;
    std::snprintf(text, sizeof text,
                  "\"deals\":%d,\"winnable\":%d,\"notWinnable\":%d,\"unknown\":%d,\"budgetStates\":%lld,\"budgetMs\":%lld,"
                  "\"statesPerSecond\":%.0f}",
                  deals, t.Winnable, t.NotWinnable, t.Unknown, options.BudgetStates.value_or(0LL), options.BudgetMs.value_or(0LL),
                  perSecond);
    return "{\"game\":\"" + game + "\"," + text;
}

int Run(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    const TCliOptions options = ParseCliOptions(arguments);
    if (!options.Error.empty() || options.Game.empty() || !options.Seeds) {
        err << "tessalyn-cli survey: " << (options.Error.empty() ? Usage : options.Error) << '\n';
        return 2;
    }
    std::vector<std::string> games;
    if (options.Game == "all") {
        for (const TGameDefinition& definition : GameDefinitions())
            games.push_back(definition.GameName);
    } else if (KnownGame(options.Game)) {
        games.push_back(options.Game);
    } else {
        err << "tessalyn-cli survey: unknown game \"" << options.Game << "\"\n";
        return 2;
    }
    THeadless headless;
    if (!headless.Start(err))
        return 2;
    const solver::TSolveBudget budget = BudgetOf(options);
    const auto [first, last] = *options.Seeds;
    const int deals = static_cast<int>(last - first + 1);
    const bool progress = isatty(STDERR_FILENO);
    const auto started = std::chrono::steady_clock::now();
    for (std::size_t g = 0; g < games.size(); ++g) {
        std::vector<TPositionSnapshot> snapshots;
        snapshots.reserve(static_cast<std::size_t>(deals));
        for (std::uint32_t seed = first;; ++seed) {
            if (!DealGame(headless.Engine(), games[g], seed)) {
                err << "tessalyn-cli survey: the game \"" << games[g] << "\" could not be started\n";
                return 2;
            }
            snapshots.push_back(headless.Engine().Snapshot());
            if (seed == last)
                break;
        }
        const solver::TSolverGame rules = solver::MakeSolverGame(headless.Engine().Rules);
        const TTally tally = SolveAll(rules, snapshots, budget, std::max(1, options.Jobs));
        out << TallyJson(games[g], deals, tally, options) << std::endl;
        if (progress) {
            const double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            const double left = spent / static_cast<double>(g + 1) * static_cast<double>(games.size() - g - 1);
            err << "\r" << (g + 1) * static_cast<std::size_t>(deals) << " of " << games.size() * static_cast<std::size_t>(deals)
                << " deals solved, about " << static_cast<long long>(left) << " s left   " << std::flush;
        }
    }
    if (progress)
        err << '\n';
    return 0;
}

} // namespace

int RunSurveyCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    try {
        return Run(arguments, out, err);
    } catch (const std::exception& error) {
        err << "tessalyn-cli survey: " << error.what() << '\n';
        return 2;
    }
}
