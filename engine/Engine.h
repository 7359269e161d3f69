#pragma once

#include "catalogue/LayoutConstants.h"
#include "catalogue/Position.h"
#include "catalogue/Rules.h"
#include "engine/EngineHost.h"
#include "persistence/SourceLogFile.h"

#include <QPoint>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TCard;
class TCardDeck;
class TCardTable;

// How a saved game's load ended.
enum class TLoadOutcome { Loaded, Unreadable, UnknownGame, RefusedToStart };
struct TLoadResult {
    TLoadOutcome Outcome = TLoadOutcome::Loaded;
    std::string GameName; // as the file names it
    std::string Reason;   // why it was unreadable or refused to start
};
// Reads the saved game, or returns nullopt with the reason in its argument.
using TSavedGameReader = std::function<std::optional<TSavedGame>(std::string& error)>;

// A place in a pile: the pile's index and the card's index in it.
struct TPilePos {
    int Pile = 0;
    int Index = 0;
};

// A pile, bottom card first. Tableau piles and foundations are never shorter
// than one slot: an empty pile is one empty (null) slot, so its top index is 0
// like a one-card pile. Recorded moves depend on that convention.
using TPile = std::vector<TCard*>;

// The game engine: the rules of the game in play, the engine's view of every
// pile, the game record and the move history, the points and the win state.
// It drives the card table and reaches everything else through EngineHost.
// One engine plays one game at a time.
class TEngine {
public:
    TEngine(TCardTable& table, EngineHost& host);
    TEngine(const TEngine&) = delete;
    TEngine& operator=(const TEngine&) = delete;

    // --- choosing and starting games ---
    // Invokes the definition of the game named `name` as its menu item would.
    // False when no game has that name.
    bool SelectGame(const std::string& name);
    // Deals the game the rule record describes (every definition ends here).
    void StartGame();
    // New Game: a fresh deal of the same game.
    void NewGame();
    // Restart: the same deal again. Asks first while an open game is scored.
    void Restart();
    // Loads a saved game: counts the game being left, then reads the file
    // through `readFile`, starts its game (found without regard to letter
    // case) with its seed and replays every action, quietly but for a clap
    // at the start and before each action. The outcome says why a file did
    // not load.
    TLoadResult LoadGame(const TSavedGameReader& readFile, const std::string& saveName);
    // The same for a game already read; true when it loaded.
    bool LoadGame(const TSavedGame& game, const std::string& saveName = {});
    // True while a saved game replays.
    bool LoadingGame() const { return Loading; }
    // Runs the definition of `name` in query mode: its rules and picture
    // load, nothing is dealt and no game is in play afterwards. A definition
    // that throws leaves the engine out of query mode all the same.
    void QueryGame(const std::string& name);
    // Leaves the game in play without counting it (the caller counted it):
    // no game and no game to count afterwards.
    void AbandonGame();
    // The game in play ends unfinished: a scored game counts as played and lost.
    void CountUnfinishedGame()
    {
        if (!GameWon && Host.ScoringOn())
            Host.RecordGameResult(Rules.GameName, SaveName, false, Points);
    }
    // The game in play no longer counts: it was counted, or it was never
    // one the player played (a tool's deal, a show).
    void MarkGameCounted() { GameWon = true; }
    // No game number is known until a game is dealt again.
    void ForgetGameNumber() { Rules.GameNumber = 0; }
    // The next deal uses the generator as it stands (a seed chosen on purpose).
    void KeepSeedForNextDeal() { ReseedNextDeal = false; }
    // Keeps the player's clicks and commands out while the window works on
    // the table (a show, a failed definition's clean-up).
    void HoldTable() { DealBusy = true; }
    void ReleaseTable() { DealBusy = false; }
    // The window is closing: no more cues.
    void ShutDown() { ShuttingDown = true; }
    // The file the game in play is saved to; empty: not saved yet.
    void SetSaveName(const std::string& name) { SaveName = name; }
    // The saved files moved (with the player's data): both save names follow.
    void MoveSaveNames(const std::function<std::string(const std::string&)>& moved)
    {
        SaveName = moved(SaveName);
        LastSaveName = moved(LastSaveName);
    }
    // The layout's distances for cards scaled by these factors.
    void ResetLayoutConstants(float scaleX, float scaleY) { SetConstantVariables(Layout, scaleX, scaleY); }
    // The saved file is gone: the next Save asks for a name.
    void ForgetSaveName() { SaveName.clear(); }
    // Before a load: the save name in force becomes the one a counted
    // game is recorded under. Returns it, to be restored if the load fails.
    std::string KeepSaveNameForLoad()
    {
        LastSaveName = SaveName;
        return SaveName;
    }
    // Plays the win show on a table with no game (the debug command); the
    // record says open while it runs and no game counts afterwards.
    void RunWinShowWithoutGame();

