#include "catalogue/GameDefinitions.h"
#include "catalogue/GameTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace {

// L 15, T 15, S 170, C 102, R 155 at scale 1.
TGameRules Load(std::string_view name, const TLayoutConstants& layout = {})
{
    const TGameDefinition* game = FindGameDefinition(name);
    EXPECT_NE(game, nullptr) << name;
    TGameRules rules;
    if (game)
        AssignGameDefinition(*game, rules, layout);
    return rules;
}

std::vector<int> Repeat(int count, int value)
{
    return std::vector<int>(static_cast<std::size_t>(count), value);
}

TEST(CatalogueTest, EveryGameOnceWithItsNumberAndHelpCode)
{
    const auto& games = GameDefinitions();
    ASSERT_EQ(games.size(), 205u);
    EXPECT_EQ(GameTable().size(), 158u);
    std::set<std::string> names;
    std::set<int> numbers;
    for (const TGameDefinition& game : games) {
        EXPECT_TRUE(names.insert(game.GameName).second) << game.GameName;
        numbers.insert(game.GameNumber);
        const bool longCode = game.GameName == "Osmosis" || game.GameName == "Aces Up";
        EXPECT_EQ(game.HelpCode.size(), longCode ? (game.GameName == "Osmosis" ? 5u : 6u) : 4u)
            << game.GameName;
    }
    EXPECT_EQ(numbers.size(), 158u);
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), 159);
    EXPECT_EQ(numbers.count(102), 0u);
    EXPECT_EQ(FindGameDefinition("klondike 2 [turn over 3]")->GameName, "Klondike 2 [Turn over 3]");
    EXPECT_EQ(FindGameDefinition(""), nullptr);
    EXPECT_EQ(FindGameDefinition("Klondike"), nullptr); // only its variants are games
}

TEST(CatalogueTest, ArraysHaveTheSizesTheEngineRelliesOn)
{
    for (const TGameDefinition& game : GameDefinitions()) {
        const TGameRules rules = Load(game.GameName);
        const auto tableau = static_cast<std::size_t>(rules.TableauCount);
        SCOPED_TRACE(game.GameName);
        EXPECT_EQ(rules.TableauPositions.size(), tableau);
        if (!rules.TableauDealCounts.empty()) {
            EXPECT_EQ(rules.TableauDealCounts.size(), tableau);
        }
        if (!rules.TableauFaceDownCounts.empty()) {
            EXPECT_EQ(rules.TableauFaceDownCounts.size(), tableau);
        }
        EXPECT_GE(rules.FoundationPositions.size(), static_cast<std::size_t>(rules.FoundationCount));
        EXPECT_EQ(rules.ExceptDealCounts.size(), static_cast<std::size_t>(rules.ExceptCount));
        EXPECT_EQ(rules.ExceptPositions.size(), static_cast<std::size_t>(rules.ExceptCount));
        if (!rules.FoundationAngles.empty()) {
            EXPECT_EQ(rules.FoundationAngles.size(), static_cast<std::size_t>(rules.FoundationCount));
        }
        // Tableau and cell markers share twenty slots.
        if (rules.FreeCells) {
            EXPECT_LE(rules.TableauCount + rules.ReserveCount, 20);
        }
        EXPECT_TRUE(rules.DeckCount == 1 || rules.DeckCount == 2);
    }
}

