#include "solver/DeadEnds.h"

#include "solver/WasteDeadEnds.h"

#include <algorithm>
#include <bit>

namespace solver {

namespace {

using TCounts = std::array<std::uint8_t, 64>;

// Rules that let a foundation take a card its rank and suit alone do not
// decide (a base card set at run time, sideways piles, the clock), or give
// a card back to the tableau: no proof here reads such foundations.
bool FoundationsPlain(const TRuleOptions& f)
{
    for (const TRuleOption option : {roFirstCardSetsBase, roEachCardSetsBase, roEmptyBaseRank, roRankIsPileIndex,
                                     roFoundationSuitRun, roFoundationSideways, roClockInsert, roTakeFromFoundation})
        if (f.Contains(option))
            return false;
    return true;
}

// Games whose special rules move cards outside the drop judge.
bool SpecialGame(const TSolverGame& g)
{
    return g.ClickPlay || g.TheClock || g.AcesUp || g.OneFoundation || g.Burleigh;
}

// Foundations that take a suit from its Ace upwards: a card goes home only
// after every lower card of its suit.
bool FoundationsUpBySuitFromAce(const TRuleOptions& f)
{
    if (!f.Contains(roBuildUp) || !f.Contains(roSameSuit) || !f.Contains(roEmptyAce))
        return false;
    for (const TRuleOption option :
         {roBuildDown, roBuildUpOrDown, roKingOnAce, roAceOnKing, roAnySuitDrop, roSameColour, roAlternateColour,
          roOtherSuit, roEmptyKing, roEmptyTwo, roEmptyJack})
        if (f.Contains(option))
            return false;
    return true;
}

// Nothing outside the tableau can still change it: no card to deal, none on
// the waste, no redeal to come (a redeal is offered only when the stock runs
// out or by a redeal that leaves passes).
bool NothingToCome(const TSolverState& s)
{
    return s.StockCount() == 0 && s.Waste().Empty() && s.Shared().Empty() && !s.Counters.RedealOffered;
}

// Whether a card of some identity in `identities` is counted in `available`.
bool AnyAvailable(std::uint64_t identities, const TCounts& available, int ownIdentity)
{
    while (identities != 0) {
        const int id = std::countr_zero(identities);
        identities &= identities - 1;
        if (available[static_cast<std::size_t>(id)] > (id == ownIdentity ? 1 : 0))
            return true;
    }
    return false;
}

void Take(TCounts& counts, int id)
{
    std::uint8_t& count = counts[static_cast<std::size_t>(id)];
    if (count > 0)
        --count;
}

} // namespace

TDeadEnds::TDeadEnds(const TSolverGame& game) : Game(&game), Copies(game.Rules.DeckCount == 2 ? 2 : 1)
{
    const TGameRules& r = game.Rules;
    const TRuleOptions& t = r.TableauRules;
    const TRuleOptions& f = r.FoundationRules;
    const bool closed = !SpecialGame(game) && game.FoundationDropTarget && r.ExceptCount == 0 && FoundationsPlain(f)
        && !t.Contains(roTakeFromFoundation) && !r.DeckRules.Contains(roTakeFromFoundation)
        && !r.DeckRules.Contains(roStockSpecial) && game.WinningCount == 52 * Copies;
    if (!closed)
        return;
    FoundationOnly = !game.TableauDropTarget && r.ReserveCount == 0;
    StuckBuilds = game.TableauDropTarget && !r.FreeCells && FoundationsUpBySuitFromAce(f)
        && !t.Contains(roMoveFaceUpGroups) && !t.Contains(roMoveWholePile);
    RunsMove = t.Contains(roMoveSequences);
}

bool TDeadEnds::IsLost(const TSolverState& s) const
{
    if (WasteDeadEndLost(*Game, s))
        return true;
    if (!Applies() || !NothingToCome(s))
        return false;
    return FoundationOnly ? FoundationOnlyLost(s) : StuckBuildLost(s);
}

// Where tableau cards go only to foundations, a card can be played only onto
// a foundation top it fits. The tops it can ever meet are today's tops and
// the tableau cards not under it in its own pile: a card under it cannot be
// played before it, and a card once home never comes back. With a single
// foundation, a card that is not on top of its pile meets no today's top at
// all: to uncover it, some card must first be played onto that foundation.
// A card that meets no top it fits can never go home, so the game is lost.
bool TDeadEnds::FoundationOnlyLost(const TSolverState& s) const
{
    const TSolverGame& g = *Game;
    TCounts inTableau{};
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        for (int k = 0; k < pile.Count; ++k)
            ++inTableau[CodeIdentity(pile.Cards[static_cast<std::size_t>(k)])];
    }
    std::uint64_t tops = 0;
    bool emptyFoundation = false;
    for (int f = 0; f < s.FoundationCount(); ++f) {
        if (s.Foundation(f).Empty())
            emptyFoundation = true;
        else
            tops |= std::uint64_t{1} << CodeIdentity(s.Foundation(f).Top());
    }
    const bool singleFoundation = s.FoundationCount() == 1;
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        TCounts available = inTableau;
        for (int k = 0; k < pile.Count; ++k) {
            const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
            const int id = CodeIdentity(card);
            const std::uint64_t fitsOn = g.FoundationTopsFor[static_cast<std::size_t>(id)];
            const bool meetsTops = !singleFoundation || k + 1 == pile.Count;
            const bool playable = AnyAvailable(fitsOn, available, id) || (meetsTops && (fitsOn & tops) != 0)
                || (emptyFoundation && ((g.FoundationEmptyValues >> CodeValue(card)) & 1u));
            if (!playable)
                return true;
            // From here up, this card lies under the others.
            Take(available, id);
        }
    }
    return false;
}

