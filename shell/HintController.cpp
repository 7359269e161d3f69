#include "shell/HintController.h"

#include "shell/HintOverlay.h"
#include "shell/HintSteps.h"
#include "shell/SolverWorker.h"
#include "shell/TablePlaces.h"

#include "cardtable/Card.h"
#include "cardtable/CardTable.h"
#include "engine/Engine.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <chrono>

namespace {

constexpr int WatchMilliseconds = 50;
constexpr int SettleMilliseconds = 250;
constexpr std::size_t SearchTableBytes = std::size_t{32} << 20;

const TTablePlace* FindPlace(const std::vector<TTablePlace>& places, int kind, int pile)
{
    for (const TTablePlace& place : places)
        if (place.Kind == kind && place.Pile == pile)
            return &place;
    return nullptr;
}

QRect CardRect(const TCard* card, QSize size) { return {QPoint(card->X, card->Y), size}; }

// The cards from `index` up, as they lie; the place itself when it holds none.
QRect RunRect(const TTablePlace& place, int index, QSize size)
{
    if (place.Cards.empty())
        return place.Base;
    index = std::clamp(index, 0, int(place.Cards.size()) - 1);
    QRect rect;
    for (std::size_t i = std::size_t(index); i < place.Cards.size(); ++i)
        rect |= CardRect(place.Cards[i], size);
    return rect;
}

QRect TopRect(const TTablePlace& place, QSize size)
{
    return place.Cards.empty() ? place.Base : CardRect(place.Cards.back(), size);
}

const TTablePlace* SourcePlace(const std::vector<TTablePlace>& places, int kind, int pile)
{
    if (const TTablePlace* place = FindPlace(places, kind, pile))
        return place;
    // A reserve that is one pile counts its cards by index.
    return kind == pkReserve ? FindPlace(places, pkReserve, 0) : nullptr;
}

// The solver counts a dragged card by its place in the engine's own pile
// (bottom first, empty slots included), so the cards are taken from there.
QRect DraggedRect(const TEngine& engine, const solver::TSolverMove& move, QSize size)
{
    const TPile* pile = nullptr;
    switch (move.SourceKind) {
    case pkTableau:
        if (move.SourcePile < engine.TableauPiles.size())
            pile = &engine.TableauPiles[move.SourcePile];
        break;
    case pkReserve:
        pile = &engine.ReserveCards;
        break;
    case pkWaste:
        pile = &engine.WasteCards;
        break;
    default:
        break;
    }
    if (pile == nullptr || move.SourceIndex >= pile->size())
        return {};
    // From a reserve or the waste one card moves; from the tableau the run on it too.
    const std::size_t end = move.SourceKind == pkTableau ? pile->size() : move.SourceIndex + 1u;
    QRect rect;
    for (std::size_t i = move.SourceIndex; i < end; ++i)
        if (const TCard* card = (*pile)[i])
            rect |= CardRect(card, size);
    return rect;
}

QString VerdictWords(solver::TVerdict verdict)
{
    switch (verdict) {
    case solver::TVerdict::Winnable:
        return QStringLiteral("Can be won");
    case solver::TVerdict::NotWinnable:
        return QStringLiteral("Cannot be won");
    case solver::TVerdict::Unknown:
        break;
    }
    return {};
}

} // namespace

solver::TSolveBudget THintController::Budget(std::int64_t milliseconds, const std::atomic<bool>& cancel)
{
    solver::TSolveBudget budget;
    budget.MaxMilliseconds = milliseconds;
    budget.TableBytes = SearchTableBytes;
    budget.Cancel = &cancel;
    return budget;
}

THintController::THintController(TEngine& engine, TCardTable& table, QLabel& label)
    : Engine(engine),
      Table(table),
      Label(label),
      Worker(std::make_unique<TSolverWorker>())
{
    Overlay_ = new THintOverlay(&table);
    WatchTimer = new QTimer(this);
    WatchTimer->setInterval(WatchMilliseconds);
    connect(WatchTimer, &QTimer::timeout, this, [this] { Watch(); });
    WatchTimer->start();
    SettleTimer = new QTimer(this);
    SettleTimer->setSingleShot(true);
    SettleTimer->setInterval(SettleMilliseconds);
    connect(SettleTimer, &QTimer::timeout, this, [this] { Settled(); });
    OutlineTimer = new QTimer(this);
    OutlineTimer->setSingleShot(true);
    connect(OutlineTimer, &QTimer::timeout, this, [this] { HideOutline(); });
    StepTimer = new QTimer(this);
    connect(StepTimer, &QTimer::timeout, this, [this] { SolutionStep(); });
    Last = Signature();
}

