#include "catalogue/Odds.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(Odds, ReadsTheSurveyAndLeavesOutWhatDoesNotRead)
{
    const TOddsTable table = ParseOdds("game\tdeals\twinnable\tnotWinnable\tunknown\tbudgetStates\r\n"
                                       "Freecell\t1000\t999\t0\t1\t200000\r\n"
                                       "Klondike 1 [Turn over 1]\t200\t163\t20\t17\t500000\n"
                                       "Broken\t100\tmany\t0\t0\t1\n"
                                       "NoDeals\t0\t0\t0\t0\t1\n"
                                       "Short\t10\t5\n"
                                       "TooMany\t10\t11\t0\t0\t1\n");
    ASSERT_EQ(table.size(), 2u);
    const std::optional<TGameOdds> klondike = FindOdds(table, "Klondike 1 [Turn over 1]");
    ASSERT_TRUE(klondike);
    EXPECT_EQ(klondike->Deals, 200);
    EXPECT_EQ(klondike->Winnable, 163);
    EXPECT_EQ(klondike->BudgetStates, 500000);
    EXPECT_EQ(WinnablePercent(*klondike), 82); // 81.5 rounds up
    EXPECT_EQ(OddsSentence(*klondike), "About 82 % of deals can be won (200 deals solved, at most 500000 positions each)");
    EXPECT_FALSE(FindOdds(table, "Spider"));
    EXPECT_FALSE(FindOdds(table, "freecell")) << "names as in the catalogue, exactly";
}

TEST(Odds, MissingOrEmptyFileGivesNoOdds)
{
    EXPECT_TRUE(ReadOdds("/nonexistent/odds.tsv").empty());
    EXPECT_TRUE(ParseOdds("").empty());
    EXPECT_TRUE(ParseOdds("game\tdeals\twinnable\tnotWinnable\tunknown\tbudgetStates\n").empty());
}

TEST(Odds, ASurveyThatLeftManyDealsUndecidedClaimsNoShare)
{
    TGameOdds odds{"Canfield", 50, 0, 0, 50, 20000};
    EXPECT_EQ(OddsSentence(odds), "How many deals can be won is not known yet (50 deals tried, 50 left undecided at 20000 positions each)");
    odds = {"Yukon", 50, 23, 1, 26, 20000};
    EXPECT_EQ(OddsSentence(odds), "At least 46 % of deals can be won (50 deals tried, 26 left undecided at 20000 positions each)");
    odds = {"Freecell", 50, 45, 0, 5, 20000}; // a tenth undecided still reads as a share
    EXPECT_EQ(OddsSentence(odds), "About 90 % of deals can be won (50 deals solved, at most 20000 positions each)");
}
