#include "SolverTestSupport.h"

#include "solver/Search.h"

#include <algorithm>
#include <cstdlib>
#include <random>

namespace {

std::string CardsText(const TCardCodes& cards)
{
    static constexpr char ranks[] = "A23456789TJQK";
    static constexpr char suits[] = "cdhs";
    std::string out = "[";
    for (const TCardCode c : cards) {
        if (out.size() > 1)
            out += ' ';
        if (c == NoCard) {
            out += "--";
            continue;
        }
        std::string name{ranks[CodeValue(c)], suits[CodeSuit(c)]};
        out += CodeFaceUp(c) ? name : "(" + name + ")";
    }
    return out + "]";
}

std::string PilesText(const char* name, const std::vector<TCardCodes>& piles)
{
    std::string out = std::string(name) + ":";
    for (const TCardCodes& pile : piles)
        out += " " + CardsText(pile);
    return out + "\n";
}

} // namespace

std::string SnapshotText(const TPositionSnapshot& s)
{
    return PilesText("tableau", s.Tableau) + PilesText("foundations", s.Foundations) + PilesText("except", s.Except)
        + "reserve: " + CardsText(s.Reserve) + "\nwaste: " + CardsText(s.Waste) + "\nstock: " + CardsText(s.Stock)
        + "\nremoved: " + CardsText(s.Removed) + "\npoints " + std::to_string(s.Points) + " foundationCards "
        + std::to_string(s.FoundationCards) + " passes " + std::to_string(s.PassesDone) + " base " + std::to_string(s.BaseValue)
        + " redeal " + std::to_string(s.RedealOffered) + " won " + std::to_string(s.Won) + " selected "
        + std::to_string(s.SelectedPile) + "/" + std::to_string(s.SelectedIndex) + " fromTop " + std::to_string(s.StockFromTop)
        + " seed " + std::to_string(s.RandSeed) + " last dealt " + CardsText({s.LastDealt}) + "\nshared "
        + std::to_string(s.SharedFoundation) + " " + CardsText(s.SharedPlace) + "\n";
}

std::string ActionText(const solver::TRecordAction& a)
{
    return "(kind " + std::to_string(a.Kind) + ", pile " + std::to_string(a.Pile) + ", drop point " + std::to_string(a.DropPoint)
        + ", position " + std::to_string(a.Position) + ")";
}

std::string MoveText(const solver::TSolverMove& m)
{
    return "move type " + std::to_string(static_cast<int>(m.Type)) + " from " + std::to_string(m.SourceKind) + "/"
        + std::to_string(m.SourcePile) + "/" + std::to_string(m.SourceIndex) + " to " + std::to_string(m.TargetKind) + "/"
        + std::to_string(m.TargetPile) + " point " + std::to_string(m.DropPoint) + " after " + std::to_string(m.Deals) + " deals";
}

TSavedGame SavedGameOf(const TEngine& engine)
{
    const std::vector<std::string> record = engine.SavedRecord();
    TSavedGame game;
    game.GameName = record.at(0);
    game.Seed = static_cast<std::uint32_t>(std::strtoll(record.at(1).c_str(), nullptr, 10));
    game.Open = record.at(2) != "0";
    for (std::size_t i = 3; i + 3 < record.size(); i += 4) {
        TSavedGame::TAction action;
        action.Kind = std::atoi(record[i].c_str());
        action.Pile = std::atoi(record[i + 1].c_str());
        action.Position = std::atoi(record[i + 2].c_str());
        action.DropPoint = std::atoi(record[i + 3].c_str());
        game.Actions.push_back(action);
    }
    return game;
}

solver::TSolveBudget States(std::int64_t states)
{
    solver::TSolveBudget budget;
    budget.MaxStates = states;
    budget.TableBytes = std::size_t{8} << 20;
    return budget;
}

bool WinReachable(solver::TSolverState& state, std::unordered_set<std::uint64_t>& seen, int& budget)
{
    if (solver::IsWon(state))
        return true;
    if (--budget < 0 || !seen.insert(state.Key()).second)
        return false;
    std::vector<solver::TSolverMove> moves;
    solver::GenerateMoves(state, solver::TMoveSet::Search, moves);
    for (const solver::TSolverMove& move : moves) {
        solver::ApplyMove(state, move);
        const bool won = WinReachable(state, seen, budget);
        state.UndoMove();
        if (won)
            return true;
    }
    return false;
}

::testing::AssertionResult LostPositionsHoldNoWin(
    const std::string& name, const TWalkOffWins& walk, const TEngine& engine,
    const std::function<void(std::uint32_t seed)>& deal,
    const std::function<bool(const solver::TSolverGame&, const solver::TSolverState&)>& lost)
{
    int won = 0;
    int lostChecked = 0;
    std::mt19937 random(walk.RandomSeed);
    for (std::uint32_t seed = 1; won < walk.Wins && seed < walk.SeedsBelow; ++seed) {
        deal(seed);
        const solver::TSolverGame game = solver::MakeSolverGame(engine.Rules);
        const solver::TSolveResult result = solver::Solve(game, engine.Snapshot(), States(100000));
        if (result.Verdict != solver::TVerdict::Winnable)
            continue;
        ++won;
        for (std::size_t w = 0; w < 40; ++w) {
            solver::TSolverState state(game, engine.Snapshot());
            const std::size_t back = std::min(result.Line.size(), walk.FirstBack + walk.BackPerWalk * w);
            for (std::size_t m = 0; m < result.Line.size() - back; ++m)
                solver::ApplyMove(state, result.Line[m]);
            std::vector<solver::TSolverMove> moves;
            for (int step = 0; step < walk.Steps && !solver::IsWon(state); ++step) {
                if (lost(game, state)) {
                    std::unordered_set<std::uint64_t> seen;
                    int searchBudget = 200000;
                    if (WinReachable(state, seen, searchBudget))
                        return ::testing::AssertionFailure()
                            << name << " seed " << seed << ": a position called lost is won:\n"
                            << SnapshotText(state.ToSnapshot());
                    lostChecked += searchBudget >= 0 ? 1 : 0;
                    break;
                }
                solver::GenerateMoves(state, solver::TMoveSet::Search, moves);
                if (moves.empty())
                    break;
                solver::ApplyMove(state, moves[random() % moves.size()]);
            }
        }
    }
    if (won < walk.Wins || lostChecked == 0)
        return ::testing::AssertionFailure()
            << name << ": " << won << " won deals, " << lostChecked << " lost positions checked";
    return ::testing::AssertionSuccess();
}

TCardCodes SuitRun(int suit, int from, int to)
{
    TCardCodes cards;
    for (int v = from; v <= to; ++v)
        cards.push_back(Up(v, suit));
    return cards;
}
