#include "solver/Evaluation.h"

#include "solver/Blockers.h"

#include "catalogue/Validation.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace solver {

// Likelier winners first: cards home, cards turned up, piles emptied, builds;
// parking a card in a cell, dealing and redealing last.
int MoveScore(const TSolverState& s, const TSolverMove& m)
{
    switch (m.Type) {
    case TMoveType::Pair: return 100;
    case TMoveType::Click: return 50;
    case TMoveType::StockDeal: return 10;
    case TMoveType::Redeal: return 0;
    case TMoveType::Drag: break;
    }
    int score = 20;
    if (m.TargetKind == pkFoundation)
        score += 80;
    if (m.SourceKind == pkTableau) {
        const TStack& from = s.Tableau(m.SourcePile);
        if (m.SourceIndex > 0 && !CodeFaceUp(from.Cards[m.SourceIndex - 1u]))
            score += 40;
        if (m.SourceIndex == 0)
            score += m.TargetKind == pkTableau && s.Tableau(m.TargetPile).Empty() ? -30 : 25;
    }
    if (m.TargetKind == pkReserve)
        score -= 15;
    if (m.SourceKind == pkReserve || m.SourceKind == pkWaste || m.SourceKind == pkExcept || m.SourceKind == pkStock)
        score += 10;
    if (m.TargetKind == pkTableau && s.Tableau(m.TargetPile).Empty())
        score -= 10;
    if (m.SourceKind == pkFoundation)
        score -= 15;
    // Where cards only go home, the tallest pile first: it hides the most.
    if (m.SourceKind == pkTableau && !s.Game().TableauDropTarget)
        score += 4 * s.Tableau(m.SourcePile).Count;
    // A waste card further down the stock comes after the plays at hand, as
    // a click would, nearer cards first.
    // A play that skips cards buries them under it.
    // A card from the next pass of the cycle comes after those of this one.
    if (m.Deals > 0)
        return (m.TargetKind == pkFoundation ? 15 : 10) - m.Deals - (m.Recycles ? 10 : 0);
    return score;
}

namespace {

// Against 100 a card home: each card above the nearest card a foundation
// wants next, and each card lying above one of its suit that goes home
// before it (both are moves still owed). Where every card lies open on piles
// that build, with no cells and no stock, weighed 3 and 5 the best-first pass
// chased the cards at hand and buried the rest. Measured at 100,000
// positions, seeds 1-50 then 51-100, deals won with 3 and 5 against 5 and 8:
// Box Fan 21+23 against 24+27, Shamrocks 21+20 against 24+23, Super Flower
// Garden 28+23 against 29+29, Baker's Dozen 30+33 against 31+34, Flower
// Garden 18+20 against 18+19, Streets and Alleys 12 of 1-50 against 13,
// Square and the others of the kind as many; seeds 1-10 of every game, 1241
// won against 1233. Weighed so everywhere, the games with cells or a stock
// won as many in all but lost deals here and there (Freecell 5x6 and 8x3,
// Corona, Obrai-Skai), so they keep 3 and 5.
// (10 and 6 won Flower Garden 2 fewer of 51-100; 15 and 3, or 5 and 8, lost
// deals in other games of the kind.)
struct TOwedWeights {
    int Depth;
    int HomeLaterAbove;
};
constexpr TOwedWeights OpenOwedWeights{5, 8};
constexpr TOwedWeights OwedWeights{3, 5};

// Against 100 a card home: each card still in a reserve whose top alone
// plays, and each one there above a card its foundation takes first; in a
// game whose stock is dealt once, each card dealt to the waste and not yet
// played, and each one there above a card its foundation takes first (it is
// buried for good under the cards dealt after it). Measured at 100,000
// positions, seeds 1-50, deals won against the evaluation without them:
// Four Seasons 27 against 13, Czarina 13 against 8, Rainbow 16 against 12,
// the Canfields as many (the reserve's weights alone, 20 or 60 a card, moved
// them by a deal either way: what the search misses there lies elsewhere).
// A waste card weighed 60 won Four Seasons 23, 10 won Rainbow 14.
constexpr int ReserveCardWeight = 20;
constexpr int ReserveBlockerWeight = 10;
constexpr int WasteBlockerWeight = 5;
constexpr int WasteCardInOrderWeight = 30;

// Foundations that take one suit a card at a time in one direction: the
// value each suit starts from, or -1 where their order is not known from the
// start. From the Ace (or the King building down) with no wrap and no base
// card; or from a base card already set when the search starts (Canfield's
// kind), round the corner past the King. (Where a suit goes home as one run,
// the run's own order is the tableau's; a base set by each card, or by the
// first card still to be played, is not known ahead.)
int SuitOrderStart(const TRuleOptions& f, int baseValue)
{
    if (!f.Contains(roSameSuit) || f.Contains(roFoundationSuitRun) || f.Contains(roBuildUpOrDown))
        return -1;
    for (const TRuleOption option : {roEachCardSetsBase, roRankIsPileIndex, roClockInsert})
        if (f.Contains(option))
            return -1;
    if (f.Contains(roBuildUp) == f.Contains(roBuildDown))
        return -1;
    const bool up = f.Contains(roBuildUp);
    const bool wraps = f.Contains(roKingOnAce) || f.Contains(roAceOnKing);
    const bool based = f.Contains(roFirstCardSetsBase) || f.Contains(roEmptyBaseRank);
    if (!based)
        return wraps ? -1 : up ? 0 : 12;
    return wraps && baseValue >= 0 && baseValue < 13 ? baseValue : -1;
}

} // namespace

