// Verdicts on positions made by hand and on real deals, winning lines that
// the real engine replays to a won game, and the command-line face.
#include "SolverTestSupport.h"
#include "engine/EngineFixture.h"
#include "support/RunCli.h"

#include "catalogue/GameDefinitions.h"
#include "solver/KeyTable.h"
#include "solver/Search.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <tuple>

namespace {

using solver::TVerdict;

TCardCodes Suit(int suit, int from, int to, bool faceUp = true)
{
    TCardCodes cards;
    for (int v = from; v <= to; ++v)
        cards.push_back(MakeCardCode(v, suit, faceUp));
    return cards;
}

class SolverTest : public EngineTest {
protected:
    // The engine plays the solver's line from the deal of `game` at `seed`,
    // in step with the solver, and is won at the end.
    ::testing::AssertionResult ReplaysToAWin(const std::string& game, std::uint32_t seed, const solver::TSolveResult& result)
    {
        Deal(game, seed);
        const solver::TSolverGame rules = solver::MakeSolverGame(Engine->Rules);
        solver::TSolverState state(rules, Engine->Snapshot());
        for (std::size_t m = 0; m < result.Line.size(); ++m) {
            for (const solver::TRecordAction& a : solver::RecordOf(state, result.Line[m]))
                Engine->MakeMove(a.Kind, a.Pile, a.DropPoint, a.Position);
            // The search passes over children it judges unable to win: the winning move must not be one.
            if (m + 1 == result.Line.size() && !solver::MayWin(state, result.Line[m]))
                return ::testing::AssertionFailure() << "the winning move " << MoveText(result.Line[m]) << " was judged unable to win";
            solver::ApplyMove(state, result.Line[m]);
            const TPositionSnapshot engine = Engine->Snapshot();
            if (engine != state.ToSnapshot())
                return ::testing::AssertionFailure() << "move " << m << " (" << MoveText(result.Line[m]) << ") differs:\nengine\n"
                                                     << SnapshotText(engine) << "solver\n"
                                                     << SnapshotText(state.ToSnapshot());
        }
        if (!Engine->GameWon)
            return ::testing::AssertionFailure() << "not won after the line";
        // The same line as a saved game loads to a won game.
        TSavedGame saved;
        saved.GameName = game;
        saved.Seed = seed;
        for (const solver::TRecordAction& a : result.Record)
            saved.Actions.push_back({a.Kind, a.Pile, a.Position, a.DropPoint});
        if (!Engine->LoadGame(saved) || !Engine->GameWon)
            return ::testing::AssertionFailure() << "the saved line does not load to a won game";
        return ::testing::AssertionSuccess();
    }
};

TEST_F(SolverTest, OneMoveFromAWinIsFoundAndADeadPositionIsProvedLost)
{
    Deal("Freecell", 1);
    const solver::TSolverGame freecell = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot last;
    last.Tableau.assign(8, {});
    last.Tableau[5] = {MakeCardCode(12, 3, true)};
    last.Foundations = {Suit(0, 0, 12), Suit(1, 0, 12), Suit(2, 0, 12), Suit(3, 0, 11)};
    last.Reserve.assign(4, NoCard);
    last.FoundationCards = 51;
    const solver::TSolveResult won = solver::Solve(freecell, last, States(1000));
    ASSERT_EQ(won.Verdict, TVerdict::Winnable);
    ASSERT_EQ(won.Record.size(), 1u);
    // From tableau pile 5 to the fourth foundation: drop point 8 + 3.
    EXPECT_EQ(won.Record[0], (solver::TRecordAction{pkTableau, 5, 11, 0}));
    // The King to a free cell cannot win; to its foundation it does.
    const solver::TSolverState lastState(freecell, last);
    std::vector<solver::TSolverMove> moves;
    solver::GenerateMoves(lastState, solver::TMoveSet::Search, moves);
    for (const solver::TSolverMove& move : moves)
        EXPECT_EQ(solver::MayWin(lastState, move), move.TargetKind == pkFoundation) << MoveText(move);

    // Klondike with the stock spent and only red tops: nothing can move.
    Deal("Klondike 1 [Turn over 1]", 1);
    const solver::TSolverGame klondike = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot dead;
    const TCardCodes tops = {MakeCardCode(12, 1, true), MakeCardCode(12, 2, true), MakeCardCode(11, 1, true),
                             MakeCardCode(11, 2, true), MakeCardCode(10, 1, true), MakeCardCode(10, 2, true),
                             MakeCardCode(9, 1, true)};
    for (const TCardCode top : tops)
        dead.Tableau.push_back({MakeCardCode(0, 0, false), top});
    dead.Foundations.assign(4, {});
    dead.PassesDone = 1;
    const solver::TSolveResult lost = solver::Solve(klondike, dead, States(1000));
    EXPECT_EQ(lost.Verdict, TVerdict::NotWinnable);
    EXPECT_FALSE(solver::HasAnyMove(klondike, dead));
    EXPECT_TRUE(solver::HasAnyMove(freecell, last));
}

// Aces Up is won by its piles, not by its discards' count alone: laying the
// last covering Ace on an empty pile wins, though it sends nothing home.
TEST_F(SolverTest, AMoveOntoAPileCanWinAcesUp)
{
    Deal("Aces Up", 1);
    const solver::TSolverGame acesUp = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot last = Engine->Snapshot();
    ASSERT_EQ(last.Tableau.size(), 4u);
    ASSERT_EQ(last.Foundations.size(), 1u);
    last.Tableau = {{MakeCardCode(0, 0, true)}, {MakeCardCode(0, 1, true)}, {MakeCardCode(0, 2, true), MakeCardCode(0, 3, true)}, {}};
    last.Foundations[0].clear();
    for (int suit = 0; suit < 4; ++suit)
        for (const TCardCode card : Suit(suit, 1, 12))
            last.Foundations[0].push_back(card);
    last.FoundationCards = 48;
    last.Stock.clear();
    const solver::TSolverState state(acesUp, last);
    std::vector<solver::TSolverMove> moves;
    solver::GenerateMoves(state, solver::TMoveSet::Search, moves);
    int wins = 0;
    for (const solver::TSolverMove& move : moves) {
        solver::TSolverState child = state;
        solver::ApplyMove(child, move);
        if (solver::IsWon(child)) {
            ++wins;
            EXPECT_TRUE(solver::MayWin(state, move)) << MoveText(move);
        }
    }
    EXPECT_GT(wins, 0);
}

// A waste game's stock clicks: the player gets them one at a time, the search
// as part of the play they serve (deal k times, then play the waste's top).
TEST_F(SolverTest, TheSearchDealsOnlyToPlayAWasteCardOrToRedeal)
{
    Deal("Klondike 1 [Turn over 1]", 4);
    const solver::TSolverGame klondike = solver::MakeSolverGame(Engine->Rules);
    const solver::TSolverState state(klondike, Engine->Snapshot());
    std::vector<solver::TSolverMove> player;
    std::vector<solver::TSolverMove> search;
    solver::GenerateMoves(state, solver::TMoveSet::Player, player);
    solver::GenerateMoves(state, solver::TMoveSet::Folded, search);
    EXPECT_TRUE(std::any_of(player.begin(), player.end(), [](const auto& m) { return m.Type == solver::TMoveType::StockDeal; }));
    EXPECT_TRUE(std::none_of(player.begin(), player.end(), [](const auto& m) { return m.Deals > 0; }));
    // One pass only: the stock is never dealt out for a redeal.
    EXPECT_TRUE(std::none_of(search.begin(), search.end(), [](const auto& m) { return m.Type == solver::TMoveType::StockDeal; }));
    int compound = 0;
    for (const solver::TSolverMove& move : search) {
        if (move.Deals == 0)
            continue;
        ++compound;
        const std::vector<solver::TRecordAction> record = solver::RecordOf(state, move);
        ASSERT_EQ(record.size(), move.Deals + 1u);
        EXPECT_EQ(record.front(), (solver::TRecordAction{pkStockDeal, 0, 0, 0}));
        EXPECT_EQ(record.back().Kind, pkWaste);
        EXPECT_EQ(record.back().Position, move.Deals - 1); // the waste was empty
    }
    EXPECT_GT(compound, 0);

    // With passes left, dealing the stock out is one step, and the redeal follows.
    Deal("Klondike 2 [Turn over 3]", 4);
    const solver::TSolverGame three = solver::MakeSolverGame(Engine->Rules);
    solver::TSolverState threeState(three, Engine->Snapshot());
    solver::GenerateMoves(threeState, solver::TMoveSet::Folded, search);
    const auto out = std::find_if(search.begin(), search.end(), [](const auto& m) { return m.Type == solver::TMoveType::StockDeal; });
    ASSERT_NE(out, search.end());
    EXPECT_EQ(out->Deals, 7); // 24 cards, three at a time
    solver::ApplyMove(threeState, *out);
    EXPECT_EQ(threeState.StockCount(), 0);
    EXPECT_TRUE(threeState.Counters.RedealOffered);
}

// Unlimited passes: turning the stock over again and again reaches nothing new,
// so a position where no card of the stock fits anywhere is proved lost.
TEST_F(SolverTest, EndlessRedealsOfAStockThatFitsNowhereAreProvedLost)
{
    Deal("Klondike 2 [Turn over 3]", 1);
    const solver::TSolverGame klondike = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot stuck;
    for (const int value : {12, 11, 10, 9, 8, 7, 6})
        stuck.Tableau.push_back({MakeCardCode(0, 0, false), MakeCardCode(value, value % 2 == 0 ? 1 : 2, true)});
    stuck.Foundations.assign(4, {});
    stuck.Stock = {MakeCardCode(4, 1, false), MakeCardCode(3, 2, false), MakeCardCode(2, 1, false), MakeCardCode(1, 2, false)};
    const solver::TSolveResult lost = solver::Solve(klondike, stuck, States(100000));
    EXPECT_EQ(lost.Verdict, TVerdict::NotWinnable);
    EXPECT_LT(lost.States, 1000);
}

// A Two may go home at once only where no Ace can carry other cards. In this
// Yukon position the Ace of clubs lying under its King is lifted onto the Two
// of diamonds with the King, and only that wins; once no Ace lies under
// another card the Two is safe again.
TEST_F(SolverTest, ATwoStaysOutWhereAnAceMovesWithTheCardsAboveIt)
{
    const auto up = [](int value, int suit) { return MakeCardCode(value, suit, true); };
    const auto down = [](int value, int suit) { return MakeCardCode(value, suit, false); };
    const int clubs = 0;
    const int diamonds = 1;
    TPositionSnapshot position;
    position.Tableau = {
        {up(1, diamonds)},
        {up(0, clubs), up(12, clubs)},
        {down(12, diamonds), down(11, diamonds), down(10, diamonds), up(11, clubs)},
        {down(9, diamonds), down(8, diamonds), down(7, diamonds), up(10, clubs)},
        {down(6, diamonds), down(5, diamonds), down(4, diamonds), up(9, clubs)},
        {down(3, diamonds), down(2, diamonds), up(8, clubs), up(7, clubs), up(6, clubs), up(5, clubs)},
        {up(4, clubs), up(3, clubs), up(2, clubs), up(1, clubs)},
    };
    position.Foundations = {Suit(2, 0, 12), Suit(3, 0, 12), Suit(diamonds, 0, 0), {}};
    position.FoundationCards = 27;
    const solver::TSolverMove twoHome{solver::TMoveType::Drag, pkTableau, 0, 0, pkFoundation, 2};

    Deal("Yukon", 1);
    const solver::TSolverGame yukon = solver::MakeSolverGame(Engine->Rules);
    solver::TSolverState state(yukon, position);
    EXPECT_FALSE(solver::IsSafeAutoMove(state, twoHome));
    EXPECT_EQ(solver::Solve(yukon, position, States(100000)).Verdict, TVerdict::Winnable);
    TPositionSnapshot aceOnTop = position;
    std::swap(aceOnTop.Tableau[1][0], aceOnTop.Tableau[1][1]);
    EXPECT_TRUE(solver::IsSafeAutoMove(solver::TSolverState(yukon, aceOnTop), twoHome));
}

// The key ignores the order of interchangeable piles and the pack of twin
// cards, and nothing else: a pile bound to its place, a face or a card moved
// makes another key.
TEST_F(SolverTest, TheKeyIsOneForEqualPositionsAndKeptThroughMovesAndUndos)
{
    Deal("Freecell", 2);
    const solver::TSolverGame freecell = solver::MakeSolverGame(Engine->Rules);
    const TPositionSnapshot deal = Engine->Snapshot();
    const std::uint64_t key = solver::TSolverState(freecell, deal).Key();
    TPositionSnapshot swapped = deal;
    std::swap(swapped.Tableau[0], swapped.Tableau[5]);
    EXPECT_EQ(solver::TSolverState(freecell, swapped).Key(), key);
    TPositionSnapshot cells = deal;
    cells.Reserve = {NoCard, cells.Tableau[1].back(), NoCard, cells.Tableau[2].back()};
    cells.Tableau[1].pop_back();
    cells.Tableau[2].pop_back();
    TPositionSnapshot otherCells = cells;
    otherCells.Reserve = {cells.Reserve[3], NoCard, cells.Reserve[1], NoCard};
    EXPECT_EQ(solver::TSolverState(freecell, otherCells).Key(), solver::TSolverState(freecell, cells).Key());
    EXPECT_NE(solver::TSolverState(freecell, cells).Key(), key);
    TPositionSnapshot moved = deal;
    moved.Tableau[3].push_back(moved.Tableau[4].back());
    moved.Tableau[4].pop_back();
    EXPECT_NE(solver::TSolverState(freecell, moved).Key(), key);

    // Two packs: twin cards are one card. Spider deals by place, so its piles are bound.
    Deal("Spider", 1);
    const solver::TSolverGame spider = solver::MakeSolverGame(Engine->Rules);
    const TPositionSnapshot spiderDeal = Engine->Snapshot();
    const std::uint64_t spiderKey = solver::TSolverState(spider, spiderDeal).Key();
    TPositionSnapshot twins = spiderDeal;
    twins.Tableau[0].back() ^= PackBit;
    EXPECT_EQ(solver::TSolverState(spider, twins).Key(), spiderKey);
    TPositionSnapshot turned = spiderDeal;
    turned.Tableau[0].back() = CodeTurnedDown(turned.Tableau[0].back());
    EXPECT_NE(solver::TSolverState(spider, turned).Key(), spiderKey);
    TPositionSnapshot bound = spiderDeal;
    std::swap(bound.Tableau[0], bound.Tableau[5]);
    EXPECT_NE(solver::TSolverState(spider, bound).Key(), spiderKey);

    // Deep in a line of moves and undos the kept key is the key worked out afresh.
    solver::TSolverState state(freecell, deal);
    std::vector<solver::TSolverMove> moves;
    std::vector<std::uint64_t> keys{state.Key()};
    for (int step = 0; step < 40; ++step) {
        solver::GenerateMoves(state, solver::TMoveSet::Search, moves);
        if (moves.empty())
            break;
        solver::ApplyMove(state, moves[static_cast<std::size_t>(step * 7) % moves.size()]);
        if (step % 3 == 0) {
            // A move tried and taken back, its key asked for or not.
            solver::GenerateMoves(state, solver::TMoveSet::Search, moves);
            if (!moves.empty()) {
                solver::ApplyMove(state, moves.back());
                if (step % 2 == 0) {
                    EXPECT_EQ(state.Key(), state.FreshKey()) << "step " << step;
                }
                state.UndoMove();
            }
        }
        ASSERT_EQ(state.Key(), state.FreshKey()) << "step " << step;
        keys.push_back(state.Key());
    }
    while (state.Depth() > 0) {
        keys.pop_back();
        state.UndoMove();
        ASSERT_EQ(state.Key(), keys.back()) << "depth " << state.Depth();
    }
    EXPECT_EQ(state.Key(), key);
}

// The search keys a child before it plays it: along a line of moves in games
// of every kind of pile (cells bound or not, a reserve, a waste, face-down
// cards turning up, runs, two packs), each move's key foreseen is the key
// after it is played, and foreseeing it leaves the position as it was.
TEST_F(SolverTest, AChildsKeyForeseenIsItsKeyWhenPlayed)
{
    for (const char* game : {"Freecell", "Four Colours", "Klondike 1 [Turn over 1]", "Yukon", "Canfield", "Black Hole",
                             "Spider", "Black Widow", "Scorpion", "Baker's Dozen", "Forty Thieves", "Eight Off",
                             "Double Canfield"}) {
        Deal(game, 3);
        const solver::TSolverGame rules = solver::MakeSolverGame(Engine->Rules);
        solver::TSolverState state(rules, Engine->Snapshot());
        std::vector<solver::TSolverMove> moves;
        for (int step = 0; step < 60; ++step) {
            solver::GenerateMoves(state, solver::TMoveSet::Folded, moves);
            if (moves.empty())
                break;
            const TPositionSnapshot before = state.ToSnapshot();
            for (const solver::TSolverMove& move : moves) {
                const std::uint64_t foreseen = solver::KeyAfter(state, move);
                ASSERT_EQ(state.ToSnapshot(), before) << game << " step " << step << ": " << MoveText(move);
                solver::ApplyMove(state, move);
                EXPECT_EQ(state.Key(), foreseen) << game << " step " << step << ": " << MoveText(move);
                state.UndoMove();
            }
            // Half the steps ask for no key, so some piles' shares are stale when the next step foresees.
            solver::ApplyMove(state, moves[static_cast<std::size_t>(step * 5 + 1) % moves.size()]);
            if (step % 2 == 0) {
                ASSERT_EQ(state.Key(), state.FreshKey()) << game << " step " << step;
            }
        }
    }
}

// The best-first pass decodes its positions one after another into one
// state, which hashes again only the piles that changed, and plays a child
// of the position it stands at after forgetting how it got there: the key
// must be the one worked out afresh however far apart the positions lie.
TEST_F(SolverTest, ADecodedOrReachedPositionHasItsOwnKey)
{
    for (const char* game : {"Freecell", "Canfield", "Spider", "Scorpion", "Aces Up"}) {
        Deal(game, 5);
        const solver::TSolverGame rules = solver::MakeSolverGame(Engine->Rules);
        solver::TSolverState walker(rules, Engine->Snapshot());
        std::vector<std::vector<std::uint8_t>> codes;
        std::vector<std::uint64_t> keys;
        std::vector<solver::TSolverMove> moves;
        for (int step = 0; step < 50; ++step) {
            codes.emplace_back();
            walker.Encode(codes.back());
            keys.push_back(walker.Key());
            solver::GenerateMoves(walker, solver::TMoveSet::Search, moves);
            if (moves.empty())
                break;
            solver::ApplyMove(walker, moves[static_cast<std::size_t>(step * 3 + 1) % moves.size()]);
        }
        ASSERT_GT(codes.size(), 10u) << game;
        solver::TSolverState state(rules, Engine->Snapshot());
        // Near kin and far apart, forwards and back.
        for (std::size_t i = 0; i < codes.size() * 2; ++i) {
            const std::size_t at = (i * 7) % codes.size();
            state.Decode(codes[at].data());
            ASSERT_EQ(state.Key(), keys[at]) << game << " position " << at;
            ASSERT_EQ(state.Key(), state.FreshKey()) << game << " position " << at;
            // A child played from the decoded position, kept as the new start.
            solver::GenerateMoves(state, solver::TMoveSet::Search, moves);
            if (moves.empty())
                continue;
            const solver::TSolverMove& move = moves[i % moves.size()];
            const std::uint64_t foreseen = solver::KeyAfter(state, move);
            state.ForgetMoves();
            solver::ApplyMove(state, move);
            ASSERT_EQ(state.Key(), foreseen) << game << " position " << at << ": " << MoveText(move);
            ASSERT_EQ(state.Key(), state.FreshKey()) << game << " position " << at << ": " << MoveText(move);
            state.ForgetMoves();
            EXPECT_EQ(state.Depth(), 0) << game;
        }
    }
}

// The search tries a card on one empty pile and one empty cell only where
// their places do not count (the rest lead to the same key), and a card in a
// cell on no other cell; the player is offered every one, and piles a deal
// binds to their places are all tried.
TEST_F(SolverTest, OneEmptyPileAndCellStandForAllInTheSearchOnly)
{
    Deal("Freecell", 1);
    const solver::TSolverGame freecell = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot open;
    open.Tableau = {{MakeCardCode(12, 0, true), MakeCardCode(11, 1, true)},
                    {MakeCardCode(4, 2, true)},
                    {MakeCardCode(2, 3, true)},
                    {MakeCardCode(7, 0, true)},
                    {MakeCardCode(6, 1, true)},
                    {MakeCardCode(9, 2, true)},
                    {},
                    {}};
    open.Foundations.assign(4, {});
    open.Reserve = {MakeCardCode(10, 3, true), NoCard, MakeCardCode(8, 0, true), NoCard};
    solver::TSolverState state(freecell, open);
    using TSourceKey = std::tuple<int, int, int>;
    const auto countEmptyTargets = [&state](solver::TMoveSet set, bool cells) {
        std::vector<solver::TSolverMove> moves;
        solver::GenerateMoves(state, set, moves);
        std::map<TSourceKey, int> counts;
        for (const solver::TSolverMove& m : moves)
            if (cells ? m.TargetKind == pkReserve : (m.TargetKind == pkTableau && state.Tableau(m.TargetPile).Empty()))
                ++counts[{m.SourceKind, m.SourcePile, m.SourceIndex}];
        return counts;
    };
    for (const bool cells : {false, true}) {
        const auto player = countEmptyTargets(solver::TMoveSet::Player, cells);
        const auto search = countEmptyTargets(solver::TMoveSet::Search, cells);
        EXPECT_GE(player.size(), 6u) << (cells ? "cells" : "piles");
        for (const auto& [source, count] : player) {
            EXPECT_EQ(count, 2) << (cells ? "cells" : "piles");
            const int idle = cells && std::get<0>(source) == pkReserve ? 1 : 0;
            EXPECT_EQ(search.count(source) ? search.at(source) : 0, 1 - idle) << (cells ? "cells" : "piles");
        }
    }
    // Cell to cell changes nothing where cells are keyed as a set.
    const solver::TSolverMove cellToCell{solver::TMoveType::Drag, pkReserve, 0, 0, pkReserve, 1, 12};
    EXPECT_EQ(solver::KeyAfter(state, cellToCell), state.Key());
    // The move left out leads to the key of the one kept.
    solver::TSolverMove toSix{solver::TMoveType::Drag, pkTableau, 1, 0, pkTableau, 6, 6};
    solver::TSolverMove toSeven = toSix;
    toSeven.TargetPile = toSeven.DropPoint = 7;
    EXPECT_EQ(solver::KeyAfter(state, toSix), solver::KeyAfter(state, toSeven));

    // Spider's stock deals a card onto each pile by its place: both empty piles are tried.
    Deal("Spider", 1);
    const solver::TSolverGame spider = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot bound;
    for (int p = 0; p < 8; ++p)
        bound.Tableau.push_back({MakeCardCode(p, 0, true)});
    bound.Tableau.resize(10);
    bound.Foundations.assign(8, {});
    bound.Stock = Suit(1, 0, 9, false);
    const solver::TSolverState spiderState(spider, bound);
    std::vector<solver::TSolverMove> moves;
    solver::GenerateMoves(spiderState, solver::TMoveSet::Search, moves);
    const auto fromFirstTo = [&moves](int pile) {
        return std::count_if(moves.begin(), moves.end(), [pile](const solver::TSolverMove& m) {
            return m.SourcePile == 0 && m.TargetKind == pkTableau && m.TargetPile == pile;
        });
    };
    EXPECT_EQ(fromFirstTo(8), 1);
    EXPECT_EQ(fromFirstTo(9), 1);
}

// An empty pile's verdict comes from answers kept per game; a run into an
// empty column is still held to the room there (the other empty columns
// only), and an empty foundation takes an Ace and nothing else.
TEST_F(SolverTest, ARunIntoAnEmptyColumnIsMeasuredAgainstTheRoomThere)
{
    Deal("Freecell", 1);
    const solver::TSolverGame freecell = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot full;
    full.Tableau = {{MakeCardCode(7, 0, true), MakeCardCode(6, 1, true)},
                    {MakeCardCode(8, 1, true)},
                    {},
                    {MakeCardCode(12, 3, true)},
                    {MakeCardCode(11, 0, true)},
                    {MakeCardCode(3, 3, true)},
                    {MakeCardCode(10, 2, true)},
                    {MakeCardCode(9, 3, true)}};
    full.Foundations.assign(4, {});
    full.Reserve = {MakeCardCode(0, 2, true), MakeCardCode(1, 0, true), MakeCardCode(5, 2, true),
                    MakeCardCode(4, 3, true)};
    const solver::TSolverState state(freecell, full);
    for (const solver::TMoveSet set : {solver::TMoveSet::Player, solver::TMoveSet::Search}) {
        std::vector<solver::TSolverMove> moves;
        solver::GenerateMoves(state, set, moves);
        const auto offered = [&moves](int kind, int pile, int index, int targetKind, int target) {
            return std::any_of(moves.begin(), moves.end(), [&](const solver::TSolverMove& m) {
                return m.SourceKind == kind && m.SourcePile == pile && m.SourceIndex == index
                    && m.TargetKind == targetKind && m.TargetPile == target;
            });
        };
        // No free cell and one empty column: two cards onto a card, one into the column.
        EXPECT_TRUE(offered(pkTableau, 0, 0, pkTableau, 1));
        EXPECT_FALSE(offered(pkTableau, 0, 0, pkTableau, 2));
        EXPECT_TRUE(offered(pkTableau, 0, 1, pkTableau, 2));
        EXPECT_TRUE(offered(pkReserve, 2, 2, pkTableau, 2));
        EXPECT_TRUE(offered(pkReserve, 0, 0, pkFoundation, 0));
        EXPECT_FALSE(offered(pkReserve, 1, 1, pkFoundation, 0));
    }
}

// What may be lifted and where it may go: a run lies on the tableau only
// (never in a cell or at home), a card under a face-down one or a face-down
// card is never lifted, and a card moved from cell to cell is offered to the
// player but left out of the search (the cells are keyed as a set).
TEST_F(SolverTest, RunsGoToTheTableauAndCellToCellIsThePlayersOnly)
{
    Deal("Freecell", 1);
    const solver::TSolverGame freecell = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot position;
    position.Tableau = {{Up(9, 0), Up(1, 1), Up(0, 0)}, {Up(2, 0)}, {Up(12, 1)}, {Up(11, 0)},
                        {Up(10, 2)},                   {Up(9, 3)}, {Up(8, 1)},  {Up(7, 3)}};
    position.Foundations.assign(4, {});
    position.Reserve = {Up(5, 2), NoCard, NoCard, NoCard};
    const solver::TSolverState state(freecell, position);
    for (const solver::TMoveSet set : {solver::TMoveSet::Player, solver::TMoveSet::Search}) {
        std::vector<solver::TSolverMove> moves;
        solver::GenerateMoves(state, set, moves);
        const auto count = [&moves](auto&& which) { return std::count_if(moves.begin(), moves.end(), which); };
        // Pile 0 ends in a run of a Two and an Ace (from index 1): it goes
        // onto the Three of pile 1 and nowhere but the tableau; the Ace alone goes home.
        const auto fromPile0 = [&count](int index, int targetKind, int target) {
            return count([=](const solver::TSolverMove& m) {
                return m.SourceKind == pkTableau && m.SourcePile == 0 && m.SourceIndex == index
                    && (targetKind < 0 ? m.TargetKind != pkTableau : m.TargetKind == targetKind)
                    && (target < 0 || m.TargetPile == target);
            });
        };
        EXPECT_EQ(fromPile0(1, pkTableau, 1), 1);
        EXPECT_EQ(fromPile0(1, -1, -1), 0);
        EXPECT_GE(fromPile0(2, pkFoundation, -1), 1);
        EXPECT_GE(fromPile0(2, pkReserve, -1), 1);
        const auto cellToCell = count([](const solver::TSolverMove& m) { return m.SourceKind == pkReserve && m.TargetKind == pkReserve; });
        EXPECT_EQ(cellToCell, set == solver::TMoveSet::Player ? 3 : 0);
    }

    Deal("Klondike 1 [Turn over 1]", 1);
    const solver::TSolverGame klondike = solver::MakeSolverGame(Engine->Rules);
    TPositionSnapshot hidden;
    hidden.Tableau = {{Down(5, 0), Up(4, 1)}, {Up(6, 1)}, {Down(7, 2)}, {}, {}, {}, {}};
    hidden.Foundations.assign(4, {});
    const solver::TSolverState deal(klondike, hidden);
    for (const solver::TMoveSet set : {solver::TMoveSet::Player, solver::TMoveSet::Search}) {
        std::vector<solver::TSolverMove> moves;
        solver::GenerateMoves(deal, set, moves);
        for (const solver::TSolverMove& m : moves) {
            EXPECT_FALSE(m.SourceKind == pkTableau && m.SourcePile == 0 && m.SourceIndex == 0) << MoveText(m);
            EXPECT_FALSE(m.SourceKind == pkTableau && m.SourcePile == 2) << MoveText(m);
        }
    }
}

// The journal keeps short piles by their first places only: piles longer
// than that, and one exactly that long, come back whole (faces included).
TEST_F(SolverTest, LongPilesComeBackWholeOnUndo)
{
    Deal("Klondike 1 [Turn over 1]", 1);
    const solver::TSolverGame klondike = solver::MakeSolverGame(Engine->Rules);
    const auto hidden = [](int count) {
        TCardCodes cards;
        for (int k = 0; k < count; ++k)
            cards.push_back(MakeCardCode(k % 13, k / 13 % 4, false));
        return cards;
    };
    TPositionSnapshot deep;
    deep.Tableau.assign(7, {});
    deep.Tableau[0] = hidden(40);
    deep.Tableau[0].push_back(MakeCardCode(4, 1, true)); // a red 5
    deep.Tableau[1] = hidden(35);
    deep.Tableau[1].push_back(MakeCardCode(5, 0, true)); // a black 6
    deep.Tableau[2] = hidden(31);
    deep.Tableau[2].push_back(MakeCardCode(3, 3, true)); // a black 4
    deep.Foundations.assign(4, {});
    solver::TSolverState state(klondike, deep);
    const std::vector<solver::TSolverMove> line{{solver::TMoveType::Drag, pkTableau, 0, 40, pkTableau, 1, 1},
                                                {solver::TMoveType::Drag, pkTableau, 2, 31, pkTableau, 1, 1}};
    std::vector<TPositionSnapshot> before;
    for (const solver::TSolverMove& move : line) {
        before.push_back(state.ToSnapshot());
        solver::ApplyMove(state, move);
        ASSERT_EQ(state.Key(), state.FreshKey());
    }
    EXPECT_TRUE(CodeFaceUp(state.Tableau(0).Top()));
    EXPECT_EQ(state.Tableau(1).Count, 38);
    while (!before.empty()) {
        state.UndoMove();
        EXPECT_EQ(state.ToSnapshot(), before.back()) << SnapshotText(state.ToSnapshot());
        EXPECT_EQ(state.Key(), state.FreshKey());
        before.pop_back();
    }
}

// Large tables come from the system as pages of zeros: every key goes in
// once, is found again, and is gone after a clear.
TEST(SolverKeyTable, ALargeTableFindsEveryKeyAndForgetsThemWhenCleared)
{
    solver::TKeyTable table(std::size_t{32} << 20);
    const auto key = [](std::uint64_t n) { return (n * 0x9E3779B97F4A7C15ULL) | 1; };
    constexpr std::uint64_t Keys = 600000;
    std::uint64_t fresh = 0;
    for (std::uint64_t n = 0; n < Keys; ++n)
        fresh += table.Insert(key(n)) ? 1 : 0;
    EXPECT_EQ(fresh, Keys);
    std::uint64_t again = 0;
    for (std::uint64_t n = 0; n < Keys; ++n)
        again += table.Insert(key(n)) ? 1 : 0;
    EXPECT_EQ(again, 0u);
    EXPECT_FALSE(table.Full());
    table.Clear();
    EXPECT_TRUE(table.Insert(key(7)));
    EXPECT_FALSE(table.Insert(key(7)));
}

TEST_F(SolverTest, ABudgetSpentIsUnknownAndACancelStopsAtOnce)
{
    Deal("Spider", 3);
    const solver::TSolverGame spider = solver::MakeSolverGame(Engine->Rules);
    const TPositionSnapshot start = Engine->Snapshot();
    const solver::TSolveResult spent = solver::Solve(spider, start, States(50));
    EXPECT_EQ(spent.Verdict, TVerdict::Unknown);
    EXPECT_LE(spent.States, 51);
    // A budget of a state or two is still a limit for each pass.
    for (const std::int64_t few : {1, 2, 3})
        EXPECT_LE(solver::Solve(spider, start, States(few)).States, few + 1) << few;

    std::atomic<bool> cancel{true};
    solver::TSolveBudget budget = States(0);
    budget.Cancel = &cancel;
    const solver::TSolveResult cancelled = solver::Solve(spider, start, budget);
    EXPECT_EQ(cancelled.Verdict, TVerdict::Unknown);
    EXPECT_TRUE(cancelled.Cancelled);
    EXPECT_LE(cancelled.States, 1);
}

// Pair games, The Clock and redealing games: their lines replay to a win in the engine.
TEST_F(SolverTest, PairGamesTheClockAndARedealWinThroughTheEngine)
{
    Deal("Concentration", 1);
    solver::TSolveResult pairs = solver::Solve(solver::MakeSolverGame(Engine->Rules), Engine->Snapshot(), States(10000));
    ASSERT_EQ(pairs.Verdict, TVerdict::Winnable);
    EXPECT_EQ(pairs.Record.size(), 52u); // 26 pairs, two clicks each
    EXPECT_TRUE(ReplaysToAWin("Concentration", 1, pairs));

    int clocksWon = 0;
    int clocksLost = 0;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        Deal("The Clock", seed);
        const solver::TSolveResult clock = solver::Solve(solver::MakeSolverGame(Engine->Rules), Engine->Snapshot(), States(100000));
        ASSERT_NE(clock.Verdict, TVerdict::Unknown) << "The Clock is decided by playing it out, seed " << seed;
        if (clock.Verdict == TVerdict::Winnable) {
            ++clocksWon;
            EXPECT_TRUE(ReplaysToAWin("The Clock", seed, clock)) << "seed " << seed;
        } else {
            ++clocksLost;
        }
    }
    EXPECT_GT(clocksWon + clocksLost, 0);

