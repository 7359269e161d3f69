// Rules played through the engine as a player would: each test names the
// rule it holds to, so a rule that changes shows here even when the game
// still replays consistently.
#include "EngineFixture.h"

#include "engine/Snapshot.h"
#include "persistence/SourceLogFile.h"
#include "platform/Trace.h"

#include <algorithm>

namespace {

// The Clock: the one face-up card that may move goes to the foundation of its rank.
bool PlayOneClockMove(TEngine& engine)
{
    const auto it = std::find_if(engine.Draggables.begin(), engine.Draggables.end(),
                                 [](const TCard* card) { return card && card->FaceUp; });
    if (it == engine.Draggables.end())
        return false;
    TCard* card = *it;
    int kind = 0;
    TPilePos pos;
    if (!engine.LocateCard(card, kind, pos))
        return false;
    const QPoint target = engine.Rules.FoundationPositions.at(static_cast<std::size_t>(card->Value));
    const auto point = std::find(engine.DropPoints.begin(), engine.DropPoints.end(), target);
    if (point == engine.DropPoints.end())
        return false;
    engine.MakeMove(kind, pos.Pile, static_cast<int>(point - engine.DropPoints.begin()), pos.Index);
    return true;
}

bool EveryCardFaceUpOnItsRank(const TEngine& engine)
{
    for (std::size_t f = 0; f < engine.FoundationPiles.size(); ++f)
        for (const TCard* card : engine.FoundationPiles[f])
            if (!card || !card->FaceUp || card->Value != static_cast<int>(f))
                return false;
    return true;
}

TEST_F(EngineTest, TheClockPlayedOutIsWonExactlyWhenEveryCardLiesFaceUpOnItsRank)
{
    Deal("The Clock", 15);
    int moves = 0;
    while (moves < 100 && PlayOneClockMove(*Engine))
        ++moves;
    EXPECT_EQ(moves, 47);
    ASSERT_TRUE(EveryCardFaceUpOnItsRank(*Engine));
    EXPECT_TRUE(Engine->GameWon);
    EXPECT_FALSE(Engine->GameOpen()) << "a won game is closed";
    ASSERT_EQ(Host.Results.size(), 1u);
    EXPECT_TRUE(Host.Results[0].Won);
    // The points are what the cues gave: each move costs the 50 of the card
    // leaving its foundation and earns 50 on arrival, each card reaching its
    // own rank another 50.
    EXPECT_EQ(Host.Results[0].Points, Engine->Points);
    EXPECT_EQ(Engine->Points, 300);
    EXPECT_EQ(Engine->Draggables, (std::vector<TCard*>{nullptr}));

    int won = 0;
    int lost = 0;
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        Deal("The Clock", seed);
        for (int guard = 0; guard < 100 && PlayOneClockMove(*Engine); ++guard) {
        }
        const bool solved = EveryCardFaceUpOnItsRank(*Engine);
        EXPECT_EQ(Engine->GameWon, solved) << "seed " << seed;
        (solved ? won : lost) += 1;
    }
    EXPECT_GT(won, 0);
    EXPECT_GT(lost, 0);
}

int DropPointAt(const TEngine& engine, QPoint at)
{
    const auto it = std::find(engine.DropPoints.begin(), engine.DropPoints.end(), at);
    return it == engine.DropPoints.end() ? -1 : static_cast<int>(it - engine.DropPoints.begin());
}

