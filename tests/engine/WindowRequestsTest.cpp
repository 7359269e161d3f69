// The engine's methods the window changes it through.
#include "EngineFixture.h"

namespace {

const std::string Klondike = "Klondike 1 [Turn over 1]";

TEST_F(EngineTest, QueryingAGameLoadsItsRulesButDealsNothingAndLeavesNoGameInPlay)
{
    Engine->QueryGame(Klondike);
    EXPECT_NE(Engine->Rules.GameNumber, 0);
    EXPECT_TRUE(Engine->Rules.GameName.empty());
    EXPECT_FALSE(Engine->GameInPlay());
    EXPECT_EQ(Engine->Tag, 0);
    EXPECT_TRUE(Engine->SourceLog.empty());
    // A game chosen afterwards deals in earnest.
    Deal(Klondike, 7);
    EXPECT_EQ(Engine->Rules.GameName, Klondike);
    EXPECT_GT(Engine->SourceLog.size(), 2u);
}

TEST_F(EngineTest, AnUnfinishedGameCountsOnceAsLostAndAnAbandonedOneNotAgainAtTheNextDeal)
{
    Engine->CountUnfinishedGame();
    EXPECT_TRUE(Host.Results.empty()) << "no game was dealt";

    Deal(Klondike, 7);
    Engine->CountUnfinishedGame();
    ASSERT_EQ(Host.Results.size(), 1u);
    EXPECT_EQ(Host.Results[0].Game, Klondike);
    EXPECT_FALSE(Host.Results[0].Won);

    Engine->MarkGameCounted();
    Engine->CountUnfinishedGame();
    EXPECT_EQ(Host.Results.size(), 1u);

    Deal(Klondike, 8);
    const std::size_t counted = Host.Results.size();
    Engine->AbandonGame();
    EXPECT_FALSE(Engine->GameInPlay());
    EXPECT_TRUE(Engine->LastGameName.empty());
    Deal(Klondike, 9);
    EXPECT_EQ(Host.Results.size(), counted) << "the game left for the start screen was counted again";
}

// The debug command's show runs on a record that says open, whatever the
// record held, and no game counts afterwards.
class TShowHost : public TRecordingHost {
public:
    explicit TShowHost(const TEngine*& engine) : Engine(engine) {}
    void RunWinAnimation() override { OpenDuringShow.push_back(Engine->SourceLog.at(2)); }
    const TEngine*& Engine;
    std::vector<std::string> OpenDuringShow;
};

TEST_F(EngineTest, TheWinShowWithoutAGameSeesAnOpenRecordWhateverTheRecordHeld)
{
    const TEngine* engine = nullptr;
    TShowHost host(engine);
    TEngine showing(*Table, host);
    engine = &showing;
    for (const std::size_t lines : {0u, 1u, 2u, 3u}) {
        showing.SourceLog.assign(lines, "x");
        showing.RunWinShowWithoutGame();
        EXPECT_EQ(showing.SourceLog.at(2), "0") << lines;
        EXPECT_TRUE(showing.GameWon);
        EXPECT_TRUE(showing.Rules.GameName.empty());
    }
    EXPECT_EQ(host.OpenDuringShow, std::vector<std::string>(4, "O"));
}

} // namespace
