#include "catalogue/LayoutConstants.h"
#include "catalogue/Rules.h"

#include "platform/Trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <string>
#include <vector>

namespace {

// Records the trace while a test runs.
class TraceRecorder {
public:
    TraceRecorder()
    {
        platform::SetTraceSink([this](std::string_view line) { Lines.emplace_back(line); });
    }
    ~TraceRecorder() { platform::SetTraceSink({}); }
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;
    std::vector<std::string> Lines;
};

// A record with every field away from its default.
TGameRules BusyRules(const TCard* baseCard)
{
    TGameRules rules;
    rules.GameName = "Canfield";
    rules.HelpCode = "4p2c";
    rules.GameNumber = 1;
    rules.TableauCount = 4;
    rules.TableauRules = {roBuildDown, roDealPileByPile};
    rules.TableauDealCounts = {1, 2};
    rules.TableauFaceDownCounts = {0, 1};
    rules.TableauUndealtPiles = 2;
    rules.FoundationCount = 4;
    rules.FoundationRules = {roBuildUp};
    rules.FoundationBaseCard = baseCard;
    rules.ReserveCount = 13;
    rules.ReserveFaceUp = rules.ReserveFanned = rules.ReserveAllAvailable = true;
    rules.ReservePosition = {5, -1};
    rules.FreeCells = rules.CellsVertical = true;
    rules.CellDealCount = 3;
    rules.DeckCount = 2;
    rules.TurnCount = 3;
    rules.DeckPasses = 0;
    rules.DeckRules = {roDragFromDeck};
    rules.DeckPosition = {1, 2};
    rules.WastePosition = {3, 4};
    rules.ExceptCount = 1;
    rules.ExceptDealCounts = {16};
    rules.ExceptFaceUp = rules.ExceptPlaced = rules.ExceptSideways = true;
    rules.ExceptPositions = {{7, 8}};
    rules.FoundationPositions = {{9, 10}};
    rules.FoundationAngles = {1.5f};
    rules.TableauPositions = {{11, 12}};
    rules.GameOptions = {goFastDeal, goTightFan};
    return rules;
}

TEST(RuleOptionsTest, SetOperationsAcrossBothWords)
{
    TRuleOptions set{roBuildUp, roUnlimitedMoves, roClockInsert, roFoundationSideways};
    EXPECT_TRUE(set.Contains(roUnlimitedMoves)); // 63: last bit of the low word
    EXPECT_TRUE(set.Contains(roClockInsert));    // 64: first bit of the high word
    EXPECT_FALSE(set.Contains(roBuildDown));
    EXPECT_EQ(set.Count(), 4);
    set.Exclude(roClockInsert);
    EXPECT_FALSE(set.Contains(roClockInsert));
    EXPECT_TRUE(set.Contains(roUnlimitedMoves));
    EXPECT_EQ(set.Members(), (std::vector<TRuleOption>{roBuildUp, roUnlimitedMoves, roFoundationSideways}));
    EXPECT_EQ((set * TRuleOptions{roBuildUp, roSquared}), TRuleOptions{roBuildUp});
    EXPECT_EQ((set - TRuleOptions{roBuildUp}), (TRuleOptions{roUnlimitedMoves, roFoundationSideways}));
    EXPECT_TRUE(TRuleOptions{}.Empty());
    EXPECT_STREQ(RuleOptionName(roFoundationSideways), "roFoundationSideways");
    EXPECT_STREQ(RuleOptionName(roEmptyFromExcept), "roEmptyFromExcept");
    EXPECT_EQ(static_cast<int>(roEmptyFromExcept), 27);
    EXPECT_EQ(static_cast<int>(roPairsByRank), 58);
}

TEST(ClearRulesTest, ResetsTheRulesAndKeepsIdentityAndPositions)
{
    TraceRecorder trace;
    const TCard* const card = reinterpret_cast<const TCard*>(&trace); // any non-null reference
    TGameRules rules = BusyRules(card);
    rules.StockFromTop = true;

    EXPECT_TRUE(ClearRules(rules, false));

    TGameRules expected; // defaults, plus what ClearRules must leave alone
    expected.GameName = "Canfield";
    expected.HelpCode = "4p2c";
    expected.GameNumber = 1;
    expected.FoundationPositions = {{9, 10}};
    expected.TableauPositions = {{11, 12}};
    expected.DeckPosition = {1, 2};
    expected.WastePosition = {3, 4};
    expected.StockFromTop = true;
    EXPECT_EQ(rules, expected);
    EXPECT_EQ(rules.DeckPasses, 1);
    EXPECT_EQ(rules.FoundationBaseCard, nullptr);
    EXPECT_TRUE(rules.FoundationAngles.empty());
    EXPECT_EQ(trace.Lines, std::vector<std::string>{"Rules cleared."});
}

TEST(ClearRulesTest, QueryModeChangesNothingAndWritesNoTrace)
{
    TraceRecorder trace;
    const TCard* const card = reinterpret_cast<const TCard*>(&trace);
    TGameRules rules = BusyRules(card);
    const TGameRules before = rules;
    EXPECT_FALSE(ClearRules(rules, true));
    EXPECT_EQ(rules, before);
    EXPECT_TRUE(trace.Lines.empty());
}

TEST(LayoutConstantsTest, TruncatedFromTheScale)
{
    TLayoutConstants constants;
    SetConstantVariables(constants, 1, 1);
    EXPECT_EQ(constants, TLayoutConstants{});
    EXPECT_EQ(constants.ColumnStep, 102);
    EXPECT_EQ(constants.RowStep, 155);
    EXPECT_EQ(constants.SecondRowTop, 170);
    EXPECT_EQ(constants.WasteX, 117);

    SetConstantVariables(constants, 142.0f / 71, 192.0f / 96);
    EXPECT_EQ(constants.ColumnStep, 204);
    EXPECT_EQ(constants.RowStep, 310);
    EXPECT_EQ(constants.LeftMargin, 30);
    EXPECT_EQ(constants.TopMargin, 30);
    EXPECT_EQ(constants.ReserveLeft, 30);
    EXPECT_EQ(constants.SecondRowTop, 340);
    EXPECT_EQ(constants.WasteX, 234);
    EXPECT_EQ(constants.WasteY, 30);
    EXPECT_EQ(constants.AltWasteX, 30);
    EXPECT_EQ(constants.AltWasteY, 340);
    EXPECT_EQ(constants.FanStepBase, 40);
    EXPECT_EQ(constants.TightFanCut, 8);

    // Fractions are dropped, never rounded: 102 × 0.8 = 81.6, 15 × 0.8 = 12.
    SetConstantVariables(constants, 0.8f, 0.8f);
    EXPECT_EQ(constants.ColumnStep, 81);
    EXPECT_EQ(constants.RowStep, 124);
    EXPECT_EQ(constants.LeftMargin, 12);
    EXPECT_EQ(constants.FanStepBase, 16);
    EXPECT_EQ(constants.TightFanCut, 3);
}

TEST(LayoutConstantsTest, StretchTouchesOnlyStepsReserveAndSecondRow)
{
    TLayoutConstants constants;
    ModifyConstantVariables(constants, 1.5f, 1.3f);
    EXPECT_EQ(constants.ColumnStep, 153);
    EXPECT_EQ(constants.ReserveLeft, 22);  // 22.5
    EXPECT_EQ(constants.RowStep, 201);     // 201.5
    EXPECT_EQ(constants.SecondRowTop, 220); // 1.3f is just below 1.3
    EXPECT_EQ(constants.LeftMargin, 15);
    EXPECT_EQ(constants.TopMargin, 15);
    EXPECT_EQ(constants.WasteX, 117);
    EXPECT_EQ(constants.FanStepBase, 20);

    // Stretching over a layout with no width gives an infinite factor.
    ModifyConstantVariables(constants, std::numeric_limits<float>::infinity(), std::nanf(""));
    EXPECT_EQ(constants.ColumnStep, 0);
    EXPECT_EQ(constants.RowStep, 0);
}

TEST(LayoutConstantsTest, FanStepFollowsTightFanAndUpwardFans)
{
    const TLayoutConstants constants;
    TGameRules rules;
    EXPECT_EQ(FanStep(constants, rules), 20);
    rules.GameOptions.Include(goTightFan);
    EXPECT_EQ(FanStep(constants, rules), 16);
    rules.TableauRules.Include(roFanUpward);
    EXPECT_EQ(FanStep(constants, rules), -16);
}

} // namespace