    // A three-card game with unlimited passes: some winning line must turn the waste over.
    bool redealSeen = false;
    for (std::uint32_t seed = 1; seed <= 40 && !redealSeen; ++seed) {
        Deal("Klondike 2 [Turn over 3]", seed);
        const solver::TSolveResult line = solver::Solve(solver::MakeSolverGame(Engine->Rules), Engine->Snapshot(), States(30000));
        if (line.Verdict != TVerdict::Winnable)
            continue;
        for (const solver::TRecordAction& a : line.Record)
            redealSeen = redealSeen || a.Kind == pkRedeal;
        if (redealSeen) {
            EXPECT_TRUE(ReplaysToAWin("Klondike 2 [Turn over 3]", seed, line)) << "seed " << seed;
        }
    }
    EXPECT_TRUE(redealSeen);
}

// Spider's deals cover every pile: the search goes stage by stage, and its
// line (every deal of the stock in it) replays to a won game.
TEST_F(SolverTest, ASpiderDealIsWonAcrossEveryDealOfTheStock)
{
    Deal("Spider", 1);
    solver::TSolveBudget budget;
    budget.MaxStates = 200000;
    const solver::TSolveResult result = solver::Solve(solver::MakeSolverGame(Engine->Rules), Engine->Snapshot(), budget);
    ASSERT_EQ(result.Verdict, TVerdict::Winnable);
    EXPECT_EQ(std::count_if(result.Record.begin(), result.Record.end(), [](const solver::TRecordAction& a) { return a.Kind == pkStockDeal; }),
              5);
    EXPECT_TRUE(ReplaysToAWin("Spider", 1, result));
}

