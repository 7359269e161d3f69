// Drops and clicks: the player's actions become moves of the pile arrays and
// of the cards on the table, each recorded once in the game record and in
// the history, and scored by the cue it plays.
#include "engine/Engine.h"

#include "cardtable/CardTable.h"
#include "catalogue/PlayRules.h"
#include "engine/Snapshot.h"
#include "platform/Trace.h"

#include <QApplication>
#include <QMouseEvent>

#include <algorithm>
#include <array>

namespace {


int TopIndex(const TPile& pile)
{
    return static_cast<int>(pile.size()) - 1;
}

// An emptied tableau pile or foundation keeps one empty slot.
void CutPile(TPile& pile, int at)
{
    pile.resize(static_cast<std::size_t>(std::max(0, at)));
    if (pile.empty())
        pile.push_back(nullptr);
}

void Append(TPile& pile, TCard* card)
{
    if (!pile.empty() && !pile.back() && pile.size() == 1)
        pile[0] = card;
    else
        pile.push_back(card);
}

} // namespace

bool TEngine::FindSource(TCard* card, int& kind, TPilePos& pos) const
{
    for (std::size_t i = 0; i < ExceptPiles.size(); ++i) {
        if (!ExceptPiles[i].empty() && ExceptPiles[i].back() == card) {
            kind = pkExcept;
            pos = {static_cast<int>(i), TopIndex(ExceptPiles[i])};
            return true;
        }
    }
    if (!ReserveCards.empty()) {
        // Every card of a fanned reserve, of free cells or of a reserve whose
        // cards are all available is recognised, not only the top one.
        const bool anyCard = Rules.ReserveFanned || Rules.FreeCells || Rules.ReserveAllAvailable;
        for (int i = TopIndex(ReserveCards); i >= 0; --i) {
            if (ReserveCards[static_cast<std::size_t>(i)] == card && (anyCard || i == TopIndex(ReserveCards))) {
                kind = pkReserve;
                const int pile = (Rules.FreeCells || Rules.ReserveAllAvailable) ? i : TopIndex(ReserveCards);
                pos = {pile, i};
                return true;
            }
        }
    }
    if (!WasteCards.empty() && WasteCards.back() == card) {
        kind = pkWaste;
        pos = {TopIndex(WasteCards), TopIndex(WasteCards)};
        return true;
    }
    if (Table.FromStock() && Table.DraggedCard() == card) {
        kind = pkStock;
        pos = {0, 0};
        return true;
    }
    if (Rules.FoundationRules.Contains(roTakeFromFoundation)) {
        for (std::size_t i = 0; i < FoundationPiles.size(); ++i) {
            if (FoundationPiles[i].back() == card) {
                kind = pkFoundation;
                pos = {static_cast<int>(i), TopIndex(FoundationPiles[i])};
                return true;
            }
        }
    }
    for (std::size_t i = 0; i < TableauPiles.size(); ++i) {
        const TPile& pile = TableauPiles[i];
        for (int j = TopIndex(pile); j >= 0; --j) {
            if (pile[static_cast<std::size_t>(j)] == card) {
                kind = pkTableau;
                pos = {static_cast<int>(i), j};
                return true;
            }
        }
    }
    return false;
}