TEvaluation::TEvaluation(const TSolverState& start, int wasteCardWeight)
    : Game(&start.Game()), WasteCardWeight(wasteCardWeight)
{
    const TSolverGame& game = start.Game();
    const TRuleOptions& t = game.Rules.TableauRules;
    const TRuleOptions& f = game.Rules.FoundationRules;
    Builds = t.Contains(roBuildDown) || t.Contains(roBuildUp) || t.Contains(roBuildUpOrDown);
    WastePiles = TableauNeverBuilds(game.Rules);
    if (game.FoundationEmptyValues != 0xFFFF)
        for (int value = 0; value < 13; ++value)
            if ((game.FoundationEmptyValues >> value) & 1u)
                for (int suit = 0; suit < 4; ++suit)
                    EmptyHomeWants |= std::uint64_t{1} << CodeIdentity(MakeCardCode(value, suit, true));
    // Games dealt without a stock have a turn count too (Beleaguered Castle,
    // Flyaway Home): with nothing to come from a waste, the waste's order
    // weighs nothing and the depth of the wanted cards must stay (without it
    // Flyaway Home won 21 deals of 50 against 39).
    const bool cardsToCome = start.StockCount() > 0 || start.Waste().Count > 0;
    StockWaste = cardsToCome ? StockWasteWeighing(game) : TStockWasteWeighing::None;
    const bool open = !cardsToCome && !game.Rules.FreeCells && game.TableauDropTarget && Builds;
    const TOwedWeights weights = open ? OpenOwedWeights : OwedWeights;
    DepthWeight = weights.Depth;
    HomeLaterAboveWeight = weights.HomeLaterAbove;
    TopOnlyReserve = !game.Rules.FreeCells && !game.Rules.ReserveAllAvailable && game.Rules.ReserveFaceUp
        && start.Reserve().Count > 1;
    // A stock dealt once, a card at a time: what the waste holds stays there
    // in that order (a waste the stock evaluation weighs is left to it).
    WasteInOrder = cardsToCome && StockWaste == TStockWasteWeighing::None && game.Rules.TurnCount == 1
        && game.Rules.DeckPasses == 1 && !WastePiles;
    const int first = SuitOrderStart(f, start.Counters.BaseValue);
    if (first < 0)
        return;
    const bool up = f.Contains(roBuildUp);
    const auto homeRank = [&](int value) { return ((up ? value - first : first - value) + 13) % 13; };
    HomeRankKnown = true;
    for (int id = 0; id < 64; ++id)
        HomeRank[static_cast<std::size_t>(id)] = static_cast<std::int8_t>(homeRank(CodeValue(static_cast<TCardCode>(id))));
    // The cards lying above one of their suit that goes home before them are
    // weighed wherever the order is known; where the waste's order stands in
    // for how deep the wanted cards lie, only with two packs: in Forty
    // Thieves' kind (the stock turned once onto a waste, eight foundations)
    // such a card is what blocks the tableau, as a blocker on the waste
    // blocks the waste. Measured at 100,000 positions, seeds 1-50, deals won
    // against the evaluation without it: Maria 26 against 22, Diplomat 40
    // against 35, Midshipman 23 against 19, Lady Palk 11 against 9, Forty
    // Thieves and Double Rail as many, Gargantua 13 against 14 (weighed 3 or
    // 8 instead of 5, 139 and 137 deals of those seven games against 140).
    // With one pack (Klondike, Single Rail, Empress, Czarina) it won as many
    // deals of seeds 1-20 and only changed which lines were found.
    if (StockWaste == TStockWasteWeighing::InsteadOfDepth && game.Rules.DeckCount < 2)
        return;
    for (int id = 0; id < 64; ++id) {
        const int value = CodeValue(static_cast<TCardCode>(id));
        const int suit = CodeSuit(static_cast<TCardCode>(id));
        for (int other = 0; other < 13; ++other)
            if (homeRank(other) < homeRank(value))
                HomeBefore[static_cast<std::size_t>(id)] |= std::uint64_t{1}
                    << CodeIdentity(MakeCardCode(other, suit, true));
    }
}

