// The solver's moves: exactly the actions the engine accepts, played on byte
// stacks. The drop judge is the engine's own (DropRules.h); what follows a
// drop (turning up, refilling, The Clock's placement, pair removal, the stock
// and the redeal) replays the engine's steps without the table.
#include "solver/Moves.h"

#include "solver/AcesUp.h"

#include "solver/Blockers.h"

#include "catalogue/DropRules.h"
#include "catalogue/PlayRules.h"
#include "catalogue/Validation.h"

#include <algorithm>
#include <array>
#include <bit>

namespace solver {

namespace {

TCardFace Face(TCardCode code) { return {CodeValue(code), CodeSuit(code), CodeFaceUp(code)}; }

std::optional<TCardFace> TopFace(const TStack& stack)
{
    return stack.Empty() ? std::nullopt : std::optional<TCardFace>(Face(stack.Top()));
}

// The solver's piles as the drop judge reads them.
class TStatePosition {
public:
    explicit TStatePosition(const TSolverState& state)
        : S(state), Columns(state.EmptyColumns()), Cells(state.EmptyCells()),
          RunRoomToEmpty(state.Game().Rules.FreeCells
                             ? SuperMoveCapacity(state.Game().Rules.TableauRules, Cells, Columns - 1)
                             : 0)
    {
    }
    int TableauCount() const { return S.TableauCount(); }
    int FoundationCount() const { return S.FoundationCount(); }
    int StockCount() const { return S.StockCount(); }
    int ReserveSize() const { return S.Reserve().Count; }
    std::optional<TCardFace> TableauTop(int p) const { return TopFace(S.Tableau(p)); }
    std::optional<TCardFace> FoundationTop(int f) const { return TopFace(S.Foundation(f)); }
    std::optional<TCardFace> ReserveCard(int i) const
    {
        const TCardCode c = S.Reserve().Cards[static_cast<std::size_t>(i)];
        return c == NoCard ? std::nullopt : std::optional<TCardFace>(Face(c));
    }
    int TableauSize(int p) const { return S.Tableau(p).Count; }
    bool FoundationHoldsValue(int f, int value) const
    {
        const TStack& s = S.Foundation(f);
        return std::any_of(s.Cards.begin(), s.Cards.begin() + s.Count, [value](TCardCode c) { return CodeValue(c) == value; });
    }
    bool ReserveAllEmpty() const
    {
        const TStack& r = S.Reserve();
        return std::all_of(r.Cards.begin(), r.Cards.begin() + r.Count, [](TCardCode c) { return c == NoCard; });
    }
    int EmptyColumns() const { return Columns; }
    int EmptyCells() const { return Cells; }
    int BaseValue() const { return S.Counters.BaseValue; }
    // In a game with free cells, how many cards a run may hold to move into
    // an empty column (the other empty columns count, that one does not):
    // the judge's room test, worked out once per position.
    int RunRoomToEmptyColumn() const { return RunRoomToEmpty; }

private:
    const TSolverState& S;
    int Columns;
    int Cells;
    int RunRoomToEmpty;
};

struct TSource {
    int Kind;
    int Pile;
    int Index;
    TCardCode Card = NoCard; // the card picked up, filled in by CollectSources
    // A tableau card with others on it: it is lifted with them, as a run.
    bool Covered = false;
};

// A list of fixed room for the generator's sources and targets: each is a
// distinct card or pile place, so they never outnumber two packs' cards
// plus 255 piles.
template <class T>
class TFixedList {
public:
    static constexpr std::size_t Room = 512;
    void clear() { Size = 0; }
    void push_back(const T& item) { Items[Size++] = item; }
    const T* begin() const { return Items.data(); }
    const T* end() const { return Items.data() + Size; }

private:
    std::array<T, Room> Items{};
    std::size_t Size = 0;
};
using TSources = TFixedList<TSource>;

struct TTarget {
    int Kind;
    int Pile;
    int DropPoint;
    int Top = -1; // the identity of the pile's top card, -1 when it is empty
};
using TTargets = TFixedList<TTarget>;

// The engine's top index: an empty pile is one empty slot.
int TopIndex(const TStack& stack) { return std::max<int>(stack.Count, 1) - 1; }

[[gnu::always_inline]] inline TCardCode SourceCard(const TSolverState& s, const TSource& source)
{
    switch (source.Kind) {
    case pkReserve: return s.Reserve().Cards[static_cast<std::size_t>(source.Index)];
    case pkWaste: return s.Waste().Top();
    case pkExcept: return s.Except(source.Pile).Top();
    case pkStock: return s.Stock().Top();
    case pkFoundation: return s.Foundation(source.Pile).Top();
    default: return s.Tableau(source.Pile).Cards[static_cast<std::size_t>(source.Index)];
    }
}

// Adds a source unless the table could not lift its card: the table lifts
// face-up cards only (the stock's next card aside).
[[gnu::always_inline]] inline void AddSource(TSources& out, const TSource& source)
{
    if (source.Kind == pkStock || CodeFaceUp(source.Card))
        out.push_back(source);
}

// The cards that may be picked up, as the engine's lists name them, each
// with the card it lifts.
void CollectSources(const TSolverState& s, const TStatePosition& position, TSources& out)
{
    const TSolverGame& g = s.Game();
    const TGameRules& rules = g.Rules;
    const TRuleOptions& t = rules.TableauRules;
    const TStack& reserve = s.Reserve();
    if (reserve.Count > 0) {
        if (rules.FreeCells || rules.ReserveAllAvailable) {
            for (int i = 0; i < reserve.Count; ++i)
                if (reserve.Cards[static_cast<std::size_t>(i)] != NoCard)
                    AddSource(out, {pkReserve, i, i, reserve.Cards[static_cast<std::size_t>(i)]});
        } else {
            AddSource(out, {pkReserve, reserve.Count - 1, reserve.Count - 1, reserve.Top()});
        }
    }
    if (!s.Waste().Empty() && s.WasteTopReachable())
        AddSource(out, {pkWaste, s.Waste().Count - 1, s.Waste().Count - 1, s.Waste().Top()});
    for (int e = 0; e < s.ExceptCount(); ++e)
        if (!s.Except(e).Empty())
            AddSource(out, {pkExcept, e, s.Except(e).Count - 1, s.Except(e).Top()});

    const bool sequences = t.Contains(roMoveSequences);
    if (sequences || t.Contains(roMoveFaceUpGroups)) {
        const int cells = position.EmptyCells();
        const int capacity = SuperMoveCapacity(t, cells, position.EmptyColumns());
        const bool cellsLimitGroups = rules.FreeCells && !t.Contains(roUnlimitedMoves);
        for (int p = 0; p < s.TableauCount(); ++p) {
            const TStack& pile = s.Tableau(p);
            if (pile.Empty())
                continue;
            const int top = pile.Count - 1;
            AddSource(out, {pkTableau, p, top, pile.Top()});
            for (int j = top - 1; j >= 0; --j) {
                const TCardCode card = pile.Cards[static_cast<std::size_t>(j)];
                const int lying = top - j;
                bool qualifies = CodeFaceUp(card);
                if (qualifies && sequences)
                    qualifies = g.RunLinkFits(pile.Cards[static_cast<std::size_t>(j + 1)], card)
                        && (!rules.FreeCells || lying < capacity);
                else if (qualifies && cellsLimitGroups)
                    qualifies = lying <= cells;
                if (!qualifies)
                    break;
                out.push_back({pkTableau, p, j, card, true});
            }
        }
    } else {
        const bool wholePiles = t.Contains(roMoveWholePile);
        for (int p = 0; p < s.TableauCount(); ++p) {
            const TStack& pile = s.Tableau(p);
            if (pile.Empty())
                continue;
            AddSource(out, {pkTableau, p, pile.Count - 1, pile.Top()});
            if (wholePiles && pile.Count > 1)
                AddSource(out, {pkTableau, p, 0, pile.Cards[0], true});
        }
    }
    if (rules.FoundationRules.Contains(roTakeFromFoundation)) {
        const bool clock = g.TheClock && rules.FoundationRules.Contains(roClockInsert);
        for (int f = 0; f < s.FoundationCount(); ++f) {
            const TStack& pile = s.Foundation(f);
            if (!pile.Empty() && !(clock && CodeValue(pile.Top()) == f) && s.FoundationTopReachable(f))
                AddSource(out, {pkFoundation, f, pile.Count - 1, pile.Top()});
        }
    }
    if (rules.DeckRules.Contains(roDragFromDeck) && s.StockCount() > 0)
        out.push_back({pkStock, 0, 0, s.Stock().Top()});
}

// The drop points in the engine's order: tableau piles, foundations, empty cells.
void CollectTargets(const TSolverState& s, TTargets& out)
{
    int point = 0;
    const auto top = [](const TStack& pile) { return pile.Empty() ? -1 : static_cast<int>(CodeIdentity(pile.Top())); };
    if (s.Game().TableauDropTarget)
        for (int p = 0; p < s.TableauCount(); ++p)
            out.push_back({pkTableau, p, point++, top(s.Tableau(p))});
    if (s.Game().FoundationDropTarget)
        for (int f = 0; f < s.FoundationCount(); ++f)
            out.push_back({pkFoundation, f, point++, top(s.Foundation(f))});
    if (s.Game().Rules.FreeCells) {
        const TStack& r = s.Reserve();
        for (int k = 0; k < r.Count; ++k)
            if (r.Cards[static_cast<std::size_t>(k)] == NoCard)
                out.push_back({pkReserve, k, point++});
    }
}

int TargetTopIndex(const TSolverState& s, const TTarget& target)
{
    switch (target.Kind) {
    case pkTableau: return TopIndex(s.Tableau(target.Pile));
    case pkFoundation: return TopIndex(s.Foundation(target.Pile));
    default: return 0;
    }
}

// The twelve cards above a King that leave together for a suit-run foundation.
bool CompleteRunFits(const TSolverState& s, int pileIndex, int index)
{
    const TStack& pile = s.Tableau(pileIndex);
    if (pile.Count - index != 13)
        return false;
    const TRuleOptions& f = s.Game().Rules.FoundationRules;
    for (int k = index + 1; k < pile.Count; ++k) {
        const TCardCode below = pile.Cards[static_cast<std::size_t>(k - 1)];
        const TCardCode above = pile.Cards[static_cast<std::size_t>(k)];
        if (CodeValue(above) + 1 != CodeValue(below))
            return false;
        if (f.Contains(roSameSuit) && CodeSuit(above) != CodeSuit(below))
            return false;
        if (f.Contains(roAlternateColour) && !OtherColour(CodeSuit(above), CodeSuit(below)))
            return false;
    }
    return true;
}

// A refusal the judge would give, found from the card and the target's top
// alone: the rank and suit tests of a pile with a card, the values an empty
// pile takes. Never refuses what the judge accepts; may let through what it refuses.
bool SurelyRefused(const TSolverGame& g, TCardCode card, const TTarget& target)
{
    if (target.Kind == pkReserve || (target.Kind == pkFoundation && g.AcesUp))
        return false;
    const bool toFoundation = target.Kind == pkFoundation;
    if (target.Top >= 0) {
        const std::uint64_t fits = (toFoundation ? g.FoundationFits : g.TableauFits)[static_cast<std::size_t>(target.Top)];
        return ((fits >> CodeIdentity(card)) & 1u) == 0;
    }
    const std::uint16_t values = toFoundation ? g.FoundationEmptyValues : g.TableauEmptyValues;
    return ((values >> CodeValue(card)) & 1u) == 0;
}

[[gnu::always_inline]] inline TDropVerdict Judge(const TSolverState& s, const TStatePosition& position,
                                                 const TSource& source, const TTarget& target)
{
    const TSolverGame& g = s.Game();
    if (g.MultiMove && source.Covered
        && (target.Kind == pkReserve
            || (target.Kind == pkFoundation && !g.Rules.FoundationRules.Contains(roFoundationSuitRun))))
        return {};
    TDropVerdict verdict;
    const bool toFoundation = target.Kind == pkFoundation;
    if (target.Kind == pkReserve && !g.FourColours)
        verdict.Accepted = true; // a free cell takes any card
    else if (target.Top >= 0
             && (toFoundation ? g.FoundationBuildsPlain : (target.Kind == pkTableau && g.TableauBuildsPlain))) {
        // Onto a card where only rank and suit count: the fit tables are the judge's answer.
        const std::uint64_t fits =
            (toFoundation ? g.FoundationFits : g.TableauFits)[static_cast<std::size_t>(target.Top)];
        verdict.Accepted = ((fits >> CodeIdentity(source.Card)) & 1u)
            && !(source.Kind == pkTableau && target.Kind == pkTableau && source.Pile == target.Pile);
    } else if (target.Top < 0 && (toFoundation ? g.FoundationEmptyBySourceKnown : g.TableauEmptyBySourceKnown)) {
        // Onto an empty pile that judges by value and source: the judge's answers, kept.
        const auto& bySource = toFoundation ? g.FoundationEmptyBySource : g.TableauEmptyBySource;
        verdict.Accepted = (bySource[static_cast<std::size_t>(source.Kind)] >> CodeValue(source.Card)) & 1u;
        // The judge's room test for a run into an empty column, which counts the other empty columns only.
        if (verdict.Accepted && source.Kind == pkTableau && target.Kind == pkTableau && g.Rules.FreeCells) {
            const int carried = s.Tableau(source.Pile).Count - source.Index;
            verdict.Accepted = carried - 1 < position.RunRoomToEmptyColumn();
        }
    } else {
        const TDropQuery query{Face(source.Card), target.Kind, target.Pile, TargetTopIndex(s, target),
                               source.Kind,       source.Pile, source.Index};
        verdict = JudgeDrop(g.Rules, TDropGame{g.FourColours, g.AcesUp}, position, query);
    }
    const bool runMove = target.Kind == pkTableau && g.MultiMove && source.Kind == pkTableau;
    if (verdict.Accepted && !runMove && target.Kind == pkFoundation && g.Rules.FoundationRules.Contains(roFoundationSuitRun)
        && (source.Kind != pkTableau || !CompleteRunFits(s, source.Pile, source.Index)))
        verdict.Accepted = false;
    return verdict;
}

// The targets sorted by what a card needs of them, so that a card meets only
// the targets that may take it (by rank and suit, or by value when empty)
// instead of every target. As bit sets by target number: up to 64 targets.
class TTargetIndex {
public:
    static constexpr std::size_t Room = 64;

