// The games played by clicking: two selected cards of equal value leave play.
#include "engine/Engine.h"

#include "cardtable/CardTable.h"
#include "catalogue/PlayRules.h"

#include <algorithm>

void TEngine::PairRefill(int p, int index)
{
    TPile& pile = TableauPiles[static_cast<std::size_t>(p)];
    pile.erase(pile.begin() + index);
    if (pile.empty())
        pile.push_back(nullptr);
    if (!Rules.TableauRules.Contains(roSelectByHighlight))
        return;
    TCard* below = index > 0 && index - 1 < static_cast<int>(pile.size()) ? pile[static_cast<std::size_t>(index - 1)] : nullptr;
    if (below && !below->FaceUp && index == static_cast<int>(pile.size())) {
        TurnUp(below);
        return;
    }
    if (pile.back() || StockCount() == 0)
        return;
    TCard* card = Table.NextCard();
    if (!card)
        return;
    Glide(card, Rules.TableauPositions.at(static_cast<std::size_t>(p)));
    TurnUp(card);
    pile[0] = card;
    AppendHistory(pkStock, p + 1, 102, 0);
    Sound("drop.wav", 5, 25);
}

void TEngine::PairClick(TCard* card)
{
    const TRuleOptions& t = Rules.TableauRules;
    if (t.Contains(roSelectByHighlight) && !card->FaceUp)
        return;
    int kind = 0;
    TPilePos pos;
    if (!FindSource(card, kind, pos) || kind != pkTableau)
        return;
    LogSource(pkTableau, pos.Pile, pos.Index, 0);
    if (!SelectedCard) {
        SelectedCard = card;
        SelectedPos = pos;
        TurnUp(card);
        Sound("drop.wav", 1, 100);
        if (t.Contains(roSelectByHighlight))
            Table.Sprite.Highlight(card, 1.2f);
    } else if (SelectedCard == card) {
        Sound("undo.wav", 1, 100);
        Sound("drop.wav", 1, 100);
        if (t.Contains(roSelectByHighlight))
            Table.Sprite.Hide();
        else if (t.Contains(roDealFaceDown))
            TurnDown(card);
        SelectedCard = nullptr;
    } else {
        Sound("drop.wav", 1, 100);
        if (t.Contains(roSelectByHighlight))
            Table.Sprite.Hide();
        else
            TurnUp(card);
        if (t.Contains(roDealFaceDown) && Table.SMR_WaitMode())
            Table.Wait(400);
        TCard* first = SelectedCard;
        SelectedCard = nullptr;
        if (playrules::PairLeaves(Rules, first->Value, card->Value)) {
            // Take the later-listed card first so the other's index stays valid.
            std::vector<std::pair<TPilePos, TCard*>> pair = {{SelectedPos, first}, {pos, card}};
            std::sort(pair.begin(), pair.end(), [](const auto& a, const auto& b) {
                return a.first.Pile != b.first.Pile ? a.first.Pile > b.first.Pile : a.first.Index > b.first.Index;
            });
            for (auto& [where, which] : pair) {
                if (Table.SMR_WaitMode())
                    Table.Sprite.Zoom(which, 200, 0.2f, false);
                Table.RemoveCard(which);
                RemovedCards.push_back(which);
                Sound("success.wav", 1, 100);
                PairRefill(where.Pile, where.Index);
            }
        } else {
            // Each of the two cards is refused in turn, the clicked one first.
            for (TCard* refused : {card, first}) {
                Sound("undo.wav", 1, 100);
                Sound("drop0.wav", 1, 100);
                if (t.Contains(roDealFaceDown))
                    TurnDown(refused);
            }
        }
    }
    SetLists();
    WinTest(true);
}
