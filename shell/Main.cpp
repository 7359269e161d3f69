#include "shell/Main.h"

#include "shell/GameCommands.h"
#include "shell/HelpTools.h"
#include "shell/HintController.h"
#include "shell/Icons.h"
#include "shell/KeyboardPlay.h"
#include "shell/SavedGames.h"
#include "shell/StartScreenControl.h"
#include "shell/WinShowControl.h"
#include "shell/WindowEngineHost.h"
#include "shell/WindowMenus.h"
#include "shell/WindowOptions.h"
#include "shell/WindowSound.h"
#include "shell/WinnableDeals.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "cardtable/TableStatus.h"
#include "engine/Engine.h"
#include "persistence/Options.h"
#include "platform/Trace.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr int FullScreenTableTop = TForm1::MenuBarHeight;
constexpr int NormalTableTop = TForm1::MenuBarHeight + TForm1::ToolBarHeight;

} // namespace

TForm1::TForm1(QWidget* parent) : TForm1(TPrompts{}, parent) {}

TForm1::TForm1(TPrompts prompts, QWidget* parent) : TForm1(std::move(prompts), THostMaker{}, parent) {}

TForm1::TForm1(TPrompts prompts, THostMaker makeHost, QWidget* parent)
    : QMainWindow(parent),
      OptionsList(persistence::DefaultOptions()),
      Prompts(CompletePrompts(std::move(prompts), this))
{
    setWindowTitle(QStringLiteral("Tessalyn."));
    setWindowIcon(ApplicationIcon());
    StartUp(makeHost);
}

TForm1::~TForm1()
{
    // Window events go on while the window comes down: nothing may follow
    // them into a window that is half destroyed.
    if (StartPage_ != nullptr)
        StartPage_->Shutdown();
    // From here on the window's own handlers leave the parts alone.
    WinShow_.reset();
    // The table outlives the engine by a moment; it must not call into it.
    if (Table != nullptr) {
        Table->OnCardClickEvent = nullptr;
        Table->OnCardDropEvent = nullptr;
        Table->OnCardRestoredEvent = nullptr;
    }
    Hints_.reset();
    KeyboardPlay_.reset();
    Tools_.reset();
    StartPage_.reset();
    Saves_.reset();
    Options_.reset();
    Commands_.reset();
    Sounds_.reset();
    Engine_.reset();
    // The menus use the drawing style owned by their part; they go with it.
    Menus_.reset();
}

// Window creation: everything that needs no options and no data folder.
void TForm1::StartUp(const THostMaker& makeHost)
{
    DataPlaces.ApplicationDirectory = ProgramFolder();
    DataPlaces.DocumentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    Menus_ = std::make_unique<TWindowMenus>(*this);
    Menus_->Build();
    BuildTable(makeHost);
    if (Engine_ != nullptr)
        BuildParts();

    // Key preview: the window sees every key before the focused control does.
    qApp->installEventFilter(this);

    // The message has been shown; the program's entry point then ends it.
    if (!ScreenOk(800, 600, true))
        TerminateAtStart = true;
    RestoreBounds = QRect(100, 100, 700, 600);
    setGeometry(RestoreBounds);
    if (!HasParts())
        return;
    if (!TerminateAtStart)
        Saves_->SettleDataFolder();
    Menus_->ShowNoGameState();
    Commands_->UpdateLayoutToggle();
}

void TForm1::BuildTable(const THostMaker& makeHost)
{
    try {
        Table = new TCardTable(this);
    } catch (const std::exception& error) {
        // Without a card set there is nothing to play; say why and leave.
        Table = nullptr;
        Prompts.ShowError(QStringLiteral("Tessalyn"), QString::fromStdString(error.what()));
        TerminateAtStart = true;
    }
    if (Table == nullptr) {
        TableWidget = new QWidget(this);
    } else {
        TableWidget = Table;
        ConnectTable(makeHost);
    }
    TableWidget->setObjectName(QStringLiteral("CardTable"));
    setCentralWidget(TableWidget);
}

void TForm1::ConnectTable(const THostMaker& makeHost)
{
    TCardTable& table = *Table;
    tablestatus::ApplyProgramSettings(table);
    Host = makeHost ? makeHost(*this) : std::make_unique<TWindowEngineHost>(*this);
    Engine_ = std::make_unique<TEngine>(table, *Host);
    Play = TPlayState(*Engine_);
    TEngine* engine = Engine_.get();
    table.OnCardClickEvent = [this, engine](TCard* card, Qt::MouseButton button) {
        Commands_->BeforeChange();
        // The engine numbers the buttons: 0 left, 1 right; others play no part.
        if (button == Qt::LeftButton)
            engine->CardClickEvent(card, 0);
        else if (button == Qt::RightButton)
            engine->CardClickEvent(card, 1);
    };
    table.OnCardDropEvent = [this, engine](TCard* card, int x, int y, int relX, int relY, int index) {
        Commands_->BeforeChange();
        engine->CardDropEvent(card, x, y, relX, relY, index);
    };
    table.OnCardRestoredEvent = [engine] { engine->CardRestoredEvent(); };
    KeyboardPlay_ = std::make_unique<TKeyboardPlay>(*engine, table);
    KeyboardPlay_->OnAutomoves = [this] { Commands_->AutomoveClick(); };
    KeyboardPlay_->OnRedeal = [this] { Commands_->RedealClick(); };
    KeyboardPlay_->MayPlay = [this] { return !StartPage_->Active(); };
    Hints_ = std::make_unique<THintController>(*engine, table, *Menus_->VerdictLabel);
    // The tool bar is disabled while the engine moves cards: not at rest.
    Hints_->AtRest = [this] { return Menus_->ToolBar->isEnabled() && !Table->Dragging() && !StartPage_->Active(); };
    Hints_->Ask = [this](const QString& caption, const QString& text) { return Prompts.AskQuestion(caption, text); };
    Hints_->Tell = [this](const QString& caption, const QString& text) { Prompts.ShowNotice(caption, text); };
    WinnableDeals_ = std::make_unique<TWinnableDeals>();
}

