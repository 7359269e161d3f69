#include "catalogue/GameDefinitions.h"

#include "catalogue/GameTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

namespace {

// Games that size their foundation position array beyond what they use.
struct TPositionSlots {
    std::string_view GameName;
    int Slots;
};
constexpr TPositionSlots FoundationSlotOverrides[] = {
    {"Beleaguered Castle", 8},
    {"Streets and Alleys", 8},
};

void ParseReserve(std::string_view text, TGameDefinition& definition)
{
    text = TrimText(text);
    if (text.empty() || text == "-")
        return;
    const std::vector<std::string_view> words = SplitText(text, ' ');
    definition.ReserveCount = ParseInteger(words.front());
    for (std::size_t w = 1; w < words.size(); ++w) {
        const std::string_view flags = words[w];
        if (flags.starts_with('d')) {
            definition.CellDealCount = ParseInteger(flags.substr(1));
            continue;
        }
        for (const char flag : flags) {
            switch (flag) {
            case 'u': definition.ReserveFaceUp = true; break;
            case 'f': definition.ReserveFanned = true; break;
            case 'a': definition.ReserveAllAvailable = true; break;
            case 'c': definition.FreeCells = true; break;
            case 'v': definition.CellsVertical = true; break;
            default: throw ENotationError("unknown reserve flag in \"" + std::string(text) + "\"");
            }
        }
    }
}

TGameOptions ParseGameOptions(std::string_view text)
{
    TGameOptions options;
    text = TrimText(text);
    if (text == "-")
        return options;
    for (const char flag : text) {
        if (flag == 'f')
            options.Include(goFastDeal);
        else if (flag == 't')
            options.Include(goTightFan);
        else
            throw ENotationError("unknown game option in \"" + std::string(text) + "\"");
    }
    return options;
}

std::vector<float> ParseAngles(std::string_view text)
{
    std::vector<float> angles;
    for (const std::string_view word : SplitText(text, ' ')) {
        if (word.empty())
            continue;
        float angle = 0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), angle);
        if (error != std::errc() || end != word.data() + word.size())
            throw ENotationError("bad angle \"" + std::string(word) + "\"");
        angles.push_back(angle);
    }
    return angles;
}

std::string_view AfterPrefix(std::string_view text, std::string_view prefix)
{
    return TrimText(text.substr(prefix.size()));
}

// "extra piles 2, deal 2×20, all face up, at L,T" (the positions may go on
// in the clauses that follow).
void ParseExtraPiles(std::string_view clause, TGameDefinition& definition)
{
    const std::size_t at = clause.find(", at ");
    if (at == std::string_view::npos)
        throw ENotationError("extra piles without positions: \"" + std::string(clause) + "\"");
    const std::string_view head = clause.substr(0, at);
    for (const std::string_view part : SplitText(head, ',')) {
        if (part.starts_with("extra piles"))
            definition.ExceptCount = ParseInteger(AfterPrefix(part, "extra piles"));
        else if (part.starts_with("deal"))
            definition.ExceptDealCounts = ParseCountList(AfterPrefix(part, "deal")).Counts;
        else if (part == "all face up")
            definition.ExceptFaceUp = true;
        else
            throw ENotationError("unknown extra pile detail \"" + std::string(part) + "\"");
    }
    definition.ExceptPlaced = true;
    definition.ExceptPositions = ParsePositionList(clause.substr(at + 5));
}

