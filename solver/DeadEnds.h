#pragma once

#include "solver/SolverState.h"
#include "solver/SuitHome.h"
#include "solver/SuitRunDeadEnds.h"
#include "solver/WasteDeadEnds.h"

#include <array>
#include <cstdint>

namespace solver {

// Proofs of loss that need no search: a position in which some card can
// never leave its place, yet must leave it for the game to be won. Each
// proof holds only for the games whose rules it names (decided once from the
// rule record) and only once the stock, the waste and every redeal are spent,
// so nothing can reshape the tableau from outside. A search may drop such a
// position as if it had searched it to the end: its verdicts stay exact.
class TDeadEnds {
public:
    explicit TDeadEnds(const TSolverGame& game);

    // How a single foundation's top and the card it takes may differ in
    // rank, where only that decides: by one (Line), by one with the King and
    // the Ace one apart too (Cycle).
    enum class TRankWalk : std::uint8_t { None, Line, Cycle };

    // Whether one of the proofs applies to this game at all.
    bool Applies() const { return FoundationOnly || StuckBuilds; }
    // Whether the game's tableau cards go nowhere but home.
    bool CardsOnlyGoHome() const { return FoundationOnly; }
    // Whether `s` can be shown lost by one of the proofs.
    bool IsLost(const TSolverState& s) const;

private:
    bool FoundationOnlyLost(const TSolverState& s) const;
    bool StuckBuildLost(const TSolverState& s) const;
    bool RankWalkLost(const TSolverState& s) const;
    bool RankWalkFits(const std::array<int, 13>& visits, int start, int end) const;

    const TSolverGame* Game;
    // The proofs that hold while a stock still turns onto a waste.
    TWasteDeadEnds WasteProofs;
    // The proof for foundations that take whole suits (holds while a stock remains).
    TSuitRunDeadEnds SuitRunProofs;
    int Copies = 1; // of each card: two packs have twins
    // Tableau cards go nowhere but to a foundation.
    bool FoundationOnly = false;
    // Tableau cards go to other tableau piles or to foundations built by
    // suit from one end; cards move alone, in runs of fitting links or in face-up groups.
    bool StuckBuilds = false;
    TSuitHome Home = TSuitHome::None;
    bool RunsMove = false;
    bool FaceUpGroupsMove = false;
    // Where the tableau's cards go one by one onto a foundation of that
    // kind, they must be played as one walk over the ranks.
    TRankWalk RankWalk = TRankWalk::None;
};

} // namespace solver