// How promising a position looks: cards home, free places, and how deep the
// cards the foundations want next lie (each card above one is a move to make
// before it can go home).
int TEvaluation::PositionScore(const TSolverState& s) const
{
    int score = 100 * s.Counters.FoundationCards;
    if (Game->Rules.FreeCells)
        score += 6 * s.EmptyCells();
    // Cards not yet in play: dealing them to the waste is no progress, playing them is.
    score -= (s.StockCount() + s.Waste().Count) / 4 + WasteCardWeight * s.Waste().Count;
    // Waste piles are laid from the stock in an order the search chooses: how
    // deep a wanted card lies there now says little (it cost Fly 20 of 50
    // deals), their own score weighs what matters.
    if (StockWaste != TStockWasteWeighing::None)
        score += StockWasteScore(s);
    if (!WastePiles && StockWaste != TStockWasteWeighing::InsteadOfDepth)
        score -= DepthWeight * NextCardsDepth(s);
    if (TopOnlyReserve)
        score += ReserveScore(s);
    if (WasteInOrder)
        score -= WasteBlockerWeight * OutOfOrder(s.Waste()) + WasteCardInOrderWeight * s.Waste().Count;
    return score;
}

// A reserve whose top alone plays holds its cards in the one order the deal
// gave them: each card still there is a move owed, and one lying above a
// card of its suit that goes home before it must find a place in the
// tableau first (the reserve is what Canfield's kind is won or lost by).
int TEvaluation::ReserveScore(const TSolverState& s) const
{
    const TStack& reserve = s.Reserve();
    return -ReserveCardWeight * reserve.Count - ReserveBlockerWeight * OutOfOrder(reserve);
}

// How many cards of `stack` lie above a card of their suit that goes home
// before them (none where the foundations' order is not known).
int TEvaluation::OutOfOrder(const TStack& stack) const
{
    if (!HomeRankKnown)
        return 0;
    std::array<int, 4> lowestUnder{13, 13, 13, 13};
    int blockers = 0;
    for (int k = 0; k < stack.Count; ++k) {
        const TCardCode card = stack.Cards[static_cast<std::size_t>(k)];
        const int rank = HomeRank[CodeIdentity(card)];
        int& lowest = lowestUnder[static_cast<std::size_t>(CodeSuit(card))];
        if (lowest < rank)
            ++blockers;
        lowest = std::min(lowest, rank);
    }
    return blockers;
}

