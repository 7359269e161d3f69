#pragma once

#include "catalogue/PlayRules.h"
#include "catalogue/Position.h"
#include "catalogue/Rules.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace solver {

// Two packs and a little room: no pile ever holds more.
inline constexpr int MaxStackCards = 112;

// A pile as a byte stack, bottom card first.
struct TStack {
    std::uint8_t Count = 0;
    std::array<TCardCode, MaxStackCards> Cards{};

    bool Empty() const { return Count == 0; }
    TCardCode Top() const { return Cards[Count - 1u]; }
    TCardCode& TopRef() { return Cards[Count - 1u]; }
    void Push(TCardCode card) { Cards[Count++] = card; }
    TCardCode Pop() { return Cards[--Count]; }
    void InsertAt(int index, TCardCode card);
    void EraseAt(int index);
};

// What a rule reads besides the piles. Kept whole for each move's undo.
struct TCounters {
    int Points = 0;
    std::int16_t FoundationCards = 0;
    std::int16_t PassesDone = 0;
    std::int8_t BaseValue = -1;
    bool RedealOffered = false;
    bool Won = false;
    bool DealPileByPile = false; // a gathering redeal switches the deal to pile by pile
    std::int8_t SelectedPile = -1;
    std::int8_t SelectedIndex = -1;
    bool StockFromTop = true;
    TCardCode LastDealt = NoCard;
    std::uint32_t RandSeed = 0;
};

// The rule facts of a game, worked out once from its rule record.
struct TSolverGame {
    TGameRules Rules;
    bool FourColours = false;
    bool AcesUp = false;
    bool TheClock = false;
    bool Burleigh = false;
    bool OneFoundation = false;
    bool ClickPlay = false;      // pairs are removed by clicking
    // The three games above the stock and win rules know by name, as those rules take them.
    playrules::TPlayGame Play() const { return {AcesUp, Burleigh, OneFoundation}; }
    bool MultiMove = false;      // runs, face-up groups or whole piles move as one
    int WinningCount = 52;       // foundation cards of a won game
    bool TableauDropTarget = true;
    bool FoundationDropTarget = true;
    // Which proof makes a card's move to its foundation safe (see IsSafeAutoMove).
    enum class TAutoProof : std::uint8_t { None, AlternateColour, SameSuit, AnySuit };
    TAutoProof AutoProof = TAutoProof::None;
    // What the drop judge can accept at most, for cheap refusals before it is
    // asked: by the identity (CodeIdentity) of a pile's top card, the
    // identities that fit on it by rank and suit; and the values an empty
    // pile can take, all values where the answer depends on more than the value.
    std::array<std::uint64_t, 64> TableauFits{};
    std::array<std::uint64_t, 64> FoundationFits{};
    // The same turned round: by a card's identity, the top identities it fits on.
    std::array<std::uint64_t, 64> TableauTopsFor{};
    std::array<std::uint64_t, 64> FoundationTopsFor{};
    // Whether a drop onto a card of a tableau pile or foundation depends on
    // the two cards' ranks and suits alone (and the pile not being the
    // card's own), so the tables above answer for the judge.
    bool TableauBuildsPlain = false;
    bool FoundationBuildsPlain = false;
    std::uint16_t TableauEmptyValues = 0xFFFF;
    std::uint16_t FoundationEmptyValues = 0xFFFF;
    // The judge's answer on an empty tableau pile or foundation as the values
    // it takes, by the source's pile kind (TPileKind), where that answer
    // depends on the card's value and its source alone (EmptyBySource...);
    // a run into an empty column is also measured against the room there.
    bool TableauEmptyBySourceKnown = false;
    bool FoundationEmptyBySourceKnown = false;
    std::array<std::uint16_t, 6> TableauEmptyBySource{};
    std::array<std::uint16_t, 6> FoundationEmptyBySource{};
    // RunLinkFits of the tableau rules as a table: by the identity of the
    // upper card, the identities of the cards it may lie on inside a run.
    std::array<std::uint64_t, 64> RunLinks{};
    bool RunLinkFits(TCardCode upper, TCardCode lower) const
    {
        return (RunLinks[CodeIdentity(upper)] >> CodeIdentity(lower)) & 1u;
    }
};

