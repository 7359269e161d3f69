#include "solver/Search.h"

#include "catalogue/Validation.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>
#include <queue>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace solver {

const char* VerdictName(TVerdict verdict)
{
    switch (verdict) {
    case TVerdict::Winnable: return "winnable";
    case TVerdict::NotWinnable: return "not winnable";
    case TVerdict::Unknown: return "unknown";
    }
    return "unknown";
}

namespace {

// A set of 64-bit keys in open addressing. It starts small and doubles up to
// its size in bytes (a short solve then never touches the rest); when three
// quarters of the full size are used it is emptied and the current path put
// back, so the search never loops and a "not winnable" stays a proof (it then
// only searches some positions twice).
class TKeyTable {
public:
    explicit TKeyTable(std::size_t bytes)
    {
        while (MaxSize * 2 * sizeof(std::uint64_t) <= bytes)
            MaxSize *= 2;
        Resize(std::min<std::size_t>(MaxSize, 1 << 16));
    }
    bool Full() const { return Used >= Limit && Size == MaxSize; }
    void Clear()
    {
        std::fill(Slots.get(), Slots.get() + Size, 0);
        Used = 0;
    }
    // Inserts `key`; false when it was there already.
    bool Insert(std::uint64_t key)
    {
        if (Used >= Limit && Size < MaxSize)
            Grow();
        key |= 1; // 0 marks a free slot
        for (std::size_t i = Slot(key);; i = (i + 1) & Mask) {
            if (Slots[i] == key)
                return false;
            if (Slots[i] == 0) {
                Slots[i] = key;
                ++Used;
                return true;
            }
        }
    }
    // Brings the slot of `key` into the cache ahead of its Insert.
    void Prefetch(std::uint64_t key) const { __builtin_prefetch(Slots.get() + Slot(key | 1)); }

private:
    struct TFree {
        void operator()(std::uint64_t* p) const { std::free(p); }
    };
    using TSlots = std::unique_ptr<std::uint64_t[], TFree>;

    // The high bits pick the slot (the low bit is forced to 1).
    std::size_t Slot(std::uint64_t key) const { return static_cast<std::size_t>(key >> Shift); }
    // Every probe is a cache miss in a different page: large pages spare the
    // page-table walks that would otherwise cost as much as the misses.
    static TSlots Allocate(std::size_t size)
    {
        constexpr std::size_t LargePage = std::size_t{2} << 20;
        const std::size_t bytes = size * sizeof(std::uint64_t);
        const std::size_t alignment = bytes >= LargePage ? LargePage : 64;
        TSlots memory(static_cast<std::uint64_t*>(std::aligned_alloc(alignment, std::max(bytes, alignment))));
        if (!memory)
            throw std::bad_alloc();
#ifdef __linux__
        if (bytes >= LargePage)
            madvise(memory.get(), bytes, MADV_HUGEPAGE);
#endif
        std::fill(memory.get(), memory.get() + size, 0);
        return memory;
    }
    void Resize(std::size_t size)
    {
        Slots = Allocate(size);
        Size = size;
        Mask = size - 1;
        Limit = size / 4 * 3;
        Shift = 64 - std::countr_zero(size);
        Used = 0;
    }
    void Grow()
    {
        const TSlots old = std::move(Slots);
        const std::size_t oldSize = Size;
        Resize(Size * 2);
        for (std::size_t i = 0; i < oldSize; ++i)
            if (old[i] != 0)
                Insert(old[i]);
    }