// The Clock: an Ace dropped on the Aces' pile, whose top two hidden cards are
// Aces too, turns each up, sends it under the pile with applause and stops at
// the first card of another rank.
TEST_F(EngineTest, TheClockApplaudsEachCardSentUnderItsPileAgain)
{
    Deal("The Clock", 15);
    TCard* dropped = Card(cvAce, csClub);
    TCard* second = Card(cvAce, csDiamond);
    TCard* third = Card(cvAce, csHeart);
    TCard* x = Card(4, csClub);
    TCard* y = Card(5, csClub);
    // Swap the cards into place in the pile arrays, then lay the piles out again.
    const auto put = [this](TCard* card, std::size_t pile, std::size_t index) {
        for (TPile& p : Engine->FoundationPiles)
            for (TCard*& c : p)
                if (c == card)
                    std::swap(c, Engine->FoundationPiles[pile][index]);
    };
    put(x, 0, 0);
    put(y, 0, 1);
    put(second, 0, 2);
    put(third, 0, 3);
    put(dropped, 12, 3);
    for (std::size_t f = 0; f < 13; ++f) {
        const QPoint at = Engine->Rules.FoundationPositions[f];
        for (TCard* card : Engine->FoundationPiles[f]) {
            if (card->FaceUp != (card == dropped))
                Table->TurnCard(card);
            Table->RemoveCard(card);
            Table->PlaceCard(card, at.x(), at.y(), Engine->Rules.FoundationAngles[f]);
        }
    }
    Engine->SetLists();
    Host.PlaySounds = true;
    Host.Sounds.clear();
    const int points = Engine->Points;
    Engine->MakeMove(pkFoundation, 12, DropPointAt(*Engine, Engine->Rules.FoundationPositions[0]), 3);
    EXPECT_EQ(Engine->FoundationPiles[0], (TPile{second, third, dropped, x, y}));
    EXPECT_TRUE(y->FaceUp);
    EXPECT_FALSE(x->FaceUp);
    // The press that picks the card up is a click on it first.
    EXPECT_EQ(Host.Sounds, (std::vector<std::string>{"drag.wav", "success.wav", "claps.wav", "success.wav", "claps.wav",
                                                     "success.wav", "claps.wav"}));
    // Off its pile -50, onto the Aces +50, two more Aces at home +100.
    EXPECT_EQ(Engine->Points, points + 100);
    EXPECT_FALSE(Table->Sprite.Shown);
}

TEST_F(EngineTest, APairMismatchRefusesEachCardInTurnAndAMatchScoresTwoFoundationCards)
{
    Deal("Concentration", 8);
    ASSERT_TRUE(Engine->Rules.TableauRules.Contains(roDealFaceDown));
    Host.PlaySounds = true;
    // Two cards of different rank, then two of the same rank.
    int first = 0;
    int other = 1;
    while (Engine->TableauPiles[static_cast<std::size_t>(other)][0]->Value
           == Engine->TableauPiles[static_cast<std::size_t>(first)][0]->Value)
        ++other;
    TCard* a = Engine->TableauPiles[static_cast<std::size_t>(first)][0];
    TCard* b = Engine->TableauPiles[static_cast<std::size_t>(other)][0];
    Engine->MakeMove(pkTableau, first, 0, 0);
    EXPECT_TRUE(a->FaceUp);
    EXPECT_EQ(Engine->Points, -1);
    Host.Sounds.clear();
    Engine->MakeMove(pkTableau, other, 0, 0);
    EXPECT_EQ(Host.Sounds, (std::vector<std::string>{"drop.wav", "undo.wav", "drop.wav", "undo.wav", "drop.wav"}));
    EXPECT_EQ(Engine->Points, -1 - 1 - 5 - 5);
    EXPECT_FALSE(a->FaceUp);
    EXPECT_FALSE(b->FaceUp);
    EXPECT_EQ(Engine->SourceLog.size(), 3u + 8u) << "each click is one record";

    int match = 1;
    while (match == first || Engine->TableauPiles[static_cast<std::size_t>(match)][0]->Value != a->Value)
        ++match;
    Engine->MakeMove(pkTableau, first, 0, 0);
    Engine->MakeMove(pkTableau, match, 0, 0);
    EXPECT_EQ(Engine->FoundationCards, 2);
    EXPECT_EQ(Engine->Points, -12 - 1 - 1 + 100);
    EXPECT_EQ(Engine->RemovedCards.size(), 2u);
    EXPECT_FALSE(a->OnTable);
    EXPECT_FALSE(Table->Sprite.Shown);
}