namespace keying {

constexpr std::uint64_t Mix(std::uint64_t x)
{
    x ^= x >> 31;
    x *= 0x7fb5d329728ea185ULL;
    x ^= x >> 27;
    x *= 0x81dadef4bc2dd44dULL;
    x ^= x >> 33;
    return x;
}

// One odd multiplier per place in a pile: a pile hashes to the sum of its
// cards' codes times their places' multipliers, a short loop with no chain
// from card to card. Mix() then spreads the sum before piles are combined.
constexpr std::array<std::uint64_t, MaxStackCards> MakePlaceWeights()
{
    std::array<std::uint64_t, MaxStackCards> weights{};
    for (std::size_t k = 0; k < weights.size(); ++k)
        weights[k] = Mix(0x2545F4914F6CDD1DULL + k) | 1;
    return weights;
}
inline constexpr std::array<std::uint64_t, MaxStackCards> PlaceWeights = MakePlaceWeights();

} // namespace keying

// Pile indices in TSolverState::Piles: tableau piles, foundations, extra
// piles, then the reserve, the waste and the stock.
struct TPileMap {
    int Tableau = 0;
    int Foundations = 0;
    int Except = 0;
    int FirstFoundation() const { return Tableau; }
    int FirstExcept() const { return Tableau + Foundations; }
    int ReserveIndex() const { return Tableau + Foundations + Except; }
    int WasteIndex() const { return ReserveIndex() + 1; }
    int StockIndex() const { return ReserveIndex() + 2; }
    int SharedIndex() const { return ReserveIndex() + 3; }
    int Count() const { return ReserveIndex() + 4; }
};

// The compact position the solver searches: every pile as a byte stack, the
// counters, and a journal that takes each move back exactly. The stock is
// kept with its next card on top (the end of the stack).
class TSolverState {
public:
    TSolverState(const TSolverGame& game, const TPositionSnapshot& snapshot);

    const TSolverGame& Game() const { return *GameRef; }
    const TPileMap& Map() const { return PileMap; }

    // A pile by its index among all piles (as Touch takes it).
    const TStack& Pile(int index) const { return Piles[static_cast<std::size_t>(index)]; }
    TStack& Tableau(int p) { return Piles[static_cast<std::size_t>(p)]; }
    const TStack& Tableau(int p) const { return Piles[static_cast<std::size_t>(p)]; }
    TStack& Foundation(int f) { return Piles[static_cast<std::size_t>(PileMap.FirstFoundation() + f)]; }
    const TStack& Foundation(int f) const { return Piles[static_cast<std::size_t>(PileMap.FirstFoundation() + f)]; }
    TStack& Except(int e) { return Piles[static_cast<std::size_t>(PileMap.FirstExcept() + e)]; }
    const TStack& Except(int e) const { return Piles[static_cast<std::size_t>(PileMap.FirstExcept() + e)]; }
    TStack& Reserve() { return Piles[static_cast<std::size_t>(PileMap.ReserveIndex())]; }
    const TStack& Reserve() const { return Piles[static_cast<std::size_t>(PileMap.ReserveIndex())]; }
    TStack& Waste() { return Piles[static_cast<std::size_t>(PileMap.WasteIndex())]; }
    const TStack& Waste() const { return Piles[static_cast<std::size_t>(PileMap.WasteIndex())]; }
    TStack& Stock() { return Piles[static_cast<std::size_t>(PileMap.StockIndex())]; }
    const TStack& Stock() const { return Piles[static_cast<std::size_t>(PileMap.StockIndex())]; }
    // The cards on the place the waste shares with a foundation, in the order they lie.
    TStack& Shared() { return Piles[static_cast<std::size_t>(PileMap.SharedIndex())]; }
    const TStack& Shared() const { return Piles[static_cast<std::size_t>(PileMap.SharedIndex())]; }
    int SharedFoundation() const { return SharedFoundationIndex; }
    // Whether a press on the top card of the waste or of foundation `f` reaches it.
    bool WasteTopReachable() const;
    bool FoundationTopReachable(int f) const;
    // Keeps the shared place in step when a card lands on or leaves the waste or its foundation.
    void SharedPlaced(TCardCode card);
    void SharedTaken(TCardCode card);
    int TableauCount() const { return PileMap.Tableau; }
    // Whether no tableau card lies face down.
    bool TableauFaceUp() const;
    // Whether the tableau piles' places are free of rules, so the key ignores their order.
    bool TableauPilesInterchangeable() const { return TableauInterchangeable; }
    // Whether the free cells are keyed as a set of cards: a card moved from one cell to another then changes nothing.
    bool CellsKeyedAsSet() const { return OrderFree(PileMap.ReserveIndex()); }
    int FoundationCount() const { return PileMap.Foundations; }
    int ExceptCount() const { return PileMap.Except; }
    int StockCount() const { return Stock().Count; }

