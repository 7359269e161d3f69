// Keyboard play: moving the focus, and pressing and releasing cards as the
// left button does, so that the engine cannot tell keys from the mouse.
#include "shell/KeyboardPlay.h"

#include "cardtable/CardTable.h"
#include "catalogue/LayoutConstants.h"
#include "engine/Engine.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>

namespace {

bool FannedKind(int kind) { return kind == pkTableau || kind == pkReserve || kind == pkExcept; }

} // namespace

TKeyboardPlay::TKeyboardPlay(TEngine& engine, TCardTable& table) : Engine(engine), Table(table)
{
    qApp->installEventFilter(this);
}

TKeyboardPlay::~TKeyboardPlay()
{
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
}

bool TKeyboardPlay::Lifted() const { return Table.KeyLifted(); }

void TKeyboardPlay::CancelLift()
{
    Table.CancelLifted();
    Lift = {};
    ShowFocus();
}

std::vector<TTablePlace> TKeyboardPlay::Places() const { return CollectPlaces(Engine, Lifted() ? Lift : TLiftedRun{}); }

int TKeyboardPlay::FocusIndex() const
{
    const std::vector<TTablePlace> places = Places();
    for (std::size_t i = 0; i < places.size(); ++i)
        if (places[i].Kind == Focus_.Kind && places[i].Pile == Focus_.Pile)
            return int(i);
    return -1;
}

int TKeyboardPlay::FocusedCardIndex(const TTablePlace& place) const
{
    if (place.Cards.empty())
        return -1;
    const auto it = std::find(place.Cards.begin(), place.Cards.end(), Focus_.Card);
    if (Focus_.Card != nullptr && it != place.Cards.end())
        return int(it - place.Cards.begin());
    return int(place.Cards.size()) - 1;
}

TCard* TKeyboardPlay::FocusedCard(const TTablePlace& place) const
{
    const int index = FocusedCardIndex(place);
    return index < 0 ? nullptr : place.Cards[std::size_t(index)];
}

// A new deal (another game or another seed) starts with the focus on the
// first place and no ring until a key asks for it.
void TKeyboardPlay::FollowDeal()
{
    std::string signature;
    for (std::size_t i = 0; i < std::min<std::size_t>(2, Engine.SourceLog.size()); ++i)
        signature += Engine.SourceLog[i] + '\n';
    if (signature == DealSignature && FocusIndex() >= 0)
        return;
    const bool sameDeal = signature == DealSignature;
    DealSignature = signature;
    const std::vector<TTablePlace> places = Places();
    Focus_ = {};
    if (!places.empty())
        Focus_ = {places.front().Kind, places.front().Pile, nullptr};
    if (!sameDeal) {
        RingOn = false;
        Table.ClearKeyFocus();
    }
}

bool TKeyboardPlay::KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if ((MayPlay && !MayPlay()) || !Engine.GameInPlay() || Engine.DealBusy)
        return false;
    if (modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier))
        return false;
    FollowDeal();
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // The first key of a deal only shows where the focus is.
        if (RingOn)
            Navigate(key, modifiers);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (RingOn)
            PressOrDrop();
        break;
    case Qt::Key_F:
        if (RingOn && !Lifted())
            SendToFoundation();
        break;
    case Qt::Key_A:
        if (Lifted())
            CancelLift();
        if (OnAutomoves)
            OnAutomoves();
        break;
    case Qt::Key_Escape:
        if (!Lifted())
            return false;
        CancelLift();
        break;
    default:
        return false;
    }
    RingOn = true;
    ShowFocus();
    Announce();
    return true;
}

void TKeyboardPlay::Navigate(int key, Qt::KeyboardModifiers modifiers)
{
    const std::vector<TTablePlace> places = Places();
    if (places.empty())
        return;
    const int count = int(places.size());
    const int here = std::max(0, FocusIndex());
    switch (key) {
    case Qt::Key_Left:
        MoveToPlace((here + count - 1) % count);
        break;
    case Qt::Key_Right:
        MoveToPlace((here + 1) % count);
        break;
    case Qt::Key_Home:
        MoveToPlace(0);
        break;
    case Qt::Key_End:
        MoveToPlace(count - 1);
        break;
    case Qt::Key_Up:
        MoveAlongFan(-1);
        break;
    case Qt::Key_Down:
        MoveAlongFan(1);
        break;
    case Qt::Key_Tab:
        CycleGroup((modifiers & Qt::ShiftModifier) ? -1 : 1);
        break;
    case Qt::Key_Backtab:
        CycleGroup(-1);
        break;
    default:
        break;
    }
}