bool TEngine::FindTarget(QPoint point, int& kind, TPilePos& pos) const
{
    if (Rules.FreeCells) {
        for (std::size_t i = 0; i < ReserveCards.size(); ++i) {
            if (!ReserveCards[i] && CellPosition(static_cast<int>(i)) == point) {
                kind = pkReserve;
                pos = {static_cast<int>(i), 0};
                return true;
            }
        }
    }
    if (!Rules.FoundationRules.Contains(roNotDropTarget)) {
        for (std::size_t i = 0; i < FoundationPiles.size(); ++i) {
            QPoint p = Rules.FoundationPositions.at(i);
            const TCard* top = FoundationPiles[i].back();
            if (Rules.FoundationRules.Contains(roFoundationSideways) && top)
                p.setX(top == Table.DraggedCard() ? Table.DraggedFrom().x() : top->X);
            if (p == point) {
                kind = pkFoundation;
                pos = {static_cast<int>(i), TopIndex(FoundationPiles[i])};
                return true;
            }
        }
    }
    if (!Rules.TableauRules.Contains(roNotDropTarget)) {
        for (std::size_t i = 0; i < TableauPiles.size(); ++i) {
            const TCard* top = TableauPiles[i].back();
            // The card being dropped is still its pile's top, but it lies
            // wherever it was let go; its pile's drop point is where it came from.
            QPoint p = top ? QPoint(top->X, top->Y) : Rules.TableauPositions.at(i);
            if (top != nullptr && top == Table.DraggedCard())
                p = Table.DraggedFrom();
            if (p == point) {
                kind = pkTableau;
                pos = {static_cast<int>(i), TopIndex(TableauPiles[i])};
                return true;
            }
        }
    }
    return false;
}

// Redo replays the record in place: the entry it logs is the one it is
// replaying, so it only steps over it, and the tails of the record and the
// history stay for the next redo. Copying them for every action made long
// games quadratic.
void TEngine::LogSource(int kind, int pile, int position, int dropPoint)
{
    if (Replay && SourceLogPos + 4 <= static_cast<int>(SourceLog.size())) {
        SourceLogPos += 4;
        return;
    }
    if (!Replay && static_cast<int>(SourceLog.size()) != SourceLogPos)
        HistoryChanged();
    SourceLog.resize(static_cast<std::size_t>(SourceLogPos));
    for (const int value : {kind, pile, position, dropPoint})
        SourceLog.push_back(std::to_string(value));
    SourceLogPos = static_cast<int>(SourceLog.size());
}

void TEngine::AppendHistory(int kind, int pile, int reference, int position)
{
    const std::array<int, 4> values{kind, pile, reference, position};
    if (Replay && HistoryPos + 4 <= static_cast<int>(History.size())) {
        for (std::size_t k = 0; k < values.size(); ++k)
            History[static_cast<std::size_t>(HistoryPos) + k] = std::to_string(values[k]);
        HistoryPos += 4;
        return;
    }
    History.resize(static_cast<std::size_t>(HistoryPos));
    for (const int value : values)
        History.push_back(std::to_string(value));
    HistoryPos = static_cast<int>(History.size());
}

void TEngine::Refuse()
{
    Sound("undo.wav", 1, 100);
    if (Table.DraggedCard())
        Table.RestoreCard();
}

void TEngine::CardRestoredEvent()
{
    Sound("drop0.wav", 1, 100);
}

void TEngine::CardDropEvent(TCard* card, int /*x*/, int /*y*/, int /*relX*/, int /*relY*/, int index)
{
    int sourceKind = 0;
    TPilePos source;
    if (!card || !FindSource(card, sourceKind, source)) {
        // A card the engine does not hold cannot be moved; nothing is logged.
        if (Table.DraggedCard())
            Table.RestoreCard();
        return;
    }
    LogSource(sourceKind, source.Pile, source.Index, index);
    if (index < 0 || index >= static_cast<int>(DropPoints.size())) {
        Refuse();
        return;
    }
    const QPoint drop = DropPoints[static_cast<std::size_t>(index)];
    int targetKind = 0;
    TPilePos target;
    if (!FindTarget(drop, targetKind, target)) {
        Refuse();
        return;
    }
    const TRuleOptions& t = Rules.TableauRules;
    const bool multi = t.Contains(roMoveFaceUpGroups) || t.Contains(roMoveWholePile) || t.Contains(roMoveSequences);
    const bool notTop = sourceKind == pkTableau
        && source.Index != TopIndex(TableauPiles[static_cast<std::size_t>(source.Pile)]);
    if (multi && notTop
        && (targetKind == pkReserve
            || (targetKind == pkFoundation && !Rules.FoundationRules.Contains(roFoundationSuitRun)))) {
        Refuse();
        return;
    }
    if (!ValidDrop(card, targetKind, target, sourceKind, source)) {
        Refuse();
        return;
    }
    if (targetKind == pkTableau && multi && sourceKind == pkTableau)
        RunMove(card, source, target, drop);
    else
        SingleMove(card, sourceKind, source, targetKind, target, drop);
    SetLists();
    WinTest(false);
}

