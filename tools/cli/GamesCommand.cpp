#include "Commands.h"

#include "catalogue/MenuTree.h"

#include <exception>

// Every game of "Alphabetical Games" in menu order: number, help code, name.
int RunGamesCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    if (!arguments.empty()) {
        err << "usage: tessalyn-cli games\n";
        return 2;
    }
    try {
        const TMenuItem& menu = StandardGameTypeMenu();
        const TMenuItem* alphabetical = GetMenuItem(menu, AlphabeticalGamesCaption, false);
        if (!alphabetical) {
            err << "tessalyn-cli: the game menu has no \"Alphabetical Games\"\n";
            return 1;
        }
        for (const std::string& name : GetMenuItems(*alphabetical)) {
            const TGameDefinition* game = FindGameDefinition(name);
            if (!game) {
                err << "tessalyn-cli: no game \"" << name << "\"\n";
                return 1;
            }
            out << game->GameNumber << '\t' << game->HelpCode << '\t' << game->GameName << '\n';
        }
    } catch (const std::exception& error) {
        err << "tessalyn-cli: " << error.what() << '\n';
        return 1;
    }
    return out.good() ? 0 : 1;
}
