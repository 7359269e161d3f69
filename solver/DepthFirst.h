#pragma once

#include "solver/BudgetMeter.h"
#include "solver/DeadEnds.h"
#include "solver/KeyTable.h"
#include "solver/Search.h"
#include "solver/SplitDominance.h"

#include <utility>
#include <vector>

namespace solver {

struct TFrame {
    std::vector<TSolverMove> Moves;
    std::vector<std::uint64_t> Keys; // the positions the moves lead to
    std::size_t Next = 0;
    std::uint64_t Key = 0;
};

// The second pass: depth-first with make/undo over every move, compound
// stock moves included; an exhausted search proves the position lost.
class TDepthFirst {
public:
    TDepthFirst(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
        : State(game, snapshot),
          DeadEnds(game),
          Splits(game, State),
          Meter(budget),
          Table(budget.TableBytes),
          MaxDepth(std::max<std::size_t>(1000, budget.TableBytes / LevelBytes))
    {
    }

    TSolveResult Run();

private:
    // About what one level of the line costs: its moves, their keys and the
    // journal of its move.
    static constexpr std::size_t LevelBytes = 1536;

    void Expand(TFrame& frame);
    void KeyChildren(TFrame& frame);

    TSolverState State;
    TDeadEnds DeadEnds;
    TSplitDominance Splits;
    TBudgetMeter Meter;
    TKeyTable Table;
    // The frames of the current line; frames beyond Depth keep their storage for reuse.
    std::vector<TFrame> Path;
    std::size_t Depth = 0;
    // A line longer than this is not followed (the memory of a long line
    // would outgrow the table's); a search that cut one proves nothing lost.
    std::size_t MaxDepth;
    bool Cut = false;
    std::vector<std::pair<int, TSolverMove>> Scored;
};


} // namespace solver
