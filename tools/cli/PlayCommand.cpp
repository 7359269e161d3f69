#include "Commands.h"
#include "Headless.h"

#include "cardtable/Random.h"
#include "engine/Engine.h"
#include "engine/RandomPlay.h"
#include "engine/Snapshot.h"
#include "engine/SourceLogFile.h"

#include <random>

namespace {

int Run(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    const TCliOptions options = ParseCliOptions(arguments);
    if (!options.Error.empty() || options.Game.empty() || !options.Seed || !options.Random) {
        err << "tessalyn-cli play: "
            << (options.Error.empty() ? "usage: play GAME --seed N --random K [--out FILE.tsg] [--positions]" : options.Error)
            << '\n';
        return 2;
    }
    if (!KnownGame(options.Game)) {
        err << "tessalyn-cli play: unknown game \"" << options.Game << "\"\n";
        return 2;
    }
    THeadless headless;
    if (!headless.Start(err))
        return 2;
    TEngine& engine = headless.Engine();
    SetRandSeed(*options.Seed);
    engine.SelectGame(options.Game);
    // The player's choices come from a generator of their own: the program's
    // one generator must stay as the deal left it, or a replay would shuffle
    // differently on a redeal.
    std::mt19937 random(*options.Seed);
    // Undone actions are always redone before another move, and at the end,
    // so the written record replays to exactly this state, points included.
    for (long long i = 0; i < *options.Random; ++i)
        PlayRandomAction(engine, random, TUndoUse::KeepRedoable);
    RedoEverything(engine);
    const std::vector<std::string> record = engine.SavedRecord();
    if (!options.Out.empty() && !WriteSourceLog(options.Out, record)) {
        err << "tessalyn-cli play: cannot write " << options.Out << '\n';
        return 2;
    }
    out << StateJson(engine, options.Positions, static_cast<int>((record.size() - 3) / 4)) << '\n';
    return 0;
}

} // namespace

int RunPlayCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    // A damaged record must end in a message, never in a crash.
    try {
        return Run(arguments, out, err);
    } catch (const std::exception& error) {
        err << "tessalyn-cli play: " << error.what() << '\n';
        return 2;
    }
}
