#include "solver/Search.h"

#include "solver/BestFirst.h"
#include "solver/DepthFirst.h"
#include "solver/FoundationWalk.h"
#include "solver/HomeOnly.h"
#include "solver/StagedSearch.h"

#include <algorithm>
#include <chrono>

namespace solver {

const char* VerdictName(TVerdict verdict)
{
    switch (verdict) {
    case TVerdict::Winnable: return "winnable";
    case TVerdict::NotWinnable: return "not winnable";
    case TVerdict::Unknown: return "unknown";
    }
    return "unknown";
}

namespace {

// A winning line as the game record's actions.
TSolveResult WithRecord(const TSolverGame& game, const TPositionSnapshot& snapshot, TSolveResult result)
{
    if (result.Verdict == TVerdict::Winnable) {
        TSolverState replay(game, snapshot);
        for (const TSolverMove& move : result.Line) {
            for (const TRecordAction& action : RecordOf(replay, move))
                result.Record.push_back(action);
            ApplyMove(replay, move);
        }
    }
    return result;
}

} // namespace

TSolveResult Solve(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
{
    const auto start = std::chrono::steady_clock::now();
    // Where cards only go home to one foundation, a search of its own keys
    // positions by the piles' heights and the top, with the whole budget (it
    // declines positions that turn out not to be of that kind).
    if (TFoundationWalk::Fits(game, TSolverState(game, snapshot))) {
        TFoundationWalk walk(game, snapshot, budget);
        TSolveResult result = walk.Run();
        if (!walk.Declined())
            return WithRecord(game, snapshot, std::move(result));
    }
    // Best-first with half the budget (and at most 64 MB of positions), or
    // stage by stage with three quarters where the stock deals onto every
    // pile (there the depth-first pass rarely gets past the first deal) ...
    // (where the tableau only sends cards home, one exhaustive search with it all)
    const bool homeOnly = THomeOnly(game).Applies();
    const bool staged = StagesFit(game, snapshot);
    const std::int64_t share = homeOnly ? 4 : staged ? 3 : 2;
    TSolveBudget firstBudget = budget;
    // (never 0 from a budget of a few states: 0 would mean no limit at all)
    if (budget.MaxStates > 0)
        firstBudget.MaxStates = std::max<std::int64_t>(1, budget.MaxStates * share / 4);
    firstBudget.MaxMilliseconds = (budget.MaxMilliseconds * share + 3) / 4;
    TSolveResult result = homeOnly ? THomeOnlySearch(game, snapshot, firstBudget).Run()
        : staged                   ? TStagedSearch(game, snapshot, firstBudget).Run()
                                   : TBestFirst(game, snapshot, firstBudget, std::size_t{64} << 20).Run();
    if (result.Verdict == TVerdict::Unknown && !result.Cancelled && !homeOnly) {
        // ... then depth-first with the rest.
        TSolveBudget rest = budget;
        if (budget.MaxStates > 0)
            rest.MaxStates = std::max<std::int64_t>(1, budget.MaxStates - result.States);
        if (budget.MaxMilliseconds > 0)
            rest.MaxMilliseconds = std::max<std::int64_t>(
                1, budget.MaxMilliseconds
                       - std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        const std::int64_t firstStates = result.States;
        result = TDepthFirst(game, snapshot, rest).Run();
        result.States += firstStates;
        result.Milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    return WithRecord(game, snapshot, std::move(result));
}

bool HasAnyMove(const TSolverGame& game, const TPositionSnapshot& snapshot)
{
    const TSolverState state(game, snapshot);
    std::vector<TSolverMove> moves;
    GenerateMoves(state, TMoveSet::Player, moves);
    return !moves.empty();
}

} // namespace solver
