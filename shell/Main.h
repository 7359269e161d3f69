#pragma once

#include "catalogue/Favourites.h"
#include "catalogue/Odds.h"
#include "engine/EngineHost.h"
#include "persistence/FileLocation.h"
#include "persistence/Options.h"
#include "shell/PlayState.h"

#include <QMainWindow>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QDialog;
class TDataForm;
class TWindowSight;
class QColor;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;
class QTimer;
class TMenuStyle;
class TAboutBox;
class THelpWindow;
class TTraceLog;
class TCardTable;
class TFlourish;
class THintController;
class TWinnableDeals;
class TSoundSystem;
class TWinAnim;
class TWinAnimHost;
namespace platform {
class TAudioOutput;
}
class TEngine;
struct TMenuItem;
struct TOptionItems;
class TForm4;
class TMergePic;
class TStartScreen;
class TKeyboardPlay;

// The questions and messages the window puts to the player. Tests replace
// them so that nothing modal ever blocks; the program uses message boxes.
struct TFileRequest {
    bool Save = false;     // a save dialog (else an open dialog)
    QString Folder;        // where it starts
    QString ProposedName;  // the file name offered when saving
};

struct TPrompts {
    std::function<bool(const QString& text)> AskYesNo;
    // A Yes/No question under a caption of its own; when only AskYesNo is
    // given, that one answers.
    std::function<bool(const QString& caption, const QString& text)> AskQuestion;
    std::function<void(const QString& caption, const QString& text)> ShowError;
    std::function<void(const QString& caption, const QString& text)> ShowNotice;
    // Shows a dialog modally and returns its result.
    std::function<int(QDialog& dialog)> RunModal;
    // The open and save file dialogs: the chosen file, or empty for Cancel.
    std::function<QString(const TFileRequest& request)> ChooseFile;
};

// The main window: the menus, the tool bar, the card table filling the rest,
// and the engine that plays on it. The window owns the engine and the table;
// the engine reaches the window only through EngineHost.
class TForm1 : public QMainWindow, public EngineHost {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    // With the player's questions and messages answered by `prompts`.
    explicit TForm1(TPrompts prompts, QWidget* parent = nullptr);
    ~TForm1() override;

    // Heights of the two bars above the table; with both shown the table's
    // top is 53, with the tool bar hidden (full screen) it is 23.
    static constexpr int MenuBarHeight = 23;
    static constexpr int ToolBarHeight = 30;

    // True when the screen is at least width x height; when it is not and
    // `report` is set, the player is told so.
    bool ScreenOk(int width, int height, bool report);

    // The first-show sequence; runs once, on the first show or when called.
    void FirstShow();

    // Commands, as the menus and the tool bar call them.
    void NewExecute();
    void QuitProgram1Click();
    void FullScreenF111Click();
    void EnableDebugMenu1Click();
    void ChooseGame(const std::string& gameName);
    void UndoClick();
    void RedoClick();
    void AutomoveClick();
    void RedealClick();
    void RestartClick();
    void CompactClick();
    void ExtendedClick();
    void LayoutToggleClick();
    void SetScaleStepIndex(int index);
    // The solver's help (the parts live in THintController).
    void HintClick();
    void PlaySolutionClick();
    void ShowVerdictClick(bool on);
    void WinnableOnlyClick(bool on);