    TSlots Slots;
    std::size_t Size = 0;
    std::size_t MaxSize = 1024;
    std::size_t Mask = 0;
    std::size_t Limit = 0;
    std::size_t Used = 0;
    int Shift = 54;
};

// Likelier winners first: cards home, cards turned up, piles emptied, builds;
// parking a card in a cell, dealing and redealing last.
int MoveScore(const TSolverState& s, const TSolverMove& m)
{
    switch (m.Type) {
    case TMoveType::Pair: return 100;
    case TMoveType::Click: return 50;
    case TMoveType::StockDeal: return 10;
    case TMoveType::Redeal: return 0;
    case TMoveType::Drag: break;
    }
    int score = 20;
    if (m.TargetKind == pkFoundation)
        score += 80;
    if (m.SourceKind == pkTableau) {
        const TStack& from = s.Tableau(m.SourcePile);
        if (m.SourceIndex > 0 && !CodeFaceUp(from.Cards[m.SourceIndex - 1u]))
            score += 40;
        if (m.SourceIndex == 0)
            score += m.TargetKind == pkTableau && s.Tableau(m.TargetPile).Empty() ? -30 : 25;
    }
    if (m.TargetKind == pkReserve)
        score -= 15;
    if (m.SourceKind == pkReserve || m.SourceKind == pkWaste || m.SourceKind == pkExcept || m.SourceKind == pkStock)
        score += 10;
    if (m.TargetKind == pkTableau && s.Tableau(m.TargetPile).Empty())
        score -= 10;
    if (m.SourceKind == pkFoundation)
        score -= 15;
    // A waste card further down the stock comes after the plays at hand, as
    // a click would, nearer cards first.
    // A play that skips cards buries them under it.
    if (m.Deals > 0)
        return (m.TargetKind == pkFoundation ? 15 : 10) - m.Deals;
    return score;
}

// How promising a position looks: cards home, piles in order, cards turned
// up, free places. Children are tried best first. The sum of a score for the
// whole position and one per tableau pile, so a child is scored by
// rescoring only the piles its move touched.
int PositionScore(const TSolverState& s)
{
    int score = 100 * s.Counters.FoundationCards;
    if (s.Game().Rules.FreeCells)
        score += 6 * s.EmptyCells();
    // Cards not yet in play: dealing them to the waste is no progress, playing them is.
    score -= (s.StockCount() + s.Waste().Count) / 4;
    return score;
}

int PileScore(const TSolverState& s, int p)
{
    const TSolverGame& g = s.Game();
    const TRuleOptions& t = g.Rules.TableauRules;
    const bool builds = t.Contains(roBuildDown) || t.Contains(roBuildUp) || t.Contains(roBuildUpOrDown);
    const TStack& pile = s.Tableau(p);
    if (pile.Empty())
        return 12;
    int score = 0;
    for (int k = 0; k < pile.Count; ++k) {
        const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
        if (!CodeFaceUp(card)) {
            score -= 10;
            continue;
        }
        if (k > 0 && builds) {
            const TCardCode below = pile.Cards[static_cast<std::size_t>(k - 1)];
            if (!CodeFaceUp(below) || !g.RunLinkFits(card, below))
                score -= 4;
        }
    }
    return score;
}

// The scores of a position's piles, kept so that its children are scored cheaply.
class TEvaluation {
public:
    void Reset(const TSolverState& s)
    {
        Piles.resize(static_cast<std::size_t>(s.TableauCount()));
        Sum = 0;
        for (int p = 0; p < s.TableauCount(); ++p)
            Sum += Piles[static_cast<std::size_t>(p)] = PileScore(s, p);
    }
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
    std::vector<int> Piles;
    int Sum = 0;
};

// The work of one pass against its budget: positions counted, the clock,
// the cancel flag; it also fills in the result's figures.
class TBudgetMeter {
public:
    explicit TBudgetMeter(const TSolveBudget& budget) : Budget(budget) {}

