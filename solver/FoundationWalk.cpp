#include "solver/FoundationWalk.h"

#include <algorithm>

namespace solver {

bool TFoundationWalk::Fits(const TSolverGame& game, const TSolverState& start)
{
    if (!TDeadEnds(game).CardsOnlyGoHome() || start.FoundationCount() != 1 || start.StockCount() != 0
        || !start.Waste().Empty() || !start.Shared().Empty() || !start.Reserve().Empty()
        || start.Counters.RedealOffered)
        return false;
    // A face-down card would turn up as the card above it leaves: still fixed
    // by the height, but kept out so that the key never has to say so.
    return start.TableauFaceUp();
}

std::uint64_t TFoundationWalk::KeyOf(const TSolverState& s)
{
    std::uint64_t key = 0x9E3779B97F4A7C15ULL;
    for (int p = 0; p < s.TableauCount(); ++p)
        key = (key ^ static_cast<std::uint64_t>(s.Tableau(p).Count)) * 0x100000001B3ULL;
    const TStack& home = s.Foundation(0);
    key = (key ^ (home.Empty() ? 0xFFu : CodeIdentity(home.Top()))) * 0xFF51AFD7ED558CCDULL;
    key ^= key >> 33;
    key *= 0xC4CEB9FE1A85EC53ULL;
    key ^= key >> 29;
    return key | 1; // 0 marks a free slot of the table
}

int FoundationWalkScore(const TSolverState& s, const TSolverMove& move)
{
    const TSolverGame& g = s.Game();
    const TStack& from = s.Tableau(move.SourcePile);
    const TCardCode card = from.Cards[move.SourceIndex];
    // Cards that fit on this one, once it is home, by their identities.
    const std::uint64_t fitting = g.FoundationFits[CodeIdentity(card)];
    int atHand = 0;
    for (int p = 0; p < s.TableauCount(); ++p) {
        const TStack& pile = s.Tableau(p);
        const int top = p == move.SourcePile ? pile.Count - 2 : pile.Count - 1;
        if (top >= 0 && ((fitting >> CodeIdentity(pile.Cards[static_cast<std::size_t>(top)])) & 1u))
            atHand += p == move.SourcePile ? 2 : 1;
    }
    return 4 * from.Count + 3 * atHand;
}

void TFoundationWalk::Expand(TLevel& level)
{
    Meter.Count();
    level.Next = 0;
    level.Moves.clear();
    // A position proved lost has nothing worth searching under it.
    if (DeadEnds.IsLost(State))
        return;
    GenerateMoves(State, TMoveSet::Search, level.Moves);
    Scored.clear();
    for (const TSolverMove& move : level.Moves) {
        if (move.Type != TMoveType::Drag || move.SourceKind != pkTableau || move.TargetKind != pkFoundation
            || move.Deals != 0 || move.SourceIndex + 1 != State.Tableau(move.SourcePile).Count) {
            Refused = true;
            return;
        }
        Scored.emplace_back(-FoundationWalkScore(State, move), move);
    }
    std::stable_sort(Scored.begin(), Scored.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < Scored.size(); ++i)
        level.Moves[i] = Scored[i].second;
}

TSolveResult TFoundationWalk::Run()
{
    TSolveResult result;
    const auto finish = [&](TVerdict verdict) { return Meter.Finish(result, verdict); };
    if (IsWon(State))
        return finish(TVerdict::Winnable);
    std::size_t depth = 0;
    const auto push = [&](std::uint64_t key) {
        if (Path.size() <= depth)
            Path.emplace_back();
        TLevel& level = Path[depth++];
        level.Key = key;
        Expand(level);
    };
    const std::uint64_t rootKey = Key();
    Table.Insert(rootKey);
    push(rootKey);
    while (depth > 0) {
        if (Refused)
            return finish(TVerdict::Unknown);
        if (Meter.Spent())
            return finish(TVerdict::Unknown);
        TLevel& level = Path[depth - 1];
        if (level.Next >= level.Moves.size()) {
            if (--depth > 0)
                State.UndoMove();
            continue;
        }
        const TSolverMove move = level.Moves[level.Next++];
        ApplyMove(State, move);
        if (IsWon(State)) {
            for (std::size_t d = 0; d < depth; ++d)
                result.Line.push_back(Path[d].Moves[Path[d].Next - 1]);
            return finish(TVerdict::Winnable);
        }
        if (Table.Full()) {
            // Emptied, with the line back in: the search never loops, and
            // only searches some positions twice.
            Table.Clear();
            for (std::size_t d = 0; d < depth; ++d)
                Table.Insert(Path[d].Key);
        }
        const std::uint64_t key = Key();
        if (!Table.Insert(key)) {
            State.UndoMove();
            continue;
        }
        push(key);
    }
    return finish(TVerdict::NotWinnable);
}

} // namespace solver
