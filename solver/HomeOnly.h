#pragma once

#include "solver/BudgetMeter.h"
#include "solver/KeyTable.h"
#include "solver/Search.h"

#include <array>
#include <vector>

namespace solver {

// Games whose stock deals onto every pile and whose tableau takes no card at
// all (Auld Lang Syne, Tam O'Shanter): a card leaves its pile only for a
// foundation that builds up in any suit without wrapping. A stage then holds
// little choice (which cards go home, and when the stock deals), so a plain
// exhaustive search sees the whole game, and a card buried under the last
// cards it waits for proves the deal lost long before the stock runs out.
class THomeOnly {
public:
    explicit THomeOnly(const TSolverGame& game);

    // Whether the game is of this kind.
    bool Applies() const { return Fits; }

    // Whether some card of `s` can never go home.
    //
    // Why this is sound: a card X of rank r goes home only onto a foundation
    // whose top is r−1 at that moment. A foundation never loses a card and
    // grows by one rank a card with no wrap, so one whose top is t ≥ r never
    // takes X, and one whose top is t < r takes X only after a card of every
    // rank between t+1 and r−1 has gone onto it. A card lying under X in X's
    // pile cannot leave before X does (the tableau takes no card, and a deal
    // only covers piles). So if, for some rank q < r, every card of rank q
    // still out lies under X, no foundation whose top is below q can ever
    // reach r−1 before X leaves; if every foundation that could take X is
    // below q, X never goes home, and a won game has every card home.
    bool IsLost(const TSolverState& s) const;

    // Whether `move` sends a card home that may go at once without losing a win.
    //
    // Why this is sound: with foundations in any suit that only grow, which
    // foundation holds which card never matters, only how many cards of each
    // rank are home (c), and a card of rank r may go home exactly when more
    // cards of rank r−1 than of rank r are home (a foundation topped by r−1).
    // Take a winning line that sends X (rank r) home later and send X home
    // first instead: the piles then show the same cards (X's pile one card
    // shorter underneath, which no move of the line reaches before X's turn),
    // and the only play that may become illegal is another card of rank r,
    // which now needs c(r−1) > c(r) + 1. If the foundations topped by r−1 are
    // at least as many as the cards of rank r still out, X included, it has
    // that: c(r−1) only grows, and at most R−2 other cards of rank r can have
    // gone home before it. (An Ace counts the empty foundations.)
    bool GoesHomeAtOnce(const TSolverState& s, const TSolverMove& move) const;

private:
    bool Fits = false;
};

// The exhaustive search for those games, with THomeOnly's proof at every
// position; its "not winnable" is a proof.
class THomeOnlySearch {
public:
    THomeOnlySearch(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
        : State(game, snapshot), Proof(game), Meter(budget), Table(budget.TableBytes)
    {
    }

    TSolveResult Run();

private:
    // True when a win lies under the current position (its moves then end Line).
    bool Visit(std::size_t depth);

    TSolverState State;
    THomeOnly Proof;
    TBudgetMeter Meter;
    TKeyTable Table;
    std::vector<std::vector<TSolverMove>> MovesAt;
    std::vector<TSolverMove> Line;
    bool Stopped = false;
};

} // namespace solver
