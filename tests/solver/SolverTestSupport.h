#pragma once

#include "catalogue/Position.h"
#include "engine/Engine.h"
#include "engine/EngineFixture.h"
#include "persistence/SourceLogFile.h"
#include "solver/Moves.h"
#include "solver/Search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

// Readable forms of the solver's data, for failure messages.
std::string SnapshotText(const TPositionSnapshot& s);
std::string MoveText(const solver::TSolverMove& move);
std::string ActionText(const solver::TRecordAction& action);

// The engine's game record as a saved game (the actions in force).
TSavedGame SavedGameOf(const TEngine& engine);

// Cards of hand-made positions.
inline TCardCode Up(int value, int suit) { return MakeCardCode(value, suit, true); }
inline TCardCode Down(int value, int suit) { return MakeCardCode(value, suit, false); }
// The face-up cards of one suit from `from` up to `to`, bottom first.
TCardCodes SuitRun(int suit, int from, int to);

// A test on a game's solver rules: the rules as the engine deals the game.
class SolverRulesTest : public EngineTest {
protected:
    solver::TSolverGame Rules(const std::string& game)
    {
        Deal(game, 1);
        return solver::MakeSolverGame(Engine->Rules);
    }
};

// A budget of so many states, with a small table (tests search little).
solver::TSolveBudget States(std::int64_t states);

// Whether some line from `state` wins, by a plain exhaustive search on the
// full key, without proofs or pruning: the yardstick for the search's own
// shortcuts. False also when `budget` runs out (it is then below zero).
bool WinReachable(solver::TSolverState& state, std::unordered_set<std::uint64_t>& seen, int& budget);

// How a walk off won deals' lines goes: how many won deals it needs, the seed
// it stops before, how many moves back from the win the first walk starts and
// how many more each next one, how many random moves a walk makes at most,
// and the random generator's seed.
struct TWalkOffWins {
    int Wins = 1;
    std::uint32_t SeedsBelow = 60;
    std::size_t FirstBack = 8;
    std::size_t BackPerWalk = 3;
    int Steps = 120;
    unsigned RandomSeed = 11;
};

// Near the end of won deals (dealt into `engine` by `deal`), wanders off the
// winning line at random; every position `lost` calls lost on the way is
// searched to its end by WinReachable (where that is small enough) and must
// hold no win. Fails too when too few deals were won or no lost position
// was checked, so that a walk that proves nothing does not pass.
::testing::AssertionResult LostPositionsHoldNoWin(
    const std::string& name, const TWalkOffWins& walk, const TEngine& engine,
    const std::function<void(std::uint32_t seed)>& deal,
    const std::function<bool(const solver::TSolverGame&, const solver::TSolverState&)>& lost);
