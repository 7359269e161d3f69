#include "Commands.h"
#include "Headless.h"

#include "cardtable/Random.h"
#include "engine/Engine.h"
#include "engine/Snapshot.h"

namespace {

int Run(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    const TCliOptions options = ParseCliOptions(arguments);
    if (!options.Error.empty() || options.Game.empty() || !options.Seed) {
        err << "tessalyn-cli deal: " << (options.Error.empty() ? "usage: deal GAME --seed N [--positions]" : options.Error)
            << '\n';
        return 2;
    }
    if (!KnownGame(options.Game)) {
        err << "tessalyn-cli deal: unknown game \"" << options.Game << "\"\n";
        return 2;
    }
    THeadless headless;
    if (!headless.Start(err))
        return 2;
    SetRandSeed(*options.Seed);
    headless.Engine().SelectGame(options.Game);
    out << StateJson(headless.Engine(), options.Positions) << '\n';
    return 0;
}

} // namespace

int RunDealCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    // A damaged record must end in a message, never in a crash.
    try {
        return Run(arguments, out, err);
    } catch (const std::exception& error) {
        err << "tessalyn-cli deal: " << error.what() << '\n';
        return 2;
    }
}
