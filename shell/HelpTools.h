#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TAboutBox;
class TCardTable;
class TEngine;
class TForm1;
class THelpWindow;
class TTraceLog;

// The Help and Debug menus' commands: the help window and the rules, the
// debug trace, the about box, and the picture tools.
class THelpTools {
public:
    THelpTools(TForm1& window, TEngine& engine, TCardTable& table);
    ~THelpTools();

    void StartDebugTrace1Click();
    bool TraceRunning() const;
    void StopTrace();
    // A running trace goes on in debug.dat of the current data folder; for
    // whoever moves the data folder.
    void FollowDataRoot();
    void HelpContentsClick();
    // The page of the game in play; the contents when none is.
    void RulesExecute();
    // The page of a game, without starting it (the start screen's Rules);
    // false when there is no such game.
    bool ShowGameRules(const std::string& gameName);
    THelpWindow* HelpWindowIfOpen() const { return HelpWindow; }
    // Sounds, then the about box; afterwards the start screen's stars anew.
    void About1Click();
    // Shows the about box; tests answer it themselves.
    std::function<void(TAboutBox& box)> RunAboutBox;

    // Where the picture tools write; empty: "GameImagesBitmaps" in the program folder.
    std::filesystem::path ImageBitmapsFolder;
    void SaveImage1Click();
    void SaveAllImageBitmaps1Click();
    // Starts each game in turn and saves its table picture.
    void SaveImageBitmaps(const std::vector<std::string>& gameNames);

private:
    THelpWindow& Help();

    TForm1& Window;
    TEngine& Engine;
    TCardTable& Table;
    std::unique_ptr<TTraceLog> TraceLog; // while a trace runs
    THelpWindow* HelpWindow = nullptr;   // made on first use, owned as a child window
};
