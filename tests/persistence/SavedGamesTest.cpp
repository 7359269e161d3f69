// Saved-game files: deleting them and naming new ones; the text files underneath.
#include "DataFolderFixture.h"

#include "persistence/SavedGames.h"

namespace {

TEST_F(DataFolderTest, DeleteRemovesSavedGamesInEverySubFolderOnly)
{
    const auto saves = Root() / "Save Games";
    Write(saves / "a.tsg", "x");
    Write(saves / "deep" / "deeper" / "b.TSG", "x");
    Write(saves / "deep" / "notes.txt", "x");
    Write(saves / "c.tsg.bak", "x");
    EXPECT_EQ(persistence::DeleteFiles(Root(), "save games"), 2);
    EXPECT_FALSE(Exists(saves / "a.tsg"));
    EXPECT_FALSE(Exists(saves / "deep" / "deeper" / "b.TSG"));
    EXPECT_TRUE(Exists(saves / "deep" / "deeper"));
    EXPECT_TRUE(Exists(saves / "deep" / "notes.txt"));
    EXPECT_TRUE(Exists(saves / "c.tsg.bak"));
    EXPECT_EQ(persistence::DeleteFiles(Root(), "Nowhere"), 0);
}

TEST(SavedGameNames, OfferTheGameAndTheTimeWithoutSeparatorsOfPaths)
{
    const std::string name =
        persistence::ProposedSaveName("Klondike", QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)));
    EXPECT_EQ(name.rfind("Klondike ", 0), 0u);
    EXPECT_EQ(name.find('/'), std::string::npos);
    EXPECT_EQ(name.find(':'), std::string::npos);
    EXPECT_NE(name.find("05-09"), std::string::npos);
}

TEST(TextFiles, ReadEitherLineEndAndWholeNumbersOnly)
{
    using persistence::SplitLines;
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (persistence::TLines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\nb"), (persistence::TLines{"a", "b"}));
    EXPECT_EQ(SplitLines("\r\n\r\n"), (persistence::TLines{"", ""}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(persistence::ParseInt("-12"), -12);
    EXPECT_EQ(persistence::ParseInt("+7"), 7);
    for (const char* bad : {"", "1.5", "12a", " 3", "99999999999", "-"})
        EXPECT_FALSE(persistence::ParseInt(bad)) << bad;
}

} // namespace
