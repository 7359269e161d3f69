#pragma once

#include "solver/Moves.h"
#include "solver/SolverState.h"
#include "solver/StockEvaluation.h"

#include <array>
#include <cstdint>
#include <vector>

namespace solver {

// Likelier winners first: cards home, cards turned up, piles emptied, builds;
// parking a card in a cell, dealing and redealing last.
int MoveScore(const TSolverState& s, const TSolverMove& m);

// How promising a position looks (the best-first pass): the sum of a score
// for the whole position and one per tableau pile, so that a child is scored
// by rescoring only the piles its move touched. The game's facts it reads
// are worked out once, from the position the search starts from.
class TEvaluation {
public:
    // `wasteCardWeight`: what each card dealt to the waste and not yet played
    // costs beside the general score (the best-first pass's second look at a
    // game whose waste feeds building piles weighs it heavily: see TBestFirst).
    explicit TEvaluation(const TSolverState& start, int wasteCardWeight = 0);

    int PositionScore(const TSolverState& s) const;
    int PileScore(const TSolverState& s, int p) const;

    // Keeps the scores of a position's piles, so that its children are scored
    // cheaply. A pile as it was at the last Reset keeps its score: the
    // positions the search expands one after another mostly differ in a few piles.
    void Reset(const TSolverState& s);
    // The score of the position one move after the one Reset() saw.
    int AfterMove(const TSolverState& s) const
    {
        const int piles = s.TableauCount();
        int score = PositionScore(s) + Sum;
        std::uint64_t touched = s.TouchedPiles();
        if (piles > 64)
            touched = ~std::uint64_t{0};
        for (int p = 0; p < piles && touched != 0; ++p, touched >>= 1)
            if (touched & 1u)
                score += PileScore(s, p) - Piles[static_cast<std::size_t>(p)];
        return score;
    }

private:
    // How many cards lie above the shallowest tableau card each foundation
    // could take next, summed over the foundations.
    int NextCardsDepth(const TSolverState& s) const;
    // What the cards still in a reserve whose top alone plays cost (see ReserveScore).
    int ReserveScore(const TSolverState& s) const;
    int OutOfOrder(const TStack& stack) const;

    const TSolverGame* Game;
    bool Builds = false;
    bool WastePiles = false; // piles that take cards from the stock but never build
    TStockWasteWeighing StockWaste = TStockWasteWeighing::None; // a waste that feeds building piles
    int WasteCardWeight = 0;
    bool TopOnlyReserve = false; // a reserve dealt face up whose top alone plays
    // What each move still owed costs (see the weights in Evaluation.cpp).
    int DepthWeight = 3;
    int HomeLaterAboveWeight = 5;
    // By a card's identity, the identities that go home before it (cards of
    // its suit nearer the foundation's start): a card lying above one of
    // them must move once more before that one can go home.
    std::array<std::uint64_t, 64> HomeBefore{};
    // The identities an empty foundation wants (none where it takes any value).
    std::uint64_t EmptyHomeWants = 0;
    // By a card's identity, its place in its suit's foundation order (0 goes
    // first), where foundations take one suit in order from a known base.
    std::array<std::int8_t, 64> HomeRank{};
    bool HomeRankKnown = false;
    bool WasteInOrder = false; // the waste's order weighed here (not by StockWasteScore)
    // Pile `p`'s score, worked out again only where its cards differ from
    // those it was last worked out for (a pile's score reads nothing else).
    int KeptPileScore(const TSolverState& s, int p);

    std::vector<int> Piles;
    // The cards of each pile as Piles[p] was worked out for (a count above
    // any pile's for none yet).
    std::vector<TStack> ScoredCards;
    int Sum = 0;
};

// How promising a position looks between two deals of the stock (the staged
// pass): the sum of a score for the whole position and one per tableau pile,
// so that a child is scored by rescoring only the piles its move touched.
// How two cards of a pile link is worked out once per game.
class TStageEvaluation {
public:
    explicit TStageEvaluation(const TSolverGame& game);

    int Evaluate(const TSolverState& s) const;
    int PositionScore(const TSolverState& s) const { return 100 * s.Counters.FoundationCards; }
    int PileScore(const TSolverState& s, int p) const;

private:
    // A link that extends a run (any other link's entry is its score).
    static constexpr std::int8_t RunLink = 1;
    // By the upper card's identity times 64 plus the lower card's.
    std::array<std::int8_t, 64 * 64> Links{};
};

// The same for a single position (the evaluation made on the spot).
int StageEvaluate(const TSolverState& s);

} // namespace solver