// Where foundations take each suit from its Ace up and nothing but the
// tableau holds a place for a card, a card is stuck for good when:
// - it cannot go home while it stays, because every copy of a lower card of
//   its suit lies under it in its own pile;
// - it cannot go onto another pile: every card it fits on lies under it in
//   its own pile or is home (home cards never come back), and no empty pile
//   would take it;
// - no card under it can carry it along (it is not linked into a run with
//   the card under it, where runs move).
// Then neither it nor the lower card under it ever goes home.
bool TDeadEnds::StuckBuildLost(const TSolverState& s) const
{
    const TSolverGame& g = *Game;
    TCounts outside{};
    for (int id = 0; id < 64; ++id)
        outside[static_cast<std::size_t>(id)] = static_cast<std::uint8_t>(Copies);
    for (int f = 0; f < s.FoundationCount(); ++f) {
        const TStack& home = s.Foundation(f);
        for (int k = 0; k < home.Count; ++k) {
            std::uint8_t& left = outside[CodeIdentity(home.Cards[static_cast<std::size_t>(k)])];
            left = static_cast<std::uint8_t>(std::max(0, left - 1));
        }
    }
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        TCounts available = outside;
        TCounts under{};
        // By suit, the lowest value all of whose copies lie under the current card.
        std::array<int, 4> lowestBuried{16, 16, 16, 16};
        for (int k = 0; k < pile.Count; ++k) {
            const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
            const int id = CodeIdentity(card);
            const bool carried = RunsMove && k > 0 && g.RunLinkFits(card, pile.Cards[static_cast<std::size_t>(k - 1)]);
            const bool homeBlocked = lowestBuried[static_cast<std::size_t>(CodeSuit(card))] < CodeValue(card);
            if (homeBlocked && !carried && !((g.TableauEmptyValues >> CodeValue(card)) & 1u)
                && !AnyAvailable(g.TableauTopsFor[static_cast<std::size_t>(id)], available, id))
                return true;
            Take(available, id);
            if (++under[static_cast<std::size_t>(id)] == Copies) {
                int& lowest = lowestBuried[static_cast<std::size_t>(CodeSuit(card))];
                lowest = std::min(lowest, CodeValue(card));
            }
        }
    }
    return false;
}

} // namespace solver
