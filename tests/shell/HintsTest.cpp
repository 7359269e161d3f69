#include "support/WaitFor.h"
#include "shell/HintController.h"
#include "shell/HintOverlay.h"
#include "shell/HintSteps.h"
#include "shell/WindowParts.h"
#include "shell/StartScreen.h"
#include "shell/WinnableDeals.h"

#include "cardtable/Card.h"
#include "cardtable/CardTable.h"
#include "engine/Engine.h"
#include "engine/RandomPlay.h"
#include "solver/Moves.h"
#include "solver/Search.h"
#include "solver/SolverState.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolBar>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>

namespace fs = std::filesystem;

namespace {

using testwait::WaitFor;

void PressKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

solver::TSolveResult SolveHere(const TEngine& engine, std::int64_t states = 2'000'000)
{
    solver::TSolveBudget budget;
    budget.MaxStates = states;
    return solver::Solve(solver::MakeSolverGame(engine.Rules), engine.Snapshot(), budget);
}

// Every file of the data folder with its size: what statistics would change.
std::map<std::string, std::uintmax_t> DataFiles(const fs::path& root)
{
    std::map<std::string, std::uintmax_t> files;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(root, error))
        if (entry.is_regular_file())
            files[entry.path().string()] = entry.file_size();
    return files;
}

struct THintsFixture : testing::Test {
    QTemporaryDir Home;
    std::unique_ptr<TForm1> Form;
    bool Answer = true;
    QStringList Questions;
    QStringList Notices;

    void SetUp() override
    {
        qputenv("HOME", Home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (Home.path() + "/.config").toUtf8());
        TPrompts prompts;
        prompts.AskYesNo = [this](const QString& text) {
            Questions << text;
            return Answer;
        };
        prompts.ShowError = [this](const QString&, const QString& text) { Notices << text; };
        prompts.ShowNotice = [this](const QString&, const QString& text) { Notices << text; };
        Form = std::make_unique<TForm1>(prompts);
        Form->FirstShow();
        ASSERT_NE(Form->Engine(), nullptr) << "no card set could be loaded";
        Form->Sounds().SetSoundOption(false);
        Form->CardTable()->SetCardSpeed(1000);
    }

    TEngine& Engine() const { return *Form->Engine(); }
    THintController& Hints() const { return *Form->Hints(); }
    QAction* GameItem(const char* caption) const { return Form->Menus().FindAction(Form->Menus().TopMenu(" Game "), caption); }

    void Deal(const std::string& game, std::uint32_t seed)
    {
        Form->FixedSeed = seed;
        QAction* item = Form->Menus().FindGameItem(game);
        ASSERT_NE(item, nullptr) << game;
        item->trigger();
        ASSERT_TRUE(WaitFor([this] { return !Engine().DealBusy; }, 10000));
        Hints().Observe();
    }

    void PressH() { PressKey(Form.get(), Qt::Key_H); }
};

} // namespace

TEST_F(THintsFixture, HintOutlinesTheSolversFirstMoveAndLeavesTheTableAsItWas)
{
    Deal("Freecell", 2);
    const int logged = Engine().SourceLogPos;
    const solver::TSolveResult known = SolveHere(Engine());
    ASSERT_EQ(known.Verdict, solver::TVerdict::Winnable);
    // The window finishes its layout after the first deal (the table settles a few pixels smaller).
    WaitFor([] { return false; }, 500);
    const QImage before = Form->CardTable()->grab().toImage();
    Hints().OutlineMilliseconds = 300;

    PressH();
    ASSERT_TRUE(WaitFor([this] { return Hints().OutlineShown(); }, 10000));
    ASSERT_EQ(Hints().HintActions().size(), 1u);
    EXPECT_EQ(Hints().HintActions().front(), known.Record.front());
    // The outline lies round the card the solver moves first.
    const solver::TSolverMove& first = known.Line.front();
    if (first.SourceKind == pkTableau) {
        const TCard* card = Engine().TableauPiles[first.SourcePile][first.SourceIndex];
        const QRect cardRect(card->X, card->Y, Engine().Deck().CardWidth, Engine().Deck().CardHeight);
        EXPECT_TRUE(Hints().Overlay()->From().contains(cardRect));
        EXPECT_EQ(Hints().Overlay()->From().top(), card->Y) << "the run starts at the card moved";
    }
    EXPECT_FALSE(Hints().Overlay()->To().isNull());
    EXPECT_NE(Form->CardTable()->grab().toImage(), before) << "the outline shows";

    ASSERT_TRUE(WaitFor([this] { return !Hints().OutlineShown(); }, 5000));
    EXPECT_EQ(Form->CardTable()->grab().toImage(), before) << "pixel for pixel as it was";
    EXPECT_EQ(Engine().SourceLogPos, logged) << "a hint alone moves nothing";
}

