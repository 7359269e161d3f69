// The solver's worker thread: jobs superseded, cancelled and torn down while
// a search runs. Built under the thread sanitizer too, where a data race
// between the window's thread and the search fails the run.
#include "support/WaitFor.h"
#include "shell/SolverWorker.h"

#include "catalogue/GameDefinitions.h"
#include "catalogue/Position.h"
#include "solver/Search.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <random>

namespace {

using testwait::WaitFor;

TGameRules RulesOf(const char* game)
{
    TGameRules rules;
    TDefinitionContext context;
    context.StartGame = [] {};
    const TGameDefinition* definition = FindGameDefinition(game);
    if (definition != nullptr)
        ApplyGameDefinition(*definition, rules, context);
    return rules;
}

// A Freecell deal made here, face up: 52 cards over eight columns, four empty cells.
TPositionSnapshot FreecellDeal(std::uint32_t seed)
{
    TCardCodes deck;
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value)
            deck.push_back(MakeCardCode(value, suit, true));
    std::mt19937 random(seed);
    std::shuffle(deck.begin(), deck.end(), random);
    TPositionSnapshot deal;
    deal.Tableau.resize(8);
    for (std::size_t i = 0; i < deck.size(); ++i)
        deal.Tableau[i % 8].push_back(deck[i]);
    deal.Foundations.resize(4);
    deal.Reserve.assign(4, NoCard);
    return deal;
}

struct TWorkerTest : testing::Test {
    solver::TSolverGame Game = solver::MakeSolverGame(RulesOf("Freecell"));
};

} // namespace

TEST_F(TWorkerTest, ANewJobCancelsTheRunningOneWhoseResultNeverArrives)
{
    TSolverWorker worker;
    std::atomic<bool> firstStarted{false};
    std::atomic<bool> firstCancelled{false};
    bool firstDone = false;
    bool secondDone = false;
    worker.Submit(
        [&](const std::atomic<bool>& cancel) {
            firstStarted = true;
            while (!cancel.load())
                std::this_thread::yield();
            firstCancelled = true;
        },
        [&] { firstDone = true; });
    ASSERT_TRUE(WaitFor([&] { return firstStarted.load(); }, 5000));
    worker.Submit([](const std::atomic<bool>&) {}, [&] { secondDone = true; });
    ASSERT_TRUE(WaitFor([&] { return secondDone; }, 5000));
    EXPECT_TRUE(firstCancelled.load());
    EXPECT_FALSE(firstDone);
    EXPECT_FALSE(worker.Busy());
}

// The window's thread cancels and hands over searches as fast as a player
// moves; only the last one reports, with a line that wins.
TEST_F(TWorkerTest, SearchesHandedOverAndCancelledInQuickSuccession)
{
    TSolverWorker worker;
    auto result = std::make_shared<solver::TSolveResult>();
    int reports = 0;
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        const TPositionSnapshot deal = FreecellDeal(std::uint32_t(round % 5));
        const bool last = round == 39;
        worker.Submit(
            [this, deal, result, last](const std::atomic<bool>& cancel) {
                solver::TSolveBudget budget;
                budget.MaxMilliseconds = 20000;
                budget.Cancel = &cancel;
                // Every search but the last outlasts the pause before it is
                // handed over, however fast the solver decides its deal.
                do {
                    *result = solver::Solve(Game, deal, budget);
                } while (!last && !cancel.load());
            },
            [&reports] { ++reports; });
        if (round % 3 == 0 && round < 39)
            worker.Cancel();
        QThread::usleep(std::uniform_int_distribution<unsigned>(0, 3000)(random));
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(WaitFor([&] { return !worker.Busy(); }, 60000));
    EXPECT_EQ(reports, 1);
    EXPECT_FALSE(result->Cancelled);
    EXPECT_EQ(result->Verdict, solver::TVerdict::Winnable);
    EXPECT_FALSE(result->Line.empty());
}

TEST_F(TWorkerTest, ClosingWhileASearchRunsStopsItAndReportsNothing)
{
    bool done = false;
    std::atomic<bool> started{false};
    {
        TSolverWorker worker;
        worker.Submit(
            [this, &started](const std::atomic<bool>& cancel) {
                started = true;
                solver::TSolveBudget budget; // no limit but the cancel flag
                budget.Cancel = &cancel;
                solver::Solve(Game, FreecellDeal(99), budget);
                while (!cancel.load())
                    std::this_thread::yield();
            },
            [&done] { done = true; });
        ASSERT_TRUE(WaitFor([&] { return started.load(); }, 5000));
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(done);
}
