#pragma once

#include "catalogue/Position.h"
#include "engine/Engine.h"
#include "persistence/SourceLogFile.h"
#include "solver/Moves.h"

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

// Readable forms of the solver's data, for failure messages.
std::string SnapshotText(const TPositionSnapshot& s);
std::string MoveText(const solver::TSolverMove& move);
std::string ActionText(const solver::TRecordAction& action);

// The engine's game record as a saved game (the actions in force).
TSavedGame SavedGameOf(const TEngine& engine);

// Whether some line from `state` wins, by a plain exhaustive search on the
// full key, without proofs or pruning: the yardstick for the search's own
// shortcuts. False also when `budget` runs out (it is then below zero).
bool WinReachable(solver::TSolverState& state, std::unordered_set<std::uint64_t>& seen, int& budget);
