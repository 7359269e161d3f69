#include "shell/CardSpeedDialog.h"
#include "shell/WindowParts.h"

#include "cardtable/CardTable.h"
#include "cardtable/TableStatus.h"
#include "engine/Engine.h"
#include "persistence/Data.h"
#include "platform/Trace.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// A window in a home folder of its own; files can be put into its data
// folder before the first show reads them.
struct TOptionsFixture : testing::Test {
    QTemporaryDir Home;
    std::unique_ptr<TForm1> Form;
    int Questions = 0;
    bool Answer = true;
    QStringList Errors;
    QStringList Notices;

    void SetUp() override
    {
        qputenv("HOME", Home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (Home.path() + "/.config").toUtf8());
        TPrompts prompts;
        prompts.AskYesNo = [this](const QString&) {
            ++Questions;
            return Answer;
        };
        prompts.ShowError = [this](const QString&, const QString& text) { Errors << text; };
        prompts.ShowNotice = [this](const QString&, const QString& text) { Notices << text; };
        Form = std::make_unique<TForm1>(prompts);
        ASSERT_NE(Form->CardTable(), nullptr);
        ASSERT_EQ(Form->DataRoot().string().rfind(Home.path().toStdString(), 0), 0u) << "data outside the test's home";
    }

    fs::path Data(const std::string& name) const { return Form->DataRoot() / name; }
    TCardTable& Table() const { return *Form->CardTable(); }
    QAction* Item(const char* caption) const { return Form->Menus().FindAction(Form->Menus().TopMenu(" Options "), caption); }
    QMenu* SubMenu(const char* caption) const { return Item(caption)->menu(); }
    QAction* In(const char* menu, const char* caption) const { return Form->Menus().FindAction(SubMenu(menu), caption); }

    // Starts a second window on the same data folder, as a new run would.
    std::unique_ptr<TForm1> Restart()
    {
        TPrompts prompts;
        prompts.AskYesNo = [](const QString&) { return true; };
        prompts.ShowError = [this](const QString&, const QString& text) { Errors << text; };
        prompts.ShowNotice = [this](const QString&, const QString& text) { Notices << text; };
        auto form = std::make_unique<TForm1>(prompts);
        form->FirstShow();
        return form;
    }
};

int CheckedCount(const QMenu* menu)
{
    int count = 0;
    for (const QAction* action : menu->actions())
        count += action->isChecked() ? 1 : 0;
    return count;
}

} // namespace

TEST_F(TOptionsFixture, ShortOptionsFileIsPaddedAndWrittenOnlyBySaveOptions)
{
    const std::string three = "Unused\r\nOff\r\nOn\r\n";
    WriteFile(Data("Options.dat"), three);
    Form->FirstShow();
    EXPECT_EQ(Form->OptionsList, (std::vector<std::string>{"Unused", "Off", "On", "On", "1", "Extended", "Off", "Off"}));
    EXPECT_TRUE(In("Sound", "Off")->isChecked());
    EXPECT_FALSE(In("Sound", "On")->isChecked());
    // "On" in the animation line is "I See Stars".
    EXPECT_TRUE(In("Winning Animation", "I See Stars")->isChecked());
    EXPECT_EQ(CheckedCount(SubMenu("Winning Animation")), 1);
    EXPECT_EQ(ReadFile(Data("Options.dat")), three);
    EXPECT_FALSE(fs::exists(Data("Status.Dat")));

    std::vector<std::string> trace;
    platform::SetTraceSink([&trace](std::string_view line) { trace.emplace_back(line); });
    In("Winning Animation", "Cool Colours")->trigger();
    EXPECT_EQ(Form->OptionsList[3], "New");
    In("Winning Animation", "I See Stars")->trigger();
    platform::SetTraceSink({});
    EXPECT_EQ(trace, (std::vector<std::string>{"New WinAnim on.", "I see stars WinAnim on."}));
    EXPECT_EQ(CheckedCount(SubMenu("Winning Animation")), 1);
    Answer = false;
    Item("Save Options")->trigger();
    EXPECT_EQ(ReadFile(Data("Options.dat")), three) << "No keeps the file";
    Answer = true;
    Item("Save Options")->trigger();
    EXPECT_EQ(Questions, 2);
    EXPECT_EQ(ReadFile(Data("Options.dat")), "Unused\r\nOff\r\nOn\r\nStars\r\n1\r\nExtended\r\nOff\r\nOff\r\n");
    EXPECT_TRUE(fs::exists(Data("Status.Dat")));
}

