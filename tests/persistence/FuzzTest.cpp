// Mutated data files fed to their readers: nothing may crash or hang, a
// damaged file is read as far as it goes, and no other file is touched.
#include "DataFolderFixture.h"

#include "persistence/Data.h"
#include "persistence/Player.h"
#include "persistence/SourceLogFile.h"
#include "platform/FilePath.h"

#include <random>

namespace {

// Mutations a disk, an editor or a careless hand make of a text file.
class TMutator {
public:
    explicit TMutator(unsigned seed) : Random(seed) {}

    std::string Mutate(std::string text)
    {
        const int steps = 1 + Pick(3);
        for (int i = 0; i < steps; ++i)
            text = MutateOnce(std::move(text));
        return text;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Random); }
    std::size_t At(const std::string& text) { return text.empty() ? 0 : std::size_t(Pick(int(text.size()))); }

    std::string MutateOnce(std::string text)
    {
        static const char* const Tokens[] = {"\r\n", "\n", "\r", "-", "+", "99999999999", "-2147483648",
                                             "0", "O", "\0", " ", "\xff", "1e9", "0x10"};
        switch (Pick(7)) {
        case 0: // flip a byte
            if (!text.empty())
                text[At(text)] = char(Pick(256));
            break;
        case 1: // cut the end off
            text.resize(At(text));
            break;
        case 2: // drop a stretch
            if (!text.empty()) {
                const std::size_t from = At(text);
                text.erase(from, std::size_t(Pick(16)));
            }
            break;
        case 3: { // insert a troublesome token
            const char* token = Tokens[Pick(int(std::size(Tokens)))];
            text.insert(At(text), token[0] == '\0' ? std::string(1, '\0') : std::string(token));
            break;
        }
        case 4: // repeat a stretch
            if (!text.empty()) {
                const std::size_t from = At(text);
                text.insert(from, text.substr(from, std::size_t(Pick(40))));
            }
            break;
        case 5: // random bytes
            for (int i = Pick(8); i > 0; --i)
                text.insert(At(text), 1, char(Pick(256)));
            break;
        default: // everything on one line
            for (char& c : text)
                if (c == '\n' && Pick(2) == 0)
                    c = ' ';
        }
        return text;
    }

    std::mt19937 Random;
};

std::string SavedGameText()
{
    std::string text = "Klondike 1 [Turn over 1]\r\n-123456\r\nO\r\n";
    for (int i = 0; i < 12; ++i)
        text += std::to_string(i % 8) + "\r\n" + std::to_string(i % 7) + "\r\n" + std::to_string(i) + "\r\n-1\r\n";
    return text;
}

std::string ScoresText()
{
    std::string text;
    for (int e = 0; e < 20; ++e)
        text += "Name" + std::to_string(e) + "\r\n08/12/2026\r\n" + std::to_string(1000 - e * 10) + "\r\n";
    return text;
}

TEST(DataFuzz, SavedGamesParseOrAreRefusedWithAReason)
{
    TMutator mutator(1);
    const std::string valid = SavedGameText();
    int refused = 0;
    for (int i = 0; i < 60000; ++i) {
        std::string error;
        const auto game = ParseSavedGame(mutator.Mutate(valid), error);
        if (!game) {
            ++refused;
            EXPECT_FALSE(error.empty());
            continue;
        }
        for (const TSavedGame::TAction& action : game->Actions)
            ASSERT_TRUE(action.Kind >= 0 && action.Kind <= 7);
    }
    EXPECT_GT(refused, 1000);
    EXPECT_LT(refused, 60000);
}

