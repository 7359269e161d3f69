#pragma once

#include "catalogue/LayoutConstants.h"
#include "catalogue/Notation.h"
#include "catalogue/Rules.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Everything one game assigns to the rule record. Positions stay symbolic and
// are evaluated over the layout constants each time the definition is
// applied, so a change of card size or an auto-fit moves them.
struct TGameDefinition {
    std::string GameName;
    std::string HelpCode;
    int GameNumber = 0;

    int DeckCount = 0;
    int TurnCount = 0;
    int DeckPasses = 1;
    TRuleOptions DeckRules;
    std::optional<TPositionTerm> DeckPosition;
    std::optional<TPositionTerm> WastePosition;

    int TableauCount = 0;
    TRuleOptions TableauRules;
    std::vector<int> TableauDealCounts;
    std::vector<int> TableauFaceDownCounts;
    int TableauUndealtPiles = 0;
    std::vector<TPositionTerm> TableauPositions;

    int FoundationCount = 0;
    TRuleOptions FoundationRules;
    std::vector<TPositionTerm> FoundationPositions;
    // Some games size their foundation positions beyond the foundations they
    // use; the unused entries are (0, 0).
    int FoundationPositionSlots = 0;
    std::vector<float> FoundationAngles;

    int ReserveCount = 0;
    bool ReserveFaceUp = false;
    bool ReserveFanned = false;
    bool ReserveAllAvailable = false;
    bool FreeCells = false;
    bool CellsVertical = false;
    int CellDealCount = 0;
    std::optional<TPositionTerm> ReservePosition; // none: (0, 0)

    int ExceptCount = 0;
    std::vector<int> ExceptDealCounts;
    bool ExceptFaceUp = false;
    bool ExceptPlaced = false;
    bool ExceptSideways = false;
    std::vector<TPositionTerm> ExceptPositions;

    TGameOptions GameOptions;
    bool StockFromTop = false;
};

// All 205 games: the named games in game-number order (Klondike's two
// variants in place of its row), then the custom free-cell family in menu
// order. Built once, on first use.
const std::vector<TGameDefinition>& GameDefinitions();

// By GameName, ignoring letter case; nullptr when there is no such game.
const TGameDefinition* FindGameDefinition(std::string_view gameName);

// Where a game's own part of its help page begins: "g" and the letters
// and digits of its name ("Freecell 6x2" is "gFreecell6x2").
std::string HelpAnchor(std::string_view gameName);

// Klondike's variants: 1 turns one card with one pass, 2 turns three with
// unlimited passes. Any other variant gives variant 1.
TGameDefinition KlondikeDefinition(int variant);

// The custom free-cell family: N tableau piles and M free cells.
TGameDefinition CustomFreecellDefinition(int piles, int cells);
// The combinations the menu offers, in menu order: {N, M}.
const std::vector<std::pair<int, int>>& CustomFreecellCombinations();

// What applying a definition needs from its caller (the engine).
struct TDefinitionContext {
    // Positions are evaluated over these.
    TLayoutConstants Layout;
    // The main window's Tag = 1: the rules are not cleared and the start
    // routine is expected only to load the game's preview.
    bool QueryMode = false;
    // Called right after the rules were cleared (not in query mode), for the
    // run-time values that go with them: the empty-cell count and the stock
    // pass counter.
    std::function<void()> RulesCleared;
    // The engine's StartGame. Called in query mode too, as the start routine
    // decides itself what a query does.
    std::function<void()> StartGame;
};

// Runs the definition: returns false at once when rules.GameName already is
// the game's name (the game in play is not restarted; "Loading" in GameName
// forces the run); otherwise ClearRules, assigns the identity, every rule
// variable, the position arrays, GameOptions and GameNumber, calls StartGame
// and returns true. Every rule variable is written, defaults included, so a
// query never leaves another game's values behind; the run-time values
// (FoundationBaseCard and the engine's own) are only reset by ClearRules.
bool ApplyGameDefinition(const TGameDefinition& definition, TGameRules& rules,
                         const TDefinitionContext& context);

// The assignments alone, without the early return, ClearRules or StartGame.
void AssignGameDefinition(const TGameDefinition& definition, TGameRules& rules,
                          const TLayoutConstants& layout);

// The pseudo-name that makes a definition run although its game is in play.
inline constexpr std::string_view LoadingGameName = "Loading";