void TEngine::RunMove(TCard* card, TPilePos source, TPilePos target, QPoint drop)
{
    TPile& from = TableauPiles[static_cast<std::size_t>(source.Pile)];
    TPile& to = TableauPiles[static_cast<std::size_t>(target.Pile)];
    const std::vector<TCard*> run(from.begin() + source.Index, from.end());
    const bool targetEmpty = !to.back();
    const QPoint step = Rules.TableauRules.Contains(roFanSideways)
        ? QPoint(TLayoutConstants::SidewaysFanStep, 0) : QPoint(0, FanStep);
    QPoint at = targetEmpty ? drop : drop + step;
    const int firstPosition = targetEmpty ? 0 : static_cast<int>(to.size());

    Table.DropCard(at.x(), at.y(), true);
    Table.Wait(10);
    Sound("drop.wav", 1, 100);
    const int historyIndex = HistoryPos;
    AppendHistory(pkTableau, target.Pile + 1, -SourceLogPos, firstPosition);
    Append(to, card);
    for (std::size_t k = 1; k < run.size(); ++k) {
        at += step;
        Table.RemoveCard(run[k]);
        Table.PlaceCard(run[k], at.x(), at.y());
        Sound("drop0.wav", 1, 100);
        to.push_back(run[k]);
    }
    TakeFromSource(card, pkTableau, source, historyIndex);
}

// Removes the moved card (and, from a tableau pile, the cards on it) from its
// source pile, turns up a face-down card left on top (marking the history
// entry at `historyIndex`) and refills an emptied pile.
void TEngine::TakeFromSource(TCard* card, int sourceKind, TPilePos source, int historyIndex)
{
    const auto markTurned = [this, historyIndex] {
        if (historyIndex + 1 < static_cast<int>(History.size()))
            History[static_cast<std::size_t>(historyIndex + 1)].insert(0, "-");
    };
    switch (sourceKind) {
    case pkExcept: {
        TPile& pile = ExceptPiles[static_cast<std::size_t>(source.Pile)];
        pile.pop_back();
        if (!pile.empty() && pile.back() && !pile.back()->FaceUp) {
            TurnUp(pile.back());
            markTurned();
        }
        break;
    }
    case pkReserve: {
        const auto it = std::find(ReserveCards.begin(), ReserveCards.end(), card);
        if (it == ReserveCards.end())
            break;
        if (Rules.FreeCells) {
            *it = nullptr;
        } else {
            const int gap = static_cast<int>(it - ReserveCards.begin());
            ReserveCards.erase(it);
            // The later cards close the gap on the table too, so each card of
            // an all-available reserve always lies at its own index's place:
            // undo, replay and a re-layout then agree on every position.
            if (Rules.ReserveAllAvailable)
                LayOutReserveFrom(gap);
        }
        break;
    }
    case pkWaste:
        if (!WasteCards.empty())
            WasteCards.pop_back();
        break;
    case pkStock:
        break;
    case pkTableau: {
        TPile& pile = TableauPiles[static_cast<std::size_t>(source.Pile)];
        CutPile(pile, source.Index);
        TCard* below = pile.back();
        if (below && !below->FaceUp) {
            TurnUp(below);
            markTurned();
        }
        if (!pile.back() && Rules.TableauRules.Contains(roRefillEmpty))
            RefillEmptied(source.Pile);
        break;
    }
    case pkFoundation: {
        TPile& pile = FoundationPiles[static_cast<std::size_t>(source.Pile)];
        CutPile(pile, TopIndex(pile));
        --FoundationCards;
        Points -= 50;
        break;
    }
    default:
        break;
    }
}

