#include "Commands.h"

namespace {

constexpr TCliCommand Commands[] = {
    {"games", "", RunGamesCommand},
    {"deal", "GAME --seed N [--positions]", RunDealCommand},
    {"replay", "FILE.tsg [--positions]", RunReplayCommand},
    {"play", "GAME --seed N --random K [--out FILE.tsg] [--positions]", RunPlayCommand},
    {"golden", "FOLDER [--random K]", RunGoldenCommand},
    {"solve", "GAME --seed N | --from FILE.tsg [--budget-ms M | --budget-states S] [--out FILE.tsg]", RunSolveCommand},
    {"survey", "GAME|all --seeds A-B [--budget-ms M | --budget-states S] [--jobs J]", RunSurveyCommand},
    {"settings", "show FILE | save DIR [Name=Value ...]", RunSettingsCommand},
};

} // namespace

std::span<const TCliCommand> CliCommands()
{
    return Commands;
}
