#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

class QApplication;
class TCardTable;
class TEngine;
class TQuietHost;

// The engine and a real card table, running without a window: the table is
// never shown, so every animation and pause completes at once; sound is off,
// scoring on, the Compact layout at scale 1, and nothing is written but the
// files a command is asked to write.
class THeadless {
public:
    THeadless();
    ~THeadless();
    THeadless(const THeadless&) = delete;
    THeadless& operator=(const THeadless&) = delete;

    // False (with a one-line reason on `err`) when no card set can be loaded.
    bool Start(std::ostream& err);
    TEngine& Engine() { return *Engine_; }
    TCardTable& Table() { return *Table_; }

private:
    std::unique_ptr<QApplication> App;
    std::unique_ptr<TQuietHost> Host;
    std::unique_ptr<TCardTable> Table_;
    std::unique_ptr<TEngine> Engine_;
};

// Command-line helpers shared by the commands.
struct TCliOptions {
    std::string Game;
    std::optional<std::uint32_t> Seed;
    std::optional<long long> Random;
    std::string Out;
    bool Positions = false;
    std::string From;                      // solve --from FILE.tsg
    std::optional<long long> BudgetMs;     // --budget-ms
    std::optional<long long> BudgetStates; // --budget-states
    std::optional<std::pair<std::uint32_t, std::uint32_t>> Seeds; // --seeds A-B
    int Jobs = 1;
    std::string Error;
};
TCliOptions ParseCliOptions(std::span<const std::string_view> arguments);

// The exact name of a game, or an error.
bool KnownGame(const std::string& name);
