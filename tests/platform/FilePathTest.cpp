#include "platform/FilePath.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FilePathTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("tessalyn-path-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "CardSets" / "Standard");
        std::ofstream(root / "CardSets" / "Standard" / "1S.BMP") << "x";
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(FilePathTest, FindsEntriesWhateverTheirCase)
{
    const auto found = platform::FindPath(root, "cardsets/STANDARD/1s.bmp");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, root / "CardSets" / "Standard" / "1S.BMP");
    EXPECT_TRUE(platform::FindPath(root, "cardsets\\standard").has_value());
    EXPECT_FALSE(platform::FindPath(root, "cardsets/missing").has_value());
    EXPECT_FALSE(platform::FindPath(root / "nowhere", "x").has_value());
}

TEST_F(FilePathTest, ExactSpellingWinsOverOtherCase)
{
    std::ofstream(root / "a.txt") << "lower";
    std::ofstream(root / "A.txt") << "upper";
    EXPECT_EQ(*platform::FindEntry(root, "A.txt"), root / "A.txt");
    EXPECT_EQ(*platform::FindEntry(root, "a.txt"), root / "a.txt");
}

TEST_F(FilePathTest, ResolveKeepsTheWrittenNameForNewFiles)
{
    EXPECT_EQ(platform::ResolvePath(root, "cardsets/New/x.bmp"), root / "CardSets" / "New" / "x.bmp");
}

TEST_F(FilePathTest, AtomicWriteReplacesWholeFileAndReadsBack)
{
    const fs::path file = root / "Options.dat";
    ASSERT_TRUE(platform::WriteFileAtomically(file, "one\r\n"));
    ASSERT_TRUE(platform::WriteFileAtomically(file, "two\r\n"));
    EXPECT_EQ(platform::ReadWholeFile(file).value(), "two\r\n");
    EXPECT_FALSE(platform::WriteFileAtomically(root / "no" / "such" / "folder.dat", "x"));
    EXPECT_FALSE(platform::ReadWholeFile(root / "absent.dat").has_value());
    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(root))
        leftovers += entry.path().filename().string().find(".tmp") != std::string::npos;
    EXPECT_EQ(leftovers, 0);
}

TEST(SearchPath, SplitsAtColonsAndSkipsEmptyEntries)
{
    const auto folders = platform::SplitSearchPath("/usr/bin::/opt/x:");
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[0], fs::path("/usr/bin"));
    EXPECT_EQ(folders[1], fs::path("/opt/x"));
    EXPECT_TRUE(platform::SplitSearchPath("").empty());
}

} // namespace

// Only regular files are read: a pipe must not freeze the program in open(),
// a link to an endless device must not exhaust memory, and a file beyond the
// limit of its kind is refused before it is read.
TEST_F(FilePathTest, ReadsOnlyRegularFilesWithinTheirLimit)
{
    const fs::path pipe = root / "game.tsg";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string why;
    EXPECT_FALSE(platform::ReadWholeFile(pipe, platform::SavedGameLimit, &why).has_value());
    EXPECT_EQ(why, "it is not a regular file");
    EXPECT_FALSE(platform::IsRegularFileWithin(pipe, platform::SoundFileLimit));

    const fs::path endless = root / "zero.tsg";
    fs::create_symlink("/dev/zero", endless);
    EXPECT_FALSE(platform::ReadWholeFile(endless, platform::SavedGameLimit).has_value());
    EXPECT_FALSE(platform::ReadWholeFile(root).has_value());

    const fs::path big = root / "big.dat";
    std::ofstream(big) << std::string(101, 'x');
    EXPECT_FALSE(platform::ReadWholeFile(big, 100, &why).has_value());
    EXPECT_EQ(platform::ReadWholeFile(big, 101).value().size(), 101u);
    EXPECT_TRUE(platform::IsRegularFileWithin(big, 101));
    EXPECT_FALSE(platform::IsRegularFileWithin(big, 100));
}

// A full disk: the old file stays whole, nothing is left behind, and the
// reason is told.
TEST_F(FilePathTest, AFailedWriteKeepsTheOldFileAndSaysWhy)
{
    const fs::path file = root / "Status.Dat";
    ASSERT_TRUE(platform::WriteFileAtomically(file, "old settings"));
    platform::SimulateWriteFailure(ENOSPC);
    std::string why;
    const bool written = platform::WriteFileAtomically(file, "new settings", &why);
    platform::SimulateWriteFailure(0);
    EXPECT_FALSE(written);
    EXPECT_EQ(why, std::generic_category().message(ENOSPC));
    EXPECT_EQ(platform::ReadWholeFile(file).value(), "old settings");
    EXPECT_FALSE(fs::exists(platform::TemporaryFileFor(file)));
}

// A kill between writing and renaming leaves the temporary file; the next
// write of the same file reuses it, so stale ones never pile up.
TEST_F(FilePathTest, AStaleTemporaryFileIsReusedNotMultiplied)
{
    const fs::path file = root / "fav.dat";
    std::ofstream(platform::TemporaryFileFor(file)) << "left by a killed run, longer than the new text";
    ASSERT_TRUE(platform::WriteFileAtomically(file, "new"));
    EXPECT_EQ(platform::ReadWholeFile(file).value(), "new");
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(root))
        entries += entry.is_regular_file();
    EXPECT_EQ(entries, 1);
}
