#include "shell/HintSteps.h"

#include "catalogue/Rules.h"

#include <algorithm>
#include <charconv>

namespace {

int IntAt(const std::vector<std::string>& values, int index)
{
    if (index < 0 || index >= static_cast<int>(values.size()))
        return 0;
    int value = 0;
    const std::string& text = values[static_cast<std::size_t>(index)];
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Higher is better; a move the rules of thumb know nothing of is worth 0.
int GuessWorth(const solver::TSolverState& state, const solver::TSolverMove& move)
{
    using solver::TMoveType;
    if (move.Type == TMoveType::Pair)
        return 5;
    if (move.TargetKind == pkFoundation)
        return 4;
    if (move.Type == TMoveType::Drag && move.SourceKind == pkTableau) {
        const solver::TStack& pile = state.Tableau(move.SourcePile);
        if (move.SourceIndex > 0 && move.SourceIndex <= pile.Count
            && !CodeFaceUp(pile.Cards[static_cast<std::size_t>(move.SourceIndex - 1)]))
            return 3;
        if (move.SourceIndex == 0 && move.TargetKind != pkTableau)
            return 2;
    }
    if (move.Type == TMoveType::StockDeal)
        return 1;
    return 0;
}

} // namespace

std::optional<solver::TSolverMove> GuessMove(const solver::TSolverGame& game, const TPositionSnapshot& snapshot)
{
    const solver::TSolverState state(game, snapshot);
    std::vector<solver::TSolverMove> moves;
    solver::GenerateMoves(state, solver::TMoveSet::Search, moves);
    if (moves.empty())
        return std::nullopt;
    // The first of the best: the generator lists moves in the solver's order of promise.
    const auto best = std::max_element(moves.begin(), moves.end(), [&](const auto& a, const auto& b) {
        return GuessWorth(state, a) < GuessWorth(state, b);
    });
    return *best;
}

std::vector<int> UndoStops(const std::vector<std::string>& history, int historyPos)
{
    std::vector<int> stops;
    int pos = std::min(historyPos, static_cast<int>(history.size()));
    while (pos >= 4) {
        const int reference = IntAt(history, pos - 2);
        int count = 1;
        if (reference > 100)
            count = reference - 100;
        else if (reference >= 0)
            count = reference;
        if (count <= 0)
            break; // the engine's Undo takes nothing back from here
        for (int e = 0; e < count && pos >= 4; ++e)
            pos -= 4;
        stops.push_back(pos);
    }
    return stops;
}

int FirstMoveActions(const std::vector<solver::TSolverMove>& line)
{
    if (line.empty())
        return 0;
    return line.front().Type == solver::TMoveType::Pair ? 2 : 1;
}

solver::TSolverMove ShownMove(const solver::TSolverMove& first)
{
    if (first.Deals == 0)
        return first;
    solver::TSolverMove deal;
    deal.Type = solver::TMoveType::StockDeal;
    return deal;
}
