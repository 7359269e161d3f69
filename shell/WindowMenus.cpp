// The menu bar and the tool bar of the main window, and the command map
// that enables their items as the engine says.
#include "shell/WindowMenus.h"

#include "shell/GameCommands.h"
#include "shell/HelpTools.h"
#include "shell/Icons.h"
#include "shell/Main.h"
#include "shell/MenuDraw.h"
#include "shell/SavedGames.h"
#include "shell/StartScreenControl.h"
#include "shell/WinShowControl.h"
#include "shell/WindowOptions.h"
#include "shell/WindowSound.h"

#include "cardtable/CardTable.h"
#include "catalogue/MenuTree.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <array>

namespace {

constexpr std::array<const char*, 6> ScaleBoxEntries{"60%", "80%", "100%", "125%", "150%", "200%"};

QString Strip(const QString& caption)
{
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    return plain.trimmed();
}

QAction* Checkable(QAction* action)
{
    action->setCheckable(true);
    return action;
}

} // namespace

TWindowMenus::TWindowMenus(TForm1& window) : Window(window), MenuStyle(std::make_unique<TMenuStyle>()) {}

// The menus use the drawing style owned here; they go first.
TWindowMenus::~TWindowMenus() { delete Window.menuBar(); }

void TWindowMenus::BuildRedealButton(QWidget& table)
{
    RedealButton = new QPushButton(QStringLiteral("Redeal"), &table);
    RedealButton->setObjectName(QStringLiteral("RedealButton"));
    RedealButton->setFixedSize(50, 50);
    RedealButton->setFocusPolicy(Qt::NoFocus);
    RedealButton->hide();
    RedealButton->setEnabled(false);
    connect(RedealButton, &QPushButton::clicked, this, [this] { Window.Commands().RedealClick(); });
    Commands[TEngineCommand::Redeal].Widget = RedealButton;
}

void TWindowMenus::SetItemEnabled(QAction* item, bool enabled)
{
    if (item != nullptr)
        item->setEnabled(enabled);
}

QAction* TWindowMenus::AddItem(QMenu* menu, const QString& caption, std::function<void()> handler, int image)
{
    QAction* action = menu->addAction(caption);
    if (image >= 0)
        action->setIcon(ToolIcon(static_cast<TToolImage>(image)));
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return action;
}

QMenu* TWindowMenus::AddSubMenu(QMenu* menu, const QString& caption)
{
    QMenu* sub = menu->addMenu(caption);
    sub->setStyle(MenuStyle.get());
    return sub;
}

void TWindowMenus::Bind(TEngineCommand command, QAction* action) { Commands[command].Actions.push_back(action); }

void TWindowMenus::Build()
{
    QMenuBar* bar = Window.menuBar();
    bar->setFixedHeight(TForm1::MenuBarHeight);
    const auto addTop = [&](const char* caption) {
        QMenu* menu = bar->addMenu(QString::fromLatin1(caption));
        menu->setStyle(MenuStyle.get());
        return menu;
    };
    BuildGameMenu(addTop(" Game "));
    GameTypeMenu = addTop(" Game Type ");
    AddMenuItems(GameTypeMenu, StandardGameTypeMenu());
    BuildStatisticsMenu(addTop(" Statistics "));
    BuildOptionsMenu(addTop(" Options "));
    BuildHelpMenu(addTop(" Help "));
    DebugMenu = addTop(" Debug ");
    BuildDebugMenu(DebugMenu);
    // The debug menu stays out of sight until "Debug Menu" asks for it.
    DebugMenu->menuAction()->setVisible(false);
    BuildToolBar();
}

