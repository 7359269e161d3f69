#pragma once

#include "solver/SolverState.h"

namespace solver {

// How the best-first pass weighs the waste's order (StockWasteScore): not
// at all; beside how deep the cards the foundations want lie in the
// tableau (where an emptied pile fills itself from the waste or the stock,
// the tableau's short piles turn over fast and the depth still tells);
// or instead of it.
enum class TStockWasteWeighing { None, BesideDepth, InsteadOfDepth };

// For the games whose stock turns onto a waste that feeds piles that build,
// and whose foundations take each suit in order: None for every other game.
TStockWasteWeighing StockWasteWeighing(const TSolverGame& game);

// Their evaluation's share: a penalty for each waste card lying above a card
// of its suit that its foundation takes before it (only the waste's top card
// is taken, so such a card must find a place in the tableau before the one
// under it can go home, and in the last pass the order never changes again:
// dealing a card past the one its foundation wants next is what loses these
// games), and for the cards still in the stock or the waste.
int StockWasteScore(const TSolverState& s);

} // namespace solver