    // With `firstEmptyOnly`, the empty cells and (where their places are
    // free) the empty tableau piles after the first are left out: the
    // search tries only the first of them (see GenerateDrags).
    TTargetIndex(const TSolverGame& game, const TTargets& targets, bool firstEmptyOnly, bool pilesInterchangeable)
        : G(game)
    {
        std::size_t i = 0;
        for (const TTarget& target : targets) {
            if (i == Room)
                break; // not used then: every target is tried
            const std::uint64_t bit = std::uint64_t{1} << i++;
            const bool toFoundation = target.Kind == pkFoundation;
            const bool emptyCell = target.Kind == pkReserve && !G.FourColours;
            const bool emptyPile = target.Kind == pkTableau && target.Top < 0 && pilesInterchangeable;
            if (firstEmptyOnly && ((emptyCell && CellSeen) || (emptyPile && EmptyTableau != 0)))
                continue;
            CellSeen = CellSeen || emptyCell;
            if (target.Kind == pkTableau)
                TableauTargets |= bit;
            if (target.Kind == pkReserve)
                CellTargets |= bit;
            if (target.Kind == pkReserve || (toFoundation && G.AcesUp))
                Always |= bit;
            else if (target.Top < 0)
                (toFoundation ? EmptyFoundations : EmptyTableau) |= bit;
            else
                Add(toFoundation ? Foundations : Tableau, target.Top, bit);
        }
    }
    // The tableau piles among the targets, as bits by target number.
    std::uint64_t Tableaux() const { return TableauTargets; }
    // The empty free cells among the targets, as bits by target number.
    std::uint64_t Cells() const { return CellTargets; }
    // The targets that may take `card`, as bits by target number; the judge has the last word.
    std::uint64_t Candidates(TCardCode card) const
    {
        const std::size_t id = CodeIdentity(card);
        std::uint64_t candidates = Always;
        if ((G.TableauEmptyValues >> CodeValue(card)) & 1u)
            candidates |= EmptyTableau;
        if ((G.FoundationEmptyValues >> CodeValue(card)) & 1u)
            candidates |= EmptyFoundations;
        candidates |= Tableau.Taking(G.TableauTopsFor[id]);
        candidates |= Foundations.Taking(G.FoundationTopsFor[id]);
        return candidates;
    }

private:
    struct TByTop {
        std::uint64_t Tops = 0; // the top identities present
        std::array<std::uint64_t, 64> Targets; // by top identity (valid where Tops has it; not cleared, for speed)
        std::uint64_t Taking(std::uint64_t fitting) const
        {
            std::uint64_t targets = 0;
            for (std::uint64_t tops = fitting & Tops; tops != 0; tops &= tops - 1)
                targets |= Targets[static_cast<std::size_t>(std::countr_zero(tops))];
            return targets;
        }
    };
    static void Add(TByTop& byTop, int top, std::uint64_t bit)
    {
        const std::uint64_t topBit = std::uint64_t{1} << top;
        if (!(byTop.Tops & topBit)) {
            byTop.Tops |= topBit;
            byTop.Targets[static_cast<std::size_t>(top)] = 0;
        }
        byTop.Targets[static_cast<std::size_t>(top)] |= bit;
    }