    // Saved games, statistics and the data folder (MainData.cpp).
    void OpenExecute();
    // False when nothing was saved (cancelled, or the file could not be written).
    bool SaveExecute();
    void SaveAndQuitClick();
    void Delete1Click();
    void ShowStatisticsClick(int page);
    void Reset1Click();
    void SetUserFilelocation1Click();
    TDataForm* DataForm() const { return DataForm_; }
    // The " Options " menu (MainOptions.cpp). The dialogs' choices also have
    // a way in of their own, so that tests need no modal dialog.
    void BackgroundColour1Click();
    void SetBackgroundColour(const QColor& colour);
    void GradientClick(int number);
    void BackgroundPicture1Click();
    void BackgroundPictureChosen();
    void PictureModeClick(bool stretch);
    void ChooseCardDeck1Click();
    void CardDeckChosen(const std::string& previousDeck);
    void ChooseCardBack1Click();
    void ShadowModeClick(int mode);      // 0 dotted, 1 hard, 2 soft
    void SetCardSpeed1Click();
    void DropModeClick(int mode);        // the table's AutoShadeMode, 1..3
    void DropShadeClick(int colour);     // -1 dotted, else the shade colour 0..7
    void SoundClick(bool on);
    void SetScoring(bool on);
    void WinningAnimationClick(persistence::TWinAnimation animation);
    void SaveOptions1Click();
    void SyncOptionChecks();
    // Help and Debug commands (MainHelp.cpp).
    void StartDebugTrace1Click();
    bool TraceRunning() const;
    // A running trace goes on in debug.dat of the current data folder; for
    // whoever moves the data folder.
    void FollowDataRoot();
    void HelpContents1Click();
    // The page of the game in play; the contents when none is.
    void RulesExecute();
    // The page of a game, without starting it (the start screen's Rules);
    // false when there is no such game.
    bool ShowGameRules(const std::string& gameName);
    THelpWindow* HelpWindowIfOpen() const { return HelpWindow; }
    // Where the picture tools write; empty: "GameImagesBitmaps" in the program folder.
    std::filesystem::path ImageBitmapsFolder;
    void SaveImage1Click();
    // Sounds, then the about box; afterwards the start screen's stars anew.
    void About1Click();
    // Shows the about box; tests answer it themselves.
    std::function<void(TAboutBox& box)> RunAboutBox;
    void SaveAllImageBitmaps1Click();
    // Starts each game in turn and saves its table picture.
    void SaveImageBitmaps(const std::vector<std::string>& gameNames);

    // State the tests and the start-up watch.
    int TableTop() const;
    bool FullScreenOn() const;
    bool DealBusy() const;
    bool GameInPlay() const;
    std::string CurrentGameName() const;
    bool TerminateRequested() const { return TerminateAtStart; }

    // Window bounds kept while full screen is on.
    QRect RestoreBounds{100, 100, 700, 600};

    // The six lines of the options; defaults until the options file exists.
    std::vector<std::string> OptionsList;
    // The turn-over speed the card movement dialog offers while "No Flip" is in force.
    int SavedTurnoverSpeed = 8;

    // Where the player's data lives; settled at start-up.
    persistence::TDataPlaces DataPlaces;
    std::filesystem::path DataRoot() const { return DataPlaces.DataRoot(); }

    TPrompts Prompts;

    // When set, the first game chosen is dealt with the generator seeded
    // with this number (the end-to-end test's hook; see shell/app/main.cpp).
    std::optional<std::uint32_t> FixedSeed;

    // Menu access: the menu bar's top-level menus by caption (" Game " ...),
    // a game's item in the "Alphabetical Games" tree, every action by its
    // caption within a menu.
    QMenu* TopMenu(const QString& caption) const;
    QAction* TopMenuAction(const QString& caption) const;
    QAction* FindGameItem(const std::string& gameName) const;
    QAction* FindAction(QMenu* menu, const QString& caption) const;
    QMenu* GameTypeMenu() const { return GameTypeMenu_; }
    QToolBar* MainToolBar() const { return ToolBar; }
    QComboBox* ScaleBox() const { return ComboBox3; }
    QLabel* PointsLabelWidget() const { return PointsLabel; }
    QLabel* FoundationLabelWidget() const { return FoundationLabel; }
    QPushButton* RedealButton() const { return ReDealButton2; }
    QWidget* CardTableWidget() const { return TableWidget; }
    // Null when no card set could be loaded (the program then only says so).
    TCardTable* CardTable() const { return CardTable1; }
    TEngine* Engine() const { return Engine_.get(); }
    TKeyboardPlay* KeyboardPlay() const { return KeyboardPlay_.get(); }
    THintController* Hints() const { return Hints_.get(); }
    TWinnableDeals* WinnableDeals() const { return WinnableDeals_.get(); }
    QLabel* VerdictLabelWidget() const { return VerdictLabel; }

    // Sound (MainSound.cpp). `Sound` is the one routine every cue goes
    // through: the points first, then the file through the player in use.
    void Sound(const std::string& name, int mode, int milliseconds);
    bool Stream(const std::string& name, int loop);
    void SoundStop(const std::string& name, bool stream);
    TSoundSystem* SoundSystem() const { return SoundSystem_.get(); }
    // Replaces the machine's audio (tests record what would be heard) and
    // starts the sound system on it again.
    void UseAudioOutput(std::unique_ptr<platform::TAudioOutput> output);
    // " Options " "Sound" "On" / "Off".
    void SetSoundOption(bool on);
    // Debug "Sound System": "DirectX" (the library) or "Win" (the system player).
    void SetSoundSystem(bool library);
    TFlourish* Flourish() const { return Flourish1; }
    TWinAnim* WinAnim() const { return WinAnim1; }
    // Debug "View Winning Animation".
    void ViewWinningAnimationClick();

