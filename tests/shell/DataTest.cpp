// The player's data through the window: the location asked at first start,
// saving and opening games, and counting results with their high scores.
#include "shell/WindowParts.h"

#include "shell/DataForm.h"
#include "shell/FileLoc.h"
#include "shell/StartScreen.h"

#include "engine/Engine.h"
#include "engine/RandomPlay.h"
#include "engine/Snapshot.h"
#include "persistence/Data.h"
#include "persistence/TextFile.h"
#include "platform/FilePath.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <system_error>

#include <sys/stat.h>

namespace {

const std::string Klondike = "Klondike 1 [Turn over 1]";

struct TDataWindowFixture : testing::Test {
    QTemporaryDir Home;
    std::unique_ptr<TForm1> Form;
    QStringList Questions;
    QString LastError;
    QStringList Dialogs;          // captions of the modal dialogs shown
    int LocationAnswer = 0;       // 0 Cancel, else the location chosen with OK
    QString HighScoreName = QStringLiteral("Ann");
    QString NextFile;             // what the file dialog answers
    int FileDialogs = 0;

    void SetUp() override
    {
        qputenv("HOME", Home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (Home.path() + "/.config").toUtf8());
        Form = MakeForm();
    }

    std::unique_ptr<TForm1> MakeForm()
    {
        TPrompts prompts;
        prompts.AskYesNo = [this](const QString& text) { Questions << text; return true; };
        prompts.ShowError = [this](const QString&, const QString& text) { LastError = text; };
        prompts.ShowNotice = prompts.ShowError;
        prompts.RunModal = [this](QDialog& dialog) { return Answer(dialog); };
        prompts.ChooseFile = [this](const TFileRequest&) { ++FileDialogs; return NextFile; };
        auto form = std::make_unique<TForm1>(prompts);
        form->FirstShow();
        // A hidden table completes every animation at once.
        form->hide();
        return form;
    }

    int Answer(QDialog& dialog)
    {
        Dialogs << dialog.windowTitle();
        if (auto* location = qobject_cast<TFileLoc*>(&dialog)) {
            if (LocationAnswer == 0)
                return QDialog::Rejected;
            location->SetLocation(LocationAnswer);
            return QDialog::Accepted;
        }
        if (auto* data = qobject_cast<TDataForm*>(&dialog)) {
            if (data->Pages->currentWidget() == data->NewEntryTab)
                data->Edit1->setText(HighScoreName);
            return QDialog::Accepted;
        }
        return QDialog::Rejected;
    }

