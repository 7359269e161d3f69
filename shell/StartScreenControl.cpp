// The start screen's behaviour and the favourites: what happens between games.
#include "shell/StartScreenControl.h"

#include "shell/FavouritesDialog.h"
#include "shell/GameCommands.h"
#include "shell/Main.h"
#include "shell/Marquee.h"
#include "shell/MergePic.h"
#include "shell/SavedGames.h"
#include "shell/StartScreen.h"
#include "shell/WindowMenus.h"
#include "shell/WindowOptions.h"
#include "shell/WindowSight.h"
#include "shell/WindowSound.h"

#include "cardtable/CardTable.h"
#include "cardtable/ImageIO.h"
#include "catalogue/MenuTree.h"
#include "engine/Engine.h"
#include "persistence/Data.h"
#include "persistence/Favourites.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPainter>
#include <QTableWidget>
#include <QTimer>

#include <system_error>

namespace {

// The star field's frame rate: about 50 frames a second.
constexpr int LoopInterval = 20;

constexpr int TitleFrames = 2;
constexpr int TitleBlends = 20;
constexpr int TitleInterval = 100;
constexpr int FavouritesCategoryIndex = 2;

std::optional<std::filesystem::path> ProgramFile(const std::string& folder, std::string_view name)
{
    if (folder.empty())
        return std::nullopt;
    return platform::FindPath(folder, name);
}

} // namespace

// Window creation: the start screen's parts exist from the start, hidden
// until the first show; the background picture is read once.
TStartScreenControl::TStartScreenControl(TForm1& window, TEngine& engine, TCardTable& table)
    : Window(window),
      Engine(engine),
      Table(table),
      Play(window.PlayState()),
      Menus(window.Menus())
{
    GameTypeModel = ::BuildGameTypeMenu();
    Odds = ReadOdds(OddsFile(Window.ProgramFolder()));
    // The table keeps its place while the start screen covers the window, so
    // the window's geometry reads the same either way.
    QSizePolicy policy = Table.sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    Table.setSizePolicy(policy);

    StartScreen_ = new TStartScreen(&Window);
    StartScreen_->hide();
    StartScreen_->GameTypeMenu = [this]() -> const TMenuItem& { return GameTypeModel; };
    StartScreen_->GameCounts = [this](const std::string& name) {
        // Reading only: a game never counted has no file and shows zeros.
        std::error_code error;
        if (!std::filesystem::exists(persistence::StatsFile(Window.DataRoot(), name), error))
            return TGameCounts{};
        const persistence::TGameStats stats = persistence::LoadGameStats(name, Window.DataRoot());
        return TGameCounts{stats.Played, stats.Won};
    };
    StartScreen_->OnPreviewRow = [this](int row) { PreviewGame(StartScreen_->RowName(row)); };
    StartScreen_->OnStartRow = [this](int row) { StartListedGame(row); };
    StartScreen_->InputAllowed = [this] { return Table.PaintEnabled; };
    StartScreen_->OnRelayout = [this] {
        if (StartScreenActive_)
            StartTitleShow();
    };
    StartScreen_->SetCategories(GameTypeCaptions());
    if (const auto backdrop = ProgramFile(Window.ProgramFolder(), "backdrop.jpg"))
        if (const std::optional<QImage> picture = ReadJpegFile(*backdrop, jpBestQuality))
            StartScreen_->SetBackdrop(*picture);

    MergePic = new TMergePic(this);
    LoopTimer = new QTimer(this);
    LoopTimer->setInterval(LoopInterval);
    connect(LoopTimer, &QTimer::timeout, this, [this] { StartScreenLoop(); });
    // The loop steps the scrolling text too: one repaint for both.
    StartScreen_->Marquee->SetDriven(true);
    Sight = std::make_unique<TWindowSight>(Window);
    Sight->OnChange = [this](bool) { FollowSight(); };
}

TStartScreenControl::~TStartScreenControl() = default;

// Stars and text that nobody can see stand still, costing nothing.
void TStartScreenControl::FollowSight()
{
    if (!StartScreenActive_)
        return;
    const bool seen = Sight != nullptr && Sight->Seen();
    if (seen && !LoopTimer->isActive())
        LoopTimer->start();
    else if (!seen)
        LoopTimer->stop();
    StartScreen_->Marquee->SetPaused(!seen);
}

bool TStartScreenControl::StartScreenMoving() const
{
    return StartScreenActive_ && LoopTimer->isActive() && StartScreen_->Marquee->Active()
        && !StartScreen_->Marquee->Paused();
}

// Every item of " Game Type " but the separators, in menu order.
QStringList TStartScreenControl::GameTypeCaptions() const
{
    QStringList captions;
    for (const TMenuItem& item : GameTypeModel.Items)
        if (!item.IsSeparator())
            captions << QString::fromStdString(item.Caption);
    return captions;
}