void TWindowMenus::BuildGameMenu(QMenu* menu)
{
    QAction* newGame = AddItem(
        menu, QStringLiteral("New Game"), [this] { Window.Commands().NewExecute(); }, int(TToolImage::NewGame));
    newGame->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Bind(TEngineCommand::NewGame, newGame);
    AddItem(
        menu, QStringLiteral("Open"), [this] { Window.Saves().OpenExecute(); }, int(TToolImage::OpenGame));
    Bind(TEngineCommand::SaveGame,
         AddItem(
             menu, QStringLiteral("Save"), [this] { Window.Saves().SaveExecute(); }, int(TToolImage::SaveGame)));
    SaveAndQuitItem = AddItem(menu, QStringLiteral("Save and Quit"), [this] { Window.Saves().SaveAndQuitClick(); });
    Bind(TEngineCommand::SaveGame, SaveAndQuitItem);
    AddItem(menu, QStringLiteral("Delete"), [this] { Window.Saves().Delete1Click(); });
    menu->addSeparator();
    QAction* undo = AddItem(
        menu, QStringLiteral("Undo"), [this] { Window.Commands().UndoClick(); }, int(TToolImage::Undo));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Bind(TEngineCommand::Undo, undo);
    QAction* redo = AddItem(
        menu, QStringLiteral("Redo"), [this] { Window.Commands().RedoClick(); }, int(TToolImage::Redo));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    Bind(TEngineCommand::Redo, redo);
    QAction* automove = AddItem(
        menu, QStringLiteral("Foundation Auto Moves"), [this] { Window.Commands().AutomoveClick(); },
        int(TToolImage::AutoMoves));
    // Keyboard play answers the key on the table; the shortcut only shows it
    // in the menu (a menu-wide one would take the start screen's letter).
    automove->setShortcut(QKeySequence(Qt::Key_A));
    automove->setShortcutContext(Qt::WidgetShortcut);
    Bind(TEngineCommand::Automove, automove);
    QAction* redeal = AddItem(
        menu, QStringLiteral("Redeal"), [this] { Window.Commands().RedealClick(); }, int(TToolImage::Redeal));
    Bind(TEngineCommand::Redeal, redeal);
    Bind(TEngineCommand::Restart,
         AddItem(
             menu, QStringLiteral("Restart"), [this] { Window.Commands().RestartClick(); }, int(TToolImage::Restart)));
    menu->addSeparator();
    AddItem(menu, QStringLiteral("Add to Favourites"), [this] { Window.StartPage().AddtoFavourites1Click(); });
    AddItem(menu, QStringLiteral("Edit Favourites Menu"), [this] { Window.StartPage().EditFavouriteMenu1Click(); });
    menu->addSeparator();
    StartScreenItem =
        AddItem(menu, QStringLiteral("Start Screen   F12"), [this] { Window.StartPage().BackToStart1Click(); });
    AddItem(
        menu, QStringLiteral("Full Screen   F11"), [this] { Window.FullScreenF111Click(); },
        int(TToolImage::FullScreen));
    menu->addSeparator();
    QAction* quit = AddItem(
        menu, QStringLiteral("Quit Program"), [this] { Window.Commands().QuitProgram1Click(); }, int(TToolImage::Exit));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    menu->addSeparator();
    QAction* hint = AddItem(
        menu, QStringLiteral("Hint"), [this] { Window.Commands().HintClick(); }, int(TToolImage::Hint));
    // The window answers H itself while a game is in play; on the start
    // screen the letter jumps through the list.
    hint->setShortcut(QKeySequence(Qt::Key_H));
    hint->setShortcutContext(Qt::WidgetShortcut);
    AddItem(menu, QStringLiteral("Play the Solution"), [this] { Window.Commands().PlaySolutionClick(); });
}

void TWindowMenus::BuildStatisticsMenu(QMenu* menu)
{
    AddItem(
        menu, QStringLiteral("Statistics"), [this] { Window.Saves().ShowStatisticsClick(0); },
        int(TToolImage::Statistics));
    AddItem(
        menu, QStringLiteral("High Scores"), [this] { Window.Saves().ShowStatisticsClick(1); },
        int(TToolImage::HighScores));
    menu->addSeparator();
    AddItem(menu, QStringLiteral("Reset"), [this] { Window.Saves().Reset1Click(); });
}