void TEngine::SingleMove(TCard* card, int sourceKind, TPilePos source, int targetKind, TPilePos target, QPoint drop)
{
    const TRuleOptions& t = Rules.TableauRules;
    const TRuleOptions& f = Rules.FoundationRules;
    int position = 0;
    if (targetKind == pkFoundation) {
        if (f.Contains(roFoundationSuitRun)) {
            if (sourceKind != pkTableau || !CompleteRunFits(source)) {
                Refuse();
                return;
            }
        }
        const std::size_t fi = static_cast<std::size_t>(target.Pile);
        const bool angledHere = f.Contains(roAngledFoundations) && !Rules.FoundationAngles.empty();
        const float angle = angledHere ? Rules.FoundationAngles.at(fi) : 0.0f;
        QPoint at = Rules.FoundationPositions.at(fi);
        if (f.Contains(roFoundationSideways) && FoundationPiles[fi].back())
            at = QPoint(FoundationPiles[fi].back()->X + TLayoutConstants::SidewaysFanStep, at.y());
        Table.DropCard(at.x(), at.y(), true, angle);
        if (angledHere && Rules.GameName != "The Clock")
            Table.RemoveCard(card);
        if (!Loading)
            Host.StartFlourish(QRect(at.x() - 15, at.y() - 15, Deck().CardWidth + 30, Deck().CardHeight + 30), 0xFFAAFF);
        Sound("success.wav", 1, 100);
        position = FoundationPiles[fi].back() ? static_cast<int>(FoundationPiles[fi].size()) : 0;
    } else if (targetKind == pkTableau && t.Contains(roFanOnDrop) && TableauPiles[static_cast<std::size_t>(target.Pile)].back()) {
        const QPoint step = t.Contains(roFanSideways) ? QPoint(TLayoutConstants::SidewaysFanStep, 0) : QPoint(0, FanStep);
        const QPoint at = drop + step;
        Table.DropCard(at.x(), at.y(), true);
        Sound("drop.wav", 1, 100);
        position = static_cast<int>(TableauPiles[static_cast<std::size_t>(target.Pile)].size());
    } else {
        Table.DropCard(drop.x(), drop.y(), true);
        Sound("drop.wav", 1, 100);
        if (targetKind == pkTableau) {
            const TPile& pile = TableauPiles[static_cast<std::size_t>(target.Pile)];
            position = pile.back() ? static_cast<int>(pile.size()) : 0;
        } else {
            position = target.Pile;
        }
    }

    const int historyIndex = HistoryPos;
    AppendHistory(targetKind, target.Pile + 1, -SourceLogPos, position);

    // The twelve cards of a complete run follow their King; they cannot be taken back.
    std::vector<TCard*> followers;
    if (targetKind == pkFoundation && f.Contains(roFoundationSuitRun)) {
        const TPile& from = TableauPiles[static_cast<std::size_t>(source.Pile)];
        followers.assign(from.begin() + source.Index + 1, from.end());
    }
    TakeFromSource(card, sourceKind, source, historyIndex);

    switch (targetKind) {
    case pkReserve:
        ReserveCards[static_cast<std::size_t>(target.Pile)] = card;
        break;
    case pkFoundation:
        if (Rules.GameName == "The Clock")
            ClockPlacement(card, target.Pile);
        else
            Append(FoundationPiles[static_cast<std::size_t>(target.Pile)], card);
        break;
    case pkTableau:
        Append(TableauPiles[static_cast<std::size_t>(target.Pile)], card);
        break;
    default:
        break;
    }
    if (!followers.empty())
        CompleteRunToFoundation(followers, target);
}

