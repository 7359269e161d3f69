#pragma once

#include <ostream>
#include <span>
#include <string_view>

// One command of tessalyn-cli. Run gets the arguments after the command's
// name and returns the process exit code.
struct TCliCommand {
    std::string_view Name;
    std::string_view Arguments; // shown in the usage line
    int (*Run)(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);
};

std::span<const TCliCommand> CliCommands();

// The commands, each in its own file.
int RunGamesCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);
int RunDealCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);
int RunReplayCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);
int RunSettingsCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);
int RunPlayCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);
int RunGoldenCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);
int RunSolveCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);
int RunSurveyCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);
