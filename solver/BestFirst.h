#pragma once

#include "solver/BudgetMeter.h"
#include "solver/DeadEnds.h"
#include "solver/KeyTable.h"
#include "solver/Moves.h"
#include "solver/NodeStore.h"
#include "solver/Search.h"

#include <cstdint>
#include <queue>
#include <utility>
#include <vector>

namespace solver {

// Whether the best-first pass should follow a line deeper before it widens
// (newer positions first among equals): so where every card lies open on
// piles that build; where a stock feeds the table, the older first.
bool FollowsLinesFirst(const TSolverGame& game, const TSolverState& start);

// What each move of the line to a position costs against its evaluation
// (where 1,600 is a card home), where every card lies open on piles that
// build with no cells and no stock; 0 elsewhere (see BestFirst.cpp).
int LineMoveCost(const TSolverGame& game, const TSolverState& start);

// The first pass: best-first over the evaluation, positions kept encoded,
// the stock clicked a card at a time (a greedy pass that may deal deep into
// a one-pass stock to play one card buries the rest; the depth-first pass
// orders folded clicks after the plays at hand). It finds good lines fast;
// when its memory or its share of the budget runs out, the depth-first pass
// takes over (only an exhausted search proves a position lost, and both
// passes can).
// Whether the best-first pass searches a cycle of stock and waste by the
// folded moves, which reach each of its cards from every turn (the key then
// merges the turns), rather than a click at a time: where a reserve is dealt
// and the cycle is long (more than a pack). Measured at 100,000 positions,
// seeds 1-50: Double Canfield won 26 deals against 21, The Demon 46 as many;
// folded everywhere, Canfield won 32 against 33, Superior Canfield 37
// against 40, Double Klondike 44 against 45, and Klondike turning three 35
// against 33 but with 2 losses fewer proved.
bool FoldsStockCycle(const TSolverState& start);

class TBestFirst {
public:
    TBestFirst(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget,
               std::size_t memoryBytes, int wasteCardWeight = 0)
        : State(game, snapshot),
          DeadEnds(game),
          Meter(budget),
          Table(budget.TableBytes / 2),
          MemoryBytes(memoryBytes),
          NewerFirst(FollowsLinesFirst(game, State)),
          MoveCost(LineMoveCost(game, State)),
          WasteCardWeight(wasteCardWeight)
    {
        if (FoldsStockCycle(State))
            State.KeyStockAsCycle();
    }

    TSolveResult Run();

private:
    // How many moves the line to a node has.
    struct TLineLength {
        std::uint32_t Moves = 0;
    };
    using TNodes = TNodeStore<TLineLength>;
    std::vector<TSolverMove> LineTo(std::uint32_t node, const TSolverMove& last) const;
    // The open list is a vector underneath: its room and the others' count, as the allocator sees them.
    using TOpen = std::priority_queue<std::pair<std::int64_t, std::uint32_t>>;
    bool MemorySpent(const TOpen& open) const
    {
        return Nodes.ReservedBytes() + open.size() * 2 * sizeof(TOpen::value_type) > MemoryBytes;
    }

    TSolverState State;
    TDeadEnds DeadEnds;
    TBudgetMeter Meter;
    TKeyTable Table;
    std::size_t MemoryBytes;
    // Among positions scored equal, the newer (deeper) one first, or the older.
    bool NewerFirst;
    int MoveCost; // see LineMoveCost
    int WasteCardWeight; // see TEvaluation
    TNodes Nodes;
};


} // namespace solver
