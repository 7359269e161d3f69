#pragma once

#include "persistence/Options.h"

#include <string>

class QColor;
class TCardTable;
class TEngine;
class TForm1;
class TWindowMenus;

// The " Options " menu's handlers: the table's look and behaviour, sound,
// scoring and the winning animation as option lines, their check marks,
// and the first show that brings them into force. The dialogs' choices
// also have a way in of their own, so that tests need no modal dialog.
class TWindowOptions {
public:
    TWindowOptions(TForm1& window, TEngine& engine, TCardTable& table);

    void BackgroundColourClick();
    void SetBackgroundColour(const QColor& colour);
    void GradientClick(int number);
    void BackgroundPictureClick();
    void BackgroundPictureChosen();
    void PictureModeClick(bool stretch);
    void ChooseCardDeckClick();
    void CardDeckChosen(const std::string& previousDeck);
    void ChooseCardBackClick();
    void ShadowModeClick(int mode); // 0 dotted, 1 hard, 2 soft
    void SetCardSpeed1Click();
    void DropModeClick(int mode);    // the table's AutoShadeMode, 1..3
    void DropShadeClick(int colour); // -1 dotted, else the shade colour 0..7
    void SoundClick(bool on);
    void SetScoring(bool on);
    bool ScoringOn() const;
    void WinningAnimationClick(persistence::TWinAnimation animation);
    void SaveOptionsClick();
    // Every check mark from the state it stands for.
    void SyncOptionChecks();

    // The first show: the table's settings read, then the options applied;
    // what could not be read is told once the window is up.
    void LoadTableStatus();
    void ApplyOptionsAtFirstShow();
    void TellStatusError() const;

    // The turn-over speed the card movement dialog offers while "No Flip" is in force.
    int SavedTurnoverSpeed = 8;

private:
    void ClearGradientChecks();
    void ApplyLayoutOptions();

    TForm1& Window;
    TEngine& Engine;
    TCardTable& Table;
    TWindowMenus& Menus;
    // The reason Status.Dat could not be read at start, told once the window is up.
    std::string StatusError;
};
