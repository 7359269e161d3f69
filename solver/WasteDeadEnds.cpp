#include "solver/WasteDeadEnds.h"

#include "solver/CardCounts.h"
#include "solver/SuitHome.h"

#include <algorithm>
#include <array>
#include <bit>

namespace solver {

namespace {

// Foundations that take each suit from one end by rank and suit alone
// (SuitHomeOf), keep what they take, and are the only place a card goes home.
TSuitHome SuitHomeKept(const TGameRules& r)
{
    const TRuleOptions& f = r.FoundationRules;
    for (const TRuleOption option : {roFirstCardSetsBase, roEachCardSetsBase, roEmptyBaseRank, roRankIsPileIndex,
                                     roFoundationSuitRun, roFoundationSideways, roClockInsert, roTakeFromFoundation})
        if (f.Contains(option))
            return TSuitHome::None;
    if (r.TableauRules.Contains(roTakeFromFoundation) || r.DeckRules.Contains(roTakeFromFoundation))
        return TSuitHome::None;
    return SuitHomeOf(f);
}

// A stock that only turns cards onto the waste, whose top alone is taken.
bool StockTurnsToWaste(const TSolverGame& g)
{
    const TGameRules& r = g.Rules;
    return r.TurnCount >= 1 && !g.OneFoundation && !g.Burleigh && !r.DeckRules.Contains(roStockSpecial)
        && !r.DeckRules.Contains(roDragFromDeck);
}

// Walks a stack from its bottom card up and tells whether some card is
// stuck: every copy of a card of its suit due home before it lies under it, it fits no
// card in `available` but those under it, no empty pile takes it, and
// `carried(k)` (the card under it takes it along) is false.
template <class Carried>
bool StackHasStuckCard(const TSolverGame& g, TSuitHome home, const TStack& stack, TCardCounts available, int copies,
                       Carried carried)
{
    TCardCounts under{};
    // By suit, the earliest turn home all of whose copies lie under the current card.
    std::array<int, 4> lowestBuried{16, 16, 16, 16};
    for (int k = 0; k < stack.Count; ++k) {
        const TCardCode card = stack.Cards[static_cast<std::size_t>(k)];
        const int id = CodeIdentity(card);
        const bool homeBlocked = lowestBuried[static_cast<std::size_t>(CodeSuit(card))] < HomeTurn(card, home);
        if (homeBlocked && !((g.TableauEmptyValues >> CodeValue(card)) & 1u)
            && !AnyAvailable(g.TableauTopsFor[static_cast<std::size_t>(id)], available, id) && !carried(k))
            return true;
        Take(available, id);
        if (++under[static_cast<std::size_t>(id)] == copies) {
            int& lowest = lowestBuried[static_cast<std::size_t>(CodeSuit(card))];
            lowest = std::min(lowest, HomeTurn(card, home));
        }
    }
    return false;
}

} // namespace

TWasteDeadEnds::TWasteDeadEnds(const TSolverGame& game) : Game(&game), Copies(game.Rules.DeckCount == 2 ? 2 : 1)
{
    const TGameRules& r = game.Rules;
    const TRuleOptions& t = r.TableauRules;
    Home = SuitHomeKept(r);
    const bool special = game.ClickPlay || game.TheClock || game.AcesUp || game.OneFoundation || game.Burleigh;
    TableauProof = !special && StockTurnsToWaste(game) && game.FoundationDropTarget && game.TableauDropTarget
        && r.ExceptCount == 0 && !r.FreeCells && game.WinningCount == 52 * Copies && Home != TSuitHome::None
;
    RunsMove = t.Contains(roMoveSequences);
    FaceUpGroupsMove = t.Contains(roMoveFaceUpGroups);
    WholePilesMove = t.Contains(roMoveWholePile);
    // An emptied pile that fills itself from the waste takes the waste's top
    // card whatever it is; a waste kept on a foundation's place is reached
    // through that foundation.
    const bool refillsFromWaste = t.Contains(roRefillEmpty) && !t.Contains(roEmptyFromReserve);
    WasteProof = TableauProof && !refillsFromWaste;
}

// Once the last pass has begun and no redeal is offered, the waste is never
// turned back into the stock: it only grows on top and loses its top card.
bool TWasteDeadEnds::NoRedealToCome(const TSolverState& s) const
{
    const int passes = Game->Rules.DeckPasses;
    return !s.Counters.RedealOffered && passes != 0 && s.Counters.PassesDone + 1 >= passes && s.SharedFoundation() < 0;
}

bool TWasteDeadEnds::IsLost(const TSolverState& s) const
{
    if (!TableauProof)
        return false;
    return TableauCardStuck(s) || (WasteProof && NoRedealToCome(s) && WasteCardStuck(s));
}

// A tableau card's way out is a top it fits or an empty pile; the stock and
// the waste only add cards on top of piles (or fill empty ones), never lift
// a card, so every card not home nor under it may be such a top, and nothing
// else can free it.
bool TWasteDeadEnds::TableauCardStuck(const TSolverState& s) const
{
    const TSolverGame& g = *Game;
    const TCardCounts outside = NotHome(s, Copies);
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        // The card under it may be picked up with it on top: a whole pile
        // moves from any card, a face-up group from a face-up card, a run
        // only through fitting links. Only a card no move can lift with
        // another can be stuck.
        int lowestFaceUp = pile.Count;
        for (int k = 0; k < pile.Count && lowestFaceUp == pile.Count; ++k)
            if (CodeFaceUp(pile.Cards[static_cast<std::size_t>(k)]))
                lowestFaceUp = k;
        const auto carried = [&](int k) {
            if (k == 0)
                return false;
            return WholePilesMove || (FaceUpGroupsMove && lowestFaceUp < k)
                || (RunsMove
                    && g.RunLinkFits(pile.Cards[static_cast<std::size_t>(k)], pile.Cards[static_cast<std::size_t>(k - 1)]));
        };
        if (StackHasStuckCard(g, Home, pile, outside, Copies, carried))
            return true;
    }
    return false;
}

// Only the waste's top card is ever taken, alone: a card leaves the waste
// before every card under it there, and no card under it can carry it.
bool TWasteDeadEnds::WasteCardStuck(const TSolverState& s) const
{
    return StackHasStuckCard(*Game, Home, s.Waste(), NotHome(s, Copies), Copies, [](int) { return false; });
}

bool WasteDeadEndLost(const TSolverGame& game, const TSolverState& s)
{
    return TWasteDeadEnds(game).IsLost(s);
}

} // namespace solver
