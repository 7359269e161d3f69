// Counting results: the counters, the table of the twenty best, and files
// that are damaged or missing.
#include "DataFolderFixture.h"

#include "persistence/Data.h"
#include "persistence/Player.h"

namespace {

using persistence::TGameResult;

class StatisticsTest : public DataFolderTest {
protected:
    StatisticsTest() { Places.DataLocation = 2; }

    std::filesystem::path DataRoot() const { return Places.DataRoot(); }

    // Counts a result for an open game with no saved file; the name asked for
    // a high score is `Name`.
    int Count(int points, bool won, const std::string& game = "Klondike")
    {
        std::vector<std::string> log{game, "1", "O"};
        return persistence::RecordGameResult(log, log.size(), TGameResult{game, {}, points, won}, DataRoot(),
                                             Ask(), QDate(2026, 12, 8));
    }
    persistence::TAskHighScoreName Ask()
    {
        return [this](int position, int, const std::string& defaultName) {
            Asked.push_back(position);
            Offered = defaultName;
            return Name;
        };
    }
    persistence::TGameStats Stats(const std::string& game = "Klondike") const
    {
        return persistence::LoadGameStats(game, DataRoot());
    }

    std::string Name = "Ann";
    std::string Offered;
    std::vector<int> Asked;
};

TEST_F(StatisticsTest, FirstWinEntersAtTheTop)
{
    EXPECT_EQ(Count(120, true), 1);
    const auto stats = Stats();
    EXPECT_EQ(stats.Played, 1);
    EXPECT_EQ(stats.Won, 1);
    EXPECT_EQ(stats.Scores[0].Name, "Ann");
    EXPECT_EQ(stats.Scores[0].Points, 120);
    EXPECT_FALSE(stats.Scores[0].Date.empty());
    EXPECT_EQ(Read(DataRoot() / "Data" / "Klondike.dat"), "1\r\n1\r\n");
    const auto lines = persistence::ReadLines(DataRoot() / "Data" / "Klondike_HS.dat");
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 60u);
    EXPECT_EQ((*lines)[59], "0");
}

TEST_F(StatisticsTest, EqualScoresGoBelowAndALowTwentyFirstDoesNotEnter)
{
    for (int i = 0; i < 20; ++i) {
        Name = "P" + std::to_string(i);
        Count(100 - (i % 10) * 5, false);
    }
    // Equal scores keep the order they were made in.
    auto stats = Stats();
    EXPECT_EQ(stats.Scores[0].Name, "P0");
    EXPECT_EQ(stats.Scores[1].Name, "P10");
    EXPECT_EQ(stats.Scores[19].Name, "P19");
    const std::string before = Read(DataRoot() / "Data" / "Klondike_HS.dat");
    Asked.clear();
    EXPECT_EQ(Count(55, false), 0);
    EXPECT_TRUE(Asked.empty());
    EXPECT_EQ(Read(DataRoot() / "Data" / "Klondike_HS.dat"), before);
    EXPECT_EQ(Stats().Played, 21);
    // A better one pushes the last entry out.
    EXPECT_EQ(Count(97, false), 3);
    stats = Stats();
    EXPECT_EQ(stats.Scores[2].Points, 97);
    EXPECT_EQ(stats.Scores[19].Name, "P9");
}

TEST_F(StatisticsTest, ScoresOfZeroOrLessWriteBothFilesButNeverEnter)
{
    EXPECT_EQ(Count(0, false), 0);
    EXPECT_EQ(Count(-666, false), 0);
    EXPECT_TRUE(Asked.empty());
    EXPECT_EQ(Read(DataRoot() / "Data" / "Klondike.dat"), "2\r\n0\r\n");
    EXPECT_TRUE(Exists(DataRoot() / "Data" / "Klondike_HS.dat"));
}

// Open, undo, leave: the record in force is shorter than the file, but the
// undone tail is still there; nothing was played, nothing is counted.
TEST_F(StatisticsTest, AnOpenedGameLeftAfterAnUndoIsNotCounted)
{
    const std::filesystem::path saved = Root() / "game.tsg";
    Write(saved, "Klondike\r\n1\r\nO\r\n6\r\n0\r\n0\r\n0");
    std::vector<std::string> log{"Klondike", "1", "O", "6", "0", "0", "0"};
    EXPECT_EQ(persistence::RecordGameResult(log, 3, {"Klondike", saved.string(), 50, false}, DataRoot(), Ask(), {}),
              0);
    EXPECT_EQ(log[2], "O");
    EXPECT_EQ(persistence::ReadLines(saved)->at(2), "O");
    EXPECT_FALSE(Exists(DataRoot() / "Data" / "Klondike.dat"));
}

TEST_F(StatisticsTest, CountersStopAtTheLargestNumber)
{
    Write(DataRoot() / "Data" / "Klondike.dat", "2147483647\r\n2147483647");
    Count(10, true);
    EXPECT_EQ(Read(DataRoot() / "Data" / "Klondike.dat"), "2147483647\r\n2147483647\r\n");
}

