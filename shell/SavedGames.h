#pragma once

#include <QString>

#include <string>

class TCardTable;
class TDataForm;
class TEngine;
class TForm1;
class TPlayState;
class TWindowMenus;

// Saved games, statistics and the data folder as the window sees them: the
// Open, Save and Delete commands, the counting of a game's result, the
// statistics and high scores, and where the player's data lives.
class TSavedGames {
public:
    TSavedGames(TForm1& window, TEngine& engine, TCardTable& table);

    // At start-up: the data folder chosen or found.
    void SettleDataFolder();
    void OpenExecute();
    // False when nothing was saved (cancelled, or the file could not be written).
    bool SaveExecute();
    void SaveAndQuitClick();
    void Delete1Click();
    void ShowStatisticsClick(int page);
    void Reset1Click();
    void SetUserFilelocation1Click();
    void RecordGameResult(const std::string& gameName, const std::string& saveName, bool won, int points);
    TDataForm* DataForm() const { return Form; }

private:
    void TellDeckUserCardsets();
    void PlayCue(const std::string& cue);
    bool LoadSavedGame(const QString& file);

    TForm1& Window;
    TEngine& Engine;
    TCardTable& Table;
    const TPlayState& Play;
    TWindowMenus& Menus;
    TDataForm* Form; // DataForm1, a child window of the main window
};
