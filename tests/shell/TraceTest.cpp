#include "shell/WindowParts.h"
#include "shell/Trace.h"

#include "engine/Engine.h"
#include "platform/Trace.h"

#include <QAction>
#include <QDateTime>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace {

std::string ReadAll(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> SplitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the file must end with a complete line";
    return lines;
}

const std::vector<std::string> Options{"On", "On", "Stars", "Standard", "1", "Compact"};

TEST(TraceLog, TheTimeIsThePlainLongTimeWithoutAZone)
{
    EXPECT_EQ(PlainTimeFormat(QStringLiteral("HH:mm:ss t")), "HH:mm:ss");
    EXPECT_EQ(PlainTimeFormat(QStringLiteral("h:mm:ss AP t")), "h:mm:ss AP");
    EXPECT_EQ(PlainTimeFormat(QStringLiteral("t HH:mm:ss")), "HH:mm:ss");
    EXPECT_EQ(PlainTimeFormat(QStringLiteral("HH 'Uhr' mm")), "HH 'Uhr' mm") << "quoted text is kept";

    QTemporaryDir folder;
    const std::filesystem::path file = folder.filePath(QStringLiteral("debug.dat")).toStdString();
    {
        TTraceLog log(file);
        log.Write("Line.");
    }
    const std::vector<std::string> lines = SplitCrLf(ReadAll(file));
    ASSERT_EQ(lines.size(), 1u);
    const QString line = QString::fromStdString(lines[0]);
    const QString zone = QDateTime::currentDateTime().timeZoneAbbreviation();
    EXPECT_FALSE(line.endsWith(QLatin1Char(' ') + zone)) << lines[0];
    EXPECT_TRUE(line.back().isDigit() || line.endsWith(QLatin1String("M"))) << lines[0];
}

TEST(TraceLog, EachRunAppendsItsBlockAndLinesAfterTheEarlierRuns)
{
    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "debug.dat";
    for (int run = 0; run < 2; ++run) {
        TTraceLog trace(file);
        trace.Begin(Options);
        platform::Trace("run " + std::to_string(run));
    }
    platform::Trace("after the trace has gone"); // written nowhere

    const std::vector<std::string> lines = SplitCrLf(ReadAll(file));
    ASSERT_EQ(lines.size(), 2u * 12u);
    for (int run = 0; run < 2; ++run) {
        const auto* block = &lines[std::size_t(run) * 12];
        EXPECT_EQ(block[0], "");
        EXPECT_EQ(block[1], "-----------------");
        EXPECT_EQ(block[2], "Options:");
        for (std::size_t i = 0; i < Options.size(); ++i)
            EXPECT_EQ(block[3 + i], Options[i]);
        EXPECT_EQ(block[9], "-- -- -- -- -- --");
        EXPECT_EQ(block[10].rfind("Trace Started. ", 0), 0u) << block[10];
        EXPECT_EQ(block[11].rfind("run " + std::to_string(run) + " ", 0), 0u) << block[11];
        // Message, one blank, then the time of day.
        EXPECT_GT(block[11].size(), std::string("run 0 ").size());
    }
    EXPECT_FALSE(platform::TraceActive());
}

TEST(TraceLog, AFileCutOffMidLineStillGetsItsNewLinesOnLinesOfTheirOwn)
{
    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "debug.dat";
    std::ofstream(file, std::ios::binary) << "old line\r\nhalf a li";
    {
        TTraceLog trace(file);
        trace.Write("new");
    }
    const std::vector<std::string> lines = SplitCrLf(ReadAll(file));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "old line");
    EXPECT_EQ(lines[1], "half a li");
    EXPECT_EQ(lines[2].rfind("new ", 0), 0u);
}

TEST(TraceLog, AnUnwritablePlaceTracesNothingAndDoesNotFail)
{
    QTemporaryDir dir;
    const std::filesystem::path blocker = std::filesystem::path(dir.path().toStdString()) / "file";
    std::ofstream(blocker) << "x";
    TTraceLog trace(blocker / "debug.dat"); // a folder that cannot exist
    trace.Begin(Options);
    platform::Trace("lost");
    EXPECT_FALSE(std::filesystem::exists(blocker / "debug.dat"));
}

