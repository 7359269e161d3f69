// The drop targets and the cards that may be picked up, rebuilt after every
// change of the piles. The order of DropPoints is recorded in saved games
// (the drop point index): tableau piles, foundations, then empty cells.
#include "engine/Engine.h"

#include "cardtable/CardTable.h"
#include "catalogue/Validation.h"

namespace {

TCardFace Face(const TCard* card)
{
    return {static_cast<int>(card->Value), static_cast<int>(card->Suit), card->FaceUp};
}

} // namespace

void TEngine::SetLists()
{
    const TRuleOptions& t = Rules.TableauRules;
    const TRuleOptions& f = Rules.FoundationRules;
    const bool angled = f.Contains(roAngledFoundations);
    EmptyColumns = 0;
    EmptyCells = 0;
    DropPoints.clear();
    DropAngles.clear();

    if (!t.Contains(roNotDropTarget)) {
        for (std::size_t i = 0; i < TableauPiles.size(); ++i) {
            const TCard* top = TableauPiles[i].back();
            if (top) {
                DropPoints.emplace_back(top->X, top->Y);
            } else {
                DropPoints.push_back(Rules.TableauPositions.at(i));
                ++EmptyColumns;
            }
            if (angled)
                DropAngles.push_back(0.0f);
        }
    }
    if (!f.Contains(roNotDropTarget)) {
        for (std::size_t i = 0; i < FoundationPiles.size(); ++i) {
            QPoint p = Rules.FoundationPositions.at(i);
            const TCard* top = FoundationPiles[i].back();
            if (f.Contains(roFoundationSideways) && top)
                p.setX(top->X);
            DropPoints.push_back(p);
            if (angled)
                DropAngles.push_back(Rules.FoundationAngles.empty() ? 0.0f : Rules.FoundationAngles.at(i));
        }
    }
    if (Rules.FreeCells) {
        for (std::size_t k = 0; k < ReserveCards.size(); ++k) {
            if (!ReserveCards[k]) {
                DropPoints.push_back(CellPosition(static_cast<int>(k)));
                if (angled)
                    DropAngles.push_back(0.0f);
                ++EmptyCells;
            }
        }
    }
    Table.SetDropPoints(DropPoints);
    Table.SetDropAngles(DropAngles);

    Draggables.clear();
    if (!ReserveCards.empty()) {
        if (Rules.ReserveAllAvailable || Rules.FreeCells)
            Draggables.insert(Draggables.end(), ReserveCards.begin(), ReserveCards.end());
        else
            Draggables.push_back(ReserveCards.back());
    }
    if (!WasteCards.empty())
        Draggables.push_back(WasteCards.back());
    for (const TPile& pile : ExceptPiles)
        if (!pile.empty() && pile.back())
            Draggables.push_back(pile.back());

    const bool sequences = t.Contains(roMoveSequences);
    if (sequences || t.Contains(roMoveFaceUpGroups)) {
        const int capacity = SuperMove(EmptyColumns);
        for (const TPile& pile : TableauPiles) {
            const int topIndex = static_cast<int>(pile.size()) - 1;
            if (!pile.back())
                continue;
            Draggables.push_back(pile.back());
            for (int j = topIndex - 1; j >= 0; --j) {
                const TCard* card = pile[static_cast<std::size_t>(j)];
                const int lying = topIndex - j;
                bool qualifies = card && card->FaceUp;
                if (qualifies && sequences) {
                    qualifies = RunLinkFits(t, Face(pile[static_cast<std::size_t>(j + 1)]), Face(card))
                        && (!Rules.FreeCells || lying < capacity);
                } else if (qualifies && Rules.FreeCells && !t.Contains(roUnlimitedMoves)) {
                    qualifies = lying <= EmptyCells;
                }
                if (!qualifies)
                    break;
                Draggables.push_back(pile[static_cast<std::size_t>(j)]);
            }
        }
    } else {
        for (const TPile& pile : TableauPiles) {
            Draggables.push_back(pile.back());
            if (t.Contains(roMoveWholePile) && pile.size() > 1 && pile.front())
                Draggables.push_back(pile.front());
        }
    }
    if (f.Contains(roTakeFromFoundation)) {
        const bool clock = Rules.GameName == "The Clock" && f.Contains(roClockInsert);
        for (std::size_t i = 0; i < FoundationPiles.size(); ++i) {
            TCard* top = FoundationPiles[i].back();
            if (top && !(clock && top->Value == static_cast<int>(i)))
                Draggables.push_back(top);
        }
    }
    // Once the game is won nothing may be picked up until an undo reopens it,
    // whichever routine rebuilt the lists last.
    if (Draggables.empty() || GameWon)
        Draggables.assign(1, nullptr);
    Table.SetDragCards(Draggables);
}
