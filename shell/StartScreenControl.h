#pragma once

#include "catalogue/Favourites.h"
#include "catalogue/MenuTree.h"
#include "catalogue/Odds.h"

#include <QImage>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QTimer;
class TCardTable;
class TEngine;
class TForm1;
class TFavouritesDialog;
class TMergePic;
class TPlayState;
class TStartScreen;
class TWindowMenus;
class TWindowSight;

// The start screen's behaviour: the page between games with its list, its
// preview and odds, the moving stars and title, the way back to it from a
// game, and the favourites it lists.
class TStartScreenControl : public QObject {
public:
    TStartScreenControl(TForm1& window, TEngine& engine, TCardTable& table);
    ~TStartScreenControl() override;

    void ViewStartScreen();
    void BackToStart1Click();
    // Leaves the start screen for the table.
    void ShowTable();
    bool Active() const { return StartScreenActive_; } // StartScreenActive
    // The game of the selected row; empty on the heading row.
    std::string SelectedGame() const;
    // On the start screen: a look at the selected game without dealing it
    // (its rules and preview loaded, GameName empty again). False when no
    // game row is selected.
    bool PreviewSelectedGame();
    // The engine's preview picture, shown beside the list.
    void ShowPreview(const std::string& file);
    QImage PreviewPicture() const;
    // A letter or Enter for the list; false when the start screen does not take it.
    bool StartScreenKey(int key);
    // Follows the window's geometry: the start screen covers the table.
    void SyncStartScreenGeometry();
    // True while the start screen's stars and text move: it shows and
    // somebody can see the window.
    bool StartScreenMoving() const;
    void WithStarsStill(const std::function<void()>& modal);
    void StopLoop();
    void Shutdown();
    TStartScreen* StartScreen() const { return StartScreen_; }
    TMergePic* MergePicture() const { return MergePic; }

    // The favourites.
    void LoadFavourites();
    void AddtoFavourites1Click();
    void EditFavouriteMenu1Click();
    void BuildFavourites();
    const TFavouritesList& Favourites() const { return FavouritesList; }
    // Runs the favourites dialog; true for OK. Tests answer it themselves.
    std::function<bool(TFavouritesDialog& dialog)> RunFavouritesDialog;

private:
    void FollowSight();
    QStringList GameTypeCaptions() const;
    void PreviewGame(const std::string& gameName);
    void StartListedGame(int row);
    void StartTitleShow();
    void StartScreenLoop();
    void RefreshFavouritesCategory();
    bool SaveFavourites();

    TForm1& Window;
    TEngine& Engine;
    TCardTable& Table;
    const TPlayState& Play;
    TWindowMenus& Menus;
    TStartScreen* StartScreen_ = nullptr; // a child of the window
    TMergePic* MergePic = nullptr;        // the window's one, shared with the win show
    QTimer* LoopTimer = nullptr;
    std::unique_ptr<TWindowSight> Sight;
    TMenuItem GameTypeModel;
    TFavouritesList FavouritesList;
    // The survey of every game's odds (empty without the file).
    TOddsTable Odds;
    bool FavouritesDamaged = false;
    bool StartScreenActive_ = false;
};