    void Count() { ++States; }
    // True when the pass must stop: cancelled, or its states or time spent.
    bool Spent()
    {
        if (Budget.Cancel && Budget.Cancel->load(std::memory_order_relaxed)) {
            Cancelled = true;
            return true;
        }
        if (Budget.MaxStates > 0 && States >= Budget.MaxStates)
            return true;
        if (Budget.MaxMilliseconds > 0 && (States & 255) == 0) {
            const auto elapsed = std::chrono::steady_clock::now() - Start;
            if (std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() >= Budget.MaxMilliseconds)
                return true;
        }
        return false;
    }
    TSolveResult& Finish(TSolveResult& result, TVerdict verdict) const
    {
        result.Verdict = verdict;
        result.States = States;
        result.Cancelled = Cancelled;
        result.Milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
        return result;
    }

private:
    TSolveBudget Budget;
    std::int64_t States = 0;
    std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
    bool Cancelled = false;
};

struct TFrame {
    std::vector<TSolverMove> Moves;
    std::vector<std::uint64_t> Keys; // the positions the moves lead to
    std::size_t Next = 0;
    std::uint64_t Key = 0;
};

class TSearch {
public:
    TSearch(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
        : State(game, snapshot), Meter(budget), Table(budget.TableBytes),
          MaxDepth(std::max<std::size_t>(1000, budget.TableBytes / LevelBytes))
    {
    }

    TSolveResult Run();

private:
    // About what one level of the line costs: its moves, their keys and the
    // journal of its move.
    static constexpr std::size_t LevelBytes = 1536;

    void Expand(TFrame& frame);
    void KeyChildren(TFrame& frame);

    TSolverState State;
    TBudgetMeter Meter;
    TKeyTable Table;
    // The frames of the current line; frames beyond Depth keep their storage for reuse.
    std::vector<TFrame> Path;
    std::size_t Depth = 0;
    // A line longer than this is not followed (the memory of a long line
    // would outgrow the table's); a search that cut one proves nothing lost.
    std::size_t MaxDepth;
    bool Cut = false;
    std::vector<std::pair<int, TSolverMove>> Scored;
};

void TSearch::Expand(TFrame& frame)
{
    Meter.Count();
    frame.Next = 0;
    GenerateMoves(State, TMoveSet::Folded, frame.Moves);
    for (const TSolverMove& move : frame.Moves) {
        if (IsSafeAutoMove(State, move)) {
            const TSolverMove only = move;
            frame.Moves.assign(1, only);
            return;
        }
    }
    // The second pass must be cheap per position: the move's own score orders it.
    Scored.clear();
    for (const TSolverMove& move : frame.Moves)
        Scored.emplace_back(-MoveScore(State, move), move);
    std::stable_sort(Scored.begin(), Scored.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < Scored.size(); ++i)
        frame.Moves[i] = Scored[i].second;
}

// The keys of the frame's children, their table slots fetched meanwhile: a
// child already seen is then passed over without playing it, and the slots
// of the others are in the cache when their turn comes.
void TSearch::KeyChildren(TFrame& frame)
{
    frame.Keys.clear();
    for (const TSolverMove& move : frame.Moves) {
        ApplyMove(State, move);
        const std::uint64_t key = State.Key();
        Table.Prefetch(key);
        frame.Keys.push_back(key);
        State.UndoMove();
    }
}

TSolveResult TSearch::Run()
{
    TSolveResult result;
    const auto finish = [&](TVerdict verdict) { return Meter.Finish(result, verdict); };
    if (IsWon(State))
        return finish(TVerdict::Winnable);
    const auto push = [this](std::uint64_t key) {
        if (Path.size() <= Depth)
            Path.emplace_back();
        TFrame& frame = Path[Depth++];
        frame.Key = key;
        Expand(frame);
        KeyChildren(frame);
    };
    const std::uint64_t rootKey = State.Key();
    Table.Insert(rootKey);
    push(rootKey);
    while (Depth > 0) {
        if (Meter.Spent())
            return finish(TVerdict::Unknown);
        TFrame& frame = Path[Depth - 1];
        if (frame.Next >= frame.Moves.size()) {
            if (--Depth > 0)
                State.UndoMove();
            continue;
        }
        const TSolverMove move = frame.Moves[frame.Next];
        const std::uint64_t key = frame.Keys[frame.Next++];
        if (Table.Full()) {
            Table.Clear();
            for (std::size_t d = 0; d < Depth; ++d)
                Table.Insert(Path[d].Key);
        }
        // A won position is never in the table: reaching it ends the search.
        if (!Table.Insert(key))
            continue;
        ApplyMove(State, move);
        if (IsWon(State)) {
            for (std::size_t d = 0; d < Depth; ++d)
                result.Line.push_back(Path[d].Moves[Path[d].Next - 1]);
            return finish(TVerdict::Winnable);
        }
        if (Depth >= MaxDepth) {
            Cut = true;
            State.UndoMove();
            continue;
        }
        push(key);
    }
    return finish(Cut ? TVerdict::Unknown : TVerdict::NotWinnable);
}

// The first pass: best-first over the evaluation, positions kept encoded,
// the stock clicked a card at a time (a greedy pass that may deal deep into
// a one-pass stock to play one card buries the rest; the depth-first pass
// orders folded clicks after the plays at hand). It finds good lines fast; when its memory or its share of the budget runs
// out, the depth-first pass takes over (only an exhausted search proves a
// position lost, and both passes can).
class TBestFirst {
public:
    TBestFirst(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget, std::size_t memoryBytes)
        : State(game, snapshot), Meter(budget), Table(budget.TableBytes / 2), MemoryBytes(memoryBytes)
    {
    }

