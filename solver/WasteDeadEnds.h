#pragma once

#include "solver/SolverState.h"
#include "solver/SuitHome.h"

namespace solver {

// Proofs of loss for the games whose stock turns onto a waste, which hold
// while cards are still to come: a card that can never leave its place yet
// must leave it for the game to be won. They read foundations built up by
// suit from the Ace (or down from the King), cards moved onto other tableau piles (alone, in runs,
// face-up groups or whole piles), and nothing else to hold a card (no cells,
// no extra piles). Every card not home counts as a top a card may yet meet: the
// stock's and the waste's cards can all still reach the tableau.
//
// - A tableau card lying on every copy of a card of its suit due home
//   before it, fitting
//   no card that is not home or under it, no empty pile taking it, and not
//   carried along by the card under it: the cards to come only ever land
//   on top of it, so it stays where it is (where any card under it may be
//   picked up with it, the proof is not tried).
// - A waste card lying on every copy of a card of its suit due home before it, in a
//   pass no redeal follows, fitting no card that is not home or under it
//   in the waste, and no empty pile taking it: only the waste's top card
//   moves, so the lower card leaves after it, and it has nowhere to go.
class TWasteDeadEnds {
public:
    explicit TWasteDeadEnds(const TSolverGame& game);

    bool Applies() const { return TableauProof; }
    bool IsLost(const TSolverState& s) const;

private:
    bool TableauCardStuck(const TSolverState& s) const;
    bool WasteCardStuck(const TSolverState& s) const;
    bool NoRedealToCome(const TSolverState& s) const;

    const TSolverGame* Game;
    int Copies = 1;
    TSuitHome Home = TSuitHome::None;
    bool TableauProof = false;
    // Nothing takes a waste card off the waste but a drag of the top card.
    bool WasteProof = false;
    bool RunsMove = false;
    bool FaceUpGroupsMove = false;
    bool WholePilesMove = false;
};

// The same for one position, the game's facts worked out on the spot.
bool WasteDeadEndLost(const TSolverGame& game, const TSolverState& s);

} // namespace solver