void TStartScreenControl::SyncStartScreenGeometry()
{
    if (Window.layout() != nullptr)
        Window.layout()->activate();
    StartScreen_->setGeometry(Table.geometry());
}

void TStartScreenControl::ViewStartScreen()
{
    platform::Trace("ViewStartScreen.");
    Table.hide();
    Menus.ShowNoGameState();
    TWindowMenus::SetItemEnabled(Menus.AboutItem, false);
    TWindowMenus::SetItemEnabled(Menus.SaveAndQuitItem, false);
    Menus.StartScreenItem->setEnabled(false);
    Window.setWindowTitle(QStringLiteral("Tessalyn."));

    SyncStartScreenGeometry();
    StartScreen_->show();
    StartScreen_->raise();
    StartScreenActive_ = true;
    StartScreen_->Image1->Restart();
    StartTitleShow();

    TMarquee* marquee = StartScreen_->Marquee;
    if (marquee->Items.isEmpty())
        marquee->Items = StartScreenLines(QDate::currentDate());
    marquee->SetActive(true);
    FollowSight();
    StartScreen_->FillStringGrid();

    if (!StartScreen_->ListPanel->isHidden()) {
        StartScreen_->GameList->setEnabled(true);
        StartScreen_->GameList->setFocus();
        PreviewSelectedGame();
    }
}

// The title melts in over the background beside the list and out again.
void TStartScreenControl::StartTitleShow()
{
    MergePic->Stop();
    const auto file = ProgramFile(Window.ProgramFolder(), "qx3.jpg");
    if (!file)
        return;
    std::optional<QImage> strip = ReadJpegFile(*file, jpBestQuality);
    if (!strip)
        return;
    MergePic->SetFrames(TitleFrames);
    MergePic->SetBlendsPerFrame(TitleBlends);
    const QRect area = StartScreen_->TitleArea();
    const int frameWidth = strip->width() / TitleFrames;
    {
        // The second frame is the clean background, so the show ends on it
        // even when an earlier show was cut short half way.
        QPainter painter(&*strip);
        painter.drawImage(QRect(frameWidth, 0, frameWidth, strip->height()), StartScreen_->CleanBackground(), area);
    }
    StartScreen_->CleanArea(area);
    MergePic->SetPicture(*strip);
    MergePic->SetInterval(TitleInterval);
    TStartScreen* page = StartScreen_;
    MergePic->Start(page->Canvas(), area.height(), area.width(), area.top(), area.left(),
                    [page](const QRect& changed) { page->update(changed); });
}

void TStartScreenControl::StartScreenLoop()
{
    if (!StartScreenActive_)
        return;
    StartScreen_->Image1->Frame();
    if (!StartScreen_->Marquee->Active())
        StartScreen_->Marquee->SetActive(true);
    StartScreen_->Marquee->Step();
}

std::string TStartScreenControl::SelectedGame() const { return StartScreen_->RowName(StartScreen_->Row()); }

QImage TStartScreenControl::PreviewPicture() const { return StartScreen_->Image2->Picture(); }

// The stars stand still while `modal` runs (a box with stars of its own),
// and come back afresh however it ends.
void TStartScreenControl::WithStarsStill(const std::function<void()>& modal)
{
    struct TStarsBack {
        TStartScreenControl& Control;
        bool StartScreen;
        bool Looping;
        ~TStarsBack()
        {
            if (StartScreen)
                Control.StartScreen_->Image1->Restart();
            if (Looping)
                Control.FollowSight();
        }
    } starsBack{*this, StartScreenActive_, LoopTimer->isActive()};
    if (starsBack.Looping)
        LoopTimer->stop();
    if (starsBack.StartScreen) {
        StartScreen_->Image1->Restart();
        StartScreen_->Image1->repaint();
    }
    modal();
}

// The window is closing: the stars stop, and no window event follows into
// a window that is coming down.
void TStartScreenControl::StopLoop() { LoopTimer->stop(); }

void TStartScreenControl::Shutdown()
{
    LoopTimer->stop();
    Sight.reset();
}

bool TStartScreenControl::PreviewSelectedGame()
{
    const int row = StartScreen_->Row();
    if (row <= 0)
        return false;
    PreviewGame(StartScreen_->RowName(row));
    return true;
}

// Query mode: the definition fills the rules and loads the picture; nothing
// is dealt, and no game is in play afterwards.
void TStartScreenControl::PreviewGame(const std::string& gameName)
{
    if (gameName.empty() || Play.InPlay() || !Play.Free())
        return;
    try {
        Engine.QueryGame(gameName);
    } catch (const std::exception& error) {
        platform::Trace(std::string("Preview failed: ") + error.what());
    }
    const std::optional<TGameOdds> odds = FindOdds(Odds, gameName);
    StartScreen_->SetOddsText(odds ? QString::fromStdString(OddsSentence(*odds)) : QString());
}

