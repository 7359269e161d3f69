#include "catalogue/Notation.h"

#include <gtest/gtest.h>

namespace {

TLayoutConstants OddConstants()
{
    // Odd steps so that C/2, R/2 and R/4 must drop a remainder.
    TLayoutConstants constants;
    constants.ColumnStep = 101;
    constants.RowStep = 157;
    return constants;
}

TEST(NotationTest, ExpressionsOverTheConstants)
{
    const TLayoutConstants base;
    EXPECT_EQ(EvaluateExpression("L+5C-C/2", base), 474);
    EXPECT_EQ(EvaluateExpression("T+4R-75", base), 560);
    EXPECT_EQ(EvaluateExpression("-1", base), -1);
    EXPECT_EQ(EvaluateExpression("L-C", base), -87);
    EXPECT_EQ(EvaluateExpression("trunc(1.5R)", base), 232); // 232.5

    const TLayoutConstants odd = OddConstants();
    EXPECT_EQ(EvaluateExpression("C/2", odd), 50);
    EXPECT_EQ(EvaluateExpression("2(C/2)", odd), 100);   // not 101
    EXPECT_EQ(EvaluateExpression("(2R)/2", odd), 157);
    EXPECT_EQ(EvaluateExpression("R/2+R/4", odd), 78 + 39);
    EXPECT_EQ(EvaluateExpression("T+2R-R/2-40", odd), 15 + 314 - 78 - 40);
    EXPECT_EQ(EvaluateExpression("L+6C-3(C/2)", odd), 15 + 606 - 150);
}

TEST(NotationTest, RoundingHalvesToEven)
{
    TLayoutConstants constants;
    EXPECT_EQ(EvaluateExpression("rnd(2.5C)", constants), 255);
    constants.ColumnStep = 101;
    EXPECT_EQ(EvaluateExpression("rnd(2.5C)", constants), 252); // 252.5
    constants.ColumnStep = 103;
    EXPECT_EQ(EvaluateExpression("rnd(2.5C)", constants), 258); // 257.5
    constants.RowStep = 155;
    EXPECT_EQ(EvaluateExpression("rnd(3.5R)", constants), 542); // 542.5
    EXPECT_EQ(EvaluateExpression("rnd(0.15R)", constants), 23);
    EXPECT_EQ(EvaluateExpression("rnd(3.35R)", constants), 519);
    EXPECT_EQ(EvaluateExpression("rnd(-2.5)", constants), -2);
}

TEST(NotationTest, RejectsMalformedExpressions)
{
    const TLayoutConstants constants;
    for (const char* bad : {"", "L+", "2.5C", "1.5R", "L+Q", "rnd(C", "L)", "C/0", "k", "1..2"})
        EXPECT_THROW(EvaluateExpression(bad, constants), ENotationError) << bad;
}

TEST(NotationTest, PositionListsExpandRangesInOrder)
{
    const TLayoutConstants constants;
    const auto terms = ParsePositionList("L+8C,T; L+kC,S k=2..4; L,T+R");
    const std::vector<QPoint> points = EvaluatePositions(terms, constants);
    EXPECT_EQ(points, (std::vector<QPoint>{{831, 15}, {219, 170}, {321, 170}, {423, 170}, {15, 170}}));

    // Two ranges: the first is the outer loop.
    const auto grid = EvaluatePositions(ParsePositionList("i,r r=0..1 i=0..2"), constants);
    EXPECT_EQ(grid, (std::vector<QPoint>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}));

    EXPECT_TRUE(ParsePositionList("-").empty());
    EXPECT_THROW(ParsePositionList("L+kC,T"), ENotationError);       // k without a range
    EXPECT_THROW(ParsePositionList("L+kC,T k=5..2"), ENotationError);
    EXPECT_THROW(ParsePositionList("L+C"), ENotationError);
    EXPECT_THROW(ParsePosition("L+C,"), ENotationError);

    // The terms stay symbolic: the same list follows a new scale.
    TLayoutConstants doubled;
    SetConstantVariables(doubled, 2, 2);
    EXPECT_EQ(EvaluatePosition(terms[1], doubled), QPoint(30 + 408, 340));
}

TEST(NotationTest, CountListsAndRuleNumbers)
{
    EXPECT_EQ(ParseCountList("1..7").Counts, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(ParseCountList("10×4").Counts, std::vector<int>(10, 4));
    EXPECT_EQ(ParseCountList("3,3,0").Counts, (std::vector<int>{3, 3, 0}));
    EXPECT_TRUE(ParseCountList("-").Counts.empty());
    const TCountList undealt = ParseCountList("- u8");
    EXPECT_TRUE(undealt.Counts.empty());
    EXPECT_EQ(undealt.Undealt, 8);
    EXPECT_THROW(ParseCountList("7..1"), ENotationError);
    EXPECT_THROW(ParseCountList("3,x"), ENotationError);

    EXPECT_EQ(ParseRuleOptions("0 8 20"), (TRuleOptions{roBuildUp, roSameSuit, roEmptyAce}));
    EXPECT_TRUE(ParseRuleOptions("-").Empty());
    EXPECT_THROW(ParseRuleOptions("73"), ENotationError);
    EXPECT_THROW(ParseRuleOptions("1 -2"), ENotationError);
}

} // namespace