    TCounters Counters;
    TCardCodes Removed; // the pair games' cards out of play (kept for snapshots only)

    // --- the journal: a move begins, touches piles before changing them, and ends ---
    void BeginMove();
    // Call before changing pile `index` within a move: its content is kept once per move.
    void Touch(int index);
    void TouchTableau(int p) { Touch(p); }
    void TouchFoundation(int f) { Touch(PileMap.FirstFoundation() + f); }
    void TouchExcept(int e) { Touch(PileMap.FirstExcept() + e); }
    void TouchReserve() { Touch(PileMap.ReserveIndex()); }
    void TouchWaste() { Touch(PileMap.WasteIndex()); }
    void TouchStock() { Touch(PileMap.StockIndex()); }
    void UndoMove();
    // Keeps the position as it stands and forgets how it was reached (no
    // move can be taken back after it), as decoding it would.
    void ForgetMoves()
    {
        Frames.clear();
        JournalSize = 0;
        LongCards.clear();
    }
    int Depth() const { return static_cast<int>(Frames.size()); }
    // The piles the last move touched, as bits by pile index (the first 64 piles only).
    std::uint64_t TouchedPiles() const { return Frames.empty() ? 0 : Frames.back().Touched; }

    // Counts the lists' empty piles as the engine does after every change.
    int EmptyColumns() const;
    int EmptyCells() const;

    // The position back as plain data (for comparing with the engine's).
    TPositionSnapshot ToSnapshot() const;

    // The position as a short byte string, and back (the journal is emptied):
    // the best-first search keeps its open positions this way.
    void Encode(std::vector<std::uint8_t>& out) const;
    void Decode(const std::uint8_t* data);

    // A 64-bit key of the position, equal for positions that differ only by
    // the order of interchangeable piles or by twin cards of two packs. Each
    // pile's share of the key is kept and only the piles a move touched are
    // hashed again, so a key costs about as much as the move that led to it.
    std::uint64_t Key() const;
    // The same key worked out from scratch (for checking the kept one).
    std::uint64_t FreshKey() const;

    // Keys the stock and the waste as one cycle of cards wherever the stock
    // stands at a turn of the cycle (see AtCycleTurn). Only for a search
    // whose moves reach every card of the cycle from such a position
    // (TMoveSet::Folded where StockTurnsInCycle holds): a search one click
    // at a time would meet its own key after a click and stop there.
    void KeyStockAsCycle() { CycleKeyed = true; MarkAllDirty(); }
    bool StockKeyedAsCycle() const { return CycleKeyed; }
    // Whether the stock stands where a pass of the cycle begins or ends: the
    // cards turned so far a whole number of turns, or the stock just run out
    // (a redeal offered). Every such position of one cycle of cards reaches
    // every other by stock clicks and redeals alone, where the passes never end.
    bool AtCycleTurn() const;

