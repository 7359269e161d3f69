#include "solver/AcesUp.h"

namespace solver {

// Why it is safe: a card on the table serves only to let a lower card of its
// suit be discarded, and to fill its pile. With every lower card of the suit
// gone it can never do the first; an emptier table never stops a move (a
// deal lands on empty piles too, and an empty pile takes any top card). So
// any winning line from here, with this card's moves and its own discard
// left out, is a winning line after the discard: the position it reaches
// at every step is the same one without the card.
bool AcesUpDiscardIsSafe(const TSolverState& s, const TSolverMove& move)
{
    if (move.Type != TMoveType::Drag || move.TargetKind != pkFoundation || move.SourceKind != pkTableau
        || move.Deals > 0)
        return false;
    const TStack& pile = s.Tableau(move.SourcePile);
    if (pile.Empty() || move.SourceIndex != pile.Count - 1)
        return false;
    const TCardCode card = pile.Top();
    const int value = CodeValue(card); // the Ace (0) ranks above the King
    int lowerHome = 0;
    for (int f = 0; f < s.FoundationCount(); ++f) {
        const TStack& home = s.Foundation(f);
        for (int k = 0; k < home.Count; ++k) {
            const TCardCode c = home.Cards[static_cast<std::size_t>(k)];
            lowerHome += CodeSuit(c) == CodeSuit(card) && CodeValue(c) >= 1 && CodeValue(c) < value ? 1 : 0;
        }
    }
    // The Two up to the card below it: value - 1 cards.
    return value >= 1 && lowerHome == value - 1;
}

} // namespace solver
