// The menu bar and the tool bar of the main window.
#include "shell/Main.h"

#include "shell/Icons.h"
#include "shell/MenuDraw.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <array>

namespace {

constexpr std::array<const char*, 6> ScaleBoxEntries{"60%", "80%", "100%", "125%", "150%", "200%"};

} // namespace

QAction* TForm1::AddItem(QMenu* menu, const QString& caption, std::function<void()> handler, int image)
{
    QAction* action = menu->addAction(caption);
    if (image >= 0)
        action->setIcon(ToolIcon(static_cast<TToolImage>(image)));
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return action;
}

QMenu* TForm1::AddSubMenu(QMenu* menu, const QString& caption)
{
    QMenu* sub = menu->addMenu(caption);
    sub->setStyle(MenuStyle.get());
    return sub;
}

void TForm1::Bind(TEngineCommand command, QAction* action)
{
    Commands[command].Actions.push_back(action);
}

void TForm1::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setFixedHeight(MenuBarHeight);
    const auto addTop = [&](const char* caption) {
        QMenu* menu = bar->addMenu(QString::fromLatin1(caption));
        menu->setStyle(MenuStyle.get());
        return menu;
    };
    GameMenu = addTop(" Game ");
    GameTypeMenu_ = addTop(" Game Type ");
    StatisticsMenu = addTop(" Statistics ");
    OptionsMenu = addTop(" Options ");
    HelpMenu = addTop(" Help ");
    DebugMenu = addTop(" Debug ");
    BuildGameMenu(GameMenu);
    BuildGameTypeMenu(GameTypeMenu_);
    BuildStatisticsMenu(StatisticsMenu);
    BuildOptionsMenu(OptionsMenu);
    BuildHelpMenu(HelpMenu);
    BuildDebugMenu(DebugMenu);
    // The debug menu stays out of sight until "Debug Menu" asks for it.
    DebugMenu->menuAction()->setVisible(false);
}

void TForm1::BuildGameMenu(QMenu* menu)
{
    NewGameItem = AddItem(menu, QStringLiteral("New Game"), [this] { NewExecute(); },
                          int(TToolImage::NewGame));
    NewGameItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Bind(TEngineCommand::NewGame, NewGameItem);
    AddItem(menu, QStringLiteral("Open"), [this] { OpenExecute(); }, int(TToolImage::OpenGame));
    Bind(TEngineCommand::SaveGame,
         AddItem(menu, QStringLiteral("Save"), [this] { SaveExecute(); }, int(TToolImage::SaveGame)));
    SaveAndQuitItem = AddItem(menu, QStringLiteral("Save and Quit"), [this] { SaveAndQuitClick(); });
    Bind(TEngineCommand::SaveGame, SaveAndQuitItem);
    AddItem(menu, QStringLiteral("Delete"), [this] { Delete1Click(); });
    menu->addSeparator();
    QAction* undo = AddItem(menu, QStringLiteral("Undo"), [this] { UndoClick(); }, int(TToolImage::Undo));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Bind(TEngineCommand::Undo, undo);
    QAction* redo = AddItem(menu, QStringLiteral("Redo"), [this] { RedoClick(); }, int(TToolImage::Redo));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    Bind(TEngineCommand::Redo, redo);
    QAction* automove = AddItem(menu, QStringLiteral("Foundation Auto Moves"), [this] { AutomoveClick(); },
                                int(TToolImage::AutoMoves));
    // Keyboard play answers the key on the table; the shortcut only shows it
    // in the menu (a menu-wide one would take the start screen's letter).
    automove->setShortcut(QKeySequence(Qt::Key_A));
    automove->setShortcutContext(Qt::WidgetShortcut);
    Bind(TEngineCommand::Automove, automove);
    QAction* redeal = AddItem(menu, QStringLiteral("Redeal"), [this] { RedealClick(); },
                              int(TToolImage::Redeal));
    Bind(TEngineCommand::Redeal, redeal);
    Bind(TEngineCommand::Restart, AddItem(menu, QStringLiteral("Restart"), [this] { RestartClick(); },
                                          int(TToolImage::Restart)));
    menu->addSeparator();
    AddItem(menu, QStringLiteral("Add to Favourites"), [this] { AddtoFavourites1Click(); });
    AddItem(menu, QStringLiteral("Edit Favourites Menu"), [this] { EditFavouriteMenu1Click(); });
    menu->addSeparator();
    StartScreenItem = AddItem(menu, QStringLiteral("Start Screen   F12"), [this] { BackToStart1Click(); });
    AddItem(menu, QStringLiteral("Full Screen   F11"), [this] { FullScreenF111Click(); },
            int(TToolImage::FullScreen));
    menu->addSeparator();
    QAction* quit = AddItem(menu, QStringLiteral("Quit Program"), [this] { QuitProgram1Click(); },
                            int(TToolImage::Exit));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    menu->addSeparator();
    QAction* hint = AddItem(menu, QStringLiteral("Hint"), [this] { HintClick(); }, int(TToolImage::Hint));
    // The window answers H itself while a game is in play; on the start
    // screen the letter jumps through the list.
    hint->setShortcut(QKeySequence(Qt::Key_H));
    hint->setShortcutContext(Qt::WidgetShortcut);
    AddItem(menu, QStringLiteral("Play the Solution"), [this] { PlaySolutionClick(); });
}