void TWindowMenus::BuildHelpMenu(QMenu* menu)
{
    HelpContentsItem =
        AddItem(menu, QStringLiteral("Help Contents   F1"), [this] { Window.Tools().HelpContentsClick(); });
    RulesItem = AddItem(
        menu, QStringLiteral("Rules   F2"), [this] { Window.Tools().RulesExecute(); }, int(TToolImage::Rules));
    menu->addSeparator();
    AboutItem = AddItem(menu, QStringLiteral("About"), [this] { Window.Tools().About1Click(); });
    AddItem(menu, QStringLiteral("Debug Menu"), [this] { Window.Commands().EnableDebugMenu1Click(); });
}

void TWindowMenus::BuildDebugMenu(QMenu* menu)
{
    AddItem(menu, QStringLiteral("Start Debug Trace"), [this] { Window.Tools().StartDebugTrace1Click(); });
    AddItem(menu, QStringLiteral("View Winning Animation"), [this] { Window.WinShow().ViewWinningAnimationClick(); });
    QMenu* soundSystem = AddSubMenu(menu, QStringLiteral("Sound System"));
    SoundWinItem = AddItem(soundSystem, QStringLiteral("Win"), [this] { Window.Sounds().SetSoundSystem(false); });
    SoundDirectXItem =
        AddItem(soundSystem, QStringLiteral("DirectX"), [this] { Window.Sounds().SetSoundSystem(true); });
    auto* systems = new QActionGroup(soundSystem);
    for (QAction* item : {SoundWinItem, SoundDirectXItem}) {
        item->setCheckable(true);
        systems->addAction(item);
    }
    // The picture tools that made the games' preview pictures stay hidden,
    // even while the debug menu shows.
    for (QAction* tool :
         {AddItem(menu, QStringLiteral("Save Image   F5"), [this] { Window.Tools().SaveImage1Click(); }),
          AddItem(menu, QStringLiteral("Save All Image Bitmaps"),
                  [this] { Window.Tools().SaveAllImageBitmaps1Click(); })})
        tool->setVisible(false);
}

QAction* TWindowMenus::AddToolButton(int image, const QString& hint, std::function<void()> handler)
{
    QAction* action = ToolBar->addAction(ToolIcon(static_cast<TToolImage>(image), 20), hint);
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return action;
}

