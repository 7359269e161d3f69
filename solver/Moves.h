#pragma once

#include "solver/SolverState.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace solver {

enum class TMoveType : std::uint8_t {
    Drag,      // a card (and the cards on it) dropped on a pile
    StockDeal, // a click on the stock
    Redeal,    // the Redeal command
    Click,     // a click on a tableau card of a pair game
    Pair,      // two clicks that take a pair out of play (the search's own step)
};

// One move of the game. Its record is the engine's game-record action (or
// two for a pair), so a line of moves is a saved game.
//
// The source names the card picked up (with the cards on it) by the
// engine's pile kinds (pkTableau, pkReserve, ...), as the record names it:
//   SourcePile   the pile's number within its kind: the tableau pile, the
//                foundation, the extra pile. Kinds with a single pile name
//                the card instead, as the engine's record does: the reserve
//                the cell (free cells keep their places) or its top card's
//                index, the waste its top card's index, the stock 0.
//   SourceIndex  the card's index in that pile, bottom card 0 (the same
//                number as SourcePile for the reserve and the waste): for
//                a run its lowest card, so the cards from SourceIndex to
//                the top move; 0 for the stock's next card. For a Click or
//                a Pair, the clicked card's index in its tableau pile
//                (SecondPile and SecondIndex name a pair's other card).
// The target is TargetKind and TargetPile, and DropPoint the engine's drop
// point number for that pile (tableau piles, foundations, empty cells).
struct TSolverMove {
    TMoveType Type = TMoveType::Drag;
    std::int8_t SourceKind = 0;
    std::uint8_t SourcePile = 0;  // the pile (for a reserve card: its cell or index)
    std::uint8_t SourceIndex = 0; // the card's index in it
    std::int8_t TargetKind = 0;
    std::uint8_t TargetPile = 0;
    std::int8_t DropPoint = 0;
    std::uint8_t SecondPile = 0;  // a pair's second card
    std::uint8_t SecondIndex = 0;
    bool SetsBase = false;        // the drop sets the foundation base card
    // Stock clicks played before the move itself: the search's "deal k times,
    // then play the waste's top card" (or deal the stock out) as one step.
    std::uint8_t Deals = 0;
    // The stock dealt out and the waste turned over (the Redeal command)
    // before those clicks: a waste card played from the next pass of the cycle.
    bool Recycles = false;

    friend bool operator==(const TSolverMove&, const TSolverMove&) = default;
};

// An action of the game record: the arguments of the engine's MakeMove.
struct TRecordAction {
    int Kind = 0;
    int Pile = 0;
    int DropPoint = 0;
    int Position = 0;
    friend bool operator==(const TRecordAction&, const TRecordAction&) = default;
};

enum class TMoveSet {
    Player, // every action the engine accepts, one click at a time
    Search, // the same, with a pair game's two clicks as one step and no idle clicks
    // The search's moves with the stock's clicks folded into the waste plays
    // they serve ("deal k times, then play the waste's top card"). Where
    // dealing to the waste commutes with the other moves, the clicks come only
    // that way or as dealing the stock out before a redeal.
    Folded,
};

// Whether the stock and the waste are one cycle of cards the folded moves
// walk round: clicks fold (DealsCommute), the passes never end, and a redeal
// only turns the waste over. The depth-first pass then keys them as one
// cycle (TSolverState::KeyStockAsCycle).
bool StockTurnsInCycle(const TSolverState& state);

// Every move the engine would accept from `state`, in the engine's terms.
void GenerateMoves(const TSolverState& state, TMoveSet set, std::vector<TSolverMove>& moves);

// Plays a generated move. Every change is journalled: UndoMove takes it back.
void ApplyMove(TSolverState& state, const TSolverMove& move);

// The key of the position `move` leads to (what Key() gives after
// ApplyMove). A plain drag is keyed from the piles' kept shares without
// being played; other moves are played and taken back. The search keys
// every child this way and plays only those it has not met.
std::uint64_t KeyAfter(TSolverState& state, const TSolverMove& move);
// Whether KeyAfter keys `move` without playing it.
bool KeyedAhead(const TSolverState& state, const TSolverMove& move);
// KeyAfter's key where it needs no play, nothing where it does.
std::optional<std::uint64_t> KeyAhead(const TSolverState& state, const TSolverMove& move);

// The game-record actions of a move (two for a pair, the stock clicks first
// for a compound move).
std::vector<TRecordAction> RecordOf(const TSolverState& state, const TSolverMove& move);

// Whether `move` takes a card to a foundation where no other card can ever
// need it: every card that could be built on it in the tableau is home
// already. Such a move can be made at once without losing a win; the search
// then tries it alone.
bool IsSafeAutoMove(const TSolverState& state, const TSolverMove& move);

// Whether playing `move` could win the game; false only where the position
// it leads to is surely not won (the search then passes over a child it may
// not follow without playing it).
bool MayWin(const TSolverState& state, const TSolverMove& move);

// Whether the game is won in `state`.
inline bool IsWon(const TSolverState& state) { return state.Counters.Won; }

} // namespace solver
