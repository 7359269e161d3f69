#include "solver/Evaluation.h"

#include "solver/Blockers.h"

#include "catalogue/Validation.h"

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
    // A waste card further down the stock comes after the plays at hand, as
    // a click would, nearer cards first.
    // A play that skips cards buries them under it.
    if (m.Deals > 0)
        return (m.TargetKind == pkFoundation ? 15 : 10) - m.Deals;
    return score;
}

// How promising a position looks: cards home, piles in order, cards turned
// up, free places. Children are tried best first. The sum of a score for the
// whole position and one per tableau pile, so a child is scored by
// rescoring only the piles its move touched.
int PositionScore(const TSolverState& s)
{
    int score = 100 * s.Counters.FoundationCards;
    if (s.Game().Rules.FreeCells)
        score += 6 * s.EmptyCells();
    // Cards not yet in play: dealing them to the waste is no progress, playing them is.
    score -= (s.StockCount() + s.Waste().Count) / 4;
    return score;
}

int PileScore(const TSolverState& s, int p)
{
    const TSolverGame& g = s.Game();
    const TRuleOptions& t = g.Rules.TableauRules;
    const bool builds = t.Contains(roBuildDown) || t.Contains(roBuildUp) || t.Contains(roBuildUpOrDown);
    const TStack& pile = s.Tableau(p);
    if (pile.Empty())
        return 12;
    // Waste piles do not build: a card above one that must go home first is what loses them.
    int score = WastePileScore(s, p);
    for (int k = 0; k < pile.Count; ++k) {
        const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
        if (!CodeFaceUp(card)) {
            score -= 10;
            continue;
        }
        if (k > 0 && builds) {
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
int StageEvaluate(const TSolverState& s)
{
    int score = StagePositionScore(s);
    for (int p = 0; p < s.TableauCount(); ++p)
        score += StagePileScore(s, p);
    return score;
}

int StagePositionScore(const TSolverState& s) { return 100 * s.Counters.FoundationCards; }

int StagePileScore(const TSolverState& s, int p)
{
    const TRuleOptions& t = s.Game().Rules.TableauRules;
    const TRuleOptions& f = s.Game().Rules.FoundationRules;
    // Whole suits go home, but runs move in any suit (Black Widow): only a
    // link in suit builds towards a run that goes home.
    const bool suitedHome = f.Contains(roFoundationSuitRun) && f.Contains(roSameSuit) && !t.Contains(roSameSuit);
    const TStack& pile = s.Tableau(p);
    if (pile.Empty())
        return 12;
    int score = 0;
    int run = 0;
    for (int k = 0; k < pile.Count; ++k) {
        const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
        if (!CodeFaceUp(card)) {
            score -= 10;
            continue;
        }
        if (k == 0)
            continue;
        const TCardCode below = pile.Cards[static_cast<std::size_t>(k - 1)];
        const TCardFace upper{CodeValue(card), CodeSuit(card), true};
        const TCardFace lower{CodeValue(below), CodeSuit(below), true};
        if (!CodeFaceUp(below)) {
            score -= 4;
        } else if (!RunLinkFits(t, upper, lower)) {
            score -= RankFits(t, upper, lower) ? 3 : 4;
        } else if (suitedHome && upper.Suit != lower.Suit) {
            // It moves with the run, but the suits must part again before
            // either goes home: no better than a card that fits nothing
            // (rewarded, it lets the pass build long mixed runs and stop there).
            score -= 4;
        } else {
            // A long run is worth more than its links: it moves and goes home whole.
            ++run;
            score += 3 * run;
            continue;
        }
        run = 0;
    }
    return score;
}

} // namespace solver
