#pragma once

#include <memory>

class TCardTable;
class TEngine;
class TForm1;
class TMergePic;
class TWinAnim;
class TWinAnimHost;

// The win show: played when a game is won, stopped when the player goes on,
// and the debug command that plays it on an empty table.
class TWinShowControl {
public:
    TWinShowControl(TForm1& window, TEngine& engine, TCardTable& table, TMergePic& mergePic);
    ~TWinShowControl();

    void RunWinAnimation();
    void StopWinAnimation();
    // Debug "View Winning Animation".
    void ViewWinningAnimationClick();
    // Null until the first show.
    TWinAnim* WinAnim() const { return WinAnim1; }

private:
    void CreateWinAnim();

    TForm1& Window;
    TEngine& Engine;
    TCardTable& Table;
    TMergePic& MergePic; // shared with the start screen's title
    std::unique_ptr<TWinAnimHost> WinAnimHost;
    TWinAnim* WinAnim1 = nullptr;
};
