#include "Commands.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

void PrintUsage(std::ostream& err)
{
    std::string line = "usage: tessalyn-cli <command> [arguments]; commands:";
    for (const TCliCommand& command : CliCommands()) {
        line += " ";
        line += command.Name;
        if (!command.Arguments.empty()) {
            line += " ";
            line += command.Arguments;
        }
        line += ";";
    }
    line.pop_back();
    err << line << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!arguments.empty()) {
        for (const TCliCommand& command : CliCommands())
            if (command.Name == arguments.front())
                return command.Run(std::span(arguments).subspan(1), std::cout, std::cerr);
    }
    PrintUsage(std::cerr);
    return 2;
}
