#include "Commands.h"

namespace {

constexpr TCliCommand Commands[] = {
    {"games", "", RunGamesCommand},
    {"deal", "GAME --seed N [--positions]", RunDealCommand},
    {"replay", "FILE.tsg [--positions]", RunReplayCommand},
    {"play", "GAME --seed N --random K [--out FILE.tsg] [--positions]", RunPlayCommand},
    {"golden", "FOLDER [--random K]", RunGoldenCommand},
    {"settings", "show FILE | save DIR [Name=Value ...]", RunSettingsCommand},
};

} // namespace

std::span<const TCliCommand> CliCommands()
{
    return Commands;
}
