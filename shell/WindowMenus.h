#pragma once

#include "engine/EngineHost.h"
#include "shell/OptionItems.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMainWindow;
class QMenu;
class QPushButton;
class QToolBar;
class QWidget;
class TForm1;
class TMenuStyle;
struct TMenuItem;

// The main window's menu bar and tool bar: every item and button, the
// command map that enables them as the engine says, and the labels of the
// tool bar. The items call the other parts through the window when chosen.
class TWindowMenus : public QObject {
public:
    explicit TWindowMenus(TForm1& window);
    ~TWindowMenus() override;

    // Builds the menu bar and the tool bar into the window.
    void Build();
    // The Redeal button lives on the table; it is made once the table is.
    void BuildRedealButton(QWidget& table);

    // The command map.
    void SetCommandEnabled(TEngineCommand command, bool enabled);
    void SetCommandVisible(TEngineCommand command, bool visible);
    // No game: every game command off, the labels empty.
    void ShowNoGameState();
    // Enables an item that may not exist (the window without menus).
    static void SetItemEnabled(QAction* item, bool enabled);

    // Menu access: the menu bar's top-level menus by caption (" Game " ...),
    // a game's item in the "Alphabetical Games" tree, every action by its
    // caption within a menu.
    QMenu* TopMenu(const QString& caption) const;
    QAction* TopMenuAction(const QString& caption) const;
    QAction* FindGameItem(const std::string& gameName) const;
    QAction* FindAction(QMenu* menu, const QString& caption) const;
    // Makes an item that calls `handler`, with the tool image `image` when not -1.
    QAction* AddItem(QMenu* menu, const QString& caption, std::function<void()> handler, int image = -1);
    QMenu* AddSubMenu(QMenu* menu, const QString& caption);

    QMenu* GameTypeMenu = nullptr;
    QMenu* DebugMenu = nullptr;
    QMenu* Favourites = nullptr; // Favourites1
    QToolBar* ToolBar = nullptr;
    QComboBox* ScaleBox = nullptr; // ComboBox3
    QLabel* FoundationLabel = nullptr;
    QLabel* PointsLabel = nullptr;
    QLabel* VerdictLabel = nullptr;
    QPushButton* RedealButton = nullptr; // ReDealButton2
    QAction* NewGameButton = nullptr;
    QAction* StartScreenItem = nullptr;
    QAction* HelpContentsItem = nullptr;
    QAction* RulesItem = nullptr;
    QAction* AboutItem = nullptr;
    QAction* SaveAndQuitItem = nullptr;
    QAction* CompactItem = nullptr;
    QAction* ExtendedItem = nullptr;
    QAction* LayoutToggleButton = nullptr;
    QAction* SoundWinItem = nullptr;
    QAction* SoundDirectXItem = nullptr;
    QAction* ShowVerdictItem = nullptr;
    QAction* WinnableOnlyItem = nullptr;
    std::vector<QAction*> ScaleItems;
    // The " Options " items whose check marks the options part keeps.
    TOptionItems OptionItems;

private:
    struct TCommandControls {
        std::vector<QAction*> Actions; // menu item and tool button of one command
        QWidget* Widget = nullptr;     // a widget standing for it (the Redeal button)
    };

    void BuildGameMenu(QMenu* menu);
    void AddMenuItems(QMenu* menu, const TMenuItem& model);
    void BuildStatisticsMenu(QMenu* menu);
    void BuildOptionsMenu(QMenu* menu);
    void BuildHelpMenu(QMenu* menu);
    void BuildDebugMenu(QMenu* menu);
    void BuildToolBar();
    void BuildToolBarLabels();
    QAction* AddToolButton(int image, const QString& hint, std::function<void()> handler);
    void Bind(TEngineCommand command, QAction* action);

    TForm1& Window;
    std::unique_ptr<TMenuStyle> MenuStyle;
    QMenu* AlphabeticalMenu = nullptr;
    std::map<TEngineCommand, TCommandControls> Commands;
};
