#pragma once

#include "catalogue/Position.h"
#include "engine/Engine.h"
#include "persistence/SourceLogFile.h"
#include "solver/Moves.h"

#include <string>
#include <vector>

// Readable forms of the solver's data, for failure messages.
std::string SnapshotText(const TPositionSnapshot& s);
std::string MoveText(const solver::TSolverMove& move);
std::string ActionText(const solver::TRecordAction& action);

// The engine's game record as a saved game (the actions in force).
TSavedGame SavedGameOf(const TEngine& engine);
