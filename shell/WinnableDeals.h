#pragma once

#include <QElapsedTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>

class TCardTable;
class TEngine;
class TQuietHost;
class TSolverWorker;

// Finds a deal the solver proves can be won. Each seed is dealt on a table
// of its own that is never shown (so the player's table and its statistics
// are untouched) and solved on a worker thread; the window keeps running
// between seeds. When the time is up before a proof, the last seed is taken.
class TWinnableDeals {
public:
    // Called on the window's thread with the seed to deal and whether it was proved.
    using TFound = std::function<void(std::uint32_t seed, bool proved)>;

    TWinnableDeals();
    ~TWinnableDeals();
    TWinnableDeals(const TWinnableDeals&) = delete;
    TWinnableDeals& operator=(const TWinnableDeals&) = delete;

    // Cancels a search under way and starts one for `game`.
    void Find(const std::string& game, TFound found);
    void Cancel();
    bool Searching() const { return !Game.empty(); }

    std::int64_t TotalMilliseconds = 2000;
    std::int64_t SeedMilliseconds = 500;

private:
    void TrySeed();
    void Solved(std::uint32_t seed, bool proved);
    bool StartScout();

    std::unique_ptr<TCardTable> ScoutTable;
    std::unique_ptr<TQuietHost> ScoutHost;
    std::unique_ptr<TEngine> Scout;
    std::unique_ptr<TSolverWorker> Worker;
    std::mt19937 Seeds{std::random_device{}()};
    QElapsedTimer Clock;
    std::string Game;
    TFound Found;
};
