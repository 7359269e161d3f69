#include "Commands.h"
#include "Headless.h"
#include "Solving.h"

#include "engine/Engine.h"
#include "persistence/SourceLogFile.h"

#include <cstdio>

namespace {

constexpr const char* Usage = "usage: solve GAME --seed N | solve --from FILE.tsg, [--budget-ms M | --budget-states S] [--out FILE.tsg]";

std::string ResultJson(const std::string& game, std::uint32_t seed, const solver::TSolveResult& result)
{
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "\"moves\":%zu,\"states\":%lld,\"ms\":%.1f}", result.Record.size(),
                  static_cast<long long>(result.States), result.Milliseconds);
    return "{\"game\":\"" + game + "\",\"seed\":" + std::to_string(seed) + ",\"verdict\":\"" + solver::VerdictName(result.Verdict)
        + "\"," + numbers;
}

int Run(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    const TCliOptions options = ParseCliOptions(arguments);
    const bool fromFile = !options.From.empty();
    if (!options.Error.empty() || (fromFile ? !options.Game.empty() : (options.Game.empty() || !options.Seed))) {
        err << "tessalyn-cli solve: " << (options.Error.empty() ? Usage : options.Error) << '\n';
        return 2;
    }
    std::optional<TSavedGame> saved;
    if (fromFile) {
        std::string error;
        saved = ReadSavedGame(options.From, error);
        if (!saved) {
            err << "tessalyn-cli solve: " << error << '\n';
            return 2;
        }
    }
    const std::string game = fromFile ? saved->GameName : options.Game;
    if (!KnownGame(game)) {
        err << "tessalyn-cli solve: unknown game " << QuotedExcerpt(game) << '\n';
        return 2;
    }
    THeadless headless;
    if (!headless.Start(err))
        return 2;
    TEngine& engine = headless.Engine();
    const bool started = fromFile ? engine.LoadGame(*saved) : DealGame(engine, game, *options.Seed);
    if (!started) {
        err << "tessalyn-cli solve: the game \"" << game << "\" could not be started\n";
        return 2;
    }
    const solver::TSolverGame rules = solver::MakeSolverGame(engine.Rules);
    const solver::TSolveResult result = solver::Solve(rules, engine.Snapshot(), BudgetOf(options));
    const std::uint32_t seed = fromFile ? saved->Seed : *options.Seed;
    if (!options.Out.empty() && result.Verdict == solver::TVerdict::Winnable) {
        std::vector<std::string> record = engine.SavedRecord();
        for (const solver::TRecordAction& action : result.Record)
            for (const int value : {action.Kind, action.Pile, action.Position, action.DropPoint})
                record.push_back(std::to_string(value));
        if (!WriteSourceLog(options.Out, record)) {
            err << "tessalyn-cli solve: cannot write " << options.Out << '\n';
            return 2;
        }
    }
    out << ResultJson(game, seed, result) << '\n';
    return 0;
}

} // namespace

int RunSolveCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    // A damaged saved game must end in a message, never in a crash.
    try {
        return Run(arguments, out, err);
    } catch (const std::exception& error) {
        err << "tessalyn-cli solve: " << error.what() << '\n';
        return 2;
    }
}
