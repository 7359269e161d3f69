#include "solver/StagedSearch.h"

#include "solver/Evaluation.h"
#include "solver/KeyTable.h"

#include <algorithm>
#include <memory>
#include <queue>

namespace solver {

bool StagesFit(const TSolverGame& game, const TPositionSnapshot& snapshot)
{
    return DealsOntoEveryPile(game) && TSolverState(game, snapshot).StockCount() > 0;
}

// A pile's score in the position being expanded, worked out when a child first needs it.
int TStagedSearch::ParentPileScore(int p)
{
    const auto at = static_cast<std::size_t>(p);
    if (PileStamps[at] != Stamp) {
        PileStamps[at] = Stamp;
        PileScores[at] = Evaluation.PileScore(State, p);
    }
    return PileScores[at];
}

bool TStagedSearch::PileScored(int p) const { return PileStamps[static_cast<std::size_t>(p)] == Stamp; }

// A child's value: its parent's, with the piles its move touched scored again.
int TStagedSearch::ValueAfterMove(int parentValue) const
{
    const int piles = State.TableauCount();
    int value = parentValue - ParentPositionScore + Evaluation.PositionScore(State);
    std::uint64_t touched = piles > 64 ? ~std::uint64_t{0} : State.TouchedPiles();
    for (int p = 0; p < piles && touched != 0; ++p, touched >>= 1)
        if (touched & 1u)
            value += Evaluation.PileScore(State, p) - PileScores[static_cast<std::size_t>(p)];
    return value;
}

// Whether every tableau pile the last move touched was scored before it.
bool TStagedSearch::TouchedPilesScored() const
{
    const int piles = State.TableauCount();
    std::uint64_t touched = piles > 64 ? ~std::uint64_t{0} : State.TouchedPiles();
    for (int p = 0; p < piles && touched != 0; ++p, touched >>= 1)
        if ((touched & 1u) && !PileScored(p))
            return false;
    return true;
}

bool TStagedSearch::SearchStage(std::vector<TMember>& beam, std::vector<TSolverMove>& win)
{
    Nodes.Clear();
    // Small at first and grown as the stage needs: most stages of some games
    // hold a handful of positions, and a large table would cost more to
    // clear than they take to search.
    // (The table of the stage before is emptied and kept: fresh memory costs
    // a page fault a page, more than emptying it.)
    if (!Table || TableBytesNow > (std::size_t{8} << 20)) {
        TableBytesNow = std::size_t{1} << 16;
        Table = std::make_unique<TKeyTable>(TableBytesNow);
    } else {
        Table->Clear();
    }
    auto& table = Table;
    std::size_t& bytes = TableBytesNow;
    // Best first: the value above, then the move's score, then the older node.
    std::priority_queue<std::int64_t> open;
    constexpr std::int64_t NodeBits = 22;
    constexpr std::int64_t NodeMask = (std::int64_t{1} << NodeBits) - 1;
    table->Insert(State.Key());
    Nodes.Add(0, {}, {State.Key(), Evaluation.Evaluate(State)});
    Nodes.Encode(State, 0);
    open.push(NodeMask);
    PileStamps.assign(static_cast<std::size_t>(State.TableauCount()), 0);
    PileScores.assign(static_cast<std::size_t>(State.TableauCount()), 0);
    // After the last deal only a win will do: that stage may search longer.
    const std::int64_t limit = State.StockCount() > 0 ? StageStates : StageStates * 4;
    const auto memorySpent = [this] { return Nodes.UsedBytes() > (std::size_t{48} << 20); };
    for (std::int64_t expanded = 0; !open.empty() && expanded < limit && !memorySpent(); ++expanded) {
        if (Meter.Spent())
            return false;
        if (table->Full()) {
            if (bytes * 2 > TableBytes)
                break;
            bytes *= 2;
            table = std::make_unique<TKeyTable>(bytes);
            for (std::uint32_t n = 0; n < Nodes.Size(); ++n)
                table->Insert(Nodes[n].Extra.Key);
        }
        const auto node = static_cast<std::uint32_t>(NodeMask - (open.top() & NodeMask));
        open.pop();
        // Its children start from it: it is kept encoded.
        Nodes.Restore(State, node);
        Nodes.Encode(State, node);
        Meter.Count();
        ++Stamp;
        ParentPositionScore = Evaluation.PositionScore(State);
        const int parentValue = Nodes[node].Extra.Value;
        GenerateMoves(State, TMoveSet::Search, Moves);
        const auto safe =
            std::find_if(Moves.begin(), Moves.end(), [this](const TSolverMove& m) { return IsSafeAutoMove(State, m); });
        if (safe != Moves.end())
            Moves.assign(1, TSolverMove(*safe));
        // The children keyed without playing them are keyed first, their
        // slots in the table fetched meanwhile; then only the new ones are
        // played and valued. The others (a move that may send a run home)
        // are keyed by playing them, once: a new one is valued on the spot.
        ChildKeys.clear();
        for (const TSolverMove& move : Moves) {
            const bool ahead = move.Type != TMoveType::StockDeal && KeyedAhead(State, move);
            const std::uint64_t key = ahead ? KeyAfter(State, move) : 0;
            if (ahead)
                table->Prefetch(key);
            ChildKeys.push_back(key);
        }
        for (std::size_t m = 0; m < Moves.size(); ++m) {
            const TSolverMove& move = Moves[m];
            if (move.Type == TMoveType::StockDeal) {
                Nodes[node].Extra.Deals = true; // the stage may end here: chosen below
                continue;
            }
            // A won position is never in the table: reaching it ends the search.
            if (ChildKeys[m] != 0 && !table->Insert(ChildKeys[m]))
                continue;
            const int moveScore = MoveScore(State, move);
            if (move.SourceKind == pkTableau)
                ParentPileScore(move.SourcePile);
            if (move.TargetKind == pkTableau)
                ParentPileScore(move.TargetPile);
            ApplyMove(State, move);
            if (ChildKeys[m] == 0) {
                ChildKeys[m] = State.Key();
                if (!table->Insert(ChildKeys[m])) {
                    State.UndoMove();
                    continue;
                }
            }
            if (IsWon(State)) {
                win = Nodes.LineTo(node);
                win.push_back(move);
                return true;
            }
            if (!TouchedPilesScored()) {
                // A move that touched other piles too: score them all.
                State.UndoMove();
                for (int p = 0; p < State.TableauCount(); ++p)
                    ParentPileScore(p);
                ApplyMove(State, move);
            }
            const int value = ValueAfterMove(parentValue);
            State.UndoMove();
            const std::uint32_t child = Nodes.Add(node, move, {ChildKeys[m], value});
            if (child > NodeMask)
                break; // (never: the node store's memory cap comes first)
            open.push((std::int64_t{value} * 16 + moveScore) * (NodeMask + 1) + (NodeMask - child));
        }
    }
    // The best positions the stock can deal from, each dealt.
    std::vector<std::uint32_t> order;
    for (std::uint32_t n = 0; n < Nodes.Size(); ++n)
        if (Nodes[n].Extra.Deals)
            order.push_back(n);
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) { return Nodes[a].Extra.Value > Nodes[b].Extra.Value; });
    TSolverMove deal;
    deal.Type = TMoveType::StockDeal;
    for (const std::uint32_t node : order) {
        if (beam.size() >= BeamWidth)
            break;
        Nodes.Restore(State, node);
        TMember member;
        member.Line = Nodes.LineTo(node);
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

} // namespace solver