bool TEngine::CompleteRunFits(TPilePos source) const
{
    const TPile& pile = TableauPiles[static_cast<std::size_t>(source.Pile)];
    if (TopIndex(pile) - source.Index + 1 != 13)
        return false;
    const TRuleOptions& f = Rules.FoundationRules;
    for (int k = source.Index + 1; k <= TopIndex(pile); ++k) {
        const TCard* below = pile[static_cast<std::size_t>(k - 1)];
        const TCard* above = pile[static_cast<std::size_t>(k)];
        if (!above || !below || above->Value + 1 != below->Value)
            return false;
        if (f.Contains(roSameSuit) && above->Suit != below->Suit)
            return false;
        if (f.Contains(roAlternateColour) && ((above->Suit == 0 || above->Suit == 3) == (below->Suit == 0 || below->Suit == 3)))
            return false;
    }
    return true;
}

void TEngine::CompleteRunToFoundation(const std::vector<TCard*>& followers, TPilePos target)
{
    const std::size_t fi = static_cast<std::size_t>(target.Pile);
    const QPoint at = Rules.FoundationPositions.at(fi);
    const int speed = Table.CardSpeed();
    Table.SetCardSpeed(speed * 4);
    for (TCard* card : followers) {
        Glide(card, at);
        Sound("success.wav", 1, 100);
        Pause(150);
        FoundationPiles[fi].push_back(card);
    }
    Table.SetCardSpeed(speed);
    History.clear();
    HistoryPos = 0;
}

void TEngine::ReplaceClockPile(int f)
{
    TPile& pile = FoundationPiles[static_cast<std::size_t>(f)];
    const QPoint at = Rules.FoundationPositions.at(static_cast<std::size_t>(f));
    const float angle = Rules.FoundationAngles.size() > static_cast<std::size_t>(f)
        ? Rules.FoundationAngles[static_cast<std::size_t>(f)] : 0.0f;
    for (auto it = pile.rbegin(); it != pile.rend(); ++it)
        if (*it)
            Table.RemoveCard(*it);
    for (TCard* card : pile)
        if (card)
            Table.PlaceCard(card, at.x(), at.y(), angle);
}

// The Clock: a card goes under its pile and the pile's top card turns up; a
// top card that belongs to this pile goes under it too while the pile still
// hides face-down cards.
void TEngine::ClockPlacement(TCard* card, int f)
{
    TPile& pile = FoundationPiles[static_cast<std::size_t>(f)];
    if (!pile.back())
        pile[0] = card;
    else
        pile.insert(pile.begin(), card);
    Pause(300);
    ReplaceClockPile(f);
    Sound("claps.wav", 1, 100);
    const auto bottomHidden = [&pile] {
        for (std::size_t k = 0; k < pile.size() && k < 4; ++k)
            if (pile[k] && !pile[k]->FaceUp)
                return true;
        return false;
    };
    for (std::size_t guard = 0; guard <= pile.size(); ++guard) {
        TCard* top = pile.back();
        if (!top)
            break;
        if (!top->FaceUp) {
            TurnUp(top);
            Table.Sprite.Zoom(top, 30, 0.01f, true);
        }
        if (top->Value != f)
            break;
        Table.RemoveCard(top);
        Sound("success.wav", 1, 100);
        Pause(300);
        if (!bottomHidden())
            break;
        pile.pop_back();
        pile.insert(pile.begin(), top);
        ReplaceClockPile(f);
        Sound("claps.wav", 1, 100);
    }
}

void TEngine::RefillEmptied(int p)
{
    const bool reserveHasCard = std::any_of(ReserveCards.begin(), ReserveCards.end(), [](const TCard* c) { return c; });
    const int kind = playrules::RefillSource(Rules.TableauRules, reserveHasCard, StockCount() > 0, !WasteCards.empty());
    if (kind < 0)
        return;
    Pause(500);
    TCard* card = nullptr;
    if (kind == pkReserve) {
        const auto last = std::find_if(ReserveCards.rbegin(), ReserveCards.rend(), [](const TCard* c) { return c; });
        card = *last;
        if (Rules.FreeCells)
            *last = nullptr; // cells keep their places
        else
            ReserveCards.erase(std::next(last).base());
    } else if (kind == pkWaste) {
        card = WasteCards.back();
        WasteCards.pop_back();
    } else {
        card = Table.NextCard();
        if (!card)
            return;
        TurnUp(card);
    }
    Glide(card, Rules.TableauPositions.at(static_cast<std::size_t>(p)));
    TurnUp(card);
    TableauPiles[static_cast<std::size_t>(p)][0] = card;
    AppendHistory(kind, p + 1, 102, 0);
    Sound("drop.wav", 1, 100);
}