TEST_F(EngineTest, WasteDealsTurnCardsWithoutTheFlipAndARedealWaitsForItsSound)
{
    for (const char* game : {"Klondike 2 [Turn over 3]", "One Foundation"}) {
        SCOPED_TRACE(game);
        Deal(game, 6);
        Table->SetTurnOverAnimationSpeed(8);
        Table->SetTurnOverAnimationLift(true);
        Table->SetLiftOffset(true);
        std::vector<int> speeds;
        Host.PlaySounds = true;
        Host.OnSound = [&](const std::string&) {
            speeds.push_back(Table->TurnOverAnimationSpeed() + (Table->TurnOverAnimationLift() ? 100 : 0)
                             + (Table->LiftOffset() ? 1000 : 0));
        };
        Engine->MakeMove(pkStockDeal, 0, 0, 0);
        ASSERT_FALSE(speeds.empty());
        EXPECT_EQ(speeds, std::vector<int>(speeds.size(), 0)) << "no flip, no lift, no lift offset while dealing";
        Host.OnSound = nullptr;
        EXPECT_EQ(Table->TurnOverAnimationSpeed(), 8);
        EXPECT_TRUE(Table->TurnOverAnimationLift());
        EXPECT_TRUE(Table->LiftOffset());
    }
    Deal("Klondike 2 [Turn over 3]", 6);
    while (Engine->StockCount() > 0)
        Engine->MakeMove(pkStockDeal, 0, 0, 0);
    Host.Sounds.clear();
    Host.Modes.clear();
    Engine->Redeal();
    ASSERT_FALSE(Host.Sounds.empty());
    EXPECT_EQ(Host.Sounds[0], "waste.wav");
    EXPECT_EQ(Host.Modes[0], 2) << "played to its end before the cards go back";
}

TEST_F(EngineTest, AReplayedDropNamesItsCardInTheTrace)
{
    std::vector<std::string> lines;
    platform::SetTraceSink([&lines](std::string_view line) { lines.emplace_back(line); });
    Deal("Klondike 1 [Turn over 1]", 3);
    TCard* top = Engine->TableauPiles[6].back();
    Engine->MakeMove(pkTableau, 6, -1, static_cast<int>(Engine->TableauPiles[6].size()) - 1);
    platform::SetTraceSink({});
    const std::string expected = "MakeMove calls CardDropEvent: " + CardText(top, false) + " -1";
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
}

// Lays a tableau pile out where a deal would, every card face up, so the
// mouse finds each card where the engine's arrays say it is.
void LayOutFaceUp(TEngine& engine, TCardTable& table, std::size_t p)
{
    const QPoint origin = engine.Rules.TableauPositions.at(p);
    int y = origin.y();
    for (TCard* card : engine.TableauPiles[p]) {
        if (!card)
            continue;
        if (!card->FaceUp)
            table.TurnCard(card);
        table.RemoveCard(card);
        table.PlaceCard(card, origin.x(), y);
        y += engine.FanStep;
    }
    engine.SetLists();
}

// Moves `card` out of whatever pile of the engine holds it into `pile` at its
// top, swapping with the card that lay there, so every card stays once.
void SwapIntoTop(TEngine& engine, TCard* card, std::size_t pile, std::size_t fromTop = 0)
{
    TCard*& slot = engine.TableauPiles[pile][engine.TableauPiles[pile].size() - 1 - fromTop];
    for (TPile& p : engine.TableauPiles)
        for (TCard*& c : p)
            if (c == card) {
                std::swap(c, slot);
                return;
            }
}

TEST_F(EngineTest, FourColoursTakesNoSecondCardOfASuitIntoItsCells)
{
    Deal("Four Colours", 2);
    ASSERT_TRUE(Engine->Rules.FreeCells);
    TCard* clubFive = Card(4, csClub);
    Engine->ReserveCards = {clubFive, nullptr, nullptr, nullptr};
    const TPilePos source{0, 12};
    EXPECT_FALSE(Engine->ValidDrop(Card(8, csClub), pkReserve, {1, 0}, pkTableau, source));
    EXPECT_TRUE(Engine->ValidDrop(Card(8, csDiamond), pkReserve, {1, 0}, pkTableau, source));
    // The card's own cell does not count against it.
    EXPECT_TRUE(Engine->ValidDrop(clubFive, pkReserve, {2, 0}, pkReserve, {0, 0}));
    // Elsewhere a cell takes any card.
    Deal("Freecell", 2);
    Engine->ReserveCards = {Card(4, csClub), nullptr, nullptr, nullptr};
    EXPECT_TRUE(Engine->ValidDrop(Card(8, csClub), pkReserve, {1, 0}, pkTableau, source));
}