    // What card `card` at place `place` of pile `index` (an index into the
    // piles, as Touch takes it) adds to the pile's share of the key; Absent
    // stands for no card and adds nothing. A move's change of a pile is the
    // sum of these for the cards it lays minus those it takes off.
    static constexpr int Absent = -1;
    std::uint64_t CardShare(int index, int place, int card) const
    {
        if (card < 0)
            return 0;
        const auto code = static_cast<TCardCode>(card);
        return Keying[static_cast<std::size_t>(index)].Form == TTermForm::Set
            ? SetShares[static_cast<std::size_t>(index) * 256 + code]
            : CardHash(code) * keying::PlaceWeights[static_cast<std::size_t>(place)];
    }
    // What a card adds to the key at a place of weight one: its face and rank
    // always, its suit where some rule reads it, never its pack.
    std::uint64_t CardHash(TCardCode c) const
    {
        return c == NoCard ? 0x100 : static_cast<std::uint64_t>(c & HashMask) + 1;
    }
    // Whether two cards of a rank are one card to the key (no rule reads suits).
    bool SuitsIgnored() const { return HashMask != static_cast<TCardCode>(~PackBit); }
    // Whether foundation `f` is keyed by its top card and count alone.
    bool FoundationKeyedByTop(int f) const
    {
        return Keying[static_cast<std::size_t>(PileMap.FirstFoundation() + f)].TopOnly;
    }
    struct TPileChange {
        int Pile;
        std::uint64_t Change;
    };
    // The key of the position these changes of two distinct piles and the
    // base value `baseValue` would make, worked out from the piles' kept
    // shares without making them: the search keys a move's child this way
    // before deciding whether to play it.
    std::uint64_t KeyAfterChanges(TPileChange first, TPileChange second, std::int8_t baseValue) const
    {
        RefreshTerms();
        // A set pile's term is itself a sum of shares.
        const auto termAfter = [this](const TPileChange& c) {
            const auto i = static_cast<std::size_t>(c.Pile);
            if (OrderFree(c.Pile))
                return Terms[i] + c.Change;
            // A pile keyed by its top only ever gains a card on top (see
            // SetUpKeying): the laid card's share is the new raw sum.
            return TermOfRaw(c.Pile, Keying[i].TopOnly ? c.Change : Raws[i] + c.Change);
        };
        const std::uint64_t piles = PilesKey + (termAfter(first) - Terms[static_cast<std::size_t>(first.Pile)])
            + (termAfter(second) - Terms[static_cast<std::size_t>(second.Pile)]);
        // (A drag keyed this way never touches the waste or the stock where
        // they are keyed as a cycle: see PlainDragBetween.)
        if (CycleKeyed && AtCycleTurn()) {
            TCounters counters = Counters;
            counters.BaseValue = baseValue;
            return CycleKey(counters, piles - Terms[static_cast<std::size_t>(PileMap.WasteIndex())]
                                          - Terms[static_cast<std::size_t>(PileMap.StockIndex())]);
        }
        if (baseValue == Counters.BaseValue)
            return CountersKeyOf(Counters) + piles;
        TCounters counters = Counters;
        counters.BaseValue = baseValue;
        return CountersKeyOf(counters) + piles;
    }

private:
    struct TFrame {
        TCounters Counters;
        std::uint32_t JournalStart = 0;
        std::uint8_t RemovedCount = 0;
        std::uint64_t Touched = 0;
    };

    std::uint64_t CountersKey(const TCounters& counters) const;
    // The key at a turn of the cycle from the counters and the terms of the
    // piles other than the waste and the stock: the cycle's term in place of
    // theirs, the redeal's offer left out (it only says where the cycle stands).
    std::uint64_t CycleKey(TCounters counters, std::uint64_t otherPiles) const;
    // The cycle's term: the waste from its bottom card, then the stock from
    // its next card, all face up, whatever the place the turns stand at.
    std::uint64_t CycleTerm() const;
    // Hashes the piles listed dirty again, so every term is current.
    void RefreshTerms() const
    {
        if (!DirtyPiles.empty())
            RefreshDirtyTerms();
    }
    void RefreshDirtyTerms() const;
    std::uint64_t PileTerm(int index) const;
    // How a pile's raw sum becomes its share of the key: mixed with the
    // pile's salt added or xored in; a sum of its cards' set shares; nothing.
    enum class TTermForm : std::uint8_t { Added, Xored, Set, None };
    struct TPileKeying {
        std::uint64_t Salt = 0;
        TTermForm Form = TTermForm::Added;
        // The raw sum is the top card's share alone (at its place, so the count is in it).
        bool TopOnly = false;
    };
    // A pile's term from the raw sum of its cards (the free cells' order-free term aside).
    std::uint64_t TermOfRaw(int index, std::uint64_t raw) const
    {
        const TPileKeying& k = Keying[static_cast<std::size_t>(index)];
        switch (k.Form) {
        case TTermForm::Xored:
            return keying::Mix(raw ^ k.Salt);
        case TTermForm::None:
            return 0;
        default:
            return keying::Mix(raw + k.Salt);
        }
    }
    void SetUpKeying();
    std::uint64_t SetShare(int index, TCardCode c) const;
    // The raw sum of pile `index` (its cards' shares by place, or its top's).
    std::uint64_t RawOf(int index) const;
    // The bits of a card's code the key reads: all but the pack, and the suit
    // too in a game no rule of which reads suits or colours.
    TCardCode HashMask = static_cast<TCardCode>(~PackBit);
    // SetShare by pile index times 256 plus the card's code, for the piles keyed as a set.
    std::vector<std::uint64_t> SetShares;
    // Piles keyed as a set of cards, whose order no rule reads: interchangeable
    // free cells, and Aces Up's discard pile (nobody takes from it), so that
    // discarding the same cards in another order reaches the same key; and
    // sideways foundations (Osmosis): one suit each, a card going on when its
    // value lies on the foundation before, so they read only which values
    // they hold, and nobody takes from them.
    bool OrderFree(int index) const { return Keying[static_cast<std::size_t>(index)].Form == TTermForm::Set; }
    std::vector<TPileKeying> Keying;
    void MarkDirty(int index) const
    {
        if (!Dirty[static_cast<std::size_t>(index)]) {
            Dirty[static_cast<std::size_t>(index)] = 1;
            DirtyPiles.push_back(static_cast<std::uint8_t>(index));
        }
    }
    void MarkAllDirty() const;