TEST_F(TOptionsFixture, BackgroundColourEndsTheGradient)
{
    Form->FirstShow();
    In("Background Gradient", "Card Table")->trigger();
    EXPECT_TRUE(Table().BackDrop().Enabled());
    EXPECT_TRUE(Table().BackDrop().NewMode());
    EXPECT_EQ(Table().BackDrop().NewColorFrom(), QColor(0, 200, 0));
    EXPECT_EQ(Table().Tag(), 11);
    EXPECT_TRUE(In("Background Gradient", "Card Table")->isChecked());
    In("Background Gradient", "Mode 5")->trigger();
    EXPECT_FALSE(Table().BackDrop().NewMode());
    EXPECT_EQ(Table().BackDrop().Direction(), drRightLeft);
    EXPECT_TRUE(Table().BackDrop().ChangeRColour() && Table().BackDrop().ChangeBColour());
    EXPECT_FALSE(Table().BackDrop().ChangeGColour());
    EXPECT_EQ(CheckedCount(SubMenu("Background Gradient")), 1);

    Form->Options().SetBackgroundColour(QColor(10, 20, 30));
    EXPECT_FALSE(Table().BackDrop().Enabled());
    EXPECT_EQ(Table().Tag(), 0);
    EXPECT_EQ(Table().Color(), QColor(10, 20, 30));
    EXPECT_EQ(CheckedCount(SubMenu("Background Gradient")), 0);
    EXPECT_EQ(Table().SurfaceImage().pixel(5, 5), qRgb(10, 20, 30));
}

TEST_F(TOptionsFixture, DropShadeAndShadowItemsSetTheTable)
{
    Form->FirstShow();
    QMenu* colours = In("Card Drop Shade Mode", "Shaded Type")->menu();
    Form->Menus().FindAction(colours, "Turquoise")->trigger();
    EXPECT_TRUE(Table().HQDragShade());
    EXPECT_EQ(Table().HQDragShadeColour(), 6);
    EXPECT_EQ(CheckedCount(colours), 1);
    In("Card Drop Shade Mode", "Dotted Type")->trigger();
    EXPECT_FALSE(Table().HQDragShade());
    EXPECT_EQ(CheckedCount(colours), 0);
    EXPECT_TRUE(In("Card Drop Shade Mode", "Dotted Type")->isChecked());
    In("Card Drop Shade Mode", "None")->trigger();
    EXPECT_TRUE(Table().HQDragShade());
    EXPECT_EQ(Table().HQDragShadeColour(), 7);
    EXPECT_TRUE(In("Card Drop Shade Mode", "None")->isChecked());
    EXPECT_FALSE(In("Card Drop Shade Mode", "Dotted Type")->isChecked());
    EXPECT_EQ(CheckedCount(colours), 0);

    In("Card Shadow Mode", "Hard")->trigger();
    EXPECT_EQ(Table().ShadowMode(), smDarken);
    EXPECT_FALSE(Table().SoftShadow());
    In("Card Shadow Mode", "Dotted Type")->trigger();
    EXPECT_EQ(Table().ShadowMode(), smOriginal);
    EXPECT_FALSE(In("Card Shadow Mode", "Hard")->isChecked());
    In("Card Drop Mode", "Mouse Based")->trigger();
    EXPECT_EQ(Table().AutoShadeMode(), 2);
    EXPECT_EQ(CheckedCount(SubMenu("Card Drop Mode")), 1);
    In("Background Picture Mode", "Stretch")->trigger();
    EXPECT_TRUE(Table().StretchBackground());
    EXPECT_FALSE(In("Background Picture Mode", "Tile")->isChecked());
}