// The Clock never gathers its cards on the foundations by count: every move
// takes a card off one foundation and puts it under another. It is solved
// when every card lies face up on the foundation of its rank.
bool TEngine::ClockSolved() const
{
    if (!Rules.FoundationRules.Contains(roClockInsert) || FoundationPiles.empty())
        return false;
    int cards = 0;
    for (std::size_t f = 0; f < FoundationPiles.size(); ++f) {
        for (const TCard* card : FoundationPiles[f]) {
            if (!card || !card->FaceUp || card->Value != static_cast<int>(f))
                return false;
            ++cards;
        }
    }
    return cards == Deck().Count();
}

void TEngine::WinTest(bool fromClick)
{
    if (GameWon)
        return;
    const bool firstFourHeld = TableauPiles.size() >= 4
        && std::all_of(TableauPiles.begin(), TableauPiles.begin() + 4, [](const TPile& p) { return p[0] != nullptr; });
    if (!playrules::GameWon(Rules, playrules::PlayGame(Rules), FoundationCards, ClockSolved(), firstFourHeld))
        return;
    Draggables.assign(1, nullptr);
    Table.SetDragCards(Draggables);
    Host.ProcessPendingMessages();
    platform::Trace(fromClick ? "Game has been won. CardClick event." : "Game has been won.");
    Host.RunWinAnimation();
    GameWon = true;
    if (Host.ScoringOn()) {
        platform::Trace("Updating stats after game won.");
        Host.RecordGameResult(Rules.GameName, SaveName, true, Points);
        platform::Trace("Stats updated.");
    }
    platform::Trace("CloseGame being called.");
    CloseGame();
    platform::Trace("Game Finished.");
    platform::Trace("");
}

bool TEngine::CardAtPosition(int kind, int pile, int position, TCard*& card) const
{
    const auto inPile = [&card](const TPile& p, int index) {
        if (index < 0 || index >= static_cast<int>(p.size()))
            return false;
        card = p[static_cast<std::size_t>(index)];
        return card != nullptr;
    };
    const auto inPiles = [&](const std::vector<TPile>& piles) {
        return pile >= 0 && pile < static_cast<int>(piles.size()) && inPile(piles[static_cast<std::size_t>(pile)], position);
    };
    switch (kind) {
    case pkReserve:
        return inPile(ReserveCards, position) || inPile(ReserveCards, pile);
    case pkTableau:
        return inPiles(TableauPiles);
    case pkFoundation:
        return inPiles(FoundationPiles);
    case pkWaste:
        return inPile(WasteCards, position);
    case pkExcept:
        return inPiles(ExceptPiles);
    default:
        return false;
    }
}

