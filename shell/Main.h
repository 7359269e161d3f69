#pragma once

#include "persistence/FileLocation.h"
#include "shell/PlayState.h"
#include "shell/Prompts.h"

#include <QMainWindow>
#include <QRect>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TCardTable;
class TEngine;
class TGameCommands;
class THelpTools;
class THintController;
class TKeyboardPlay;
class TSavedGames;
class TStartScreenControl;
class TWindowEngineHost;
class TWindowMenus;
class TWindowOptions;
class TWindowSound;
class TWinnableDeals;
class TWinShowControl;

// The main window: the menus, the tool bar, the card table filling the rest,
// and the engine that plays on it. The window creates, owns and wires the
// parts that do the work, lays them out and routes the keys; the engine
// reaches the parts only through the engine host.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    // With the player's questions and messages answered by `prompts`.
    explicit TForm1(TPrompts prompts, QWidget* parent = nullptr);
    // With the engine's requests going through the host `makeHost` makes
    // (tests watch them so).
    using THostMaker = std::function<std::unique_ptr<TWindowEngineHost>(TForm1& window)>;
    TForm1(TPrompts prompts, THostMaker makeHost, QWidget* parent = nullptr);
    ~TForm1() override;

    // Heights of the two bars above the table; with both shown the table's
    // top is 53, with the tool bar hidden (full screen) it is 23.
    static constexpr int MenuBarHeight = 23;
    static constexpr int ToolBarHeight = 30;

    // True when the screen is at least width x height; when it is not and
    // `report` is set, the player is told so.
    bool ScreenOk(int width, int height, bool report);
    QSize ScreenSize() const;
    std::string ProgramFolder() const;

    // The first-show sequence; runs once, on the first show or when called.
    void FirstShow();
    void FullScreenF111Click();

    // State the tests and the start-up watch.
    int TableTop() const;
    bool FullScreenOn() const;
    bool DealBusy() const { return Play.Busy(); }
    bool GameInPlay() const { return Play.InPlay(); }
    std::string CurrentGameName() const { return Play.GameName(); }
    const TPlayState& PlayState() const { return Play; }
    bool TerminateRequested() const { return TerminateAtStart; }

    // Window bounds kept while full screen is on.
    QRect RestoreBounds{100, 100, 700, 600};
    // The six lines of the options; defaults until the options file exists.
    std::vector<std::string> OptionsList;
    // Where the player's data lives; settled at start-up.
    persistence::TDataPlaces DataPlaces;
    std::filesystem::path DataRoot() const { return DataPlaces.DataRoot(); }
    TPrompts Prompts;
    // When set, the first game chosen is dealt with the generator seeded
    // with this number (the end-to-end test's hook; see shell/app/main.cpp).
    std::optional<std::uint32_t> FixedSeed;

    // The parts. Without a card set there are none: the window only says
    // why and the program ends.
    TWindowMenus& Menus() const { return *Menus_; }
    TGameCommands& Commands() const { return *Commands_; }
    TWindowOptions& Options() const { return *Options_; }
    TSavedGames& Saves() const { return *Saves_; }
    TStartScreenControl& StartPage() const { return *StartPage_; }
    TWindowSound& Sounds() const { return *Sounds_; }
    THelpTools& Tools() const { return *Tools_; }
    TWinShowControl& WinShow() const { return *WinShow_; }
    // Null when no card set could be loaded.
    TCardTable* CardTable() const { return Table; }
    QWidget* CardTableWidget() const { return TableWidget; }
    TEngine* Engine() const { return Engine_.get(); }
    TKeyboardPlay* KeyboardPlay() const { return KeyboardPlay_.get(); }
    THintController* Hints() const { return Hints_.get(); }
    TWinnableDeals* WinnableDeals() const { return WinnableDeals_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StartUp(const THostMaker& makeHost);
    void BuildTable(const THostMaker& makeHost);
    void BuildParts();
    void ConnectTable(const THostMaker& makeHost);
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void SetTableTop(int top);
    // Every part is made, and none has gone yet (the last made goes first).
    bool HasParts() const { return WinShow_ != nullptr; }

    TCardTable* Table = nullptr;    // CardTable1
    QWidget* TableWidget = nullptr; // the table, or a blank stand-in without card sets
    // The host goes after the engine, which holds on to it.
    std::unique_ptr<TWindowEngineHost> Host;
    std::unique_ptr<TEngine> Engine_;
    TPlayState Play; // asked, never the engine's presence
    std::unique_ptr<TKeyboardPlay> KeyboardPlay_;
    std::unique_ptr<THintController> Hints_;
    std::unique_ptr<TWinnableDeals> WinnableDeals_;
    std::unique_ptr<TWindowSound> Sounds_;
    std::unique_ptr<TWindowMenus> Menus_;
    std::unique_ptr<TGameCommands> Commands_;
    std::unique_ptr<TWindowOptions> Options_;
    std::unique_ptr<TSavedGames> Saves_;
    std::unique_ptr<TStartScreenControl> StartPage_;
    std::unique_ptr<THelpTools> Tools_;
    std::unique_ptr<TWinShowControl> WinShow_;

    bool FirstShowDone = false;
    bool TerminateAtStart = false;
    bool ClosingConfirmed = false;
};