// Congress turns its stock once: its deal 3 is won only by the beam over
// the stock's turns, whose line (the search's own moves and the turns
// between its stages) replays to a won game.
TEST_F(SolverTest, AOnePassStockDealIsWonByTheBeamOverItsTurns)
{
    Deal("Congress", 3);
    const solver::TSolveResult result = solver::Solve(solver::MakeSolverGame(Engine->Rules), Engine->Snapshot(), States(100000));
    ASSERT_EQ(result.Verdict, TVerdict::Winnable);
    EXPECT_TRUE(ReplaysToAWin("Congress", 3, result));
}

TEST_F(SolverTest, WinningLinesOfASampleOfGamesReplayToAWin)
{
    int checked = 0;
    const std::vector<TGameDefinition>& games = GameDefinitions();
    for (std::size_t g = 0; g < games.size(); g += 7) {
        const std::string& game = games[g].GameName;
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            Deal(game, seed);
            const solver::TSolveResult result = solver::Solve(solver::MakeSolverGame(Engine->Rules), Engine->Snapshot(), States(5000));
            if (result.Verdict != TVerdict::Winnable)
                continue;
            EXPECT_TRUE(ReplaysToAWin(game, seed, result)) << game << " seed " << seed;
            ++checked;
        }
    }
    EXPECT_GT(checked, 10);
}

