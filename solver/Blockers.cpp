#include "solver/Blockers.h"

#include <array>

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
    const bool emptyOnlyFromStock = (t.Contains(roEmptyBaseRank) || t.Contains(roFirstCardSetsBase)) && !t.Contains(roEmptyFromTableau);
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
        && !f.Contains(roKingOnAce) && !f.Contains(roAceOnKing) && !f.Contains(roFirstCardSetsBase) && !f.Contains(roEmptyBaseRank)
        && !f.Contains(roRankIsPileIndex) && !f.Contains(roFoundationSuitRun) && !f.Contains(roFoundationSideways)
        && !f.Contains(roClockInsert) && !f.Contains(roTakeFromFoundation) && !f.Contains(roSameColour)
        && !f.Contains(roAlternateColour) && !f.Contains(roOtherSuit);
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

// The proof: a card X of rank r in such a pile leaves only for a foundation
// whose top is r-1. Every foundation is built from its Ace one rank at a
// time, so that foundation holds a card of each rank q < r (of X's suit
// where suits count). Say every card of rank q (of that suit) not yet home
// lies under X. A foundation whose top is now in q..r-1 could still take X;
// if there is none, the foundation that takes X must get its rank-q card
// later, and that card leaves X's pile only after X has left. So X never
// goes home and the game is lost. Cards are counted by rank and suit, so
// twin cards of two packs are both needed under X.
bool HopelesslyBlocked(const TSolverState& s)
{
    const TGameRules& rules = s.Game().Rules;
    if (!TableauLeavesOnlyHome(rules) || !PlainFoundations(rules))
        return false;
    const bool bySuit = BySuit(rules);
    // Cards of each rank and suit not yet home (suit 0 only when suits do not count).
    std::array<std::array<int, 13>, 4> outside{};
    const auto cls = [bySuit](TCardCode c) { return bySuit ? CodeSuit(c) : 0; };
    const int packs = rules.DeckCount == 2 ? 2 : 1;
    for (int suit = 0; suit < 4; ++suit)
        for (int v = 0; v < 13; ++v)
            outside[static_cast<std::size_t>(bySuit ? suit : 0)][static_cast<std::size_t>(v)] += packs;
    // Foundation tops by class: a bit per rank held as a top.
    std::array<std::uint16_t, 4> tops{};
    for (int f = 0; f < s.FoundationCount(); ++f) {
        const TStack& pile = s.Foundation(f);
        for (int k = 0; k < pile.Count; ++k) {
            const TCardCode c = pile.Cards[static_cast<std::size_t>(k)];
            --outside[static_cast<std::size_t>(cls(c))][static_cast<std::size_t>(CodeValue(c))];
        }
        if (!pile.Empty())
            tops[static_cast<std::size_t>(cls(pile.Top()))] |= static_cast<std::uint16_t>(1u << CodeValue(pile.Top()));
    }
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        // Cards of each class and rank seen so far from the bottom up.
        std::array<std::array<std::uint8_t, 13>, 4> under{};
        for (int k = 0; k < pile.Count; ++k) {
            const TCardCode x = pile.Cards[static_cast<std::size_t>(k)];
            const auto c = static_cast<std::size_t>(cls(x));
            const int r = CodeValue(x);
            for (int q = 0; q < r; ++q) {
                const int out = outside[c][static_cast<std::size_t>(q)];
                if (out == 0 || under[c][static_cast<std::size_t>(q)] < out)
                    continue;
                // Tops q..r-1 of X's class could still take X.
                const auto takers = static_cast<std::uint16_t>(((1u << r) - 1u) & ~((1u << q) - 1u));
                if ((tops[c] & takers) == 0)
                    return true;
            }
            ++under[c][static_cast<std::size_t>(r)];
        }
    }
    return false;
}

} // namespace solver
