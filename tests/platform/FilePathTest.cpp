#include "platform/FilePath.h"

#include <gtest/gtest.h>

#include <fstream>

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
