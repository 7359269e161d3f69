// Writes the golden saved games: for every game a game record of a few
// hundred random actions and the exact state it loads to. The tests load
// each one on every run; a change that loads any of them differently must be
// a deliberate one, with the files written again in the same commit.
#include "Commands.h"
#include "Headless.h"

#include "catalogue/GameDefinitions.h"
#include "engine/Engine.h"
#include "engine/RandomPlay.h"
#include "engine/Snapshot.h"
#include "persistence/SourceLogFile.h"
#include "platform/FilePath.h"

#include <cctype>
#include <filesystem>

namespace {

constexpr long long DefaultActions = 400;
// Each game's deal and random player start from this plus its place in the catalogue.
constexpr std::uint32_t FirstSeed = 1000;

// The file name of a game's golden record: its name with every character
// that is not a letter or digit as "_".
std::string GoldenFileName(const std::string& game)
{
    std::string name;
    for (const char c : game)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name + ".golden";
}

// One line per field, the actions as one line of numbers, four per action.
std::string GoldenText(const std::vector<std::string>& record, const std::string& state)
{
    std::string text = "game " + record.at(0) + "\nseed " + record.at(1) + "\nopen " + record.at(2) + "\nactions";
    for (std::size_t i = 3; i < record.size(); ++i)
        text += " " + record[i];
    return text + "\nstate " + state + "\n";
}

int Run(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.empty() || arguments.size() == 2 || arguments.size() > 3
        || (arguments.size() == 3 && arguments[1] != "--random")) {
        err << "usage: tessalyn-cli golden FOLDER [--random K]\n";
        return 2;
    }
    long long actions = DefaultActions;
    if (arguments.size() == 3) {
        try {
            actions = std::stoll(std::string(arguments[2]));
        } catch (const std::exception&) {
            actions = -1;
        }
        if (actions < 0 || actions > 100000) {
            err << "tessalyn-cli golden: --random needs a count of actions\n";
            return 2;
        }
    }
    const std::filesystem::path folder{std::string(arguments[0])};
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    THeadless player;
    THeadless loader;
    if (!player.Start(err) || !loader.Start(err))
        return 2;
    const std::vector<TGameDefinition>& games = GameDefinitions();
    for (std::size_t i = 0; i < games.size(); ++i) {
        const std::string& game = games[i].GameName;
        const std::uint32_t seed = FirstSeed + static_cast<std::uint32_t>(i);
        if (!PlayRandomGame(player.Engine(), game, seed, actions)) {
            err << "tessalyn-cli golden: cannot deal \"" << game << "\"\n";
            return 1;
        }
        const std::vector<std::string> record = player.Engine().SavedRecord();
        std::string error;
        const auto saved = ParseSavedGame(FormatSourceLog(record), error);
        if (!saved || !loader.Engine().LoadGame(*saved)) {
            err << "tessalyn-cli golden: the record of \"" << game << "\" does not load: " << error << '\n';
            return 1;
        }
        // Only a record that loads to the very table it was played to is worth keeping.
        const std::string state = StateJson(loader.Engine(), true);
        if (state != StateJson(player.Engine(), true)) {
            err << "tessalyn-cli golden: \"" << game << "\" loads to another state than it was played to\n";
            return 1;
        }
        const std::filesystem::path file = folder / GoldenFileName(game);
        if (!platform::WriteFileAtomically(file, GoldenText(record, state))) {
            err << "tessalyn-cli golden: cannot write " << file.string() << '\n';
            return 1;
        }
    }
    out << games.size() << " golden games written to " << folder.string() << '\n';
    return 0;
}

} // namespace

int RunGoldenCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    try {
        return Run(arguments, out, err);
    } catch (const std::exception& error) {
        err << "tessalyn-cli golden: " << error.what() << '\n';
        return 2;
    }
}
