#include "platform/MixerLibrary.h"
#include "platform/WavPlayer.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

void Put(std::string& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(char((v >> (8 * i)) & 0xFF));
}

// A RIFF WAVE file of a 440 Hz tone.
std::string WavBytes(double seconds, int channels = 1, int bits = 16, int rate = 44100)
{
    const int frames = int(seconds * rate);
    std::string data;
    for (int f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c) {
            const double v = 0.5 * std::sin(2 * 3.14159265 * 440 * f / rate);
            if (bits == 16)
                Put(data, std::uint32_t(std::int16_t(v * 32767)) & 0xFFFF, 2);
            else
                data.push_back(char(std::uint8_t(128 + v * 127)));
        }
    std::string out = "RIFF";
    Put(out, std::uint32_t(36 + data.size()), 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, 1, 2);
    Put(out, std::uint32_t(channels), 2);
    Put(out, std::uint32_t(rate), 4);
    Put(out, std::uint32_t(rate * channels * bits / 8), 4);
    Put(out, std::uint32_t(channels * bits / 8), 2);
    Put(out, std::uint32_t(bits), 2);
    out += "data";
    Put(out, std::uint32_t(data.size()), 4);
    return out + data;
}

fs::path WriteFile(const QTemporaryDir& dir, const std::string& name, const std::string& bytes)
{
    const fs::path file = fs::path(dir.path().toStdString()) / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

void Settle(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

} // namespace

TEST(WavFileTest, ReadsPcmOfEitherWidthAndRefusesDamagedFiles)
{
    const auto mono = platform::ParseWav(WavBytes(0.1));
    ASSERT_TRUE(mono.has_value());
    EXPECT_EQ(mono->Channels, 1);
    EXPECT_EQ(mono->Rate, 44100);
    EXPECT_EQ(mono->Frames(), 4410);

    const auto stereo8 = platform::ParseWav(WavBytes(0.1, 2, 8, 22050));
    ASSERT_TRUE(stereo8.has_value());
    EXPECT_EQ(stereo8->Channels, 2);
    EXPECT_EQ(stereo8->Frames(), 2205);
    EXPECT_GT(*std::max_element(stereo8->Samples.begin(), stereo8->Samples.end()), 10000);

    std::string truncated = WavBytes(0.1);
    truncated.resize(truncated.size() / 2);
    EXPECT_FALSE(platform::ParseWav(truncated).has_value()) << "a data chunk longer than the file";
    EXPECT_FALSE(platform::ParseWav("RIFF").has_value());
    EXPECT_FALSE(platform::ParseWav(std::string(64, '\0')).has_value());
    std::string compressed = WavBytes(0.1);
    compressed[20] = 2; // ADPCM
    EXPECT_FALSE(platform::ParseWav(compressed).has_value());
}

TEST(WavPlayerTest, RefusesWhatItCannotReadAndNeverHangs)
{
    QTemporaryDir dir;
    platform::TWavPlayer player;
    EXPECT_FALSE(player.Play(fs::path(dir.path().toStdString()) / "missing.wav", platform::TSystemPlay::Async));
    EXPECT_FALSE(player.Play(WriteFile(dir, "bad.wav", "RIFF....WAVEjunk"), platform::TSystemPlay::Async));
    const fs::path tone = WriteFile(dir, "tone.wav", WavBytes(0.2));
    // With or without a sound card these return: looping and cutting short.
    EXPECT_TRUE(player.Play(tone, platform::TSystemPlay::Loop));
    player.Stop();
    EXPECT_FALSE(player.Busy());
    EXPECT_TRUE(player.Play(tone, platform::TSystemPlay::Sync));
    EXPECT_FALSE(player.Busy());
}

class MixerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        if (!Library.Init())
            GTEST_SKIP() << "no audio device (run with SDL_AUDIODRIVER=dummy)";
    }
    QTemporaryDir Dir;
    platform::TMixerLibrary Library;
};

TEST_F(MixerTest, ASampleSoundsThreeTimesAtOnceAndAFourthTakesOverTheOldest)
{
    const auto sample = Library.LoadSample(WriteFile(Dir, "long.wav", WavBytes(3.0)), 3);
    ASSERT_NE(sample, 0u);
    std::vector<platform::TAudioHandle> channels;
    for (int i = 0; i < 3; ++i) {
        channels.push_back(Library.SampleChannel(sample));
        Library.Play(channels.back());
        Settle(5);
    }
    for (const auto channel : channels)
        EXPECT_TRUE(Library.IsActive(channel));
    const auto fourth = Library.SampleChannel(sample);
    Library.Play(fourth);
    EXPECT_TRUE(Library.IsActive(fourth));
    EXPECT_FALSE(Library.IsActive(channels[0])) << "the longest playing one is taken over";
    EXPECT_TRUE(Library.IsActive(channels[1]));
    EXPECT_TRUE(Library.IsActive(channels[2]));

    Library.StopSample(sample);
    for (const auto channel : {channels[1], channels[2], fourth})
        EXPECT_FALSE(Library.IsActive(channel));
}

TEST_F(MixerTest, LoopFlagKeepsAShortSampleGoingUntilStopped)
{
    const auto sample = Library.LoadSample(WriteFile(Dir, "short.wav", WavBytes(0.03)), 3);
    ASSERT_NE(sample, 0u);
    const auto once = Library.SampleChannel(sample);
    const auto looped = Library.SampleChannel(sample);
    Library.SetLoop(looped, true);
    Library.SetVolume(looped, 50.0f);
    Library.Play(once);
    Library.Play(looped);
    Settle(300);
    EXPECT_FALSE(Library.IsActive(once));
    EXPECT_TRUE(Library.IsActive(looped));
    Library.StopSample(sample);
    EXPECT_FALSE(Library.IsActive(looped));
}

TEST_F(MixerTest, StreamsPlayOneAtATimeAndFailuresGiveNoHandle)
{
    EXPECT_EQ(Library.LoadSample(fs::path(Dir.path().toStdString()) / "none.wav", 3), 0u);
    EXPECT_EQ(Library.LoadStream(fs::path(Dir.path().toStdString()) / "none.mp3"), 0u);
    EXPECT_EQ(Library.LoadSample(WriteFile(Dir, "junk.wav", "not a sound"), 3), 0u);

    const auto first = Library.LoadStream(WriteFile(Dir, "one.wav", WavBytes(2.0)));
    const auto second = Library.LoadStream(WriteFile(Dir, "two.wav", WavBytes(2.0)));
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    Library.SetVolume(first, 40.0f);
    Library.Play(first);
    EXPECT_TRUE(Library.IsActive(first));
    Library.Play(second);
    EXPECT_TRUE(Library.IsActive(second));
    EXPECT_FALSE(Library.IsActive(first));
    Library.StopStream(second);
    EXPECT_FALSE(Library.IsActive(second));
    // Handles of one kind never act on the other.
    EXPECT_FALSE(Library.IsActive(0));
    Library.StopSample(first);
}