    const TSolverGame& G;
    bool CellSeen = false;
    std::uint64_t TableauTargets = 0;
    std::uint64_t CellTargets = 0;
    std::uint64_t Always = 0;
    std::uint64_t EmptyTableau = 0;
    std::uint64_t EmptyFoundations = 0;
    TByTop Tableau;
    TByTop Foundations;
};

void GenerateDrags(const TSolverState& s, TMoveSet set, std::vector<TSolverMove>& moves)
{
    // Kept between calls: the search generates moves millions of times.
    thread_local TSources sources;
    thread_local TTargets targets;
    sources.clear();
    targets.clear();
    const TStatePosition position(s);
    CollectSources(s, position, sources);
    CollectTargets(s, targets);
    const TSolverGame& g = s.Game();
    const std::size_t targetCount = static_cast<std::size_t>(targets.end() - targets.begin());
    const bool indexed = targetCount <= TTargetIndex::Room;
    const bool search = set != TMoveSet::Player;
    const TTargetIndex index(g, targets, search, s.TableauPilesInterchangeable());
    // A card from one free cell to another leaves the position's key as it was.
    const bool cellToCellIdle = search && s.CellsKeyedAsSet();
    const bool runsToTableauOnly = g.MultiMove && !g.Rules.FoundationRules.Contains(roFoundationSuitRun);
    for (const TSource& source : sources) {
        const TCardCode card = source.Card;
        // In the search, one empty cell and one empty pile stand for all
        // where their places do not matter: the others lead to positions
        // of the same key, which the search would pass over anyway. Where
        // no rule names a tableau pile the judge reads nothing of an empty
        // pile's place either, and a free cell's verdict is the same for
        // every cell, so the verdict on the first is the verdict on all.
        const auto tryTarget = [&](const TTarget& target) __attribute__((always_inline))
        {
            TDropVerdict verdict;
            if (target.Kind == pkTableau && target.Top >= 0 && g.TableauBuildsPlain) {
                // The commonest drop, onto a tableau card where rank and suit
                // alone count: the judge's answer is the fit table's.
                verdict.Accepted = ((g.TableauFits[static_cast<std::size_t>(target.Top)] >> CodeIdentity(card)) & 1u)
                    && !(source.Kind == pkTableau && source.Pile == target.Pile);
            } else {
                verdict = Judge(s, position, source, target);
            }
            if (!verdict.Accepted)
                return;
            TSolverMove move;
            move.Type = TMoveType::Drag;
            move.SourceKind = static_cast<std::int8_t>(source.Kind);
            move.SourcePile = static_cast<std::uint8_t>(source.Pile);
            move.SourceIndex = static_cast<std::uint8_t>(source.Index);
            move.TargetKind = static_cast<std::int8_t>(target.Kind);
            move.TargetPile = static_cast<std::uint8_t>(target.Pile);
            move.DropPoint = static_cast<std::int8_t>(target.DropPoint);
            move.SetsBase = verdict.SetsBase;
            moves.push_back(move);
        };
        // The targets in their order either way, so the moves come in the same order.
        // (A card from one free cell to another leaves the key as it was: not tried.)
        if (indexed) {
            std::uint64_t candidates = index.Candidates(card);
            // A run (not a pile's top card alone) goes to tableau piles only (the judge's first refusal).
            if (runsToTableauOnly && source.Covered)
                candidates &= index.Tableaux();
            if (cellToCellIdle && source.Kind == pkReserve)
                candidates &= ~index.Cells();
            for (; candidates != 0; candidates &= candidates - 1)
                tryTarget(targets.begin()[std::countr_zero(candidates)]);
        } else {
            // (The index above leaves out all but the first empty cell and pile itself.)
            bool emptyCellTried = false;
            bool emptyPileTried = false;
            for (const TTarget& target : targets) {
                if (SurelyRefused(g, card, target) || (cellToCellIdle && target.Kind == pkReserve && source.Kind == pkReserve))
                    continue;
                const bool emptyCell = target.Kind == pkReserve && !g.FourColours;
                const bool emptyPile = target.Kind == pkTableau && target.Top < 0 && s.TableauPilesInterchangeable();
                if (search && ((emptyCell && emptyCellTried) || (emptyPile && emptyPileTried)))
                    continue;
                emptyCellTried = emptyCellTried || emptyCell;
                emptyPileTried = emptyPileTried || emptyPile;
                tryTarget(target);
            }
        }
    }
}

// Whether the stock's clicks can be folded into the plays they serve: a click
// only turns cards to the waste (no Burleigh ends, no dealing to a
// foundation, no stock card dragged), no drop rule reads the stock, and the
// waste's top card is always within reach.
bool DealsFold(const TSolverState& s)
{
    const TSolverGame& g = s.Game();
    const TGameRules& r = g.Rules;
    return r.TurnCount >= 1 && !g.OneFoundation && !g.Burleigh && !g.ClickPlay && !r.DeckRules.Contains(roDragFromDeck)
        && !r.TableauRules.Contains(roNoDropWhileStock) && !r.FoundationRules.Contains(roNoDropWhileStock)
        && s.SharedFoundation() < 0;
}

// Whether a stock click may wait until its cards are played: no emptied
// tableau pile takes its refill from the waste or the stock, so a click and
// any move that does not play the waste lead to the same position in either
// order. Then a winning line's clicks can all be moved forward to the waste
// play (or the redeal) they serve, and the clicks alone need not be searched.
bool DealsCommute(const TSolverState& s)
{
    const TRuleOptions& t = s.Game().Rules.TableauRules;
    return DealsFold(s) && (!t.Contains(roRefillEmpty) || t.Contains(roEmptyFromReserve));
}

} // namespace

bool StockTurnsInCycle(const TSolverState& s)
{
    const TGameRules& r = s.Game().Rules;
    return DealsCommute(s) && r.DeckPasses == 0 && !playrules::RedealGathers(r) && !playrules::RedealShuffles(r);
}

namespace {

// The plays of the card `card` that comes to the top of the waste at index
// `index` after the move's clicks (`deals` of them, after a redeal where
// `recycles`), onto every target that takes it.
void AddWastePlays(const TSolverState& s, const TTargets& targets, const TStatePosition& position, TCardCode card,
                   int index, int deals, bool recycles, std::vector<TSolverMove>& moves)
{
    const TSolverGame& g = s.Game();
    const bool suitRun = g.Rules.FoundationRules.Contains(roFoundationSuitRun);
    bool emptyCellTried = false;
    for (const TTarget& target : targets) {
        if ((target.Kind == pkReserve && emptyCellTried && !g.FourColours) || (target.Kind == pkFoundation && suitRun))
            continue;
        const TDropQuery query{Face(card), target.Kind, target.Pile, TargetTopIndex(s, target), pkWaste, index, index};
        const TDropVerdict verdict = JudgeDrop(g.Rules, TDropGame{g.FourColours, g.AcesUp}, position, query);
        if (!verdict.Accepted)
            continue;
        emptyCellTried = emptyCellTried || target.Kind == pkReserve;
        TSolverMove move;
        move.Type = TMoveType::Drag;
        move.SourceKind = pkWaste;
        move.SourcePile = move.SourceIndex = static_cast<std::uint8_t>(index);
        move.TargetKind = static_cast<std::int8_t>(target.Kind);
        move.TargetPile = static_cast<std::uint8_t>(target.Pile);
        move.DropPoint = static_cast<std::int8_t>(target.DropPoint);
        move.SetsBase = verdict.SetsBase;
        move.Deals = static_cast<std::uint8_t>(deals);
        move.Recycles = recycles;
        moves.push_back(move);
    }
}

// "Deal k times, then play the waste's top card": every card of the stock
// that the current pass brings to the top of the waste, played where it fits.
void GenerateDealPlays(const TSolverState& s, std::vector<TSolverMove>& moves)
{
    const TStack& stock = s.Stock();
    const int turn = s.Game().Rules.TurnCount;
    thread_local TTargets targets;
    targets.clear();
    CollectTargets(s, targets);
    const TStatePosition position(s);
    const int deals = (stock.Count + turn - 1) / turn;
    for (int k = 1; k <= deals; ++k) {
        const int dealt = std::min<int>(stock.Count, k * turn);
        const TCardCode card = CodeTurnedUp(stock.Cards[static_cast<std::size_t>(stock.Count - dealt)]);
        AddWastePlays(s, targets, position, card, s.Waste().Count + dealt - 1, k, false, moves);
    }
}

// "Deal the stock out, redeal, deal k times, then play the waste's top
// card", from a turn of the cycle: every card of the waste below its top
// that the next pass brings to the top (the cards from the top on come
// sooner in this pass: GenerateDealPlays and the plain drags play them).
void GenerateRecyclePlays(const TSolverState& s, std::vector<TSolverMove>& moves)
{
    const TStack& waste = s.Waste();
    const int turn = s.Game().Rules.TurnCount;
    const int cycle = waste.Count + s.StockCount();
    thread_local TTargets targets;
    targets.clear();
    CollectTargets(s, targets);
    const TStatePosition position(s);
    for (int k = 1;; ++k) {
        const int dealt = std::min(cycle, k * turn);
        if (dealt >= waste.Count)
            break;
        const TCardCode card = CodeTurnedUp(waste.Cards[static_cast<std::size_t>(dealt - 1)]);
        AddWastePlays(s, targets, position, card, dealt - 1, k, true, moves);
    }
}

// The stock dealt out in one step, when a redeal follows: the only other use
// of clicks that are played nowhere.
void GenerateDealOut(const TSolverState& s, std::vector<TSolverMove>& moves)
{
    const TGameRules& r = s.Game().Rules;
    if (r.DeckPasses != 0 && s.Counters.PassesDone + 1 >= r.DeckPasses)
        return;
    TSolverMove deal;
    deal.Type = TMoveType::StockDeal;
    deal.Deals = static_cast<std::uint8_t>((s.StockCount() + r.TurnCount - 1) / r.TurnCount - 1);
    moves.push_back(deal);
}

bool Clickable(const TSolverState& s, TCardCode card)
{
    return !s.Game().Rules.TableauRules.Contains(roSelectByHighlight) || CodeFaceUp(card);
}

void GenerateClicks(const TSolverState& s, std::vector<TSolverMove>& moves)
{
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        if (pile.Empty() || !Clickable(s, pile.Top()))
            continue;
        TSolverMove move;
        move.Type = TMoveType::Click;
        move.SourceKind = pkTableau;
        move.SourcePile = static_cast<std::uint8_t>(p);
        move.SourceIndex = static_cast<std::uint8_t>(pile.Count - 1);
        moves.push_back(move);
    }
}

void GeneratePairs(const TSolverState& s, std::vector<TSolverMove>& moves)
{
    if (!s.Game().Rules.FoundationRules.Contains(roPairsByRank))
        return;
    for (int a = 0; a < s.TableauCount(); ++a) {
        const TStack& first = s.Tableau(a);
        if (first.Empty() || !Clickable(s, first.Top()))
            continue;
        for (int b = a + 1; b < s.TableauCount(); ++b) {
            const TStack& second = s.Tableau(b);
            if (second.Empty() || !Clickable(s, second.Top()) || CodeValue(second.Top()) != CodeValue(first.Top()))
                continue;
            TSolverMove move;
            move.Type = TMoveType::Pair;
            move.SourceKind = pkTableau;
            move.SourcePile = static_cast<std::uint8_t>(a);
            move.SourceIndex = static_cast<std::uint8_t>(first.Count - 1);
            move.SecondPile = static_cast<std::uint8_t>(b);
            move.SecondIndex = static_cast<std::uint8_t>(second.Count - 1);
            moves.push_back(move);
        }
    }
}

// --- playing a move: the engine's steps, with its cues' points ---

class TPlay {
public:
    explicit TPlay(TSolverState& state) : S(state), G(state.Game()), R(state.Game().Rules) {}

