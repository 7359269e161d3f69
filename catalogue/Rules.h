#pragma once

#include <QPoint>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class TCard;

// The numbered rule options. The ordinals are part of the game data and of
// every game's option lists: never renumber them. Ordinal 5 carries no rule.
enum TRuleOption : std::uint8_t {
    roBuildUp = 0,
    roBuildDown = 1,
    roBuildUpOrDown = 2,
    roKingOnAce = 3,
    roAceOnKing = 4,
    roUnused5 = 5,
    roBuildHigher = 6,
    roBuildLower = 7,
    roSameSuit = 8,
    roAlternateColour = 9,
    roAnySuitDrop = 10,
    roSameColour = 11,
    roOtherSuit = 12,
    roSquared = 13,
    roFanOnDrop = 14,
    roFanUpward = 15,
    roEmptyBaseRank = 16,
    roEmptyFromReserve = 17,
    roEmptyFromTableau = 18,
    roEmptyFromWaste = 19,
    roEmptyAce = 20,
    roEmptyKing = 21,
    roEmptyTwo = 22,
    roEmptyJack = 23,
    roPreplaceAll = 24,
    roPreplaceOne = 25,
    roRefillFromStock = 26,
    roEmptyFromExcept = 27,
    roPreplaceTwo = 28,
    roPreplaceSuit3Ace = 29,
    roFirstCardSetsBase = 30,
    roEachCardSetsBase = 31,
    roWasteAnyTime = 32,
    roNoBuildFromReserve = 33,
    roNoBuildFromTableau = 34,
    roNoBuildFromWaste = 35,
    roNoBuildFromStock = 36,
    roMoveFaceUpGroups = 37,
    roMoveWholePile = 38,
    roMoveSequences = 39,
    roDealRows = 40,
    roDealFaceUp = 41,
    roDealFaceDown = 42,
    roDealPileByPile = 43,
    roRefillEmpty = 44,
    roDragFromDeck = 45,
    roWasteAltPosition = 46,
    roDeckAltPosition = 47,
    roDeckLow = 48,
    roDeckAtPosition = 49,
    roNoDropWhileStock = 50,
    roTakeFromFoundation = 51,
    roKingToBottom = 52,
    roNotDropTarget = 53,
    roFoundationSuitRun = 54,
    roFanSideways = 55,
    roMaxThree = 56,
    roNoDragAndDrop = 57,
    roPairsByRank = 58,
    roSelectByHighlight = 59,
    roAutoFit = 60,
    roNoBuildOnCards = 61,
    roDealBySuit = 62,
    roUnlimitedMoves = 63,
    roClockInsert = 64,
    roDealToFoundations = 65,
    roAngledFoundations = 66,
    roRankIsPileIndex = 67,
    roNoUndo = 68,
    roStockSpecial = 69,
    roNoTurnAnimation = 70,
    roNoAutomove = 71,
    roFoundationSideways = 72,
};

inline constexpr int RuleOptionCount = 73;

// A set of rule options: `Rules.Contains(roSameSuit)` reads as "roSameSuit in
// Rules". Literal and constexpr so the game table can hold sets as data.
class TRuleOptions {
public:
    constexpr TRuleOptions() = default;
    constexpr TRuleOptions(std::initializer_list<TRuleOption> options)
    {
        for (const TRuleOption option : options)
            Include(option);
    }

    [[nodiscard]] constexpr bool Contains(TRuleOption option) const
    {
        return (Word(option) & Bit(option)) != 0;
    }
    constexpr void Include(TRuleOption option) { Word(option) |= Bit(option); }
    constexpr void Exclude(TRuleOption option) { Word(option) &= ~Bit(option); }
    [[nodiscard]] constexpr bool Empty() const { return Low == 0 && High == 0; }
    [[nodiscard]] int Count() const;
    // The members in ascending ordinal order.
    [[nodiscard]] std::vector<TRuleOption> Members() const;

    constexpr TRuleOptions& operator+=(const TRuleOptions& other)
    {
        Low |= other.Low;
        High |= other.High;
        return *this;
    }
    constexpr TRuleOptions& operator-=(const TRuleOptions& other)
    {
        Low &= ~other.Low;
        High &= ~other.High;
        return *this;
    }
    friend constexpr TRuleOptions operator+(TRuleOptions a, const TRuleOptions& b) { return a += b; }
    friend constexpr TRuleOptions operator-(TRuleOptions a, const TRuleOptions& b) { return a -= b; }
    friend constexpr TRuleOptions operator*(TRuleOptions a, const TRuleOptions& b)
    {
        a.Low &= b.Low;
        a.High &= b.High;
        return a;
    }
    friend constexpr bool operator==(const TRuleOptions&, const TRuleOptions&) = default;

private:
    static constexpr std::uint64_t Bit(TRuleOption option)
    {
        return std::uint64_t{1} << (static_cast<unsigned>(option) % 64);
    }
    constexpr std::uint64_t& Word(TRuleOption option) { return option < 64 ? Low : High; }
    [[nodiscard]] constexpr std::uint64_t Word(TRuleOption option) const { return option < 64 ? Low : High; }

