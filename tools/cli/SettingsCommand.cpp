#include "Commands.h"
#include "Headless.h"

#include "cardtable/CardTable.h"
#include "cardtable/TableStatus.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int Failed = 2;

int ShowSettings(const std::string& file, std::ostream& out, std::ostream& err)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        err << "tessalyn-cli: cannot read " << file << '\n';
        return Failed;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string why;
    const auto status = tablestatus::ReadStatus(bytes, &why);
    if (!status) {
        err << "tessalyn-cli: " << file << " is not a card table's settings file: " << why << '\n';
        return Failed;
    }
    for (const tablestatus::TSetting& setting : *status)
        out << tablestatus::Describe(setting) << '\n';
    return out.good() ? 0 : 1;
}

// Every Name=Value checked before anything is written.
std::optional<tablestatus::TStatus> ParseAssignments(std::span<const std::string_view> assignments, std::ostream& err)
{
    tablestatus::TStatus settings;
    for (const std::string_view assignment : assignments) {
        const std::size_t eq = assignment.find('=');
        std::string why;
        std::optional<tablestatus::TSetting> setting;
        if (eq == std::string_view::npos)
            why = "\"" + std::string(assignment) + "\" is not Name=Value";
        else
            setting = tablestatus::ParseSetting(assignment.substr(0, eq), assignment.substr(eq + 1), &why);
        if (!setting) {
            err << "tessalyn-cli: " << why << '\n';
            return std::nullopt;
        }
        settings.push_back(std::move(*setting));
    }
    return settings;
}

int SaveSettings(const std::string& folder, std::span<const std::string_view> assignments, std::ostream& err)
{
    const auto settings = ParseAssignments(assignments, err);
    if (!settings)
        return Failed;
    THeadless headless;
    if (!headless.Start(err))
        return Failed;
    TCardTable& table = headless.Table();
    tablestatus::ApplyProgramSettings(table);
    // Where the main window lays its table out at start-up: below the menu
    // and tool bars of a 700 x 600 window.
    table.setGeometry(0, 53, 700, 547);
    tablestatus::ApplyStatus(table, *settings);
    if (!table.SaveStatus(folder)) {
        err << "tessalyn-cli: cannot write " << (std::filesystem::path(folder) / "Status.Dat").string() << '\n';
        return Failed;
    }
    return 0;
}

} // namespace

// settings show FILE: every stored property of a Status.Dat, in stream order.
// settings save DIR [Name=Value ...]: a table with the program's start-up
// settings, changed as given, written to DIR/Status.Dat.
int RunSettingsCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.size() == 2 && arguments[0] == "show")
        return ShowSettings(std::string(arguments[1]), out, err);
    if (arguments.size() >= 2 && arguments[0] == "save")
        return SaveSettings(std::string(arguments[1]), arguments.subspan(2), err);
    err << "usage: tessalyn-cli settings show FILE | settings save DIR [Name=Value ...]\n";
    return Failed;
}
