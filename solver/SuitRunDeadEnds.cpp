#include "solver/SuitRunDeadEnds.h"

#include "catalogue/Validation.h"
#include "solver/CardCounts.h"

#include <algorithm>
#include <array>
#include <bit>

namespace solver {

namespace {

constexpr int KingValue = 12;

// Rules that move a tableau card somewhere other than a tableau pile or a
// whole suit home, or that bring a card back: none of them may hold here.
bool OnlyTableauAndWholeSuits(const TSolverGame& g)
{
    const TGameRules& r = g.Rules;
    if (g.ClickPlay || g.TheClock || g.AcesUp || g.OneFoundation || g.Burleigh)
        return false;
    if (!r.FoundationRules.Contains(roFoundationSuitRun) || r.FreeCells || r.ReserveCount != 0 || r.ExceptCount != 0
        || r.DeckPasses != 1 || g.WinningCount != 52 * (r.DeckCount == 2 ? 2 : 1))
        return false;
    for (const TRuleOptions* rules : {&r.TableauRules, &r.FoundationRules, &r.DeckRules})
        for (const TRuleOption option : {roTakeFromFoundation, roStockSpecial, roKingToBottom, roClockInsert,
                                         roFoundationSideways, roRankIsPileIndex})
            if (rules->Contains(option))
                return false;
    return true;
}

} // namespace

TSuitRunDeadEnds::TSuitRunDeadEnds(const TSolverGame& game) : Game(&game), Copies(game.Rules.DeckCount == 2 ? 2 : 1)
{
    if (!OnlyTableauAndWholeSuits(game))
        return;
    HomeSameSuit = game.Rules.FoundationRules.Contains(roSameSuit);
    HomeAlternateColour = game.Rules.FoundationRules.Contains(roAlternateColour);
    // Where empty piles take every card but the King, nothing is ever held.
    for (int value = 0; value < KingValue; ++value)
        Active = Active || !((game.TableauEmptyValues >> value) & 1u);
}

// The home run is thirteen cards, each one below the card under it: its
// lowest card is the King, every other card lies on its successor.
bool TSuitRunDeadEnds::HomeLink(TCardCode upper, TCardCode lower) const
{
    return CodeValue(upper) + 1 == CodeValue(lower) && (!HomeSameSuit || CodeSuit(upper) == CodeSuit(lower))
        && (!HomeAlternateColour || OtherColour(CodeSuit(upper), CodeSuit(lower)));
}

bool TSuitRunDeadEnds::MayLeaveAlone(TCardCode card) const
{
    return CodeValue(card) == KingValue || ((Game->TableauEmptyValues >> CodeValue(card)) & 1u);
}

bool TSuitRunDeadEnds::IsLost(const TSolverState& s) const
{
    if (!Active)
        return false;
    const TSolverGame& g = *Game;
    const TCardCounts notHome = NotHome(s, Copies);
    // Held cards by pile, one bit per place (piles longer than the bits hold are left free above).
    std::array<std::uint64_t, 32> held{};
    const int piles = std::min<int>(s.TableauCount(), static_cast<int>(held.size()));
    // Freeing only ever clears bits: without a held card off its way home
    // to begin with, there is none at the end either.
    bool any = false;
    for (int p = 0; p < piles; ++p) {
        const TStack& pile = s.Tableau(p);
        for (int k = 0; k < std::min<int>(pile.Count, 64); ++k) {
            const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
            if (MayLeaveAlone(card))
                continue;
            held[static_cast<std::size_t>(p)] |= std::uint64_t{1} << k;
            any = any || k == 0 || !HomeLink(card, pile.Cards[static_cast<std::size_t>(k - 1)]);
        }
    }
    if (!any)
        return false;
    for (bool changed = true; changed;) {
        changed = false;
        // The copies lying directly under a held card: never a pile's top.
        TCardCounts covered{};
        for (int p = 0; p < piles; ++p) {
            const TStack& pile = s.Tableau(p);
            for (std::uint64_t bits = held[static_cast<std::size_t>(p)] & ~std::uint64_t{1}; bits != 0; bits &= bits - 1)
                ++covered[CodeIdentity(pile.Cards[static_cast<std::size_t>(std::countr_zero(bits) - 1)])];
        }
        for (int p = 0; p < piles; ++p) {
            const TStack& pile = s.Tableau(p);
            for (std::uint64_t bits = held[static_cast<std::size_t>(p)]; bits != 0; bits &= bits - 1) {
                const int k = std::countr_zero(bits);
                for (std::uint64_t tops = g.TableauTopsFor[CodeIdentity(pile.Cards[static_cast<std::size_t>(k)])];
                     tops != 0; tops &= tops - 1) {
                    const int id = std::countr_zero(tops);
                    if (notHome[static_cast<std::size_t>(id)] > covered[static_cast<std::size_t>(id)]) {
                        held[static_cast<std::size_t>(p)] &= ~(std::uint64_t{1} << k);
                        changed = true;
                        break;
                    }
                }
            }
        }
    }
    for (int p = 0; p < piles; ++p) {
        const TStack& pile = s.Tableau(p);
        for (std::uint64_t bits = held[static_cast<std::size_t>(p)]; bits != 0; bits &= bits - 1) {
            const int k = std::countr_zero(bits);
            if (k == 0 || !HomeLink(pile.Cards[static_cast<std::size_t>(k)], pile.Cards[static_cast<std::size_t>(k - 1)]))
                return true;
        }
    }
    return false;
}

} // namespace solver