TEST_F(THintsFixture, SecondHWhileTheOutlineShowsPlaysTheMove)
{
    Deal("Freecell", 2);
    Hints().OutlineMilliseconds = 60000;
    const int points = Engine().Points;
    PressH();
    ASSERT_TRUE(WaitFor([this] { return Hints().OutlineShown(); }, 10000));
    const solver::TRecordAction action = Hints().HintActions().front();
    const int logged = Engine().SourceLogPos;
    PressH();
    EXPECT_FALSE(Hints().OutlineShown());
    ASSERT_GE(Engine().SourceLogPos, logged + 4);
    // Recorded like a move by hand: kind, pile, position, drop point.
    const auto at = [this, logged](int k) { return std::stoi(Engine().SourceLog[std::size_t(logged + k)]); };
    EXPECT_EQ(at(0), action.Kind);
    EXPECT_EQ(at(1), action.Pile);
    EXPECT_EQ(at(2), action.Position);
    EXPECT_EQ(at(3), action.DropPoint);
    EXPECT_NE(Engine().Points, points - 666);
}

TEST_F(THintsFixture, HOnTheStartScreenKeepsItsLetterJump)
{
    ASSERT_TRUE(Form->StartPage().Active());
    PressH();
    const std::string row = Form->StartPage().StartScreen()->RowName(Form->StartPage().StartScreen()->Row());
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(std::toupper(static_cast<unsigned char>(row.front())), 'H');
    EXPECT_FALSE(Hints().Thinking());
    EXPECT_FALSE(Hints().OutlineShown());
}

TEST_F(THintsFixture, VerdictLabelFollowsTheMoves)
{
    Form->Menus().FindAction(Form->Menus().TopMenu(" Options "), "Show whether the game can be won")->trigger();
    // Budgets a loaded machine cannot spend before the answer: the deal is won in far fewer positions.
    Hints().VerdictMilliseconds = 60000;
    Hints().HintMilliseconds = 60000;
    Deal("Freecell", 3);
    QLabel* label = Form->Menus().VerdictLabel;
    ASSERT_TRUE(WaitFor([&] { return label->text() == "Can be won"; }, 60000)) << label->text().toStdString();

    Hints().OutlineMilliseconds = 60000;
    PressH();
    ASSERT_TRUE(WaitFor([this] { return Hints().OutlineShown(); }, 60000));
    PressH();
    Hints().Observe();
    EXPECT_EQ(label->text(), "") << "a move clears the verdict at once";
    EXPECT_TRUE(WaitFor([&] { return label->text() == "Can be won"; }, 60000)) << label->text().toStdString();

    Form->Menus().FindAction(Form->Menus().TopMenu(" Options "), "Show whether the game can be won")->trigger();
    EXPECT_EQ(label->text(), "");
}

// A careless player: fills the free cells first, then shuffles cards between
// the columns, never plays to a foundation. Two cells lose the deal soon.
std::optional<solver::TSolverMove> CarelessMove(const TEngine& engine, std::set<std::uint64_t>& seen)
{
    const solver::TSolverGame game = solver::MakeSolverGame(engine.Rules);
    const solver::TSolverState state(game, engine.Snapshot());
    std::vector<solver::TSolverMove> moves;
    solver::GenerateMoves(state, solver::TMoveSet::Player, moves);
    std::optional<solver::TSolverMove> chosen;
    for (const solver::TSolverMove& move : moves) {
        if (move.Type != solver::TMoveType::Drag || move.TargetKind == pkFoundation)
            continue;
        solver::TSolverState next(game, engine.Snapshot());
        solver::ApplyMove(next, move);
        if (seen.count(next.Key()) != 0)
            continue;
        if (!chosen || (move.TargetKind == pkReserve && chosen->TargetKind != pkReserve))
            chosen = move;
    }
    return chosen;
}

