// The best-first pass's weighing of the cards not yet in play: a reserve
// whose top alone plays, and a waste that is never turned over again.
#include "SolverTestSupport.h"

#include "solver/Evaluation.h"
#include "solver/Search.h"

namespace {

using solver::TVerdict;

class EvaluationTest : public SolverRulesTest {
protected:
    // The whole score of `p`, weighed with the facts of the deal of `game`.
    int Score(const std::string& game, const TPositionSnapshot& p)
    {
        Deal(game, 1);
        const solver::TSolverGame rules = solver::MakeSolverGame(Engine->Rules);
        const solver::TSolverState start(rules, Engine->Snapshot());
        const solver::TEvaluation evaluation(start);
        const solver::TSolverState s(rules, p);
        int score = evaluation.PositionScore(s);
        for (int pile = 0; pile < s.TableauCount(); ++pile)
            score += evaluation.PileScore(s, pile);
        return score;
    }
    TPositionSnapshot Dealt(const std::string& game)
    {
        Deal(game, 1);
        return Engine->Snapshot();
    }
};

// Foundations that start from a dealt base card and turn the corner past the
// King take the base's rank first and the rank below it last: a reserve card
// is weighed against the cards under it in that order, not by plain rank.
TEST_F(EvaluationTest, AReserveCardAboveOneItsFoundationTakesFirstCostsInTheBaseCardsOrder)
{
    TPositionSnapshot p = Dealt("Canfield");
    const int base = p.BaseValue;
    ASSERT_GE(base, 1); // a deal whose base is not the Ace tells the two orders apart
    const int last = base - 1;
    // The base's rank on the rank below it: in order. The other way: blocked.
    p.Reserve = {Up(last, 0), Up(base, 0)};
    const int inOrder = Score("Canfield", p);
    p.Reserve = {Up(base, 0), Up(last, 0)};
    const int blocked = Score("Canfield", p);
    EXPECT_GT(inOrder, blocked);
    // Another suit under it blocks nothing.
    p.Reserve = {Up(base, 1), Up(last, 0)};
    EXPECT_EQ(Score("Canfield", p), inOrder);
    // Each card still in the reserve is owed.
    p.Reserve = {Up(last, 0)};
    EXPECT_GT(Score("Canfield", p), inOrder);
}

// A card dealt to a waste that is never turned over again and not played
// lies there for good under the cards dealt after it: in a game of one pass
// it costs, where the stock is dealt again it costs no more than in the stock.
TEST_F(EvaluationTest, ACardDealtToTheWasteCostsOnlyWhereTheStockIsDealtOnce)
{
    for (const char* game : {"Four Seasons", "Canfield"}) {
        TPositionSnapshot inStock = Dealt(game);
        ASSERT_FALSE(inStock.Stock.empty()) << game;
        TPositionSnapshot onWaste = inStock;
        onWaste.Waste.push_back(onWaste.Stock.front());
        onWaste.Stock.erase(onWaste.Stock.begin());
        const int cost = Score(game, inStock) - Score(game, onWaste);
        if (std::string(game) == "Four Seasons")
            EXPECT_GE(cost, 30) << game;
        else
            EXPECT_EQ(cost, 0) << game;
    }
}

// A tableau card lying above a card of its suit that goes home before it
// must move once more before that card can go home: it costs also where the
// waste's order stands in for how deep the wanted cards lie (two packs dealt
// face up, the stock turned once), whatever the piles build by.
TEST_F(EvaluationTest, ATableauCardAboveOneOfItsSuitDueHomeFirstCosts)
{
    for (const char* game : {"Forty Thieves", "Maria"}) {
        TPositionSnapshot p = Dealt(game);
        ASSERT_FALSE(p.Stock.empty()) << game;
        ASSERT_FALSE(p.Tableau.empty()) << game;
        // The Five of spades on the Two of spades, or on the Two of a red
        // suit: neither link fits, only the first blocks the Two.
        p.Tableau[0] = {Up(1, 0), Up(4, 0)};
        const int blocked = Score(game, p);
        p.Tableau[0] = {Up(1, 2), Up(4, 0)};
        const int free = Score(game, p);
        EXPECT_GT(free, blocked) << game;
        // A higher card under it blocks nothing.
        p.Tableau[0] = {Up(7, 0), Up(4, 0)};
        EXPECT_EQ(Score(game, p), free) << game;
    }
}

// Games of the kind whose wins the weighing finds: the winning lines replay
// to a won game through the engine.
TEST_F(EvaluationTest, WinsOfTheReserveAndOnePassGamesReplay)
{
    for (const char* game : {"Four Seasons", "Rainbow", "Canfield", "Forty Thieves", "Maria"}) {
        // The two-pack games win fewer deals: they look further for two.
        const std::uint32_t lastSeed = std::string(game) == "Forty Thieves" || std::string(game) == "Maria" ? 24 : 6;
        int won = 0;
        for (std::uint32_t seed = 1; seed <= lastSeed && won < 2; ++seed) {
            Deal(game, seed);
            const solver::TSolveResult result =
                solver::Solve(solver::MakeSolverGame(Engine->Rules), Engine->Snapshot(), States(50000));
            if (result.Verdict != TVerdict::Winnable)
                continue;
            ++won;
            const TSavedGame line = [&] {
                TSavedGame saved;
                saved.GameName = game;
                saved.Seed = seed;
                for (const solver::TRecordAction& a : result.Record)
                    saved.Actions.push_back({a.Kind, a.Pile, a.Position, a.DropPoint});
                return saved;
            }();
            EXPECT_TRUE(Engine->LoadGame(line) && Engine->GameWon) << game << " seed " << seed;
        }
        EXPECT_GT(won, 0) << game;
    }
}

} // namespace
