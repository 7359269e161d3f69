#include <fstream>
#include <iterator>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "persistence/Options.h"
#include "support/Mutator.h"

using namespace persistence;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(Options, ShortFileIsPaddedInMemoryOnly)
{
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    const std::string three = "Unused\r\nOff\r\nOff\r\n";
    std::ofstream(OptionsFile(root), std::ios::binary) << three;
    const TLines options = LoadOptions(root);
    EXPECT_EQ(options, (TLines{"Unused", "Off", "Off", "On", "1", "Extended", "Off", "Off"}));
    EXPECT_EQ(ReadFile(OptionsFile(root)), three);
    ASSERT_TRUE(SaveOptions(root, options));
    EXPECT_EQ(ReadFile(OptionsFile(root)), "Unused\r\nOff\r\nOff\r\nOn\r\n1\r\nExtended\r\nOff\r\nOff\r\n");
}

TEST(Options, MissingFileGivesTheDefaults)
{
    QTemporaryDir dir;
    const TLines options = LoadOptions(dir.path().toStdString());
    EXPECT_EQ(options, DefaultOptions());
    EXPECT_TRUE(SoundOptionOn(options));
    EXPECT_FALSE(ScoringOptionOff(options));
    EXPECT_EQ(WinAnimationOption(options), TWinAnimation::Stars);
    EXPECT_EQ(ScaleStepOption(options), 1);
    EXPECT_TRUE(ExtendedLayoutOption(options));
}

TEST(Options, LinesAreReadTolerantly)
{
    TLines options = DefaultOptions();
    options[olSound] = "on";
    options[olScoring] = "off";
    options[olWinAnimation] = "On";
    options[olScaleStep] = "big";
    options[olLayout] = "compact";
    EXPECT_FALSE(SoundOptionOn(options));
    EXPECT_FALSE(ScoringOptionOff(options));  // only "Off" switches scoring off
    EXPECT_EQ(WinAnimationOption(options), TWinAnimation::Stars);
    EXPECT_EQ(ScaleStepOption(options), 1);
    EXPECT_FALSE(ExtendedLayoutOption(options));
    for (const auto& [word, step] : {std::pair{"-2", -2}, {"-1", -1}, {"5", 5}, {"4", 1}, {"3 ", 1}, {"+2", 2}}) {
        options[olScaleStep] = word;
        EXPECT_EQ(ScaleStepOption(options), step) << word;
    }
    for (const auto animation : {TWinAnimation::Stars, TWinAnimation::CoolColours, TWinAnimation::Scribble,
                                 TWinAnimation::SlideShow, TWinAnimation::None}) {
        options[olWinAnimation] = WinAnimationWord(animation);
        EXPECT_EQ(WinAnimationOption(options), animation);
    }
    options[olWinAnimation] = "Sparkle";
    EXPECT_EQ(WinAnimationOption(options), TWinAnimation::Unknown);
}

TEST(OptionsFuzz, MutatedFilesAlwaysGiveSixLines)
{
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    const std::string seed = "Unused\r\nOn\r\nOff\r\nScribble\r\n-1\r\nCompact\r\n";
    fuzz::TMutator mutator(42);
    for (int i = 0; i < 100000; ++i) {
        const std::string bytes = mutator.Mutate(seed);
        TLines options;
        if (i % 250 == 0) {
            std::ofstream(OptionsFile(root), std::ios::binary | std::ios::trunc) << bytes;
            options = LoadOptions(root);
            EXPECT_EQ(ReadFile(OptionsFile(root)), bytes);
        } else {
            options = SplitLines(bytes);
            PadOptions(options);
        }
        ASSERT_GE(options.size(), 6u);
        const int step = ScaleStepOption(options);
        EXPECT_TRUE(step == -2 || step == -1 || (step >= 1 && step <= 3) || step == 5);
        WinAnimationOption(options);
        SoundOptionOn(options);
        ExtendedLayoutOption(options);
    }
}
