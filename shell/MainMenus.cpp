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

// The captions of the card size steps, in the order of the scale box.
constexpr std::array<const char*, 6> ScaleCaptions{"60% Normal", "80% Normal",  "Normal",
                                                   "125% Normal", "150% Normal", "200% Normal"};
constexpr std::array<const char*, 6> ScaleBoxEntries{"60%", "80%", "100%", "125%", "150%", "200%"};

constexpr std::array<const char*, 15> GradientCaptions{
    "Mode 1",      "Mode 2",       "Mode 3",         "Mode 4",     "Mode 5",
    "Mode 6",      "Callow Fellow", "Card Table",    "Dreamer",    "Glenfiddich",
    "Moon River",  "Mr Blue",      "Pretty in Pink", "Rosebud",    "Way up High"};

} // namespace

QAction* TForm1::AddItem(QMenu* menu, const QString& caption, std::function<void()> handler, int image)
{
    QAction* action = menu->addAction(caption);
    if (image >= 0)
        action->setIcon(ToolIcon(static_cast<TToolImage>(image)));
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return action;
}

// Commands whose features come with later work are shown but disabled, so
// the menus never offer something that silently does nothing.
QAction* TForm1::AddLaterItem(QMenu* menu, const QString& caption, int image)
{
    QAction* action = menu->addAction(caption);
    if (image >= 0)
        action->setIcon(ToolIcon(static_cast<TToolImage>(image)));
    action->setEnabled(false);
    action->setProperty("later", true);
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
    AddLaterItem(menu, QStringLiteral("Open"), int(TToolImage::OpenGame));
    // Saving comes with the saved-game files; until then the engine's wish
    // to offer it is not passed on.
    AddLaterItem(menu, QStringLiteral("Save"), int(TToolImage::SaveGame));
    SaveAndQuitItem = AddLaterItem(menu, QStringLiteral("Save and Quit"));
    AddLaterItem(menu, QStringLiteral("Delete"));
    menu->addSeparator();
    QAction* undo = AddItem(menu, QStringLiteral("Undo"), [this] { UndoClick(); }, int(TToolImage::Undo));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Bind(TEngineCommand::Undo, undo);
    QAction* redo = AddItem(menu, QStringLiteral("Redo"), [this] { RedoClick(); }, int(TToolImage::Redo));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    Bind(TEngineCommand::Redo, redo);
    Bind(TEngineCommand::Automove, AddItem(menu, QStringLiteral("Foundation Auto Moves"),
                                           [this] { AutomoveClick(); }, int(TToolImage::AutoMoves)));
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
}

void TForm1::BuildStatisticsMenu(QMenu* menu)
{
    AddLaterItem(menu, QStringLiteral("Statistics"), int(TToolImage::Statistics));
    AddLaterItem(menu, QStringLiteral("High Scores"), int(TToolImage::HighScores));
    menu->addSeparator();
    AddLaterItem(menu, QStringLiteral("Reset"));
}