void ParseExtras(std::string_view text, TGameDefinition& definition)
{
    text = TrimText(text);
    if (text.empty() || text == "-")
        return;
    bool inExtraPiles = false;
    std::string extraClause;
    for (const std::string_view clause : SplitText(text, ';')) {
        const bool keyword = clause.starts_with("reserve") || clause.starts_with("stock") ||
                             clause.starts_with("waste") || clause.starts_with("angles") ||
                             clause.starts_with("extra piles");
        if (inExtraPiles && !keyword) {
            extraClause += "; " + std::string(clause);
            continue;
        }
        inExtraPiles = false;
        if (clause.starts_with("stock-turn switch starts on")) {
            definition.StockFromTop = true;
        } else if (clause.starts_with("reserve")) {
            std::string_view position = AfterPrefix(clause, "reserve");
            if (position.starts_with('(') && position.ends_with(')'))
                position = position.substr(1, position.size() - 2);
            definition.ReservePosition = ParsePosition(position);
        } else if (clause.starts_with("stock")) {
            definition.DeckPosition = ParsePosition(AfterPrefix(clause, "stock"));
        } else if (clause.starts_with("waste")) {
            definition.WastePosition = ParsePosition(AfterPrefix(clause, "waste"));
        } else if (clause.starts_with("angles")) {
            definition.FoundationAngles = ParseAngles(AfterPrefix(clause, "angles"));
        } else if (clause.starts_with("extra piles")) {
            inExtraPiles = true;
            extraClause = std::string(clause);
        } else {
            throw ENotationError("unknown clause \"" + std::string(clause) + "\"");
        }
    }
    if (!extraClause.empty())
        ParseExtraPiles(extraClause, definition);
}

TGameDefinition DefinitionFromRow(const TGameRow& row)
{
    TGameDefinition definition;
    definition.GameName = row.Name;
    definition.HelpCode = row.HelpCode;
    definition.GameNumber = row.Number;
    definition.DeckCount = row.Packs;
    definition.TurnCount = row.Turn;
    definition.DeckPasses = row.Passes;
    definition.TableauCount = row.Tableau;
    definition.TableauRules = ParseRuleOptions(row.TableauRules);
    const TCountList deal = ParseCountList(row.Deal);
    definition.TableauDealCounts = deal.Counts;
    definition.TableauUndealtPiles = deal.Undealt;
    definition.TableauFaceDownCounts = ParseCountList(row.FaceDown).Counts;
    definition.FoundationCount = row.Foundations;
    definition.FoundationRules = ParseRuleOptions(row.FoundationRules);
    ParseReserve(row.Reserve, definition);
    definition.DeckRules = ParseRuleOptions(row.DeckRules);
    definition.GameOptions = ParseGameOptions(row.Options);
    definition.FoundationPositions = ParsePositionList(row.FoundationPositions);
    definition.TableauPositions = ParsePositionList(row.TableauPositions);
    ParseExtras(row.Extras, definition);
    definition.FoundationPositionSlots = static_cast<int>(definition.FoundationPositions.size());
    for (const TPositionSlots& extended : FoundationSlotOverrides)
        if (extended.GameName == definition.GameName)
            definition.FoundationPositionSlots = extended.Slots;
    return definition;
}

const TGameRow& KlondikeRow()
{
    for (const TGameRow& row : GameTable())
        if (std::string_view(row.Name) == "Klondike")
            return row;
    throw ENotationError("the game table has no Klondike row");
}

std::vector<TGameDefinition> BuildCatalogue()
{
    std::vector<TGameDefinition> games;
    for (const TGameRow& row : GameTable()) {
        if (std::string_view(row.Name) == "Klondike") {
            games.push_back(KlondikeDefinition(1));
            games.push_back(KlondikeDefinition(2));
        } else {
            games.push_back(DefinitionFromRow(row));
        }
    }
    for (const auto& [piles, cells] : CustomFreecellCombinations())
        games.push_back(CustomFreecellDefinition(piles, cells));
    return games;
}

// Game names are plain ASCII; folding those letters is all "ignoring case"
// needs here, and keeps the lookup cheap for the menu builder.
bool SameName(std::string_view a, std::string_view b)
{
    const auto fold = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&fold](char x, char y) { return fold(x) == fold(y); });
}

} // namespace

TGameDefinition KlondikeDefinition(int variant)
{
    TGameDefinition definition = DefinitionFromRow(KlondikeRow());
    const bool turnThree = variant == 2;
    definition.GameName = turnThree ? "Klondike 2 [Turn over 3]" : "Klondike 1 [Turn over 1]";
    definition.HelpCode = turnThree ? "1jaq" : "1jap";
    definition.TurnCount = turnThree ? 3 : 1;
    definition.DeckPasses = turnThree ? 0 : 1;
    return definition;
}

