// Where the data lives: the start-up settlement and moving the data folder.
#include "DataFolderFixture.h"

namespace {

using persistence::TLocationHooks;

struct TRecordedHooks {
    int Asked = 0;
    int Beeps = 0;
    int Answer = 2;
    TLocationHooks Hooks()
    {
        return {[this](int) { ++Asked; return Answer; }, [this] { ++Beeps; }};
    }
};

class SettleTest : public DataFolderTest {
protected:
    void Settle() { persistence::SettleDataLocation(Places, Recorder.Hooks()); }
    TRecordedHooks Recorder;
};

TEST_F(SettleTest, FirstStartAsksAndCancelMeansDocuments)
{
    Settle();
    EXPECT_EQ(Recorder.Asked, 1);
    EXPECT_EQ(Places.DataLocation, 2);
    EXPECT_EQ(Read(Docs() / "Player.dat"), "\r\n2008\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(Docs() / "Data"));
    EXPECT_FALSE(Exists(App() / "Player.dat"));
}

TEST_F(SettleTest, FirstStartInTheProgramFolder)
{
    Recorder.Answer = 1;
    Settle();
    EXPECT_EQ(Places.DataLocation, 1);
    EXPECT_EQ(Read(App() / "Player.dat"), "\r\n2008\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(App() / "Data"));
}

TEST_F(SettleTest, UnwritableProgramFolderFallsBackToDocumentsWithABeep)
{
    // A program folder that is really a file can never be written to, even by root.
    Write(Root() / "blocker", "x");
    Places.ApplicationDirectory = Root() / "blocker" / "app";
    Recorder.Answer = 1;
    Settle();
    EXPECT_EQ(Recorder.Beeps, 1);
    EXPECT_EQ(Places.DataLocation, 2);
    EXPECT_EQ(Read(Docs() / "Player.dat"), "\r\n2008\r\n");
}

TEST_F(SettleTest, OlderVersionIsUpdatedInPlaceWithoutAsking)
{
    Write(Docs() / "Player.dat", "Ann\r\n2007");
    Write(Docs() / "Options.dat", "Unused");
    Settle();
    EXPECT_EQ(Recorder.Asked, 0);
    EXPECT_EQ(Places.DataLocation, 2);
    EXPECT_EQ(Read(Docs() / "Player.dat"), "Ann\r\n2008\r\n");
    EXPECT_TRUE(Exists(Docs() / "Options.dat"));
}

TEST_F(SettleTest, UnreadableVersionDropsTheSettingsAndAsksAgainKeepingTheName)
{
    Write(Docs() / "Player.dat", "Ann\r\nabc");
    Write(Docs() / "Options.dat", "Unused");
    Write(Docs() / "Status.dat", "x");
    Write(Docs() / "fav.dat", "Klondike");
    Settle();
    EXPECT_EQ(Recorder.Asked, 1);
    EXPECT_FALSE(Exists(Docs() / "Options.dat"));
    EXPECT_FALSE(Exists(Docs() / "Status.dat"));
    EXPECT_TRUE(Exists(Docs() / "fav.dat"));
    EXPECT_EQ(Read(Docs() / "Player.dat"), "Ann\r\n2008\r\n");
}

TEST_F(SettleTest, VersionBelowTheMinimumLosesTheSettingsButKeepsItsPlace)
{
    Write(App() / "Player.dat", "Ann\r\n1");
    Write(App() / "Options.dat", "Unused");
    Settle();
    EXPECT_EQ(Recorder.Asked, 0);
    EXPECT_EQ(Places.DataLocation, 1);
    EXPECT_FALSE(Exists(App() / "Player.dat"));
    EXPECT_FALSE(Exists(App() / "Options.dat"));
}

TEST_F(SettleTest, ProgramFolderTakesPrecedence)
{
    Write(App() / "Player.dat", "App\r\n2008");
    Write(Docs() / "Player.dat", "Docs\r\n2008");
    Settle();
    EXPECT_EQ(Places.DataLocation, 1);
    EXPECT_EQ(Recorder.Asked, 0);
}

TEST_F(SettleTest, ExtraLinesKeepTheLocationAndTheFile)
{
    Write(App() / "Player.dat", "Ann\r\n2008\r\nstray");
    Settle();
    EXPECT_EQ(Places.DataLocation, 1);
    EXPECT_EQ(Read(App() / "Player.dat"), "Ann\r\n2008\r\nstray\r\n");
}

TEST_F(SettleTest, ANewPlaceTakesTheOldDataAlong)
{
    // An unreadable file in the documents folder; the player now chooses the program folder.
    Write(Docs() / "Player.dat", "Ann\r\nabc");
    Write(Docs() / "fav.dat", "Klondike");
    Write(Docs() / "Data" / "Klondike.dat", "3\r\n1");
    Write(Docs() / "Save Games" / "a.tsg", "Klondike\r\n1\r\nO");
    Recorder.Answer = 1;
    Settle();
    EXPECT_EQ(Places.DataLocation, 1);
    EXPECT_EQ(Read(App() / "fav.dat"), "Klondike\r\n");
    EXPECT_EQ(Read(App() / "Data" / "Klondike.dat"), "3\r\n1\r\n");
    EXPECT_TRUE(Exists(App() / "Save Games" / "a.tsg"));
    EXPECT_FALSE(Exists(Docs()));
}

TEST_F(SettleTest, AFailedMoveAtStartBeepsAndKeepsTheData)
{
    // An unreadable file in the program folder; the player chooses the
    // documents folder, which cannot be written at all.
    Write(App() / "Player.dat", "Ann");
    Write(App() / "Data" / "Klondike.dat", "3\r\n1");
    Write(Root() / "blocker", "x");
    Places.DocumentsFolder = Root() / "blocker" / "docs";
    Recorder.Answer = 2;
    Settle();
    // One beep for the Player.dat that could not be written, one for the move.
    EXPECT_EQ(Recorder.Beeps, 2);
    EXPECT_EQ(Read(App() / "Data" / "Klondike.dat"), "3\r\n1\r\n");
}

class MoveTest : public DataFolderTest {
protected:
    persistence::TDataPlaces At(int location) const
    {
        persistence::TDataPlaces places = Places;
        places.DataLocation = location;
        return places;
    }
};

TEST_F(MoveTest, MenuMoveCarriesEverySettingAndLeavesCardSetsBehind)
{
    for (const char* name : {"Player.dat", "Options.dat", "Status.dat", "debug.dat", "fav.dat"})
        Write(Docs() / name, name);
    Write(Docs() / "Data" / "Spider_HS.dat", "x");
    Write(Docs() / "CardSets" / "Mine" / "1c.bmp", "x");
    ASSERT_TRUE(persistence::MoveData(At(2), At(1), persistence::MenuMoveSet()));
    for (const char* name : {"Player.dat", "Options.dat", "Status.dat", "debug.dat", "fav.dat"}) {
        EXPECT_EQ(Read(App() / name), std::string(name) + "\r\n");
        EXPECT_FALSE(Exists(Docs() / name));
    }
    EXPECT_TRUE(Exists(App() / "Data" / "Spider_HS.dat"));
    EXPECT_TRUE(Exists(Docs() / "CardSets" / "Mine" / "1c.bmp"));
}

TEST_F(MoveTest, MovingBackCreatesTheDocumentsFolderAndMergesFolders)
{
    Write(App() / "Data" / "Klondike.dat", "1\r\n0");
    Write(Docs() / "Data" / "Spider.dat", "2\r\n2");
    ASSERT_TRUE(persistence::MoveData(At(1), At(2), persistence::MenuMoveSet()));
    EXPECT_TRUE(Exists(Docs() / "Data" / "Klondike.dat"));
    EXPECT_TRUE(Exists(Docs() / "Data" / "Spider.dat"));
    EXPECT_FALSE(Exists(App() / "Data"));
}

TEST_F(MoveTest, AFailedCopyDeletesNothing)
{
    Write(Docs() / "fav.dat", "Klondike");
    Write(Docs() / "Data" / "Klondike.dat", "1\r\n0");
    // The destination cannot take anything.
    Write(Root() / "blocker", "x");
    Places.ApplicationDirectory = Root() / "blocker" / "app";
    EXPECT_FALSE(persistence::MoveData(At(2), At(1), persistence::MenuMoveSet()));
    EXPECT_EQ(Read(Docs() / "fav.dat"), "Klondike\r\n");
    EXPECT_TRUE(Exists(Docs() / "Data" / "Klondike.dat"));
}

TEST_F(MoveTest, ASavedGameMovesWithTheData)
{
    const std::filesystem::path oldRoot = At(2).DataRoot();
    const std::filesystem::path newRoot = At(1).DataRoot();
    EXPECT_EQ(persistence::MovedWithData(oldRoot / "Save Games" / "sub" / "a.tsg", oldRoot, newRoot),
              newRoot / "Save Games" / "sub" / "a.tsg");
    // Files that were not moved keep their names.
    EXPECT_EQ(persistence::MovedWithData(Root() / "elsewhere.tsg", oldRoot, newRoot), Root() / "elsewhere.tsg");
    EXPECT_EQ(persistence::MovedWithData("", oldRoot, newRoot), "");
}

TEST_F(MoveTest, CopyAllIsAllOrNothing)
{
    Write(Root() / "src" / "one.dat", "1");
    Write(App() / "one.dat", "old");
    const std::vector<std::filesystem::path> sources{Root() / "src" / "one.dat",
                                                     Root() / "src" / "missing.dat"};
    EXPECT_FALSE(persistence::CopyAll(sources, App()));
    EXPECT_EQ(Read(App() / "one.dat"), "old\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(App()), {}), 1);
}

TEST_F(MoveTest, TheSamePlaceMovesNothing)
{
    Places.ApplicationDirectory = Docs();
    Write(Docs() / "fav.dat", "Klondike");
    EXPECT_TRUE(persistence::MoveData(At(2), At(1), persistence::MenuMoveSet()));
    EXPECT_EQ(Read(Docs() / "fav.dat"), "Klondike\r\n");
}

} // namespace
