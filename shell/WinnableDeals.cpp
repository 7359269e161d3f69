#include "shell/WinnableDeals.h"

#include "shell/SolverWorker.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "engine/Engine.h"
#include "engine/EngineHost.h"
#include "platform/Trace.h"
#include "solver/Search.h"

#include <algorithm>
#include <atomic>

namespace {

// The table that deals the seeds is as large as a big window, so every
// layout fits; it is never shown, so a deal completes at once.
constexpr int ScoutWidth = 1400;
constexpr int ScoutHeight = 1000;

} // namespace

TWinnableDeals::TWinnableDeals() : Worker(std::make_unique<TSolverWorker>()) {}

TWinnableDeals::~TWinnableDeals()
{
    // The worker goes first: its jobs hold nothing of the scout's, but the
    // order keeps it so.
    Worker.reset();
}

bool TWinnableDeals::StartScout()
{
    if (Scout != nullptr)
        return true;
    try {
        ScoutTable = std::make_unique<TCardTable>(nullptr);
    } catch (const std::exception& error) {
        platform::Trace(std::string("Winnable deals: no table - ") + error.what());
        return false;
    }
    ScoutTable->SetTableSize(ScoutWidth, ScoutHeight);
    ScoutHost = std::make_unique<TQuietHost>();
    Scout = std::make_unique<TEngine>(*ScoutTable, *ScoutHost);
    return true;
}

void TWinnableDeals::Find(const std::string& game, TFound found)
{
    Cancel();
    Game = game;
    Found = std::move(found);
    Clock.start();
    TrySeed();
}

void TWinnableDeals::Cancel()
{
    Worker->Cancel();
    Game.clear();
    Found = nullptr;
}

void TWinnableDeals::TrySeed()
{
    const std::uint32_t seed = Seeds();
    const std::int64_t left = TotalMilliseconds - Clock.elapsed();
    bool dealt = false;
    if (left > 0 && StartScout()) {
        SetRandSeed(seed);
        // A game already on the scout's table would not be dealt again.
        Scout->Rules.GameName.clear();
        try {
            dealt = Scout->SelectGame(Game);
        } catch (const std::exception& error) {
            platform::Trace(std::string("Winnable deals: ") + error.what());
        }
    }
    if (!dealt) {
        Solved(seed, false);
        return;
    }
    solver::TSolveBudget budget;
    budget.MaxMilliseconds = std::clamp<std::int64_t>(left, 1, SeedMilliseconds);
    auto proved = std::make_shared<bool>(false);
    Worker->Submit(
        [proved, budget, game = solver::MakeSolverGame(Scout->Rules),
         snapshot = Scout->Snapshot()](const std::atomic<bool>& cancel) mutable {
            budget.Cancel = &cancel;
            *proved = solver::Solve(game, snapshot, budget).Verdict == solver::TVerdict::Winnable;
        },
        [this, proved, seed] { Solved(seed, *proved); });
}

void TWinnableDeals::Solved(std::uint32_t seed, bool proved)
{
    if (!Searching())
        return;
    if (!proved && Clock.elapsed() < TotalMilliseconds) {
        TrySeed();
        return;
    }
    const TFound found = std::move(Found);
    Game.clear();
    Found = nullptr;
    if (found)
        found(seed, proved);
}