    // --- the player's actions ---
    void CardDropEvent(TCard* card, int x, int y, int relX, int relY, int index);
    void CardClickEvent(TCard* card, int button);
    void CardRestoredEvent();
    // Performs a recorded action without the mouse (redo, automoves, loading).
    void MakeMove(int kind, int pile, int dropPoint, int position);
    void Undo();
    void Redo();
    void Redeal();
    void AutomoveExecute();

    // --- rules, exposed for the drop handler, the automoves and tests ---
    bool ValidDrop(TCard* card, int targetKind, TPilePos target, int sourceKind, TPilePos source);
    // Where a card on the table lies in the engine's piles (as a drop would find it).
    bool LocateCard(TCard* card, int& kind, TPilePos& pos) const { return FindSource(card, kind, pos); }
    int SuperMove(int emptyColumns) const;
    void SetLists();

    // --- layout ---
    void SetScaleFactors(float scaleX, float scaleY);
    bool ExtendedLayout() const { return Extended; }
    void SwitchToExtended();
    void SwitchToCompact();
    // Applies a card size step with the refusals of the Compact layout.
    void SetScale(int step);
    // The window changed the card set (from `previousSet`): the Compact
    // layout refuses sets that would not fit, then the layout follows the card size.
    void CardSetChanged(const std::string& previousSet);
    QPoint MaxInLayout() const;
    // Where places lie while they are empty (keyboard play and assistive
    // technology name and ring them).
    QPoint CellPlace(int cell) const { return CellPosition(cell); }
    QPoint ReservePlace(int index) const { return ReserveCardPosition(index); }
    QPoint StockPlace() const { return StockPosition(); }
    QPoint WastePlace() const { return WastePositionNow(); }
    void AutoMode();
    // Moves the game in play to the current layout; with none, does nothing.
    void Relayout();
    bool GameInPlay() const;

    // --- the cue routine: scores by name, then plays through the host ---
    void Sound(const std::string& cue, int channel, int volume);

    // --- state, read by the window, the headless tool and tests ---
    TGameRules Rules;
    TLayoutConstants Layout;
    int FanStep = 20;
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;
    bool Extended = false;  // the Extended layout is in force (else Compact)
    int ScaleStep = 1;      // the card size step last applied

    std::string LastGameName;
    std::string SaveName;
    std::string LastSaveName;

    std::vector<TPile> TableauPiles;
    std::vector<TPile> FoundationPiles;
    TPile ReserveCards;
    TPile WasteCards;
    // Cards taken out of play by the pair games (they count as foundation cards).
    std::vector<TCard*> RemovedCards;
    std::vector<TPile> ExceptPiles;

    std::vector<QPoint> DropPoints;
    std::vector<float> DropAngles;
    std::vector<TCard*> Draggables;
    int EmptyColumns = 0;
    int EmptyCells = 0;

    std::vector<std::string> SourceLog;
    int SourceLogPos = 0;
    std::vector<std::string> History;
    int HistoryPos = 0;

    int Points = 0;
    int FoundationCards = 0;
    int PassesDone = 0;
    bool GameWon = true; // true while no scored game is in progress
    bool DealBusy = false;
    bool ReseedNextDeal = false;
    bool ShuttingDown = false;

    // The main window's mode number: 1 while a definition runs in query mode
    // and while redo replays (cues then leave the points label alone).
    int Tag = 0;

    // Commands as the engine last set them.
    bool RedealOffered = false;
    bool UndoEnabled = false;
    bool RedoEnabled = false;
    bool NewGameEnabled = false;
    bool SaveEnabled = false;
    std::string FoundationLabel;
    std::string Caption;

    TCardTable& Table;
    TCardDeck& Deck() const;
    int StockCount() const;
    // The game record as a saved game holds it: the header and the actions
    // in force (an undone tail is not replayed by a load, so it is not kept).
    std::vector<std::string> SavedRecord() const
    {
        return {SourceLog.begin(), SourceLog.begin() + std::min<std::size_t>(SourceLog.size(), static_cast<std::size_t>(SourceLogPos))};
    }
    // The position as plain data, for the solver.
    TPositionSnapshot Snapshot() const;
    bool GameOpen() const { return SourceLog.size() > 2 && SourceLog[2] != "0"; }
    // Shows the game (or its saved file) in the caption, open or closed as the record says.
    void RefreshCaption() { SetCaption(SourceLog.size() > 2 && SourceLog[2] == "0"); }

private:
    friend class TEngineTestAccess;