void TEngine::MakeMove(int kind, int pile, int dropPoint, int position)
{
    if (platform::TraceActive()) {
        static const char* const names[] = {"MakeMove: Stock ", "MakeMove: Reserve ", "MakeMove: Tableau ",
            "MakeMove: Foundation", "MakeMove: WastePile ", "MakeMove: ExceptPile ", "MakeMove: DeckClick",
            "MakeMove: ResetClick "};
        if (kind >= 0 && kind <= 7)
            platform::Trace(std::string(names[kind]) + std::to_string(pile) + " " + std::to_string(position) + " "
                            + std::to_string(dropPoint));
    }
    if (kind == pkStockDeal) {
        if (StockCount() > 0)
            StockClick();
    } else if (kind == pkRedeal) {
        Redeal();
    } else if (kind >= pkStock && kind <= pkExcept) {
        QPoint press;
        TCard* card = nullptr;
        if (kind == pkStock) {
            if (StockCount() == 0)
                return;
            // The press goes where the stock is drawn, whatever the layout.
            press = QPoint(Deck().StockX, Deck().StockY);
        } else {
            if (!CardAtPosition(kind, pile, position, card) || !card->OnTable)
                return;
            press = QPoint(card->X, card->Y);
            if (kind == pkTableau && Rules.TableauRules.Contains(roFanUpward))
                press += QPoint(Deck().CardWidth - 1, Deck().CardHeight - 1);
        }
        QMouseEvent down(QEvent::MouseButtonPress, QPointF(press), QPointF(press), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&Table, &down);
        if (!Rules.TableauRules.Contains(roNoDragAndDrop)) {
            TCard* dragged = Table.DraggedCard();
            if (dragged) {
                if (platform::TraceActive())
                    platform::Trace("MakeMove calls CardDropEvent: " + CardText(dragged, false) + " " + std::to_string(dropPoint));
                CardDropEvent(dragged, press.x(), press.y(), 0, 0, dropPoint);
            }
        }
    }
    if (Table.DraggedCard())
        Table.RestoreCard();
    SetLists();
}

void TEngine::CardClickEvent(TCard* card, int button)
{
    if (DealBusy || !card)
        return;
    const bool clickPlay = Rules.TableauRules.Contains(roNoDragAndDrop);
    Host.SetCommandEnabled(TEngineCommand::Toolbar, false);
    Table.setEnabled(false);
    const bool slowRegion = Table.SlowMoveRegion();
    Table.SetSlowMoveRegion(false);
    if (button == 0 && card->Status == 0 && !clickPlay) {
        if (StockCount() > 0)
            StockClick();
    } else if (clickPlay && button == 0 && card->Status != 0) {
        PairClick(card);
    } else if (button == 0 && card->FaceUp) {
        Sound("drag.wav", 1, 100);
    } else if (button == 1 && card->FaceUp) {
        Sound("claps.wav", 1, 100);
        Table.Sprite.Zoom(card, 450, 0.01, true);
    }
    Table.SetSlowMoveRegion(slowRegion);
    Table.setEnabled(true);
    Host.SetCommandEnabled(TEngineCommand::Toolbar, true);
}

void TEngine::StockClick()
{
    LogSource(pkStockDeal, 0, 0, 0);
    // Dealt cards settle where they belong, not lifted by the drag offset.
    const bool liftOffset = Table.LiftOffset();
    Table.SetLiftOffset(false);
    StockDeal();
    Table.SetLiftOffset(liftOffset);
}

void TEngine::StockDeal()
{
    const bool anyEmpty = std::any_of(TableauPiles.begin(), TableauPiles.end(), [](const TPile& p) { return !p.back(); });
    switch (playrules::StockDealKind(Rules, playrules::PlayGame(Rules), anyEmpty)) {
    case playrules::TStockDeal::Refused:
        Host.Beep();
        return;
    case playrules::TStockDeal::ToTableauPiles:
        DealToTableauPiles();
        break;
    case playrules::TStockDeal::ToFoundation:
        OneFoundationDeal();
        return;
    case playrules::TStockDeal::ToWaste:
        TurnToWaste();
        break;
    }
    SetLists();
    if (StockCount() == 0) {
        ++PassesDone;
        if (playrules::RedealOffered(Rules, PassesDone))
            SetRedeal(true);
    }
}

void TEngine::DealToTableauPiles()
{
    const int n = std::min(StockCount(), static_cast<int>(TableauPiles.size()));
    const TRuleOptions& t = Rules.TableauRules;
    for (int i = 0; i < n; ++i) {
        TCard* card = Table.NextCard();
        if (!card)
            break;
        TPile& pile = TableauPiles[static_cast<std::size_t>(i)];
        QPoint at = Rules.TableauPositions.at(static_cast<std::size_t>(i));
        if (pile.back() && !t.Contains(roSquared)) {
            const TCard* top = pile.back();
            at = t.Contains(roFanSideways) ? QPoint(top->X + TLayoutConstants::SidewaysFanStep, top->Y)
                                           : QPoint(top->X, top->Y + FanStep);
        }
        Glide(card, at);
        TurnUp(card);
        Sound("drop0.wav", 1, 100);
        Table.Wait(25);
        const int position = pile.back() ? static_cast<int>(pile.size()) : 0;
        Append(pile, card);
        AppendHistory(pkTableau, i + 1, i == 0 ? -SourceLogPos : i + 1, position);
    }
}

