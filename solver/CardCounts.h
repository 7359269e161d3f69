#pragma once

#include "solver/SolverState.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace solver {

// How many copies of each card (by CodeIdentity) lie somewhere: the proofs
// of loss count where a card may still go.
using TCardCounts = std::array<std::uint8_t, 64>;

// Whether a card of some identity in `identities` is counted in `available`
// (the card itself, of identity `ownIdentity`, is counted there too, so its
// own identity needs a second copy).
inline bool AnyAvailable(std::uint64_t identities, const TCardCounts& available, int ownIdentity)
{
    while (identities != 0) {
        const int id = std::countr_zero(identities);
        identities &= identities - 1;
        if (available[static_cast<std::size_t>(id)] > (id == ownIdentity ? 1 : 0))
            return true;
    }
    return false;
}

// Counts one copy of the card `id` off, never below none.
inline void Take(TCardCounts& counts, int id)
{
    std::uint8_t& count = counts[static_cast<std::size_t>(id)];
    if (count > 0)
        --count;
}

// The copies of each card (`copies` of every one) not yet home.
inline TCardCounts NotHome(const TSolverState& s, int copies)
{
    TCardCounts left{};
    left.fill(static_cast<std::uint8_t>(copies));
    for (int f = 0; f < s.FoundationCount(); ++f) {
        const TStack& home = s.Foundation(f);
        for (int k = 0; k < home.Count; ++k)
            Take(left, CodeIdentity(home.Cards[static_cast<std::size_t>(k)]));
    }
    return left;
}

} // namespace solver