void TStartScreenControl::StartListedGame(int row)
{
    const std::string name = StartScreen_->RowName(row);
    if (!name.empty())
        Window.Commands().ChooseGame(name);
}

void TStartScreenControl::ShowPreview(const std::string& file)
{
    // With neither picture there the preview keeps what it showed.
    if (file.empty())
        return;
    if (const std::optional<QImage> picture = ReadJpegFile(file, jpBestSpeed))
        StartScreen_->Image2->SetPicture(*picture);
}

void TStartScreenControl::ShowTable()
{
    if (StartScreenActive_) {
        LoopTimer->stop();
        StartScreen_->Marquee->SetActive(false);
        MergePic->Stop();
        StartScreen_->hide();
        StartScreenActive_ = false;
        TWindowMenus::SetItemEnabled(Menus.AboutItem, true);
        Menus.StartScreenItem->setEnabled(true);
    }
    if (!Table.isVisible())
        Table.show();
}

bool TStartScreenControl::StartScreenKey(int key)
{
    if (!StartScreenActive_ || StartScreen_->isHidden() || StartScreen_->ListPanel->isHidden())
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (Window.focusWidget() != StartScreen_->GameList)
            return false;
        StartListedGame(StartScreen_->Row());
        return true;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        StartScreen_->JumpToLetter(char('A' + (key - Qt::Key_A)));
        return true;
    }
    return false;
}

void TStartScreenControl::BackToStart1Click()
{
    if (StartScreenActive_ || Play.Busy())
        return;
    if (!Window.Prompts.AskYesNo(QStringLiteral("Return to the Start Screen?")))
        return;
    Window.Sounds().StopFlourish();
    Engine.CountUnfinishedGame();
    Engine.AbandonGame();
    Window.setWindowTitle(QStringLiteral("Tessalyn."));
    ViewStartScreen();
}

// ---------------------------------------------------------------------------
// Favourites

void TStartScreenControl::LoadFavourites()
{
    const persistence::TFavouritesRead read = persistence::ReadFavourites(Window.DataRoot(), GameTypeModel);
    if (!read.Exists)
        return;
    FavouritesList = read.Favourites;
    FavouritesDamaged = read.Damaged;
    BuildFavourites();
}

bool TStartScreenControl::SaveFavourites()
{
    if (!persistence::WriteFavourites(Window.DataRoot(), FavouritesList, FavouritesDamaged))
        return false;
    FavouritesDamaged = false;
    return true;
}

void TStartScreenControl::BuildFavourites()
{
    platform::Trace("[ BuildFavourites Entered. ]");
    SetFavouritesMenu(GameTypeModel, FavouritesList);
    if (QMenu* menu = Menus.Favourites) {
        menu->clear();
        const TMenuItem* model = GetMenuItem(GameTypeModel, FavouritesCaption, false);
        for (const TMenuItem& item : model->Items) {
            const std::string name = item.Game->GameName;
            QAction* action = menu->addAction(QString::fromStdString(item.Caption));
            action->setObjectName(QString::fromStdString(item.Name));
            connect(action, &QAction::triggered, this, [this, name] { Window.Commands().ChooseGame(name); });
        }
    }
    platform::Trace("[ BuildFavourites completed ok. ]");
}

// The list shows the favourites: it follows the change. During a game the
// hidden list is refilled without a look at its first game, which would
// disturb the rules of the game in play (PreviewGame refuses then).
void TStartScreenControl::RefreshFavouritesCategory()
{
    if (StartScreen_->CategoryBox->currentIndex() == FavouritesCategoryIndex)
        StartScreen_->CategoryChange();
}

void TStartScreenControl::AddtoFavourites1Click()
{
    const std::string name = Play.InPlay() ? Play.GameName() : SelectedGame();
    if (name.empty() || FavouritesList.Contains(name))
        return;
    FavouritesList.Add(name);
    if (!SaveFavourites())
        Window.Prompts.ShowError(QStringLiteral("Tessalyn"),
                                 QStringLiteral("The favourites could not be written to fav.dat."));
    BuildFavourites();
    RefreshFavouritesCategory();
}

void TStartScreenControl::EditFavouriteMenu1Click()
{
    TFavouritesDialog dialog(&Window);
    const TMenuItem* alphabetical = GetMenuItem(GameTypeModel, AlphabeticalGamesCaption, false);
    dialog.SetGames(alphabetical != nullptr ? GetMenuItems(*alphabetical) : std::vector<std::string>{});
    dialog.SetFavourites(FavouritesList.Items());
    const bool accepted = RunFavouritesDialog ? RunFavouritesDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted)
        return;
    FavouritesList.Assign(dialog.FavouriteNames());
    SaveFavourites(); // a failed write leaves the favourites of this run in place
    BuildFavourites();
    RefreshFavouritesCategory();
}
