#include "solver/WasteBeam.h"

#include "solver/StockEvaluation.h"

#include <algorithm>
#include <queue>
#include <utility>

namespace solver {

namespace {

// The beam's first width, and how much wider each later try is.
constexpr std::size_t FirstWidth = 1;
constexpr std::size_t WidthGrowth = 3;
// At least this many positions from each member: fewer cannot play out
// the cards one turn brings.
constexpr std::int64_t MemberMinimum = 100;
// The last stage (nothing left to turn, only a win will do) has as many
// positions as this many stages before it.
constexpr std::int64_t FinalStageShare = 16;

bool TurnsStock(const TSolverMove& move) { return move.Type == TMoveType::StockDeal || move.Type == TMoveType::Redeal; }

// The evaluation of the position `s` stands at, all its piles scored.
int Value(const TEvaluation& evaluation, const TSolverState& s)
{
    int value = evaluation.PositionScore(s);
    for (int p = 0; p < s.TableauCount(); ++p)
        value += evaluation.PileScore(s, p);
    return value;
}

} // namespace

bool TurnsOntoWasteInPasses(const TSolverGame& game)
{
    const TGameRules& r = game.Rules;
    // Where an emptied pile takes only a king and the deal hides cards
    // (Klondike), the game turns on the face-down cards and the exhaustive
    // passes prove its losses: the budget the beam takes from them cost
    // Klondike 3 of 8 such proofs in 20 deals. So they do with one pack dealt
    // face up (the beam cost Australian Tessalyn 3 of 12); but with two packs
    // dealt face up (Lady Palk) they prove next to nothing and the stock decides.
    const bool lossesProvable = !r.TableauRules.Contains(roDealFaceUp) || r.DeckCount != 2;
    // Piles that take no card but fill themselves when emptied (Kingdom)
    // take the waste's cards as surely as piles that build.
    const bool takesWaste = game.TableauDropTarget || r.TableauRules.Contains(roRefillEmpty);
    return r.TurnCount >= 1 && r.DeckPasses >= 1 && !game.OneFoundation && !game.Burleigh && !game.ClickPlay
        && !game.AcesUp && !game.TheClock && takesWaste
        && !(r.TableauRules.Contains(roEmptyKing) && lossesProvable);
}

bool WasteBeamFits(const TSolverGame& game, const TPositionSnapshot& snapshot)
{
    return TurnsOntoWasteInPasses(game) && TSolverState(game, snapshot).StockCount() > 0;
}

TWasteBeam::TWasteBeam(const TSolverGame& game, const TPositionSnapshot& snapshot, const TSolveBudget& budget,
                       int wasteCardWeight)
    : State(game, snapshot),
      Evaluation(State, wasteCardWeight),
      Meter(budget),
      // A budget in time counts as states at a modest speed.
      MaxStates(budget.MaxStates > 0 ? budget.MaxStates
                : budget.MaxMilliseconds > 0 ? budget.MaxMilliseconds * 200
                                             : std::int64_t{1} << 22),
      Table(std::min<std::size_t>(budget.TableBytes / 4, std::size_t{16} << 20))
{
}

int TWasteBeam::TurnsLeft() const
{
    const TGameRules& r = State.Game().Rules;
    const int turn = r.TurnCount;
    const int stock = State.StockCount();
    const int inPlay = stock + State.Waste().Count;
    // Passes still to start after this one (a redeal starts each).
    const int laterPasses = std::max(0, r.DeckPasses - State.Counters.PassesDone - (stock > 0 ? 1 : 0));
    return (stock + turn - 1) / turn + laterPasses * ((inPlay + turn - 1) / turn + 1);
}

bool TWasteBeam::SearchFrom(const TMember& member, std::int64_t limit, std::size_t width, std::vector<TMember>& ready,
                            std::vector<TSolverMove>& win)
{
    Nodes.Clear();
    Ready.clear();
    State.Decode(member.Code.data());
    Nodes.Add(0, {}, {member.Value, -1});
    Nodes.Encode(State, 0);
    // Best first; among equals the older, so a stage is searched broadly.
    std::priority_queue<std::pair<std::int64_t, std::uint32_t>> open;
    open.emplace(0, 0);
    std::uint32_t at = 0;
    for (std::int64_t expanded = 0; expanded < limit && !open.empty(); ++expanded) {
        if (Meter.Spent())
            return false;
        const std::uint32_t node = open.top().second;
        open.pop();
        Nodes.Restore(State, node, at);
        at = node;
        Nodes.Encode(State, node);
        Meter.Count();
        ++Expanded;
        GenerateMoves(State, TMoveSet::Search, Moves);
        const auto safe =
            std::find_if(Moves.begin(), Moves.end(), [this](const TSolverMove& m) { return IsSafeAutoMove(State, m); });
        if (safe != Moves.end())
            Moves.assign(1, TSolverMove(*safe));
        Evaluation.Reset(State);
        const int value = Nodes[node].Extra.Value;
        bool turnSeen = false;
        for (const TSolverMove& move : Moves) {
            if (TurnsStock(move)) {
                // The stage ends here if this position is among the best.
                if (!turnSeen)
                    Ready.push_back({node, value, move});
                turnSeen = true;
                continue;
            }
            const std::optional<std::uint64_t> ahead = KeyAhead(State, move);
            if (ahead && !Table.Insert(*ahead))
                continue;
            const int moveScore = MoveScore(State, move);
            ApplyMove(State, move);
            if (IsWon(State)) {
                win = member.Line;
                const std::vector<TSolverMove> tail = Nodes.LineTo(node);
                win.insert(win.end(), tail.begin(), tail.end());
                win.push_back(move);
                return true;
            }
            if (!ahead && !Table.Insert(State.Key())) {
                State.UndoMove();
                continue;
            }
            const int childValue = Evaluation.AfterMove(State);
            State.UndoMove();
            const std::uint32_t child = Nodes.Add(node, move, {childValue, -1});
            open.emplace((std::int64_t{childValue} * 16 + moveScore) * 4194304 - child, child);
        }
    }
    // A stage cut short, or positions to turn from left out: a wider beam may see more.
    Dropped = Dropped || !open.empty() || Ready.size() > width;
    // The best positions to turn from, each turned.
    std::stable_sort(Ready.begin(), Ready.end(), [](const TReady& a, const TReady& b) { return a.Value > b.Value; });
    for (std::size_t k = 0; k < Ready.size() && k < width; ++k) {
        Nodes.Restore(State, Ready[k].Node);
        TMember next;
        next.Line = member.Line;
        const std::vector<TSolverMove> tail = Nodes.LineTo(Ready[k].Node);
        next.Line.insert(next.Line.end(), tail.begin(), tail.end());
        next.Line.push_back(Ready[k].Turn);
        ApplyMove(State, Ready[k].Turn);
        if (IsWon(State)) {
            win = std::move(next.Line);
            return true;
        }
        State.Encode(next.Code);
        next.Value = Value(Evaluation, State);
        ready.push_back(std::move(next));
    }
    return false;
}

bool TWasteBeam::RunBeam(std::size_t width, std::int64_t states, std::vector<TSolverMove>& win)
{
    std::vector<TMember> beam(1);
    State.Encode(beam[0].Code);
    beam[0].Value = Value(Evaluation, State);
    std::vector<TMember> next;
    std::vector<std::pair<std::uint64_t, std::size_t>> keys;
    while (!beam.empty()) {
        State.Decode(beam[0].Code.data());
        // The round's positions spread evenly over the turns still to come;
        // the last stage (nothing left to turn) has all that is left.
        const int turns = TurnsLeft();
        const std::int64_t stage = turns > 0 ? states / (turns + FinalStageShare) : states;
        const std::int64_t perMember =
            std::max<std::int64_t>(MemberMinimum, stage / static_cast<std::int64_t>(beam.size()));
        Table.Clear();
        next.clear();
        for (const TMember& member : beam) {
            if (SearchFrom(member, perMember, width, next, win))
                return true;
            if (Meter.Spent())
                return false;
        }
        states -= stage;
        // The next beam: the best of what every member turned to, each position once.
        keys.clear();
        for (std::size_t k = 0; k < next.size(); ++k) {
            State.Decode(next[k].Code.data());
            keys.emplace_back(State.Key(), k);
        }
        std::stable_sort(keys.begin(), keys.end(), [&next](const auto& a, const auto& b) {
            return next[a.second].Value > next[b.second].Value;
        });
        beam.clear();
        std::vector<std::uint64_t> taken;
        for (const auto& [key, k] : keys) {
            if (beam.size() >= width) {
                Dropped = true;
                break;
            }
            if (std::find(taken.begin(), taken.end(), key) != taken.end())
                continue;
            taken.push_back(key);
            beam.push_back(std::move(next[k]));
        }
    }
    return false;
}

TSolveResult TWasteBeam::Run()
{
    TSolveResult result;
    const auto finish = [&](TVerdict verdict) { return Meter.Finish(result, verdict); };
    if (IsWon(State))
        return finish(TVerdict::Winnable);
    std::vector<std::uint8_t> root;
    State.Encode(root);
    // Each try has a share of what is left: narrow tries are cheap and find
    // the easy wins; the wider ones need more.
    std::int64_t left = MaxStates;
    for (std::size_t width = FirstWidth; !Meter.Spent(); width *= WidthGrowth) {
        State.Decode(root.data());
        const std::int64_t share = std::max<std::int64_t>(left / 3, 1000);
        std::vector<TSolverMove> win;
        Dropped = false;
        if (RunBeam(width, share, win)) {
            result.Line = std::move(win);
            return finish(TVerdict::Winnable);
        }
        left = MaxStates - Expanded;
        // A beam that dropped nothing searched every position: no wider one
        // can find more. (Still no proof of a loss from this pass: the
        // depth-first pass gives that.)
        if (left <= 0 || !Dropped)
            break;
    }
    return finish(TVerdict::Unknown);
}

} // namespace solver
