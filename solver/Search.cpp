#include "solver/Search.h"

#include <algorithm>
#include <chrono>

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

// A set of 64-bit keys in open addressing. When three quarters are used it is
// emptied and the current path put back, so the search never loops and a
// "not winnable" stays a proof (it then only searches some positions twice).
class TKeyTable {
public:
    explicit TKeyTable(std::size_t bytes)
    {
        std::size_t size = 1024;
        while (size * 2 * sizeof(std::uint64_t) <= bytes)
            size *= 2;
        Slots.assign(size, 0);
        Mask = size - 1;
        Limit = size / 4 * 3;
    }
    bool Full() const { return Used >= Limit; }
    void Clear()
    {
        std::fill(Slots.begin(), Slots.end(), 0);
        Used = 0;
    }
    // Inserts `key`; false when it was there already.
    bool Insert(std::uint64_t key)
    {
        key |= 1; // 0 marks a free slot
        for (std::size_t i = key & Mask;; i = (i + 1) & Mask) {
            if (Slots[i] == key)
                return false;
            if (Slots[i] == 0) {
                Slots[i] = key;
                ++Used;
                return true;
            }
        }
    }

private:
    std::vector<std::uint64_t> Slots;
    std::size_t Mask = 0;
    std::size_t Limit = 0;
    std::size_t Used = 0;
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
    return score;
}

struct TFrame {
    std::vector<TSolverMove> Moves;
    std::size_t Next = 0;
    std::uint64_t Key = 0;
};

class TSearch {
public:
    TSearch(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
        : State(game, snapshot), Budget(budget), Table(budget.TableBytes)
    {
    }

    TSolveResult Run();

private:
    bool OutOfBudget();
    void Expand(TFrame& frame);

    TSolverState State;
    TSolveBudget Budget;
    TKeyTable Table;
    std::vector<TFrame> Path;
    std::int64_t States = 0;
    std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
    bool Cancelled = false;
};

bool TSearch::OutOfBudget()
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

void TSearch::Expand(TFrame& frame)
{
    ++States;
    GenerateMoves(State, TMoveSet::Search, frame.Moves);
    std::vector<std::pair<int, std::size_t>> order;
    order.reserve(frame.Moves.size());
    for (std::size_t i = 0; i < frame.Moves.size(); ++i)
        order.emplace_back(-MoveScore(State, frame.Moves[i]), i);
    std::stable_sort(order.begin(), order.end());
    std::vector<TSolverMove> sorted;
    sorted.reserve(order.size());
    for (const auto& [score, i] : order)
        sorted.push_back(frame.Moves[i]);
    frame.Moves.swap(sorted);
    frame.Next = 0;
}

TSolveResult TSearch::Run()
{
    TSolveResult result;
    const auto finish = [&](TVerdict verdict) {
        result.Verdict = verdict;
        result.States = States;
        result.Cancelled = Cancelled;
        result.Milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
        return result;
    };
    if (IsWon(State))
        return finish(TVerdict::Winnable);
    Path.emplace_back();
    Path.back().Key = State.Key();
    Table.Insert(Path.back().Key);
    Expand(Path.back());
    while (!Path.empty()) {
        if (OutOfBudget())
            return finish(TVerdict::Unknown);
        TFrame& frame = Path.back();
        if (frame.Next >= frame.Moves.size()) {
            Path.pop_back();
            if (!Path.empty())
                State.UndoMove();
            continue;
        }
        const TSolverMove move = frame.Moves[frame.Next++];
        ApplyMove(State, move);
        if (IsWon(State)) {
            for (std::size_t d = 1; d < Path.size(); ++d)
                result.Line.push_back(Path[d - 1].Moves[Path[d - 1].Next - 1]);
            result.Line.push_back(move);
            return finish(TVerdict::Winnable);
        }
        const std::uint64_t key = State.Key();
        if (Table.Full()) {
            Table.Clear();
            for (const TFrame& f : Path)
                Table.Insert(f.Key);
        }
        if (!Table.Insert(key)) {
            State.UndoMove();
            continue;
        }
        Path.emplace_back();
        Path.back().Key = key;
        Expand(Path.back());
    }
    return finish(TVerdict::NotWinnable);
}

} // namespace

TSolveResult Solve(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget)
{
    TSearch search(game, snapshot, budget);
    TSolveResult result = search.Run();
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
