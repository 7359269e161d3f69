#include "shell/Main.h"
#include "shell/WindowSight.h"
#include "shell/KeyboardPlay.h"
#include "shell/HintController.h"
#include "shell/WinnableDeals.h"

#include "shell/DataForm.h"
#include "shell/Icons.h"
#include "shell/MainOptions.h"
#include "shell/MenuDraw.h"
#include "shell/HelpWindow.h"
#include "shell/Trace.h"
#include "shell/Sound.h"
#include "shell/WinAnim.h"

#include "platform/Audio.h"

#include "cardtable/CardSet.h"
#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "cardtable/TableStatus.h"
#include "catalogue/MenuTree.h"
#include "engine/Engine.h"
#include "platform/Trace.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <array>

namespace {

constexpr int FullScreenTableTop = TForm1::MenuBarHeight;
constexpr int NormalTableTop = TForm1::MenuBarHeight + TForm1::ToolBarHeight;

TPrompts MessageBoxPrompts(QWidget* owner)
{
    TPrompts prompts;
    prompts.AskYesNo = [owner](const QString& text) {
        return QMessageBox::question(owner, QStringLiteral("Confirm"), text,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
               == QMessageBox::Yes;
    };
    prompts.AskQuestion = [owner](const QString& caption, const QString& text) {
        return QMessageBox::question(owner, caption, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes)
               == QMessageBox::Yes;
    };
    prompts.ShowError = [owner](const QString& caption, const QString& text) {
        QMessageBox::critical(owner, caption, text, QMessageBox::Ok);
    };
    prompts.ShowNotice = [owner](const QString& caption, const QString& text) {
        QMessageBox::information(owner, caption, text, QMessageBox::Ok);
    };
    prompts.RunModal = [](QDialog& dialog) {
        // Nobody could answer a dialog on the headless platform.
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            return int(QDialog::Rejected);
        return dialog.exec();
    };
    prompts.ChooseFile = [owner](const TFileRequest& request) {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            return QString();
        QFileDialog dialog(owner, request.Save ? QStringLiteral("Save Game") : QStringLiteral("Open Saved Game"),
                           request.Folder, QStringLiteral("Tessalyn games (*.tsg)"));
        dialog.setDefaultSuffix(QStringLiteral("tsg"));
        dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (request.Save)
            dialog.selectFile(request.ProposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    return prompts;
}

QString Strip(const QString& caption)
{
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    return plain.trimmed();
}

} // namespace

TForm1::TForm1(QWidget* parent) : TForm1(TPrompts{}, parent) {}

TForm1::TForm1(TPrompts prompts, QWidget* parent)
    : QMainWindow(parent), OptionsList(persistence::DefaultOptions()), Prompts(std::move(prompts)),
      MenuStyle(std::make_unique<TMenuStyle>())
{
    const TPrompts boxes = MessageBoxPrompts(this);
    if (!Prompts.AskQuestion) {
        if (Prompts.AskYesNo)
            Prompts.AskQuestion = [ask = Prompts.AskYesNo](const QString&, const QString& text) { return ask(text); };
        else
            Prompts.AskQuestion = boxes.AskQuestion;
    }
    if (!Prompts.AskYesNo)
        Prompts.AskYesNo = boxes.AskYesNo;
    if (!Prompts.ShowError)
        Prompts.ShowError = boxes.ShowError;
    if (!Prompts.ShowNotice)
        Prompts.ShowNotice = boxes.ShowNotice;
    if (!Prompts.RunModal)
        Prompts.RunModal = boxes.RunModal;
    if (!Prompts.ChooseFile)
        Prompts.ChooseFile = boxes.ChooseFile;
    setWindowTitle(QStringLiteral("Tessalyn."));
    setWindowIcon(ApplicationIcon());
    StartUp();
}

TForm1::~TForm1()
{
    // Window events go on while the window comes down: nothing may follow
    // them into a window that is half destroyed.
    delete Sight;
    Sight = nullptr;
    // The table outlives the engine by a moment; it must not call into it.
    if (CardTable1 != nullptr) {
        CardTable1->OnCardClickEvent = nullptr;
        CardTable1->OnCardDropEvent = nullptr;
        CardTable1->OnCardRestoredEvent = nullptr;
    }
    Hints_.reset();
    KeyboardPlay_.reset();
    Engine_.reset();
    // The menus use the drawing style owned here; they go first.
    delete menuBar();
}

// Window creation: everything that needs no options and no data folder.
void TForm1::StartUp()
{
    DataPlaces.ApplicationDirectory = ProgramFolder();
    DataPlaces.DocumentsFolder =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    BuildMenus();
    BuildToolBar();
    BuildTable();
    StartSoundSystem();
    ReDealButton2 = new QPushButton(QStringLiteral("Redeal"), TableWidget);
    ReDealButton2->setObjectName(QStringLiteral("ReDealButton2"));
    ReDealButton2->setFixedSize(50, 50);
    ReDealButton2->setFocusPolicy(Qt::NoFocus);
    ReDealButton2->hide();
    ReDealButton2->setEnabled(false);
    connect(ReDealButton2, &QPushButton::clicked, this, [this] { RedealClick(); });
    Commands[TEngineCommand::Redeal].Widget = ReDealButton2;
    DataForm_ = new TDataForm(this, [this](QDialog& dialog) { return Prompts.RunModal(dialog); });
    DataForm_->PlayCue = [this](const std::string& cue) { PlayCue(cue); };
    SetUpStartScreen();

    // Key preview: the window sees every key before the focused control does.
    qApp->installEventFilter(this);

    // The message has been shown; the program's entry point then ends it.
    if (!ScreenOk(800, 600, true))
        TerminateAtStart = true;
    RestoreBounds = QRect(100, 100, 700, 600);
    setGeometry(RestoreBounds);
    if (!TerminateAtStart)
        SettleDataFolder();
    ShowNoGameState();
    UpdateLayoutToggle();
}

void TForm1::BuildTable()
{
    try {
        CardTable1 = new TCardTable(this);
    } catch (const std::exception& error) {
        // Without a card set there is nothing to play; say why and leave.
        CardTable1 = nullptr;
        Prompts.ShowError(QStringLiteral("Tessalyn"), QString::fromStdString(error.what()));
        TerminateAtStart = true;
    }
    if (CardTable1 == nullptr) {
        TableWidget = new QWidget(this);
    } else {
        TableWidget = CardTable1;
        ConnectTable();
    }
    TableWidget->setObjectName(QStringLiteral("CardTable1"));
    setCentralWidget(TableWidget);
    RelayoutTimer = new QTimer(this);
    RelayoutTimer->setSingleShot(true);
    RelayoutTimer->setInterval(0);
    connect(RelayoutTimer, &QTimer::timeout, this, [this] { ExtendedRelayout(); });
}

void TForm1::ConnectTable()
{
    TCardTable& table = *CardTable1;
    tablestatus::ApplyProgramSettings(table);
    Engine_ = std::make_unique<TEngine>(table, *this);
    TEngine* engine = Engine_.get();
    Play = TPlayState(*engine);
    table.OnCardClickEvent = [this, engine](TCard* card, Qt::MouseButton button) {
        BeforeChange();
        // The engine numbers the buttons: 0 left, 1 right; others play no part.
        if (button == Qt::LeftButton)
            engine->CardClickEvent(card, 0);
        else if (button == Qt::RightButton)
            engine->CardClickEvent(card, 1);
    };
    table.OnCardDropEvent = [this, engine](TCard* card, int x, int y, int relX, int relY, int index) {
        BeforeChange();
        engine->CardDropEvent(card, x, y, relX, relY, index);
    };
    table.OnCardRestoredEvent = [engine] { engine->CardRestoredEvent(); };
    KeyboardPlay_ = std::make_unique<TKeyboardPlay>(*engine, table);
    KeyboardPlay_->OnAutomoves = [this] { AutomoveClick(); };
    KeyboardPlay_->OnRedeal = [this] { RedealClick(); };
    KeyboardPlay_->MayPlay = [this] { return !StartScreenActive_; };
    SetUpHints();
}

bool TForm1::ScreenOk(int width, int height, bool report)
{
    const QSize screen = ScreenSize();
    if (screen.width() >= width && screen.height() >= height)
        return true;
    if (report) {
        QApplication::beep();
        Prompts.ShowError(QStringLiteral("Error"),
                          QStringLiteral("Screen resolution must be at least %1 x %2 to play this game.")
                              .arg(width)
                              .arg(height));
    }
    return false;
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!FirstShowDone)
        QTimer::singleShot(0, this, [this] { FirstShow(); });
}

// The first-show sequence, as far as its parts exist: the options read,
// the generator seeded, the table's settings loaded, the window maximised,
// the options applied.
void TForm1::FirstShow()
{
    if (FirstShowDone)
        return;
    FirstShowDone = true;
    hide();
    OptionsList = persistence::LoadOptions(DataRoot());
    LoadFavourites();
    Randomize();
    ApplySoundOption();
    SyncOptionChecks();
    LoadTableStatus();
    // Without a window manager nothing would maximise the window; taking
    // the screen's free area first gives the same result either way.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    showMaximized();
    ViewStartScreen();
    ApplyOptionsAtFirstShow();
    if (CardTable1 != nullptr) {
        CardTable1->SetMinWidth(700);
        CardTable1->SetMinHeight(500);
    }
    show();
    if (!StatusError.empty())
        Prompts.ShowError(QStringLiteral("Tessalyn"),
                          QStringLiteral("The table settings could not be read (%1); the table keeps its present "
                                         "settings until the options are saved.")
                              .arg(QString::fromStdString(StatusError)));
    if (CardTable1 != nullptr && !CardTable1->StatusNotice.empty())
        Prompts.ShowError(QStringLiteral("Tessalyn"), QString::fromStdString(CardTable1->StatusNotice));
}

void TForm1::ShowNoGameState()
{
    for (const TEngineCommand command : {TEngineCommand::NewGame, TEngineCommand::Restart,
                                         TEngineCommand::SaveGame, TEngineCommand::Undo,
                                         TEngineCommand::Redo, TEngineCommand::Redeal,
                                         TEngineCommand::Automove})
        SetCommandEnabled(command, false);
    SetCommandVisible(TEngineCommand::Redeal, false);
    FoundationLabel->clear();
    PointsLabel->setText(QStringLiteral("Points = 0 "));
    // No game: an empty table, no stock, no pile bases.
    if (CardTable1 != nullptr) {
        CardTable1->ResetTable();
        CardTable1->ClearBottoms();
    }
}

// ---------------------------------------------------------------------------
// Commands

void TForm1::NewExecute()
{
    if (!Play.Commandable())
        return;
    NewGameButton->setEnabled(false);
    BeforeChange();
    DealWinnable(Engine_->Rules.GameName, [this] { Engine_->NewGame(); });
}

void TForm1::QuitProgram1Click() { close(); }

void TForm1::ChooseGame(const std::string& gameName)
{
    if (!Play.Free())
        return;
    // A fixed seed (a test's) is dealt as it is; the game in play is not dealt anew.
    if (FixedSeed || Engine_->Rules.GameName == gameName)
        DealChosenGame(gameName);
    else
        DealWinnable(gameName, [this, gameName] { DealChosenGame(gameName); });
}

void TForm1::DealChosenGame(const std::string& gameName)
{
    if (!Play.Free())
        return;
    // The start screen's stars draw from the generator all the time, so a
    // known first deal needs the seed right before it.
    if (FixedSeed) {
        SetRandSeed(*FixedSeed);
        FixedSeed.reset();
    }
    BeforeChange();
    try {
        Engine_->SelectGame(gameName);
    } catch (const std::exception& error) {
        // A definition that cannot be applied is reported, not fatal.
        Engine_->ReleaseTable();
        Prompts.ShowError(QStringLiteral("Tessalyn"), QString::fromStdString(error.what()));
    }
}

void TForm1::UndoClick()
{
    if (Play.Commandable()) {
        BeforeChange();
        Engine_->Undo();
    }
}

void TForm1::RedoClick()
{
    if (Play.Commandable()) {
        BeforeChange();
        Engine_->Redo();
    }
}

void TForm1::AutomoveClick()
{
    if (Play.Commandable()) {
        BeforeChange();
        Engine_->AutomoveExecute();
    }
}

void TForm1::RedealClick()
{
    if (Play.Commandable()) {
        BeforeChange();
        Engine_->Redeal();
    }
}

void TForm1::RestartClick()
{
    if (Play.Commandable()) {
        BeforeChange();
        Engine_->Restart();
    }
}

bool TForm1::ExtendedInForce() const
{
    return Engine_ != nullptr ? Engine_->ExtendedLayout() : OptionsList[5] == "Extended";
}

// The mode in force is the one whose menu item is disabled.
void TForm1::SyncLayoutCommands()
{
    const bool extended = ExtendedInForce();
    ExtendedItem->setEnabled(!extended);
    CompactItem->setEnabled(extended);
    OptionsList[5] = extended ? "Extended" : "Compact";
    UpdateLayoutToggle();
}

void TForm1::ApplyLayoutMode(bool extended)
{
    if (Engine_ != nullptr) {
        if (extended)
            Engine_->SwitchToExtended();
        else
            Engine_->SwitchToCompact();
    } else {
        OptionsList[5] = extended ? "Extended" : "Compact";
    }
    SyncLayoutCommands();
    if (CardTable1 != nullptr)
        ShowScaleStep(CardTable1->CardDeck().ScaleStep());
}

void TForm1::CompactClick() { ApplyLayoutMode(false); }
void TForm1::ExtendedClick() { ApplyLayoutMode(true); }

void TForm1::LayoutToggleClick() { ApplyLayoutMode(!ExtendedInForce()); }

void TForm1::UpdateLayoutToggle()
{
    if (LayoutToggleButton != nullptr)
        LayoutToggleButton->setIcon(
            ToolIcon(ExtendedInForce() ? TToolImage::Extended : TToolImage::Compact, 20));
}

namespace {
// Card size steps in the order of the scale menu and the scale box.
constexpr std::array<int, 6> ScaleSteps{-2, -1, 1, 2, 3, 5};
} // namespace

void TForm1::ShowScaleStep(int step)
{
    const auto found = std::find(ScaleSteps.begin(), ScaleSteps.end(), step);
    if (found == ScaleSteps.end())
        return;
    const int index = int(found - ScaleSteps.begin());
    ScaleItems[std::size_t(index)]->setChecked(true);
    ComboBox3->setCurrentIndex(index);
    OptionsList[4] = std::to_string(step);
}

void TForm1::SetScaleStepIndex(int index)
{
    if (index < 0 || index >= int(ScaleSteps.size()) || ScaleChanging)
        return;
    ScaleChanging = true;
    ComboBox3->setEnabled(false);
    if (Engine_ != nullptr)
        Engine_->SetScale(ScaleSteps[std::size_t(index)]);
    ComboBox3->setEnabled(true);
    ScaleChanging = false;
    ShowScaleStep(CardTable1 != nullptr ? CardTable1->CardDeck().ScaleStep() : ScaleSteps[std::size_t(index)]);
}

void TForm1::EnableDebugMenu1Click()
{
    QAction* debug = DebugMenu->menuAction();
    debug->setVisible(!debug->isVisible());
}

// ---------------------------------------------------------------------------
// Full screen

int TForm1::TableTop() const
{
    if (layout() != nullptr)
        layout()->activate();
    return TableWidget->geometry().top();
}

bool TForm1::FullScreenOn() const { return TableTop() == FullScreenTableTop; }

void TForm1::SetTableTop(int top)
{
    ToolBar->setVisible(top != FullScreenTableTop);
    SyncStartScreenGeometry();
}

void TForm1::FullScreenF111Click()
{
    if (isMinimized())
        return;
    if (!isMaximized()) {
        RestoreBounds = geometry();
        showMaximized();
        platform::Trace("FullScreenClick: Window Maximized");
    }
    hide();
    if (TableTop() == FullScreenTableTop) {
        setWindowFlag(Qt::FramelessWindowHint, false);
        showNormal();
        setGeometry(RestoreBounds);
        SetTableTop(NormalTableTop);
        platform::Trace("FullScreenClick: Window set to sizeable FormTop " + std::to_string(y())
                        + " FormWidth " + std::to_string(width()));
    } else {
        SetTableTop(FullScreenTableTop);
        setWindowFlag(Qt::FramelessWindowHint, true);
        platform::Trace("FullScreenClick: CardTable1.Top := 23");
        showMaximized();
    }
    show();
}

// ---------------------------------------------------------------------------
// Keys and close

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // A held F11 must not flicker the window in and out of full screen.
            if (key->isAutoRepeat() && key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F12)
                return true;
            if (FormKeyDown(key->key(), key->modifiers()))
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key) {
    case Qt::Key_F1:
        if (HelpContentsItem->isEnabled())
            HelpContentsItem->trigger();
        return true;
    case Qt::Key_F2:
        if (RulesItem->isEnabled())
            RulesItem->trigger();
        return true;
    case Qt::Key_F5:
        // The picture tools' items stay hidden; their key works while the
        // debug menu shows.
        if (DebugMenu->menuAction()->isVisible())
            SaveImage1Click();
        return true;
    case Qt::Key_F11:
        FullScreenF111Click();
        return true;
    case Qt::Key_F12:
        if (StartScreenItem->isEnabled())
            StartScreenItem->trigger();
        return true;
    case Qt::Key_H:
        // On the start screen H jumps through the list like any letter.
        if (!StartScreenActive_ && GameInPlay()) {
            HintClick();
            return true;
        }
        return StartScreenKey(key);
    default:
        // A tool bar widget holding the focus (reached by Tab or a click)
        // gets the keys a player would press in it; the table has them back
        // once the focus leaves it.
        if (ToolBar != nullptr && ToolBar->isAncestorOf(QApplication::focusWidget()))
            return false;
        return StartScreenKey(key) || (KeyboardPlay_ != nullptr && KeyboardPlay_->KeyDown(key, modifiers));
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (DealBusy()) {
        event->ignore();
        return;
    }
    if (!ClosingConfirmed && !Prompts.AskYesNo(QStringLiteral("Quit Tessalyn?"))) {
        event->ignore();
        return;
    }
    ClosingConfirmed = true;
    if (Play.Uncounted() && ScoringOn()) {
        platform::Trace("Call to Update stats in form close.");
        RecordGameResult(CurrentGameName(), Engine_->SaveName, false, Engine_->Points);
        platform::Trace("Update stats ok.");
        // Counted once: a second close request must not count it again.
        Engine_->MarkGameCounted();
    }
    if (Engine_ != nullptr)
        Engine_->ShutDown();
    if (Hints_ != nullptr)
        Hints_->Shutdown();
    if (SoundSystem_ != nullptr)
        SoundSystem_->ShuttingDown = true;
    if (LoopTimer != nullptr)
        LoopTimer->stop();
    platform::Trace("Trace terminated ok.");
    StopTrace();
    event->accept();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    SyncStartScreenGeometry();
    // Re-fitting the extended layout waits until the resize has settled.
    if (RelayoutTimer != nullptr && GameInPlay() && ExtendedInForce())
        RelayoutTimer->start(0);
}

void TForm1::ExtendedRelayout()
{
    if (!Play.InPlay() || !CardTable1->isVisible())
        return;
    if (Play.Busy()) {
        // A deal is laying cards out; fit the new size once it is done.
        RelayoutTimer->start(100);
        return;
    }
    if (ExtendedInForce())
        Engine_->SwitchToExtended();
}

// ---------------------------------------------------------------------------
// State

bool TForm1::DealBusy() const { return Play.Busy(); }

bool TForm1::GameInPlay() const { return Play.InPlay(); }

std::string TForm1::CurrentGameName() const { return Play.GameName(); }

// ---------------------------------------------------------------------------
// Menu access

QMenu* TForm1::TopMenu(const QString& caption) const
{
    for (QAction* action : menuBar()->actions())
        if (action->menu() != nullptr && action->text() == caption)
            return action->menu();
    return nullptr;
}

QAction* TForm1::TopMenuAction(const QString& caption) const
{
    QMenu* menu = TopMenu(caption);
    return menu == nullptr ? nullptr : menu->menuAction();
}

QAction* TForm1::FindAction(QMenu* menu, const QString& caption) const
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

QAction* TForm1::FindGameItem(const std::string& gameName) const
{
    if (gameName.empty())
        return nullptr;
    QAction* found = FindAction(AlphabeticalMenu, QString::fromStdString(gameName));
    return (found != nullptr && found->menu() == nullptr) ? found : nullptr;
}

// ---------------------------------------------------------------------------
// EngineHost

void TForm1::Beep() { QApplication::beep(); }

void TForm1::ShowPoints(const std::string& text) { PointsLabel->setText(QString::fromStdString(text)); }

void TForm1::ShowFoundationLabel(const std::string& text)
{
    FoundationLabel->setText(QString::fromStdString(text));
}

void TForm1::ShowCaption(const std::string& text) { setWindowTitle(QString::fromStdString(text) + CaptionNote); }

// Scoring is the points label's own switch. The tool bar around it is
// disabled during every deal and click, which must not read as scoring off.
bool TForm1::ScoringOn() const { return PointsLabel->isEnabledTo(ToolBar); }

void TForm1::SetCommandEnabled(TEngineCommand command, bool enabled)
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

void TForm1::SetCommandVisible(TEngineCommand command, bool visible)
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

void TForm1::PlaceRedealButton(int left, int top)
{
    // The engine places the button the way the window's own child would lie
    // (its top includes the table's top); the button lives on the table.
    ReDealButton2->move(left, top - TableWidget->y());
}

bool TForm1::AskYesNo(const std::string& text) { return Prompts.AskYesNo(QString::fromStdString(text)); }

void TForm1::ShowMessage(const std::string& text, const std::string& caption)
{
    Prompts.ShowNotice(QString::fromStdString(caption), QString::fromStdString(text));
}



QSize TForm1::ScreenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? QSize(0, 0) : screen->size();
}

void TForm1::ProcessPendingMessages() { QCoreApplication::processEvents(); }

std::string TForm1::ProgramFolder() const { return QCoreApplication::applicationDirPath().toStdString(); }

void TForm1::AddMenuItems(QMenu* menu, const TMenuItem& model)
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
                Favourites1 = sub;
            AddMenuItems(sub, item);
        } else {
            // Every item of a game chooses it by name, so the small-screen and
            // type items behave exactly like the alphabetical one.
            const std::string name = item.Game != nullptr ? item.Game->GameName : item.Caption;
            QAction* action = AddItem(menu, caption, [this, name] { ChooseGame(name); });
            action->setObjectName(QString::fromStdString(item.Name));
        }
    }
}

void TForm1::BuildGameTypeMenu(QMenu* menu)
{
    AddMenuItems(menu, StandardGameTypeMenu());
}