THintController::~THintController() { Shutdown(); }

void THintController::Shutdown()
{
    ShuttingDown = true;
    StopSolution();
    WatchTimer->stop();
    SettleTimer->stop();
    Worker->Cancel();
    SetThinking(false);
}

// ---------------------------------------------------------------------------
// Watching the position

THintController::TSignature THintController::Signature() const
{
    TSignature signature;
    signature.Game = Engine.Rules.GameName;
    if (Engine.SourceLog.size() > 1)
        signature.Deal = Engine.SourceLog[0] + '\n' + Engine.SourceLog[1];
    signature.SourceLogPos = Engine.SourceLogPos;
    signature.SourceLogSize = Engine.SourceLog.size();
    signature.HistoryPos = Engine.HistoryPos;
    signature.HistorySize = Engine.History.size();
    signature.Points = Engine.Points;
    signature.FoundationCards = Engine.FoundationCards;
    signature.Won = Engine.GameWon;
    return signature;
}

bool THintController::InPlay() const { return !Engine.Rules.GameName.empty() && !Engine.DealBusy; }

bool THintController::Ready() const { return InPlay() && !Engine.LoadingGame() && (!AtRest || AtRest()); }

void THintController::PositionChanging()
{
    HideOutline();
    SettleTimer->stop();
    Worker->Cancel();
    SetThinking(false);
}

void THintController::Watch()
{
    const TSignature now = Signature();
    if (now == Last) {
        if (!Trail.count(now.HistoryPos) && Ready()) {
            RecordTrail(now);
            SettleTimer->start();
        }
        return;
    }
    const bool newDeal = now.Game != Last.Game || now.Deal != Last.Deal || now.SourceLogSize < 3
        || (now.SourceLogPos <= 3 && now.SourceLogSize <= 3);
    Last = now;
    if (!Playing)
        PositionChanging();
    if (newDeal) {
        Trail.clear();
        Known.reset();
        if (!Playing)
            SolvedDeal.clear();
    }
    VerdictText.clear();
    NoteText.clear();
    ShowLabel();
    if (Ready()) {
        RecordTrail(now);
        SettleTimer->start();
    } else {
        // Seen again once the table is at rest.
        Trail.erase(now.HistoryPos);
    }
}

void THintController::RecordTrail(const TSignature& now)
{
    if (now.HistorySize == std::size_t(now.HistoryPos))
        Trail.erase(Trail.upper_bound(now.HistoryPos), Trail.end());
    Trail[now.HistoryPos] = Engine.Snapshot();
}

void THintController::Settled()
{
    if (!Ready() || Signature() != Last || Playing || Thinking_)
        return;
    const TPositionSnapshot snapshot = Engine.Snapshot();
    if (snapshot.Won)
        return;
    if (!solver::HasAnyMove(solver::MakeSolverGame(Engine.Rules), snapshot)) {
        VerdictText = QStringLiteral("No more moves");
        ShowLabel();
        return;
    }
    if (VerdictOn)
        SolveForVerdict();
}

void THintController::ShowLabel() { Label.setText(NoteText.isEmpty() ? VerdictText : NoteText); }

void THintController::SetThinking(bool on)
{
    if (on == Thinking_)
        return;
    Thinking_ = on;
    if (on)
        Table.setCursor(Qt::BusyCursor);
    else
        Table.unsetCursor();
}

void THintController::Remember(const TSignature& at, const solver::TSolveResult& result)
{
    if (result.Verdict == solver::TVerdict::Unknown)
        return;
    Known = TKnown{at, result};
    if (VerdictOn && at == Last) {
        VerdictText = VerdictWords(result.Verdict);
        ShowLabel();
    }
}

const solver::TSolveResult* THintController::KnownHere() const
{
    return Known && Known->At == Last && Last == Signature() ? &Known->Result : nullptr;
}

// ---------------------------------------------------------------------------
// The verdict

void THintController::SetShowVerdict(bool on)
{
    VerdictOn = on;
    VerdictText.clear();
    ShowLabel();
    if (on)
        Settled();
}

void THintController::SolveForVerdict()
{
    if (const solver::TSolveResult* known = KnownHere()) {
        Remember(Last, *known);
        return;
    }
    auto result = std::make_shared<solver::TSolveResult>();
    const TSignature at = Last;
    Worker->Submit(
        [result, game = solver::MakeSolverGame(Engine.Rules), snapshot = Engine.Snapshot(),
         milliseconds = VerdictMilliseconds](const std::atomic<bool>& cancel) {
            *result = solver::Solve(game, snapshot, Budget(milliseconds, cancel));
        },
        [this, result, at] {
            if (at == Signature())
                Remember(at, *result);
        });
}