    // The start screen and the favourites (MainStartScreen.cpp).
    void ViewStartScreen();
    void BackToStart1Click();
    void AddtoFavourites1Click();
    void EditFavouriteMenu1Click();
    void BuildFavourites();
    // On the start screen: a look at the selected game without dealing it
    // (its rules and preview loaded, GameName empty again). False when no
    // game row is selected.
    bool PreviewSelectedGame();
    bool StartScreenActive() const { return StartScreenActive_; }
    TStartScreen* StartScreen() const { return StartScreen_; }
    TMergePic* MergePicture() const { return MergePic; }
    // True while the start screen's stars and text move: it shows and
    // somebody can see the window.
    bool StartScreenMoving() const;
    const TFavouritesList& Favourites() const { return FavouritesList; }
    QMenu* FavouritesMenu() const { return Favourites1; }
    // Runs the favourites dialog; true for OK. Tests answer it themselves.
    std::function<bool(TForm4& dialog)> RunFavouritesDialog;

    // EngineHost
    void PlaySoundFile(const std::string& file, int channel, int volume) override;
    void StopSound() override;
    bool SoundOn() const override;
    void Beep() override;
    void ShowPoints(const std::string& text) override;
    void ShowFoundationLabel(const std::string& text) override;
    void ShowCaption(const std::string& text) override;
    bool ScoringOn() const override;
    void SetCommandEnabled(TEngineCommand command, bool enabled) override;
    void SetCommandVisible(TEngineCommand command, bool visible) override;
    void PlaceRedealButton(int left, int top) override;
    bool AskYesNo(const std::string& text) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void StartFlourish(const QRect& area, unsigned colour) override;
    void SetFlourishColour(unsigned colour) override;
    void StopFlourish() override;
    void RunWinAnimation() override;
    void StopWinAnimation() override;
    void RecordGameResult(const std::string& gameName, const std::string& saveName, bool won,
                          int points) override;
    void ShowPreview(const std::string& file) override;
    void ShowTable() override;
    QSize ScreenSize() const override;
    void ProcessPendingMessages() override;
    std::string ProgramFolder() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TCommandControls {
        std::vector<QAction*> Actions; // menu item and tool button of one command
        QWidget* Widget = nullptr;     // a widget standing for it (the Redeal button)
    };

    void BuildMenus();
    void BuildGameMenu(QMenu* menu);
    void BuildGameTypeMenu(QMenu* menu);
    void AddMenuItems(QMenu* menu, const TMenuItem& model);
    void BuildStatisticsMenu(QMenu* menu);
    void BuildOptionsMenu(QMenu* menu);
    void BuildHelpMenu(QMenu* menu);
    void BuildDebugMenu(QMenu* menu);
    void BuildToolBar();
    void BuildTable();
    QAction* AddItem(QMenu* menu, const QString& caption, std::function<void()> handler,
                     int image = -1);
    QMenu* AddSubMenu(QMenu* menu, const QString& caption);
    QAction* AddToolButton(int image, const QString& hint, std::function<void()> handler);
    void Bind(TEngineCommand command, QAction* action);

    void StartUp();
    void SettleDataFolder();
    void TellDeckUserCardsets();
    void PlayCue(const std::string& cue);
    bool LoadSavedGame(const QString& file);
    void StartSoundSystem();
    void ApplySoundOption();
    void ConnectSoundMenus();
    void ShowSoundChecks();
    void ShowNoGameState();
    void ApplyLayoutMode(bool extended);
    void UpdateLayoutToggle();
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void SetTableTop(int top);
    void ConnectTable();
    void SyncLayoutCommands();
    void ShowScaleStep(int step);
    void ExtendedRelayout();
    bool ExtendedInForce() const;
    void LoadTableStatus();
    void ApplyOptionsAtFirstShow();
    void ApplyLayoutOptions();
    void ClearGradientChecks();
    THelpWindow& Help();
    void StopTrace();

