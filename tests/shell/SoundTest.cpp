#include "shell/Sound.h"

#include "RecordingAudio.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

struct SoundSystemTest : testing::Test {
    TRecordingAudio Audio;
    TSoundSystem System{Audio, "/nowhere/Sounds"};
};

TEST_F(SoundSystemTest, StartUpLoadsEverySampleThenBothStreamsAndChoosesTheLibrary)
{
    EXPECT_TRUE(System.StartUp());
    EXPECT_TRUE(System.UsingLibrary());
    ASSERT_EQ(Audio.Loaded.size(), 23u);
    for (std::size_t i = 0; i < SoundFiles.size(); ++i)
        EXPECT_EQ(Audio.Loaded[i], SoundFiles[i]);
    EXPECT_EQ(Audio.Playbacks, std::vector<int>(21, 3));

    // Loading happens once.
    System.StartUp();
    EXPECT_EQ(Audio.Loaded.size(), 23u);
}

TEST_F(SoundSystemTest, AnyFailureAtStartChoosesTheSystemPlayer)
{
    Audio.MissingFiles = {"drop.wav"};
    EXPECT_FALSE(System.StartUp());
    EXPECT_FALSE(System.UsingLibrary());
    EXPECT_EQ(Audio.Loaded.back(), "drop.wav") << "loading stops at the first failure";
    System.SetUsingLibrary(true);
    EXPECT_FALSE(System.UsingLibrary()) << "the library cannot be chosen without its files";
    EXPECT_FALSE(System.Stream("blub.mp3", 1));
    System.Play("drop.wav", pmAsync, 100);
    EXPECT_EQ(Audio.SystemPlayed, std::vector<std::string>{"drop.wav"});

    TRecordingAudio noDevice;
    noDevice.InitOk = false;
    TSoundSystem other(noDevice, "/nowhere");
    EXPECT_FALSE(other.StartUp());
    EXPECT_TRUE(noDevice.Loaded.empty());

    TRecordingAudio noMusic;
    noMusic.MissingFiles = {"New-5848.mp3"};
    TSoundSystem third(noMusic, "/nowhere");
    EXPECT_FALSE(third.StartUp());
}

TEST_F(SoundSystemTest, LibraryFindsNamesWithoutCaseAtHalfVolumeWithTheModesLoopFlag)
{
    System.StartUp();
    System.Play("BEEPSPAC.WAV", pmAsync, 100);
    ASSERT_EQ(Audio.Played, std::vector<std::string>{"BEEPSPAC.wav"});
    EXPECT_EQ(Audio.LastChannel().Volume, 50.0f);
    EXPECT_FALSE(Audio.LastChannel().Loop);

    System.Play("deal.wav", pmLoop, 100);
    EXPECT_TRUE(Audio.LastChannel().Loop);
    System.Play("drop.wav", pmPause, 10);
    EXPECT_FALSE(Audio.LastChannel().Loop);

    // Not a sample: nothing (the streams are not samples either).
    System.Play("drop0.wav", pmAsync, 100);
    System.Play("blub.mp3", pmAsync, 100);
    EXPECT_EQ(Audio.Played.size(), 3u);
    EXPECT_TRUE(Audio.SystemPlayed.empty());
}

TEST_F(SoundSystemTest, SynchronousModeReturnsOnlyWhenTheSoundHasEnded)
{
    System.StartUp();
    Audio.PlayLength = 60ms;
    System.Play("congrat.wav", pmSync, 100);
    EXPECT_GT(Audio.ActiveQueries, 0);
    const auto handle = platform::TAudioHandle(1000 + Audio.Channels.size());
    EXPECT_FALSE(Audio.IsActive(handle));
}

TEST_F(SoundSystemTest, WaitingForTheLastSoundGivesUpOnOneThatNeverEnds)
{
    System.StartUp();
    System.AfterLastLimit = 200;
    System.Play("deal.wav", pmLoop, 100);
    // The looping deal sound never ends; the next cue still comes.
    System.Play("success.wav", pmAfterLast, 100);
    EXPECT_EQ(Audio.Played.back(), "success.wav");

    TRecordingAudio refusing;
    refusing.InitOk = false;
    refusing.SystemRefuses = true;
    TSoundSystem fallback(refusing, "/nowhere");
    fallback.AfterLastLimit = 200;
    fallback.StartUp();
    fallback.Play("missing.wav", pmAfterLast, 100);
    EXPECT_TRUE(refusing.SystemPlayed.empty());
}

TEST_F(SoundSystemTest, SystemPlayerTakesEachModeItsOwnWay)
{
    Audio.InitOk = false;
    System.StartUp();
    System.Play("drop.wav", pmAsync, 100);
    System.Play("deal.wav", pmLoop, 100);
    System.Play("waste.wav", pmSync, 100);
    System.Play("success.wav", pmPause, 20);
    System.Play("chime.wav", pmAfterLast, 100);
    using P = platform::TSystemPlay;
    EXPECT_EQ(Audio.SystemModes, (std::vector<P>{P::Async, P::Loop, P::Async, P::Async, P::AsyncNoStop}));
    System.SoundStop("deal.wav", false);
    EXPECT_EQ(Audio.Stopped, std::vector<std::string>{"system"});
}

TEST_F(SoundSystemTest, StreamsAndStopsByName)
{
    System.StartUp();
    EXPECT_TRUE(System.Stream("NEW-5848.MP3", 0));
    EXPECT_EQ(Audio.StreamSettings.File, "New-5848.mp3");
    EXPECT_EQ(Audio.StreamSettings.Volume, 40.0f);
    EXPECT_TRUE(Audio.StreamSettings.Loop);
    EXPECT_TRUE(System.Stream("blub.mp3", 1));
    EXPECT_FALSE(Audio.StreamSettings.Loop);
    EXPECT_FALSE(System.Stream("drop.wav", 1));

    System.SoundStop("New-5848.mp3", true);
    System.SoundStop("beepspac.wav", false);
    System.SoundStop("nothing.wav", false);
    EXPECT_EQ(Audio.Stopped, (std::vector<std::string>{"stream:New-5848.mp3", "sample:BEEPSPAC.wav"}));

    System.ShuttingDown = true;
    EXPECT_FALSE(System.Stream("blub.mp3", 1));
    System.Play("drop.wav", pmAsync, 100);
    EXPECT_EQ(Audio.Played.back(), "blub.mp3");
}

TEST_F(SoundSystemTest, ASynchronousSoundEndsEarlyAndStopsWhenCutShort)
{
    Audio.Forever = true;
    System.SyncLimit = 5000;
    System.StartUp();
    int asked = 0;
    System.CutShort = [&asked] { return ++asked > 3; };
    const auto start = std::chrono::steady_clock::now();
    System.Play("congrat.wav", pmSync, 100);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "the wait did not listen";
    EXPECT_EQ(Audio.Stopped, std::vector<std::string>{"sample:congrat.wav"});

    // The system player's sound is stopped the same way.
    System.SetUsingLibrary(false);
    asked = 0;
    System.Play("thunder_x.wav", pmSync, 100);
    EXPECT_EQ(Audio.Stopped.back(), "system");

    // Nobody cutting short: the sound plays to its end and is not stopped.
    Audio.Forever = false;
    Audio.PlayLength = 30ms;
    System.SetUsingLibrary(true);
    System.CutShort = [] { return false; };
    System.Play("congrat.wav", pmSync, 100);
    EXPECT_EQ(Audio.Stopped.size(), 2u);
}

} // namespace
