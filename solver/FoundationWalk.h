#pragma once

#include "solver/BudgetMeter.h"
#include "solver/DeadEnds.h"
#include "solver/KeyTable.h"
#include "solver/Search.h"

#include <utility>
#include <vector>

namespace solver {

// The search for games whose tableau cards go one by one onto a single
// foundation and nowhere else, with nothing left to deal (Black Hole). Piles
// there only shrink from the top, so a position is no more than the height
// of every pile and the foundation's top card: which order the cards below
// the top went home in, no rule reads. The common key hashes the whole
// foundation and so tells apart positions that differ only in that order
// (their number grows with every card played); keyed by heights and top,
// one depth-first search goes over each position once.
class TFoundationWalk {
public:
    // Whether the position is one this search can key so (read from the
    // rule record and the position, never from the game's name).
    static bool Fits(const TSolverGame& game, const TSolverState& start);
    // A position's key: its piles' heights and the foundation's top.
    static std::uint64_t KeyOf(const TSolverState& s);

    TFoundationWalk(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
        : State(game, snapshot),
          DeadEnds(game),
          Meter(budget),
          Table(budget.TableBytes)
    {}

    TSolveResult Run();
    // Whether Run met a move this search does not key (a card played other
    // than from a pile's top to the foundation): its result then says nothing.
    bool Declined() const { return Refused; }

private:
    struct TLevel {
        std::vector<TSolverMove> Moves;
        std::size_t Next = 0;
        std::uint64_t Key = 0;
    };

    std::uint64_t Key() const { return KeyOf(State); }
    // The moves from the current position, likelier winners first.
    void Expand(TLevel& level);

    TSolverState State;
    TDeadEnds DeadEnds;
    TBudgetMeter Meter;
    TKeyTable Table;
    std::vector<TLevel> Path;
    std::vector<std::pair<int, TSolverMove>> Scored;
    bool Refused = false;
};

// How promising a card played home from `pile` looks where cards only go
// home to one foundation: the taller its pile, the more it hides; and the
// more cards at hand fit on it once it is the top (the card it uncovers
// above all), the longer the run it opens.
int FoundationWalkScore(const TSolverState& s, const TSolverMove& move);

} // namespace solver