    void Drag(const TSolverMove& move);
    void StockDeal();
    void Redeal();
    void Click(int pile, int index);

private:
    void DropCue() { S.Counters.Points -= 1; }
    void UndoCue() { S.Counters.Points -= 5; }
    void SuccessCue()
    {
        S.Counters.Points += 50;
        ++S.Counters.FoundationCards;
    }
    static TCardCode Up(TCardCode c) { return CodeTurnedUp(c); }
    void FoundationPlaced(int f, TCardCode card)
    {
        if (f == S.SharedFoundation())
            S.SharedPlaced(card);
    }
    void FoundationTaken(int f, TCardCode card)
    {
        if (f == S.SharedFoundation())
            S.SharedTaken(card);
    }

    void TakeFromSource(int kind, int pile, int index);
    void RefillEmptied(int p);
    void ClockPlacement(TCardCode card, int f);
    void WinTest();
    bool ClockSolved() const;
    void DealToTableauPiles();
    void TurnToWaste();
    void OneFoundationDeal();
    void TableauDeal();
    void DealTableauCard(int r, int p);
    void PairRefill(int p, int index);
    TCardCode NextCard()
    {
        S.TouchStock();
        return S.Stock().Pop();
    }

    TSolverState& S;
    const TSolverGame& G;
    const TGameRules& R;
};

void TPlay::TakeFromSource(int kind, int pile, int index)
{
    switch (kind) {
    case pkExcept: {
        S.TouchExcept(pile);
        TStack& stack = S.Except(pile);
        stack.Pop();
        if (!stack.Empty())
            stack.TopRef() = Up(stack.Top());
        break;
    }
    case pkReserve:
        S.TouchReserve();
        if (R.FreeCells)
            S.Reserve().Cards[static_cast<std::size_t>(index)] = NoCard;
        else
            S.Reserve().EraseAt(index);
        break;
    case pkWaste:
        S.TouchWaste();
        S.SharedTaken(S.Waste().Pop());
        break;
    case pkStock:
        NextCard();
        break;
    case pkTableau: {
        S.TouchTableau(pile);
        TStack& stack = S.Tableau(pile);
        stack.Count = static_cast<std::uint8_t>(index);
        if (!stack.Empty())
            stack.TopRef() = Up(stack.Top());
        if (stack.Empty() && R.TableauRules.Contains(roRefillEmpty))
            RefillEmptied(pile);
        break;
    }
    case pkFoundation:
        S.TouchFoundation(pile);
        FoundationTaken(pile, S.Foundation(pile).Pop());
        --S.Counters.FoundationCards;
        S.Counters.Points -= 50;
        break;
    default:
        break;
    }
}

void TPlay::RefillEmptied(int p)
{
    const TRuleOptions& t = R.TableauRules;
    TStack& reserve = S.Reserve();
    const auto lastReserve = [&reserve] {
        for (int i = reserve.Count - 1; i >= 0; --i)
            if (reserve.Cards[static_cast<std::size_t>(i)] != NoCard)
                return i;
        return -1;
    };
    const int kind = playrules::RefillSource(t, lastReserve() >= 0, S.StockCount() > 0, !S.Waste().Empty());
    TCardCode card = NoCard;
    if (kind == pkReserve) {
        const int i = lastReserve();
        S.TouchReserve();
        card = reserve.Cards[static_cast<std::size_t>(i)];
        if (R.FreeCells)
            reserve.Cards[static_cast<std::size_t>(i)] = NoCard;
        else
            reserve.EraseAt(i);
    } else if (kind == pkWaste) {
        S.TouchWaste();
        card = S.Waste().Pop();
        S.SharedTaken(card);
    } else if (kind == pkStock) {
        card = NextCard();
    } else {
        return;
    }
    S.TouchTableau(p);
    S.Tableau(p).Push(Up(card));
    DropCue();
}

void TPlay::ClockPlacement(TCardCode card, int f)
{
    S.TouchFoundation(f);
    TStack& pile = S.Foundation(f);
    pile.InsertAt(0, card);
    const auto bottomHidden = [&pile] {
        for (int k = 0; k < pile.Count && k < 4; ++k)
            if (!CodeFaceUp(pile.Cards[static_cast<std::size_t>(k)]))
                return true;
        return false;
    };
    for (int guard = 0; guard <= pile.Count; ++guard) {
        if (pile.Empty())
            break;
        pile.TopRef() = Up(pile.Top());
        if (CodeValue(pile.Top()) != f)
            break;
        SuccessCue();
        if (!bottomHidden())
            break;
        const TCardCode top = pile.Pop();
        pile.InsertAt(0, top);
    }
}

void TPlay::Drag(const TSolverMove& move)
{
    const TSource source{move.SourceKind, move.SourcePile, move.SourceIndex};
    const TTarget target{move.TargetKind, move.TargetPile, move.DropPoint};
    const TCardCode card = SourceCard(S, source);
    if (move.SetsBase)
        S.Counters.BaseValue = static_cast<std::int8_t>(CodeValue(card));

    if (target.Kind == pkTableau && G.MultiMove && source.Kind == pkTableau) {
        // A run moves as a unit; the cards keep their order.
        DropCue();
        const TStack& from = S.Tableau(source.Pile);
        S.TouchTableau(target.Pile);
        TStack& to = S.Tableau(target.Pile);
        for (int k = source.Index; k < from.Count; ++k)
            to.Push(from.Cards[static_cast<std::size_t>(k)]);
        TakeFromSource(pkTableau, source.Pile, source.Index);
    } else {
        TCardCodes followers;
        if (target.Kind == pkFoundation) {
            SuccessCue();
            if (R.FoundationRules.Contains(roFoundationSuitRun)) {
                const TStack& from = S.Tableau(source.Pile);
                followers.assign(from.Cards.begin() + source.Index + 1, from.Cards.begin() + from.Count);
            }
        } else {
            DropCue();
        }
        TakeFromSource(source.Kind, source.Pile, source.Index);
        switch (target.Kind) {
        case pkReserve:
            S.TouchReserve();
            S.Reserve().Cards[static_cast<std::size_t>(target.Pile)] = card;
            break;
        case pkFoundation:
            if (G.TheClock) {
                ClockPlacement(card, target.Pile);
            } else {
                S.TouchFoundation(target.Pile);
                S.Foundation(target.Pile).Push(card);
                FoundationPlaced(target.Pile, card);
            }
            break;
        default:
            S.TouchTableau(target.Pile);
            S.Tableau(target.Pile).Push(card);
            break;
        }
        for (const TCardCode follower : followers) {
            SuccessCue();
            S.Foundation(target.Pile).Push(follower);
            FoundationPlaced(target.Pile, follower);
        }
    }
    WinTest();
}

bool TPlay::ClockSolved() const
{
    if (!R.FoundationRules.Contains(roClockInsert) || S.FoundationCount() == 0)
        return false;
    int cards = 0;
    for (int f = 0; f < S.FoundationCount(); ++f) {
        const TStack& pile = S.Foundation(f);
        for (int k = 0; k < pile.Count; ++k) {
            const TCardCode c = pile.Cards[static_cast<std::size_t>(k)];
            if (!CodeFaceUp(c) || CodeValue(c) != f)
                return false;
            ++cards;
        }
    }
    return cards == (R.DeckCount == 2 ? 104 : 52);
}

void TPlay::WinTest()
{
    if (S.Counters.Won)
        return;
    // (Only Aces Up reads the first four piles.)
    bool firstFourHeld = G.AcesUp && S.TableauCount() >= 4;
    for (int p = 0; firstFourHeld && p < 4; ++p)
        firstFourHeld = !S.Tableau(p).Empty();
    if (playrules::GameWon(R, G.Play(), S.Counters.FoundationCards, ClockSolved(), firstFourHeld))
        S.Counters.Won = true;
}

void TPlay::DealToTableauPiles()
{
    const int n = std::min(S.StockCount(), S.TableauCount());
    for (int i = 0; i < n; ++i) {
        const TCardCode card = NextCard();
        S.TouchTableau(i);
        S.Tableau(i).Push(Up(card));
    }
}

void TPlay::TurnToWaste()
{
    const int n = playrules::CardsTurned(R, S.StockCount());
    S.TouchWaste();
    for (int i = 0; i < n; ++i) {
        TCardCode card = NoCard;
        if (G.Burleigh) {
            if (!S.Waste().Empty() && S.Waste().Top() == S.Counters.LastDealt)
                S.Counters.StockFromTop = !S.Counters.StockFromTop;
            if (S.Counters.StockFromTop) {
                card = NextCard();
            } else {
                S.TouchStock();
                card = S.Stock().Cards[0];
                S.Stock().EraseAt(0);
            }
            card = Up(card);
        } else {
            card = Up(NextCard());
        }
        S.Counters.LastDealt = card;
        S.Waste().Push(card);
        S.SharedPlaced(card);
    }
}

void TPlay::OneFoundationDeal()
{
    const int n = playrules::CardsTurned(R, S.StockCount());
    for (int i = 0; i < n && S.FoundationCount() > 0; ++i) {
        const TCardCode card = Up(NextCard());
        SuccessCue();
        S.TouchFoundation(0);
        S.Foundation(0).Push(card);
        FoundationPlaced(0, card);
    }
    if (S.StockCount() == 0)
        ++S.Counters.PassesDone;
    WinTest();
}

void TPlay::StockDeal()
{
    // A refused deal is never generated, so the kind is asked as if no pile were empty.
    switch (playrules::StockDealKind(R, G.Play(), false)) {
    case playrules::TStockDeal::Refused:
    case playrules::TStockDeal::ToTableauPiles:
        DealToTableauPiles();
        break;
    case playrules::TStockDeal::ToFoundation:
        OneFoundationDeal();
        return;
    case playrules::TStockDeal::ToWaste:
        TurnToWaste();
        break;
    }
    if (S.StockCount() == 0) {
        ++S.Counters.PassesDone;
        if (playrules::RedealOffered(R, S.Counters.PassesDone))
            S.Counters.RedealOffered = true;
    }
}

void TPlay::DealTableauCard(int r, int p)
{
    if (S.StockCount() == 0)
        return;
    TCardCode card = NextCard();
    S.TouchTableau(p - 1);
    TStack& pile = S.Tableau(p - 1);
    // Pile by pile, each card lands on the next place.
    pile.Push(card);
    if (playrules::DealtCardStaysDown(R, r, p, S.StockCount() > 0))
        return;
    if (!R.TableauRules.Contains(roDealFaceDown))
        pile.TopRef() = Up(card);
    if (playrules::KingGoesUnder(R, r, CodeValue(card))) {
        const TCardCode king = pile.Pop();
        pile.InsertAt(pile.Count - (r - 1), king);
    }
}

// The tableau dealt again after a gathering redeal (always pile by pile).
void TPlay::TableauDeal()
{
    const auto& counts = R.TableauDealCounts;
    const int piles = R.TableauCount;
    const auto countOf = [&counts](int p) { return counts.empty() ? 1 : counts.at(static_cast<std::size_t>(p - 1)); };
    if (R.TableauRules.Contains(roDealBySuit)) {
        for (int p = 1; p <= piles; ++p) {
            for (int k = 0; k < countOf(p) && S.StockCount() > 0; ++k) {
                const int target = playrules::DealBySuitPile(R, CodeSuit(S.Stock().Top()));
                const TStack& pile = S.Tableau(target - 1);
                DealTableauCard(pile.Count + 1, target);
            }
        }
    } else {
        for (int p = 1; p <= piles; ++p)
            for (int r = 1; r <= countOf(p); ++r)
                DealTableauCard(r, p);
    }
}

void TPlay::Redeal()
{
    S.Counters.RedealOffered = false;
    S.Counters.Points -= 10;
    const bool gathering = playrules::RedealGathers(R);
    S.TouchWaste();
    S.TouchStock();
    TStack& waste = S.Waste();
    if (gathering) {
        for (int p = 0; p < S.TableauCount(); ++p) {
            S.TouchTableau(p);
            TStack& pile = S.Tableau(p);
            for (int k = 0; k < pile.Count; ++k) {
                waste.Push(pile.Cards[static_cast<std::size_t>(k)]);
                S.SharedPlaced(waste.Top());
            }
            pile.Count = 0;
        }
    }
    // The waste goes under the stock, its bottom card dealt first; cards return face down.
    const bool faceUp = R.DeckRules.Contains(roDragFromDeck);
    TStack& stock = S.Stock();
    TCardCodes next(stock.Cards.rbegin() + (MaxStackCards - stock.Count), stock.Cards.rend());
    for (int k = 0; k < waste.Count; ++k) {
        const TCardCode c = waste.Cards[static_cast<std::size_t>(k)];
        next.push_back(faceUp ? CodeTurnedUp(c) : CodeTurnedDown(c));
    }
    for (int k = 0; k < waste.Count; ++k) {
        const TCardCode c = waste.Cards[static_cast<std::size_t>(k)];
        S.SharedTaken(c);
        // The last card dealt is a card of the table to the engine: it turns with the others.
        if (CodeTurnedUp(c) == CodeTurnedUp(S.Counters.LastDealt))
            S.Counters.LastDealt = faceUp ? CodeTurnedUp(c) : CodeTurnedDown(c);
    }
    waste.Count = 0;
    if (playrules::RedealShuffles(R)) {
        // The deck's shuffle, drawn from the program's generator.
        const int n = static_cast<int>(next.size());
        for (int i = 0; i < n; ++i) {
            S.Counters.RandSeed = S.Counters.RandSeed * 134775813u + 1u;
            const int range = n - 1;
            const int j = range <= 0 ? 0 : static_cast<int>((std::uint64_t(S.Counters.RandSeed) * std::uint64_t(range)) >> 32);
            std::swap(next[static_cast<std::size_t>(i)], next[static_cast<std::size_t>(j)]);
            for (const int k : {i, j})
                next[static_cast<std::size_t>(k)] = faceUp ? CodeTurnedUp(next[static_cast<std::size_t>(k)])
                                                           : CodeTurnedDown(next[static_cast<std::size_t>(k)]);
        }
    }
    stock.Count = 0;
    for (auto it = next.rbegin(); it != next.rend(); ++it)
        stock.Push(*it);
    if (gathering) {
        S.Counters.DealPileByPile = true;
        TableauDeal();
        ++S.Counters.PassesDone;
        if (playrules::RedealOffered(R, S.Counters.PassesDone))
            S.Counters.RedealOffered = true;
    }
}

void TPlay::PairRefill(int p, int index)
{
    S.TouchTableau(p);
    TStack& pile = S.Tableau(p);
    pile.EraseAt(index);
    if (!R.TableauRules.Contains(roSelectByHighlight))
        return;
    if (index > 0 && index == pile.Count && !CodeFaceUp(pile.Cards[static_cast<std::size_t>(index - 1)])) {
        pile.TopRef() = Up(pile.Top());
        return;
    }
    if (!pile.Empty() || S.StockCount() == 0)
        return;
    pile.Push(Up(NextCard()));
    DropCue();
}

void TPlay::Click(int pileIndex, int index)
{
    const TRuleOptions& t = R.TableauRules;
    TCounters& c = S.Counters;
    S.TouchTableau(pileIndex);
    TStack& pile = S.Tableau(pileIndex);
    TCardCode& card = pile.Cards[static_cast<std::size_t>(index)];
    if (c.SelectedPile < 0) {
        c.SelectedPile = static_cast<std::int8_t>(pileIndex);
        c.SelectedIndex = static_cast<std::int8_t>(index);
        card = Up(card);
        DropCue();
    } else if (c.SelectedPile == pileIndex && c.SelectedIndex == index) {
        UndoCue();
        DropCue();
        if (!t.Contains(roSelectByHighlight) && t.Contains(roDealFaceDown))
            card = CodeTurnedDown(card);
        c.SelectedPile = c.SelectedIndex = -1;
    } else {
        DropCue();
        if (!t.Contains(roSelectByHighlight))
            card = Up(card);
        const int firstPile = c.SelectedPile;
        const int firstIndex = c.SelectedIndex;
        c.SelectedPile = c.SelectedIndex = -1;
        S.TouchTableau(firstPile);
        TCardCode& first = S.Tableau(firstPile).Cards[static_cast<std::size_t>(firstIndex)];
        if (playrules::PairLeaves(R, CodeValue(first), CodeValue(card))) {
            // The later-listed card first, so the other's index stays valid.
            std::pair<int, int> a{firstPile, firstIndex};
            std::pair<int, int> b{pileIndex, index};
            if (a < b)
                std::swap(a, b);
            for (const auto& [p, i] : {a, b}) {
                S.Removed.push_back(S.Tableau(p).Cards[static_cast<std::size_t>(i)]);
                SuccessCue();
                PairRefill(p, i);
            }
        } else {
            for (TCardCode* refused : {&card, &first}) {
                UndoCue();
                if (t.Contains(roDealFaceDown))
                    *refused = CodeTurnedDown(*refused);
            }
        }
    }
    WinTest();
}

// Burleigh's deal records whether a card came from the bottom of the stock.
bool BurleighDealsFromBottom(const TSolverState& s)
{
    if (!s.Game().Burleigh)
        return false;
    bool fromTop = s.Counters.StockFromTop;
    bool bottom = false;
    TCardCode wasteTop = s.Waste().Empty() ? NoCard : s.Waste().Top();
    TCardCode lastDealt = s.Counters.LastDealt;
    const int n = playrules::CardsTurned(s.Game().Rules, s.StockCount());
    for (int i = 0; i < n; ++i) {
        if (wasteTop != NoCard && wasteTop == lastDealt)
            fromTop = !fromTop;
        const TCardCode card = CodeTurnedUp(fromTop ? s.Stock().Cards[static_cast<std::size_t>(s.StockCount() - 1 - i)]
                                                    : s.Stock().Cards[static_cast<std::size_t>(i)]);
        bottom = bottom || !fromTop;
        wasteTop = lastDealt = card;
    }
    return bottom;
}

} // namespace