TEST(CatalogueTest, KlondikeVariantsShareEverythingButTurnAndPasses)
{
    const TGameRules one = Load("Klondike 1 [Turn over 1]");
    TGameRules three = Load("Klondike 2 [Turn over 3]");
    EXPECT_EQ(one.HelpCode, "1jap");
    EXPECT_EQ(three.HelpCode, "1jaq");
    EXPECT_EQ(one.GameNumber, 4);
    EXPECT_EQ(three.GameNumber, 4);
    EXPECT_EQ(one.TurnCount, 1);
    EXPECT_EQ(one.DeckPasses, 1);
    EXPECT_EQ(three.TurnCount, 3);
    EXPECT_EQ(three.DeckPasses, 0);
    EXPECT_EQ(one.TableauRules, (TRuleOptions{roBuildDown, roAlternateColour, roFanOnDrop, roEmptyKing,
                                              roMoveFaceUpGroups, roDealRows}));
    EXPECT_EQ(one.TableauDealCounts, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(one.FoundationRules, (TRuleOptions{roBuildUp, roSameSuit, roEmptyAce}));
    EXPECT_EQ(one.FoundationPositions, (std::vector<QPoint>{{219, 15}, {321, 15}, {423, 15}, {525, 15}}));
    EXPECT_EQ(one.TableauPositions.front(), QPoint(15, 170));
    EXPECT_EQ(one.TableauPositions.back(), QPoint(627, 170));
    EXPECT_EQ(one.GameOptions, TGameOptions{goFastDeal});
    three.GameName = one.GameName;
    three.HelpCode = one.HelpCode;
    three.TurnCount = one.TurnCount;
    three.DeckPasses = one.DeckPasses;
    EXPECT_EQ(three, one);
}

TEST(CatalogueTest, FreecellSpiderYukonCanfield)
{
    const TGameRules freecell = Load("Freecell");
    EXPECT_EQ(freecell.GameNumber, 29);
    EXPECT_TRUE(freecell.FreeCells);
    EXPECT_EQ(freecell.ReserveCount, 4);
    EXPECT_EQ(freecell.ReservePosition, QPoint(15, 15));
    EXPECT_EQ(freecell.TableauDealCounts, (std::vector<int>{7, 7, 7, 7, 6, 6, 6, 6}));
    EXPECT_EQ(freecell.FoundationPositions, (std::vector<QPoint>{{525, 15}, {627, 15}, {729, 15}, {831, 15}}));
    EXPECT_EQ(freecell.TableauPositions.front(), QPoint(117, 170));
    EXPECT_EQ(freecell.TableauPositions.back(), QPoint(831, 170));

    const TGameRules spider = Load("Spider");
    EXPECT_EQ(spider.DeckCount, 2);
    EXPECT_EQ(spider.TurnCount, -2);
    EXPECT_EQ(spider.FoundationCount, 8);
    EXPECT_EQ(spider.FoundationRules, (TRuleOptions{roBuildDown, roSameSuit, roEmptyKing, roFoundationSuitRun}));
    EXPECT_TRUE(spider.TableauRules.Contains(roAnySuitDrop));
    EXPECT_EQ(spider.TableauDealCounts, (std::vector<int>{6, 6, 6, 6, 5, 5, 5, 5, 5, 5}));
    EXPECT_EQ(spider.GameOptions, (TGameOptions{goFastDeal, goTightFan}));

    const TGameRules yukon = Load("Yukon");
    EXPECT_EQ(yukon.TableauDealCounts, (std::vector<int>{1, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(yukon.TableauFaceDownCounts, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(yukon.TableauRules.Contains(roDealPileByPile));
    EXPECT_EQ(yukon.FoundationPositions.front(), QPoint(321, 15));

    const TGameRules canfield = Load("Canfield");
    EXPECT_EQ(canfield.ReserveCount, 13);
    EXPECT_TRUE(canfield.ReserveFaceUp);
    EXPECT_FALSE(canfield.ReserveFanned);
    EXPECT_EQ(canfield.TurnCount, 3);
    EXPECT_EQ(canfield.DeckPasses, 0);
    EXPECT_TRUE(canfield.TableauDealCounts.empty());
    EXPECT_EQ(canfield.FoundationRules, (TRuleOptions{roBuildUp, roAceOnKing, roSameSuit, roEmptyBaseRank}));
    EXPECT_EQ(canfield.ReservePosition, QPoint(0, 0));

    const TGameRules flower = Load("Flower Garden");
    EXPECT_TRUE(flower.ReserveFaceUp && flower.ReserveFanned && flower.ReserveAllAvailable);
    EXPECT_FALSE(flower.FreeCells);
    const TGameRules eightOff = Load("Eight Off");
    EXPECT_EQ(eightOff.CellDealCount, 4);
    EXPECT_EQ(eightOff.FoundationPositions.back(), QPoint(15, 480));
    const TGameRules cone = Load("Cone of Silence");
    EXPECT_TRUE(cone.FreeCells && cone.CellsVertical);
    EXPECT_EQ(cone.ReservePosition, QPoint(15, 170));
    const TGameRules strategy = Load("Strategy");
    EXPECT_TRUE(strategy.TableauDealCounts.empty());
    EXPECT_EQ(strategy.TableauUndealtPiles, 8);
    EXPECT_EQ(strategy.DeckRules, TRuleOptions{roDragFromDeck});
    EXPECT_TRUE(strategy.GameOptions.Empty());
}

TEST(CatalogueTest, ClockDialAndOneFoundationCarryAngles)
{
    const TGameRules clock = Load("The Clock");
    EXPECT_EQ(clock.TableauCount, 0);
    EXPECT_EQ(clock.FoundationCount, 13);
    EXPECT_EQ(clock.FoundationRules, (TRuleOptions{roTakeFromFoundation, roClockInsert, roDealToFoundations,
                                                   roAngledFoundations, roRankIsPileIndex, roNoUndo,
                                                   roNoTurnAnimation}));
    ASSERT_EQ(clock.FoundationAngles.size(), 13u);
    EXPECT_FLOAT_EQ(clock.FoundationAngles[0], -0.5236f);
    EXPECT_FLOAT_EQ(clock.FoundationAngles[5], 3.1416f);
    EXPECT_FLOAT_EQ(clock.FoundationAngles[12], 0.0f);
    ASSERT_EQ(clock.FoundationPositions.size(), 13u);
    EXPECT_EQ(clock.FoundationPositions[0], QPoint(15 + 673, 15 + 23)); // rnd(673.2), rnd(23.25)
    EXPECT_EQ(clock.FoundationPositions[5], QPoint(525, 15 + 542));    // rnd(542.5): half to even
    EXPECT_EQ(clock.FoundationPositions[9], QPoint(15 + 245, 15 + 140)); // rnd(244.8), rnd(139.5)
    EXPECT_EQ(clock.FoundationPositions[12], QPoint(525, 15 + 271));

    const TGameRules dial = Load("The Dial");
    EXPECT_EQ(dial.TurnCount, 1);
    EXPECT_EQ(dial.DeckPasses, 3);
    EXPECT_EQ(dial.FoundationPositions, clock.FoundationPositions);
    EXPECT_FALSE(dial.FoundationRules.Contains(roDealToFoundations));

    const TGameRules one = Load("One Foundation");
    EXPECT_EQ(one.FoundationAngles, std::vector<float>{-1.5708f});
    EXPECT_EQ(one.FoundationPositions, std::vector<QPoint>{QPoint(423, 15 + 388)}); // rnd(387.5)
    EXPECT_EQ(one.TableauPositions.front(), QPoint(117, 15 + 194));
    EXPECT_EQ(one.DeckRules, TRuleOptions{roStockSpecial});

    const TGameRules burleigh = Load("Burleigh");
    EXPECT_TRUE(burleigh.StockFromTop);
    EXPECT_FALSE(Load("Canfield").StockFromTop);
}

TEST(CatalogueTest, PyramidsAndFans)
{
    const TGameRules pyramid = Load("Egyptian Pyramid");
    ASSERT_EQ(pyramid.TableauPositions.size(), 15u);
    EXPECT_EQ(pyramid.TableauPositions[0], QPoint(474, 0));
    EXPECT_EQ(pyramid.TableauPositions[14], QPoint(15 + 918 - 255, 560));
    EXPECT_EQ(pyramid.FoundationPositions[0], QPoint(321, 15 + 77));
    EXPECT_EQ(pyramid.TableauRules, (TRuleOptions{roRefillEmpty, roNotDropTarget}));
    EXPECT_EQ(pyramid.FoundationRules, (TRuleOptions{roBuildUp, roSameSuit, roEmptyAce, roPreplaceAll}));

    const TGameRules khedive = Load("Khedive");
    EXPECT_EQ(khedive.DeckCount, 2);
    ASSERT_EQ(khedive.TableauPositions.size(), 25u);
    EXPECT_EQ(khedive.TableauPositions[0], QPoint(15 + 408 + 51, 0));
    EXPECT_EQ(khedive.TableauPositions[16], QPoint(66, 560));
    EXPECT_EQ(khedive.TableauPositions[24], QPoint(15 + 816 + 51, 560));
    ASSERT_EQ(khedive.FoundationPositions.size(), 8u);
    EXPECT_EQ(khedive.FoundationPositions[6], QPoint(15, 170));

    const TGameRules blackHole = Load("Black Hole");
    EXPECT_EQ(blackHole.FoundationPositions, std::vector<QPoint>{QPoint(443, 15 + 232)}); // trunc(232.5)
    EXPECT_EQ(blackHole.DeckPosition, QPoint(443, 247));
    EXPECT_EQ(blackHole.TableauPositions.size(), 17u);
    EXPECT_EQ(blackHole.TableauPositions[7], QPoint(627, 170));
    EXPECT_EQ(blackHole.TableauDealCounts, Repeat(17, 3));
    EXPECT_EQ(blackHole.FoundationRules,
              (TRuleOptions{roBuildUpOrDown, roKingOnAce, roAceOnKing, roPreplaceOne, roPreplaceSuit3Ace}));

    const TGameRules fan = Load("Fan");
    std::vector<int> fanDeal = Repeat(17, 3);
    fanDeal.push_back(1);
    EXPECT_EQ(fan.TableauDealCounts, fanDeal);
    EXPECT_EQ(fan.TableauPositions[0], QPoint(15, 150));
    EXPECT_EQ(fan.TableauPositions[17], QPoint(423, 15 + 620 - 50));
    EXPECT_EQ(fan.FoundationPositions[3], QPoint(831, 5));
    EXPECT_EQ(fan.DeckRules, TRuleOptions{roDeckAltPosition});
    EXPECT_EQ(Load("Demon Fan").TableauDealCounts.back(), 2);
    EXPECT_EQ(Load("La Belle Lucie").TurnCount, -4);
    EXPECT_EQ(Load("Trefoil").TableauPositions.size(), 16u);

    const TGameRules osmosis = Load("Osmosis");
    EXPECT_EQ(osmosis.HelpCode, "osmos");
    EXPECT_EQ(osmosis.FoundationRules, (TRuleOptions{roSameSuit, roEmptyBaseRank, roFoundationSideways}));
    EXPECT_EQ(osmosis.DeckRules, (TRuleOptions{roWasteAltPosition, roDeckAltPosition, roDeckAtPosition}));
    EXPECT_EQ(osmosis.DeckPosition, QPoint(270, 170));
    EXPECT_EQ(osmosis.WastePosition, QPoint(270, 325));
    EXPECT_EQ(osmosis.TableauPositions.back(), QPoint(525, 480));
    EXPECT_EQ(osmosis.TableauDealCounts, Repeat(4, 4));
}

TEST(CatalogueTest, GridsCellsAndExtraPiles)
{
    const TGameRules concentration = Load("Concentration");
    ASSERT_EQ(concentration.TableauCount, 52);
    ASSERT_EQ(concentration.TableauPositions.size(), 52u);
    EXPECT_EQ(concentration.TableauPositions[0], QPoint(5, 15));
    EXPECT_EQ(concentration.TableauPositions[12], QPoint(5 + 12 * 92, 15));
    EXPECT_EQ(concentration.TableauPositions[13], QPoint(5, 170));
    EXPECT_EQ(concentration.TableauPositions[51], QPoint(5 + 12 * 92, 480));
    EXPECT_EQ(concentration.FoundationCount, 0);
    EXPECT_EQ(concentration.TableauRules, (TRuleOptions{roDealFaceDown, roNoDragAndDrop}));
    EXPECT_EQ(concentration.DeckRules, (TRuleOptions{roDeckAltPosition, roDeckLow}));

    const TGameRules holding = Load("Holding Pattern");
    EXPECT_EQ(holding.ExceptCount, 2);
    EXPECT_EQ(holding.ExceptDealCounts, (std::vector<int>{20, 20}));
    EXPECT_TRUE(holding.ExceptPlaced);
    EXPECT_FALSE(holding.ExceptFaceUp);
    EXPECT_EQ(holding.ExceptPositions, (std::vector<QPoint>{{15, 15}, {933, 15}}));
    EXPECT_EQ(holding.ReservePosition, QPoint(15, 635));
    EXPECT_EQ(holding.TableauPositions, (std::vector<QPoint>{{117, 15}, {219, 15}, {729, 15}, {831, 15}}));
    EXPECT_EQ(holding.TableauDealCounts, (std::vector<int>{3, 1, 1, 3}));

    const TGameRules obrai = Load("Obrai-Skai");
    EXPECT_EQ(obrai.ExceptCount, 1);
    EXPECT_EQ(obrai.ExceptDealCounts, std::vector<int>{16});
    EXPECT_TRUE(obrai.ExceptFaceUp && obrai.ExceptPlaced);
    EXPECT_EQ(obrai.ExceptPositions, std::vector<QPoint>{QPoint(15, 170)});
    EXPECT_EQ(obrai.ReservePosition, QPoint(933, 170));

    const TGameRules blitz = Load("Blitzkreig");
    EXPECT_EQ(blitz.DeckPasses, 5);
    EXPECT_EQ(blitz.ReservePosition, QPoint(270, 325));
    EXPECT_EQ(blitz.DeckPosition, QPoint(423, 170));
    EXPECT_EQ(blitz.WastePosition, QPoint(423, 480));
    EXPECT_EQ(blitz.DeckRules, (TRuleOptions{roWasteAltPosition, roDeckAltPosition, roDeckAtPosition}));

    const TGameRules brk = Load("Break 147");
    ASSERT_EQ(brk.TableauPositions.size(), 11u);
    EXPECT_EQ(brk.TableauPositions[2], QPoint(525, 15 + 310 - 77 - 40));
    EXPECT_EQ(brk.TableauPositions[4], QPoint(627, 15 + 310 - 155 - 40));
    EXPECT_EQ(brk.TableauPositions[10], QPoint(729, 15 + 775 - 232 - 40));
    EXPECT_EQ(brk.DeckPosition, QPoint(65, 285));
    EXPECT_EQ(brk.FoundationCount, 6);
    EXPECT_EQ(brk.FoundationRules, (TRuleOptions{roBuildUpOrDown, roKingOnAce, roAceOnKing, roSameColour,
                                                 roFirstCardSetsBase, roEachCardSetsBase}));

    const TGameRules daybreak = Load("Daybreak in Hell");
    EXPECT_EQ(daybreak.TableauPositions[0], QPoint(168, 15 + 155 + 77));
    EXPECT_EQ(daybreak.TableauPositions[1], QPoint(270, 15 + 154));
    EXPECT_EQ(daybreak.TableauPositions[2], QPoint(372, 15 + 77 + 38));
    EXPECT_EQ(daybreak.TableauPositions[3], QPoint(474, 92));
    EXPECT_EQ(daybreak.FoundationPositions[3], QPoint(933, 540));
    EXPECT_EQ(daybreak.TurnCount, -1);
    EXPECT_EQ(daybreak.TableauDealCounts, Repeat(7, 4));

    for (const char* castle : {"Beleaguered Castle", "Streets and Alleys"}) {
        const TGameRules rules = Load(castle);
        ASSERT_EQ(rules.FoundationPositions.size(), 8u) << castle;
        EXPECT_EQ(rules.FoundationPositions[0], QPoint(468, 15));
        EXPECT_EQ(rules.FoundationPositions[3], QPoint(468, 480));
        EXPECT_EQ(rules.FoundationPositions[4], QPoint(0, 0));
        EXPECT_EQ(rules.DeckPosition, QPoint(468, 15));
        EXPECT_EQ(rules.TableauPositions[4], QPoint(570, 15));
        EXPECT_TRUE(rules.TableauRules.Contains(roFanSideways));
    }
    EXPECT_EQ(Load("Aces Up").FoundationPositions.front(), QPoint(319, 15));
    EXPECT_EQ(Load("Doublets").TableauPositions[6], QPoint(15, 356));
    EXPECT_EQ(Load("Blondes and Brunettes").ReservePosition, QPoint(219, -1));
    EXPECT_EQ(Load("King Albert").ReservePosition, QPoint(0, -1));
    EXPECT_EQ(Load("King Albert").DeckPosition, QPoint(219, 15));
    EXPECT_EQ(Load("Four Colours").TableauDealCounts, (std::vector<int>{13, 13, 13, 13, 0, 0, 0}));
}

TEST(CatalogueTest, PositionsFollowTheScale)
{
    TLayoutConstants doubled;
    SetConstantVariables(doubled, 2, 2);
    const TGameRules klondike = Load("Klondike 1 [Turn over 1]", doubled);
    EXPECT_EQ(klondike.FoundationPositions.front(), QPoint(30 + 408, 30));
    EXPECT_EQ(klondike.TableauPositions.back(), QPoint(30 + 1224, 340));
    const TGameRules clock = Load("The Clock", doubled);
    EXPECT_EQ(clock.FoundationPositions[5], QPoint(30 + 1020, 30 + 1085)); // rnd(1085)
}

struct TCustomCase {
    int Piles;
    int Cells;
    std::vector<int> Deal;
    QPoint FirstPile;
    QPoint Cell;
    QPoint FirstFoundation;
    QPoint LastFoundation;
};

TEST(CatalogueTest, CustomFreecellFamily)
{
    const std::vector<TCustomCase> cases = {
        {4, 4, {14, 13, 13, 13}, {627, 170}, {117, 15}, {627, 15}, {933, 15}},
        {8, 1, {7, 7, 7, 7, 7, 6, 6, 6}, {219, 170}, {423, 15}, {627, 15}, {933, 15}},
        {9, 0, {6, 6, 6, 6, 6, 6, 6, 6, 5}, {117, 170}, {525, 15}, {627, 15}, {933, 15}},
        {10, 6, {6, 6, 6, 5, 5, 5, 5, 5, 5, 5}, {15, 170}, {-87, 15}, {627, 15}, {933, 15}},
        {7, 7, {8, 8, 8, 8, 7, 7, 7}, {321, 170}, {219, 15}, {117, 15}, {117, 480}},
        {5, 8, {11, 11, 11, 10, 10}, {525, 170}, {117, 15}, {117, 15}, {117, 480}},
    };
    for (const TCustomCase& c : cases) {
        const std::string name = "Freecell " + std::to_string(c.Piles) + "x" + std::to_string(c.Cells);
        SCOPED_TRACE(name);
        const TGameRules rules = Load(name);
        EXPECT_EQ(rules.HelpCode, "2r1o");
        EXPECT_EQ(rules.GameNumber, 29);
        EXPECT_EQ(rules.TableauCount, c.Piles);
        EXPECT_EQ(rules.ReserveCount, c.Cells);
        EXPECT_TRUE(rules.FreeCells);
        EXPECT_EQ(rules.TableauDealCounts, c.Deal);
        EXPECT_EQ(rules.TableauPositions.front(), c.FirstPile);
        EXPECT_EQ(rules.TableauPositions.back(), QPoint(933, 170)); // always ends in column 9
        EXPECT_EQ(rules.ReservePosition, c.Cell);
        EXPECT_EQ(rules.FoundationPositions.front(), c.FirstFoundation);
        EXPECT_EQ(rules.FoundationPositions.back(), c.LastFoundation);
        EXPECT_EQ(rules.TableauRules, Load("Freecell").TableauRules);
        EXPECT_EQ(rules.GameOptions, TGameOptions{goFastDeal});
    }
    EXPECT_EQ(CustomFreecellCombinations().size(), 46u);
    EXPECT_EQ(FindGameDefinition("Freecell 8x4"), nullptr);
    EXPECT_EQ(FindGameDefinition("Freecell 4x3"), nullptr);
}

TEST(ApplyGameDefinitionTest, SameGameIsNotRestartedButLoadingForcesARun)
{
    const TGameDefinition& klondike = *FindGameDefinition("Klondike 1 [Turn over 1]");
    TGameRules rules;
    int starts = 0;
    TDefinitionContext context;
    context.StartGame = [&] {
        ++starts;
        // Everything is assigned before the deal starts.
        EXPECT_EQ(rules.GameNumber, 4);
        EXPECT_EQ(rules.TableauPositions.size(), 7u);
    };
    EXPECT_TRUE(ApplyGameDefinition(klondike, rules, context));
    EXPECT_EQ(starts, 1);

    rules.TableauRules.Include(roDealPileByPile); // a run-time change must survive
    EXPECT_FALSE(ApplyGameDefinition(klondike, rules, context));
    EXPECT_EQ(starts, 1);
    EXPECT_TRUE(rules.TableauRules.Contains(roDealPileByPile));

    // The other variant is another game, although it shares the number.
    EXPECT_TRUE(ApplyGameDefinition(*FindGameDefinition("Klondike 2 [Turn over 3]"), rules, context));
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(rules.TurnCount, 3);

    rules.TableauRules.Include(roDealPileByPile);
    rules.GameName = std::string(LoadingGameName);
    EXPECT_TRUE(ApplyGameDefinition(klondike, rules, context));
    EXPECT_EQ(starts, 3);
    EXPECT_EQ(rules.GameName, "Klondike 1 [Turn over 1]");
    EXPECT_FALSE(rules.TableauRules.Contains(roDealPileByPile));
}

TEST(ApplyGameDefinitionTest, QueryDoesNotClearAndTheNextSelectionDoes)
{
    const TCard* const inPlay = reinterpret_cast<const TCard*>(&GameDefinitions());
    TGameRules rules;
    rules.FoundationBaseCard = inPlay;
    int cleared = 0;
    int starts = 0;
    TDefinitionContext query;
    query.QueryMode = true;
    query.RulesCleared = [&] { ++cleared; };
    query.StartGame = [&] { ++starts; };

    AssignGameDefinition(*FindGameDefinition("Freecell"), rules, {});
    EXPECT_TRUE(ApplyGameDefinition(*FindGameDefinition("Osmosis"), rules, query));
    EXPECT_EQ(cleared, 0);
    EXPECT_FALSE(rules.FreeCells); // nothing of the previous game is left over
    EXPECT_EQ(rules.ReserveCount, 0);
    EXPECT_EQ(starts, 1); // the start routine loads the preview in query mode
    EXPECT_EQ(rules.FoundationBaseCard, inPlay);
    EXPECT_EQ(rules.HelpCode, "osmos");

    rules.GameName.clear(); // what every query does afterwards
    TDefinitionContext select = query;
    select.QueryMode = false;
    EXPECT_TRUE(ApplyGameDefinition(*FindGameDefinition("Osmosis"), rules, select));
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(rules.FoundationBaseCard, nullptr);
    EXPECT_EQ(starts, 2);
}

} // namespace