// The parts, in the order they lean on each other.
void TForm1::BuildParts()
{
    TEngine& engine = *Engine_;
    TCardTable& table = *Table;
    Commands_ = std::make_unique<TGameCommands>(*this, engine, table, *Hints_, *WinnableDeals_);
    Options_ = std::make_unique<TWindowOptions>(*this, engine, table);
    Sounds_ = std::make_unique<TWindowSound>(*this, engine, table);
    Menus_->BuildRedealButton(table);
    Saves_ = std::make_unique<TSavedGames>(*this, engine, table);
    StartPage_ = std::make_unique<TStartScreenControl>(*this, engine, table);
    Tools_ = std::make_unique<THelpTools>(*this, engine, table);
    WinShow_ = std::make_unique<TWinShowControl>(*this, engine, table, *StartPage_->MergePicture());
}

bool TForm1::ScreenOk(int width, int height, bool report)
{
    const QSize screen = ScreenSize();
    if (screen.width() >= width && screen.height() >= height)
        return true;
    if (report) {
        QApplication::beep();
        Prompts.ShowError(
            QStringLiteral("Error"),
            QStringLiteral("Screen resolution must be at least %1 x %2 to play this game.").arg(width).arg(height));
    }
    return false;
}

QSize TForm1::ScreenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? QSize(0, 0) : screen->size();
}

std::string TForm1::ProgramFolder() const { return QCoreApplication::applicationDirPath().toStdString(); }

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!FirstShowDone)
        QTimer::singleShot(0, this, [this] { FirstShow(); });
}

// The first-show sequence: the options read, the generator seeded, the
// table's settings loaded, the window maximised, the options applied.
void TForm1::FirstShow()
{
    if (FirstShowDone || !HasParts())
        return;
    FirstShowDone = true;
    hide();
    OptionsList = persistence::LoadOptions(DataRoot());
    StartPage_->LoadFavourites();
    Randomize();
    Sounds_->ApplySoundOption();
    Options_->SyncOptionChecks();
    Options_->LoadTableStatus();
    // Without a window manager nothing would maximise the window; taking
    // the screen's free area first gives the same result either way.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    showMaximized();
    StartPage_->ViewStartScreen();
    Options_->ApplyOptionsAtFirstShow();
    Table->SetMinWidth(700);
    Table->SetMinHeight(500);
    show();
    Options_->TellStatusError();
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
    Menus_->ToolBar->setVisible(top != FullScreenTableTop);
    StartPage_->SyncStartScreenGeometry();
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
        platform::Trace("FullScreenClick: Window set to sizeable FormTop " + std::to_string(y()) + " FormWidth "
                        + std::to_string(width()));
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
    if (event->type() == QEvent::KeyPress && HasParts()) {
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
    const TWindowMenus& menus = *Menus_;
    switch (key) {
    case Qt::Key_F1:
        if (menus.HelpContentsItem->isEnabled())
            menus.HelpContentsItem->trigger();
        return true;
    case Qt::Key_F2:
        if (menus.RulesItem->isEnabled())
            menus.RulesItem->trigger();
        return true;
    case Qt::Key_F5:
        // The picture tools' items stay hidden; their key works while the
        // debug menu shows.
        if (menus.DebugMenu->menuAction()->isVisible())
            Tools_->SaveImage1Click();
        return true;
    case Qt::Key_F11:
        FullScreenF111Click();
        return true;
    case Qt::Key_F12:
        if (menus.StartScreenItem->isEnabled())
            menus.StartScreenItem->trigger();
        return true;
    case Qt::Key_H:
        // On the start screen H jumps through the list like any letter.
        if (!StartPage_->Active() && Play.InPlay()) {
            Commands_->HintClick();
            return true;
        }
        return StartPage_->StartScreenKey(key);
    default:
        // A tool bar widget holding the focus (reached by Tab or a click)
        // gets the keys a player would press in it; the table has them back
        // once the focus leaves it.
        if (menus.ToolBar->isAncestorOf(QApplication::focusWidget()))
            return false;
        return StartPage_->StartScreenKey(key) || KeyboardPlay_->KeyDown(key, modifiers);
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!HasParts()) {
        event->accept();
        return;
    }
    if (Play.Busy()) {
        event->ignore();
        return;
    }
    if (!ClosingConfirmed && !Prompts.AskYesNo(QStringLiteral("Quit Tessalyn?"))) {
        event->ignore();
        return;
    }
    ClosingConfirmed = true;
    if (Play.Uncounted() && Options_->ScoringOn()) {
        platform::Trace("Call to Update stats in form close.");
        Engine_->CountUnfinishedGame();
        platform::Trace("Update stats ok.");
        // Counted once: a second close request must not count it again.
        Engine_->MarkGameCounted();
    }
    Engine_->ShutDown();
    Hints_->Shutdown();
    Sounds_->Shutdown();
    StartPage_->StopLoop();
    platform::Trace("Trace terminated ok.");
    Tools_->StopTrace();
    event->accept();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!HasParts())
        return;
    StartPage_->SyncStartScreenGeometry();
    Commands_->WindowResized();
}