void TKeyboardPlay::MoveToPlace(int index)
{
    const std::vector<TTablePlace> places = Places();
    if (index < 0 || index >= int(places.size()))
        return;
    const TTablePlace& place = places[std::size_t(index)];
    Focus_ = {place.Kind, place.Pile, nullptr};
    if (Lifted())
        ShowLiftOver(place);
}

// Up goes into the fan, card by card where a run may start; past the last
// such card it goes on to the place above. Down comes back out of the fan
// to the top card and then on to the place below.
void TKeyboardPlay::MoveAlongFan(int direction)
{
    const std::vector<TTablePlace> places = Places();
    const int here = FocusIndex();
    if (here < 0)
        return;
    const TTablePlace& place = places[std::size_t(here)];
    if (!Lifted() && FannedKind(place.Kind) && place.Cards.size() > 1) {
        const std::vector<int> starts = RunStarts(place.Cards, Engine.Draggables);
        const int current = FocusedCardIndex(place);
        const int top = int(place.Cards.size()) - 1;
        int next = -1;
        if (direction < 0) {
            for (const int s : starts)
                if (s < current)
                    next = s;
        } else {
            for (const int s : starts) {
                if (s > current) {
                    next = s;
                    break;
                }
            }
            if (next < 0 && current < top)
                next = top;
        }
        if (next >= 0) {
            Focus_.Card = next == top ? nullptr : place.Cards[std::size_t(next)];
            return;
        }
    }
    std::vector<QRect> bases;
    for (const TTablePlace& p : places)
        bases.push_back(p.Base);
    const int target = PlaceInDirection(bases, here, direction);
    if (target >= 0)
        MoveToPlace(target);
}

void TKeyboardPlay::CycleGroup(int direction)
{
    const std::vector<TTablePlace> places = Places();
    const int here = FocusIndex();
    if (here < 0)
        return;
    constexpr int groupCount = 4;
    const int current = int(GroupOf(places[std::size_t(here)].Kind));
    for (int step = 1; step < groupCount; ++step) {
        const int group = ((current + direction * step) % groupCount + groupCount) % groupCount;
        for (std::size_t i = 0; i < places.size(); ++i) {
            if (int(GroupOf(places[i].Kind)) == group) {
                MoveToPlace(int(i));
                return;
            }
        }
    }
}

int TKeyboardPlay::DropIndexFor(const TTablePlace& place) const
{
    if (!place.Drop)
        return -1;
    const auto it = std::find(Engine.DropPoints.begin(), Engine.DropPoints.end(), *place.Drop);
    return it == Engine.DropPoints.end() ? -1 : int(it - Engine.DropPoints.begin());
}

// Where the lifted card is shown over a place: where it would settle.
QPoint TKeyboardPlay::LandingPoint(const TTablePlace& place) const
{
    if (place.Kind == pkTableau && !place.Cards.empty()) {
        const TCard* top = place.Cards.back();
        const QPoint step = Engine.Rules.TableauRules.Contains(roFanSideways)
            ? QPoint(TLayoutConstants::SidewaysFanStep, 0)
            : QPoint(0, Engine.FanStep);
        return QPoint(top->X, top->Y) + step;
    }
    if (place.Drop)
        return *place.Drop;
    return place.Base.topLeft();
}

void TKeyboardPlay::ShowLiftOver(const TTablePlace& place)
{
    const bool own = place.Kind == Lift.Kind && place.Pile == Lift.Pile;
    const QPoint at = own ? LiftHome : LandingPoint(place);
    Table.HoverLifted(at.x(), at.y(), own ? -1 : DropIndexFor(place));
}

void TKeyboardPlay::PressOrDrop()
{
    const std::vector<TTablePlace> places = Places();
    const int here = FocusIndex();
    if (here < 0)
        return;
    const TTablePlace& place = places[std::size_t(here)];
    if (Lifted()) {
        Table.ReleaseLifted(place.Kind == Lift.Kind && place.Pile == Lift.Pile);
        Lift = {};
        Focus_.Card = nullptr;
        return;
    }
    TCard* card = FocusedCard(place);
    if (card == nullptr) {
        // An empty stock with a redeal on offer: the key stands for the button.
        if (place.Kind == pkStock && Engine.RedealOffered && OnRedeal)
            OnRedeal();
        return;
    }
    const int index = FocusedCardIndex(place);
    std::vector<TCard*> followers;
    if (place.Kind == pkTableau)
        followers.assign(place.Cards.begin() + index + 1, place.Cards.end());
    const QPoint home(card->X, card->Y);
    if (Table.PressByKey(card, followers)) {
        Lift = {place.Kind, place.Pile, place.Kind == pkStock ? 0 : index};
        LiftHome = home;
        ShowLiftOver(place);
    }
}

