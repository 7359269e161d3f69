#include "solver/Search.h"

#include "solver/BestFirst.h"
#include "solver/DepthFirst.h"
#include "solver/FoundationWalk.h"
#include "solver/HomeOnly.h"
#include "solver/StagedSearch.h"
#include "solver/StockEvaluation.h"
#include "solver/WasteBeam.h"

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

// A budget's part: `parts` of `whole` (never 0 states from a budget
// of a few: 0 would mean no limit at all).
TSolveBudget BudgetPart(const TSolveBudget& budget, std::int64_t parts, std::int64_t whole)
{
    TSolveBudget part = budget;
    if (budget.MaxStates > 0)
        part.MaxStates = std::max<std::int64_t>(1, budget.MaxStates * parts / whole);
    part.MaxMilliseconds = (budget.MaxMilliseconds * parts + whole - 1) / whole;
    return part;
}

// What is left of `budget` after `spent`.
TSolveBudget Remainder(const TSolveBudget& budget, const TSolveResult& spent)
{
    TSolveBudget rest = budget;
    if (budget.MaxStates > 0)
        rest.MaxStates = std::max<std::int64_t>(1, budget.MaxStates - spent.States);
    if (budget.MaxMilliseconds > 0)
        rest.MaxMilliseconds = std::max<std::int64_t>(1, budget.MaxMilliseconds - static_cast<std::int64_t>(spent.Milliseconds));
    return rest;
}

// Where a stock turns onto a waste that feeds building piles (that do not
// fill themselves when emptied), the best-first
// pass either wins fast or not at all, and what it wins depends on how it
// weighs the cards dealt to the waste and not played: they lie in the one
// order the last pass leaves, and each one covers the cards under it. So it
// looks twice: once as for every game, with the half of the budget every
// game's first pass has, then with each such card weighed as a third of a
// card home and an eighth of the budget taken from the depth-first pass
// (its wins come within a few thousand positions). Measured at 100,000
// positions, seeds 1-50: Forty Thieves won 15 deals against 9, Gargantua 14
// against 13, Diplomat and Midshipman as many as before (the second look
// with a quarter of the first pass's half instead cost Diplomat 3 deals won
// late by the first look; a weight of 10 or 80 won Forty Thieves fewer).
constexpr int HeavyWasteCardWeight = 30;

bool WasteLookedAtTwice(const TSolverGame& game, const TPositionSnapshot& snapshot)
{
    const TSolverState start(game, snapshot);
    const bool cardsToCome = start.StockCount() > 0 || !start.Waste().Empty();
    // (Where emptied piles fill themselves from the waste, the depth-first
    // pass wins more with the eighth: Triple Line lost 2 deals of 20 to it.)
    return cardsToCome && StockWasteWeighing(game) == TStockWasteWeighing::InsteadOfDepth;
}

TSolveResult BestFirstPass(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
{
    constexpr std::size_t MemoryBytes = std::size_t{64} << 20;
    if (!WasteLookedAtTwice(game, snapshot))
        return TBestFirst(game, snapshot, budget, MemoryBytes).Run();
    // (Either look, searched to its end, proves a loss: it drops no move.)
    TSolveResult result = TBestFirst(game, snapshot, BudgetPart(budget, 4, 5), MemoryBytes).Run();
    if (result.Verdict != TVerdict::Unknown || result.Cancelled)
        return result;
    const TSolveResult first = result;
    result = TBestFirst(game, snapshot, Remainder(budget, first), MemoryBytes, HeavyWasteCardWeight).Run();
    result.States += first.States;
    result.Milliseconds += first.Milliseconds;
    return result;
}

// Where the stock turns onto a waste a limited number of times, a
// best-first look first (it wins the easy deals within a few thousand
// positions, and searched to its end it proves a loss), then the beam over
// the turns with the rest of the first pass's share.
TSolveResult BeamPass(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
{
    constexpr std::size_t MemoryBytes = std::size_t{64} << 20;
    const std::int64_t lookParts = WasteLookedAtTwice(game, snapshot) ? 2 : 6;
    TSolveResult result = TBestFirst(game, snapshot, BudgetPart(budget, lookParts, 8), MemoryBytes).Run();
    if (result.Verdict != TVerdict::Unknown || result.Cancelled)
        return result;
    const TSolveResult first = result;
    result = TWasteBeam(game, snapshot, Remainder(budget, first), HeavyWasteCardWeight).Run();
    result.States += first.States;
    result.Milliseconds += first.Milliseconds;
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
    // Best-first with half the budget (and at most 64 MB of positions; five
    // eighths where it looks at the waste twice), or
    // stage by stage with three quarters where the stock deals onto every
    // pile (there the depth-first pass rarely gets past the first deal) ...
    // (where the tableau only sends cards home, one exhaustive search with it all)
    const bool homeOnly = THomeOnly(game).Applies();
    const bool staged = StagesFit(game, snapshot);
    // Where the stock turns onto a waste in a few passes, a look and the
    // beam over the turns: with seven eighths where the piles do not fill
    // themselves (the depth-first pass proved none of those deals lost at
    // 100,000 positions; its share won more with the beam: seeds 1-20 of six
    // such games, 71 deals won against 64 with five eighths), five eighths
    // elsewhere. (Where the depth-first pass proves the losses, as in
    // Klondike, the beam is left out: see TurnsOntoWasteInPasses.)
    const bool beam = !homeOnly && !staged && WasteBeamFits(game, snapshot);
    const std::int64_t beamShare = WasteLookedAtTwice(game, snapshot) ? 7 : 5;
    const std::int64_t share = homeOnly ? 8 : staged ? 6 : beam ? beamShare : WasteLookedAtTwice(game, snapshot) ? 5 : 4;
    const TSolveBudget firstBudget = BudgetPart(budget, share, 8);
    TSolveResult result = homeOnly ? THomeOnlySearch(game, snapshot, firstBudget).Run()
        : staged                   ? TStagedSearch(game, snapshot, firstBudget).Run()
        : beam                     ? BeamPass(game, snapshot, firstBudget)
                                   : BestFirstPass(game, snapshot, firstBudget);
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
