#pragma once

#include "catalogue/Position.h"
#include "solver/Moves.h"
#include "solver/SolverState.h"

#include <optional>
#include <string>
#include <vector>

// The pure parts of the hint: which move a guess picks, and where each Undo
// lands in the move history.

// The move a player would try first when nobody knows better: one to a
// foundation, then one that turns up a card, then one that empties a pile,
// then a deal from the stock, then any. None when there is no move.
std::optional<solver::TSolverMove> GuessMove(const solver::TSolverGame& game, const TPositionSnapshot& snapshot);

// The history positions (the engine's HistoryPos) after one Undo, two, ...
// as the engine's Undo takes back a move with the automoves it set off.
std::vector<int> UndoStops(const std::vector<std::string>& history, int historyPos);

// How many game-record actions the first move of a line takes (a pair: two).
int FirstMoveActions(const std::vector<solver::TSolverMove>& line);

// The move a hint shows for the first move of a line. The search's "deal k
// times, then play the waste's top" is shown (and played) as its first
// click on the stock: a hint is one action, and the card it would play is
// not on the waste yet.
solver::TSolverMove ShownMove(const solver::TSolverMove& first);