void TForm1::BuildStatisticsMenu(QMenu* menu)
{
    AddItem(menu, QStringLiteral("Statistics"), [this] { ShowStatisticsClick(0); },
            int(TToolImage::Statistics));
    AddItem(menu, QStringLiteral("High Scores"), [this] { ShowStatisticsClick(1); },
            int(TToolImage::HighScores));
    menu->addSeparator();
    AddItem(menu, QStringLiteral("Reset"), [this] { Reset1Click(); });
}

// BuildOptionsMenu lives with the options' handlers in MainOptions.cpp.

void TForm1::BuildHelpMenu(QMenu* menu)
{
    HelpContentsItem = AddItem(menu, QStringLiteral("Help Contents   F1"), [this] { HelpContents1Click(); });
    RulesItem = AddItem(menu, QStringLiteral("Rules   F2"), [this] { RulesExecute(); }, int(TToolImage::Rules));
    menu->addSeparator();
    AboutItem = AddItem(menu, QStringLiteral("About"), [this] { About1Click(); });
    AddItem(menu, QStringLiteral("Debug Menu"), [this] { EnableDebugMenu1Click(); });
}

void TForm1::BuildDebugMenu(QMenu* menu)
{
    AddItem(menu, QStringLiteral("Start Debug Trace"), [this] { StartDebugTrace1Click(); });
    AddItem(menu, QStringLiteral("View Winning Animation"), [this] { ViewWinningAnimationClick(); });
    QMenu* soundSystem = AddSubMenu(menu, QStringLiteral("Sound System"));
    SoundWinItem = AddItem(soundSystem, QStringLiteral("Win"), [this] { SetSoundSystem(false); });
    SoundDirectXItem = AddItem(soundSystem, QStringLiteral("DirectX"), [this] { SetSoundSystem(true); });
    auto* systems = new QActionGroup(soundSystem);
    for (QAction* item : {SoundWinItem, SoundDirectXItem}) {
        item->setCheckable(true);
        systems->addAction(item);
    }
    // The picture tools that made the games' preview pictures stay hidden,
    // even while the debug menu shows.
    for (QAction* tool : {AddItem(menu, QStringLiteral("Save Image   F5"), [this] { SaveImage1Click(); }),
                          AddItem(menu, QStringLiteral("Save All Image Bitmaps"),
                                  [this] { SaveAllImageBitmaps1Click(); })})
        tool->setVisible(false);
}

