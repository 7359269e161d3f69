// Checks of the generated sounds: every file the program loads is there, in
// the format the players take, of a sensible length and at an even level,
// and the generator makes the same bytes every time.
#include "platform/FilePath.h"
#include "platform/WavPlayer.h"
#include "support/TestPaths.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace fs = std::filesystem;

namespace {

fs::path SoundsDir() { return testpaths::ProgramDir() / "Sounds"; }

struct TExpected {
    const char* File;
    double Shortest; // seconds
    double Longest;
};

// The 21 samples in the order the program loads them, with the lengths that
// suit their events: taps and clicks short, the win sounds longer.
const TExpected Samples[] = {
    {"congrat.wav", 1.5, 4},     {"applause3.wav", 2, 5},     {"BEEPSPAC.wav", 0.2, 1},
    {"chime.wav", 0.8, 3},       {"spaced.wav", 0.8, 3},      {"claps.wav", 0.5, 2},
    {"drag.wav", 0.05, 0.4},     {"drop.wav", 0.03, 0.3},     {"explosion.wav", 1.5, 4},
    {"fanfare_x.wav", 1, 3},     {"Crystal_Whoosh_01.wav", 0.8, 3}, {"R2.wav", 0.5, 2},
    {"ring.wav", 0.8, 3},        {"scream_x.wav", 0.5, 2},    {"shuffle.wav", 0.5, 2},
    {"success.wav", 0.2, 1},     {"thunder_x.wav", 2, 5},     {"ufo_x.wav", 1.5, 4},
    {"undo.wav", 0.1, 0.6},      {"waste.wav", 0.2, 1},       {"deal.wav", 0.3, 1.5}};

struct TLevels {
    double PeakDb = -200;
    double RmsDb = -200;
};

TLevels Levels(const platform::TWavData& wav)
{
    double sum = 0, peak = 0;
    for (const std::int16_t s : wav.Samples) {
        const double v = s / 32768.0;
        sum += v * v;
        peak = std::max(peak, std::abs(v));
    }
    const double rms = std::sqrt(sum / double(std::max<std::size_t>(1, wav.Samples.size())));
    return {20 * std::log10(std::max(peak, 1e-9)), 20 * std::log10(std::max(rms, 1e-9))};
}

// An MPEG audio frame header at the start, after an optional ID3 tag.
bool StartsWithMp3Frame(const std::string& bytes)
{
    std::size_t at = 0;
    if (bytes.compare(0, 3, "ID3") == 0 && bytes.size() > 10)
        at = 10 + ((std::size_t(bytes[6] & 0x7F) << 21) | (std::size_t(bytes[7] & 0x7F) << 14)
                   | (std::size_t(bytes[8] & 0x7F) << 7) | std::size_t(bytes[9] & 0x7F));
    return bytes.size() > at + 4 && std::uint8_t(bytes[at]) == 0xFF && (std::uint8_t(bytes[at + 1]) & 0xE0) == 0xE0;
}

} // namespace

TEST(SoundFilesTest, EverySampleIsA44kHzWaveOfItsLengthAtAnEvenLevel)
{
    for (const TExpected& expected : Samples) {
        const auto file = platform::FindEntry(SoundsDir(), expected.File);
        ASSERT_TRUE(file.has_value()) << expected.File;
        EXPECT_EQ(file->filename().string(), expected.File) << "spelt as the program's table spells it";
        const auto wav = platform::ReadWav(*file);
        ASSERT_TRUE(wav.has_value()) << expected.File;
        EXPECT_EQ(wav->Rate, 44100) << expected.File;
        const double seconds = double(wav->Frames()) / wav->Rate;
        EXPECT_GE(seconds, expected.Shortest) << expected.File;
        EXPECT_LE(seconds, expected.Longest) << expected.File;
        const TLevels levels = Levels(*wav);
        EXPECT_LE(levels.PeakDb, -0.9) << expected.File << " clips";
        // Loud enough to hear, and none much louder than another.
        EXPECT_GE(levels.RmsDb, -27) << expected.File;
        EXPECT_LE(levels.RmsDb, -17) << expected.File;
    }
}

TEST(SoundFilesTest, TheLongerSoundsDieAwayInsteadOfStoppingShort)
{
    for (const char* name : {"chime.wav", "congrat.wav", "thunder_x.wav"}) {
        const auto wav = platform::ReadWav(SoundsDir() / name);
        ASSERT_TRUE(wav.has_value()) << name;
        const std::size_t frames = std::size_t(wav->Frames());
        const std::size_t tail = std::size_t(wav->Rate) / 20; // the last 50 ms
        ASSERT_GT(frames, 4 * tail) << name;
        const auto rms = [&](std::size_t first, std::size_t count) {
            double sum = 0;
            for (std::size_t i = first; i < first + count; ++i) {
                const double v = wav->Samples[i * std::size_t(wav->Channels)] / 32768.0;
                sum += v * v;
            }
            return std::sqrt(sum / double(count));
        };
        const double whole = rms(0, frames);
        // 40 dB below the sound's own level at its end, and the very last
        // sample next to silence: no click.
        EXPECT_LT(rms(frames - tail, tail), whole / 100) << name;
        EXPECT_LT(std::abs(int(wav->Samples[(frames - 1) * std::size_t(wav->Channels)])), 64) << name;
    }
}

TEST(SoundFilesTest, TheTwoPiecesOfMusicAreMp3OfTheirLength)
{
    // At 128 kbit/s one second takes 16000 bytes.
    const struct {
        const char* File;
        double Shortest;
        double Longest;
    } music[] = {{"blub.mp3", 1.5, 6}, {"New-5848.mp3", 17, 24}};
    for (const auto& piece : music) {
        const auto bytes = platform::ReadWholeFile(SoundsDir() / piece.File);
        ASSERT_TRUE(bytes.has_value()) << piece.File;
        EXPECT_TRUE(StartsWithMp3Frame(*bytes)) << piece.File;
        const double seconds = double(bytes->size()) / 16000.0;
        EXPECT_GE(seconds, piece.Shortest) << piece.File;
        EXPECT_LE(seconds, piece.Longest) << piece.File;
    }
}

TEST(SoundFilesTest, TheGeneratorMakesTheSameBytesAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess generator;
    generator.start(QStringLiteral(TESSALYN_GENSOUNDS), {dir.path()});
    ASSERT_TRUE(generator.waitForFinished(120000));
    ASSERT_EQ(generator.exitCode(), 0);
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(SoundsDir())) {
        const auto built = platform::ReadWholeFile(entry.path());
        const auto again = platform::ReadWholeFile(fs::path(dir.path().toStdString()) / entry.path().filename());
        ASSERT_TRUE(again.has_value()) << entry.path().filename();
        EXPECT_TRUE(*built == *again) << entry.path().filename() << " differs";
        ++compared;
    }
    EXPECT_EQ(compared, 23);

    // A folder it cannot write into is reported, not a crash.
    QProcess refused;
    refused.start(QStringLiteral(TESSALYN_GENSOUNDS), {QStringLiteral("/proc/no-such-folder")});
    ASSERT_TRUE(refused.waitForFinished(120000));
    EXPECT_NE(refused.exitCode(), 0);
}