const std::vector<TGameDefinition>& GameDefinitions()
{
    static const std::vector<TGameDefinition> games = BuildCatalogue();
    return games;
}

std::string HelpAnchor(std::string_view gameName)
{
    std::string anchor = "g";
    for (const char c : gameName)
        if (std::isalnum(static_cast<unsigned char>(c)))
            anchor += c;
    return anchor;
}

const TGameDefinition* FindGameDefinition(std::string_view gameName)
{
    const std::vector<TGameDefinition>& games = GameDefinitions();
    const auto found = std::find_if(games.begin(), games.end(), [gameName](const TGameDefinition& game) {
        return SameName(game.GameName, gameName);
    });
    return found == games.end() ? nullptr : &*found;
}

void AssignGameDefinition(const TGameDefinition& definition, TGameRules& rules,
                          const TLayoutConstants& layout)
{
    rules.GameName = definition.GameName;
    rules.HelpCode = definition.HelpCode;

    rules.DeckCount = definition.DeckCount;
    rules.TurnCount = definition.TurnCount;
    rules.DeckPasses = definition.DeckPasses;
    rules.DeckRules = definition.DeckRules;
    rules.TableauCount = definition.TableauCount;
    rules.TableauRules = definition.TableauRules;
    rules.TableauDealCounts = definition.TableauDealCounts;
    rules.TableauFaceDownCounts = definition.TableauFaceDownCounts;
    rules.TableauUndealtPiles = definition.TableauUndealtPiles;
    rules.FoundationCount = definition.FoundationCount;
    rules.FoundationRules = definition.FoundationRules;
    rules.ReserveCount = definition.ReserveCount;
    rules.ReserveFaceUp = definition.ReserveFaceUp;
    rules.ReserveFanned = definition.ReserveFanned;
    rules.ReserveAllAvailable = definition.ReserveAllAvailable;
    rules.FreeCells = definition.FreeCells;
    rules.CellsVertical = definition.CellsVertical;
    rules.CellDealCount = definition.CellDealCount;
    rules.ExceptCount = definition.ExceptCount;
    rules.ExceptDealCounts = definition.ExceptDealCounts;
    rules.ExceptFaceUp = definition.ExceptFaceUp;
    rules.ExceptPlaced = definition.ExceptPlaced;
    rules.ExceptSideways = definition.ExceptSideways;
    if (definition.StockFromTop)
        rules.StockFromTop = true;

    // Positions, over the constants in force now.
    rules.ReservePosition =
        definition.ReservePosition ? EvaluatePosition(*definition.ReservePosition, layout) : QPoint(0, 0);
    if (definition.DeckPosition)
        rules.DeckPosition = EvaluatePosition(*definition.DeckPosition, layout);
    if (definition.WastePosition)
        rules.WastePosition = EvaluatePosition(*definition.WastePosition, layout);
    rules.TableauPositions = EvaluatePositions(definition.TableauPositions, layout);
    rules.FoundationPositions = EvaluatePositions(definition.FoundationPositions, layout);
    if (definition.FoundationPositionSlots > static_cast<int>(rules.FoundationPositions.size()))
        rules.FoundationPositions.resize(static_cast<std::size_t>(definition.FoundationPositionSlots),
                                         QPoint(0, 0));
    rules.FoundationAngles = definition.FoundationAngles;
    rules.ExceptPositions = EvaluatePositions(definition.ExceptPositions, layout);

    rules.GameOptions = definition.GameOptions;
    rules.GameNumber = definition.GameNumber;
}

bool ApplyGameDefinition(const TGameDefinition& definition, TGameRules& rules,
                         const TDefinitionContext& context)
{
    if (rules.GameName == definition.GameName)
        return false;
    if (ClearRules(rules, context.QueryMode) && context.RulesCleared)
        context.RulesCleared();
    AssignGameDefinition(definition, rules, context.Layout);
    if (context.StartGame)
        context.StartGame();
    return true;
}
