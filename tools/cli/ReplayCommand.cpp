#include "Commands.h"
#include "Headless.h"

#include "engine/Engine.h"
#include "engine/Snapshot.h"
#include "persistence/SourceLogFile.h"

namespace {

int Run(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    const TCliOptions options = ParseCliOptions(arguments);
    if (!options.Error.empty() || options.Game.empty()) {
        err << "tessalyn-cli replay: " << (options.Error.empty() ? "usage: replay FILE.tsg [--positions]" : options.Error)
            << '\n';
        return 2;
    }
    std::string error;
    const auto game = ReadSavedGame(options.Game, error);
    if (!game) {
        err << "tessalyn-cli replay: " << error << '\n';
        return 2;
    }
    if (!KnownGame(game->GameName)) {
        err << "tessalyn-cli replay: the saved game names an unknown game " << QuotedExcerpt(game->GameName) << '\n';
        return 2;
    }
    THeadless headless;
    if (!headless.Start(err))
        return 2;
    // No save name: a replay that wins or closes the game must not write the file back.
    if (!headless.Engine().LoadGame(*game)) {
        err << "tessalyn-cli replay: the game \"" << game->GameName << "\" could not be started\n";
        return 2;
    }
    out << StateJson(headless.Engine(), options.Positions, static_cast<int>(game->Actions.size())) << '\n';
    return 0;
}

} // namespace

int RunReplayCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    // A damaged record must end in a message, never in a crash.
    try {
        return Run(arguments, out, err);
    } catch (const std::exception& error) {
        err << "tessalyn-cli replay: " << error.what() << '\n';
        return 2;
    }
}