TEST_F(EngineTest, FourColoursDealsEachSuitToItsOwnPile)
{
    Deal("Four Colours", 5);
    for (int p = 0; p < 4; ++p) {
        const TPile& pile = Engine->TableauPiles[static_cast<std::size_t>(p)];
        ASSERT_EQ(pile.size(), 13u) << "pile " << p;
        for (const TCard* card : pile)
            EXPECT_EQ(card->Suit, p) << "pile " << p;
    }
    for (std::size_t p = 4; p < Engine->TableauPiles.size(); ++p)
        EXPECT_EQ(Engine->TableauPiles[p], (TPile{nullptr}));
}

TEST_F(EngineTest, BurleighDealsFromTheBottomWhileItsLastCardLiesUnplayedAndUndoPutsItBack)
{
    Deal("Burleigh", 12);
    const TCardDeck& deck = Table->CardDeck();
    const auto bottom = [&deck] { return deck.CardByIndex(deck.Count()); };
    TCard* next = deck.CardByIndex(deck.DealtCount + 1);
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    ASSERT_EQ(Engine->WasteCards.back(), next) << "the first deal comes from the top";
    EXPECT_EQ(Engine->SourceLog[Engine->SourceLog.size() - 2], "0");
    // The dealt card still lies on the waste: the other end deals now.
    TCard* last = bottom();
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    EXPECT_EQ(Engine->WasteCards.back(), last);
    EXPECT_EQ(Engine->SourceLog[Engine->SourceLog.size() - 2], "1") << "the record says it came from the bottom";
    TCard* fromTop = deck.CardByIndex(deck.DealtCount + 1);
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    EXPECT_EQ(Engine->WasteCards.back(), fromTop) << "and back to the top";

    Engine->Undo();
    Engine->Undo();
    EXPECT_EQ(bottom(), last) << "undo returns it to the bottom of the stock";
    EXPECT_FALSE(last->FaceUp);
    Engine->Redo();
    EXPECT_EQ(Engine->WasteCards.back(), last);
    Engine->Redo();
    EXPECT_EQ(Engine->WasteCards.back(), fromTop);
    // A saved game of these deals replays them from the same ends.
    std::string error;
    const auto saved = ParseSavedGame(FormatSourceLog(Engine->SavedRecord()), error);
    ASSERT_TRUE(saved);
    const std::string played = PilesText(*Engine);
    ASSERT_TRUE(Engine->LoadGame(*saved));
    EXPECT_EQ(PilesText(*Engine), played);
}

