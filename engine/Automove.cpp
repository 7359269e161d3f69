// The Automove command: every card any foundation accepts goes there, pass
// after pass, each as an ordinary recorded move through MakeMove.
#include "engine/Engine.h"

#include "cardtable/CardTable.h"

bool TEngine::ValidAutoMove(int kind, TPilePos pos)
{
    TCard* card = nullptr;
    if (kind == pkWaste) {
        if (pos.Index < 0 || pos.Index >= static_cast<int>(WasteCards.size()))
            return false;
        card = WasteCards[static_cast<std::size_t>(pos.Index)];
    } else if (!CardAtPosition(kind, pos.Pile, pos.Index, card)) {
        return false;
    }
    if (!card)
        return false;
    for (std::size_t f = 0; f < FoundationPiles.size(); ++f) {
        const int top = static_cast<int>(FoundationPiles[f].size()) - 1;
        if (!ValidDrop(card, pkFoundation, {static_cast<int>(f), top}, kind, pos))
            continue;
        QPoint point = Rules.FoundationPositions.at(f);
        if (Rules.FoundationRules.Contains(roFoundationSideways) && FoundationPiles[f].back())
            point.setX(FoundationPiles[f].back()->X);
        int dropPoint = -1;
        for (std::size_t i = 0; i < DropPoints.size(); ++i) {
            if (DropPoints[i] == point) {
                dropPoint = static_cast<int>(i);
                break;
            }
        }
        if (dropPoint < 0)
            return false;
        const int before = FoundationCards;
        MakeMove(kind, pos.Pile, dropPoint, pos.Index);
        // Counted only when the card really arrived, so a pass always ends.
        return FoundationCards > before;
    }
    return false;
}

void TEngine::AutomoveExecute()
{
    const TRuleOptions& f = Rules.FoundationRules;
    if (f.Contains(roFoundationSuitRun) || f.Contains(roNoAutomove))
        return;
    Host.SetCommandEnabled(TEngineCommand::Toolbar, false);
    const bool slowRegion = Table.SlowMoveRegion();
    Table.SetSlowMoveRegion(false);
    bool firstPass = true;
    int lastKind = -1;
    TPilePos lastPos;
    for (;;) {
        int moved = 0;
        const auto attempt = [&](int kind, TPilePos pos) {
            lastKind = kind;
            lastPos = pos;
            if (ValidAutoMove(kind, pos))
                ++moved;
        };
        if (!WasteCards.empty()) {
            const int top = static_cast<int>(WasteCards.size()) - 1;
            attempt(pkWaste, {top, top});
        }
        if (!ReserveCards.empty()) {
            if (Rules.FreeCells || Rules.ReserveAllAvailable) {
                for (int i = static_cast<int>(ReserveCards.size()) - 1; i >= 0; --i)
                    if (i < static_cast<int>(ReserveCards.size()) && ReserveCards[static_cast<std::size_t>(i)])
                        attempt(pkReserve, {i, i});
            } else if (ReserveCards.back()) {
                const int top = static_cast<int>(ReserveCards.size()) - 1;
                attempt(pkReserve, {top, top});
            }
        }
        for (std::size_t p = 0; p < TableauPiles.size(); ++p) {
            if (TableauPiles[p].back())
                attempt(pkTableau, {static_cast<int>(p), static_cast<int>(TableauPiles[p].size()) - 1});
        }
        if (firstPass && moved == 0 && !GameWon && lastKind >= 0)
            MakeMove(lastKind, lastPos.Pile, -1, lastPos.Index);
        firstPass = false;
        if (moved == 0 || GameWon)
            break;
    }
    Table.SetSlowMoveRegion(slowRegion);
    if (GameWon) {
        Draggables.assign(1, nullptr);
        Table.SetDragCards(Draggables);
    }
    Host.SetCommandEnabled(TEngineCommand::Toolbar, true);
}
