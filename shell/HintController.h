#pragma once

#include "catalogue/Position.h"
#include "solver/Search.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QTimer;
class TCardTable;
class TEngine;
class THintOverlay;
class TSolverWorker;

// What the solver tells the player: a hint (the first move of a winning
// line, shown for a moment, played by asking again), whether the position
// can still be won (a label on the tool bar), that no move is left, and the
// whole solution played to the end. Every search runs on the one worker
// thread it owns; any change of the position cancels it.
class THintController : public QObject {
public:
    THintController(TEngine& engine, TCardTable& table, QLabel& label);
    ~THintController() override;

    // The window's answers.
    std::function<bool()> AtRest; // no deal, no move under way, no drag
    std::function<bool(const QString& caption, const QString& text)> Ask;
    std::function<void(const QString& caption, const QString& text)> Tell;

    // --- the hint ---
    // Shows a move; asked again while it shows, plays it.
    void Hint();
    bool OutlineShown() const;
    THintOverlay* Overlay() const { return Overlay_; }
    // The record actions the shown hint plays.
    const std::vector<solver::TRecordAction>& HintActions() const { return HintRecord; }

    // --- the verdict as you play ---
    void SetShowVerdict(bool on);
    bool ShowVerdict() const { return VerdictOn; }

    // --- the solution ---
    void PlaySolution();
    bool PlayingSolution() const { return Playing; }
    void StopSolution();
    // True in a deal whose solution was played: it counts nothing.
    bool SolutionPlayed() const;

    // A move, a command or a new deal is about to change the position: the
    // running search stops now, not when the change is seen.
    void PositionChanging();
    // The window closes: no search may outlive it.
    void Shutdown();
    // Looks at the position now rather than at the next tick (after a
    // command, and for tests that play faster than the tick).
    void Observe() { Watch(); }

    // While a search for the player runs (the busy cursor shows).
    bool Thinking() const { return Thinking_; }
    // Budgets, for tests that need a quick answer.
    std::int64_t HintMilliseconds = 1000;
    std::int64_t VerdictMilliseconds = 3000;
    std::int64_t SolutionMilliseconds = 5000;
    int SolutionStepMilliseconds = 350;
    int OutlineMilliseconds = 1500;

private:
    struct TSignature {
        std::string Game;
        std::string Deal;
        int SourceLogPos = 0;
        std::size_t SourceLogSize = 0;
        int HistoryPos = 0;
        std::size_t HistorySize = 0;
        int Points = 0;
        int FoundationCards = 0;
        bool Won = false;
        friend bool operator==(const TSignature&, const TSignature&) = default;
    };
    struct TKnown {
        TSignature At;
        solver::TSolveResult Result;
    };

    TSignature Signature() const;
    bool InPlay() const;
    bool Ready() const;
    void Watch();
    void Settled();
    void RecordTrail(const TSignature& now);
    void ShowLabel();
    void SetThinking(bool on);
    void SolveForHint();
    static solver::TSolveBudget Budget(std::int64_t milliseconds, const std::atomic<bool>& cancel);
    void HintSolved(const solver::TSolveResult& result);
    void ShowMove(const solver::TSolverMove& move, std::vector<solver::TRecordAction> record);
    void HideOutline();
    void PlayHint();
    void OfferUndo();
    void UndoFound(int movesBack);
    void SolveForVerdict();
    void Remember(const TSignature& at, const solver::TSolveResult& result);
    const solver::TSolveResult* KnownHere() const;
    void SolutionFound(const solver::TSolveResult& result);
    void SolutionStep();
    void EndSolution(bool won);

    TEngine& Engine;
    TCardTable& Table;
    QLabel& Label;
    THintOverlay* Overlay_ = nullptr;
    std::unique_ptr<TSolverWorker> Worker;
    QTimer* WatchTimer = nullptr;
    QTimer* SettleTimer = nullptr;
    QTimer* OutlineTimer = nullptr;
    QTimer* StepTimer = nullptr;

    TSignature Last;
    // The position after each history position seen at rest, for the undo offer.
    std::map<int, TPositionSnapshot> Trail;
    std::optional<TKnown> Known;
    std::vector<solver::TRecordAction> HintRecord;
    QString VerdictText;
    QString NoteText; // "A guess" while a guessed hint shows
    bool VerdictOn = false;
    bool Thinking_ = false;
    bool Playing = false;
    std::vector<solver::TRecordAction> Solution;
    std::size_t SolutionNext = 0;
    bool InStep = false;    // the solution's own move is being made
    std::string SolvedDeal; // the deal whose solution was played
    bool ShuttingDown = false;
};