void GenerateMoves(const TSolverState& state, TMoveSet set, std::vector<TSolverMove>& moves)
{
    moves.clear();
    if (state.Counters.Won)
        return;
    const TSolverGame& g = state.Game();
    if (g.ClickPlay) {
        if (set != TMoveSet::Player && state.Counters.SelectedPile < 0)
            GeneratePairs(state, moves);
        else
            GenerateClicks(state, moves);
        return;
    }
    // A position proved lost needs no search (the player still gets its moves).
    if (set != TMoveSet::Player && HopelesslyBlocked(state))
        return;
    GenerateDrags(state, set, moves);
    // At a turn of a cycle keyed as one, every waste card the cycle brings to
    // the top, and no clicks: they lead to the same key (AtCycleTurn).
    if (set == TMoveSet::Folded && state.StockKeyedAsCycle() && state.AtCycleTurn()) {
        if (state.StockCount() > 0)
            GenerateDealPlays(state, moves);
        GenerateRecyclePlays(state, moves);
        return;
    }
    if (set == TMoveSet::Folded && state.StockCount() > 0 && DealsFold(state)) {
        GenerateDealPlays(state, moves);
        if (DealsCommute(state)) {
            GenerateDealOut(state, moves);
            if (state.Counters.RedealOffered) {
                TSolverMove redeal;
                redeal.Type = TMoveType::Redeal;
                moves.push_back(redeal);
            }
            return;
        }
    }
    if (state.StockCount() > 0) {
        bool emptyPile = false;
        for (int p = 0; p < state.TableauCount(); ++p)
            emptyPile = emptyPile || state.Tableau(p).Empty();
        if (playrules::StockDealKind(g.Rules, g.Play(), emptyPile) != playrules::TStockDeal::Refused) {
            TSolverMove deal;
            deal.Type = TMoveType::StockDeal;
            moves.push_back(deal);
        }
    }
    if (state.Counters.RedealOffered) {
        TSolverMove redeal;
        redeal.Type = TMoveType::Redeal;
        moves.push_back(redeal);
    }
}

