#include "Headless.h"

#include "cardtable/CardSet.h"
#include "cardtable/CardTable.h"
#include "catalogue/GameDefinitions.h"
#include "engine/Engine.h"
#include "platform/FilePath.h"

#include <QApplication>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int ArgumentCount = 1;
char ProgramName[] = "tessalyn-cli";
char* Arguments[] = {ProgramName, nullptr};

std::optional<std::filesystem::path> FindCardsets()
{
    std::vector<std::filesystem::path> folders;
    folders.emplace_back(QCoreApplication::applicationDirPath().toStdString());
    std::error_code ec;
    folders.push_back(std::filesystem::current_path(ec));
    for (const auto& folder : folders) {
        if (auto found = platform::FindPath(folder, "Cardsets/Standard"))
            return found->parent_path();
    }
    return std::nullopt;
}

// Qt wants a runtime folder (XDG_RUNTIME_DIR) that only its user can enter.
// A desktop login provides one; without it (continuous integration, a
// service, ssh) Qt falls back to a fixed name under /tmp and says so on
// stderr, where the tool's answers go. The tool gets a private folder of its
// own instead, made 0700 by mkdtemp and removed when the program ends.
class TPrivateRuntimeFolder {
public:
    TPrivateRuntimeFolder()
    {
        const char* given = std::getenv("XDG_RUNTIME_DIR");
        if (given != nullptr && *given != '\0')
            return;
        std::error_code ec;
        const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
        std::string pattern = ((ec ? std::filesystem::path("/tmp") : temp) / "tessalyn-cli-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            return; // Qt's own fallback still works; it only says so.
        Folder = pattern;
        setenv("XDG_RUNTIME_DIR", Folder.c_str(), 1);
    }
    ~TPrivateRuntimeFolder()
    {
        if (Folder.empty())
            return;
        std::error_code ec;
        std::filesystem::remove_all(Folder, ec);
    }
    TPrivateRuntimeFolder(const TPrivateRuntimeFolder&) = delete;
    TPrivateRuntimeFolder& operator=(const TPrivateRuntimeFolder&) = delete;

private:
    std::filesystem::path Folder;
};

// Made before the first application object and kept until the program
// ends, after every application object is gone.
void EnsureRuntimeFolder() { static const TPrivateRuntimeFolder folder; }

std::optional<long long> ParseNumber(std::string_view text)
{
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

THeadless::THeadless() = default;

THeadless::~THeadless()
{
    // The engine refers to the table, the table's events to the engine.
    Engine_.reset();
    Table_.reset();
}

bool THeadless::Start(std::ostream& err)
{
    // The table is a widget; with no display the off-screen platform serves.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_XCB_GL_INTEGRATION", "none", 0);
    if (!QApplication::instance()) {
        EnsureRuntimeFolder();
        App = std::make_unique<QApplication>(ArgumentCount, Arguments);
    }
    const auto cardsets = FindCardsets();
    if (!cardsets) {
        err << "tessalyn-cli: no \"Cardsets/Standard\" folder beside the program or in the working folder\n";
        return false;
    }
    try {
        Table_ = std::make_unique<TCardTable>(nullptr, *cardsets);
    } catch (const std::exception& error) {
        err << "tessalyn-cli: cannot load the card set: " << error.what() << '\n';
        return false;
    }
    Table_->SetTableSize(1400, 1000);
    Host = std::make_unique<TQuietHost>();
    Engine_ = std::make_unique<TEngine>(*Table_, *Host);
    return true;
}

TCliOptions ParseCliOptions(std::span<const std::string_view> arguments)
{
    TCliOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--positions") {
            options.Positions = true;
        } else if (argument == "--from" || argument == "--budget-ms" || argument == "--budget-states" || argument == "--seeds"
                   || argument == "--jobs") {
            if (!hasValue) {
                options.Error = std::string(argument) + " needs a value";
                return options;
            }
            const std::string_view value = arguments[++i];
            if (argument == "--from") {
                options.From = std::string(value);
                continue;
            }
            if (argument == "--seeds") {
                const std::size_t dash = value.find('-', 1);
                const auto first = ParseNumber(value.substr(0, dash));
                const auto last = dash == std::string_view::npos ? first : ParseNumber(value.substr(dash + 1));
                if (!first || !last || *first < 0 || *last < *first || *last > 4294967295LL) {
                    options.Error = "--seeds needs a range A-B of seeds, not \"" + std::string(value) + "\"";
                    return options;
                }
                options.Seeds = std::make_pair(static_cast<std::uint32_t>(*first), static_cast<std::uint32_t>(*last));
                continue;
            }
            const auto number = ParseNumber(value);
            if (!number || *number <= 0 || *number > 1000000000000LL) {
                options.Error = std::string(argument) + " needs a positive number, not \"" + std::string(value) + "\"";
                return options;
            }
            if (argument == "--budget-ms")
                options.BudgetMs = *number;
            else if (argument == "--budget-states")
                options.BudgetStates = *number;
            else
                options.Jobs = static_cast<int>(std::min<long long>(*number, 64));
        } else if (argument == "--seed" || argument == "--random" || argument == "--out") {
            if (!hasValue) {
                options.Error = std::string(argument) + " needs a value";
                return options;
            }
            const std::string_view value = arguments[++i];
            if (argument == "--out") {
                options.Out = std::string(value);
                continue;
            }
            const auto number = ParseNumber(value);
            if (argument == "--seed") {
                if (!number || *number < -2147483648LL || *number > 4294967295LL) {
                    options.Error = "--seed needs a 32-bit number, not \"" + std::string(value) + "\"";
                    return options;
                }
                options.Seed = static_cast<std::uint32_t>(*number);
            } else {
                if (!number || *number < 0 || *number > 100000000) {
                    options.Error = "--random needs a count of actions, not \"" + std::string(value) + "\"";
                    return options;
                }
                options.Random = *number;
            }
        } else if (argument.starts_with("--")) {
            options.Error = "unknown option " + std::string(argument);
            return options;
        } else if (options.Game.empty()) {
            options.Game = std::string(argument);
        } else {
            options.Error = "unexpected argument \"" + std::string(argument) + "\"";
            return options;
        }
    }
    return options;
}

bool KnownGame(const std::string& name)
{
    const TGameDefinition* definition = FindGameDefinition(name);
    return definition && definition->GameName == name;
}
