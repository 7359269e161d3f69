// Undo walks the history backwards; redo replays game-record entries through
// MakeMove. A history entry is four strings: target kind, target pile + 1
// (negative when the move turned a card up), a reference, the position.
// References: negative = minus the record's end in the game record; 1..100 =
// the running number of a card within one action; above 100 = 100 + the
// number of entries one undo takes together (a refill and its move).
#include "engine/Engine.h"
#include "persistence/SourceLogFile.h"

#include "cardtable/CardTable.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

int IntAt(const std::vector<std::string>& list, int index)
{
    if (index < 0 || index >= static_cast<int>(list.size()))
        return 0;
    return std::atoi(list[static_cast<std::size_t>(index)].c_str());
}

} // namespace

void TEngine::HistoryChanged()
{
    SourceLog.resize(static_cast<std::size_t>(std::min<int>(SourceLogPos, static_cast<int>(SourceLog.size()))));
    History.resize(static_cast<std::size_t>(std::min<int>(HistoryPos, static_cast<int>(History.size()))));
    if (Replay)
        return;
    Points = -666;
    if (Host.ScoringOn()) {
        UpdatePointsLabel();
        if (!GameWon)
            Host.RecordGameResult(Rules.GameName, SaveName, false, Points);
    }
    CloseGame();
    SetUndoRedo(UndoEnabled, false);
}

void TEngine::CloseGame()
{
    if (SourceLog.size() > 2)
        SourceLog[2].assign(1, '0');
    // The saved file is closed too, so the same position is never counted twice.
    if (!SaveName.empty())
        CloseSavedGameFile(SaveName);
    SetCaption(true);
}

void TEngine::FindRecord(int reference, int& kind, int& pile, int& position) const
{
    const int end = std::abs(reference);
    kind = IntAt(SourceLog, end - 4);
    pile = IntAt(SourceLog, end - 3);
    position = IntAt(SourceLog, end - 2);
}

void TEngine::Undo()
{
    if (HistoryPos < 4 || Rules.FoundationRules.Contains(roNoUndo))
        return;
    Host.SetCommandEnabled(TEngineCommand::Toolbar, false);
    // The highlight saved the pixels under it; cards are about to move there.
    if (SelectedCard && Table.Sprite.Shown) {
        Table.Sprite.Hide();
        SelectedCard = nullptr;
    }
    GameWon = false;
    Host.StopFlourish();
    Sound("drag.wav", 1, 100);

    const int newestReference = IntAt(History, HistoryPos - 2);
    int count = 1;
    if (newestReference > 100)
        count = newestReference - 100;
    else if (newestReference >= 0)
        count = newestReference;
    const bool slowRegion = Table.SlowMoveRegion();
    Table.SetSlowMoveRegion(false);
    for (int e = 0; e < count && HistoryPos >= 4; ++e) {
        const int kind = IntAt(History, HistoryPos - 4);
        int pile = IntAt(History, HistoryPos - 3);
        const int reference = IntAt(History, HistoryPos - 2);
        const int position = IntAt(History, HistoryPos - 1);
        int sourceKind = pkStockDeal;
        int targetKind = kind;
        TPilePos sourcePos;
        bool stockBottom = false;
        if (e == 0 && reference > 100) {
            sourceKind = kind;
            targetKind = pkTableau;
            // A card going back to the reserve goes after its last card.
            const int after = static_cast<int>(ReserveCards.size());
            sourcePos = {after, after};
        } else if (reference < 0) {
            int recordPile = 0;
            int recordPosition = 0;
            FindRecord(reference, sourceKind, recordPile, recordPosition);
            sourcePos = {recordPile, recordPosition};
            stockBottom = sourceKind == pkStockDeal && recordPosition == 1;
        } else {
            // A later card of a multi-card deal: its record is found through
            // the first card's entry, which still follows in this undo.
            for (int back = HistoryPos - 4 - 4 + 2; back >= 0; back -= 4) {
                const int r = IntAt(History, back);
                if (r < 0) {
                    int k = 0;
                    int p = 0;
                    int q = 0;
                    FindRecord(r, k, p, q);
                    stockBottom = k == pkStockDeal && q == 1;
                    break;
                }
            }
        }
        const bool turned = pile < 0;
        pile = std::abs(pile);
        if (turned) {
            const TPile* source = nullptr;
            if (sourceKind == pkExcept && sourcePos.Pile < static_cast<int>(ExceptPiles.size()))
                source = &ExceptPiles[static_cast<std::size_t>(sourcePos.Pile)];
            else if (sourcePos.Pile >= 0 && sourcePos.Pile < static_cast<int>(TableauPiles.size()))
                source = &TableauPiles[static_cast<std::size_t>(sourcePos.Pile)];
            if (source && !source->empty())
                TurnDown(source->back());
        }
        if (targetKind == pkFoundation && sourceKind != pkFoundation)
            --FoundationCards;
        // A card going back onto a foundation is a foundation card again.
        if (sourceKind == pkFoundation && targetKind != pkFoundation)
            ++FoundationCards;
        UndoMove(sourceKind, targetKind, turned, {pile - 1, position}, sourcePos, stockBottom);
        if (sourceKind == pkStockDeal && reference < 0 && !StockEndsBeforeDeal.empty()) {
            StockFromTop = StockEndsBeforeDeal.back().first;
            LastDealt = StockEndsBeforeDeal.back().second;
            StockEndsBeforeDeal.pop_back();
        }
        HistoryPos -= 4;
        if (reference < 0 && SourceLogPos >= std::abs(reference) - 3)
            SourceLogPos = std::abs(reference) - 4;
    }
    Table.SetSlowMoveRegion(slowRegion);
    Host.SetCommandEnabled(TEngineCommand::Toolbar, true);
    SetUndoRedo(UndoEnabled, true);
    SetLists();
}

