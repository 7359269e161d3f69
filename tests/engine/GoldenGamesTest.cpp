// The golden saved games: for every game a record written once by
// `tessalyn-cli golden tests/engine/golden` and the exact state it loaded to
// then. A saved game must load the same way forever; when a change of the
// rules makes one load differently, that change is a decision to note, and
// the files are written again in the same commit.
#include "EngineFixture.h"

#include "catalogue/GameDefinitions.h"
#include "engine/Snapshot.h"
#include "persistence/SourceLogFile.h"
#include "platform/FilePath.h"

#include <cctype>
#include <sstream>

namespace {

struct TGolden {
    std::vector<std::string> Record;
    std::string State;
};

std::filesystem::path GoldenFile(const std::string& game)
{
    std::string name;
    for (const char c : game)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return testpaths::SourceDir() / "tests" / "engine" / "golden" / (name + ".golden");
}

std::optional<TGolden> ReadGolden(const std::filesystem::path& file)
{
    const auto text = platform::ReadWholeFile(file);
    if (!text)
        return std::nullopt;
    TGolden golden;
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        if (key == "game" || key == "seed" || key == "open") {
            golden.Record.push_back(value);
        } else if (key == "actions") {
            std::istringstream numbers(value);
            for (std::string number; numbers >> number;)
                golden.Record.push_back(number);
        } else if (key == "state") {
            golden.State = value;
        }
    }
    if (golden.Record.size() < 3 || golden.State.empty())
        return std::nullopt;
    return golden;
}

TEST_F(EngineTest, EveryGoldenSavedGameLoadsToExactlyItsRecordedState)
{
    int checked = 0;
    for (const TGameDefinition& definition : GameDefinitions()) {
        const std::string& game = definition.GameName;
        SCOPED_TRACE(game);
        const auto golden = ReadGolden(GoldenFile(game));
        if (!golden) {
            ADD_FAILURE() << "no golden saved game at " << GoldenFile(game);
            continue;
        }
        std::string error;
        // Through the saved-game reader, as a file opened by the player would go.
        const auto saved = ParseSavedGame(FormatSourceLog(golden->Record), error);
        if (!saved) {
            ADD_FAILURE() << error;
            continue;
        }
        ASSERT_TRUE(Engine->LoadGame(*saved));
        EXPECT_EQ(StateJson(*Engine, true), golden->State);
        EXPECT_TRUE(EveryCardOnce());
        ++checked;
    }
    EXPECT_EQ(checked, 205);
}

} // namespace
