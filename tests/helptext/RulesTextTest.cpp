#include "tools/genhelp/RulesText.h"

#include "engine/EngineFixture.h"

#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>

#include <map>
#include <numeric>

namespace {

std::string AllText(const std::string& gameName)
{
    const TGameDefinition* game = FindGameDefinition(gameName);
    EXPECT_NE(game, nullptr) << gameName;
    if (game == nullptr)
        return {};
    std::string text;
    for (const TRulesSection& section : DescribeGame(*game).Sections) {
        text += "[" + section.Heading + "]\n";
        for (const std::string& paragraph : section.Paragraphs)
            text += paragraph + "\n";
    }
    return text;
}

#define EXPECT_SAYS(text, phrase) EXPECT_NE((text).find(phrase), std::string::npos) << "missing: " << (phrase) << "\n" << (text)
#define EXPECT_NOT_SAYS(text, phrase) EXPECT_EQ((text).find(phrase), std::string::npos) << "wrongly says: " << (phrase) << "\n" << (text)

// The texts of a dozen games, checked by hand against how they are played.
TEST(RulesText, KlondikeBothTurnOvers)
{
    const std::string one = AllText("Klondike 1 [Turn over 1]");
    EXPECT_SAYS(one, "Seven tableau piles, dealt from one to seven cards, one more on each pile. Only the top card of each pile lies face up.");
    EXPECT_SAYS(one, "The remaining 24 cards form the stock");
    EXPECT_SAYS(one, "Each foundation is started with an Ace.");
    EXPECT_SAYS(one, "Foundations are built up by one rank, in suit.");
    EXPECT_SAYS(one, "Tableau piles are built down by one rank, in alternating colours.");
    EXPECT_SAYS(one, "Only a King (with any cards on it) may fill an empty tableau pile.");
    EXPECT_SAYS(one, "turns its next card face up onto the waste");
    EXPECT_SAYS(one, "no redeal");
    EXPECT_NOT_SAYS(one, "Each redeal costs");
    const std::string three = AllText("Klondike 2 [Turn over 3]");
    EXPECT_SAYS(three, "turns three cards face up onto the waste");
    EXPECT_SAYS(three, "as often as you like");
    EXPECT_SAYS(three, "Each redeal costs 10 points.");
}

TEST(RulesText, FreecellAndACustomFreecell)
{
    const std::string freecell = AllText("Freecell");
    EXPECT_SAYS(freecell, "Four free cells, each holding one card.");
    EXPECT_SAYS(freecell, "Eight tableau piles: the first four piles have seven cards each and the last four six. All cards lie face up.");
    EXPECT_SAYS(freecell, "there is no stock");
    EXPECT_SAYS(freecell, "twice as many for each empty tableau pile that is not its target");
    EXPECT_SAYS(freecell, "a card from a free cell or a card or run from another tableau pile");
    const std::string custom = AllText("Freecell 10x3");
    EXPECT_SAYS(custom, "Three free cells");
    EXPECT_SAYS(custom, "Ten tableau piles: the first two piles have six cards each and the last eight five.");
    const std::string noCells = AllText("Freecell 9x0");
    EXPECT_NOT_SAYS(noCells, "free cell,");
}

TEST(RulesText, SpiderScorpionAndYukon)
{
    const std::string spider = AllText("Spider");
    EXPECT_SAYS(spider, "Two packs");
    EXPECT_SAYS(spider, "Build eight complete runs of thirteen cards, King down to Ace in one suit");
    EXPECT_SAYS(spider, "the first four piles have six cards each and the last six five. Only the top card of each pile lies face up.");
    EXPECT_SAYS(spider, "The remaining 50 cards form the stock");
    EXPECT_SAYS(spider, "built down by one rank, regardless of suit");
    EXPECT_SAYS(spider, "only cards of one suit move together");
    EXPECT_SAYS(spider, "cannot be dealt while any tableau pile is empty");
    EXPECT_NOT_SAYS(spider, "free cell");
    const std::string yukon = AllText("Yukon");
    EXPECT_SAYS(yukon, "the first pile has one card and the last six from six to eleven (one more on each). The top five cards of each pile lie face up");
    EXPECT_SAYS(yukon, "Any face-up card may be moved together with all the cards lying on it");
    EXPECT_SAYS(yukon, "there is no stock");
}

TEST(RulesText, TheClockOsmosisAndAcesUp)
{
    const std::string clock = AllText("The Clock");
    EXPECT_SAYS(clock, "dealt round the foundations, four cards to each");
    EXPECT_SAYS(clock, "one o'clock takes only Aces");
    EXPECT_SAYS(clock, "fourth King");
    EXPECT_SAYS(clock, "Moves cannot be undone");
    const std::string osmosis = AllText("Osmosis");
    EXPECT_SAYS(osmosis, "Four tableau piles, dealt four cards each. Only the top card of each pile lies face up.");
    EXPECT_SAYS(osmosis, "After the shuffle the top card of the stock is placed on the first foundation.");
    EXPECT_SAYS(osmosis, "in suit, in any order of rank");
    EXPECT_SAYS(osmosis, "only when a card of the same rank already lies on the foundation above");
    EXPECT_SAYS(osmosis, "turns three cards");
    const std::string acesUp = AllText("Aces Up");
    EXPECT_SAYS(acesUp, "Discard every card but the four Aces");
    EXPECT_SAYS(acesUp, "higher card of the same suit");
    EXPECT_SAYS(acesUp, "deals one card face up onto each tableau pile");
}

TEST(RulesText, PairGames)
{
    const std::string concentration = AllText("Concentration");
    EXPECT_SAYS(concentration, "52 tableau piles, dealt one card each. All cards lie face down.");
    EXPECT_SAYS(concentration, "played by clicking");
    EXPECT_SAYS(concentration, "turned face down again");
    const std::string pairs = AllText("Simple Pairs");
    EXPECT_SAYS(pairs, "Take all 52 cards off the table in pairs of the same rank.");
    EXPECT_SAYS(pairs, "Nine tableau piles, dealt one card each. The cards lie face up.");
    EXPECT_SAYS(pairs, "filled from the stock");
    EXPECT_NOT_SAYS(pairs, "turned face down again");
    EXPECT_SAYS(pairs, "it only fills the places emptied by pairs");
    EXPECT_NOT_SAYS(pairs, "waste");
}

TEST(RulesText, CanfieldGolfLikeGamesAndFourColours)
{
    const std::string canfield = AllText("Canfield");
    EXPECT_SAYS(canfield, "A reserve of thirteen cards, dealt face up in a squared pile.");
    EXPECT_SAYS(canfield, "every other foundation must be started with a card of that rank");
    EXPECT_SAYS(canfield, "an Ace may go on a King");
    EXPECT_SAYS(canfield, "filled at once with the top card of the reserve");
    // Refilled from the reserve while it lasts, a pile is left empty only once the reserve is gone.
    EXPECT_SAYS(canfield, "Once the reserve is used up, an empty tableau pile may be filled with the top card of the waste.");
    EXPECT_NOT_SAYS(canfield, "a card from the reserve");
    EXPECT_SAYS(canfield, "or the whole pile at once");
    const std::string oneFoundation = AllText("One Foundation");
    EXPECT_SAYS(oneFoundation, "The foundation is built up or down by one rank, regardless of suit.");
    EXPECT_SAYS(oneFoundation, "straight onto the foundation");
    EXPECT_SAYS(oneFoundation, "Cards are never played onto the tableau piles");
    const std::string blackHole = AllText("Black Hole");
    EXPECT_SAYS(blackHole, "the Ace of spades is taken out of the pack and placed on the foundation.");
    EXPECT_SAYS(blackHole, "an Ace may go on a King and a King on an Ace");
    EXPECT_SAYS(blackHole, "Seventeen tableau piles, dealt three cards each. All cards lie face up.");
    const std::string fourColours = AllText("Four Colours");
    EXPECT_SAYS(fourColours, "by suit");
    EXPECT_SAYS(fourColours, "No two cards of the same suit may lie in the free cells");
    EXPECT_SAYS(fourColours, "Runs of any length may be moved.");
}

TEST(RulesText, GatheringRedeals)
{
    const std::string lucie = AllText("La Belle Lucie");
    EXPECT_SAYS(lucie, "shuffles the cards");
    EXPECT_SAYS(lucie, "used twice");
    const std::string cruel = AllText("Cruel");
    EXPECT_SAYS(cruel, "without shuffling");
    EXPECT_SAYS(cruel, "as often as you like");
}

TEST(RulesText, AFaceUpStockIsCalledFaceUp)
{
    for (const char* name : {"Sir Tommy", "Strategy", "Lady Betty", "Fanny", "Fly", "Freespace", "Break 147"}) {
        SCOPED_TRACE(name);
        const std::string text = AllText(name);
        EXPECT_SAYS(text, "cards form the stock, face up");
        EXPECT_NOT_SAYS(text, "stock, face down");
    }
    EXPECT_SAYS(AllText("Klondike 1 [Turn over 1]"), "cards form the stock, face down.");
}

TEST(RulesText, UncoveredFaceDownCardsTurnUpWhereTheDealHidesCards)
{
    for (const char* name : {"Klondike 1 [Turn over 1]", "Spider", "Yukon", "Scorpion", "Osmosis"})
        EXPECT_SAYS(AllText(name), "A face-down card that is uncovered on top of a tableau pile is turned face up at once.");
    EXPECT_NOT_SAYS(AllText("Freecell"), "uncovered");
    // The pair games turn their cards by clicking, not by uncovering.
    EXPECT_NOT_SAYS(AllText("Concentration"), "uncovered on top");
}

TEST(RulesText, GamesWithoutUndoAndTheirScoring)
{
    for (const char* name : {"The Clock", "The Dial", "Concentration", "Doublets", "Simple Pairs"}) {
        SCOPED_TRACE(name);
        const std::string text = AllText(name);
        EXPECT_SAYS(text, "Moves cannot be undone");
        EXPECT_NOT_SAYS(text, "after an undo");
        EXPECT_NOT_SAYS(text, "Undo (Ctrl+Z)");
    }
    const std::string clock = AllText("The Clock");
    EXPECT_SAYS(clock, "so a move gains nothing");
    EXPECT_SAYS(clock, "Only a card that turns up on its own pile scores");
    EXPECT_NOT_SAYS(clock, "Each card played to a foundation scores");
    for (const char* name : {"Concentration", "Simple Pairs"})
        EXPECT_SAYS(AllText(name), "cancelling a selection 6 points");
    EXPECT_SAYS(AllText("Simple Pairs"), "Each card dealt from the stock to fill a place costs 1 point.");
    EXPECT_NOT_SAYS(AllText("Concentration"), "from the stock to fill");
    EXPECT_SAYS(AllText("Klondike 1 [Turn over 1]"), "A new move after an undo closes the game");
}

TEST(RulesText, ARunCountsOnceOnlyWhereRunsMove)
{
    EXPECT_SAYS(AllText("Freecell"), "(a run counts once)");
    EXPECT_SAYS(AllText("Yukon"), "(a run counts once)");
    for (const char* name : {"Beleaguered Castle", "Sir Tommy"}) {
        SCOPED_TRACE(name);
        const std::string text = AllText(name);
        EXPECT_SAYS(text, "Only the top card of each tableau pile may be moved.");
        EXPECT_NOT_SAYS(text, "run counts once");
    }
}

// Piles are counted in words, never as a row of figures.
TEST(RulesText, NoPageListsFigures)
{
    const QRegularExpression figures(R"(\d+, \d+)");
    for (const TGameDefinition& game : GameDefinitions()) {
        const std::string text = AllText(game.GameName);
        EXPECT_FALSE(figures.match(QString::fromStdString(text)).hasMatch()) << game.GameName << "\n" << text;
        EXPECT_NOT_SAYS(text, "in order, lie face down");
    }
}

TEST(RulesText, EveryGameTellsATurnALostGameAndAFewTips)
{
    for (const TGameDefinition& game : GameDefinitions()) {
        SCOPED_TRACE(game.GameName);
        std::map<std::string, std::size_t> paragraphs;
        for (const TRulesSection& section : DescribeGame(game).Sections)
            paragraphs[section.Heading] = section.Paragraphs.size();
        EXPECT_EQ(paragraphs["How a turn goes"], 1u);
        EXPECT_EQ(paragraphs["When the game is lost"], 1u);
        EXPECT_GE(paragraphs["Strategy"], 1u);
        EXPECT_LE(paragraphs["Strategy"], 3u);
    }
    const std::string klondike = AllText("Klondike 2 [Turn over 3]");
    EXPECT_SAYS(klondike, "click the stock to turn three cards onto the waste");
    EXPECT_SAYS(klondike, "Only a King can fill an empty pile");
    EXPECT_SAYS(AllText("Freecell"), "Free cells are scarce");
    EXPECT_SAYS(AllText("Spider"), "Build in suit whenever you can");
    EXPECT_SAYS(AllText("Spider"), "click the stock to deal a card onto every tableau pile");
    EXPECT_SAYS(AllText("The Clock"), "The game is lost when the fourth King turns up");
    EXPECT_SAYS(AllText("La Belle Lucie"), "Redeals are limited");
    // A game of one pass says so; one of endless redeals does not promise an end to the stock.
    EXPECT_SAYS(AllText("Klondike 1 [Turn over 1]"), "the stock is used up (there is no redeal)");
    EXPECT_SAYS(AllText("Klondike 2 [Turn over 3]"), "turning the stock again brings nothing new");
}

// The layout the help describes is the deal the engine makes, for every game.
class DealAgreement : public EngineTest {};

TEST_F(DealAgreement, EveryGamesDescribedDealIsTheEnginesDeal)
{
    for (const TGameDefinition& game : GameDefinitions()) {
        SCOPED_TRACE(game.GameName);
        Deal(game.GameName, 12345);
        const TDealOutcome described = WorkOutDeal(game);
        EXPECT_EQ(Engine->StockCount(), described.Stock);
        ASSERT_EQ(Engine->TableauPiles.size(), described.Cards.size());
        for (std::size_t p = 0; p < described.Cards.size(); ++p) {
            int cards = 0;
            int faceDown = 0;
            for (const TCard* card : Engine->TableauPiles[p])
                if (card != nullptr) {
                    ++cards;
                    faceDown += card->FaceUp ? 0 : 1;
                }
            EXPECT_EQ(cards, described.Cards[p]) << "pile " << p + 1;
            // The Four Colours deal sorts by suit; a partial pack would not share out evenly.
            EXPECT_EQ(faceDown, described.FaceDown[p]) << "pile " << p + 1;
        }
        int reserve = 0;
        for (const TCard* card : Engine->ReserveCards)
            reserve += card != nullptr ? 1 : 0;
        EXPECT_EQ(reserve, described.Reserve);
    }
}

} // namespace
