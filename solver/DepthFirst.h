#pragma once

#include "solver/BudgetMeter.h"
#include "solver/DeadEnds.h"
#include "solver/KeyTable.h"
#include "solver/Moves.h"
#include "solver/Search.h"

#include <utility>
#include <vector>

namespace solver {

// A level of the line: its moves and their children's keys lie in the
// search's shared stacks from First on (a level's own vectors would be
// allocated afresh each time the line grows a level deeper).
struct TFrame {
    std::size_t First = 0;
    std::size_t Count = 0;
    std::size_t Next = 0;
    std::size_t Keyed = 0; // the children keyed so far
    std::uint64_t Key = 0;
};

// The second pass: depth-first with make/undo over every move, compound
// stock moves included; an exhausted search proves the position lost.
class TDepthFirst {
public:
    TDepthFirst(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
        : State(game, snapshot),
          DeadEnds(game),
          Meter(budget),
          Table(budget.TableBytes),
          MaxDepth(std::max<std::size_t>(1000, budget.TableBytes / LevelBytes))
    {
        // Its folded moves reach every card of such a cycle from each turn.
        if (StockTurnsInCycle(State))
            State.KeyStockAsCycle();
    }

    TSolveResult Run();

private:
    // About what one level of the line costs: its moves, their keys and the
    // journal of its move.
    static constexpr std::size_t LevelBytes = 1536;

    void Expand(TFrame& frame);
    void KeyChildren(TFrame& frame, std::size_t end);
    // How many children are keyed at once.
    static constexpr std::size_t KeyBatch = 4;

    TSolverState State;
    TDeadEnds DeadEnds;
    TBudgetMeter Meter;
    TKeyTable Table;
    // The frames of the current line, and the moves and child keys of all
    // of them, the deepest last.
    std::vector<TFrame> Path;
    std::vector<TSolverMove> Moves;
    std::vector<std::uint64_t> Keys;
    std::vector<TSolverMove> Generated;
    std::size_t Depth = 0;
    // A line longer than this is not followed (the memory of a long line
    // would outgrow the table's); a search that cut one proves nothing lost.
    std::size_t MaxDepth;
    bool Cut = false;
    std::vector<std::int64_t> Scored;
};


} // namespace solver
