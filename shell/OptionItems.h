#pragma once

#include "cardtable/Backdrop.h"
#include "persistence/Options.h"

#include <QColor>

#include <array>

class QAction;

// The " Options " menu items whose check marks follow the table's settings
// and the option lines; TWindowOptions::SyncOptionChecks sets them all from that
// state after every change, so a check can never tell something else.
struct TOptionItems {
    std::array<QAction*, 15> Gradients{}; // by gradient number - 1
    QAction* Stretch = nullptr;
    QAction* Tile = nullptr;
    QAction* ShadowDotted = nullptr;
    QAction* ShadowHard = nullptr;
    QAction* ShadowSoft = nullptr;
    std::array<QAction*, 3> DropModes{}; // by drop mode - 1: fast card based, mouse based, card based
    QAction* ShadeDotted = nullptr;
    std::array<QAction*, 8> ShadeColours{}; // by shade colour: Grey .. Turquoise, then None
    QAction* SoundOff = nullptr;
    QAction* SoundOn = nullptr;
    QAction* ScoringOff = nullptr;
    QAction* ScoringOn = nullptr;
    std::array<QAction*, 5> WinAnimations{}; // Stars, Cool Colours, Scribble, Slide Show, None
};

// The tables the " Options " menu is built from and its handlers read.
inline constexpr std::array<const char*, 6> ScaleCaptions{"60% Normal",  "80% Normal",  "Normal",
                                                          "125% Normal", "150% Normal", "200% Normal"};

struct TGradient {
    const char* Caption;
    bool TwoColour;
    QColor Start; // classic: the start colour; two-colour: from
    QColor To;    // two-colour only
    TFillDirection Direction;
    bool ChangeR, ChangeG, ChangeB;
    TGradientStyle Style;
};

// By gradient number - 1; the table's tag keeps the number.
const std::array<TGradient, 15>& Gradients();

// The menu's order: the six modes, then the named ones alphabetically.
inline constexpr std::array<int, 15> GradientMenuOrder{1, 2, 3, 4, 5, 6, 12, 11, 13, 9, 7, 14, 10, 15, 8};

// Drop shade colour items in menu order with their colour numbers.
struct TShadeItem {
    const char* Caption;
    int Colour;
};
inline constexpr std::array<TShadeItem, 7> ShadeColourItems{
    {{"Red", 1}, {"Green", 2}, {"Blue", 3}, {"Yellow", 4}, {"Pink", 5}, {"Turquoise", 6}, {"Grey", 0}}};
inline constexpr int NoShadeColour = 7;

struct TWinItem {
    const char* Caption;
    persistence::TWinAnimation Animation;
    const char* Trace;
};
inline constexpr std::array<TWinItem, 5> WinItems{{
    {"I See Stars", persistence::TWinAnimation::Stars, "I see stars WinAnim on."},
    {"Cool Colours", persistence::TWinAnimation::CoolColours, "New WinAnim on."},
    {"Scribble", persistence::TWinAnimation::Scribble, "Scribble WinAnim on."},
    {"Slide Show", persistence::TWinAnimation::SlideShow, "Slide Show WinAnim on."},
    {"None", persistence::TWinAnimation::None, "None WinAnim on."},
}};