void ApplyMove(TSolverState& state, const TSolverMove& move)
{
    state.BeginMove();
    TPlay play(state);
    if (move.Recycles) {
        while (state.StockCount() > 0)
            play.StockDeal();
        play.Redeal();
    }
    for (int k = 0; k < move.Deals; ++k)
        play.StockDeal();
    switch (move.Type) {
    case TMoveType::Drag: play.Drag(move); break;
    case TMoveType::StockDeal: play.StockDeal(); break;
    case TMoveType::Redeal: play.Redeal(); break;
    case TMoveType::Click: play.Click(move.SourcePile, move.SourceIndex); break;
    case TMoveType::Pair:
        play.Click(move.SourcePile, move.SourceIndex);
        play.Click(move.SecondPile, move.SecondIndex);
        break;
    }
}

namespace {

// The index into the state's piles of a pile named by kind and number.
[[gnu::always_inline]] inline int PileIndexOf(const TSolverState& s, int kind, int pile)
{
    const TPileMap& map = s.Map();
    // Most moves name tableau piles: tested before the jump through the table.
    if (kind == pkTableau)
        return pile;
    switch (kind) {
    case pkFoundation:
        return map.FirstFoundation() + pile;
    case pkExcept:
        return map.FirstExcept() + pile;
    case pkReserve:
        return map.ReserveIndex();
    case pkWaste:
        return map.WasteIndex();
    case pkStock:
        return map.StockIndex();
    default:
        return -1;
    }
}

// A drag whose whole effect is cards taken off one pile (its new top turned
// up) and laid on another, or a free cell emptied or filled: what TPlay::Drag
// does when no refill, Clock placement, run to a foundation or shared place
// follows. Anything else is keyed by playing it.
// `from` and `to` are the move's source and target as PileIndexOf gives them.
[[gnu::always_inline]] inline bool PlainDragBetween(const TSolverState& s, const TSolverMove& move, int from, int to)
{
    const TSolverGame& g = s.Game();
    // (A run going home takes the cards above its first one along; a run
    // laid on the tableau is keyed below.)
    if (move.Type != TMoveType::Drag || move.Deals > 0 || g.TheClock || s.SharedFoundation() >= 0
        || (move.TargetKind == pkFoundation && g.Rules.FoundationRules.Contains(roFoundationSuitRun)))
        return false;
    if (from < 0 || to < 0 || from == to)
        return false;
    // A waste keyed with the stock as a cycle is keyed by playing the move.
    if (s.StockKeyedAsCycle() && (from == s.Map().WasteIndex() || to == s.Map().WasteIndex()))
        return false;
    switch (move.SourceKind) {
    case pkTableau:
        return move.SourceIndex > 0 || !g.Rules.TableauRules.Contains(roRefillEmpty);
    case pkReserve:
        return g.Rules.FreeCells || move.SourceIndex + 1 == s.Reserve().Count;
    default:
        return true;
    }
}

[[gnu::always_inline]] inline bool PlainDrag(const TSolverState& s, const TSolverMove& move)
{
    return PlainDragBetween(s, move, PileIndexOf(s, move.SourceKind, move.SourcePile),
                            PileIndexOf(s, move.TargetKind, move.TargetPile));
}

// The change of pile `pile`'s share when the cards from `index` up are taken
// off it, and the card under them turns up if `turnsUp`.
[[gnu::always_inline]] inline std::uint64_t TakenChange(const TSolverState& s, const TStack& stack, int pile, int index,
                                                       bool turnsUp)
{
    std::uint64_t change = 0;
    for (int k = index; k < stack.Count; ++k)
        change -= s.CardShare(pile, k, stack.Cards[static_cast<std::size_t>(k)]);
    if (turnsUp && index > 0) {
        const TCardCode below = stack.Cards[static_cast<std::size_t>(index - 1)];
        if (!CodeFaceUp(below))
            change += s.CardShare(pile, index - 1, CodeTurnedUp(below)) - s.CardShare(pile, index - 1, below);
    }
    return change;
}

} // namespace

