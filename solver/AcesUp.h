#pragma once

#include "solver/Moves.h"

namespace solver {

// Whether `move` discards an Aces Up card that no other card can ever need:
// every lower card of its suit is discarded already. Such a discard can be
// made at once without losing a win.
bool AcesUpDiscardIsSafe(const TSolverState& s, const TSolverMove& move);

} // namespace solver