    TSolveResult Run();

private:
    // A position reached: its parent and the move from there. Only a
    // position that is expanded is kept encoded (its children start from it).
    struct TNode {
        std::uint32_t Parent;
        std::uint32_t Offset;
        TSolverMove Move;
    };
    static constexpr std::uint32_t NotEncoded = 0xFFFFFFFF;
    void Restore(std::uint32_t node);
    void Encode(std::uint32_t node);
    std::vector<TSolverMove> LineTo(std::uint32_t node, const TSolverMove& last) const;
    // The open list is a vector underneath: its room and the others' count, as the allocator sees them.
    using TOpen = std::priority_queue<std::pair<std::int64_t, std::uint32_t>>;
    bool MemorySpent(const TOpen& open) const
    {
        return Arena.capacity() + Nodes.capacity() * sizeof(TNode) + open.size() * 2 * sizeof(TOpen::value_type) > MemoryBytes;
    }

    TSolverState State;
    TBudgetMeter Meter;
    TKeyTable Table;
    std::size_t MemoryBytes;
    std::vector<TNode> Nodes;
    std::vector<std::uint8_t> Arena;
    std::vector<std::uint8_t> Scratch;
};

// Puts the state at `node`: its parent decoded and its move played.
void TBestFirst::Restore(std::uint32_t node)
{
    const TNode& n = Nodes[node];
    if (n.Offset != NotEncoded) {
        State.Decode(Arena.data() + n.Offset);
        return;
    }
    State.Decode(Arena.data() + Nodes[n.Parent].Offset);
    ApplyMove(State, n.Move);
}

void TBestFirst::Encode(std::uint32_t node)
{
    State.Encode(Scratch);
    Nodes[node].Offset = static_cast<std::uint32_t>(Arena.size());
    Arena.insert(Arena.end(), Scratch.begin(), Scratch.end());
}

std::vector<TSolverMove> TBestFirst::LineTo(std::uint32_t node, const TSolverMove& last) const
{
    std::vector<TSolverMove> line{last};
    for (std::uint32_t n = node; n != 0; n = Nodes[n].Parent)
        line.push_back(Nodes[n].Move);
    std::reverse(line.begin(), line.end());
    return line;
}

TSolveResult TBestFirst::Run()
{
    TSolveResult result;
    const auto finish = [&](TVerdict verdict) { return Meter.Finish(result, verdict); };
    if (IsWon(State))
        return finish(TVerdict::Winnable);
    // The open positions, best first; among equals the older one.
    TOpen open;
    Table.Insert(State.Key());
    Nodes.push_back({0, NotEncoded, {}});
    Encode(0);
    open.emplace(0, 0);
    std::vector<TSolverMove> moves;
    struct TChild {
        std::uint64_t Key;
        std::int64_t Value;
    };
    std::vector<TChild> children;
    TEvaluation evaluation;
    while (!open.empty()) {
        if (Meter.Spent() || MemorySpent(open))
            return finish(TVerdict::Unknown);
        const std::uint32_t node = open.top().second;
        open.pop();
        Restore(node);
        if (Nodes[node].Offset == NotEncoded)
            Encode(node);
        Meter.Count();
        GenerateMoves(State, TMoveSet::Search, moves);
        for (const TSolverMove& move : moves) {
            if (IsSafeAutoMove(State, move)) {
                const TSolverMove only = move;
                moves.assign(1, only);
                break;
            }
        }
        // Every child is played, keyed and scored first, its slot in the
        // table fetched meanwhile; then the new ones are kept.
        evaluation.Reset(State);
        children.clear();
        for (const TSolverMove& move : moves) {
            // The move's score reads the piles it leaves, so before it is made.
            const int moveScore = MoveScore(State, move);
            ApplyMove(State, move);
            if (IsWon(State)) {
                result.Line = LineTo(node, move);
                return finish(TVerdict::Winnable);
            }
            const std::uint64_t key = State.Key();
            Table.Prefetch(key);
            children.push_back({key, std::int64_t{evaluation.AfterMove(State)} * 16 + moveScore});
            State.UndoMove();
        }
        for (std::size_t c = 0; c < children.size(); ++c) {
            if (!Table.Insert(children[c].Key))
                continue;
            const auto child = static_cast<std::uint32_t>(Nodes.size());
            Nodes.push_back({node, NotEncoded, moves[c]});
            // Older positions first among equals: the counter breaks ties.
            open.emplace(children[c].Value * 4194304 - child, child);
        }
        if (Table.Full())
            return finish(TVerdict::Unknown);
    }
    return finish(TVerdict::NotWinnable);
}

// Whether the stock deals a card onto every tableau pile (and a redeal, if
// any, never gathers the tableau): each deal then splits the game into
// stages, and positions before a deal cannot be compared with those after it.
bool DealsOntoEveryPile(const TSolverGame& game)
{
    const int turn = game.Rules.TurnCount;
    return (turn == -1 || turn == -2) && !game.ClickPlay;
}

// The first pass for games whose stock deals onto every pile. A deal lowers
// any evaluation (new cards cover the piles), so a best-first search over the
// whole game exhausts the positions before a deal and never gets past it.
// This pass searches one stage at a time (the positions between two deals,
// best first), keeps a beam of the best positions it found from which the
// stock may deal, deals from the first of them and goes on; when a stage
// finds nothing to deal from (or no win after the last deal) it backtracks to
// the next member of the stage before. It drops positions, so it can only
// find wins: its "not winnable" would prove nothing and it never gives one.
// The staged pass's evaluation. Its piles are never sorted away by a deal,
// so it weighs what makes the next deal harmless: cards turned up, cards in
// runs that move as one, and builds that fit by rank but not suit (these
// still hold a card off another pile) above cards that fit nothing.
int StageEvaluate(const TSolverState& s)
{
    const TRuleOptions& t = s.Game().Rules.TableauRules;
    int score = 100 * s.Counters.FoundationCards;
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        if (pile.Empty()) {
            score += 12;
            continue;
        }
        int run = 0;
        for (int k = 0; k < pile.Count; ++k) {
            const TCardCode card = pile.Cards[static_cast<std::size_t>(k)];
            if (!CodeFaceUp(card)) {
                score -= 10;
                continue;
            }
            if (k == 0)
                continue;
            const TCardCode below = pile.Cards[static_cast<std::size_t>(k - 1)];
            const TCardFace upper{CodeValue(card), CodeSuit(card), true};
            const TCardFace lower{CodeValue(below), CodeSuit(below), true};
            if (!CodeFaceUp(below)) {
                score -= 4;
            } else if (!RunLinkFits(t, upper, lower)) {
                score -= RankFits(t, upper, lower) ? 3 : 4;
            } else {
                // A long run is worth more than its links: it moves and goes home whole.
                ++run;
                score += 3 * run;
                continue;
            }
            run = 0;
        }
    }
    return score;
}

class TStagedSearch;
bool StagesFit(const TSolverGame& game, const TPositionSnapshot& snapshot)
{
    return DealsOntoEveryPile(game) && TSolverState(game, snapshot).StockCount() > 0;
}

class TStagedSearch {
public:
    TStagedSearch(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
        : State(game, snapshot), Meter(budget), TableBytes(budget.TableBytes / 2)
    {
        // A stage's share: enough to reach the good positions of one stage,
        // little enough that the pass can try other members.
        // A budget in time counts as states at a modest speed (too many
        // would make stages so large that the pass never reaches the last deal).
        std::int64_t states = std::int64_t{1} << 22;
        if (budget.MaxStates > 0)
            states = budget.MaxStates;
        else if (budget.MaxMilliseconds > 0)
            states = budget.MaxMilliseconds * 50;
        StageStates = std::clamp<std::int64_t>(states / 16, 500, 200000);
    }

    TSolveResult Run();

private:
    struct TNode {
        std::uint32_t Parent;
        std::uint32_t Offset;
        TSolverMove Move;
        int Value;
        std::uint64_t Key;
        bool Deals = false; // expanded, and the stock may deal from it
    };
    // A position a stage ends in: the stock has dealt from it.
    struct TMember {
        std::vector<std::uint8_t> Code;
        std::vector<TSolverMove> Line; // from the stage's start, the deal last
    };
    struct TStage {
        std::vector<TMember> Beam;
        std::size_t Next = 0;
        std::size_t LineStart = 0; // the moves of the line before the stage
    };
    static constexpr std::size_t BeamWidth = 3;

    // Searches the stage from State; true when it found a win (its moves in `win`).
    bool SearchStage(std::vector<TMember>& beam, std::vector<TSolverMove>& win);
    void AddNode(std::uint32_t parent, const TSolverMove& move, int value, std::uint64_t key);
    std::vector<TSolverMove> LineTo(std::uint32_t node) const;

    TSolverState State;
    TBudgetMeter Meter;
    std::size_t TableBytes;
    std::int64_t StageStates = 0;
    std::vector<TNode> Nodes;
    std::vector<std::uint8_t> Arena;
    std::vector<std::uint8_t> Scratch;
    std::vector<TSolverMove> Moves;
};

void TStagedSearch::AddNode(std::uint32_t parent, const TSolverMove& move, int value, std::uint64_t key)
{
    State.Encode(Scratch);
    Nodes.push_back({parent, static_cast<std::uint32_t>(Arena.size()), move, value, key});
    Arena.insert(Arena.end(), Scratch.begin(), Scratch.end());
}

std::vector<TSolverMove> TStagedSearch::LineTo(std::uint32_t node) const
{
    std::vector<TSolverMove> line;
    for (std::uint32_t n = node; n != 0; n = Nodes[n].Parent)
        line.push_back(Nodes[n].Move);
    std::reverse(line.begin(), line.end());
    return line;
}

bool TStagedSearch::SearchStage(std::vector<TMember>& beam, std::vector<TSolverMove>& win)
{
    Nodes.clear();
    Arena.clear();
    // Small at first and grown as the stage needs: most stages of some games
    // hold a handful of positions, and a large table would cost more to
    // clear than they take to search.
    std::size_t bytes = std::size_t{1} << 16;
    auto table = std::make_unique<TKeyTable>(bytes);
    std::priority_queue<std::pair<std::int64_t, std::uint32_t>> open;
    table->Insert(State.Key());
    AddNode(0, {}, StageEvaluate(State), State.Key());
    open.emplace(0, 0);
    // After the last deal only a win will do: that stage may search longer.
    const std::int64_t limit = State.StockCount() > 0 ? StageStates : StageStates * 4;
    const auto memorySpent = [this] { return Arena.size() + Nodes.size() * sizeof(TNode) > (std::size_t{48} << 20); };
    for (std::int64_t expanded = 0; !open.empty() && expanded < limit && !memorySpent(); ++expanded) {
        if (Meter.Spent())
            return false;
        if (table->Full()) {
            if (bytes * 2 > TableBytes)
                break;
            bytes *= 2;
            table = std::make_unique<TKeyTable>(bytes);
            for (const TNode& n : Nodes)
                table->Insert(n.Key);
        }
        const std::uint32_t node = open.top().second;
        open.pop();
        State.Decode(Arena.data() + Nodes[node].Offset);
        Meter.Count();
        GenerateMoves(State, TMoveSet::Search, Moves);
        for (const TSolverMove& move : Moves) {
            if (move.Type == TMoveType::StockDeal) {
                Nodes[node].Deals = true; // the stage may end here: chosen below
                continue;
            }
            const int moveScore = MoveScore(State, move);
            ApplyMove(State, move);
            if (IsWon(State)) {
                win = LineTo(node);
                win.push_back(move);
                return true;
            }
            const std::uint64_t key = State.Key();
            if (table->Insert(key)) {
                const int value = StageEvaluate(State);
                AddNode(node, move, value, key);
                const auto child = static_cast<std::uint32_t>(Nodes.size() - 1);
                open.emplace((std::int64_t{value} * 16 + moveScore) * 4194304 - child, child);
            }
            State.UndoMove();
        }
    }
    // The best positions the stock can deal from, each dealt.
    std::vector<std::uint32_t> order;
    for (std::uint32_t n = 0; n < Nodes.size(); ++n)
        if (Nodes[n].Deals)
            order.push_back(n);
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) { return Nodes[a].Value > Nodes[b].Value; });
    TSolverMove deal;
    deal.Type = TMoveType::StockDeal;
    for (const std::uint32_t node : order) {
        if (beam.size() >= BeamWidth)
            break;
        State.Decode(Arena.data() + Nodes[node].Offset);
        TMember member;
        member.Line = LineTo(node);
        member.Line.push_back(deal);
        ApplyMove(State, deal);
        if (IsWon(State)) {
            win = std::move(member.Line);
            return true;
        }
        State.Encode(member.Code);
        beam.push_back(std::move(member));
    }
    return false;
}