    std::filesystem::path Documents() const { return Home.path().toStdString() + "/Documents/Tessalyn"; }
    TEngine& Engine() { return *Form->Engine(); }
    void Choose(const std::string& game) { Form->Commands().ChooseGame(game); }
    void Play(int actions, unsigned seed = 7)
    {
        std::mt19937 random(seed);
        for (int i = 0; i < actions; ++i)
            PlayRandomAction(Engine(), random, TUndoUse::Never);
    }
    persistence::TGameStats Stats(const std::string& game) const
    {
        return persistence::LoadGameStats(game, Form->DataRoot());
    }
};

TEST_F(TDataWindowFixture, FirstStartAsksWhereAndCancelMeansDocuments)
{
    EXPECT_EQ(Dialogs, QStringList{QStringLiteral("Save Data Location")});
    EXPECT_EQ(Form->DataPlaces.DataLocation, 2);
    EXPECT_EQ(Form->DataRoot(), Documents());
    EXPECT_EQ(persistence::JoinLines(*persistence::ReadLines(Documents() / "Player.dat")), "\r\n2008\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(Documents() / "Data"));
    // The second start finds it and asks nothing.
    Dialogs.clear();
    Form = MakeForm();
    EXPECT_TRUE(Dialogs.isEmpty());
}

TEST_F(TDataWindowFixture, SavingAsksOnceThenWritesSilentlyAndANewGameAsksAgain)
{
    Choose(Klondike);
    Play(20);
    NextFile = QString::fromStdString((Documents() / "Save Games" / "mine.tsg").string());
    Form->Saves().SaveExecute();
    EXPECT_EQ(FileDialogs, 1);
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tessalyn. Game: mine.tsg  [Open Game]"));
    const auto first = persistence::ReadLines(NextFile.toStdString());
    ASSERT_TRUE(first);
    EXPECT_EQ((*first)[0], Klondike);
    Play(10, 8);
    Form->Saves().SaveExecute();
    EXPECT_EQ(FileDialogs, 1);
    EXPECT_EQ(*persistence::ReadLines(NextFile.toStdString()), Engine().SavedRecord());
    EXPECT_GT(Engine().SavedRecord().size(), first->size()) << "the second save must hold the new moves";
    Form->Commands().NewExecute();
    NextFile.clear(); // Cancel
    Form->Saves().SaveExecute();
    EXPECT_EQ(FileDialogs, 2);
}

TEST_F(TDataWindowFixture, AnOpenedGameLiesAsItWasSaved)
{
    Choose("Freecell");
    Play(60);
    const std::string saved = StateJson(Engine(), true);
    NextFile = QString::fromStdString((Documents() / "Save Games" / "fc.tsg").string());
    Form->Saves().SaveExecute();
    Choose(Klondike);
    Form->Saves().OpenExecute();
    EXPECT_TRUE(LastError.isEmpty()) << LastError.toStdString();
    EXPECT_EQ(StateJson(Engine(), true), saved);
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tessalyn. Game: fc.tsg  [Open Game]"));
}

TEST_F(TDataWindowFixture, OpenedAndLeftUnplayedCountsNothingOneMoveCountsOnceAndCloses)
{
    Choose("Freecell");
    Play(5);
    const std::filesystem::path file = Documents() / "Save Games" / "fc.tsg";
    NextFile = QString::fromStdString(file.string());
    Form->Saves().SaveExecute();
    // Opening it leaves a game saved a moment ago: nothing to count.
    Form->Saves().OpenExecute();
    EXPECT_EQ(Stats("Freecell").Played, 0);
    Choose(Klondike);
    EXPECT_EQ(Stats("Freecell").Played, 0) << "nothing was played since it was opened";
    EXPECT_EQ(persistence::ReadLines(file)->at(2), "O");

    Form->Saves().OpenExecute();
    Play(3, 9);
    Choose(Klondike);
    EXPECT_EQ(Stats("Freecell").Played, 1);
    EXPECT_EQ(persistence::ReadLines(file)->at(2), "0");
    // A closed file is never counted again.
    Form->Saves().OpenExecute();
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tessalyn. Game: fc.tsg  [Closed Game]"));
    Play(3, 10);
    Choose(Klondike);
    EXPECT_EQ(Stats("Freecell").Played, 1);
}

TEST_F(TDataWindowFixture, ADamagedSavedGameIsReportedByNameAndChangesNothing)
{
    Choose(Klondike);
    Play(10);
    const std::string before = StateJson(Engine(), true);
    const std::filesystem::path file = Documents() / "Save Games" / "broken.tsg";
    for (const std::string& text : {std::string("Klondike 1 [Turn over 1]\r\n1\r\nO\r\n6\r\n0"),
                                   std::string("No Such Game\r\n1\r\nO\r\n")}) {
        persistence::WriteLines(file, persistence::SplitLines(text));
        LastError.clear();
        NextFile = QString::fromStdString(file.string());
        Form->Saves().OpenExecute();
        EXPECT_TRUE(LastError.contains(QStringLiteral("broken.tsg"))) << LastError.toStdString();
        EXPECT_EQ(StateJson(Engine(), true), before);
        EXPECT_EQ(Engine().SaveName, "");
    }
}

TEST_F(TDataWindowFixture, AfterTheStartScreenEveryGameCanBeSavedAndRestarted)
{
    Choose(Klondike);
    Form->StartPage().BackToStart1Click();
    ASSERT_TRUE(Form->StartPage().Active());
    Choose("Freecell");
    QMenu* game = Form->Menus().TopMenu(QStringLiteral(" Game "));
    EXPECT_TRUE(Form->Menus().FindAction(game, QStringLiteral("Save"))->isEnabled());
    EXPECT_TRUE(Form->Menus().FindAction(game, QStringLiteral("Save and Quit"))->isEnabled());
    EXPECT_TRUE(Form->Menus().FindAction(game, QStringLiteral("Restart"))->isEnabled());
    Form->Commands().NewExecute();
    EXPECT_TRUE(Form->Menus().FindAction(game, QStringLiteral("Save"))->isEnabled());
}

// Save, one more move, open the same file: the game left is counted and its
// file closed first, so the game opened from it is closed too.
TEST_F(TDataWindowFixture, ReopeningASavedGamePlayedOnShowsItClosed)
{
    Choose("Freecell");
    Play(5);
    NextFile = QString::fromStdString((Documents() / "Save Games" / "fc.tsg").string());
    Form->Saves().SaveExecute();
    Play(5, 11);
    Form->Saves().OpenExecute();
    EXPECT_EQ(Stats("Freecell").Played, 1);
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tessalyn. Game: fc.tsg  [Closed Game]"));
    EXPECT_FALSE(Engine().GameOpen());
}

TEST_F(TDataWindowFixture, OpenUndoAndLeaveCountsNothingAndKeepsTheFileOpen)
{
    Choose("Freecell");
    Play(8);
    const std::filesystem::path file = Documents() / "Save Games" / "fc.tsg";
    NextFile = QString::fromStdString(file.string());
    Form->Saves().SaveExecute();
    Choose(Klondike);
    Form->Saves().OpenExecute();
    Form->Commands().UndoClick();
    Choose(Klondike);
    EXPECT_EQ(Stats("Freecell").Played, 0);
    EXPECT_EQ(persistence::ReadLines(file)->at(2), "O");
}

// Names are found without regard to letter case; a file is only read when it
// is a regular file (a pipe would freeze the window in open()).
TEST_F(TDataWindowFixture, GameNamesInAnyCaseLoadAndAPipeIsRefused)
{
    const std::filesystem::path file = Documents() / "Save Games" / "upper.tsg";
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(persistence::WriteLines(file, {"FREECELL", "5", "O"}));
    NextFile = QString::fromStdString(file.string());
    Form->Saves().OpenExecute();
    EXPECT_TRUE(LastError.isEmpty()) << LastError.toStdString();
    EXPECT_EQ(Form->CurrentGameName(), "Freecell");

    const std::filesystem::path pipe = Documents() / "Save Games" / "pipe.tsg";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    NextFile = QString::fromStdString(pipe.string());
    Form->Saves().OpenExecute();
    EXPECT_TRUE(LastError.contains(QStringLiteral("not a regular file"))) << LastError.toStdString();
    EXPECT_EQ(Form->CurrentGameName(), "Freecell");
}

// A full disk: Save says why, keeps asking for a name, and "Save and Quit"
// does not quit; "Save Options" keeps the old files and says so.
TEST_F(TDataWindowFixture, AFullDiskIsToldAndLosesNothing)
{
    Choose(Klondike);
    Play(6);
    Form->Options().SaveOptionsClick();
    const std::filesystem::path status = Form->DataRoot() / "Status.Dat";
    const std::optional<std::string> settings = platform::ReadWholeFile(status);
    ASSERT_TRUE(settings && !settings->empty());
    const std::filesystem::path file = Documents() / "Save Games" / "full.tsg";
    NextFile = QString::fromStdString(file.string());
    platform::SimulateWriteFailure(ENOSPC);
    const bool saved = Form->Saves().SaveExecute();
    Questions.clear();
    Form->Saves().SaveAndQuitClick();
    Form->Options().SaveOptionsClick();
    platform::SimulateWriteFailure(0);
    EXPECT_FALSE(saved);
    EXPECT_EQ(Engine().SaveName, "");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(Questions.contains(QStringLiteral("Quit Tessalyn?"))) << "a failed save must not quit";
    EXPECT_TRUE(LastError.contains(QStringLiteral("options could not be saved"))) << LastError.toStdString();
    EXPECT_TRUE(LastError.contains(QString::fromStdString(std::generic_category().message(ENOSPC))));
    EXPECT_EQ(platform::ReadWholeFile(status), settings) << "a failed save keeps the old settings";
}

TEST_F(TDataWindowFixture, DeleteAsksAndRemovesOnlySavedGames)
{
    Choose(Klondike);
    NextFile = QString::fromStdString((Documents() / "Save Games" / "sub" / "k.tsg").string());
    std::filesystem::create_directories(Documents() / "Save Games" / "sub");
    Form->Saves().SaveExecute();
    Form->Saves().Delete1Click();
    EXPECT_EQ(Questions.last(), QStringLiteral("Delete all save files in Save Games and all sub folders?"));
    EXPECT_FALSE(std::filesystem::exists(NextFile.toStdString()));
    EXPECT_TRUE(std::filesystem::exists(Documents() / "Save Games" / "sub"));
    EXPECT_EQ(Form->windowTitle().toStdString(), "Tessalyn. Game: " + Klondike + "  [Open Game]");
}

TEST_F(TDataWindowFixture, AbandonedGamesCountAndAHighScoreTakesTheName)
{
    Choose(Klondike);
    Play(40);
    Engine().Points = 75;
    Choose("Freecell");
    auto stats = Stats(Klondike);
    EXPECT_EQ(stats.Played, 1);
    EXPECT_EQ(stats.Won, 0);
    EXPECT_EQ(stats.Scores[0].Name, "Ann");
    EXPECT_EQ(stats.Scores[0].Points, 75);
    EXPECT_TRUE(Dialogs.contains(QStringLiteral("Statistics and High Scores.")));
    EXPECT_EQ(persistence::ReadLines(Form->DataRoot() / "Player.dat")->at(0), "Ann");

    // The statistics window shows the game in play.
    Choose(Klondike);
    Form->Saves().ShowStatisticsClick(0);
    TDataForm& window = *Form->Saves().DataForm();
    EXPECT_EQ(window.GameNameLabel->text().toStdString(), Klondike);
    EXPECT_EQ(window.PlayedLabel->text(), QStringLiteral("Played: 1"));
    EXPECT_EQ(window.LostPercentLabel->text(), QStringLiteral("Lost: 100%"));
    EXPECT_EQ(window.WonPercentLabel->text(), QStringLiteral("Won: 0%"));
}

TEST_F(TDataWindowFixture, ResetAsksAndZeroesEveryGame)
{
    Choose(Klondike);
    Play(5);
    Choose("Freecell");
    ASSERT_EQ(Stats(Klondike).Played, 1);
    Form->Saves().Reset1Click();
    EXPECT_EQ(Questions.last(), QStringLiteral("Reset Statistics && High Scores for ALL games?"));
    EXPECT_EQ(Stats(Klondike).Played, 0);
}

TEST_F(TDataWindowFixture, ChangingTheLocationMovesTheData)
{
    Choose(Klondike);
    Play(5);
    Choose("Freecell");
    ASSERT_EQ(Stats(Klondike).Played, 1);
    const QTemporaryDir program;
    Form->DataPlaces.ApplicationDirectory = program.path().toStdString();
    LocationAnswer = 1;
    Form->Saves().SetUserFilelocation1Click();
    EXPECT_EQ(Form->DataPlaces.DataLocation, 1);
    EXPECT_EQ(Stats(Klondike).Played, 1);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(program.path().toStdString()) / "Player.dat"));
    EXPECT_FALSE(std::filesystem::exists(Documents()));
}

