#include "solver/DeadEnds.h"

#include "solver/CardCounts.h"

#include <algorithm>
#include <bit>

namespace solver {

namespace {

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

// Nothing outside the tableau can still change it: no card to deal, none on
// the waste, no redeal to come (a redeal is offered only when the stock runs
// out or by a redeal that leaves passes).
bool NothingToCome(const TSolverState& s)
{
    return s.StockCount() == 0 && s.Waste().Empty() && s.Shared().Empty() && !s.Counters.RedealOffered;
}

// Every card of `values`, in all four suits.
std::uint64_t OfValues(std::uint32_t values)
{
    std::uint64_t cards = 0;
    for (int value = 0; value < 13; ++value)
        if ((values >> value) & 1u)
            for (int suit = 0; suit < 4; ++suit)
                cards |= std::uint64_t{1} << CodeIdentity(MakeCardCode(value, suit, true));
    return cards;
}

// Whether a foundation takes a card exactly one rank away from its top in
// either direction, suits aside, with or without the King and Ace meeting.
TDeadEnds::TRankWalk RankWalkOf(const TSolverGame& game)
{
    bool line = true;
    bool cycle = true;
    for (int value = 0; value < 13; ++value) {
        const std::uint32_t below = value > 0 ? 1u << (value - 1) : 0u;
        const std::uint32_t above = value < 12 ? 1u << (value + 1) : 0u;
        const std::uint64_t lineTops = OfValues(below | above);
        const std::uint64_t cycleTops = OfValues((value > 0 ? below : 1u << 12) | (value < 12 ? above : 1u));
        for (int suit = 0; suit < 4; ++suit) {
            // (identities beyond the King name no card)
            const std::uint64_t tops =
                game.FoundationTopsFor[CodeIdentity(MakeCardCode(value, suit, true))] & OfValues(0x1FFF);
            line = line && tops == lineTops;
            cycle = cycle && tops == cycleTops;
        }
    }
    return cycle ? TDeadEnds::TRankWalk::Cycle : line ? TDeadEnds::TRankWalk::Line : TDeadEnds::TRankWalk::None;
}

} // namespace

TDeadEnds::TDeadEnds(const TSolverGame& game) : Game(&game), WasteProofs(game), SuitRunProofs(game), Copies(game.Rules.DeckCount == 2 ? 2 : 1)
{
    const TGameRules& r = game.Rules;
    const TRuleOptions& t = r.TableauRules;
    const TRuleOptions& f = r.FoundationRules;
    Home = SuitHomeOf(f);
    const bool closed = !SpecialGame(game) && game.FoundationDropTarget && r.ExceptCount == 0 && FoundationsPlain(f)
        && !t.Contains(roTakeFromFoundation) && !r.DeckRules.Contains(roTakeFromFoundation)
        && !r.DeckRules.Contains(roStockSpecial) && game.WinningCount == 52 * Copies;
    if (!closed)
        return;
    FoundationOnly = !game.TableauDropTarget && r.ReserveCount == 0;
    StuckBuilds = game.TableauDropTarget && !r.FreeCells && Home != TSuitHome::None
        && !t.Contains(roMoveWholePile);
    RunsMove = t.Contains(roMoveSequences);
    FaceUpGroupsMove = t.Contains(roMoveFaceUpGroups);
    if (FoundationOnly)
        RankWalk = RankWalkOf(game);
}

bool TDeadEnds::IsLost(const TSolverState& s) const
{
    if (WasteProofs.IsLost(s) || SuitRunProofs.IsLost(s))
        return true;
    if (!Applies() || !NothingToCome(s))
        return false;
    if (FoundationOnly)
        return FoundationOnlyLost(s) || RankWalkLost(s);
    return StuckBuildLost(s);
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
    TCardCounts inTableau{};
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
        TCardCounts available = inTableau;
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

// Where foundations take each suit from one end (up from the Ace, down from
// the King) and nothing but the tableau holds a place for a card, a card is
// stuck for good when:
// - it cannot go home while it stays, because every copy of a card of its
//   suit due home before it lies under it in its own pile;
// - it cannot go onto another pile: every card it fits on lies under it in
//   its own pile or is home (home cards never come back), and no empty pile
//   would take it;
// - no card under it can carry it along (it is not linked into a run with
//   the card under it, where runs move; no card under it lies face up,
//   where face-up groups move: a group starts at a face-up card, and a
//   face-down card is turned only once it lies on top).
// Then neither it nor the card under it due home first ever goes home.
bool TDeadEnds::StuckBuildLost(const TSolverState& s) const
{
    const TSolverGame& g = *Game;
    TCardCounts outside{};
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
        TCardCounts available = outside;
        TCardCounts under{};
        // By suit, the earliest turn home all of whose copies lie under the current card.
        std::array<int, 4> lowestBuried{16, 16, 16, 16};
        bool faceUpBelow = false; // some card under the current one lies face up
        for (int k = 0; k < pile.Count; ++k) {
            const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
            const int id = CodeIdentity(card);
            faceUpBelow = faceUpBelow || (k > 0 && CodeFaceUp(pile.Cards[static_cast<std::size_t>(k - 1)]));
            const bool carried = k > 0
                && ((RunsMove && g.RunLinkFits(card, pile.Cards[static_cast<std::size_t>(k - 1)]))
                    || (FaceUpGroupsMove && faceUpBelow));
            const bool homeBlocked = lowestBuried[static_cast<std::size_t>(CodeSuit(card))] < HomeTurn(card, Home);
            if (homeBlocked && !carried && !((g.TableauEmptyValues >> CodeValue(card)) & 1u)
                && !AnyAvailable(g.TableauTopsFor[static_cast<std::size_t>(id)], available, id))
                return true;
            Take(available, id);
            if (++under[static_cast<std::size_t>(id)] == Copies) {
                int& lowest = lowestBuried[static_cast<std::size_t>(CodeSuit(card))];
                lowest = std::min(lowest, HomeTurn(card, Home));
            }
        }
    }
    return false;
}

// With one foundation that takes a card a rank above or below its top, the
// cards left are played one by one, each a rank away from the one before:
// the ranks from today's top through the last card played form a walk. In
// that walk a rank is met once per card of it (the top counts as met), and
// every meeting but the first and the last has a step in and a step out; so
// the steps between two neighbouring ranks, counted over the walk, must
// solve "steps at rank r = 2 x meetings(r) - [r first] - [r last]" in whole
// numbers not below zero, and the ranks stepped between must join every
// rank still to be met. The ordering inside the piles only makes it harder:
// where no last rank solves it, no order of play empties the tableau.
bool TDeadEnds::RankWalkLost(const TSolverState& s) const
{
    if (RankWalk == TRankWalk::None || s.FoundationCount() != 1 || s.Foundation(0).Empty())
        return false;
    std::array<int, 13> visits{};
    bool any = false;
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        for (int k = 0; k < pile.Count; ++k)
            ++visits[static_cast<std::size_t>(CodeValue(pile.Cards[static_cast<std::size_t>(k)]))];
        any = any || pile.Count > 0;
    }
    if (!any)
        return false;
    const int start = CodeValue(s.Foundation(0).Top());
    ++visits[static_cast<std::size_t>(start)];
    for (int end = 0; end < 13; ++end) {
        // The last card played is a tableau card (the top is not one).
        if (visits[static_cast<std::size_t>(end)] - (end == start ? 1 : 0) > 0 && RankWalkFits(visits, start, end))
            return false;
    }
    return true;
}

