// The redeal of the waste (or, in the gathering games, of the whole tableau),
// New Game, Restart and the replay of a saved game.
#include "engine/Engine.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "catalogue/GameDefinitions.h"
#include "catalogue/PlayRules.h"
#include "persistence/SourceLogFile.h"
#include "platform/Trace.h"

#include <cstdlib>

void TEngine::Redeal()
{
    DealBusy = true;
    LogSource(pkRedeal, 0, 0, 0);
    SetRedeal(false);
    Sound("waste.wav", 2, 100);
    Host.ProcessPendingMessages();
    const bool gathering = playrules::RedealGathers(Rules);
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
        AppendHistory(pkStock, 1, -SourceLogPos, 0);
    }
    if (!WasteCards.empty())
        Deck().ReturnCards(WasteCards, static_cast<int>(WasteCards.size()) - 1);
    WasteCards.clear();
    if (playrules::RedealShuffles(Rules)) {
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
        if (playrules::RedealOffered(Rules, PassesDone))
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
    const TSavedGameReader given = [&game](std::string&) { return std::optional<TSavedGame>(game); };
    return LoadGame(given, saveName).Outcome == TLoadOutcome::Loaded;
}

TLoadResult TEngine::LoadGame(const TSavedGameReader& readFile, const std::string& saveName)
{
    platform::Trace("LoadGame - " + saveName);
    ReseedNextDeal = false;
    const int speed = Table.CardSpeed();
    const int turnSpeed = Table.TurnOverAnimationSpeed();
    const bool lift = Table.TurnOverAnimationLift();
    Table.SetCardSpeed(speed * 64);
    Table.SetTurnOverAnimationSpeed(turnSpeed * 64);
    Table.SetTurnOverAnimationLift(false);
    DealBusy = true;
    Loading = true;
    Sound("claps.wav", 1, 100);
    if (!GameWon && !LastGameName.empty() && Host.ScoringOn())
        Host.RecordGameResult(LastGameName, LastSaveName, false, Points);
    GameWon = true;

    const TLoadResult result = ReplaySavedGame(readFile, saveName);

    Loading = false;
    Table.SetCardSpeed(speed);
    Table.SetTurnOverAnimationSpeed(turnSpeed);
    Table.SetTurnOverAnimationLift(lift);
    ReseedNextDeal = true;
    platform::Trace("Game loaded.");
    DealBusy = false;
    if (result.Outcome == TLoadOutcome::Loaded && GameWon) {
        Draggables.assign(1, nullptr);
        Table.SetDragCards(Draggables);
    }
    return result;
}

// The file is read only here, after the game being left was counted: when
// that game is this very file, the count has just closed it, and the loaded
// game must show it closed.
TLoadResult TEngine::ReplaySavedGame(const TSavedGameReader& readFile, const std::string& saveName)
{
    TLoadResult result;
    const std::optional<TSavedGame> game = readFile(result.Reason);
    if (!game) {
        result.Outcome = TLoadOutcome::Unreadable;
        return result;
    }
    result.GameName = game->GameName;
    const TGameDefinition* definition = FindGameDefinition(game->GameName);
    if (!definition) {
        result.Outcome = TLoadOutcome::UnknownGame;
        return result;
    }
    SetRandSeed(game->Seed);
    const std::string previousName = Rules.GameName;
    Rules.GameName = std::string(LoadingGameName);
    try {
        SelectGame(definition->GameName);
    } catch (const std::exception& error) {
        result.Reason = error.what();
        Rules.GameName = std::string(LoadingGameName);
    }
    if (Rules.GameName == LoadingGameName) {
        platform::Trace("LoadGame screen size error exit.");
        Rules.GameName = previousName;
        Table.ClearTable();
        result.Outcome = TLoadOutcome::RefusedToStart;
        if (result.Reason.empty())
            result.Reason = "the game \"" + definition->GameName + "\" could not be started on this screen";
        return result;
    }
    SaveName = saveName;
    if (!game->Open && SourceLog.size() > 2)
        SourceLog[2].assign(1, '0');
    SetCaption(!game->Open);
    for (const TSavedGame::TAction& action : game->Actions) {
        Sound("claps.wav", 1, 100);
        MakeMove(action.Kind, action.Pile, action.DropPoint, action.Position);
    }
    result.Outcome = TLoadOutcome::Loaded;
    return result;
}
