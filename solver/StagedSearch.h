#pragma once

#include "solver/BudgetMeter.h"
#include "solver/Evaluation.h"
#include "solver/KeyTable.h"
#include "solver/NodeStore.h"
#include "solver/Search.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace solver {

// Whether the stock deals a card onto every tableau pile (and a redeal, if
// any, never gathers the tableau): each deal then splits the game into
// stages, and positions before a deal cannot be compared with those after it.
inline bool DealsOntoEveryPile(const TSolverGame& game)
{
    const int turn = game.Rules.TurnCount;
    return (turn == -1 || turn == -2) && !game.ClickPlay;
}

// Whether the staged pass fits the position: such a game, and cards left to deal.
bool StagesFit(const TSolverGame& game, const TPositionSnapshot& snapshot);

// The first pass for games whose stock deals onto every pile. A deal lowers
// any evaluation (new cards cover the piles), so a best-first search over the
// whole game exhausts the positions before a deal and never gets past it.
// This pass searches one stage at a time (the positions between two deals,
// best first), keeps a beam of the best positions it found from which the
// stock may deal, deals from the first of them and goes on; when a stage
// finds nothing to deal from (or no win after the last deal) it backtracks to
// the next member of the stage before. It drops positions, so it can only
// find wins: its "not winnable" would prove nothing and it never gives one.
class TStagedSearch {
public:
    TStagedSearch(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
        : State(game, snapshot), Evaluation(game), Meter(budget), TableBytes(budget.TableBytes / 2)
    {
        // A stage's share: enough to reach the good positions of one stage,
        // little enough that the pass can try other members.
        // A budget in time counts as states at a modest speed (too many
        // would make stages so large that the pass never reaches the last deal).
        std::int64_t states = std::int64_t{1} << 22;
        if (budget.MaxStates > 0)
            states = budget.MaxStates;
        else if (budget.MaxMilliseconds > 0)
            states = budget.MaxMilliseconds * 50;
        StageStates = std::clamp<std::int64_t>(states / 16, 500, 200000);
    }

    TSolveResult Run();

private:
    // What the pass keeps of a position beside its place in the tree.
    struct TStageNode {
        std::uint64_t Key = 0;
        int Value = 0;
        bool Deals = false; // expanded, and the stock may deal from it
    };
    // A position a stage ends in: the stock has dealt from it.
    struct TMember {
        std::vector<std::uint8_t> Code;
        std::vector<TSolverMove> Line; // from the stage's start, the deal last
    };
    struct TStage {
        std::vector<TMember> Beam;
        std::size_t Next = 0;
        std::size_t LineStart = 0; // the moves of the line before the stage
    };
    static constexpr std::size_t BeamWidth = 3;

    // Searches the stage from State; true when it found a win (its moves in `win`).
    bool SearchStage(std::vector<TMember>& beam, std::vector<TSolverMove>& win);
    // The scores of the expanded position's piles, so a child is scored by its touched piles only.
    int ParentPileScore(int p);
    bool PileScored(int p) const;
    bool TouchedPilesScored() const;
    int ValueAfterMove(int parentValue) const;

    TSolverState State;
    TStageEvaluation Evaluation;
    TBudgetMeter Meter;
    std::size_t TableBytes;
    std::int64_t StageStates = 0;
    TNodeStore<TStageNode> Nodes;
    std::vector<TSolverMove> Moves;
    std::vector<std::uint64_t> ChildKeys;
    std::vector<int> PileScores;
    std::vector<std::uint32_t> PileStamps; // a score is the expanded position's when its stamp is Stamp
    std::uint32_t Stamp = 0;
    int ParentPositionScore = 0;
    std::unique_ptr<TKeyTable> Table;
    std::size_t TableBytesNow = 0;
};


} // namespace solver
