// Positions that play alike share a key: cards of one rank where no rule
// reads suits, and foundations whose cards under the top are never read.
#include "engine/EngineFixture.h"

#include "engine/GameParams.h"
#include "solver/SolverState.h"

#include <algorithm>
#include <functional>

namespace {

class RankKeyTest : public EngineTest {
protected:
    solver::TSolverGame GameOf(const std::string& name)
    {
        Deal(name, 1);
        return solver::MakeSolverGame(Engine->Rules);
    }
    static std::uint64_t KeyOf(const solver::TSolverGame& game, const TPositionSnapshot& position)
    {
        return solver::TSolverState(game, position).Key();
    }
    // Every card of the position, by reference, tableau first, then the stock.
    static std::vector<TCardCode*> Cards(TPositionSnapshot& s)
    {
        std::vector<TCardCode*> cards;
        for (TCardCodes& pile : s.Tableau)
            for (TCardCode& c : pile)
                cards.push_back(&c);
        for (TCardCode& c : s.Stock)
            cards.push_back(&c);
        return cards;
    }
    // The position with the first two cards that `pair` accepts swapped.
    static TPositionSnapshot Swapped(TPositionSnapshot s, const std::function<bool(TCardCode, TCardCode)>& pair)
    {
        const std::vector<TCardCode*> cards = Cards(s);
        for (std::size_t a = 0; a < cards.size(); ++a)
            for (std::size_t b = a + 1; b < cards.size(); ++b)
                if (pair(*cards[a], *cards[b])) {
                    std::swap(*cards[a], *cards[b]);
                    return s;
                }
        ADD_FAILURE() << "no two cards to swap";
        return s;
    }
};

bool SameRankOtherSuit(TCardCode a, TCardCode b)
{
    return CodeValue(a) == CodeValue(b) && CodeSuit(a) != CodeSuit(b) && CodeFaceUp(a) == CodeFaceUp(b);
}
bool OtherRank(TCardCode a, TCardCode b) { return CodeValue(a) != CodeValue(b) && CodeFaceUp(a) == CodeFaceUp(b); }

TEST_F(RankKeyTest, CardsOfOneRankAreOneCardWhereNoRuleReadsSuits)
{
    for (const char* name : {"Sir Tommy", "Auld Lang Syne"}) {
        const solver::TSolverGame game = GameOf(name);
        const TPositionSnapshot dealt = Engine->Snapshot();
        EXPECT_TRUE(solver::TSolverState(game, dealt).SuitsIgnored()) << name;
        EXPECT_EQ(KeyOf(game, dealt), KeyOf(game, Swapped(dealt, SameRankOtherSuit))) << name;
        // Two ranks swapped is another position.
        EXPECT_NE(KeyOf(game, dealt), KeyOf(game, Swapped(dealt, OtherRank))) << name;
    }
    // Suits built on, discarded by, held in cells by or won by: a suit is read.
    for (const char* name : {"Klondike 1 [Turn over 1]", "Freecell", "Spider", "Aces Up", "Four Colours", "Osmosis",
                             "Scotch Tessalyn", "Lady Betty"}) {
        const solver::TSolverGame game = GameOf(name);
        const TPositionSnapshot dealt = Engine->Snapshot();
        EXPECT_FALSE(solver::TSolverState(game, dealt).SuitsIgnored()) << name;
        EXPECT_NE(KeyOf(game, dealt), KeyOf(game, Swapped(dealt, SameRankOtherSuit))) << name;
    }
}

TEST_F(RankKeyTest, AlternateColourFoundationsAreKeyedByTopAndCount)
{
    const solver::TSolverGame game = GameOf("Scotch Tessalyn");
    const TPositionSnapshot dealt = Engine->Snapshot();
    ASSERT_TRUE(solver::TSolverState(game, dealt).FoundationKeyedByTop(0));
    // The foundations' cards are taken from the tableau, so every position
    // below holds the same cards: A♣ 2♥ 3♠ A♠ 3♣ 2♦ come out of play.
    const auto card = [](int value, int suit) { return MakeCardCode(value, suit, true); };
    const TCardCodes taken = {card(0, 0), card(1, 2), card(2, 3), card(0, 3), card(2, 0), card(1, 1)};
    TPositionSnapshot base = dealt;
    for (TCardCodes& pile : base.Tableau)
        std::erase_if(pile, [&](TCardCode c) {
            return std::find(taken.begin(), taken.end(), CodeTurnedUp(c)) != taken.end();
        });
    const auto with = [&](const TCardCodes& first, const TCardCodes& second) {
        TPositionSnapshot position = base;
        position.Foundations[0] = first;
        position.Foundations[1] = second;
        position.FoundationCards = static_cast<int>(first.size() + second.size());
        return KeyOf(game, position);
    };
    // The black Aces swapped between the two: the same tops, one position.
    EXPECT_EQ(with({card(0, 0), card(1, 2), card(2, 3)}, {card(0, 3), card(1, 1), card(2, 0)}),
              with({card(0, 3), card(1, 2), card(2, 3)}, {card(0, 0), card(1, 1), card(2, 0)}));
    // A top of the same rank and colour but another suit is another
    // position (the other Three stays in play), and so are other counts.
    const auto withThreeOut = [&](TCardCode home, TCardCode out, const TCardCodes& second) {
        TPositionSnapshot position = base;
        position.Tableau[0].push_back(out);
        position.Foundations[0] = {card(0, 0), card(1, 2), home};
        position.Foundations[1] = second;
        position.FoundationCards = static_cast<int>(3 + second.size());
        return KeyOf(game, position);
    };
    EXPECT_NE(withThreeOut(card(2, 3), card(2, 0), {card(0, 3), card(1, 1)}),
              withThreeOut(card(2, 0), card(2, 3), {card(0, 3), card(1, 1)}));
    EXPECT_NE(with({card(0, 0), card(1, 2), card(2, 3)}, {card(0, 3), card(1, 1), card(2, 0)}),
              with({card(0, 0), card(1, 2)}, {card(0, 3), card(1, 1), card(2, 0), card(2, 3)}));
    // Black Hole's one foundation, built up or down, is read at its top alone.
    const solver::TSolverGame blackHole = GameOf("Black Hole");
    EXPECT_TRUE(solver::TSolverState(blackHole, Engine->Snapshot()).FoundationKeyedByTop(0));

    // Where the top fixes the cards beneath, or cards come back, the full pile is kept.
    for (const char* name : {"Freecell", "Klondike 1 [Turn over 1]", "Osmosis", "Aces Up", "The Clock"}) {
        const solver::TSolverGame other = GameOf(name);
        EXPECT_FALSE(solver::TSolverState(other, Engine->Snapshot()).FoundationKeyedByTop(0)) << name;
    }
}

} // namespace