TEST(DataFuzz, StatisticsAndPlayerFilesReadAsFarAsTheyGo)
{
    TMutator mutator(2);
    const std::string counters = "12\r\n5\r\n";
    const std::string scores = ScoresText();
    for (int i = 0; i < 40000; ++i) {
        const persistence::TLines a = persistence::SplitLines(mutator.Mutate(counters));
        const persistence::TLines b = persistence::SplitLines(i % 2 ? scores : mutator.Mutate(scores));
        const persistence::TGameStats stats = persistence::ParseGameStats(a, i % 5 == 4 ? nullptr : &b);
        // Whatever could not be read counts as damaged, never as a number.
        if (!stats.StatsDamaged) {
            ASSERT_TRUE(a.size() >= 2 && persistence::ParseInt(a[0]) == stats.Played);
        }
        if (!stats.ScoresDamaged && i % 5 != 4) {
            ASSERT_GE(b.size(), 60u);
        }
    }
    for (int i = 0; i < 20000; ++i) {
        const persistence::TLines player = persistence::SplitLines(mutator.Mutate("Ann\r\n2008\r\n"));
        if (player.size() >= 2)
            (void)persistence::ParseInt(player[1]);
    }
}

// Fewer rounds on disk: each one writes and renames several files.
TEST_F(DataFolderTest, FuzzedStatisticsAreCountedWithoutTouchingOtherFiles)
{
    Places.DataLocation = 2;
    const std::filesystem::path root = Places.DataRoot();
    Write(root / "Data" / "Spider.dat", "7\r\n3");
    const std::string spider = Read(root / "Data" / "Spider.dat");
    TMutator mutator(4);
    const std::string counters = "12\r\n5\r\n";
    const std::string scores = ScoresText();
    for (int i = 0; i < 300; ++i) {        const std::filesystem::path stats = root / "Data" / "Freecell.dat";
        const std::filesystem::path table = root / "Data" / "Freecell_HS.dat";
        std::filesystem::remove(root / "Data" / "Freecell.dat.damaged");
        std::filesystem::remove(root / "Data" / "Freecell_HS.dat.damaged");
        ASSERT_TRUE(platform::WriteFileAtomically(stats, i % 2 ? mutator.Mutate(counters) : counters));
        if (i % 5 == 4)
            std::filesystem::remove(table);
        else
            ASSERT_TRUE(platform::WriteFileAtomically(table, i % 2 ? scores : mutator.Mutate(scores)));

        const persistence::TGameStats before = persistence::LoadGameStats("Freecell", root);
        std::vector<std::string> log{"Freecell", "1", "O"};
        persistence::RecordGameResult(log, log.size(), {"Freecell", {}, 500, true}, root,
                                      [](int, int, const std::string&) { return std::string("Z"); }, {});
        const persistence::TGameStats after = persistence::LoadGameStats("Freecell", root);
        ASSERT_FALSE(after.StatsDamaged || after.ScoresDamaged) << i;
        ASSERT_EQ(after.Played, before.Played + 1) << i;
        ASSERT_EQ(std::filesystem::exists(root / "Data" / "Freecell.dat.damaged"), before.StatsDamaged) << i;
        ASSERT_EQ(std::filesystem::exists(root / "Data" / "Freecell_HS.dat.damaged"), before.ScoresDamaged) << i;
    }
    EXPECT_EQ(Read(root / "Data" / "Spider.dat"), spider);
}

TEST_F(DataFolderTest, FuzzedPlayerFilesSettleSomewhereAndKeepTheGames)
{
    TMutator mutator(3);
    const std::filesystem::path docs = Docs();
    int asked = 0;
    const persistence::TLocationHooks hooks{[&asked](int) { ++asked; return 2; }, [] {}};
    for (int i = 0; i < 300; ++i) {
        Write(docs / "Data" / "Klondike.dat", "4\r\n1");
        ASSERT_TRUE(platform::WriteFileAtomically(docs / "Player.dat", mutator.Mutate("Ann\r\n2008\r\n")));
        persistence::SettleDataLocation(Places, hooks);
        ASSERT_TRUE(Places.DataLocation == 1 || Places.DataLocation == 2) << i;
        ASSERT_EQ(Read(docs / "Data" / "Klondike.dat"), "4\r\n1\r\n") << i;
        (void)persistence::ReadPlayerName(Places.DataRoot());
    }
    EXPECT_GT(asked, 0);
}

} // namespace
