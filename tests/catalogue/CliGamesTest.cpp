#include "support/RunCli.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testcli::RunCli;
using testcli::TRun;

class CliGamesTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(testpaths::ProgramDir() / "tessalyn-cli"))
            GTEST_SKIP() << "tessalyn-cli is not built";
    }
};

TEST_F(CliGamesTest, ListsTheAlphabeticalMenuWithNumberAndHelpCode)
{
    const TRun run = RunCli({"games"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Err.isEmpty());
    ASSERT_EQ(run.Out.size(), 205);
    EXPECT_EQ(run.Out.front(), "147\t2mhx\tAce In The Hole");
    EXPECT_EQ(run.Out.back(), "105\t6pk1\tZebra");
    const qsizetype freecell = run.Out.indexOf("29\t2r1o\tFreecell");
    ASSERT_GE(freecell, 0);
    EXPECT_EQ(run.Out[freecell + 1], "29\t2r1o\tFreecell 4x4");
    EXPECT_EQ(run.Out[freecell + 46], "29\t2r1o\tFreecell 10x6");
    EXPECT_TRUE(run.Out.contains("158\tacesup\tAces Up"));
}

TEST_F(CliGamesTest, UnknownOrMissingCommandPrintsUsage)
{
    for (const QStringList& arguments : {QStringList{"shuffle"}, QStringList{}}) {
        const TRun run = RunCli(arguments);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_TRUE(run.Out.isEmpty());
        ASSERT_EQ(run.Err.size(), 1);
        EXPECT_TRUE(run.Err.front().startsWith("usage: tessalyn-cli"));
    }
}

// Without a desktop login there is no runtime folder; the tool must still
// say nothing but its answer, and leave nothing behind in the temp folder.
TEST_F(CliGamesTest, SaysNothingElseWithoutARuntimeFolder)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("TMPDIR"), temp.path());
    for (const QStringList& arguments : {QStringList{"games"}, QStringList{"deal", "Freecell", "--seed", "1"}}) {
        const TRun run = RunCli(arguments, environment);
        EXPECT_EQ(run.ExitCode, 0) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.Out.isEmpty());
        EXPECT_TRUE(run.Err.isEmpty()) << arguments.join(' ').toStdString() << ": " << run.Err.join('\n').toStdString();
    }
    const QStringList left = QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
}

} // namespace
