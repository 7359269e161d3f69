#pragma once

#include "catalogue/Position.h"
#include "catalogue/Rules.h"

namespace solver {

// Foundations that take each suit from one end of its ranks to the other,
// by rank and suit alone: up from the Ace or down from the King. A card then
// goes home only after every card of its suit nearer that end.
enum class TSuitHome : std::uint8_t { None, UpFromAce, DownFromKing };

inline TSuitHome SuitHomeOf(const TRuleOptions& f)
{
    if (!f.Contains(roSameSuit))
        return TSuitHome::None;
    for (const TRuleOption option : {roBuildUpOrDown, roKingOnAce, roAceOnKing, roAnySuitDrop, roSameColour,
                                     roAlternateColour, roOtherSuit, roEmptyTwo, roEmptyJack})
        if (f.Contains(option))
            return TSuitHome::None;
    if (f.Contains(roBuildUp) && f.Contains(roEmptyAce) && !f.Contains(roBuildDown) && !f.Contains(roEmptyKing))
        return TSuitHome::UpFromAce;
    if (f.Contains(roBuildDown) && f.Contains(roEmptyKing) && !f.Contains(roBuildUp) && !f.Contains(roEmptyAce))
        return TSuitHome::DownFromKing;
    return TSuitHome::None;
}

// A card's turn in its suit's way home: lower turns go first.
inline int HomeTurn(TCardCode card, TSuitHome home)
{
    return home == TSuitHome::DownFromKing ? 12 - CodeValue(card) : CodeValue(card);
}

} // namespace solver
