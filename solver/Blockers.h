#pragma once

#include "solver/SolverState.h"

namespace solver {

// Games whose tableau piles are waste piles (Sir Tommy's kind): no card is
// ever laid on another from the tableau, at most moved to an empty pile.
bool TableauNeverBuilds(const TGameRules& rules);
// Of these, the games where a card laid on a pile never moves to another
// pile: it leaves only for a foundation. A card lying above one that must go
// home before it is then a blocker.
bool TableauLeavesOnlyHome(const TGameRules& rules);

// Cards of pile `p` that lie above a card which must go home before them
// (a lower card of their suit, or of any suit where foundations ignore suits).
int BlockedCards(const TSolverState& s, int p);

// The best-first pass's score of pile `p` in games whose tableau never builds (zero in others): a
// stock card laid where it blocks nothing is progress, a blocker a setback.
// Without the progress term every way of laying the stock out looks alike
// and the pass widens instead of going deeper.
int WastePileScore(const TSolverState& s, int p);

// Whether a tableau card can never go home: every card of some lower rank it
// needs (of its suit where foundations build by suit) that is not yet home
// lies under it in its pile, and no foundation can take it without one more
// of them. Only in games where tableau cards leave only for foundations built
// up from the Ace without wrapping, nothing taken back: then the position is lost.
bool HopelesslyBlocked(const TSolverState& s);

} // namespace solver
