// The player's data seen from the window: where it lives, saved games, and
// the statistics with their high scores.
#include "shell/Main.h"
#include "shell/HintController.h"
#include "shell/WinnableDeals.h"

#include "shell/DataForm.h"
#include "shell/FileLoc.h"
#include "shell/StartScreen.h"

#include "cardtable/CardTable.h"
#include "catalogue/GameDefinitions.h"
#include "engine/Engine.h"
#include "engine/SourceLogFile.h"
#include "persistence/Data.h"
#include "persistence/SavedGames.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

namespace {

std::filesystem::path SaveGamesFolder(const std::filesystem::path& dataRoot)
{
    const std::filesystem::path folder = platform::ResolvePath(dataRoot, persistence::SaveGamesFolder);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

} // namespace

// ---------------------------------------------------------------------------
// The data folder

void TForm1::SettleDataFolder()
{
    persistence::TLocationHooks hooks;
    hooks.AskLocation = [this](int current) {
        TFileLoc dialog;
        dialog.SetLocation(current);
        return Prompts.RunModal(dialog) == QDialog::Accepted ? dialog.Location() : 2;
    };
    hooks.Beep = [this] { Beep(); };
    persistence::SettleDataLocation(DataPlaces, hooks);
    TellDeckUserCardsets();
}

void TForm1::TellDeckUserCardsets()
{
    if (CardTable1 != nullptr)
        CardTable1->CardDeck().SetUserCardsetsFolder(DataPlaces.UserCardsetsFolder().string());
}

void TForm1::SetUserFilelocation1Click()
{
    const persistence::TDataPlaces old = DataPlaces;
    TFileLoc dialog;
    dialog.SetLocation(DataPlaces.DataLocation == 1 ? 1 : 2);
    if (Prompts.RunModal(dialog) != QDialog::Accepted)
        return;
    DataPlaces.DataLocation = dialog.Location();
    TellDeckUserCardsets();
    if (old.DataRoot() == DataPlaces.DataRoot())
        return;
    if (!persistence::MoveData(old, DataPlaces, persistence::MenuMoveSet())) {
        // Nothing was moved: the data stays where it is, and so do we.
        Beep();
        DataPlaces.DataLocation = old.DataLocation;
        TellDeckUserCardsets();
    } else if (Engine_ != nullptr) {
        // The saved game in play moved with the data; a Save must find it there.
        Engine_->MoveSaveNames([&old, this](const std::string& name) {
            return persistence::MovedWithData(name, old.DataRoot(), DataPlaces.DataRoot()).string();
        });
    }
    FollowDataRoot();
}

// ---------------------------------------------------------------------------
// Saved games

void TForm1::PlayCue(const std::string& cue)
{
    if (Engine_ != nullptr)
        Engine_->Sound(cue, 1, 100);
}

bool TForm1::SaveExecute()
{
    if (!Play.Commandable())
        return false;
    const std::filesystem::path folder = SaveGamesFolder(DataRoot());
    const std::string previousName = Engine_->SaveName;
    if (Engine_->SaveName.empty()) {
        TFileRequest request;
        request.Save = true;
        request.Folder = QString::fromStdString(folder.string());
        request.ProposedName = QString::fromStdString(
            persistence::ProposedSaveName(CurrentGameName(), QDateTime::currentDateTime()));
        const QString chosen = Prompts.ChooseFile(request);
        if (chosen.isEmpty())
            return false;
        Engine_->SetSaveName(chosen.toStdString());
    }
    PlayCue("chime.wav");
    std::string why;
    if (!WriteSourceLog(Engine_->SaveName, Engine_->SavedRecord(), &why)) {
        // A save that silently failed would let the player quit and lose the game.
        platform::Trace("Save failed: " + Engine_->SaveName + ": " + why);
        Prompts.ShowError(QStringLiteral("Tessalyn"),
                          QStringLiteral("The game could not be saved to \"%1\": %2.")
                              .arg(QString::fromStdString(Engine_->SaveName), QString::fromStdString(why)));
        // A name whose file was never written is no saved game: the next Save asks again.
        Engine_->SetSaveName(previousName);
        return false;
    }
    Engine_->RefreshCaption();
    return true;
}

void TForm1::SaveAndQuitClick()
{
    if (SaveExecute())
        close();
}

void TForm1::OpenExecute()
{
    if (!Play.Free())
        return;
    TFileRequest request;
    request.Folder = QString::fromStdString(SaveGamesFolder(DataRoot()).string());
    ToolBar->setEnabled(false);
    const QString chosen = Prompts.ChooseFile(request);
    if (!chosen.isEmpty() && LoadSavedGame(chosen))
        PlayCue("chime.wav");
    ToolBar->setEnabled(true);
}

// Replays a saved game; a file that cannot be replayed is reported with the
// reason and, when it is damaged or names no game of ours, changes nothing.
// The engine reads the file once more after it has counted the game being
// left: when that game is this very file, the count has just closed it.
bool TForm1::LoadSavedGame(const QString& file)
{
    const std::string path = file.toStdString();
    std::string error;
    const std::optional<TSavedGame> game = ReadSavedGame(path, error);
    if (!game) {
        Prompts.ShowError(QStringLiteral("Tessalyn"),
                          QStringLiteral("The saved game \"%1\" cannot be opened: %2.")
                              .arg(file, QString::fromStdString(error)));
        return false;
    }
    if (FindGameDefinition(game->GameName) == nullptr) {
        Prompts.ShowError(QStringLiteral("Tessalyn"),
                          QStringLiteral("The saved game \"%1\" names a game Tessalyn does not have: \"%2\".")
                              .arg(file, QString::fromStdString(game->GameName)));
        return false;
    }
    StopFlourish();
    // The replay presses cards through the table's own mouse handling, so the
    // table stays enabled; the engine's busy flag keeps the player's clicks out.
    TCardTable& table = *CardTable1;
    const bool slowRegion = table.SlowMoveRegion();
    table.SetSlowMoveRegion(false);
    table.SetSMR_WaitMode(false);
    const std::string previousSave = Engine_->KeepSaveNameForLoad();
    const TLoadResult result = Engine_->LoadGame(
        [&path](std::string& error) { return ReadSavedGame(path, error); }, path);
    table.SetSMR_WaitMode(true);
    table.SetSlowMoveRegion(slowRegion);
    if (result.Outcome == TLoadOutcome::Loaded)
        return true;
    Engine_->SetSaveName(previousSave);
    const QString named = QString::fromStdString(result.GameName);
    const QString reason = QString::fromStdString(result.Reason);
    QString text;
    switch (result.Outcome) {
    case TLoadOutcome::UnknownGame:
        text = QStringLiteral("The saved game \"%1\" names a game Tessalyn does not have: \"%2\".").arg(file, named);
        break;
    case TLoadOutcome::RefusedToStart:
        text = QStringLiteral("The saved game \"%1\" of \"%2\" cannot be opened: %3.").arg(file, named, reason);
        break;
    default:
        text = QStringLiteral("The saved game \"%1\" cannot be opened: %2.").arg(file, reason);
        break;
    }
    Prompts.ShowError(QStringLiteral("Tessalyn"), text);
    return false;
}

void TForm1::Delete1Click()
{
    PlayCue("scream_x.wav");
    if (!Prompts.AskYesNo(QStringLiteral("Delete all save files in Save Games and all sub folders?")))
        return;
    persistence::DeleteFiles(DataRoot(), persistence::SaveGamesFolder);
    if (Engine_ == nullptr)
        return;
    Engine_->ForgetSaveName();
    if (GameInPlay())
        Engine_->RefreshCaption();
}

// ---------------------------------------------------------------------------
// Statistics and high scores

void TForm1::RecordGameResult(const std::string& gameName, const std::string& saveName, bool won,
                              int points)
{
    // A game the program played to its end is not the player's.
    if (Hints_ != nullptr && Hints_->SolutionPlayed())
        return;
    if (Engine_ == nullptr)
        return;
    const auto askName = [this, &gameName](int position, int score, const std::string&) {
        DataForm_->Label1->setText(QString::fromStdString(gameName));
        return DataForm_->EnterHighScore(position, score, DataRoot());
    };
    persistence::RecordGameResult(Engine_->SourceLog, Engine_->SavedRecord().size(),
                                  {gameName, saveName, points, won}, DataRoot(), askName,
                                  QDate::currentDate());
}

void TForm1::ShowStatisticsClick(int page)
{
    // On the start screen the window shows the selected game's figures.
    const std::string game = StartScreenActive() ? StartScreen_->RowName(StartScreen_->Row())
                                                 : CurrentGameName();
    if (game.empty())
        return;
    DataForm_->ShowStatistics(game, page == 1 ? TDataForm::HighScoresPage : TDataForm::StatisticsPage,
                              DataRoot());
}

void TForm1::Reset1Click()
{
    PlayCue("scream_x.wav");
    if (!Prompts.AskYesNo(QStringLiteral("Reset Statistics && High Scores for ALL games?")))
        return;
    persistence::ResetAllStats(DataRoot());
    // The list shows the counters: show it again, all zeros.
    if (StartScreenActive())
        ViewStartScreen();
}
