#include "solver/Blockers.h"

#include <array>
#include <bit>

namespace solver {

bool TableauNeverBuilds(const TGameRules& rules)
{
    const TRuleOptions& t = rules.TableauRules;
    // No drop onto a card from the tableau.
    const bool noBuild = t.Contains(roNoBuildFromTableau) || t.Contains(roNoBuildOnCards);
    return noBuild && !rules.FreeCells && rules.TurnCount >= 0 && !t.Contains(roNoDragAndDrop);
}

bool TableauLeavesOnlyHome(const TGameRules& rules)
{
    // An empty pile that takes only the stock's card either (a base rule without "from the tableau").
    const TRuleOptions& t = rules.TableauRules;
    const bool emptyOnlyFromStock =
        (t.Contains(roEmptyBaseRank) || t.Contains(roFirstCardSetsBase)) && !t.Contains(roEmptyFromTableau);
    return TableauNeverBuilds(rules) && emptyOnlyFromStock;
}

namespace {

bool BySuit(const TGameRules& rules) { return rules.FoundationRules.Contains(roSameSuit); }

// Whether `lower` must be home before `upper` can go: same suit (or any) and lower rank.
bool GoesHomeFirst(bool bySuit, TCardCode upper, TCardCode lower)
{
    return CodeValue(lower) < CodeValue(upper) && (!bySuit || CodeSuit(lower) == CodeSuit(upper));
}

// Foundations where the proof below holds: up from the Ace, one rank at a
// time, no wrap, no base card, no card taken back.
bool PlainFoundations(const TGameRules& rules)
{
    const TRuleOptions& f = rules.FoundationRules;
    return f.Contains(roBuildUp) && f.Contains(roEmptyAce) && !f.Contains(roBuildUpOrDown) && !f.Contains(roBuildDown)
        && !f.Contains(roKingOnAce) && !f.Contains(roAceOnKing) && !f.Contains(roFirstCardSetsBase)
        && !f.Contains(roEmptyBaseRank) && !f.Contains(roRankIsPileIndex) && !f.Contains(roFoundationSuitRun)
        && !f.Contains(roFoundationSideways) && !f.Contains(roClockInsert) && !f.Contains(roTakeFromFoundation)
        && !f.Contains(roSameColour) && !f.Contains(roAlternateColour) && !f.Contains(roOtherSuit);
}

} // namespace

int WastePileScore(const TSolverState& s, int p)
{
    if (!TableauNeverBuilds(s.Game().Rules))
        return 0;
    return 12 * s.Tableau(p).Count - 30 * BlockedCards(s, p);
}

int BlockedCards(const TSolverState& s, int p)
{
    // By rank alone even where foundations build by suit: piles that fall
    // in rank from the bottom up always play out (the lowest card left
    // anywhere is then on top of its pile), other suits' lower cards below a
    // card are what ties piles into knots.
    const bool bySuit = false;
    const TStack& pile = s.Tableau(p);
    int blocked = 0;
    for (int k = 1; k < pile.Count; ++k) {
        const TCardCode upper = pile.Cards[static_cast<std::size_t>(k)];
        for (int j = 0; j < k; ++j) {
            if (GoesHomeFirst(bySuit, upper, pile.Cards[static_cast<std::size_t>(j)])) {
                ++blocked;
                break;
            }
        }
    }
    return blocked;
}

// The proof. In these games a tableau card leaves its pile only for a
// foundation, and a card of rank r only for one whose top is r-1; every
// foundation is built from its Ace one rank at a time. Take a rank q, and
// the cards of rank q (of one suit where suits count) not yet home. Say each
// lies in the tableau under a card Z of its kind, of a higher rank, such that
// no foundation's top is now in q..rank(Z)-1. A foundation past rank(Z)-1
// never comes down, and one below q gets past q only with one of these rank-q
// cards; so Z goes home only after some rank-q card has, and that card only
// after the Z above it. No rank-q card ever goes home: the game is lost.
// Cards are counted by rank and suit, so twin cards of two packs are both
// needed; a card in the stock, the reserve or the waste is never blocked.
bool HopelesslyBlocked(const TSolverState& s)
{
    const TGameRules& rules = s.Game().Rules;
    if (!TableauLeavesOnlyHome(rules) || !PlainFoundations(rules))
        return false;
    const bool bySuit = BySuit(rules);
    // Cards of each kind and rank not yet home (kind 0 only when suits do not count).
    std::array<std::array<int, 13>, 4> outside{};
    const auto kind = [bySuit](TCardCode c) { return static_cast<std::size_t>(bySuit ? CodeSuit(c) : 0); };
    const int packs = rules.DeckCount == 2 ? 2 : 1;
    for (int suit = 0; suit < 4; ++suit)
        for (int v = 0; v < 13; ++v)
            outside[static_cast<std::size_t>(bySuit ? suit : 0)][static_cast<std::size_t>(v)] += packs;
    // Foundation tops by kind: a bit per rank held as a top.
    std::array<unsigned, 4> tops{};
    for (int f = 0; f < s.FoundationCount(); ++f) {
        const TStack& pile = s.Foundation(f);
        for (int k = 0; k < pile.Count; ++k)
            --outside[kind(pile.Cards[static_cast<std::size_t>(k)])]
                     [static_cast<std::size_t>(CodeValue(pile.Cards[static_cast<std::size_t>(k)]))];
        if (!pile.Empty())
            tops[kind(pile.Top())] |= 1u << CodeValue(pile.Top());
    }
    std::array<std::array<int, 13>, 4> blocked{};
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        // The ranks of each kind lying above the card looked at, top down.
        std::array<unsigned, 4> above{};
        for (int k = pile.Count - 1; k >= 0; --k) {
            const TCardCode y = pile.Cards[static_cast<std::size_t>(k)];
            const std::size_t c = kind(y);
            const int q = CodeValue(y);
            // The lowest higher rank above is the blocker with the fewest takers.
            const unsigned higher = above[c] >> (q + 1);
            if (higher != 0) {
                const int r = q + 1 + std::countr_zero(higher);
                const unsigned takers = ((1u << r) - 1u) & ~((1u << q) - 1u);
                if ((tops[c] & takers) == 0)
                    ++blocked[c][static_cast<std::size_t>(q)];
            }
            above[c] |= 1u << q;
        }
    }
    for (std::size_t c = 0; c < 4; ++c)
        for (std::size_t q = 0; q < 13; ++q)
            if (outside[c][q] > 0 && blocked[c][q] >= outside[c][q])
                return true;
    return false;
}

} // namespace solver
