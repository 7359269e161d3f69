#include "catalogue/GameDefinitions.h"

#include <string>

namespace {

std::string Column(int columns)
{
    // "L+6C" / "L-1C": the family's positions in the table's own notation.
    return std::string(columns < 0 ? "L-" : "L+") + std::to_string(columns < 0 ? -columns : columns) + "C";
}

} // namespace

TGameDefinition CustomFreecellDefinition(int piles, int cells)
{
    TGameDefinition definition;
    definition.GameName = "Freecell " + std::to_string(piles) + "x" + std::to_string(cells);
    definition.HelpCode = "2r1o";
    definition.GameNumber = 29;
    definition.GameOptions = {goFastDeal};
    definition.DeckCount = 1;
    definition.TurnCount = 0;
    definition.TableauCount = piles;
    definition.TableauRules = ParseRuleOptions("1 9 14 17 18 39 40 41");
    definition.FoundationCount = 4;
    definition.FoundationRules = ParseRuleOptions("0 8 20");
    definition.FreeCells = true;
    definition.ReserveCount = cells;

    // 52 div N each, and the first (52 mod N) + 1 piles one more: the request
    // is one card more than the pack, and the deal skips what it cannot give,
    // so the piles end with 52 div N and the first 52 mod N piles one more.
    if (piles > 0) {
        definition.TableauDealCounts.assign(static_cast<std::size_t>(piles), 52 / piles);
        for (int pile = 0; pile <= 52 % piles && pile < piles; ++pile)
            ++definition.TableauDealCounts[static_cast<std::size_t>(pile)];
    }

    // The tableau ends in column 9.
    for (int pile = 1; pile <= piles; ++pile)
        definition.TableauPositions.push_back(ParsePosition(Column(9 - piles + pile) + ",S"));

    // Cell k lies at X + (k+1)·C: up to six cells end in column 5; seven and
    // eight cells reach column 9.
    const int cellColumn = cells == 6 ? -1 : (cells < 7 ? -(cells - 5) : -(cells - 9));
    definition.ReservePosition = ParsePosition(Column(cellColumn) + ",T");

    if (cells <= 6) {
        for (int column = 6; column <= 9; ++column)
            definition.FoundationPositions.push_back(ParsePosition(Column(column) + ",T"));
    } else {
        for (const char* row : {"T", "T+R", "T+2R", "T+3R"})
            definition.FoundationPositions.push_back(ParsePosition("L+C," + std::string(row)));
    }
    definition.FoundationPositionSlots = static_cast<int>(definition.FoundationPositions.size());
    return definition;
}

const std::vector<std::pair<int, int>>& CustomFreecellCombinations()
{
    // 8×4 is plain Freecell, which has its own definition.
    static const std::vector<std::pair<int, int>> combinations = [] {
        struct TSpan {
            int Piles, FirstCells, LastCells;
        };
        static constexpr TSpan spans[] = {
            {4, 4, 8}, {5, 3, 8}, {6, 2, 8}, {7, 2, 8}, {8, 1, 3}, {8, 5, 8}, {9, 0, 6}, {10, 0, 6},
        };
        std::vector<std::pair<int, int>> list;
        for (const TSpan& span : spans)
            for (int cells = span.FirstCells; cells <= span.LastCells; ++cells)
                list.emplace_back(span.Piles, cells);
        return list;
    }();
    return combinations;
}
