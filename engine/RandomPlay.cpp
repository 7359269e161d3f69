#include "engine/RandomPlay.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "engine/Engine.h"

#include <vector>

namespace {

int Pick(std::mt19937& random, int count)
{
    return count <= 1 ? 0 : std::uniform_int_distribution<int>(0, count - 1)(random);
}

void ClickRandomCard(TEngine& engine, std::mt19937& random)
{
    std::vector<std::pair<int, int>> cards;
    for (std::size_t p = 0; p < engine.TableauPiles.size(); ++p)
        for (std::size_t i = 0; i < engine.TableauPiles[p].size(); ++i)
            if (engine.TableauPiles[p][i] && engine.TableauPiles[p][i]->OnTable)
                cards.emplace_back(static_cast<int>(p), static_cast<int>(i));
    if (cards.empty())
        return;
    const auto [pile, index] = cards[static_cast<std::size_t>(Pick(random, static_cast<int>(cards.size())))];
    engine.MakeMove(2, pile, 0, index);
}

void DragRandomCard(TEngine& engine, std::mt19937& random)
{
    std::vector<TCard*> cards;
    for (TCard* card : engine.Draggables)
        if (card)
            cards.push_back(card);
    const bool fromStock = engine.Table.DragFromDeck() && engine.StockCount() > 0;
    const int choices = static_cast<int>(cards.size()) + (fromStock ? 1 : 0);
    if (choices == 0)
        return;
    const int choice = Pick(random, choices);
    const int dropPoint = Pick(random, static_cast<int>(engine.DropPoints.size()) + 1) - 1;
    if (choice == static_cast<int>(cards.size())) {
        engine.MakeMove(0, 0, dropPoint, 0);
        return;
    }
    int kind = 0;
    TPilePos pos;
    if (engine.LocateCard(cards[static_cast<std::size_t>(choice)], kind, pos))
        engine.MakeMove(kind, pos.Pile, dropPoint, pos.Index);
}

} // namespace

void PlayRandomAction(TEngine& engine, std::mt19937& random, TUndoUse undoUse)
{
    const bool undoneWaiting = engine.SourceLogPos < static_cast<int>(engine.SourceLog.size());
    if (undoUse == TUndoUse::KeepRedoable && undoneWaiting) {
        if (Pick(random, 10) < 3 && engine.UndoEnabled)
            engine.Undo();
        else
            engine.Redo();
        return;
    }
    const bool undoAndRedo = undoUse != TUndoUse::Never;
    const bool clickPlay = engine.Rules.TableauRules.Contains(roNoDragAndDrop);
    const int roll = Pick(random, 100);
    if (roll < 55) {
        if (clickPlay)
            ClickRandomCard(engine, random);
        else
            DragRandomCard(engine, random);
    } else if (roll < 72) {
        if (engine.StockCount() > 0 && !clickPlay)
            engine.MakeMove(6, 0, 0, 0);
        else if (clickPlay)
            ClickRandomCard(engine, random);
    } else if (roll < 78) {
        if (engine.RedealOffered)
            engine.Redeal();
    } else if (roll < 96 && !undoAndRedo) {
        DragRandomCard(engine, random);
    } else if (roll < 88) {
        if (engine.UndoEnabled)
            engine.Undo();
    } else if (roll < 96) {
        if (engine.RedoEnabled)
            engine.Redo();
    } else {
        engine.AutomoveExecute();
    }
}

void RedoEverything(TEngine& engine)
{
    for (int guard = 0; engine.RedoEnabled && guard < 100000; ++guard)
        engine.Redo();
}

bool PlayRandomGame(TEngine& engine, const std::string& game, std::uint32_t seed, long long actions)
{
    SetRandSeed(seed);
    // A game already in play would not be dealt again.
    engine.Rules.GameName.clear();
    if (!engine.SelectGame(game))
        return false;
    // The program's one generator must stay as the deal left it, or a replay
    // would shuffle differently on a redeal.
    std::mt19937 random(seed);
    for (long long i = 0; i < actions; ++i)
        PlayRandomAction(engine, random, TUndoUse::KeepRedoable);
    RedoEverything(engine);
    return true;
}