int TEvaluation::NextCardsDepth(const TSolverState& s) const
{
    // A foundation that takes whole runs wants no single card next.
    if (s.FoundationCount() == 0 || !Game->FoundationDropTarget
        || Game->Rules.FoundationRules.Contains(roFoundationSuitRun))
        return 0;
    constexpr int Nowhere = 255;
    // The cards each foundation wants first, then how deep the wanted ones
    // lie: only they are looked up as the piles are read.
    const auto wantedOf = [&](int f) {
        const TStack& home = s.Foundation(f);
        return home.Empty() ? EmptyHomeWants : Game->FoundationFits[CodeIdentity(home.Top())];
    };
    std::uint64_t anyWanted = 0;
    for (int f = 0; f < s.FoundationCount(); ++f)
        anyWanted |= wantedOf(f);
    std::array<std::uint8_t, 64> depth;
    depth.fill(Nowhere);
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        for (int k = 0; k < pile.Count; ++k) {
            const std::size_t id = CodeIdentity(pile.Cards[static_cast<std::size_t>(k)]);
            if ((anyWanted >> id) & 1u) {
                std::uint8_t& d = depth[id];
                d = std::min<std::uint8_t>(d, static_cast<std::uint8_t>(pile.Count - 1 - k));
            }
        }
    }
    int sum = 0;
    for (int f = 0; f < s.FoundationCount(); ++f) {
        int nearest = Nowhere;
        for (std::uint64_t wanted = wantedOf(f); wanted != 0; wanted &= wanted - 1)
            nearest = std::min<int>(nearest, depth[static_cast<std::size_t>(std::countr_zero(wanted))]);
        // A card wanted that lies in no tableau pile is at hand elsewhere, or home.
        if (nearest != Nowhere)
            sum += nearest;
    }
    return sum;
}

void TEvaluation::Reset(const TSolverState& s)
{
    const auto piles = static_cast<std::size_t>(s.TableauCount());
    if (ScoredCards.size() != piles) {
        TStack none;
        none.Count = 0xFF;
        ScoredCards.assign(piles, none);
        Piles.assign(piles, 0);
    }
    Sum = 0;
    for (int p = 0; p < s.TableauCount(); ++p)
        Sum += KeptPileScore(s, p);
}

int TEvaluation::KeptPileScore(const TSolverState& s, int p)
{
    const TStack& pile = s.Tableau(p);
    TStack& scored = ScoredCards[static_cast<std::size_t>(p)];
    int& score = Piles[static_cast<std::size_t>(p)];
    if (scored.Count != pile.Count || std::memcmp(scored.Cards.data(), pile.Cards.data(), pile.Count) != 0) {
        scored.Count = pile.Count;
        std::memcpy(scored.Cards.data(), pile.Cards.data(), pile.Count);
        score = PileScore(s, p);
    }
    return score;
}

int TEvaluation::PileScore(const TSolverState& s, int p) const
{
    const TSolverGame& g = *Game;
    const TStack& pile = s.Tableau(p);
    if (pile.Empty())
        return 12;
    // Waste piles do not build: a card above one that must go home first
    // is what loses them, whatever its suit (their own score says why).
    if (WastePiles)
        return WastePileScore(s, p);
    // Where cards only go home, a tall pile hides the most cards: keep them even.
    int score = g.TableauDropTarget ? 0 : -3 * pile.Count * pile.Count;
    std::uint64_t under = 0;
    for (int k = 0; k < pile.Count; ++k) {
        const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
        const std::uint64_t id = CodeIdentity(card);
        if (under & HomeBefore[id])
            score -= HomeLaterAboveWeight;
        under |= std::uint64_t{1} << id;
        if (!CodeFaceUp(card)) {
            score -= 10;
            continue;
        }
        if (k > 0 && Builds) {
            const TCardCode below = pile.Cards[static_cast<std::size_t>(k - 1)];
            if (!CodeFaceUp(below) || !g.RunLinkFits(card, below))
                score -= 4;
        }
    }
    return score;
}