TEST_F(TOptionsFixture, ScoringOffDisablesStatisticsAndCountsNothing)
{
    Form->FirstShow();
    Form->Commands().ChooseGame("Klondike 1 [Turn over 1]");
    ASSERT_FALSE(Form->Engine()->GameWon);
    In("Scoring & Statistics", "Off")->trigger();
    EXPECT_FALSE(Form->Options().ScoringOn());
    EXPECT_FALSE(Form->Menus().TopMenuAction(" Statistics ")->isEnabled());
    EXPECT_TRUE(Form->Menus().TopMenuAction(" Statistics ")->isVisible());
    EXPECT_EQ(Form->Menus().PointsLabel->text(), "Points = 0 ");
    const QList<QAction*> tools = Form->Menus().ToolBar->actions();
    const auto highScores =
        std::find_if(tools.begin(), tools.end(), [](const QAction* action) { return action->text() == "High Scores"; });
    ASSERT_NE(highScores, tools.end()) << "no High Scores button";
    EXPECT_FALSE((*highScores)->isEnabled());
    EXPECT_EQ(Form->OptionsList[2], "Off");
    EXPECT_TRUE(In("Scoring & Statistics", "Off")->isChecked());

    // The unfinished game is not counted on the way out.
    std::vector<std::string> trace;
    platform::SetTraceSink([&trace](std::string_view line) { trace.emplace_back(line); });
    Form->close();
    platform::SetTraceSink({});
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "Trace terminated ok."), 1) << "the closing was not traced";
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "Call to Update stats in form close."), 0);
    EXPECT_FALSE(fs::exists(persistence::StatsFile(Form->DataRoot(), "Klondike 1 [Turn over 1]")))
        << "statistics were written";

    In("Scoring & Statistics", "On")->trigger();
    EXPECT_TRUE(Form->Options().ScoringOn());
    EXPECT_TRUE(Form->Menus().TopMenuAction(" Statistics ")->isEnabled());
    EXPECT_EQ(Form->OptionsList[2], "On");
}

TEST_F(TOptionsFixture, SavedOptionsAreInForceAfterARestart)
{
    Form->FirstShow();
    In("Background Gradient", "Rosebud")->trigger();
    In("Card Shadow Mode", "Hard")->trigger();
    In("Card Drop Mode", "Fast Card Based")->trigger();
    In("Card Drop Shade Mode", "Pink")->trigger();
    In("Winning Animation", "Slide Show")->trigger();
    In("Scoring & Statistics", "Off")->trigger();
    Form->Commands().SetScaleStepIndex(1);
    EXPECT_EQ(CheckedCount(SubMenu("Choose Card Scale")), 1);
    Item("Show whether the game can be won")->trigger();
    Item("Winnable Deals Only")->trigger();
    Item("Save Options")->trigger();

    const auto again = Restart();
    TCardTable& table = *again->CardTable();
    EXPECT_TRUE(table.BackDrop().Enabled());
    EXPECT_EQ(table.Tag(), 15);
    const auto in = [&](const char* menu, const char* caption) {
        return again->Menus().FindAction(again->Menus().FindAction(again->Menus().TopMenu(" Options "), menu)->menu(), caption);
    };
    EXPECT_TRUE(in("Background Gradient", "Rosebud")->isChecked());
    EXPECT_TRUE(in("Card Shadow Mode", "Hard")->isChecked());
    EXPECT_TRUE(in("Card Drop Mode", "Fast Card Based")->isChecked());
    EXPECT_TRUE(in("Card Drop Shade Mode", "Pink")->isChecked());
    EXPECT_TRUE(in("Winning Animation", "Slide Show")->isChecked());
    EXPECT_FALSE(again->Options().ScoringOn());
    EXPECT_EQ(table.CardDeck().ScaleStep(), -1);
    EXPECT_TRUE(in("Choose Card Scale", "80% Normal")->isChecked());
    EXPECT_EQ(CheckedCount(again->Menus().FindAction(again->Menus().TopMenu(" Options "), "Choose Card Scale")->menu()), 1);
    EXPECT_TRUE(again->Menus().FindAction(again->Menus().TopMenu(" Options "), "Show whether the game can be won")->isChecked());
    EXPECT_TRUE(again->Menus().FindAction(again->Menus().TopMenu(" Options "), "Winnable Deals Only")->isChecked());
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join("; ").toStdString();
}

// A file from before the solver's options: its six lines read as they are,
// the new options are off, and saving writes the new lines after the old.
TEST_F(TOptionsFixture, SixLineFileFromBeforeTheSolverOptionsStillReads)
{
    WriteFile(Data("Options.dat"), "Unused\r\nOff\r\nOn\r\nScribble\r\n1\r\nCompact\r\n");
    Form->FirstShow();
    EXPECT_FALSE(Item("Show whether the game can be won")->isChecked());
    EXPECT_FALSE(Item("Winnable Deals Only")->isChecked());
    EXPECT_TRUE(In("Winning Animation", "Scribble")->isChecked());
    EXPECT_TRUE(In("Sound", "Off")->isChecked());
    Item("Show whether the game can be won")->trigger();
    Item("Save Options")->trigger();
    EXPECT_EQ(ReadFile(Data("Options.dat")), "Unused\r\nOff\r\nOn\r\nScribble\r\n1\r\nCompact\r\nOn\r\nOff\r\n");
}