    const TSolverGame* GameRef;
    TPileMap PileMap;
    std::vector<TStack> Piles;
    std::vector<TFrame> Frames;
    // A touched pile as it was. Copies of a fixed size are cheaper than
    // copies of just its cards at a size only known at run time: the first
    // ShortPile places of most piles kept in the entry, a long pile's cards
    // in LongCards (the places above a pile's count are never read, so they
    // need no restoring). A small entry keeps the journal of a deep line small.
    static constexpr int ShortPile = 32;
    struct TJournalEntry {
        std::uint64_t Term = 0;
        std::uint64_t Raw = 0;
        std::uint32_t LongStart = 0; // where a long pile's cards begin in LongCards
        std::uint16_t Index = 0;
        std::uint8_t Count = 0;
        bool WasClean = false; // Term and Raw were the pile's when it was touched
        std::array<TCardCode, ShortPile> Cards{};
    };
    void KeepCards(TJournalEntry& entry, const TStack& from)
    {
        entry.Count = from.Count;
        if (from.Count <= ShortPile) {
            std::memcpy(entry.Cards.data(), from.Cards.data(), ShortPile);
        } else {
            entry.LongStart = static_cast<std::uint32_t>(LongCards.size());
            LongCards.insert(LongCards.end(), from.Cards.begin(), from.Cards.begin() + from.Count);
        }
    }
    // Entries are taken back in the reverse order they were made.
    void RestoreCards(TStack& to, const TJournalEntry& entry)
    {
        to.Count = entry.Count;
        if (entry.Count <= ShortPile) {
            std::memcpy(to.Cards.data(), entry.Cards.data(), ShortPile);
        } else {
            std::memcpy(to.Cards.data(), LongCards.data() + entry.LongStart, entry.Count);
            LongCards.resize(entry.LongStart);
        }
    }
    std::vector<TCardCode> LongCards;
    // Entries up to JournalSize are in use; the rest is room, initialised
    // once when it is made (not at every touch).
    std::vector<TJournalEntry> Journal;
    std::size_t JournalSize = 0;
    // The piles' shares of the key: PilesKey is always the sum of Terms; a
    // pile listed in DirtyPiles has a stale term until Key() hashes it again.
    mutable std::vector<std::uint64_t> Terms;
    // The raw sums the terms were made from, so an edit's term is a few products away.
    mutable std::vector<std::uint64_t> Raws;
    mutable std::vector<std::uint8_t> Dirty;
    mutable std::vector<std::uint8_t> DirtyPiles;
    mutable std::uint64_t PilesKey = 0;
    // The counters last keyed and their key: a position's children mostly
    // share their parent's counters, and the search keys them one after another.
    mutable TCounters KeyedCounters;
    mutable std::uint64_t KeyedCountersKey = 0;
    std::uint64_t CountersKeyOf(const TCounters& counters) const
    {
        // Compared as bytes: the counters are copied whole, padding included.
        if (std::memcmp(&counters, &KeyedCounters, sizeof counters) != 0) {
            std::memcpy(&KeyedCounters, &counters, sizeof counters);
            KeyedCountersKey = CountersKey(counters);
        }
        return KeyedCountersKey;
    }

    int SharedFoundationIndex = -1;
    bool TableauInterchangeable = false;
    bool CellsInterchangeable = false;
    bool SidewaysFoundations = false;
    bool FoundationsInterchangeable = false;
    bool CycleKeyed = false;
};

// The game facts of a rule record.
TSolverGame MakeSolverGame(const TGameRules& rules);

} // namespace solver
