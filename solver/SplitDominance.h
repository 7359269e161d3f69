#pragma once

#include "solver/Moves.h"
#include "solver/SolverState.h"

namespace solver {

// Splitting a face-up group off a face-up card c1 onto a tableau card c2
// that plays exactly as c1 does (same rank, and the same cards fit on each
// and each fits on the same cards) only changes which of the two lies
// uncovered. Call the positions with and without the split mirrors: they
// differ only in that the stacks lying on c1 and on c2 are swapped. Every
// move in one has a twin in the other leading again to mirrors (a drop onto
// c1 is a drop onto c2; a group lifted from c1 or below it carries the other
// stack along; cards within the stacks move alike) until c1 or c2 goes home,
// which only the one lying uncovered can do. Just before that, moving the stack from the card that
// goes home onto the other makes the two positions equal, in one move. So a
// winning line that splits needlessly has a twin of no greater length that
// splits only right before the uncovered card goes home: a search may leave
// out the splits whose uncovered card cannot go home at once.
//
// This takes: face-up groups of any length moving wherever their bottom card
// fits (no cells limiting them), drops judged by the two cards alone, cards
// never taken back from a foundation, no cells or extra piles a card may go
// to, nothing refilling an emptied pile, and a stock that never deals onto
// the tableau or gathers it.
//
// It also takes stacks that are runs: every face-up card lying on another in
// the tableau lies on it by the building rule, which steps one rank in one
// direction without wrapping. Then the stacks on c1 and c2 only hold ranks
// beyond c1's on the far side from where c1 and the cards under it could
// go, so neither c1 nor a group holding it ever lands on the other's stack.
// Moves keep the tableau so (a group is part of a run, laid where it fits,
// and a card turned up starts a run of its own), so it is checked once, at
// the search's start. Where face-up cards lie in any order (Yukon deals
// them so) a pile may come to hold c1 above c2, and the mirror breaks.
class TSplitDominance {
public:
    TSplitDominance(const TSolverGame& game, const TSolverState& start);

    bool Applies() const { return Holds; }
    // Whether `move` is such a split, whose search the proof above spares.
    bool Dominated(const TSolverState& s, const TSolverMove& move) const;

private:
    bool StacksAreRuns(const TSolverState& s) const;
    bool PlayAlike(TCardCode a, TCardCode b) const;
    bool CouldGoHome(const TSolverState& s, TCardCode card) const;

    const TSolverGame* Game;
    bool Holds = false;
};

} // namespace solver