// Won by the beam over the stock's turns past its first look: piles that
// fill themselves from the waste, and two packs dealt face up onto piles
// whose gaps take only a king.
TEST_F(SolverTest, BeamWinsOfPilesThatFillThemselvesAndOfKingOnlyGapsReplay)
{
    for (const auto& [game, seed] : {std::pair<std::string, std::uint32_t>{"Khedive", 3}, {"Lady Palk", 4}}) {
        Deal(game, seed);
        const solver::TSolveResult result =
            solver::Solve(solver::MakeSolverGame(Engine->Rules), Engine->Snapshot(), States(20000));
        ASSERT_EQ(result.Verdict, TVerdict::Winnable) << game;
        EXPECT_GT(result.States, 5000) << game << ": won by the first look, not the beam";
        EXPECT_TRUE(ReplaysToAWin(game, seed, result)) << game;
    }
}

TEST(SolverCommand, SolvesWritesALineThatReplaysAndRefusesBadInput)
{
    QTemporaryDir folder;
    const QString line = folder.filePath("line.tsg");
    const testcli::TRun solved = testcli::RunCli({"solve", "Yukon", "--seed", "3", "--budget-states", "20000", "--out", line});
    ASSERT_EQ(solved.ExitCode, 0) << solved.Err.join("\n").toStdString();
    ASSERT_EQ(solved.Out.size(), 1);
    EXPECT_TRUE(solved.Out[0].startsWith("{\"game\":\"Yukon\",\"seed\":3,\"verdict\":\"winnable\",\"moves\":"));
    EXPECT_TRUE(solved.Err.isEmpty());
    const testcli::TRun replayed = testcli::RunCli({"replay", line});
    ASSERT_EQ(replayed.ExitCode, 0);
    EXPECT_TRUE(replayed.Out.value(0).contains("\"won\":true"));

    // From the end of a saved game: the rest of the line.
    const testcli::TRun fromFile = testcli::RunCli({"solve", "--from", line});
    EXPECT_EQ(fromFile.ExitCode, 0);
    EXPECT_TRUE(fromFile.Out.value(0).contains("\"verdict\":\"winnable\",\"moves\":0"));

    const QString damaged = folder.filePath("damaged.tsg");
    std::ofstream(damaged.toStdString()) << "Yukon\r\n3\r\nO\r\n2\r\nx\r\n";
    const QString strange = folder.filePath("strange.tsg");
    std::ofstream(strange.toStdString()) << "\x1b]0;Yukon\x07\r\n3\r\nO\r\n";
    for (const QStringList& arguments :
         {QStringList{"solve", "No Such Game", "--seed", "1"}, QStringList{"solve", "Yukon", "--seed", "x"},
          QStringList{"solve", "Yukon"}, QStringList{"solve", "--from", damaged},
          QStringList{"solve", "--from", folder.filePath("missing.tsg")}, QStringList{"solve", "--from", strange},
          QStringList{"replay", strange}, QStringList{"survey", "Yukon", "--seeds", "5-1"},
          QStringList{"survey", "Nothing", "--seeds", "1-2"}}) {
        const testcli::TRun refused = testcli::RunCli(arguments);
        EXPECT_EQ(refused.ExitCode, 2) << arguments.join(" ").toStdString();
        EXPECT_EQ(refused.Err.size(), 1) << arguments.join(" ").toStdString();
        EXPECT_TRUE(refused.Out.isEmpty());
        EXPECT_FALSE(refused.Err.join("").contains(QChar(0x1b))) << "a file's bytes reach the terminal";
    }
}

TEST(SurveyCommand, CountsEveryDealOnce)
{
    const testcli::TRun run = testcli::RunCli({"survey", "Yukon", "--seeds", "1-4", "--budget-states", "2000", "--jobs", "2"});
    ASSERT_EQ(run.ExitCode, 0);
    ASSERT_EQ(run.Out.size(), 1);
    const QString line = run.Out[0];
    EXPECT_TRUE(line.startsWith("{\"game\":\"Yukon\",\"deals\":4,")) << line.toStdString();
    int total = 0;
    for (const char* key : {"\"winnable\":", "\"notWinnable\":", "\"unknown\":"}) {
        const int at = line.indexOf(key) + static_cast<int>(std::strlen(key));
        total += line.mid(at, line.indexOf(',', at) - at).toInt();
    }
    EXPECT_EQ(total, 4);
}

} // namespace
