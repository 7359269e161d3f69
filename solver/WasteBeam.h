#pragma once

#include "solver/BudgetMeter.h"
#include "solver/Evaluation.h"
#include "solver/KeyTable.h"
#include "solver/NodeStore.h"
#include "solver/Search.h"

#include <cstdint>
#include <vector>

namespace solver {

// Whether the stock turns onto a waste in a known number of passes, the
// waste's top card playable onto piles that build: then the cards turned
// so far are a clock that only runs forward (a redeal starts the next
// pass, which runs forward again).
bool TurnsOntoWasteInPasses(const TSolverGame& game);

// The beam pass fits such a game with cards still to turn.
bool WasteBeamFits(const TSolverGame& game, const TPositionSnapshot& snapshot);

// A first pass for games whose stock turns onto a waste a limited number of
// times. A best-first search over the whole game spends its budget on the
// positions before the first few turns (every turn lowers the evaluation a
// little: one more card on the waste), so it rarely sees the end of the
// stock. This pass keeps, for each count of turns, a beam of the best
// positions from which the stock may turn: from each member it searches the
// positions reachable without turning (best first, a share of the budget),
// then turns from the best of them all, and so on to the last card. When a
// beam runs dry without a win, it starts again with a wider beam. It drops
// positions, so it can only find wins: it never says "not winnable".
class TWasteBeam {
public:
    TWasteBeam(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget,
               int wasteCardWeight = 0);

    TSolveResult Run();

private:
    struct TNodeInfo {
        int Value = 0;
        std::int16_t Turn = -1; // which of the expanded position's moves turns the stock (-1: none)
    };
    // A position the beam holds: the stock has just turned (or the start).
    struct TMember {
        std::vector<std::uint8_t> Code;
        std::vector<TSolverMove> Line; // from the pass's start
        int Value = 0;
    };
    struct TReady {
        std::uint32_t Node;
        int Value;
        TSolverMove Turn;
    };

    // One try from the start with beams `width` wide, at most `states` positions.
    bool RunBeam(std::size_t width, std::int64_t states, std::vector<TSolverMove>& win);
    // Searches from `member` without turning, at most `limit` positions; the
    // positions it could turn from go to `ready`. True on a win (line in `win`).
    bool SearchFrom(const TMember& member, std::int64_t limit, std::size_t width, std::vector<TMember>& ready,
                    std::vector<TSolverMove>& win);
    // How many more turns (and redeals) the stock may make from State, roughly.
    int TurnsLeft() const;

    TSolverState State;
    TEvaluation Evaluation;
    TBudgetMeter Meter;
    std::int64_t MaxStates;
    std::int64_t Expanded = 0;
    bool Dropped = false; // the try under way has left positions out
    TKeyTable Table;
    TNodeStore<TNodeInfo> Nodes;
    std::vector<TSolverMove> Moves;
    std::vector<TReady> Ready;
};

} // namespace solver