TSolveResult TStagedSearch::Run()
{
    TSolveResult result;
    const auto finish = [&](TVerdict verdict) { return Meter.Finish(result, verdict); };
    if (IsWon(State))
        return finish(TVerdict::Winnable);
    std::vector<TStage> stages;
    std::vector<TSolverMove> line;
    std::vector<TSolverMove> win;
    std::vector<std::uint8_t> root;
    State.Encode(root);
    for (;;) {
        TStage stage;
        stage.LineStart = line.size();
        if (SearchStage(stage.Beam, win)) {
            result.Line = std::move(line);
            result.Line.insert(result.Line.end(), win.begin(), win.end());
            return finish(TVerdict::Winnable);
        }
        if (Meter.Spent())
            return finish(TVerdict::Unknown);
        stages.push_back(std::move(stage));
        while (!stages.empty() && stages.back().Next >= stages.back().Beam.size())
            stages.pop_back();
        if (stages.empty()) {
            // Every member tried: wider stages, from the start again.
            if (StageStates >= (std::int64_t{1} << 22))
                return finish(TVerdict::Unknown);
            StageStates *= 4;
            line.clear();
            State.Decode(root.data());
            continue;
        }
        TStage& back = stages.back();
        const TMember& member = back.Beam[back.Next++];
        line.resize(back.LineStart);
        line.insert(line.end(), member.Line.begin(), member.Line.end());
        State.Decode(member.Code.data());
    }
}

} // namespace