QAction* TForm1::AddToolButton(int image, const QString& hint, std::function<void()> handler)
{
    QAction* action = ToolBar->addAction(ToolIcon(static_cast<TToolImage>(image), 20), hint);
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return action;
}

void TForm1::BuildToolBar()
{
    ToolBar = addToolBar(QStringLiteral("ToolBar"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setFixedHeight(ToolBarHeight);
    ToolBar->setIconSize(QSize(20, 20));
    ToolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    NewGameButton = AddToolButton(int(TToolImage::NewGame), QStringLiteral("New Game"), [this] { NewExecute(); });
    Bind(TEngineCommand::NewGame, NewGameButton);
    AddToolButton(int(TToolImage::OpenGame), QStringLiteral("Open Saved Game"), [this] { OpenExecute(); });
    Bind(TEngineCommand::SaveGame,
         AddToolButton(int(TToolImage::SaveGame), QStringLiteral("Save Game"), [this] { SaveExecute(); }));
    ToolBar->addSeparator();
    Bind(TEngineCommand::Undo, AddToolButton(int(TToolImage::Undo), QStringLiteral("Undo"), [this] { UndoClick(); }));
    Bind(TEngineCommand::Redo, AddToolButton(int(TToolImage::Redo), QStringLiteral("Redo"), [this] { RedoClick(); }));
    Bind(TEngineCommand::Automove, AddToolButton(int(TToolImage::AutoMoves), QStringLiteral("Foundation Auto Moves"),
                                                 [this] { AutomoveClick(); }));
    LayoutToggleButton = AddToolButton(int(TToolImage::Extended), QStringLiteral("Game Layout Toggle"),
                                       [this] { LayoutToggleClick(); });
    ComboBox3 = new QComboBox(ToolBar);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    for (const char* entry : ScaleBoxEntries)
        ComboBox3->addItem(QString::fromLatin1(entry));
    ComboBox3->setCurrentIndex(2);
    ComboBox3->setFocusPolicy(Qt::NoFocus);
    connect(ComboBox3, &QComboBox::activated, this, [this](int index) { SetScaleStepIndex(index); });
    ToolBar->addWidget(ComboBox3);
    ToolBar->addSeparator();
    AddToolButton(int(TToolImage::HighScores), QStringLiteral("High Scores"), [this] { ShowStatisticsClick(1); });
    RulesButton = AddToolButton(int(TToolImage::Rules), QStringLiteral("Rules"), [this] { RulesExecute(); });
    AddToolButton(int(TToolImage::Exit), QStringLiteral("Exit"), [this] { QuitProgram1Click(); });
    AddToolButton(int(TToolImage::Hint), QStringLiteral("Show a move"), [this] { HintClick(); });
    ToolBar->addSeparator();
    FoundationCaption = new QLabel(QStringLiteral("Foundation card: "), ToolBar);
    FoundationLabel = new QLabel(ToolBar);
    FoundationLabel->setObjectName(QStringLiteral("FoundationLabel"));
    FoundationLabel->setMinimumWidth(50);
    PointsLabel = new QLabel(QStringLiteral("Points = 0 "), ToolBar);
    PointsLabel->setObjectName(QStringLiteral("PointsLabel"));
    PointsLabel->setMinimumWidth(110);
    ToolBar->addWidget(FoundationCaption);
    ToolBar->addWidget(FoundationLabel);
    ToolBar->addWidget(PointsLabel);
    VerdictLabel = new QLabel(ToolBar);
    VerdictLabel->setObjectName(QStringLiteral("VerdictLabel"));
    VerdictLabel->setMinimumWidth(110);
    ToolBar->addWidget(VerdictLabel);
    // Tool buttons never take the keyboard focus: the keys belong to the window.
    for (QToolButton* button : ToolBar->findChildren<QToolButton*>())
        button->setFocusPolicy(Qt::NoFocus);
}