QPoint TEngine::ReturnPoint(int kind, TPilePos pos, bool belowTurnedDown) const
{
    switch (kind) {
    case pkStock:
    case pkStockDeal:
        return StockPosition();
    case pkReserve: {
        int index = pos.Index;
        if (!Rules.FreeCells && !Rules.ReserveAllAvailable)
            index = static_cast<int>(ReserveCards.size());
        return ReserveCardPosition(std::max(0, index));
    }
    case pkFoundation: {
        const std::size_t f = static_cast<std::size_t>(std::max(0, pos.Pile));
        QPoint at = Rules.FoundationPositions.at(f);
        if (Rules.FoundationRules.Contains(roFoundationSideways) && f < FoundationPiles.size() && FoundationPiles[f].back())
            at.setX(FoundationPiles[f].back()->X + TLayoutConstants::SidewaysFanStep);
        return at;
    }
    case pkWaste:
    case pkRedeal:
        return WastePositionNow();
    case pkTableau: {
        const std::size_t p = static_cast<std::size_t>(std::max(0, pos.Pile));
        const TCard* top = TableauPiles.at(p).back();
        if (!top)
            return Rules.TableauPositions.at(p);
        const TRuleOptions& t = Rules.TableauRules;
        if (!t.Contains(roFanOnDrop))
            return {top->X, top->Y};
        int step = t.Contains(roFanSideways) ? TLayoutConstants::SidewaysFanStep : FanStep;
        if (belowTurnedDown)
            step = step >= 0 ? step >> 2 : -((-step) >> 2);
        return t.Contains(roFanSideways) ? QPoint(top->X + step, top->Y) : QPoint(top->X, top->Y + step);
    }
    case pkExcept: {
        const std::size_t i = static_cast<std::size_t>(std::max(0, pos.Pile));
        const QPoint origin = Rules.ExceptPositions.at(i);
        const TPile& pile = ExceptPiles.at(i);
        if (pile.empty() || !pile.back() || !Rules.ExceptPlaced)
            return origin;
        const TCard* top = pile.back();
        return Rules.ExceptSideways ? QPoint(top->X + TLayoutConstants::SidewaysFanStep, top->Y)
                                    : QPoint(top->X, top->Y + FanStep);
    }
    default:
        return StockPosition();
    }
}