TEST_F(EngineTest, ACompleteSpiderRunFollowsItsKingAtFourfoldSpeedAndCannotBeUndone)
{
    Deal("Spider", 3);
    // Deal the whole stock so every card lies in the tableau.
    while (Engine->StockCount() > 0)
        Engine->MakeMove(pkStockDeal, 0, 0, 0);
    // Hearts from the King down to the Ace on top of pile 0.
    const std::size_t p = 0;
    for (int value = cvKing; value >= cvAce; --value) {
        TCard* card = Card(value, csHeart);
        for (TPile& pile : Engine->TableauPiles) {
            std::erase(pile, card);
            if (pile.empty())
                pile.push_back(nullptr);
        }
        if (!Engine->TableauPiles[p].back())
            Engine->TableauPiles[p][0] = card;
        else
            Engine->TableauPiles[p].push_back(card);
    }
    ASSERT_TRUE(EveryCardOnce());
    LayOutFaceUp(*Engine, *Table, p);
    ASSERT_GT(Engine->HistoryPos, 0) << "the deals are history to lose";
    const int speed = Table->CardSpeed();
    std::vector<int> speeds;
    Host.PlaySounds = true;
    Host.Sounds.clear();
    Host.OnSound = [&](const std::string&) { speeds.push_back(Table->CardSpeed()); };
    const int points = Engine->Points;
    TCard* king = Card(cvKing, csHeart);
    const int kingAt = static_cast<int>(std::find(Engine->TableauPiles[p].begin(), Engine->TableauPiles[p].end(), king)
                                        - Engine->TableauPiles[p].begin());
    Engine->MakeMove(pkTableau, 0, DropPointAt(*Engine, Engine->Rules.FoundationPositions[0]), kingAt);
    Host.OnSound = nullptr;
    ASSERT_EQ(Engine->FoundationPiles[0].size(), 13u);
    EXPECT_EQ(Engine->FoundationPiles[0].front(), king);
    EXPECT_EQ(Engine->FoundationPiles[0].back(), Card(cvAce, csHeart));
    EXPECT_EQ(Engine->FoundationCards, 13);
    EXPECT_EQ(Engine->Points, points + 13 * 50);
    EXPECT_EQ(Host.Sounds.size(), 14u);
    ASSERT_EQ(speeds.size(), 14u);
    EXPECT_EQ(speeds[1], speed) << "the King at the usual speed";
    for (std::size_t i = 2; i < speeds.size(); ++i)
        EXPECT_EQ(speeds[i], speed * 4) << "follower " << i - 1;
    EXPECT_EQ(Table->CardSpeed(), speed);
    EXPECT_EQ(Engine->HistoryPos, 0) << "the history is gone";
    Engine->Undo();
    EXPECT_EQ(Engine->FoundationPiles[0].size(), 13u);
}

TEST_F(EngineTest, ACardUnderOthersGoesNeitherToACellNorToAFoundation)
{
    Deal("Freecell", 7);
    // An alternate-colour pair on top of pile 0 makes the lower card draggable.
    SwapIntoTop(*Engine, Card(7, csHeart), 0, 1);
    SwapIntoTop(*Engine, Card(6, csSpade), 0, 0);
    LayOutFaceUp(*Engine, *Table, 0);
    TCard* lower = Card(7, csHeart);
    ASSERT_NE(std::find(Engine->Draggables.begin(), Engine->Draggables.end(), lower), Engine->Draggables.end());
    const int lowerAt = static_cast<int>(Engine->TableauPiles[0].size()) - 2;
    const int cell = DropPointAt(*Engine, QPoint(Engine->Rules.ReservePosition.x() + Engine->Layout.ColumnStep,
                                                Engine->Rules.ReservePosition.y()));
    ASSERT_GE(cell, 0);
    Engine->MakeMove(pkTableau, 0, cell, lowerAt);
    EXPECT_EQ(Engine->Points, -5);
    EXPECT_EQ(Engine->HistoryPos, 0);
    EXPECT_EQ(Engine->SourceLog.size(), 7u) << "the refusal is logged";
    EXPECT_EQ(Engine->ReserveCards[0], nullptr);
    Engine->MakeMove(pkTableau, 0, DropPointAt(*Engine, Engine->Rules.FoundationPositions[0]), lowerAt);
    EXPECT_EQ(Engine->Points, -10);
    // The top card itself may go to the cell.
    Engine->MakeMove(pkTableau, 0, cell, lowerAt + 1);
    EXPECT_EQ(Engine->ReserveCards[0], Card(6, csSpade));
    EXPECT_EQ(Engine->Points, -11);
}

