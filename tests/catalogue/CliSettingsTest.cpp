#include "support/RunCli.h"
#include "support/TestPaths.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using testcli::RunCli;
using testcli::TRun;

class CliSettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(testpaths::ProgramDir() / "tessalyn-cli"))
            GTEST_SKIP() << "tessalyn-cli is not built";
        qputenv("HOME", Home.path().toUtf8());
    }
    QTemporaryDir Home;
    QTemporaryDir Dir;
    QString StatusFile() const { return Dir.path() + "/Status.Dat"; }
};

} // namespace

TEST_F(CliSettingsTest, SavedSettingsShowInStreamOrder)
{
    const TRun save = RunCli({"settings", "save", Dir.path(), "CardSpeed=32", "Color=clGreen", "Tag=7",
                              "ShadowMode=smOriginal", "HQDragShadeColour=5", "BackDrop.StartG=150"});
    ASSERT_EQ(save.ExitCode, 0) << save.Err.join("\n").toStdString();
    const TRun show = RunCli({"settings", "show", StatusFile()});
    ASSERT_EQ(show.ExitCode, 0);
    EXPECT_TRUE(show.Err.isEmpty());
    ASSERT_GT(show.Out.size(), 20);
    EXPECT_EQ(show.Out.front(), "Tag = 7");
    EXPECT_EQ(show.Out[1], "Left = 0");
    EXPECT_EQ(show.Out[2], "Top = 53");
    for (const char* line : {"Align = alClient", "CardDeck.DeckName = 'Standard'", "Color = clGreen",
                             "CardSpeed = 32", "ShadowMode = smOriginal", "HQDragShadeColour = 5",
                             "BackDrop.StartG = 150", "DragCardCursor = crDrag", "DragAndDrop = True",
                             "BackgroundPicture = 'None'"})
        EXPECT_TRUE(show.Out.contains(line)) << line;
    EXPECT_LT(show.Out.indexOf("Color = clGreen"), show.Out.indexOf("CardSpeed = 32"));
    EXPECT_EQ(show.Out.mid(show.Out.size() - 16),
              QStringList({"cno", "dfu", "cv", "cs", "fu", "st", "di", "cx", "cy", "ft", "nocot", "cot", "cms",
                           "dsd", "ds", "cr"}));
}

TEST_F(CliSettingsTest, BadInputGivesOneLineAndStatusTwo)
{
    const TRun unknown = RunCli({"settings", "save", Dir.path(), "Colour=clRed"});
    EXPECT_EQ(unknown.ExitCode, 2);
    EXPECT_EQ(unknown.Err.size(), 1);
    EXPECT_FALSE(std::filesystem::exists(StatusFile().toStdString()));
    const TRun badValue = RunCli({"settings", "save", Dir.path(), "CardSpeed=fast"});
    EXPECT_EQ(badValue.ExitCode, 2);
    EXPECT_EQ(badValue.Err.size(), 1);

    ASSERT_EQ(RunCli({"settings", "save", Dir.path()}).ExitCode, 0);
    std::string bytes;
    {
        std::ifstream in(StatusFile().toStdString(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::ofstream(StatusFile().toStdString(), std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() - 30);
    const TRun damaged = RunCli({"settings", "show", StatusFile()});
    EXPECT_EQ(damaged.ExitCode, 2);
    EXPECT_EQ(damaged.Err.size(), 1);
    EXPECT_TRUE(damaged.Out.isEmpty());
    EXPECT_EQ(RunCli({"settings", "show", Dir.path() + "/missing.dat"}).ExitCode, 2);
}
