#pragma once

#include "solver/Search.h"

#include <chrono>
#include <cstdint>

namespace solver {

// The work of one pass against its budget: positions counted, the clock,
// the cancel flag; it also fills in the result's figures.
class TBudgetMeter {
public:
    explicit TBudgetMeter(const TSolveBudget& budget) : Budget(budget) {}

    void Count() { ++States; }
    // True when the pass must stop: cancelled, or its states or time spent.
    bool Spent()
    {
        if (Budget.Cancel && Budget.Cancel->load(std::memory_order_relaxed)) {
            Cancelled = true;
            return true;
        }
        if (Budget.MaxStates > 0 && States >= Budget.MaxStates)
            return true;
        if (Budget.MaxMilliseconds > 0 && (States & 255) == 0) {
            const auto elapsed = std::chrono::steady_clock::now() - Start;
            if (std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() >= Budget.MaxMilliseconds)
                return true;
        }
        return false;
    }
    TSolveResult& Finish(TSolveResult& result, TVerdict verdict) const
    {
        result.Verdict = verdict;
        result.States = States;
        result.Cancelled = Cancelled;
        result.Milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
        return result;
    }

private:
    TSolveBudget Budget;
    std::int64_t States = 0;
    std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
    bool Cancelled = false;
};

} // namespace solver