void TEngine::UndoMove(int sourceKind, int targetKind, bool turnDown, TPilePos targetPos, TPilePos sourcePos,
                       bool stockBottom)
{
    if (sourceKind == pkRedeal) {
        UndoRedeal();
        return;
    }
    const bool stockWasEmpty = StockCount() == 0;
    // A run returns whole: every card from the entry's position to the top.
    int cards = 1;
    if (sourceKind == pkTableau && (targetKind == pkTableau || targetKind == pkFoundation)) {
        const std::vector<TPile>& piles = targetKind == pkTableau ? TableauPiles : FoundationPiles;
        if (targetPos.Pile >= 0 && targetPos.Pile < static_cast<int>(piles.size()))
            cards = std::max(1, static_cast<int>(piles[static_cast<std::size_t>(targetPos.Pile)].size()) - targetPos.Index);
    }
    for (int k = 0; k < cards; ++k) {
        const QPoint to = ReturnPoint(sourceKind, sourcePos, turnDown && k == 0);
        TCard* card = GetCard(targetKind, targetPos);
        if (!card)
            break;
        Glide(card, to);
        SetCard(card, sourceKind, {sourcePos.Pile, sourcePos.Index + k}, stockBottom);
    }
    // Only a deal by a stock click counts a pass, so only its undo takes one
    // back; a card dragged off the stock and returned counted none.
    if (sourceKind == pkStockDeal && stockWasEmpty) {
        --PassesDone;
        SetRedeal(false);
    }
    if (Rules.FoundationRules.Contains(roFirstCardSetsBase) && targetKind == pkFoundation && targetPos.Index == 0
        && std::all_of(FoundationPiles.begin(), FoundationPiles.end(), [](const TPile& p) { return !p.back(); })) {
        Rules.FoundationBaseCard = nullptr;
        SetFoundationLabel("Move");
    }
}

TCard* TEngine::GetCard(int kind, TPilePos pos)
{
    const auto take = [](TPile& pile, int index) -> TCard* {
        if (index < 0 || index >= static_cast<int>(pile.size()))
            return nullptr;
        TCard* card = pile[static_cast<std::size_t>(index)];
        pile.erase(pile.begin() + index);
        if (pile.empty())
            pile.push_back(nullptr);
        return card;
    };
    switch (kind) {
    case pkReserve:
        if (pos.Pile >= 0 && pos.Pile < static_cast<int>(ReserveCards.size())) {
            TCard* card = ReserveCards[static_cast<std::size_t>(pos.Pile)];
            ReserveCards[static_cast<std::size_t>(pos.Pile)] = nullptr;
            return card;
        }
        return nullptr;
    case pkTableau:
        if (pos.Pile >= 0 && pos.Pile < static_cast<int>(TableauPiles.size()))
            return take(TableauPiles[static_cast<std::size_t>(pos.Pile)], pos.Index);
        return nullptr;
    case pkFoundation:
        if (pos.Pile >= 0 && pos.Pile < static_cast<int>(FoundationPiles.size())) {
            TPile& pile = FoundationPiles[static_cast<std::size_t>(pos.Pile)];
            TCard* card = take(pile, pos.Index);
            if (card && !card->OnTable)
                Table.PlaceCard(card, card->X, card->Y);
            return card;
        }
        return nullptr;
    case pkWaste: {
        if (WasteCards.empty())
            return nullptr;
        TCard* card = WasteCards.back();
        WasteCards.pop_back();
        return card;
    }
    default:
        return nullptr;
    }
}

void TEngine::SetCard(TCard* card, int kind, TPilePos pos, bool stockBottom)
{
    switch (kind) {
    case pkStock:
    case pkStockDeal: {
        Table.RemoveCard(card);
        card->FaceUp = Deck().DefaultFaceUp();
        if (stockBottom)
            Deck().ReturnCards({card}, 0);
        else
            Deck().ReturnCard(card);
        const QPoint p = StockPosition();
        Table.PlaceDeck(p.x(), p.y());
        break;
    }
    case pkReserve:
        if (Rules.FreeCells) {
            if (pos.Index >= 0 && pos.Index < static_cast<int>(ReserveCards.size()) && !ReserveCards[static_cast<std::size_t>(pos.Index)]) {
                ReserveCards[static_cast<std::size_t>(pos.Index)] = card;
            } else {
                // Never lose a card: an occupied or unknown cell gives the last empty one.
                const auto empty = std::find(ReserveCards.rbegin(), ReserveCards.rend(), nullptr);
                if (empty != ReserveCards.rend())
                    *empty = card;
                else
                    ReserveCards.push_back(card);
            }
        } else if (Rules.ReserveAllAvailable) {
            const int at = std::clamp(pos.Index, 0, static_cast<int>(ReserveCards.size()));
            ReserveCards.insert(ReserveCards.begin() + at, card);
            LayOutReserveFrom(0);
        } else {
            ReserveCards.push_back(card);
        }
        break;
    case pkTableau: {
        TPile& pile = TableauPiles.at(static_cast<std::size_t>(pos.Pile));
        if (pile.size() == 1 && !pile[0])
            pile[0] = card;
        else
            pile.insert(pile.begin() + std::clamp(pos.Index, 0, static_cast<int>(pile.size())), card);
        break;
    }
    case pkFoundation: {
        TPile& pile = FoundationPiles.at(static_cast<std::size_t>(pos.Pile));
        if (pile.size() == 1 && !pile[0])
            pile[0] = card;
        else
            pile.push_back(card);
        break;
    }
    case pkWaste:
        WasteCards.push_back(card);
        break;
    case pkExcept: {
        TPile& pile = ExceptPiles.at(static_cast<std::size_t>(pos.Pile));
        pile.insert(pile.begin() + std::clamp(pos.Index, 0, static_cast<int>(pile.size())), card);
        break;
    }
    default:
        break;
    }
    SetLists();
}

