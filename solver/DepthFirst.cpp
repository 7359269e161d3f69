#include "solver/DepthFirst.h"

#include "solver/Evaluation.h"

#include <algorithm>

namespace solver {

void TDepthFirst::Expand(TFrame& frame)
{
    Meter.Count();
    frame.Next = 0;
    frame.First = Moves.size();
    frame.Count = 0;
    // A position proved lost has nothing worth searching under it.
    if (DeadEnds.IsLost(State))
        return;
    GenerateMoves(State, TMoveSet::Folded, Generated);
    for (const TSolverMove& move : Generated) {
        if (IsSafeAutoMove(State, move)) {
            Moves.push_back(move);
            frame.Count = 1;
            return;
        }
    }
    // The second pass must be cheap per position: the move's own score
    // orders it. Each move as one number, its score above its place, so
    // that equals keep their order as a stable sort keeps them.
    Scored.clear();
    for (std::size_t i = 0; i < Generated.size(); ++i)
        Scored.push_back(std::int64_t{-MoveScore(State, Generated[i])} * 4294967296 + static_cast<std::int64_t>(i));
    // A few dozen moves: an insertion sort, without the buffer the library's
    // stable sort takes at every call.
    for (std::size_t i = 1; i < Scored.size(); ++i) {
        const std::int64_t item = Scored[i];
        std::size_t j = i;
        for (; j > 0 && item < Scored[j - 1]; --j)
            Scored[j] = Scored[j - 1];
        Scored[j] = item;
    }
    for (const std::int64_t scored : Scored)
        Moves.push_back(Generated[static_cast<std::size_t>(scored & 0xFFFFFFFF)]);
    frame.Count = Scored.size();
}

// The keys of the frame's next children (most without playing them), up to
// child `end`, their table slots fetched meanwhile: a child already seen is
// then passed over without playing it, and the slots of the others are in
// the cache when their turn comes (the slots' fetches overlap the keying of
// the next few). Keyed a few at a time, when the search comes back to the
// frame: a search that ends deep in a line never tries most of the children
// above it.
void TDepthFirst::KeyChildren(TFrame& frame, std::size_t end)
{
    end = std::min(end, frame.Count);
    for (; frame.Keyed < end; ++frame.Keyed) {
        const std::size_t c = frame.First + frame.Keyed;
        const std::uint64_t key = KeyAfter(State, Moves[c]);
        Table.Prefetch(key);
        Keys[c] = key;
    }
}

TSolveResult TDepthFirst::Run()
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
        Keys.resize(frame.First + frame.Count);
        frame.Keyed = 0;
    };
    const std::uint64_t rootKey = State.Key();
    Table.Insert(rootKey);
    push(rootKey);
    while (Depth > 0) {
        if (Meter.Spent())
            return finish(TVerdict::Unknown);
        TFrame& frame = Path[Depth - 1];
        if (frame.Next >= frame.Count) {
            Moves.resize(frame.First);
            Keys.resize(frame.First);
            if (--Depth > 0)
                State.UndoMove();
            continue;
        }
        // The state stands at the frame's position: its children can be keyed.
        if (frame.Next >= frame.Keyed)
            KeyChildren(frame, frame.Next + KeyBatch);
        const TSolverMove move = Moves[frame.First + frame.Next];
        const std::uint64_t key = Keys[frame.First + frame.Next++];
        if (Table.Full()) {
            Table.Clear();
            for (std::size_t d = 0; d < Depth; ++d)
                Table.Insert(Path[d].Key);
        }
        // A won position is never in the table: reaching it ends the search.
        if (!Table.Insert(key))
            continue;
        // A line at its longest is followed no further: a child that
        // cannot win is passed over without playing it.
        if (Depth >= MaxDepth && !MayWin(State, move)) {
            Cut = true;
            continue;
        }
        ApplyMove(State, move);
        if (IsWon(State)) {
            for (std::size_t d = 0; d < Depth; ++d)
                result.Line.push_back(Moves[Path[d].First + Path[d].Next - 1]);
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

} // namespace solver