    // Start screen and favourites (MainStartScreen.cpp).
    void SetUpStartScreen();
    void LoadFavourites();
    void SyncStartScreenGeometry();
    bool StartScreenKey(int key);
    void PreviewGame(const std::string& gameName);
    void StartListedGame(int row);
    void StartTitleShow();
    void StartScreenLoop();
    void FollowSight();
    void CountAbandonedGame();
    void RefreshFavouritesCategory();
    bool SaveFavourites();
    void SetItemEnabled(QAction* item, bool enabled);
    QStringList GameTypeCaptions() const;

    TStartScreen* StartScreen_ = nullptr;
    TMergePic* MergePic = nullptr;
    QTimer* LoopTimer = nullptr;
    TWindowSight* Sight = nullptr;
    QMenu* Favourites1 = nullptr;
    QAction* AboutItem = nullptr;
    QAction* SaveAndQuitItem = nullptr;
    TMenuItem GameTypeModel;
    TFavouritesList FavouritesList;
    // The survey of every game's odds (empty without the file).
    TOddsTable Odds;
    bool FavouritesDamaged = false;
    bool StartScreenActive_ = false;

    std::unique_ptr<TMenuStyle> MenuStyle;
    std::unique_ptr<TTraceLog> TraceLog; // while a trace runs
    THelpWindow* HelpWindow = nullptr;   // made on first use, owned as a child window
    TCardTable* CardTable1 = nullptr;
    QWidget* TableWidget = nullptr; // the table, or a blank stand-in without card sets
    std::unique_ptr<TEngine> Engine_;
    TPlayState Play; // asked, never the engine's presence
    std::unique_ptr<TKeyboardPlay> KeyboardPlay_;
    std::unique_ptr<THintController> Hints_;
    std::unique_ptr<TWinnableDeals> WinnableDeals_;
    // Said after the game's caption: the deal is not proved winnable.
    QString CaptionNote;
    bool WinnableDealsWanted() const;
    // Deals through `deal` a seed the solver proves winnable, when the option asks for it.
    void DealWinnable(const std::string& gameName, std::function<void()> deal);
    void DealChosenGame(const std::string& gameName);
    // A move or command is about to change the position: the solver stops.
    void BeforeChange();
    void SetUpHints();
    TDataForm* DataForm_ = nullptr;
    QTimer* RelayoutTimer = nullptr;
    std::unique_ptr<platform::TAudioOutput> Audio;
    std::unique_ptr<TSoundSystem> SoundSystem_;
    TFlourish* Flourish1 = nullptr;
    QAction* SoundWinItem = nullptr;
    QAction* SoundDirectXItem = nullptr;
    bool SoundMenusConnected = false;
    std::unique_ptr<TWinAnimHost> WinAnimHost;
    TWinAnim* WinAnim1 = nullptr;
    void CreateWinAnim();

    QMenu* GameMenu = nullptr;
    QMenu* GameTypeMenu_ = nullptr;
    QMenu* AlphabeticalMenu = nullptr;
    QMenu* StatisticsMenu = nullptr;
    QMenu* OptionsMenu = nullptr;
    QMenu* HelpMenu = nullptr;
    QMenu* DebugMenu = nullptr;
    QToolBar* ToolBar = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QLabel* FoundationCaption = nullptr;
    QLabel* FoundationLabel = nullptr;
    QLabel* PointsLabel = nullptr;
    QPushButton* ReDealButton2 = nullptr;
    QLabel* VerdictLabel = nullptr;
    QAction* ShowVerdictItem = nullptr;
    QAction* WinnableOnlyItem = nullptr;

    QAction* NewGameButton = nullptr;
    QAction* NewGameItem = nullptr;
    QAction* StartScreenItem = nullptr;
    QAction* HelpContentsItem = nullptr;
    QAction* RulesItem = nullptr;
    QAction* RulesButton = nullptr;
    QAction* CompactItem = nullptr;
    QAction* ExtendedItem = nullptr;
    QAction* LayoutToggleButton = nullptr;
    std::vector<QAction*> ScaleItems;
    std::map<TEngineCommand, TCommandControls> Commands;
    std::unique_ptr<TOptionItems> OptionItems;
    // The reason Status.Dat could not be read at start, told once the window is up.
    std::string StatusError;

    bool FirstShowDone = false;
    bool TerminateAtStart = false;
    bool ClosingConfirmed = false;
    bool ScaleChanging = false;
};
