// The redeal of the waste (or, in the gathering games, of the whole tableau),
// New Game, Restart and the replay of a saved game.
#include "engine/Engine.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "catalogue/GameDefinitions.h"
#include "engine/SourceLogFile.h"
#include "platform/Trace.h"

#include <cstdlib>

void TEngine::Redeal()
{
    DealBusy = true;
    LogSource(pkRedeal, 0, 0, 0);
    SetRedeal(false);
    Sound("waste.wav", 2, 100);
    Host.ProcessPendingMessages();
    const bool gathering = Rules.TurnCount < -2;
    if (gathering) {
        // Gathering cannot be taken back: the earlier moves go with it.
        History.clear();
        HistoryPos = 0;
        for (TPile& pile : TableauPiles) {
            for (TCard* card : pile) {
                if (!card)
                    continue;
                Table.RemoveCard(card, true);
                WasteCards.push_back(card);
            }
            pile.assign(1, nullptr);
        }
    } else {
        for (auto it = WasteCards.rbegin(); it != WasteCards.rend(); ++it)
            Table.RemoveCard(*it, true);
        AppendHistory(pkStock, 1, -static_cast<int>(SourceLog.size()), 0);
    }
    if (!WasteCards.empty())
        Deck().ReturnCards(WasteCards, static_cast<int>(WasteCards.size()) - 1);
    WasteCards.clear();
    if (Rules.TurnCount == -4) {
        Deck().Shuffle();
        Sound("shuffle.wav", 2, 100);
    }
    PlaceStock();
    if (gathering) {
        Rules.TableauRules.Include(roDealPileByPile);
        const bool fast = Rules.GameOptions.Contains(goFastDeal);
        const int speed = Table.CardSpeed();
        const int turnSpeed = Table.TurnOverAnimationSpeed();
        const bool lift = Table.TurnOverAnimationLift();
        const bool slowRegion = Table.SlowMoveRegion();
        if (fast) {
            Table.SetCardSpeed(speed * 8);
            Table.SetTurnOverAnimationSpeed(turnSpeed * 8);
            Table.SetTurnOverAnimationLift(false);
            Table.SetSlowMoveRegion(false);
        }
        TableauDeal();
        Table.SetCardSpeed(speed);
        Table.SetTurnOverAnimationSpeed(turnSpeed);
        Table.SetTurnOverAnimationLift(lift);
        Table.SetSlowMoveRegion(slowRegion);
        SetLists();
        ++PassesDone;
        if (Rules.DeckPasses == 0 || PassesDone < Rules.DeckPasses)
            SetRedeal(true);
    }
    SetLists();
    DealBusy = false;
}

void TEngine::NewGame()
{
    NewGameEnabled = false;
    Host.SetCommandEnabled(TEngineCommand::NewGame, false);
    StartGame();
}

void TEngine::Restart()
{
    if (SourceLog.size() < 3)
        return;
    if (Host.ScoringOn() && GameOpen()
        && !Host.AskYesNo("Restart this game? The restarted game won`t appear in the high score table or statistics."))
        return;
    const std::string name = SourceLog[0];
    SetRandSeed(static_cast<std::uint32_t>(std::strtoll(SourceLog[1].c_str(), nullptr, 10)));
    ReseedNextDeal = false;
    const std::string keptSave = SaveName;
    const std::string previousName = Rules.GameName;
    Rules.GameName = std::string(LoadingGameName);
    if (!SelectGame(name)) {
        Rules.GameName = previousName;
        return;
    }
    SaveName = keptSave;
    ReseedNextDeal = true;
    CloseGame();
}

bool TEngine::LoadGame(const TSavedGame& game, const std::string& saveName)
{
    const TGameDefinition* definition = FindGameDefinition(game.GameName);
    if (!definition || definition->GameName != game.GameName)
        return false;
    platform::Trace("LoadGame - " + saveName);
    ReseedNextDeal = false;
    const int speed = Table.CardSpeed();
    const int turnSpeed = Table.TurnOverAnimationSpeed();
    const bool lift = Table.TurnOverAnimationLift();
    Table.SetCardSpeed(speed * 64);
    Table.SetTurnOverAnimationSpeed(turnSpeed * 64);
    Table.SetTurnOverAnimationLift(false);
    DealBusy = true;
    Sound("claps.wav", 1, 100);
    if (!GameWon && !LastGameName.empty() && Host.ScoringOn())
        Host.RecordGameResult(LastGameName, LastSaveName, false, Points);
    GameWon = true;

    SetRandSeed(game.Seed);
    const std::string previousName = Rules.GameName;
    Rules.GameName = std::string(LoadingGameName);
    SelectGame(game.GameName);
    bool started = Rules.GameName != LoadingGameName;
    if (!started) {
        platform::Trace("LoadGame screen size error exit.");
        Rules.GameName = previousName;
        Table.ClearTable();
    } else {
        SaveName = saveName;
        if (!game.Open && SourceLog.size() > 2)
            SourceLog[2].assign(1, '0');
        SetCaption(!game.Open);
        for (const TSavedGame::TAction& action : game.Actions)
            MakeMove(action.Kind, action.Pile, action.DropPoint, action.Position);
    }
    Table.SetCardSpeed(speed);
    Table.SetTurnOverAnimationSpeed(turnSpeed);
    Table.SetTurnOverAnimationLift(lift);
    ReseedNextDeal = true;
    platform::Trace("Game loaded.");
    DealBusy = false;
    if (started && GameWon) {
        Draggables.assign(1, nullptr);
        Table.SetDragCards(Draggables);
    }
    return started;
}