    std::uint64_t Low = 0;
    std::uint64_t High = 0;
};

enum TGameOption : std::uint8_t {
    goFastDeal = 0,
    goTightFan = 1,
};

class TGameOptions {
public:
    constexpr TGameOptions() = default;
    constexpr TGameOptions(std::initializer_list<TGameOption> options)
    {
        for (const TGameOption option : options)
            Include(option);
    }
    [[nodiscard]] constexpr bool Contains(TGameOption option) const { return (Bits & Bit(option)) != 0; }
    constexpr void Include(TGameOption option) { Bits |= Bit(option); }
    constexpr void Exclude(TGameOption option) { Bits &= static_cast<std::uint8_t>(~Bit(option)); }
    [[nodiscard]] constexpr bool Empty() const { return Bits == 0; }
    friend constexpr bool operator==(const TGameOptions&, const TGameOptions&) = default;

private:
    static constexpr std::uint8_t Bit(TGameOption option)
    {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(option));
    }
    std::uint8_t Bits = 0;
};

// Pile kinds as the move routines and the move history name them.
enum TPileKind : int {
    pkStock = 0,
    pkReserve = 1,
    pkTableau = 2,
    pkFoundation = 3,
    pkWaste = 4,
    pkExcept = 5,
    pkStockDeal = 6, // history only: a deal by a click on the stock
    pkRedeal = 7,    // history only: a redeal
};

// Every rule variable of the game in play. A game definition is the only
// writer (besides the two run-time changes the engine makes: goTightFan on a
// small screen and roDealPileByPile on a gathering redeal).
struct TGameRules {
    // Game identity
    std::string GameName;
    std::string HelpCode;
    int GameNumber = 0;

    // Tableau
    int TableauCount = 0;
    TRuleOptions TableauRules;
    std::vector<int> TableauDealCounts;     // empty: one card per pile
    std::vector<int> TableauFaceDownCounts; // empty: only the last dealt card face up
    int TableauUndealtPiles = 0;

    // Foundations
    int FoundationCount = 0;
    TRuleOptions FoundationRules;
    const TCard* FoundationBaseCard = nullptr; // a card of the pack; never owned here

    // Reserve
    int ReserveCount = 0;
    bool ReserveFaceUp = false;
    bool ReserveFanned = false;
    bool ReserveAllAvailable = false;
    QPoint ReservePosition{0, 0};
    bool FreeCells = false;
    bool CellsVertical = false;
    int CellDealCount = 0;

    // Stock and waste
    int DeckCount = 0; // 2 means two packs; anything else one
    int TurnCount = 0;
    int DeckPasses = 1; // 0 = unlimited
    TRuleOptions DeckRules;
    QPoint DeckPosition;  // not reset by ClearRules
    QPoint WastePosition; // not reset by ClearRules

    // Extra piles
    int ExceptCount = 0;
    std::vector<int> ExceptDealCounts;
    bool ExceptFaceUp = false;
    bool ExceptPlaced = false;
    std::vector<QPoint> ExceptPositions;
    bool ExceptSideways = false;

    // Pile positions (not reset by ClearRules except the angles)
    std::vector<QPoint> FoundationPositions; // at least FoundationCount entries
    std::vector<float> FoundationAngles;     // empty, or one per foundation
    std::vector<QPoint> TableauPositions;    // TableauCount entries

    TGameOptions GameOptions;

    // Burleigh's stock-turn switch: its first stock turn takes the top card.
    // Set by that game's definition; the stock click flips it as it plays.
    bool StockFromTop = false;

    friend bool operator==(const TGameRules&, const TGameRules&) = default;
};

// Resets the rule variables to their defaults, leaving the game's identity,
// the tableau and foundation positions and the stock and waste positions
// alone. In query mode it changes nothing and returns false; otherwise it
// writes the trace line and returns true, and the caller resets its own
// run-time values that go with the rules (the empty-cell count and the stock
// pass counter).
bool ClearRules(TGameRules& rules, bool queryMode);

// Names as they appear in this program's listings, e.g. "roBuildUp".
const char* RuleOptionName(TRuleOption option);