TSolveResult Solve(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
{
    const auto start = std::chrono::steady_clock::now();
    // Best-first with half the budget (and at most 64 MB of positions), or
    // stage by stage with three quarters where the stock deals onto every
    // pile (there the depth-first pass rarely gets past the first deal) ...
    const bool staged = StagesFit(game, snapshot);
    const std::int64_t share = staged ? 3 : 2;
    TSolveBudget firstBudget = budget;
    firstBudget.MaxStates = budget.MaxStates * share / 4;
    firstBudget.MaxMilliseconds = (budget.MaxMilliseconds * share + 3) / 4;
    TSolveResult result = staged ? TStagedSearch(game, snapshot, firstBudget).Run()
                                 : TBestFirst(game, snapshot, firstBudget, std::size_t{64} << 20).Run();
    if (result.Verdict == TVerdict::Unknown && !result.Cancelled) {
        // ... then depth-first with the rest.
        TSolveBudget rest = budget;
        if (budget.MaxStates > 0)
            rest.MaxStates = std::max<std::int64_t>(1, budget.MaxStates - result.States);
        if (budget.MaxMilliseconds > 0)
            rest.MaxMilliseconds = std::max<std::int64_t>(
                1, budget.MaxMilliseconds
                       - std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        const std::int64_t firstStates = result.States;
        result = TSearch(game, snapshot, rest).Run();
        result.States += firstStates;
        result.Milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    if (result.Verdict == TVerdict::Winnable) {
        TSolverState replay(game, snapshot);
        for (const TSolverMove& move : result.Line) {
            for (const TRecordAction& action : RecordOf(replay, move))
                result.Record.push_back(action);
            ApplyMove(replay, move);
        }
    }
    return result;
}

bool HasAnyMove(const TSolverGame& game, const TPositionSnapshot& snapshot)
{
    const TSolverState state(game, snapshot);
    std::vector<TSolverMove> moves;
    GenerateMoves(state, TMoveSet::Player, moves);
    return !moves.empty();
}

} // namespace solver