TEST_F(EngineTest, ARunMoveIsOneHistoryEntryAndOneUndoBringsTheWholeRunBack)
{
    Deal("Freecell", 7);
    // 8 of clubs on pile 1; 7 of hearts and 6 of spades on pile 0.
    SwapIntoTop(*Engine, Card(7, csClub), 1);
    SwapIntoTop(*Engine, Card(6, csHeart), 0, 1);
    SwapIntoTop(*Engine, Card(5, csSpade), 0, 0);
    LayOutFaceUp(*Engine, *Table, 0);
    LayOutFaceUp(*Engine, *Table, 1);
    const std::string before = StateJson(*Engine, true);
    const TCard* eight = Card(7, csClub);
    const int target = DropPointAt(*Engine, QPoint(eight->X, eight->Y));
    Engine->MakeMove(pkTableau, 0, target, static_cast<int>(Engine->TableauPiles[0].size()) - 2);
    ASSERT_EQ(Engine->TableauPiles[1].back(), Card(5, csSpade));
    EXPECT_EQ(Engine->HistoryPos, 4) << "one entry for the run";
    EXPECT_EQ(Engine->Points, -1) << "a run scores once";
    const TCard* six = Card(5, csSpade);
    EXPECT_EQ(QPoint(six->X, six->Y), QPoint(eight->X, eight->Y + 2 * Engine->FanStep));
    Engine->Undo();
    EXPECT_EQ(StateJson(*Engine, true).substr(0, before.find("\"points\"")), before.substr(0, before.find("\"points\"")))
        << "every card back in its place";
}

TEST_F(EngineTest, AnUndoneCardLandsAQuarterStepBelowTheCardItUncoveredTurnedDownAgain)
{
    for (std::uint32_t seed = 1; seed < 300; ++seed) {
        Deal("Klondike 1 [Turn over 1]", seed);
        const std::string before = StateJson(*Engine, true);
        for (int p = 1; p < 7; ++p) {
            const int top = static_cast<int>(Engine->TableauPiles[static_cast<std::size_t>(p)].size()) - 1;
            TCard* card = Engine->TableauPiles[static_cast<std::size_t>(p)].back();
            const QPoint was(card->X, card->Y);
            for (int target = 0; target < 7; ++target) {
                Engine->MakeMove(pkTableau, p, target, top);
                if (Engine->HistoryPos == 0)
                    continue;
                const TCard* uncovered = Engine->TableauPiles[static_cast<std::size_t>(p)].back();
                ASSERT_TRUE(uncovered->FaceUp);
                Engine->Undo();
                EXPECT_FALSE(uncovered->FaceUp);
                EXPECT_EQ(QPoint(card->X, card->Y), was);
                EXPECT_EQ(card->Y - uncovered->Y, Engine->FanStep / 4);
                const auto cut = [](const std::string& state) { return state.substr(0, state.find("\"points\"")); };
                EXPECT_EQ(cut(StateJson(*Engine, true)), cut(before));
                return;
            }
        }
    }
    FAIL() << "no deal offered a move that uncovers a card";
}