bool KeyedAhead(const TSolverState& state, const TSolverMove& move) { return PlainDrag(state, move); }

bool MayWin(const TSolverState& state, const TSolverMove& move)
{
    // Aces Up is won by its piles as well, The Clock by its placement.
    const TSolverGame& g = state.Game();
    if (g.AcesUp || g.TheClock || g.Rules.FoundationRules.Contains(roClockInsert))
        return true;
    // Elsewhere only the foundations' count wins, and a plain drag to
    // another place leaves it as it was (or lower, taking a card back).
    return !PlainDrag(state, move) || move.TargetKind == pkFoundation;
}

std::uint64_t KeyAfter(TSolverState& state, const TSolverMove& move)
{
    if (const std::optional<std::uint64_t> key = KeyAhead(state, move))
        return *key;
    ApplyMove(state, move);
    const std::uint64_t key = state.Key();
    state.UndoMove();
    return key;
}

std::optional<std::uint64_t> KeyAhead(const TSolverState& s, const TSolverMove& move)
{
    const int from = PileIndexOf(s, move.SourceKind, move.SourcePile);
    const int to = PileIndexOf(s, move.TargetKind, move.TargetPile);
    if (!PlainDragBetween(s, move, from, to))
        return std::nullopt;
    const TCardCode card = SourceCard(s, {move.SourceKind, move.SourcePile, move.SourceIndex});
    std::uint64_t taken = 0;
    switch (move.SourceKind) {
    case pkTableau:
        // (a run to another tableau pile is keyed below, with its landing)
        if (move.TargetKind != pkTableau || !s.Game().MultiMove)
            taken = TakenChange(s, s.Tableau(move.SourcePile), from, move.SourceIndex, true);
        break;
    case pkExcept: {
        const TStack& stack = s.Except(move.SourcePile);
        taken = TakenChange(s, stack, from, stack.Count - 1, true);
        break;
    }
    case pkReserve:
        taken = (s.Game().Rules.FreeCells ? s.CardShare(from, move.SourceIndex, NoCard) : 0)
            - s.CardShare(from, move.SourceIndex, card);
        break;
    default: {
        // The waste, the stock and a foundation give their top card.
        const TStack& stack = s.Pile(from);
        taken = TakenChange(s, stack, from, stack.Count - 1, false);
        break;
    }
    }
    std::uint64_t laid = 0;
    if (move.SourceKind == pkTableau && move.TargetKind == pkTableau && s.Game().MultiMove) {
        // A run from pile to pile (it keeps its order), the commonest move:
        // both piles keyed by place (a tableau pile always is), each card's
        // code hashed once.
        const TStack& source = s.Tableau(move.SourcePile);
        const int onto = s.Pile(to).Count - move.SourceIndex;
        taken = 0;
        for (int k = move.SourceIndex; k < source.Count; ++k) {
            const std::uint64_t code = s.CardHash(source.Cards[static_cast<std::size_t>(k)]);
            taken -= code * keying::PlaceWeights[static_cast<std::size_t>(k)];
            laid += code * keying::PlaceWeights[static_cast<std::size_t>(onto + k)];
        }
        if (move.SourceIndex > 0) {
            const TCardCode below = source.Cards[move.SourceIndex - 1u];
            if (!CodeFaceUp(below))
                taken += s.CardShare(from, move.SourceIndex - 1, CodeTurnedUp(below)) - s.CardShare(from, move.SourceIndex - 1, below);
        }
    } else if (move.TargetKind == pkReserve) {
        laid = s.CardShare(to, move.TargetPile, card)
            - s.CardShare(to, move.TargetPile, s.Reserve().Cards[move.TargetPile]);
    } else {
        laid = s.CardShare(to, s.Pile(to).Count, card);
    }
    const std::int8_t baseValue = move.SetsBase ? static_cast<std::int8_t>(CodeValue(card)) : s.Counters.BaseValue;
    return s.KeyAfterChanges({from, taken}, {to, laid}, baseValue);
}