// ---------------------------------------------------------------------------
// The hint

bool THintController::OutlineShown() const { return Overlay_->Showing(); }

void THintController::Hint()
{
    if (Playing || Thinking_)
        return;
    if (OutlineShown()) {
        PlayHint();
        return;
    }
    if (!Ready() || Engine.Snapshot().Won)
        return;
    Last = Signature();
    if (const solver::TSolveResult* known = KnownHere();
        known != nullptr && known->Verdict != solver::TVerdict::Unknown) {
        HintSolved(*known);
        return;
    }
    SolveForHint();
}

void THintController::SolveForHint()
{
    SettleTimer->stop();
    SetThinking(true);
    auto result = std::make_shared<solver::TSolveResult>();
    const TSignature at = Last;
    Worker->Submit(
        [result, game = solver::MakeSolverGame(Engine.Rules), snapshot = Engine.Snapshot(),
         milliseconds = HintMilliseconds](const std::atomic<bool>& cancel) {
            *result = solver::Solve(game, snapshot, Budget(milliseconds, cancel));
        },
        [this, result, at] {
            SetThinking(false);
            if (at != Signature())
                return;
            Remember(at, *result);
            HintSolved(*result);
        });
}

void THintController::HintSolved(const solver::TSolveResult& result)
{
    if (result.Verdict == solver::TVerdict::Winnable && !result.Line.empty()) {
        const int actions = FirstMoveActions(result.Line);
        ShowMove(ShownMove(result.Line.front()),
                 {result.Record.begin(),
                  result.Record.begin() + std::min<std::ptrdiff_t>(actions, std::ptrdiff_t(result.Record.size()))});
        return;
    }
    if (result.Verdict == solver::TVerdict::NotWinnable) {
        OfferUndo();
        return;
    }
    // Nobody knows: the move a player would try first, said to be a guess.
    const solver::TSolverGame game = solver::MakeSolverGame(Engine.Rules);
    const TPositionSnapshot snapshot = Engine.Snapshot();
    const std::optional<solver::TSolverMove> guess = GuessMove(game, snapshot);
    if (!guess) {
        VerdictText = QStringLiteral("No more moves");
        ShowLabel();
        return;
    }
    const solver::TSolverState state(game, snapshot);
    NoteText = QStringLiteral("A guess");
    ShowMove(*guess, solver::RecordOf(state, *guess));
}

void THintController::ShowMove(const solver::TSolverMove& move, std::vector<solver::TRecordAction> record)
{
    const std::vector<TTablePlace> places = CollectPlaces(Engine);
    const QSize size(Engine.Deck().CardWidth, Engine.Deck().CardHeight);
    QRect from;
    QRect to;
    switch (move.Type) {
    case solver::TMoveType::StockDeal:
    case solver::TMoveType::Redeal:
        if (const TTablePlace* stock = FindPlace(places, pkStock, 0))
            from = stock->Base;
        break;
    case solver::TMoveType::Pair:
        if (const TTablePlace* second = FindPlace(places, pkTableau, move.SecondPile))
            to = RunRect(*second, move.SecondIndex, size) & TopRect(*second, size);
        [[fallthrough]];
    case solver::TMoveType::Click:
        if (const TTablePlace* source = SourcePlace(places, move.SourceKind, move.SourcePile))
            from = TopRect(*source, size);
        break;
    case solver::TMoveType::Drag:
        from = DraggedRect(Engine, move, size);
        if (const TTablePlace* target = FindPlace(places, move.TargetKind, move.TargetPile))
            to = TopRect(*target, size);
        break;
    }
    HintRecord = std::move(record);
    const QImage lifted = from.isNull() ? QImage() : Table.SurfaceImage().copy(from);
    Overlay_->ShowHint(from, lifted, to);
    ShowLabel();
    OutlineTimer->start(OutlineMilliseconds);
}

void THintController::HideOutline()
{
    OutlineTimer->stop();
    if (Overlay_->Showing())
        Overlay_->HideHint();
    if (!NoteText.isEmpty()) {
        NoteText.clear();
        ShowLabel();
    }
}

void THintController::PlayHint()
{
    const std::vector<solver::TRecordAction> record = std::move(HintRecord);
    HintRecord.clear();
    PositionChanging();
    for (const solver::TRecordAction& action : record)
        Engine.MakeMove(action.Kind, action.Pile, action.DropPoint, action.Position);
}