TEST_F(EngineTest, EmptyPilesFollowTheReserveWasteExtraPileAndBaseOptions)
{
    Deal("Klondike 1 [Turn over 1]", 1);
    TRuleOptions& t = Engine->Rules.TableauRules;
    Engine->TableauPiles[0] = {nullptr};
    TCard* card = Card(5, csHeart);
    const TPilePos empty{0, 0};
    const auto valid = [&](int sourceKind) { return Engine->ValidDrop(card, pkTableau, empty, sourceKind, {1, 0}); };
    t = TRuleOptions{};
    t.Include(roEmptyFromWaste);
    EXPECT_TRUE(valid(pkWaste));
    EXPECT_FALSE(valid(pkReserve));
    // With the reserve also filling spaces, the waste waits until the reserve is used up...
    t.Include(roEmptyFromReserve);
    Engine->ReserveCards = {Card(9, csClub)};
    EXPECT_FALSE(valid(pkWaste));
    EXPECT_TRUE(valid(pkReserve));
    Engine->ReserveCards.clear();
    EXPECT_TRUE(valid(pkWaste));
    // ...unless the waste may fill a space at any time.
    Engine->ReserveCards = {Card(9, csClub)};
    t.Include(roWasteAnyTime);
    EXPECT_TRUE(valid(pkWaste));
    t = TRuleOptions{};
    t.Include(roEmptyFromExcept);
    EXPECT_TRUE(valid(pkExcept));
    EXPECT_FALSE(valid(pkTableau));

    // Building refused by source onto a card.
    Engine->TableauPiles[0] = {Card(6, csSpade)};
    for (const auto& [option, refused] : std::vector<std::pair<TRuleOption, int>>{
             {roNoBuildFromReserve, pkReserve}, {roNoBuildFromTableau, pkTableau},
             {roNoBuildFromWaste, pkWaste}, {roNoBuildFromStock, pkStock}}) {
        t = TRuleOptions{};
        t.Include(roBuildDown);
        t.Include(option);
        for (const int source : {pkReserve, pkTableau, pkWaste, pkStock})
            EXPECT_EQ(Engine->ValidDrop(card, pkTableau, {0, 0}, source, {1, 0}), source != refused)
                << "option " << option << " source " << source;
    }

    // The first card on an empty foundation names the base rank; with option
    // 31 every card does, and the label is left alone.
    TRuleOptions& f = Engine->Rules.FoundationRules;
    f = TRuleOptions{};
    f.Include(roFirstCardSetsBase);
    Engine->FoundationPiles.assign(4, TPile{nullptr});
    Engine->Rules.FoundationBaseCard = nullptr;
    EXPECT_TRUE(Engine->ValidDrop(Card(6, csClub), pkFoundation, {0, 0}, pkWaste, {0, 0}));
    EXPECT_EQ(Engine->FoundationLabel, "Seven");
    EXPECT_FALSE(Engine->ValidDrop(Card(7, csClub), pkFoundation, {1, 0}, pkWaste, {0, 0}));
    EXPECT_TRUE(Engine->ValidDrop(Card(6, csHeart), pkFoundation, {1, 0}, pkWaste, {0, 0}));
    f.Include(roEachCardSetsBase);
    EXPECT_TRUE(Engine->ValidDrop(Card(2, csClub), pkFoundation, {1, 0}, pkWaste, {0, 0}));
    EXPECT_EQ(Engine->Rules.FoundationBaseCard, Card(2, csClub));
    EXPECT_EQ(Engine->FoundationLabel, "Seven");
}

TEST_F(EngineTest, AnEmptiedPileIsRefilledFromTheStockFirstOrFromTheWasteFirstAsTheRulesSay)
{
    // Czarina refills from the stock first (option 26); Kingdom from the waste first.
    for (const char* game : {"Czarina", "Kingdom"}) {
        SCOPED_TRACE(game);
        const bool stockFirst = std::string(game) == "Czarina";
        bool done = false;
        for (std::uint32_t seed = 1; seed < 200 && !done; ++seed) {
            Deal(game, seed);
            Engine->MakeMove(pkStockDeal, 0, 0, 0);
            ASSERT_FALSE(Engine->WasteCards.empty());
            for (int p = 0; p < static_cast<int>(Engine->TableauPiles.size()) && !done; ++p) {
                const TPile& pile = Engine->TableauPiles[static_cast<std::size_t>(p)];
                if (pile.size() != 1 || !pile[0])
                    continue;
                for (int target = 0; target < static_cast<int>(Engine->DropPoints.size()) && !done; ++target) {
                    TCard* waste = Engine->WasteCards.back();
                    TCard* stock = Table->CardDeck().CardByIndex(Table->CardDeck().DealtCount + 1);
                    const int before = Engine->HistoryPos;
                    Engine->MakeMove(pkTableau, p, target, 0);
                    if (Engine->HistoryPos == before)
                        continue;
                    done = true;
                    EXPECT_EQ(Engine->TableauPiles[static_cast<std::size_t>(p)][0], stockFirst ? stock : waste);
                    EXPECT_TRUE(Engine->TableauPiles[static_cast<std::size_t>(p)][0]->FaceUp);
                    EXPECT_EQ(Engine->History[static_cast<std::size_t>(Engine->HistoryPos - 2)], "102");
                    EXPECT_EQ(Engine->History[static_cast<std::size_t>(Engine->HistoryPos - 4)],
                              std::to_string(stockFirst ? pkStock : pkWaste));
                }
            }
        }
        EXPECT_TRUE(done) << "no deal let a one-card pile be emptied";
    }
}

} // namespace