TEST_F(TOptionsFixture, CompactLineRunsNoSwitchAndAWordScaleIsNormal)
{
    WriteFile(Data("Options.dat"), "Unused\r\nOn\r\nOn\r\nNone\r\nlarge\r\nCompact\r\n");
    Form->FirstShow();
    EXPECT_FALSE(Form->Engine()->ExtendedLayout());
    EXPECT_TRUE(Notices.isEmpty());
    EXPECT_FALSE(Item("Compact")->isEnabled());
    EXPECT_TRUE(Item("Extended")->isEnabled());
    EXPECT_EQ(Table().CardDeck().CardWidth, 71);
    EXPECT_TRUE(In("Choose Card Scale", "Normal")->isChecked());
    EXPECT_EQ(Form->OptionsList[4], "1");
    EXPECT_TRUE(In("Winning Animation", "None")->isChecked());
}

TEST_F(TOptionsFixture, DamagedTableSettingsAreToldOnceAndKeptUntilSaved)
{
    const std::string damaged = std::string("\xFF\x0A\x00TCARDTABLE\x00\x30\x10\x40\x00\x00\x00TPF0", 24);
    WriteFile(Data("Status.Dat"), damaged);
    Form->FirstShow();
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Errors.front().contains("table settings could not be read"));
    EXPECT_EQ(Table().CardSpeed(), 16);
    EXPECT_EQ(ReadFile(Data("Status.Dat")), damaged);
    Item("Save Options")->trigger();
    EXPECT_EQ(ReadFile(Data("Status.Dat.damaged")), damaged);
    std::string error;
    EXPECT_TRUE(tablestatus::ReadStatus(ReadFile(Data("Status.Dat")), &error)) << error;
}

TEST(CardMovementDialog, SpeedsStepThroughTheirValuesAndStopAtTheEnds)
{
    std::vector<int> up{1};
    while (TCardSpeedDialog::MovementSpeedUp(up.back()) != up.back())
        up.push_back(TCardSpeedDialog::MovementSpeedUp(up.back()));
    EXPECT_EQ(up, (std::vector<int>{1, 2, 3, 4, 8, 16, 32, 64, 128}));
    std::vector<int> down{128};
    while (TCardSpeedDialog::MovementSpeedDown(down.back()) != down.back())
        down.push_back(TCardSpeedDialog::MovementSpeedDown(down.back()));
    EXPECT_EQ(down, (std::vector<int>{128, 64, 32, 16, 8, 4, 3, 2, 1}));
    std::vector<int> turnUp{2};
    while (TCardSpeedDialog::TurnoverSpeedUp(turnUp.back()) != turnUp.back())
        turnUp.push_back(TCardSpeedDialog::TurnoverSpeedUp(turnUp.back()));
    EXPECT_EQ(turnUp, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 32}));
    EXPECT_EQ(TCardSpeedDialog::TurnoverSpeedDown(32), 16);
    EXPECT_EQ(TCardSpeedDialog::TurnoverSpeedDown(16), 15);
    EXPECT_EQ(TCardSpeedDialog::TurnoverSpeedDown(2), 2);
    EXPECT_EQ(TCardSpeedDialog::TurnoverSpeedUp(32), 32);
}