TEST_F(THintsFixture, DeadPositionOffersTheUndoToTheLastWinnablePosition)
{
    Deal("Freecell 8x2", 1);
    ASSERT_EQ(SolveHere(Engine()).Verdict, solver::TVerdict::Winnable);
    std::set<std::uint64_t> seen;
    int made = 0;
    int deadFor = 0;
    // Two more moves after the loss, so the undo has to reach over them.
    while (deadFor < 3 && made < 60) {
        const std::optional<solver::TSolverMove> move = CarelessMove(Engine(), seen);
        if (!move && deadFor > 0)
            break;
        ASSERT_TRUE(move.has_value()) << "no careless move left after " << made;
        const solver::TSolverGame game = solver::MakeSolverGame(Engine().Rules);
        const solver::TSolverState state(game, Engine().Snapshot());
        for (const solver::TRecordAction& action : solver::RecordOf(state, *move))
            Engine().MakeMove(action.Kind, action.Pile, action.DropPoint, action.Position);
        ASSERT_TRUE(WaitFor([this] { return !Engine().DealBusy; }, 5000));
        Hints().Observe();
        seen.insert(solver::TSolverState(game, Engine().Snapshot()).Key());
        ++made;
        if (deadFor > 0 || SolveHere(Engine(), 300'000).Verdict == solver::TVerdict::NotWinnable)
            ++deadFor;
    }
    ASSERT_GT(deadFor, 0) << "still not lost after " << made << " careless moves";
    ASSERT_EQ(SolveHere(Engine(), 300'000).Verdict, solver::TVerdict::NotWinnable);

    // Where the undo should land: the newest earlier position that can be won.
    int expected = 0;
    for (int back = 1; back <= made && expected == 0; ++back) {
        for (int n = 0; n < back; ++n)
            Engine().Undo();
        ASSERT_TRUE(WaitFor([this] { return !Engine().DealBusy; }, 5000));
        if (SolveHere(Engine()).Verdict == solver::TVerdict::Winnable)
            expected = back;
        for (int n = 0; n < back; ++n)
            Engine().Redo();
        ASSERT_TRUE(WaitFor([this] { return !Engine().DealBusy; }, 5000));
    }
    ASSERT_GE(expected, 1);
    RecordProperty("CarelessMoves", made);
    RecordProperty("MovesBack", expected);
    const int logged = Engine().HistoryPos;

    Hints().HintMilliseconds = 5000;
    PressH();
    ASSERT_TRUE(WaitFor([this] { return !Questions.isEmpty() || !Notices.isEmpty(); }, 60000));
    ASSERT_EQ(Questions.size(), 1) << Notices.join("; ").toStdString();
    const QString question = Questions.front();
    EXPECT_TRUE(question.startsWith("This game can no longer be won.")) << question.toStdString();
    EXPECT_TRUE(question.contains("A new move after an undo closes the game.")) << question.toStdString();
    const QRegularExpressionMatch match = QRegularExpression("\\((\\d+) moves back\\)").match(question);
    ASSERT_TRUE(match.hasMatch()) << question.toStdString();
    EXPECT_EQ(match.captured(1).toInt(), expected);

    // Yes was the answer: N undos, and the position reached can be won.
    EXPECT_LT(Engine().HistoryPos, logged);
    EXPECT_EQ(SolveHere(Engine()).Verdict, solver::TVerdict::Winnable);
    for (int n = 0; n < expected; ++n)
        Engine().Redo();
    EXPECT_EQ(Engine().HistoryPos, logged) << "exactly N moves were undone";
}

TEST_F(THintsFixture, PlayTheSolutionEndsWonAndCountsNothing)
{
    Deal("Freecell", 4);
    const auto before = DataFiles(Form->DataRoot());
    Hints().SolutionStepMilliseconds = 1;
    Hints().SolutionMilliseconds = 60000; // ample on a loaded machine
    GameItem("Play the Solution")->trigger();
    ASSERT_TRUE(WaitFor([this] { return Hints().PlayingSolution(); }, 60000));
    ASSERT_TRUE(WaitFor([this] { return !Hints().PlayingSolution(); }, 120000));
    EXPECT_TRUE(Engine().Snapshot().Won) << Engine().FoundationCards << " cards home after " << Engine().SourceLogPos;
    EXPECT_FALSE(Engine().GameOpen());
    EXPECT_TRUE(Form->windowTitle().contains("not counted")) << Form->windowTitle().toStdString();
    EXPECT_EQ(DataFiles(Form->DataRoot()), before) << "no statistics, no high score";
}

TEST_F(THintsFixture, AKeyStopsThePlayingSolution)
{
    Deal("Freecell", 5);
    Hints().SolutionStepMilliseconds = 200;
    GameItem("Play the Solution")->trigger();
    ASSERT_TRUE(WaitFor([this] { return Hints().PlayingSolution(); }, 20000));
    PressKey(Form.get(), Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([this] { return !Hints().PlayingSolution(); }, 2000));
    EXPECT_FALSE(Engine().Snapshot().Won);
    EXPECT_TRUE(Form->windowTitle().contains("not counted"));
}

// The search's compound "deal, then play the waste's top" is hinted as the
// click on the stock that the hint plays; any other move as it stands.
TEST(HintSteps, ACompoundDealAndPlayIsShownAsItsFirstClick)
{
    solver::TSolverMove play;
    play.SourceKind = pkWaste;
    play.TargetKind = pkTableau;
    play.TargetPile = 3;
    EXPECT_EQ(ShownMove(play), play);
    play.Deals = 2;
    const solver::TSolverMove shown = ShownMove(play);
    EXPECT_EQ(shown.Type, solver::TMoveType::StockDeal);
    EXPECT_EQ(shown.Deals, 0);
}

TEST(HintSteps, UndoStopsFollowTheEnginesGroupsOfMoves)
{
    // Three entries: a single move, then a move with two automoves (grouped as 102? no: the
    // newest entry's reference counts the entries one Undo takes back).
    const std::vector<std::string> history{"2", "0", "-1", "0",   // move
                                           "3", "0", "-2", "0",   // move
                                           "3", "1", "2", "0"};   // automove, taking two back
    EXPECT_EQ(UndoStops(history, 12), (std::vector<int>{4, 0}));
    EXPECT_EQ(UndoStops(history, 8), (std::vector<int>{4, 0}));
    EXPECT_EQ(UndoStops(history, 0), (std::vector<int>{}));
    // A reference of 0 takes nothing back: the walk stops instead of looping.
    EXPECT_EQ(UndoStops({"2", "0", "0", "0"}, 4), (std::vector<int>{}));
}

// A deal found with "Winnable Deals Only" is won by its own solution played
// through the engine, and its seed deals the same position again.
TEST_F(THintsFixture, WinnableOnlyDealReplaysAsWonThroughItsSolution)
{
    // Time for many seeds on a loaded machine, but a short one for each: a deal
    // proved quickly is also solved quickly below (the seeds are random).
    Form->WinnableDeals()->TotalMilliseconds = 60000;
    Form->WinnableDeals()->SeedMilliseconds = 3000;
    Form->Menus().FindAction(Form->Menus().TopMenu(" Options "), "Winnable Deals Only")->trigger();
    Form->Menus().FindGameItem("Freecell")->trigger();
    ASSERT_TRUE(WaitFor([this] { return !Engine().Rules.GameName.empty() && Engine().SourceLog.size() > 2 && !Engine().DealBusy; },
                        120000));
    EXPECT_FALSE(Form->windowTitle().contains("No deal proved")) << Form->windowTitle().toStdString();
    const std::string seed = Engine().SourceLog[1];
    const TPositionSnapshot dealt = Engine().Snapshot();
    const solver::TSolveResult solution = SolveHere(Engine());
    ASSERT_EQ(solution.Verdict, solver::TVerdict::Winnable);
    for (const solver::TRecordAction& action : solution.Record) {
        Engine().MakeMove(action.Kind, action.Pile, action.DropPoint, action.Position);
        ASSERT_TRUE(WaitFor([this] { return !Engine().DealBusy; }, 5000));
    }
    EXPECT_TRUE(Engine().Snapshot().Won);

    // The recorded seed is the whole deal: the game restarts with the same cards.
    Engine().Restart();
    ASSERT_TRUE(WaitFor([this] { return !Engine().DealBusy; }, 10000));
    EXPECT_EQ(Engine().SourceLog[1], seed);
    const TPositionSnapshot again = Engine().Snapshot();
    EXPECT_EQ(again.Tableau, dealt.Tableau);
}

TEST_F(THintsFixture, WinnableOnlyOutOfTimeDealsTheLastSeedAndSaysSo)
{
    Form->Menus().FindAction(Form->Menus().TopMenu(" Options "), "Winnable Deals Only")->trigger();
    Form->WinnableDeals()->TotalMilliseconds = 0;
    Form->Menus().FindGameItem("Freecell")->trigger();
    ASSERT_TRUE(WaitFor([this] { return Engine().SourceLog.size() > 2 && !Engine().DealBusy; }, 20000));
    EXPECT_TRUE(Form->windowTitle().contains("No deal proved winnable")) << Form->windowTitle().toStdString();

    // With the option off again the note goes with the next deal.
    Form->Menus().FindAction(Form->Menus().TopMenu(" Options "), "Winnable Deals Only")->trigger();
    GameItem("New Game")->trigger();
    ASSERT_TRUE(WaitFor([this] { return !Engine().DealBusy && Form->Menus().ToolBar->isEnabled(); }, 20000));
    EXPECT_FALSE(Form->windowTitle().contains("No deal proved")) << Form->windowTitle().toStdString();
}