TEST_F(StatisticsTest, ClosedGamesAndUnplayedSavedGamesAreNotCounted)
{
    std::vector<std::string> closed{"Klondike", "1", "0"};
    EXPECT_EQ(persistence::RecordGameResult(closed, 3, {"Klondike", {}, 50, true}, DataRoot(), Ask(), {}), 0);
    EXPECT_FALSE(Exists(DataRoot() / "Data" / "Klondike.dat"));

    const std::filesystem::path saved = Root() / "game.tsg";
    Write(saved, "Klondike\r\n1\r\nO\r\n6\r\n0\r\n0\r\n0");
    std::vector<std::string> log{"Klondike", "1", "O", "6", "0", "0", "0"};
    EXPECT_EQ(persistence::RecordGameResult(log, log.size(), {"Klondike", saved.string(), 50, false},
                                            DataRoot(), Ask(), {}),
              0);
    EXPECT_EQ(log[2], "O");
    EXPECT_FALSE(Exists(DataRoot() / "Data" / "Klondike.dat"));

    // One more action: counted once, and both the record and the file are closed.
    log.insert(log.end(), {"6", "0", "0", "0"});
    persistence::RecordGameResult(log, log.size(), {"Klondike", saved.string(), 50, false}, DataRoot(),
                                  Ask(), {});
    EXPECT_EQ(log[2], "0");
    EXPECT_EQ(persistence::ReadLines(saved)->at(2), "0");
    persistence::RecordGameResult(log, log.size(), {"Klondike", saved.string(), 50, false}, DataRoot(),
                                  Ask(), {});
    EXPECT_EQ(Stats().Played, 1);
}

TEST_F(StatisticsTest, TheNameOfferedIsTheLastOneTyped)
{
    Count(10, false);
    EXPECT_EQ(Offered, "");
    ASSERT_TRUE(persistence::WritePlayerName(DataRoot(), "Ann"));
    Write(DataRoot() / "Player.dat", "Ann\r\n2008");
    Count(20, false);
    EXPECT_EQ(Offered, "Ann");
    ASSERT_TRUE(persistence::WritePlayerName(DataRoot(), "Bob"));
    EXPECT_EQ(Read(DataRoot() / "Player.dat"), "Bob\r\n2008\r\n");
}

TEST_F(StatisticsTest, DamagedFilesAreReadAsFarAsPossibleAndKeptAside)
{
    Write(DataRoot() / "Data" / "Klondike.dat", "seven\r\n2");
    Write(DataRoot() / "Data" / "Klondike_HS.dat", "Ann\r\n1/1/26\r\n300\r\nBob\r\n1/2/26\r\nlots");
    auto stats = Stats();
    EXPECT_TRUE(stats.StatsDamaged);
    EXPECT_TRUE(stats.ScoresDamaged);
    EXPECT_EQ(stats.Played, 0);
    EXPECT_EQ(stats.Won, 2);
    EXPECT_EQ(stats.Scores[0].Points, 300);
    EXPECT_EQ(stats.Scores[1].Name, "Bob");
    EXPECT_EQ(stats.Scores[1].Points, 0);

    Count(200, true);
    EXPECT_EQ(Read(DataRoot() / "Data" / "Klondike.dat"), "1\r\n3\r\n");
    EXPECT_EQ(Read(DataRoot() / "Data" / "Klondike.dat.damaged"), "seven\r\n2\r\n");
    EXPECT_TRUE(Exists(DataRoot() / "Data" / "Klondike_HS.dat.damaged"));
    stats = Stats();
    EXPECT_FALSE(stats.StatsDamaged || stats.ScoresDamaged);
    EXPECT_EQ(stats.Scores[0].Points, 300);
    EXPECT_EQ(stats.Scores[1].Points, 200);
    // The first damaged original is the one kept.
    Write(DataRoot() / "Data" / "Klondike.dat", "x\r\ny");
    Count(1, false);
    EXPECT_EQ(Read(DataRoot() / "Data" / "Klondike.dat.damaged"), "seven\r\n2\r\n");
}

TEST_F(StatisticsTest, CountersWithoutATableStartAnEmptyOne)
{
    Write(DataRoot() / "Data" / "Spider.dat", "4\r\n1");
    EXPECT_EQ(Count(0, false, "Spider"), 0);
    EXPECT_EQ(persistence::ReadLines(DataRoot() / "Data" / "Spider_HS.dat")->size(), 60u);
    EXPECT_EQ(Stats("Spider").Played, 5);
}

TEST_F(StatisticsTest, ResetDeletesEveryGamesFiles)
{
    Count(10, true);
    Count(10, true, "Spider");
    Write(DataRoot() / "Data" / "notes.txt", "mine");
    persistence::ResetAllStats(DataRoot());
    EXPECT_EQ(Stats().Played, 0);
    EXPECT_EQ(Stats("Spider").Scores[0].Points, 0);
    EXPECT_TRUE(Exists(DataRoot() / "Data" / "notes.txt"));
}

} // namespace
