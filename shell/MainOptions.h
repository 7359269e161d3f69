#pragma once

#include <array>

class QAction;

// The " Options " menu items whose check marks follow the table's settings
// and the option lines; TForm1::SyncOptionChecks sets them all from that
// state after every change, so a check can never tell something else.
struct TOptionItems {
    std::array<QAction*, 15> Gradients{};     // by gradient number - 1
    QAction* Stretch = nullptr;
    QAction* Tile = nullptr;
    QAction* ShadowDotted = nullptr;
    QAction* ShadowHard = nullptr;
    QAction* ShadowSoft = nullptr;
    std::array<QAction*, 3> DropModes{};      // by drop mode - 1: fast card based, mouse based, card based
    QAction* ShadeDotted = nullptr;
    std::array<QAction*, 8> ShadeColours{};   // by shade colour: Grey .. Turquoise, then None
    QAction* SoundOff = nullptr;
    QAction* SoundOn = nullptr;
    QAction* ScoringOff = nullptr;
    QAction* ScoringOn = nullptr;
    std::array<QAction*, 5> WinAnimations{};  // Stars, Cool Colours, Scribble, Slide Show, None
};
