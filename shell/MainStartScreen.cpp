// The main window's start screen and favourites: what happens between games.
#include "shell/Main.h"

#include "cardtable/CardTable.h"
#include "cardtable/ImageIO.h"
#include "catalogue/MenuTree.h"
#include "engine/Engine.h"
#include "persistence/Data.h"
#include "persistence/Favourites.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"
#include "shell/EditFav.h"
#include "shell/Marquee.h"
#include "shell/MergePic.h"
#include "shell/StartScreen.h"
#include "shell/WindowSight.h"

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
void TForm1::SetUpStartScreen()
{
    GameTypeModel = ::BuildGameTypeMenu();
    Odds = ReadOdds(OddsFile(ProgramFolder()));
    // The table keeps its place while the start screen covers the window, so
    // the window's geometry reads the same either way.
    QSizePolicy policy = TableWidget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    TableWidget->setSizePolicy(policy);

    StartScreen_ = new TStartScreen(this);
    StartScreen_->hide();
    StartScreen_->GameTypeMenu = [this]() -> const TMenuItem& { return GameTypeModel; };
    StartScreen_->GameCounts = [this](const std::string& name) {
        // Reading only: a game never counted has no file and shows zeros.
        std::error_code error;
        if (!std::filesystem::exists(persistence::StatsFile(DataRoot(), name), error))
            return TGameCounts{};
        const persistence::TGameStats stats = persistence::LoadGameStats(name, DataRoot());
        return TGameCounts{stats.Played, stats.Won};
    };
    StartScreen_->OnPreviewRow = [this](int row) { PreviewGame(StartScreen_->RowName(row)); };
    StartScreen_->OnStartRow = [this](int row) { StartListedGame(row); };
    StartScreen_->InputAllowed = [this] { return CardTable1 == nullptr || CardTable1->PaintEnabled; };
    StartScreen_->OnRelayout = [this] {
        if (StartScreenActive_)
            StartTitleShow();
    };
    StartScreen_->SetCategories(GameTypeCaptions());
    if (const auto backdrop = ProgramFile(ProgramFolder(), "backdrop.jpg"))
        if (const std::optional<QImage> picture = ReadJpegFile(*backdrop, jpBestQuality))
            StartScreen_->SetBackdrop(*picture);

    MergePic = new TMergePic(this);
    LoopTimer = new QTimer(this);
    LoopTimer->setInterval(LoopInterval);
    connect(LoopTimer, &QTimer::timeout, this, [this] { StartScreenLoop(); });
    // The loop steps the scrolling text too: one repaint for both.
    StartScreen_->Marquee->SetDriven(true);
    Sight = new TWindowSight(*this);
    Sight->OnChange = [this](bool) { FollowSight(); };
}

// Stars and text that nobody can see stand still, costing nothing.
void TForm1::FollowSight()
{
    if (!StartScreenActive_)
        return;
    const bool seen = Sight->Seen();
    if (seen && !LoopTimer->isActive())
        LoopTimer->start();
    else if (!seen)
        LoopTimer->stop();
    StartScreen_->Marquee->SetPaused(!seen);
}

bool TForm1::StartScreenMoving() const
{
    return StartScreenActive_ && LoopTimer->isActive() && StartScreen_->Marquee->Active()
        && !StartScreen_->Marquee->Paused();
}

// Every item of " Game Type " but the separators, in menu order.
QStringList TForm1::GameTypeCaptions() const
{
    QStringList captions;
    for (const TMenuItem& item : GameTypeModel.Items)
        if (!item.IsSeparator())
            captions << QString::fromStdString(item.Caption);
    return captions;
}

void TForm1::SyncStartScreenGeometry()
{
    if (StartScreen_ == nullptr)
        return;
    if (layout() != nullptr)
        layout()->activate();
    StartScreen_->setGeometry(TableWidget->geometry());
}

void TForm1::SetItemEnabled(QAction* item, bool enabled)
{
    if (item != nullptr)
        item->setEnabled(enabled);
}

void TForm1::ViewStartScreen()
{
    platform::Trace("ViewStartScreen.");
    TableWidget->hide();
    ShowNoGameState();
    SetItemEnabled(AboutItem, false);
    SetItemEnabled(SaveAndQuitItem, false);
    StartScreenItem->setEnabled(false);
    setWindowTitle(QStringLiteral("Tessalyn."));

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

    if (!StartScreen_->Panel3->isHidden()) {
        StartScreen_->StringGrid1->setEnabled(true);
        StartScreen_->StringGrid1->setFocus();
        PreviewSelectedGame();
    }
}

