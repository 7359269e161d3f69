#include "persistence/Favourites.h"
#include "persistence/TextFile.h"

#include <QTemporaryDir>

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(FavouritesList, KeepsCaseInsensitiveOrderAndRefusesRepeats)
{
    TFavouritesList list;
    EXPECT_EQ(list.Add("Spider"), 0);
    EXPECT_EQ(list.Add("aces up"), 0);
    EXPECT_EQ(list.Add("Canfield"), 1);
    EXPECT_EQ(list.Add("ACES UP"), -1);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"aces up", "Canfield", "Spider"}));
    EXPECT_EQ(list.IndexOf("SPIDER"), 2);
    EXPECT_FALSE(list.Contains("Spiderette"));
    list.Assign({"Yukon", "yukon", "Baker's Game"});
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"Baker's Game", "Yukon"}));
}

TEST(FavouritesList, TheMenuCopiesTheGamesOwnItems)
{
    TFavouritesList list;
    list.Assign({"Spider", "Canfield"});
    TMenuItem gameType = BuildGameTypeMenu();
    SetFavouritesMenu(gameType, list);
    const TMenuItem* favourites = GetMenuItem(gameType, FavouritesCaption, false);
    ASSERT_NE(favourites, nullptr);
    ASSERT_EQ(favourites->Items.size(), 2u);
    EXPECT_EQ(favourites->Items[0].Caption, "Canfield");
    EXPECT_EQ(favourites->Items[0].Game, FindGameMenuItem(gameType, "Canfield")->Game);
    EXPECT_EQ(GetMenuItems(*favourites), (std::vector<std::string>{"Canfield", "Spider"}));
}

struct TFavouritesFileFixture : testing::Test {
    QTemporaryDir Folder;
    fs::path Root() const { return Folder.path().toStdString(); }
};

TEST_F(TFavouritesFileFixture, AMissingFileIsAnEmptyList)
{
    const auto read = persistence::ReadFavourites(Root(), StandardGameTypeMenu());
    EXPECT_FALSE(read.Exists);
    EXPECT_TRUE(read.Favourites.Empty());
}

TEST_F(TFavouritesFileFixture, UnknownAndRepeatedNamesAreSkippedAndSpeltAsTheMenuSpellsThem)
{
    ASSERT_TRUE(persistence::WriteLines(persistence::FavouritesFile(Root()),
                                        {"spider", "Nonsense", "Spider", "  ", "YUKON"}));
    const auto read = persistence::ReadFavourites(Root(), StandardGameTypeMenu());
    EXPECT_TRUE(read.Exists);
    EXPECT_TRUE(read.Damaged);
    EXPECT_EQ(read.Favourites.Items(), (std::vector<std::string>{"Spider", "Yukon"}));
}

TEST_F(TFavouritesFileFixture, WritingKeepsADamagedOriginalOnceAndWritesCrLfLines)
{
    const fs::path file = persistence::FavouritesFile(Root());
    ASSERT_TRUE(persistence::WriteLines(file, {"Nonsense"}));
    TFavouritesList list;
    list.Assign({"Spider", "Canfield"});
    ASSERT_TRUE(persistence::WriteFavourites(Root(), list, true));
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "Canfield\r\nSpider\r\n");
    fs::path kept = file;
    kept += ".damaged";
    EXPECT_EQ(persistence::ReadLines(kept), persistence::TLines{"Nonsense"});
}

TEST_F(TFavouritesFileFixture, AFolderThatCannotBeWrittenIsReportedAsFailure)
{
    const fs::path blocked = Root() / "blocked";
    ASSERT_TRUE(persistence::WriteLines(blocked, {"a file where a folder should be"}));
    TFavouritesList list;
    list.Add("Spider");
    EXPECT_FALSE(persistence::WriteFavourites(blocked, list));
}

} // namespace