// Whether the step counts of a walk from rank `start` to rank `end` meeting
// each rank `visits` times solve the equations above and join the ranks met.
bool TDeadEnds::RankWalkFits(const std::array<int, 13>& visits, int start, int end) const
{
    std::array<int, 13> steps{}; // steps[r]: between rank r and the rank above it (the Ace above the King on a cycle)
    std::array<int, 13> degree{};
    for (int r = 0; r < 13; ++r)
        degree[static_cast<std::size_t>(r)] =
            2 * visits[static_cast<std::size_t>(r)] - (r == start ? 1 : 0) - (r == end ? 1 : 0);
    if (RankWalk == TRankWalk::Cycle) {
        // Round an odd cycle the equations have one solution: twice the steps
        // between the King and the Ace is the alternating sum of the degrees
        // from the Ace round to the King.
        int twice = 0;
        for (int r = 0; r < 13; ++r)
            twice += (r % 2 == 0 ? 1 : -1) * degree[static_cast<std::size_t>(r)];
        if (twice < 0 || twice % 2 != 0)
            return false;
        steps[12] = twice / 2;
        int previous = steps[12];
        for (int r = 0; r < 12; ++r)
            previous = steps[static_cast<std::size_t>(r)] = degree[static_cast<std::size_t>(r)] - previous;
    } else {
        int previous = 0;
        for (int r = 0; r < 13; ++r)
            previous = steps[static_cast<std::size_t>(r)] = degree[static_cast<std::size_t>(r)] - previous;
        if (steps[12] != 0)
            return false;
    }
    for (int r = 0; r < 13; ++r)
        if (steps[static_cast<std::size_t>(r)] < 0)
            return false;
    // The ranks met must hang together by steps taken: from the start, up
    // and down as far as steps lead (round a cycle, the two ways may meet).
    const bool cycle = RankWalk == TRankWalk::Cycle;
    std::uint32_t reached = 1u << start;
    for (int r = start, n = 0; n < 12 && (cycle || r < 12) && steps[static_cast<std::size_t>(r)] > 0; ++n) {
        r = r == 12 ? 0 : r + 1;
        reached |= 1u << r;
    }
    for (int r = start, n = 0; n < 12; ++n) {
        const int down = r == 0 ? 12 : r - 1;
        if ((!cycle && r == 0) || steps[static_cast<std::size_t>(down)] == 0)
            break;
        r = down;
        reached |= 1u << r;
    }
    for (int r = 0; r < 13; ++r)
        if (visits[static_cast<std::size_t>(r)] > 0 && !((reached >> r) & 1u))
            return false;
    return true;
}

} // namespace solver