// The staged pass's evaluation. Its piles are never sorted away by a deal,
// so it weighs what makes the next deal harmless: cards turned up, cards in
// runs that move as one, and builds that fit by rank but not suit (these
// still hold a card off another pile) above cards that fit nothing.
TStageEvaluation::TStageEvaluation(const TSolverGame& game)
{
    const TRuleOptions& t = game.Rules.TableauRules;
    const TRuleOptions& f = game.Rules.FoundationRules;
    // Whole suits go home, but runs move in any suit (Black Widow): only a
    // link in suit builds towards a run that goes home.
    const bool suitedHome = f.Contains(roFoundationSuitRun) && f.Contains(roSameSuit) && !t.Contains(roSameSuit);
    for (int upperId = 0; upperId < 64; ++upperId) {
        for (int lowerId = 0; lowerId < 64; ++lowerId) {
            const TCardCode upperCode = static_cast<TCardCode>(upperId);
            const TCardCode lowerCode = static_cast<TCardCode>(lowerId);
            const TCardFace upper{CodeValue(upperCode), CodeSuit(upperCode), true};
            const TCardFace lower{CodeValue(lowerCode), CodeSuit(lowerCode), true};
            std::int8_t score = RunLink;
            if (!RunLinkFits(t, upper, lower))
                score = RankFits(t, upper, lower) ? -3 : -4;
            else if (suitedHome && upper.Suit != lower.Suit)
                // It moves with the run, but the suits must part again before
                // either goes home: no better than a card that fits nothing
                // (rewarded, it lets the pass build long mixed runs and stop there).
                score = -4;
            Links[static_cast<std::size_t>(upperId * 64 + lowerId)] = score;
        }
    }
}

int TStageEvaluation::Evaluate(const TSolverState& s) const
{
    int score = PositionScore(s);
    for (int p = 0; p < s.TableauCount(); ++p)
        score += PileScore(s, p);
    return score;
}

int TStageEvaluation::PileScore(const TSolverState& s, int p) const
{
    const TStack& pile = s.Tableau(p);
    // An empty pile is worth no more than a pile of one card on nothing.
    // Valued above it, the pass emptied piles by laying cards where they fit
    // nothing and spent its stages on positions the stock may not deal from
    // or whose next deal covers the pile again: it won Spider 9 deals of 50
    // instead of 13, Black Widow 10 instead of 40, Gypsy 13 instead of 25.
    if (pile.Empty())
        return 0;
    // Face-down cards lie under the face-up ones: counted first, then the links.
    int k = 0;
    while (k < pile.Count && !CodeFaceUp(pile.Cards[static_cast<std::size_t>(k)]))
        ++k;
    int score = -10 * k;
    if (k > 0 && k < pile.Count)
        score -= 4; // the lowest face-up card lies on a face-down one
    int run = 0;
    for (++k; k < pile.Count; ++k) {
        const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
        const TCardCode below = pile.Cards[static_cast<std::size_t>(k - 1)];
        if (!CodeFaceUp(card)) {
            score -= 10;
            run = 0;
            continue;
        }
        if (!CodeFaceUp(below)) {
            score -= 4;
            run = 0;
            continue;
        }
        const int link = Links[static_cast<std::size_t>(CodeIdentity(card) * 64 + CodeIdentity(below))];
        if (link == RunLink) {
            // A long run is worth more than its links: it moves and goes home
            // whole. (Weighed twice what it was, it won Spider 9 deals of 50
            // instead of 4 at the same budget: runs are what a deal spoils.)
            ++run;
            score += 6 * run;
        } else {
            score += link;
            run = 0;
        }
    }
    return score;
}

int StageEvaluate(const TSolverState& s) { return TStageEvaluation(s.Game()).Evaluate(s); }

} // namespace solver