// The title melts in over the background beside the list and out again.
void TForm1::StartTitleShow()
{
    MergePic->Stop();
    const auto file = ProgramFile(ProgramFolder(), "qx3.jpg");
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

void TForm1::StartScreenLoop()
{
    if (!StartScreenActive_)
        return;
    StartScreen_->Image1->Frame();
    if (!StartScreen_->Marquee->Active())
        StartScreen_->Marquee->SetActive(true);
    StartScreen_->Marquee->Step();
}

bool TForm1::PreviewSelectedGame()
{
    const int row = StartScreen_->Row();
    if (row <= 0)
        return false;
    PreviewGame(StartScreen_->RowName(row));
    return true;
}

// Query mode: the definition fills the rules and loads the picture; nothing
// is dealt, and no game is in play afterwards.
void TForm1::PreviewGame(const std::string& gameName)
{
    if (gameName.empty() || Play.InPlay() || !Play.Free())
        return;
    try {
        Engine_->QueryGame(gameName);
    } catch (const std::exception& error) {
        platform::Trace(std::string("Preview failed: ") + error.what());
    }
    const std::optional<TGameOdds> odds = FindOdds(Odds, gameName);
    StartScreen_->SetOddsText(odds ? QString::fromStdString(OddsSentence(*odds)) : QString());
}

void TForm1::StartListedGame(int row)
{
    const std::string name = StartScreen_->RowName(row);
    if (!name.empty())
        ChooseGame(name);
}

void TForm1::ShowPreview(const std::string& file)
{
    // With neither picture there the preview keeps what it showed.
    if (file.empty() || StartScreen_ == nullptr)
        return;
    if (const std::optional<QImage> picture = ReadJpegFile(file, jpBestSpeed))
        StartScreen_->Image2->SetPicture(*picture);
}

void TForm1::ShowTable()
{
    if (StartScreenActive_) {
        LoopTimer->stop();
        StartScreen_->Marquee->SetActive(false);
        MergePic->Stop();
        StartScreen_->hide();
        StartScreenActive_ = false;
        SetItemEnabled(AboutItem, true);
        StartScreenItem->setEnabled(true);
    }
    if (TableWidget != nullptr && !TableWidget->isVisible())
        TableWidget->show();
}

bool TForm1::StartScreenKey(int key)
{
    if (!StartScreenActive_ || StartScreen_->isHidden() || StartScreen_->Panel3->isHidden())
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (focusWidget() != StartScreen_->StringGrid1)
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

// An unfinished scored game counts as played and lost.
void TForm1::CountAbandonedGame()
{
    if (Play.Uncounted() && ScoringOn())
        RecordGameResult(CurrentGameName(), Engine_->SaveName, false, Engine_->Points);
}

void TForm1::BackToStart1Click()
{
    if (StartScreenActive_ || DealBusy())
        return;
    if (!Prompts.AskYesNo(QStringLiteral("Return to the Start Screen?")))
        return;
    StopFlourish();
    CountAbandonedGame();
    if (Engine_ != nullptr)
        Engine_->AbandonGame();
    setWindowTitle(QStringLiteral("Tessalyn."));
    ViewStartScreen();
}

// ---------------------------------------------------------------------------
// Favourites

void TForm1::LoadFavourites()
{
    const persistence::TFavouritesRead read = persistence::ReadFavourites(DataRoot(), GameTypeModel);
    if (!read.Exists)
        return;
    FavouritesList = read.Favourites;
    FavouritesDamaged = read.Damaged;
    BuildFavourites();
}

bool TForm1::SaveFavourites()
{
    if (!persistence::WriteFavourites(DataRoot(), FavouritesList, FavouritesDamaged))
        return false;
    FavouritesDamaged = false;
    return true;
}

void TForm1::BuildFavourites()
{
    platform::Trace("[ BuildFavourites Entered. ]");
    SetFavouritesMenu(GameTypeModel, FavouritesList);
    if (Favourites1 != nullptr) {
        Favourites1->clear();
        const TMenuItem* model = GetMenuItem(GameTypeModel, FavouritesCaption, false);
        for (const TMenuItem& item : model->Items) {
            const std::string name = item.Game->GameName;
            QAction* action = Favourites1->addAction(QString::fromStdString(item.Caption));
            action->setObjectName(QString::fromStdString(item.Name));
            connect(action, &QAction::triggered, this, [this, name] { ChooseGame(name); });
        }
    }
    platform::Trace("[ BuildFavourites completed ok. ]");
}

// The list shows the favourites: it follows the change. During a game the
// hidden list is refilled without a look at its first game, which would
// disturb the rules of the game in play (PreviewGame refuses then).
void TForm1::RefreshFavouritesCategory()
{
    if (StartScreen_->ComboBox1->currentIndex() == FavouritesCategoryIndex)
        StartScreen_->ComboBox1Change();
}

void TForm1::AddtoFavourites1Click()
{
    const std::string name = GameInPlay() ? CurrentGameName() : StartScreen_->RowName(StartScreen_->Row());
    if (name.empty() || FavouritesList.Contains(name))
        return;
    FavouritesList.Add(name);
    if (!SaveFavourites())
        Prompts.ShowError(QStringLiteral("Tessalyn"),
                          QStringLiteral("The favourites could not be written to fav.dat."));
    BuildFavourites();
    RefreshFavouritesCategory();
}

void TForm1::EditFavouriteMenu1Click()
{
    TForm4 dialog(this);
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
