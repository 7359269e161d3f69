#include "Commands.h"
#include "Headless.h"

#include "engine/Engine.h"
#include "engine/RandomPlay.h"
#include "engine/Snapshot.h"
#include "persistence/SourceLogFile.h"

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
    PlayRandomGame(engine, options.Game, *options.Seed, *options.Random);
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