TEST_F(TOptionsFixture, NoFlipKeepsTheTurnoverSpeedForTheNextOpening)
{
    Form->FirstShow();
    Table().SetTurnOverAnimationSpeed(0);
    std::unique_ptr<TCardSpeedDialog> dialog(TCardSpeedDialog::ForTable(Table(), Form->Options().SavedTurnoverSpeed, Form.get()));
    EXPECT_EQ(dialog->ModeIndex(), 2);
    EXPECT_EQ(dialog->TurnoverSpeed(), 8);
    EXPECT_EQ(dialog->windowTitle(), "Card Movement Mode.");
    EXPECT_EQ(dialog->size(), QSize(304, 452));

    dialog->SetModeIndex(0);
    dialog->UpDown2Click(true);
    dialog->UpDown1Click(false);
    dialog->CheckBox(4)->setChecked(true);
    dialog->ApplyTo(Table(), Form->Options().SavedTurnoverSpeed);
    EXPECT_EQ(Table().TurnOverAnimationSpeed(), 9);
    EXPECT_TRUE(Table().TurnOverAnimationVertical());
    EXPECT_EQ(Table().CardSpeed(), 8);
    EXPECT_TRUE(Table().FastMovementMode());

    dialog.reset(TCardSpeedDialog::ForTable(Table(), Form->Options().SavedTurnoverSpeed, Form.get()));
    dialog->UpDown2Click(true);
    dialog->SetModeIndex(2);
    dialog->ApplyTo(Table(), Form->Options().SavedTurnoverSpeed);
    EXPECT_EQ(Table().TurnOverAnimationSpeed(), 0);
    dialog.reset(TCardSpeedDialog::ForTable(Table(), Form->Options().SavedTurnoverSpeed, Form.get()));
    EXPECT_EQ(dialog->ModeIndex(), 2);
    EXPECT_EQ(dialog->TurnoverSpeed(), 10);
    EXPECT_TRUE(dialog->CheckBox(1)->isChecked());  // lift offset, as the program starts
}

TEST_F(TOptionsFixture, EachLiftCheckShowsAndSetsItsOwnProperty)
{
    Form->FirstShow();
    const auto groupTitle = [](const QCheckBox* box) {
        const auto* group = qobject_cast<const QGroupBox*>(box->parentWidget());
        return group != nullptr ? group->title() : QString();
    };
    for (const bool lift : {true, false}) {
        Table().SetLiftOffset(lift);
        Table().SetTurnOverAnimationLift(!lift);
        std::unique_ptr<TCardSpeedDialog> dialog(TCardSpeedDialog::ForTable(Table(), Form->Options().SavedTurnoverSpeed, Form.get()));
        EXPECT_EQ(groupTitle(dialog->CheckBox(1)), "Lift Card Offset");
        EXPECT_EQ(groupTitle(dialog->CheckBox(2)), "TurnOver Lift Card Animation");
        EXPECT_EQ(dialog->CheckBox(1)->isChecked(), lift);
        EXPECT_EQ(dialog->CheckBox(2)->isChecked(), !lift);

        dialog->ApplyTo(Table(), Form->Options().SavedTurnoverSpeed);
        EXPECT_EQ(Table().LiftOffset(), lift) << "OK without a change keeps the table's settings";
        EXPECT_EQ(Table().TurnOverAnimationLift(), !lift);

        dialog->CheckBox(1)->setChecked(!lift);
        dialog->ApplyTo(Table(), Form->Options().SavedTurnoverSpeed);
        EXPECT_EQ(Table().LiftOffset(), !lift);
        EXPECT_EQ(Table().TurnOverAnimationLift(), !lift);
    }
}

TEST_F(TOptionsFixture, CardDecksTooLargeForCompactAreRefused)
{
    WriteFile(Data("Options.dat"), "Unused\r\nOn\r\nOn\r\nOn\r\n1\r\nCompact\r\n");
    Form->FirstShow();
    ASSERT_FALSE(Form->Engine()->ExtendedLayout());
    Table().CardDeck().SetDeckName("M_Small");
    Form->Options().CardDeckChosen("Standard");
    ASSERT_EQ(Notices.size(), 1);
    EXPECT_EQ(Notices.back(), "Scale for this deck, in this layout mode, is toolarge - Reset");
    EXPECT_EQ(Table().CardDeck().DeckName(), "Standard");

    Form->Commands().SetScaleStepIndex(3);  // 125%, allowed for "Standard" here
    Table().CardDeck().SetDeckName("Large");
    Form->Options().CardDeckChosen("Standard");
    ASSERT_EQ(Notices.size(), 2);
    EXPECT_EQ(Notices.back(), "Scale for this deck, in this layout mode, is too large - Reset");
    EXPECT_EQ(Table().CardDeck().ScaleStep(), 1);
    EXPECT_TRUE(In("Choose Card Scale", "Normal")->isChecked());
    EXPECT_FLOAT_EQ(Form->Engine()->ScaleX, float(Table().CardDeck().CardWidth) / 71.0f);
}