    // Deal
    void LoadPreview();
    bool DecideOpenOrClosed();
    void PlacePileMarkers();
    void PreplaceFoundations();
    QPoint StockPosition() const;
    void PlaceStock();
    void DealBaseCard();
    void DealToFoundations();
    void ClockKingRule();
    void DealReserve();
    void DealExceptPiles();
    void TableauDeal();
    void DealTableauCard(int r, int p, std::vector<int>& offsets);
    void KingToBottom(int p, int r);
    void FinishDeal();
    QPoint ReserveCardPosition(int i) const;
    // Puts reserve cards `first` onward at their places, without animation.
    void LayOutReserveFrom(int first);
    QPoint CellPosition(int k) const;
    QPoint WastePositionNow() const;
    std::string FoundationLabelText() const;
    void SetFoundationLabel(const std::string& text);
    void SetCaption(bool closed);
    void UpdatePointsLabel();
    void RefillEmptied(int p);

    // Drops and clicks
    bool FindSource(TCard* card, int& kind, TPilePos& pos) const;
    bool FindTarget(QPoint point, int& kind, TPilePos& pos) const;
    void LogSource(int kind, int pile, int position, int dropPoint);
    void AppendHistory(int kind, int pile, int reference, int position);
    void Refuse();
    void RunMove(TCard* card, TPilePos source, TPilePos target, QPoint drop);
    void SingleMove(TCard* card, int sourceKind, TPilePos source, int targetKind, TPilePos target, QPoint drop);
    bool CompleteRunFits(TPilePos source) const;
    void CompleteRunToFoundation(const std::vector<TCard*>& followers, TPilePos target);
    void TakeFromSource(TCard* card, int sourceKind, TPilePos source, int historyIndex);
    void ClockPlacement(TCard* card, int f);
    void ReplaceClockPile(int f);
    void StockClick();
    void StockDeal();
    void DealToTableauPiles();
    void TurnToWaste();
    void OneFoundationDeal();
    void PairClick(TCard* card);
    void PairRefill(int p, int index);
    void WinTest(bool fromClick);
    bool ClockSolved() const;
    void CloseGame();
    bool CardAtPosition(int kind, int pile, int position, TCard*& card) const;
    void TurnUp(TCard* card);
    void TurnDown(TCard* card);
    void Glide(TCard* card, QPoint to);
    void Pause(int ms);

    // History
    void HistoryChanged();
    void FindRecord(int reference, int& kind, int& pile, int& position) const;
    void UndoMove(int sourceKind, int targetKind, bool turnDown, TPilePos targetPos, TPilePos sourcePos, bool stockBottom);
    TCard* GetCard(int kind, TPilePos pos);
    void SetCard(TCard* card, int kind, TPilePos pos, bool stockBottom);
    QPoint ReturnPoint(int kind, TPilePos pos, bool belowTurnedDown) const;
    void UndoRedeal();
    void SetRedeal(bool offered);
    void SetUndoRedo(bool undo, bool redo);

    TLoadResult ReplaySavedGame(const TSavedGameReader& readFile, const std::string& saveName);

    // Automoves
    bool ValidAutoMove(int kind, TPilePos pos);

    // Layout
    void ModifyReserve();
    void ModifyTableau();
    void ModifyFoundation();
    void ModifyExcept();
    void ModifyDeck();
    void ModifyWaste();
    void ModifyRedeal();
    void RerunDefinitionForLayout();
    // Moves every pile to where the current layout constants put it.
    void MovePilesToLayout();
    // After the card size changed: new scale factors, then the layout again.
    void FitLayoutToCardSize();
    void AutoStart();
    void Stretch(QPoint extent);

    EngineHost& Host;

    TCard* SelectedCard = nullptr;
    TPilePos SelectedPos;
    bool Replay = false;      // redo is replaying a record
    bool Loading = false;     // a saved game replays
    bool StockFromTop = true; // Burleigh: which end of the stock deals next
    TCard* LastDealt = nullptr;
    // Burleigh: the alternation state before each deal, so undoing a deal
    // brings back exactly the end the replayed game would deal from next.
    std::vector<std::pair<bool, TCard*>> StockEndsBeforeDeal;
};