TEST_F(TDataWindowFixture, OnTheStartScreenTheSelectedGameIsShownAndResetRefreshesTheList)
{
    Choose(Klondike);
    Play(5);
    Form->StartPage().BackToStart1Click();
    ASSERT_TRUE(Form->StartPage().Active());
    TStartScreen& start = *Form->StartPage().StartScreen();
    int row = 1;
    while (row < start.RowCount() && start.RowName(row) != Klondike)
        ++row;
    ASSERT_LT(row, start.RowCount());
    start.SelectRow(row);
    Form->Saves().ShowStatisticsClick(0);
    EXPECT_EQ(Form->Saves().DataForm()->GameNameLabel->text().toStdString(), Klondike);
    EXPECT_EQ(Form->Saves().DataForm()->PlayedLabel->text(), QStringLiteral("Played: 1"));
    EXPECT_FALSE(Form->GameInPlay());

    Form->Saves().Reset1Click();
    EXPECT_TRUE(Form->StartPage().Active());
    EXPECT_EQ(start.GameList->item(row, 1)->text(), QStringLiteral("0"));
}

TEST(StatisticsWindow, PercentagesAndBars)
{
    EXPECT_EQ(TDataForm::Percentage(100.0 / 3.0), QStringLiteral("33.3333"));
    EXPECT_EQ(TDataForm::Percentage(50), QStringLiteral("50"));
    EXPECT_EQ(TDataForm::Percentage(12.5), QStringLiteral("12.5"));
    const QImage chart = TDataForm::BarChart(QSize(281, 201), 25, 75);
    // Lost bar: red up to height round(191 * 0.25) = 48; won: sky blue up to 143.
    EXPECT_EQ(chart.pixelColor(60, 200 - 10), QColor(Qt::red));
    EXPECT_EQ(chart.pixelColor(60, 201 - 48 - 2), QColor(Qt::white));
    EXPECT_EQ(chart.pixelColor(220, 201 - 140), QColor(166, 202, 240));
    EXPECT_EQ(chart.pixelColor(220, 201 - 146), QColor(Qt::white));
    EXPECT_EQ(chart.pixelColor(140, 150), QColor(Qt::white));
}

} // namespace

