#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QTimer;
class TCardTable;
class TEngine;
class TForm1;
class THintController;
class TPlayState;
class TWindowMenus;
class TWinnableDeals;

// The game commands as the menus, the tool bar and the keys call them:
// dealing, undo and redo, the automoves, the layout and the card size, and
// the solver's help. Each asks the play state before it reaches the engine.
class TGameCommands : public QObject {
public:
    TGameCommands(TForm1& window, TEngine& engine, TCardTable& table, THintController& hints, TWinnableDeals& winnable);

    void NewExecute();
    void QuitProgram1Click();
    void ChooseGame(const std::string& gameName);
    void UndoClick();
    void RedoClick();
    void AutomoveClick();
    void RedealClick();
    void RestartClick();
    void EnableDebugMenu1Click();

    // The layout and the card size.
    void CompactClick();
    void ExtendedClick();
    void LayoutToggleClick();
    void SetScaleStepIndex(int index);
    bool ExtendedInForce() const;
    // The mode in force is the one whose menu item is disabled.
    void SyncLayoutCommands();
    void ShowScaleStep(int step);
    void UpdateLayoutToggle();
    // The window's size changed: the extended layout is fitted anew once
    // the resize has settled.
    void WindowResized();

    // The solver's help (the parts live in THintController).
    void HintClick();
    void PlaySolutionClick();
    void ShowVerdictClick(bool on);
    void WinnableOnlyClick(bool on);
    // A move or command is about to change the position: the solver stops.
    void BeforeChange();
    // Said after the game's caption: the deal is not proved winnable.
    const QString& CaptionNote() const { return CaptionNote_; }

private:
    void DealChosenGame(const std::string& gameName);
    // Deals through `deal` a seed the solver proves winnable, when the option asks for it.
    void DealWinnable(const std::string& gameName, std::function<void()> deal);
    void ApplyLayoutMode(bool extended);
    void ExtendedRelayout();
    // Runs `command` on a game in play that takes commands.
    void OnGame(void (TEngine::*command)());

    TForm1& Window;
    TEngine& Engine;
    TCardTable& Table;
    THintController& Hints;
    TWinnableDeals& Winnable;
    const TPlayState& Play;
    TWindowMenus& Menus;
    QTimer* RelayoutTimer = nullptr;
    QString CaptionNote_;
    bool ScaleChanging = false;
};