// The move players make most: the focused card to a foundation that takes it.
void TKeyboardPlay::SendToFoundation()
{
    const std::vector<TTablePlace> places = Places();
    const int here = FocusIndex();
    if (here < 0)
        return;
    TCard* card = FocusedCard(places[std::size_t(here)]);
    int sourceKind = 0;
    TPilePos source;
    if (card == nullptr || card->Status != 1 || !Engine.LocateCard(card, sourceKind, source))
        return;
    for (const TTablePlace& place : places) {
        if (place.Kind != pkFoundation || DropIndexFor(place) < 0)
            continue;
        const int top = std::max(0, int(Engine.FoundationPiles[std::size_t(place.Pile)].size()) - 1);
        if (!Engine.ValidDrop(card, pkFoundation, TPilePos{place.Pile, top}, sourceKind, source))
            continue;
        const TTablePlace& from = places[std::size_t(here)];
        const int index = FocusedCardIndex(from);
        std::vector<TCard*> followers;
        if (from.Kind == pkTableau)
            followers.assign(from.Cards.begin() + index + 1, from.Cards.end());
        if (!Table.PressByKey(card, followers))
            return;
        Lift = {from.Kind, from.Pile, index};
        LiftHome = QPoint(card->X, card->Y);
        const QPoint at = LandingPoint(place);
        Table.HoverLifted(at.x(), at.y(), DropIndexFor(place));
        Table.ReleaseLifted(false);
        Lift = {};
        Focus_.Card = nullptr;
        return;
    }
    QApplication::beep();
}

void TKeyboardPlay::Refresh()
{
    RefreshPending = false;
    if (Lifted() || !Engine.GameInPlay() || Engine.DealBusy) {
        if (!Engine.GameInPlay())
            Table.ClearKeyFocus();
        return;
    }
    FollowDeal();
    ShowFocus();
}

void TKeyboardPlay::ShowFocus()
{
    if (!RingOn || !Engine.GameInPlay()) {
        Table.ClearKeyFocus();
        return;
    }
    const std::vector<TTablePlace> places = Places();
    const int here = FocusIndex();
    if (here < 0) {
        Table.ClearKeyFocus();
        return;
    }
    const TTablePlace& place = places[std::size_t(here)];
    TCard* card = FocusedCard(place);
    if (card != nullptr && !card->OnTable)
        card = nullptr;
    if (card == nullptr)
        Focus_.Card = nullptr;
    std::vector<TCard*> onTop;
    if (card != nullptr)
        onTop.assign(place.Cards.begin() + FocusedCardIndex(place) + 1, place.Cards.end());
    Table.SetKeyFocus(card, place.Base, onTop);
}

QString TKeyboardPlay::FocusDescription() const
{
    const std::vector<TTablePlace> places = Places();
    const int here = FocusIndex();
    if (here < 0)
        return {};
    const TTablePlace& place = places[std::size_t(here)];
    const bool singleReserve = !Engine.Rules.FreeCells && !Engine.Rules.ReserveAllAvailable;
    return PlaceDescription(place, FocusedCard(place), Engine.Rules.FreeCells, singleReserve,
                            Engine.Deck().StockCount());
}

// Assistive technology hears the focused place whenever it changes.
void TKeyboardPlay::Announce()
{
    const QString text = FocusDescription();
    if (text == Table.accessibleName())
        return;
    Table.setAccessibleName(text);
    QAccessibleEvent event(&Table, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

bool TKeyboardPlay::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // The mouse takes over: what the keys lifted goes back first, and
        // the ring goes until a key asks for it again.
        if (Lifted())
            CancelLift();
        RingOn = false;
        Table.ClearKeyFocus();
        break;
    case QEvent::Shortcut:
        // A command takes over: what the keys lifted goes back first, so
        // nothing else ever meets a half-made move.
        if (Lifted())
            CancelLift();
        break;
    default:
        break;
    }
    const QEvent::Type type = event->type();
    if (RingOn && !RefreshPending
        && (type == QEvent::MouseButtonRelease || type == QEvent::Shortcut || type == QEvent::KeyRelease)) {
        // The mouse or a command may have moved the focused cards or dealt
        // anew: the ring follows its pile once they are done.
        RefreshPending = true;
        QTimer::singleShot(0, this, [this] { Refresh(); });
    }
    return QObject::eventFilter(watched, event);
}
