#include "shell/WindowParts.h"
#include "shell/Sound.h"

#include "RecordingAudio.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "engine/Engine.h"
#include "engine/RandomPlay.h"
#include "shell/Flourish.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

const std::string Klondike = "Klondike 1 [Turn over 1]";

// The main window with audio that only records, sound "On" and no show.
struct SoundWindowTest : testing::Test {
    std::unique_ptr<TForm1> Form;
    TRecordingAudio* Audio = nullptr;

    void SetUp() override
    {
        TPrompts prompts;
        prompts.AskYesNo = [](const QString&) { return true; };
        prompts.ShowError = [](const QString&, const QString&) {};
        prompts.ShowNotice = [](const QString&, const QString&) {};
        Form = std::make_unique<TForm1>(prompts);
        auto audio = std::make_unique<TRecordingAudio>();
        Audio = audio.get();
        Form->Sounds().UseAudioOutput(std::move(audio));
        Form->FirstShow();
        ASSERT_NE(Form->Engine(), nullptr);
        Form->OptionsList[3] = "None";
        // Hidden, the table takes no pauses; the cues are still played.
        Form->hide();
    }

    TEngine& Engine() { return *Form->Engine(); }

    void Deal(std::uint32_t seed)
    {
        SetRandSeed(seed);
        Engine().Rules.GameName.clear();
        ASSERT_TRUE(Engine().SelectGame(Klondike));
    }

    bool AceOnTop() const
    {
        for (const auto& pile : Form->Engine()->TableauPiles)
            if (!pile.empty() && pile.back() != nullptr && pile.back()->Value == cvAce)
                return true;
        return false;
    }

    QAction* SoundItem(const QString& caption)
    {
        QAction* sound = Form->Menus().FindAction(Form->Menus().TopMenu(QStringLiteral(" Options ")), QStringLiteral("Sound"));
        return sound == nullptr ? nullptr : Form->Menus().FindAction(sound->menu(), caption);
    }
};

TEST_F(SoundWindowTest, TheFirstShowGreetsWithTheJingleAndTicksTheLibrary)
{
    EXPECT_EQ(Audio->StreamSettings.File, "blub.mp3");
    EXPECT_FALSE(Audio->StreamSettings.Loop);
    QAction* directX = Form->Menus().FindAction(Form->Menus().TopMenu(QStringLiteral(" Debug ")), QStringLiteral("DirectX"));
    QAction* win = Form->Menus().FindAction(Form->Menus().TopMenu(QStringLiteral(" Debug ")), QStringLiteral("Win"));
    ASSERT_NE(directX, nullptr);
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(directX->isChecked());
    win->trigger();
    EXPECT_FALSE(Form->Sounds().SoundSystem()->UsingLibrary());
    EXPECT_TRUE(win->isChecked());
    Form->Sounds().Sound("chime.wav", pmAsync, 100);
    EXPECT_EQ(Audio->SystemPlayed.back(), "chime.wav");
    directX->trigger();
    EXPECT_TRUE(Form->Sounds().SoundSystem()->UsingLibrary());
}

TEST_F(SoundWindowTest, SoundOffPlaysNothingButTheCuesStillScore)
{
    Deal(7);
    QAction* off = SoundItem(QStringLiteral("Off"));
    ASSERT_NE(off, nullptr);
    ASSERT_TRUE(off->isEnabled());
    off->trigger();
    EXPECT_EQ(Form->OptionsList[1], "Off");
    Audio->Played.clear();
    const int points = Engine().Points;
    Form->Sounds().Sound("undo.wav", pmAsync, 100);
    Form->Sounds().Sound("drop.wav", pmAsync, 100);
    EXPECT_EQ(Engine().Points, points - 6);
    EXPECT_TRUE(Audio->Heard().empty());
    EXPECT_FALSE(Form->Sounds().Stream("New-5848.mp3", 1));

    SoundItem(QStringLiteral("On"))->trigger();
    EXPECT_EQ(Form->OptionsList[1], "On");
    Form->Sounds().Sound("drop0.wav", pmAsync, 100);
    EXPECT_EQ(Engine().Points, points - 6) << "drop0.wav costs nothing";
    EXPECT_EQ(Audio->Heard(), std::vector<std::string>{"drop.wav"});
}

TEST_F(SoundWindowTest, ADealARefusalAFoundationCardAndAWinSoundInOrder)
{
    // A deal with no Ace to play, so the automatic moves are refused.
    std::uint32_t seed = 1;
    for (; seed < 200; ++seed) {
        Deal(seed);
        if (!AceOnTop())
            break;
    }
    Audio->Played.clear();
    Deal(seed);
    std::vector<std::string> deal = Audio->Played;
    ASSERT_FALSE(deal.empty());
    EXPECT_EQ(deal.front(), "shuffle.wav");
    EXPECT_EQ(deal[1], "deal.wav");
    EXPECT_EQ(Audio->Stopped.back(), "sample:deal.wav") << "the deal's loop is stopped when it is done";

    Audio->Played.clear();
    Engine().AutomoveExecute();
    // Picked up, refused, put back.
    EXPECT_EQ(Audio->Played, (std::vector<std::string>{"drag.wav", "undo.wav", "drop.wav"}));

    // The last card of a game: the nearly-done beep, the win show, and the
    // fanfare of the high score the win's points make.
    for (seed = 1; seed < 200; ++seed) {
        Deal(seed);
        if (AceOnTop())
            break;
    }
    ASSERT_TRUE(AceOnTop());
    Engine().FoundationCards = 51;
    Audio->Played.clear();
    Engine().AutomoveExecute();
    EXPECT_EQ(Audio->Played,
              (std::vector<std::string>{"drag.wav", "BEEPSPAC.wav", "congrat.wav", "fanfare_x.wav"}));
    EXPECT_TRUE(Engine().GameWon);
}

} // namespace

namespace {

// A load is heard as a clap at its start and one before each replayed
// action, nothing else; and no foundation flourish is left running.
TEST_F(SoundWindowTest, ALoadIsHeardAsClapsAloneAndLeavesNoFlourish)
{
    SetRandSeed(3);
    Engine().Rules.GameName.clear();
    ASSERT_TRUE(Engine().SelectGame("Freecell"));
    std::mt19937 random(5);
    for (int i = 0; i < 300 && Engine().FoundationCards < 2; ++i)
        PlayRandomAction(Engine(), random, TUndoUse::Never);
    ASSERT_GE(Engine().FoundationCards, 1) << "the record must hold a foundation move";
    std::string error;
    const std::optional<TSavedGame> game = ParseSavedGame(FormatSourceLog(Engine().SavedRecord()), error);
    ASSERT_TRUE(game) << error;

    Audio->Played.clear();
    ASSERT_TRUE(Engine().LoadGame(*game));
    EXPECT_EQ(Audio->Played, std::vector<std::string>(game->Actions.size() + 1, "claps.wav"));
    EXPECT_FALSE(Form->Sounds().Flourish()->Running());
    EXPECT_GE(Engine().FoundationCards, 1);
}

} // namespace
