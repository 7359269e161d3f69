#include "catalogue/Rules.h"

#include "platform/Trace.h"

#include <array>
#include <bit>
#include <utility>

int TRuleOptions::Count() const
{
    return std::popcount(Low) + std::popcount(High);
}

std::vector<TRuleOption> TRuleOptions::Members() const
{
    std::vector<TRuleOption> members;
    for (int n = 0; n < RuleOptionCount; ++n) {
        const auto option = static_cast<TRuleOption>(n);
        if (Contains(option))
            members.push_back(option);
    }
    return members;
}

bool ClearRules(TGameRules& rules, bool queryMode)
{
    if (queryMode)
        return false;

    // Only what a game definition always re-assigns survives: the identity,
    // the tableau and foundation positions and the stock and waste positions.
    const TGameRules defaults;
    TGameRules cleared = defaults;
    cleared.GameName = std::move(rules.GameName);
    cleared.HelpCode = std::move(rules.HelpCode);
    cleared.GameNumber = rules.GameNumber;
    cleared.FoundationPositions = std::move(rules.FoundationPositions);
    cleared.TableauPositions = std::move(rules.TableauPositions);
    cleared.DeckPosition = rules.DeckPosition;
    cleared.WastePosition = rules.WastePosition;
    cleared.StockFromTop = rules.StockFromTop;
    rules = std::move(cleared);

    platform::Trace("Rules cleared.");
    return true;
}

const char* RuleOptionName(TRuleOption option)
{
    static constexpr std::array<const char*, RuleOptionCount> names = {
        "roBuildUp", "roBuildDown", "roBuildUpOrDown", "roKingOnAce", "roAceOnKing", "roUnused5",
        "roBuildHigher", "roBuildLower", "roSameSuit", "roAlternateColour", "roAnySuitDrop",
        "roSameColour", "roOtherSuit", "roSquared", "roFanOnDrop", "roFanUpward", "roEmptyBaseRank",
        "roEmptyFromReserve", "roEmptyFromTableau", "roEmptyFromWaste", "roEmptyAce", "roEmptyKing",
        "roEmptyTwo", "roEmptyJack", "roPreplaceAll", "roPreplaceOne", "roRefillFromStock",
        "roEmptyFromExcept", "roPreplaceTwo", "roPreplaceSuit3Ace", "roFirstCardSetsBase",
        "roEachCardSetsBase", "roWasteAnyTime", "roNoBuildFromReserve", "roNoBuildFromTableau",
        "roNoBuildFromWaste", "roNoBuildFromStock", "roMoveFaceUpGroups", "roMoveWholePile",
        "roMoveSequences", "roDealRows", "roDealFaceUp", "roDealFaceDown", "roDealPileByPile",
        "roRefillEmpty", "roDragFromDeck", "roWasteAltPosition", "roDeckAltPosition", "roDeckLow",
        "roDeckAtPosition", "roNoDropWhileStock", "roTakeFromFoundation", "roKingToBottom",
        "roNotDropTarget", "roFoundationSuitRun", "roFanSideways", "roMaxThree", "roNoDragAndDrop",
        "roPairsByRank", "roSelectByHighlight", "roAutoFit", "roNoBuildOnCards", "roDealBySuit",
        "roUnlimitedMoves", "roClockInsert", "roDealToFoundations", "roAngledFoundations",
        "roRankIsPileIndex", "roNoUndo", "roStockSpecial", "roNoTurnAnimation", "roNoAutomove",
        "roFoundationSideways",
    };
    const auto index = static_cast<std::size_t>(option);
    return index < names.size() ? names[index] : "";
}