void TEngine::UndoRedeal()
{
    const int speed = Table.CardSpeed();
    const bool turn = Table.TurnAnimation;
    Table.SetCardSpeed(speed * 4);
    Table.TurnAnimation = false;
    const QPoint waste = WastePositionNow();
    while (StockCount() > 0) {
        TCard* card = Table.NextCard();
        if (!card)
            break;
        Glide(card, waste);
        TurnUp(card);
        WasteCards.push_back(card);
    }
    SetLists();
    Table.SetCardSpeed(speed);
    Table.TurnAnimation = turn;
    SetRedeal(true);
}

void TEngine::Redo()
{
    if (!RedoEnabled)
        return;
    Host.SetCommandEnabled(TEngineCommand::Toolbar, false);
    SetUndoRedo(UndoEnabled, false);
    const bool slowRegion = Table.SlowMoveRegion();
    Table.SetSlowMoveRegion(false);
    Tag = 1;
    bool historyCleared = false;
    while (SourceLogPos + 4 <= static_cast<int>(SourceLog.size())) {
        // The replayed entry and the sizes are all a replay may change in
        // the record and the history; they are put back as they were.
        const std::size_t logSize = SourceLog.size();
        const std::size_t historySize = History.size();
        const std::array<std::string, 4> entry{SourceLog[std::size_t(SourceLogPos)], SourceLog[std::size_t(SourceLogPos) + 1],
                                               SourceLog[std::size_t(SourceLogPos) + 2], SourceLog[std::size_t(SourceLogPos) + 3]};
        const int historyBefore = HistoryPos;
        const int pointsBefore = Points;
        const int kind = IntAt(SourceLog, SourceLogPos);
        const int pile = IntAt(SourceLog, SourceLogPos + 1);
        const int position = IntAt(SourceLog, SourceLogPos + 2);
        const int dropPoint = IntAt(SourceLog, SourceLogPos + 3);
        const int logBefore = SourceLogPos;
        Replay = true;
        MakeMove(kind, pile, dropPoint, position);
        Replay = false;
        Points = pointsBefore;
        SourceLog.resize(logSize);
        std::copy(entry.begin(), entry.end(), SourceLog.begin() + logBefore);
        // A complete run to a foundation wipes the history; its old tail is void.
        historyCleared = HistoryPos < historyBefore;
        if (!historyCleared)
            History.resize(historySize);
        if (HistoryPos != historyBefore)
            break;
        // A record the table can no longer play (its card is not where it
        // says) logs nothing; it is passed over as a load passes over it,
        // so the loop always moves on.
        if (SourceLogPos == logBefore)
            SourceLogPos += 4;
    }
    Tag = 0;
    const bool recordsLeft = SourceLogPos + 4 <= static_cast<int>(SourceLog.size());
    const bool atEnd = historyCleared || !recordsLeft ? !recordsLeft
                                                      : HistoryPos >= static_cast<int>(History.size());
    if (atEnd) {
        SourceLogPos = static_cast<int>(SourceLog.size());
        // Entries beyond here belong to records that replayed to nothing.
        History.resize(static_cast<std::size_t>(std::min<int>(HistoryPos, static_cast<int>(History.size()))));
    } else {
        SetUndoRedo(UndoEnabled, true);
    }
    Table.SetSlowMoveRegion(slowRegion);
    Host.SetCommandEnabled(TEngineCommand::Toolbar, true);
    UpdatePointsLabel();
    if (GameWon) {
        Draggables.assign(1, nullptr);
        Table.SetDragCards(Draggables);
    }
}