void TWindowMenus::BuildToolBar()
{
    ToolBar = Window.addToolBar(QStringLiteral("ToolBar"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setFixedHeight(TForm1::ToolBarHeight);
    ToolBar->setIconSize(QSize(20, 20));
    ToolBar->toggleViewAction()->setVisible(false);
    Window.setContextMenuPolicy(Qt::NoContextMenu);

    NewGameButton =
        AddToolButton(int(TToolImage::NewGame), QStringLiteral("New Game"), [this] { Window.Commands().NewExecute(); });
    Bind(TEngineCommand::NewGame, NewGameButton);
    AddToolButton(int(TToolImage::OpenGame), QStringLiteral("Open Saved Game"),
                  [this] { Window.Saves().OpenExecute(); });
    Bind(TEngineCommand::SaveGame, AddToolButton(int(TToolImage::SaveGame), QStringLiteral("Save Game"), [this] {
             Window.Saves().SaveExecute();
         }));
    ToolBar->addSeparator();
    Bind(TEngineCommand::Undo,
         AddToolButton(int(TToolImage::Undo), QStringLiteral("Undo"), [this] { Window.Commands().UndoClick(); }));
    Bind(TEngineCommand::Redo,
         AddToolButton(int(TToolImage::Redo), QStringLiteral("Redo"), [this] { Window.Commands().RedoClick(); }));
    Bind(TEngineCommand::Automove,
         AddToolButton(int(TToolImage::AutoMoves), QStringLiteral("Foundation Auto Moves"),
                       [this] { Window.Commands().AutomoveClick(); }));
    LayoutToggleButton = AddToolButton(int(TToolImage::Extended), QStringLiteral("Game Layout Toggle"),
                                       [this] { Window.Commands().LayoutToggleClick(); });
    ScaleBox = new QComboBox(ToolBar);
    ScaleBox->setObjectName(QStringLiteral("ScaleBox"));
    for (const char* entry : ScaleBoxEntries)
        ScaleBox->addItem(QString::fromLatin1(entry));
    ScaleBox->setCurrentIndex(2);
    ScaleBox->setFocusPolicy(Qt::NoFocus);
    connect(ScaleBox, &QComboBox::activated, this, [this](int index) { Window.Commands().SetScaleStepIndex(index); });
    ToolBar->addWidget(ScaleBox);
    ToolBar->addSeparator();
    AddToolButton(int(TToolImage::HighScores), QStringLiteral("High Scores"),
                  [this] { Window.Saves().ShowStatisticsClick(1); });
    AddToolButton(int(TToolImage::Rules), QStringLiteral("Rules"), [this] { Window.Tools().RulesExecute(); });
    AddToolButton(int(TToolImage::Exit), QStringLiteral("Exit"), [this] { Window.Commands().QuitProgram1Click(); });
    AddToolButton(int(TToolImage::Hint), QStringLiteral("Show a move"), [this] { Window.Commands().HintClick(); });
    ToolBar->addSeparator();
    auto* foundationCaption = new QLabel(QStringLiteral("Foundation card: "), ToolBar);
    FoundationLabel = new QLabel(ToolBar);
    FoundationLabel->setObjectName(QStringLiteral("FoundationLabel"));
    FoundationLabel->setMinimumWidth(50);
    PointsLabel = new QLabel(QStringLiteral("Points = 0 "), ToolBar);
    PointsLabel->setObjectName(QStringLiteral("PointsLabel"));
    PointsLabel->setMinimumWidth(110);
    ToolBar->addWidget(foundationCaption);
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

void TWindowMenus::BuildOptionsMenu(QMenu* menu)
{
    TOptionItems& items = OptionItems;
    QMenu* layout = AddSubMenu(menu, QStringLiteral("Game Layout"));
    CompactItem = AddItem(
        layout, QStringLiteral("Compact"), [this] { Window.Commands().CompactClick(); }, int(TToolImage::Compact));
    ExtendedItem = AddItem(
        layout, QStringLiteral("Extended"), [this] { Window.Commands().ExtendedClick(); }, int(TToolImage::Extended));
    menu->addSeparator();
    AddItem(menu, QStringLiteral("Background Colour"), [this] { Window.Options().BackgroundColourClick(); });
    QMenu* gradients = AddSubMenu(menu, QStringLiteral("Background Gradient"));
    for (std::size_t i = 0; i < GradientMenuOrder.size(); ++i) {
        if (i == 6)
            gradients->addSeparator();
        const int number = GradientMenuOrder[i];
        items.Gradients[std::size_t(number - 1)] =
            Checkable(AddItem(gradients, QString::fromLatin1(Gradients()[std::size_t(number - 1)].Caption),
                              [this, number] { Window.Options().GradientClick(number); }));
    }
    AddItem(menu, QStringLiteral("Background Picture"), [this] { Window.Options().BackgroundPictureClick(); });
    QMenu* pictureMode = AddSubMenu(menu, QStringLiteral("Background Picture Mode"));
    items.Stretch =
        Checkable(AddItem(pictureMode, QStringLiteral("Stretch"), [this] { Window.Options().PictureModeClick(true); }));
    items.Tile =
        Checkable(AddItem(pictureMode, QStringLiteral("Tile"), [this] { Window.Options().PictureModeClick(false); }));
    menu->addSeparator();
    AddItem(menu, QStringLiteral("Choose Card Deck"), [this] { Window.Options().ChooseCardDeckClick(); });
    AddItem(menu, QStringLiteral("Choose Card Back"), [this] { Window.Options().ChooseCardBackClick(); });
    QMenu* scale = AddSubMenu(menu, QStringLiteral("Choose Card Scale"));
    // Exactly one size is ever checked: the group unchecks the others.
    auto* scaleGroup = new QActionGroup(scale);
    for (std::size_t i = 0; i < ScaleCaptions.size(); ++i) {
        ScaleItems.push_back(Checkable(AddItem(scale, QString::fromLatin1(ScaleCaptions[i]),
                                               [this, i] { Window.Commands().SetScaleStepIndex(int(i)); })));
        scaleGroup->addAction(ScaleItems.back());
    }
    QMenu* shadow = AddSubMenu(menu, QStringLiteral("Card Shadow Mode"));
    items.ShadowDotted =
        Checkable(AddItem(shadow, QStringLiteral("Dotted Type"), [this] { Window.Options().ShadowModeClick(0); }));
    QMenu* shaded = AddSubMenu(shadow, QStringLiteral("Shaded Type"));
    items.ShadowHard =
        Checkable(AddItem(shaded, QStringLiteral("Hard"), [this] { Window.Options().ShadowModeClick(1); }));
    items.ShadowSoft =
        Checkable(AddItem(shaded, QStringLiteral("Soft"), [this] { Window.Options().ShadowModeClick(2); }));
    AddItem(menu, QStringLiteral("Card Movement Mode"), [this] { Window.Options().SetCardSpeed1Click(); });
    QMenu* drop = AddSubMenu(menu, QStringLiteral("Card Drop Mode"));
    items.DropModes[2] =
        Checkable(AddItem(drop, QStringLiteral("Card Based"), [this] { Window.Options().DropModeClick(3); }));
    items.DropModes[0] =
        Checkable(AddItem(drop, QStringLiteral("Fast Card Based"), [this] { Window.Options().DropModeClick(1); }));
    items.DropModes[1] =
        Checkable(AddItem(drop, QStringLiteral("Mouse Based"), [this] { Window.Options().DropModeClick(2); }));
    QMenu* dropShade = AddSubMenu(menu, QStringLiteral("Card Drop Shade Mode"));
    items.ShadeColours[NoShadeColour] = Checkable(
        AddItem(dropShade, QStringLiteral("None"), [this] { Window.Options().DropShadeClick(NoShadeColour); }));
    items.ShadeDotted =
        Checkable(AddItem(dropShade, QStringLiteral("Dotted Type"), [this] { Window.Options().DropShadeClick(-1); }));
    QMenu* shadeColours = AddSubMenu(dropShade, QStringLiteral("Shaded Type"));
    for (const TShadeItem& item : ShadeColourItems)
        items.ShadeColours[std::size_t(item.Colour)] =
            Checkable(AddItem(shadeColours, QString::fromLatin1(item.Caption),
                              [this, colour = item.Colour] { Window.Options().DropShadeClick(colour); }));
    menu->addSeparator();
    QMenu* sound = AddSubMenu(menu, QStringLiteral("Sound"));
    items.SoundOff = Checkable(AddItem(sound, QStringLiteral("Off"), [this] { Window.Options().SoundClick(false); }));
    items.SoundOn = Checkable(AddItem(sound, QStringLiteral("On"), [this] { Window.Options().SoundClick(true); }));
    QMenu* scoring = AddSubMenu(menu, QStringLiteral("Scoring && Statistics"));
    items.ScoringOff =
        Checkable(AddItem(scoring, QStringLiteral("Off"), [this] { Window.Options().SetScoring(false); }));
    items.ScoringOn = Checkable(AddItem(scoring, QStringLiteral("On"), [this] { Window.Options().SetScoring(true); }));
    QMenu* winning = AddSubMenu(menu, QStringLiteral("Winning Animation"));
    for (std::size_t i = 0; i < WinItems.size(); ++i)
        items.WinAnimations[i] = Checkable(AddItem(winning, QString::fromLatin1(WinItems[i].Caption), [this, i] {
            Window.Options().WinningAnimationClick(WinItems[i].Animation);
        }));
    menu->addSeparator();
    AddItem(menu, QStringLiteral("Change Save Data location"), [this] { Window.Saves().SetUserFilelocation1Click(); });
    AddItem(menu, QStringLiteral("Save Options"), [this] { Window.Options().SaveOptionsClick(); });
    menu->addSeparator();
    ShowVerdictItem = Checkable(AddItem(menu, QStringLiteral("Show whether the game can be won"),
                                        [this] { Window.Commands().ShowVerdictClick(ShowVerdictItem->isChecked()); }));
    WinnableOnlyItem = Checkable(AddItem(menu, QStringLiteral("Winnable Deals Only"), [this] {
        Window.Commands().WinnableOnlyClick(WinnableOnlyItem->isChecked());
    }));
}

void TWindowMenus::AddMenuItems(QMenu* menu, const TMenuItem& model)
{
    for (const TMenuItem& item : model.Items) {
        const QString caption = QString::fromStdString(item.Caption);
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (item.Submenu || !item.Items.empty()) {
            QMenu* sub = AddSubMenu(menu, caption);
            sub->setObjectName(QString::fromStdString(item.Name));
            if (item.Caption == AlphabeticalGamesCaption)
                AlphabeticalMenu = sub;
            else if (item.Caption == FavouritesCaption)
                Favourites = sub;
            AddMenuItems(sub, item);
        } else {
            // Every item of a game chooses it by name, so the small-screen and
            // type items behave exactly like the alphabetical one.
            const std::string name = item.Game != nullptr ? item.Game->GameName : item.Caption;
            QAction* action = AddItem(menu, caption, [this, name] { Window.Commands().ChooseGame(name); });
            action->setObjectName(QString::fromStdString(item.Name));
        }
    }
}

QMenu* TWindowMenus::TopMenu(const QString& caption) const
{
    for (QAction* action : Window.menuBar()->actions())
        if (action->menu() != nullptr && action->text() == caption)
            return action->menu();
    return nullptr;
}

QAction* TWindowMenus::TopMenuAction(const QString& caption) const
{
    QMenu* menu = TopMenu(caption);
    return menu == nullptr ? nullptr : menu->menuAction();
}

QAction* TWindowMenus::FindAction(QMenu* menu, const QString& caption) const
{
    if (menu == nullptr)
        return nullptr;
    const QString wanted = Strip(caption);
    for (QAction* action : menu->actions()) {
        if (Strip(action->text()).compare(wanted, Qt::CaseInsensitive) == 0)
            return action;
    }
    for (QAction* action : menu->actions()) {
        if (QAction* found = FindAction(action->menu(), caption))
            return found;
    }
    return nullptr;
}

QAction* TWindowMenus::FindGameItem(const std::string& gameName) const
{
    if (gameName.empty())
        return nullptr;
    QAction* found = FindAction(AlphabeticalMenu, QString::fromStdString(gameName));
    return (found != nullptr && found->menu() == nullptr) ? found : nullptr;
}

void TWindowMenus::SetCommandEnabled(TEngineCommand command, bool enabled)
{
    if (command == TEngineCommand::Toolbar) {
        ToolBar->setEnabled(enabled);
        return;
    }
    const auto found = Commands.find(command);
    if (found == Commands.end())
        return;
    for (QAction* action : found->second.Actions)
        action->setEnabled(enabled);
    if (found->second.Widget != nullptr)
        found->second.Widget->setEnabled(enabled);
}

void TWindowMenus::SetCommandVisible(TEngineCommand command, bool visible)
{
    const auto found = Commands.find(command);
    if (found == Commands.end())
        return;
    // Only the Redeal button leaves the screen; menu items stay and are
    // merely disabled with it.
    if (found->second.Widget != nullptr) {
        found->second.Widget->setVisible(visible);
        if (visible)
            found->second.Widget->raise();
    }
}

void TWindowMenus::ShowNoGameState()
{
    for (const TEngineCommand command :
         {TEngineCommand::NewGame, TEngineCommand::Restart, TEngineCommand::SaveGame, TEngineCommand::Undo,
          TEngineCommand::Redo, TEngineCommand::Redeal, TEngineCommand::Automove})
        SetCommandEnabled(command, false);
    SetCommandVisible(TEngineCommand::Redeal, false);
    FoundationLabel->clear();
    PointsLabel->setText(QStringLiteral("Points = 0 "));
    // No game: an empty table, no stock, no pile bases.
    if (TCardTable* table = Window.CardTable()) {
        table->ResetTable();
        table->ClearBottoms();
    }
}