void TEngine::TurnToWaste()
{
    const bool burleigh = playrules::PlayGame(Rules).Burleigh;
    const int n = playrules::CardsTurned(Rules, StockCount());
    const bool lift = Table.TurnOverAnimationLift();
    const int turnSpeed = Table.TurnOverAnimationSpeed();
    Table.SetTurnOverAnimationLift(false);
    Table.SetTurnOverAnimationSpeed(0);
    const QPoint waste = WastePositionNow();
    if (burleigh)
        StockEndsBeforeDeal.emplace_back(StockFromTop, LastDealt);
    for (int i = 0; i < n; ++i) {
        TCard* card = nullptr;
        if (burleigh) {
            if (!WasteCards.empty() && WasteCards.back() == LastDealt)
                StockFromTop = !StockFromTop;
            if (StockFromTop) {
                card = Table.NextCard();
            } else {
                Sound("drop0.wav", 1, 100);
                Table.Wait(25);
                card = Table.TakeCardFromDeck(StockCount(), Deck().StockX, Deck().StockY);
                SourceLog[static_cast<std::size_t>(SourceLogPos - 2)] = "1";
            }
        } else {
            card = Table.NextCard();
        }
        if (!card)
            break;
        LastDealt = card;
        Glide(card, waste);
        TurnUp(card);
        Sound("drop0.wav", 1, 100);
        Table.Wait(25);
        WasteCards.push_back(card);
        AppendHistory(pkWaste, 1, i == 0 ? -SourceLogPos : i + 1, static_cast<int>(WasteCards.size()) - 1);
    }
    Table.SetTurnOverAnimationLift(lift);
    Table.SetTurnOverAnimationSpeed(turnSpeed);
}

void TEngine::OneFoundationDeal()
{
    const int n = playrules::CardsTurned(Rules, StockCount());
    const bool lift = Table.TurnOverAnimationLift();
    const int turnSpeed = Table.TurnOverAnimationSpeed();
    Table.SetTurnOverAnimationLift(false);
    Table.SetTurnOverAnimationSpeed(0);
    for (int i = 0; i < n && !FoundationPiles.empty(); ++i) {
        TCard* card = Table.NextCard();
        if (!card)
            break;
        const QPoint at = Rules.FoundationPositions.at(0);
        Glide(card, at);
        TurnUp(card);
        if (!Loading)
            Host.StartFlourish(QRect(at.x() - 15, at.y() - 15, Deck().CardWidth + 30, Deck().CardHeight + 30), 0xFFAAFF);
        Sound("success.wav", 1, 100);
        if (!Rules.FoundationAngles.empty())
            Table.RotateCard(card, Rules.FoundationAngles[0]);
        TPile& pile = FoundationPiles[0];
        const int position = pile.back() ? static_cast<int>(pile.size()) : 0;
        Append(pile, card);
        AppendHistory(pkFoundation, 1, i == 0 ? -SourceLogPos : i + 1, position);
    }
    Table.SetTurnOverAnimationLift(lift);
    Table.SetTurnOverAnimationSpeed(turnSpeed);
    SetLists();
    if (StockCount() == 0)
        ++PassesDone;
    WinTest(true);
}

QPoint TEngine::WastePositionNow() const
{
    if (Rules.DeckRules.Contains(roWasteAltPosition)) {
        if (Rules.DeckRules.Contains(roDeckAtPosition))
            return Rules.WastePosition;
        return {Layout.AltWasteX, Layout.AltWasteY};
    }
    return {Layout.WasteX, Layout.WasteY};
}
