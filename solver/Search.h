#pragma once

#include "catalogue/Position.h"
#include "solver/Moves.h"
#include "solver/SolverState.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace solver {

enum class TVerdict {
    Winnable,    // a winning line was found (with the cards as dealt: face-down cards are read)
    NotWinnable, // every position reachable was searched: proved
    Unknown,     // the budget ran out first
};

const char* VerdictName(TVerdict verdict);

struct TSolveBudget {
    std::int64_t MaxStates = 0;       // 0: no limit
    std::int64_t MaxMilliseconds = 0; // 0: no limit
    // The transposition table's size; it is cleared when it fills up.
    std::size_t TableBytes = std::size_t{64} << 20;
    // Set from another thread to stop the search at its next position.
    const std::atomic<bool>* Cancel = nullptr;
};

struct TSolveResult {
    TVerdict Verdict = TVerdict::Unknown;
    std::vector<TSolverMove> Line;      // the winning line, first move first
    std::vector<TRecordAction> Record;  // the same as game-record actions
    std::int64_t States = 0;            // positions expanded
    double Milliseconds = 0;
    bool Cancelled = false;
};

// Searches for a winning line from `snapshot`. Depth-first with make/undo,
// a transposition table on the canonical key and ordered moves.
TSolveResult Solve(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget);

// Whether the position has any move at all (no drag, click, deal or redeal).
bool HasAnyMove(const TSolverGame& game, const TPositionSnapshot& snapshot);

} // namespace solver