void TForm1::BuildOptionsMenu(QMenu* menu)
{
    QMenu* layout = AddSubMenu(menu, QStringLiteral("Game Layout"));
    CompactItem = AddItem(layout, QStringLiteral("Compact"), [this] { CompactClick(); },
                          int(TToolImage::Compact));
    ExtendedItem = AddItem(layout, QStringLiteral("Extended"), [this] { ExtendedClick(); },
                           int(TToolImage::Extended));
    menu->addSeparator();
    AddLaterItem(menu, QStringLiteral("Background Colour"));
    QMenu* gradients = AddSubMenu(menu, QStringLiteral("Background Gradient"));
    for (std::size_t i = 0; i < GradientCaptions.size(); ++i) {
        if (i == 6)
            gradients->addSeparator();
        AddLaterItem(gradients, QString::fromLatin1(GradientCaptions[i]))->setCheckable(true);
    }
    AddLaterItem(menu, QStringLiteral("Background Picture"));
    QMenu* pictureMode = AddSubMenu(menu, QStringLiteral("Background Picture Mode"));
    AddLaterItem(pictureMode, QStringLiteral("Stretch"))->setCheckable(true);
    AddLaterItem(pictureMode, QStringLiteral("Tile"))->setCheckable(true);
    menu->addSeparator();
    AddLaterItem(menu, QStringLiteral("Choose Card Deck"));
    AddLaterItem(menu, QStringLiteral("Choose Card Back"));
    QMenu* scale = AddSubMenu(menu, QStringLiteral("Choose Card Scale"));
    auto* scaleGroup = new QActionGroup(scale);
    for (std::size_t i = 0; i < ScaleCaptions.size(); ++i) {
        QAction* item = AddItem(scale, QString::fromLatin1(ScaleCaptions[i]),
                                [this, i] { SetScaleStepIndex(int(i)); });
        item->setCheckable(true);
        scaleGroup->addAction(item);
        ScaleItems.push_back(item);
    }
    QMenu* shadow = AddSubMenu(menu, QStringLiteral("Card Shadow Mode"));
    AddLaterItem(shadow, QStringLiteral("Dotted Type"))->setCheckable(true);
    QMenu* shaded = AddSubMenu(shadow, QStringLiteral("Shaded Type"));
    AddLaterItem(shaded, QStringLiteral("Hard"))->setCheckable(true);
    AddLaterItem(shaded, QStringLiteral("Soft"))->setCheckable(true);
    AddLaterItem(menu, QStringLiteral("Card Movement Mode"));
    QMenu* drop = AddSubMenu(menu, QStringLiteral("Card Drop Mode"));
    for (const char* caption : {"Card Based", "Fast Card Based", "Mouse Based"})
        AddLaterItem(drop, QString::fromLatin1(caption))->setCheckable(true);
    QMenu* dropShade = AddSubMenu(menu, QStringLiteral("Card Drop Shade Mode"));
    AddLaterItem(dropShade, QStringLiteral("None"))->setCheckable(true);
    AddLaterItem(dropShade, QStringLiteral("Dotted Type"))->setCheckable(true);
    QMenu* shadeColours = AddSubMenu(dropShade, QStringLiteral("Shaded Type"));
    for (const char* caption : {"Red", "Green", "Blue", "Yellow", "Pink", "Turquoise", "Grey"})
        AddLaterItem(shadeColours, QString::fromLatin1(caption))->setCheckable(true);
    menu->addSeparator();
    QMenu* sound = AddSubMenu(menu, QStringLiteral("Sound"));
    AddLaterItem(sound, QStringLiteral("Off"))->setCheckable(true);
    AddLaterItem(sound, QStringLiteral("On"))->setCheckable(true);
    QMenu* scoring = AddSubMenu(menu, QStringLiteral("Scoring && Statistics"));
    AddLaterItem(scoring, QStringLiteral("Off"))->setCheckable(true);
    QAction* scoringOn = AddLaterItem(scoring, QStringLiteral("On"));
    scoringOn->setCheckable(true);
    scoringOn->setChecked(true);
    QMenu* winning = AddSubMenu(menu, QStringLiteral("Winning Animation"));
    for (const char* caption : {"I See Stars", "Cool Colours", "Scribble", "Slide Show", "None"})
        AddLaterItem(winning, QString::fromLatin1(caption))->setCheckable(true);
    menu->addSeparator();
    AddLaterItem(menu, QStringLiteral("Change Save Data location"));
    AddLaterItem(menu, QStringLiteral("Save Options"));
}

void TForm1::BuildHelpMenu(QMenu* menu)
{
    HelpContentsItem = AddLaterItem(menu, QStringLiteral("Help Contents   F1"));
    RulesItem = AddLaterItem(menu, QStringLiteral("Rules   F2"), int(TToolImage::Rules));
    menu->addSeparator();
    AboutItem = AddLaterItem(menu, QStringLiteral("About"));
    AddItem(menu, QStringLiteral("Debug Menu"), [this] { EnableDebugMenu1Click(); });
}

void TForm1::BuildDebugMenu(QMenu* menu)
{
    AddLaterItem(menu, QStringLiteral("Start Debug Trace"));
    AddLaterItem(menu, QStringLiteral("View Winning Animation"));
    QMenu* soundSystem = AddSubMenu(menu, QStringLiteral("Sound System"));
    AddLaterItem(soundSystem, QStringLiteral("Win"))->setCheckable(true);
    AddLaterItem(soundSystem, QStringLiteral("DirectX"))->setCheckable(true);
    // The picture tools that made the games' preview pictures stay hidden.
    AddLaterItem(menu, QStringLiteral("Save Image   F5"))->setVisible(false);
    AddLaterItem(menu, QStringLiteral("Save All Image Bitmaps"))->setVisible(false);
}

QAction* TForm1::AddToolButton(int image, const QString& hint, std::function<void()> handler)
{
    QAction* action = ToolBar->addAction(ToolIcon(static_cast<TToolImage>(image), 20), hint);
    action->setToolTip(hint);
    if (handler)
        connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    else
        action->setEnabled(false);
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
    AddToolButton(int(TToolImage::OpenGame), QStringLiteral("Open Saved Game"), {});
    AddToolButton(int(TToolImage::SaveGame), QStringLiteral("Save Game"), {});
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
    AddToolButton(int(TToolImage::HighScores), QStringLiteral("High Scores"), {});
    AddToolButton(int(TToolImage::Rules), QStringLiteral("Rules"), {});
    AddToolButton(int(TToolImage::Exit), QStringLiteral("Exit"), [this] { QuitProgram1Click(); });
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
    // Tool buttons never take the keyboard focus: the keys belong to the window.
    for (QToolButton* button : ToolBar->findChildren<QToolButton*>())
        button->setFocusPolicy(Qt::NoFocus);
}