// The Debug menu's command on a window whose data folder is a temporary one.
struct TTraceCommand : testing::Test {
    QTemporaryDir Documents;
    int Questions = 0;
    QString LastCaption;
    QString LastQuestion;
    bool Answer = true;
    std::unique_ptr<TForm1> Form;

    void SetUp() override
    {
        TPrompts prompts;
        prompts.AskYesNo = [this](const QString&) { return true; };
        prompts.AskQuestion = [this](const QString& caption, const QString& text) {
            ++Questions;
            LastCaption = caption;
            LastQuestion = text;
            return Answer;
        };
        prompts.ShowError = [](const QString&, const QString&) {};
        prompts.ShowNotice = [](const QString&, const QString&) {};
        Form = std::make_unique<TForm1>(prompts);
        Form->DataPlaces.DocumentsFolder = Documents.path().toStdString();
        Form->DataPlaces.DataLocation = 2;
        Form->FirstShow();
    }
    void TearDown() override
    {
        Form.reset();
        EXPECT_FALSE(platform::TraceActive()) << "a closed window must leave no trace connected";
    }
    std::filesystem::path DebugFile() const { return Form->DataRoot() / "debug.dat"; }
};

TEST_F(TTraceCommand, AsksOnceAndTracesTheGamesDealt)
{
    Form->Tools().StartDebugTrace1Click();
    EXPECT_EQ(LastCaption, "Debug Mode.");
    EXPECT_EQ(LastQuestion, "Start trace in debug.dat?");
    Form->Tools().StartDebugTrace1Click();
    EXPECT_EQ(Questions, 1) << "a running trace is not started again";
    ASSERT_TRUE(Form->Tools().TraceRunning());

    Form->Commands().ChooseGame("Klondike 1 [Turn over 1]");
    const std::string text = ReadAll(DebugFile());
    EXPECT_NE(text.find("\r\nOptions:\r\n" + Form->OptionsList[0] + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("Rules cleared. "), std::string::npos);
    EXPECT_NE(text.find("-- StartGame -- "), std::string::npos);
    EXPECT_NE(text.find("GameName: Klondike 1 [Turn over 1] "), std::string::npos);
    EXPECT_NE(text.find("-- StartGame Exit -- "), std::string::npos);
}

TEST_F(TTraceCommand, ARunningTraceFollowsTheDataFolderWhenItMoves)
{
    Form->Tools().StartDebugTrace1Click();
    QTemporaryDir program;
    const std::filesystem::path old = DebugFile();
    // The data folder moves to the program folder, debug.dat with it.
    Form->DataPlaces.ApplicationDirectory = program.path().toStdString();
    Form->DataPlaces.DataLocation = 1;
    std::filesystem::rename(old, DebugFile());
    Form->Tools().FollowDataRoot();
    platform::Trace("after the move");
    const std::string text = ReadAll(DebugFile());
    EXPECT_NE(text.find("Trace Started. "), std::string::npos);
    EXPECT_NE(text.find("after the move "), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(old));
}

TEST_F(TTraceCommand, NoLeavesNoTraceAndAsksAgainNextTime)
{
    Answer = false;
    Form->Tools().StartDebugTrace1Click();
    EXPECT_FALSE(Form->Tools().TraceRunning());
    EXPECT_FALSE(std::filesystem::exists(DebugFile()));
    Form->Tools().StartDebugTrace1Click();
    EXPECT_EQ(Questions, 2);
}

TEST_F(TTraceCommand, ClosingTheWindowEndsTheTraceWithItsLastLine)
{
    Form->Tools().StartDebugTrace1Click();
    Form->close();
    EXPECT_FALSE(Form->Tools().TraceRunning());
    const std::string text = ReadAll(DebugFile());
    EXPECT_NE(text.find("Trace terminated ok. "), std::string::npos);
}

} // namespace