namespace {

// Whether an Ace may yet be lifted with cards above it. Nothing builds on an
// Ace, so where only single cards and runs move it always moves alone. Where
// face-up groups or whole piles move, an Ace lying face up under other cards
// (Yukon deals so) or at the bottom of a taller pile goes with what covers
// it, and a stock dealt onto the piles may still cover one.
bool AceMayCarryCards(const TSolverState& s)
{
    const TGameRules& rules = s.Game().Rules;
    const TRuleOptions& t = rules.TableauRules;
    const bool groups = t.Contains(roMoveFaceUpGroups);
    const bool wholePiles = t.Contains(roMoveWholePile);
    if (!groups && !wholePiles)
        return false;
    if (rules.TurnCount < 1 && s.StockCount() > 0)
        return true;
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        for (int k = 0; k + 1 < pile.Count; ++k) {
            const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
            if (CodeValue(card) == 0 && ((groups && CodeFaceUp(card)) || (wholePiles && k == 0)))
                return true;
        }
    }
    return false;
}

// Whether every face-up card of the tableau lies on the card under it by
// the building rule, and play keeps it so: groups lifted are then runs and
// land where they fit, a card turned up starts a run of its own, and no
// stock deals onto the piles and no whole pile carries its face-down cards
// onto another. Also, a pile emptied early never bars the stock's click,
// and no extra pile builds on a card that left the tableau.
bool TableauStaysRuns(const TSolverState& s)
{
    const TSolverGame& g = s.Game();
    const TGameRules& rules = g.Rules;
    if (rules.TableauRules.Contains(roMoveWholePile) || (rules.TurnCount < 1 && s.StockCount() > 0)
        || rules.ExceptCount != 0)
        return false;
    if (s.StockCount() > 0
        && playrules::StockDealKind(rules, g.Play(), true) == playrules::TStockDeal::Refused)
        return false;
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        for (int k = 1; k < pile.Count; ++k) {
            const TCardCode lower = pile.Cards[static_cast<std::size_t>(k - 1)];
            const TCardCode upper = pile.Cards[static_cast<std::size_t>(k)];
            if (CodeFaceUp(lower) && CodeFaceUp(upper)
                && ((g.TableauTopsFor[static_cast<std::size_t>(CodeIdentity(upper))] >> CodeIdentity(lower)) & 1u) == 0)
                return false;
        }
    }
    return true;
}

// The wider proof for alternate colours. Let c, of rank r, go home while
// both cards that fit on it (opposite colour, rank r-1; call them d) are not
// yet home, but their foundations hold r-2, and the other suit of c's colour
// holds r-3. Take a winning line W that keeps c in play, and follow it with c
// home, changing only what W lays on c: each d W lays there goes home
// instead (its foundation holds r-2 from now on, so it may). What W then lays
// on such a d is c's own suit's r-2 (home already, as c is) or the other one,
// e, which goes home instead too (its foundation holds r-3). Nothing lands
// on e: the opposite-colour r-3 are home. Where the tableau holds runs only
// and keeps them so, nothing else ever covers c, d or e in W, so the cards
// sent home early lie at the top of their piles in W, every other move of W
// stays playable (lifted groups are only shorter, more piles and cells stand
// empty, the foundations hold more), and W's moves of the cards already
// home are left out. The line still wins.
bool WiderAlternateColourProof(const TSolverState& s, TCardCode card, const std::array<int, 4>& home)
{
    const int value = CodeValue(card);
    for (int suit = 0; suit < 4; ++suit) {
        if (suit == CodeSuit(card))
            continue;
        const int needed = OtherColour(suit, CodeSuit(card)) ? value - 1 : value - 2;
        if (home[static_cast<std::size_t>(suit)] < needed)
            return false;
    }
    return TableauStaysRuns(s);
}

} // namespace

bool IsSafeAutoMove(const TSolverState& s, const TSolverMove& move)
{
    if (s.Game().AcesUp)
        return AcesUpDiscardIsSafe(s, move);
    using TAutoProof = TSolverGame::TAutoProof;
    const TAutoProof proof = s.Game().AutoProof;
    // A compound move's clicks change the stock's order for later passes: not proved safe.
    if (proof == TAutoProof::None || move.Type != TMoveType::Drag || move.TargetKind != pkFoundation || move.Deals > 0)
        return false;
    const TCardCode card = SourceCard(s, {move.SourceKind, move.SourcePile, move.SourceIndex});
    const int value = CodeValue(card);
    // Nothing is built on an Ace. A Two takes only an Ace, which may go home
    // instead, as long as no Ace can carry other cards onto the Two.
    if (value == 0 || (value == 1 && !AceMayCarryCards(s)) || proof == TAutoProof::SameSuit)
        return true;
    // Cards home per suit: one pack, each foundation holds one suit from the Ace.
    std::array<int, 4> home{};
    for (int f = 0; f < s.FoundationCount(); ++f)
        if (!s.Foundation(f).Empty())
            home[static_cast<std::size_t>(CodeSuit(s.Foundation(f).Top()))] = CodeValue(s.Foundation(f).Top()) + 1;
    for (int suit = 0; suit < 4; ++suit) {
        const bool canHoldIt = proof == TAutoProof::AnySuit ? suit != CodeSuit(card) : OtherColour(suit, CodeSuit(card));
        if (canHoldIt && home[static_cast<std::size_t>(suit)] < value)
            return proof == TAutoProof::AlternateColour && WiderAlternateColourProof(s, card, home);
    }
    return true;
}

std::vector<TRecordAction> RecordOf(const TSolverState& state, const TSolverMove& move)
{
    if (move.Deals > 0) {
        // The clicks first. Compound moves are made only where a click
        // records no Burleigh end, so the clicks need not be played here.
        std::vector<TRecordAction> record;
        if (move.Recycles) {
            const int turn = std::max(1, state.Game().Rules.TurnCount);
            record.assign(static_cast<std::size_t>((state.StockCount() + turn - 1) / turn),
                          TRecordAction{pkStockDeal, 0, 0, 0});
            record.push_back({pkRedeal, 0, 0, 0});
        }
        record.insert(record.end(), move.Deals, TRecordAction{pkStockDeal, 0, 0, 0});
        TSolverMove last = move;
        last.Deals = 0;
        last.Recycles = false;
        for (const TRecordAction& action : RecordOf(state, last))
            record.push_back(action);
        return record;
    }
    switch (move.Type) {
    case TMoveType::StockDeal: return {{pkStockDeal, 0, 0, BurleighDealsFromBottom(state) ? 1 : 0}};
    case TMoveType::Redeal: return {{pkRedeal, 0, 0, 0}};
    case TMoveType::Click: return {{pkTableau, move.SourcePile, 0, move.SourceIndex}};
    case TMoveType::Pair:
        return {{pkTableau, move.SourcePile, 0, move.SourceIndex}, {pkTableau, move.SecondPile, 0, move.SecondIndex}};
    case TMoveType::Drag: break;
    }
    (void)state;
    return {{move.SourceKind, move.SourcePile, move.DropPoint, move.SourceIndex}};
}

} // namespace solver
