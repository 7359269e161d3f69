#pragma once

#include "solver/SolverState.h"

namespace solver {

// A proof of loss for games whose foundations take only whole suits, King to
// Ace, off the top of a tableau pile, and whose tableau cards go nowhere else
// but other tableau piles (Scorpion's kind, where any face-up group moves).
//
// There a card is parted from the card under it only when it moves itself,
// as the lowest card of what moves: moving a card lower down carries it
// along, the stock only lays cards on top. A card that is not a King goes
// home only lying on its successor, inside the run that goes home. So a card
// that never moves, lying on anything else, never goes home.
//
// Which cards never move: take every card that no empty pile would take and
// that is not a King as "held", then free every held card that has a place
// it could still go to: a card it fits on that is not home and not lying
// directly under a held card (in the stock, on top of a pile, or under a
// card that is free). Repeat until nothing changes. No held card ever moves:
// at the first move of one, the card it lands on would have to be a pile's
// top, yet it still lies under the held card that covered it, which has not
// moved before. The answer leans only on what may fit at most, so it stays
// sound where the judge refuses more.
class TSuitRunDeadEnds {
public:
    explicit TSuitRunDeadEnds(const TSolverGame& game);

    // Whether the proof holds for this game at all.
    bool Applies() const { return Active; }
    // Whether some card that never moves lies on a card it cannot go home with.
    bool IsLost(const TSolverState& s) const;

private:
    // Whether `upper` lying on `lower` can go home as part of one run.
    bool HomeLink(TCardCode upper, TCardCode lower) const;
    // Whether the card could ever leave its place by itself: it moves to an empty pile or goes home first.
    bool MayLeaveAlone(TCardCode card) const;

    const TSolverGame* Game;
    int Copies = 1;
    bool Active = false;
    bool HomeSameSuit = false;
    bool HomeAlternateColour = false;
};

} // namespace solver
