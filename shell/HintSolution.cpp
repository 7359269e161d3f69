// The solver's help beyond the hint: the way back to a position that can
// still be won, and the solution played out on the table.
#include "shell/HintController.h"

#include "shell/HintSteps.h"
#include "shell/SolverWorker.h"

#include "cardtable/CardTable.h"

#include "engine/Engine.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <chrono>

namespace {

// The search backwards over the undo history gives up after this long in all.
constexpr std::int64_t UndoSearchMilliseconds = 6000;

const QString HintCaption = QStringLiteral("Hint");
const QString NoLongerWon = QStringLiteral("This game can no longer be won.");

// Stops a playing solution at the player's first key or click.
class TSolutionStopper : public QObject {
public:
    explicit TSolutionStopper(std::function<void()> stop, const bool& ownMove) : Stop(std::move(stop)), OwnMove(ownMove)
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        // The engine presses the table itself to make a move: that is no player's click.
        if (!OwnMove && (type == QEvent::KeyPress || type == QEvent::MouseButtonPress)) {
            Stop();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> Stop;
    const bool& OwnMove;
};

} // namespace

// ---------------------------------------------------------------------------
// A dead position: back to the last one that can be won

void THintController::OfferUndo()
{
    if (Engine.Rules.FoundationRules.Contains(roNoUndo)) {
        Tell(HintCaption, NoLongerWon);
        return;
    }
    // The positions each Undo would bring back, as far as they were seen.
    std::vector<std::pair<int, TPositionSnapshot>> earlier;
    const std::vector<int> stops = UndoStops(Engine.History, Engine.HistoryPos);
    for (std::size_t n = 0; n < stops.size(); ++n)
        if (const auto found = Trail.find(stops[n]); found != Trail.end())
            earlier.emplace_back(int(n + 1), found->second);
    if (earlier.empty()) {
        Tell(HintCaption, NoLongerWon);
        return;
    }
    SetThinking(true);
    auto movesBack = std::make_shared<int>(0);
    const TSignature at = Last;
    Worker->Submit(
        [movesBack, earlier = std::move(earlier), game = solver::MakeSolverGame(Engine.Rules),
         each = HintMilliseconds](const std::atomic<bool>& cancel) {
            const auto start = std::chrono::steady_clock::now();
            for (const auto& [back, snapshot] : earlier) {
                const auto spent =
                    std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                        .count();
                if (spent >= UndoSearchMilliseconds || cancel.load())
                    return;
                const solver::TSolveResult result = solver::Solve(
                    game, snapshot, Budget(std::min<std::int64_t>(each, UndoSearchMilliseconds - spent), cancel));
                if (result.Verdict == solver::TVerdict::Winnable) {
                    *movesBack = back;
                    return;
                }
            }
        },
        [this, movesBack, at] {
            SetThinking(false);
            if (at == Signature())
                UndoFound(*movesBack);
        });
}

void THintController::UndoFound(int movesBack)
{
    if (movesBack <= 0) {
        Tell(HintCaption, NoLongerWon);
        return;
    }
    const QString question = NoLongerWon
        + QStringLiteral("\n\nUndo to the last position that can be won? (%1 moves back)\n\n"
                         "A new move after an undo closes the game.")
              .arg(movesBack);
    if (!Ask(HintCaption, question))
        return;
    PositionChanging();
    for (int n = 0; n < movesBack; ++n)
        Engine.Undo();
}

// ---------------------------------------------------------------------------
// Playing the solution

bool THintController::SolutionPlayed() const { return !SolvedDeal.empty() && SolvedDeal == Signature().Deal; }

void THintController::PlaySolution()
{
    if (Playing || Thinking_ || !Ready() || Engine.Snapshot().Won)
        return;
    HideOutline();
    Last = Signature();
    if (const solver::TSolveResult* known = KnownHere();
        known != nullptr && known->Verdict == solver::TVerdict::Winnable) {
        SolutionFound(*known);
        return;
    }
    SetThinking(true);
    auto result = std::make_shared<solver::TSolveResult>();
    const TSignature at = Last;
    Worker->Submit(
        [result, game = solver::MakeSolverGame(Engine.Rules), snapshot = Engine.Snapshot(),
         milliseconds = SolutionMilliseconds](const std::atomic<bool>& cancel) {
            *result = solver::Solve(game, snapshot, Budget(milliseconds, cancel));
        },
        [this, result, at] {
            SetThinking(false);
            if (at != Signature())
                return;
            Remember(at, *result);
            if (result->Verdict == solver::TVerdict::Winnable)
                SolutionFound(*result);
            else
                Tell(QStringLiteral("Play the Solution"),
                     result->Verdict == solver::TVerdict::NotWinnable
                         ? NoLongerWon
                         : QStringLiteral("No solution was found in time."));
        });
}

void THintController::SolutionFound(const solver::TSolveResult& result)
{
    Playing = true;
    Solution = result.Record;
    SolutionNext = 0;
    SolvedDeal = Signature().Deal;
    // A game played by the program is not the player's: it is closed now,
    // so that neither its end nor leaving it counts.
    if (Engine.SourceLog.size() > 2)
        Engine.SourceLog[2].assign(1, '0');
    Engine.RefreshCaption();
    auto* stopper = new TSolutionStopper([this] { StopSolution(); }, InStep);
    stopper->setParent(StepTimer);
    stopper->setObjectName(QStringLiteral("SolutionStopper"));
    qApp->installEventFilter(stopper);
    StepTimer->start(SolutionStepMilliseconds);
}

void THintController::SolutionStep()
{
    if (!Playing)
        return;
    if (Engine.DealBusy || Engine.LoadingGame() || (AtRest && !AtRest()))
        return; // the last move still runs
    if (SolutionNext >= Solution.size() || Engine.Snapshot().Won) {
        EndSolution(Engine.Snapshot().Won);
        return;
    }
    const solver::TRecordAction action = Solution[SolutionNext++];
    InStep = true;
    Engine.MakeMove(action.Kind, action.Pile, action.DropPoint, action.Position);
    InStep = false;
    if (SolutionNext >= Solution.size())
        EndSolution(Engine.Snapshot().Won);
}

void THintController::StopSolution()
{
    if (!Playing)
        return;
    // Called from inside the stopper's own event filter: it goes later.
    QTimer::singleShot(0, this, [this] { EndSolution(false); });
    StepTimer->stop();
}

void THintController::EndSolution(bool won)
{
    if (!Playing)
        return;
    Playing = false;
    StepTimer->stop();
    for (QObject* child : StepTimer->children())
        child->deleteLater();
    Solution.clear();
    if (ShuttingDown)
        return;
    if (QWidget* window = Table.window())
        window->setWindowTitle(QString::fromStdString(Engine.Caption)
                               + (won ? QStringLiteral("  [Solved by the program: not counted]")
                                      : QStringLiteral("  [Solution stopped: not counted]")));
}
