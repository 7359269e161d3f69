// The player's data seen from the window: where it lives, saved games, and
// the statistics with their high scores.
#include "shell/SavedGames.h"

#include "shell/DataForm.h"
#include "shell/FileLoc.h"
#include "shell/HelpTools.h"
#include "shell/HintController.h"
#include "shell/Main.h"
#include "shell/StartScreenControl.h"
#include "shell/WindowMenus.h"
#include "shell/WindowSound.h"

#include "cardtable/CardSet.h"
#include "cardtable/CardTable.h"
#include "catalogue/GameDefinitions.h"
#include "engine/Engine.h"
#include "persistence/Data.h"
#include "persistence/SavedGames.h"
#include "persistence/SourceLogFile.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
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

TSavedGames::TSavedGames(TForm1& window, TEngine& engine, TCardTable& table)
    : Window(window),
      Engine(engine),
      Table(table),
      Play(window.PlayState()),
      Menus(window.Menus()),
      Form(new TDataForm(&window, [&window](QDialog& dialog) { return window.Prompts.RunModal(dialog); }))
{
    Form->PlayCue = [this](const std::string& cue) { PlayCue(cue); };
}

// ---------------------------------------------------------------------------
// The data folder

void TSavedGames::SettleDataFolder()
{
    persistence::TLocationHooks hooks;
    hooks.AskLocation = [this](int current) {
        TFileLoc dialog;
        dialog.SetLocation(current);
        return Window.Prompts.RunModal(dialog) == QDialog::Accepted ? dialog.Location() : 2;
    };
    hooks.Beep = [] { QApplication::beep(); };
    persistence::SettleDataLocation(Window.DataPlaces, hooks);
    TellDeckUserCardsets();
}

void TSavedGames::TellDeckUserCardsets()
{
    Table.CardDeck().SetUserCardsetsFolder(Window.DataPlaces.UserCardsetsFolder().string());
}

void TSavedGames::SetUserFilelocation1Click()
{
    persistence::TDataPlaces& places = Window.DataPlaces;
    const persistence::TDataPlaces old = places;
    TFileLoc dialog;
    dialog.SetLocation(places.DataLocation == 1 ? 1 : 2);
    if (Window.Prompts.RunModal(dialog) != QDialog::Accepted)
        return;
    places.DataLocation = dialog.Location();
    TellDeckUserCardsets();
    if (old.DataRoot() == places.DataRoot())
        return;
    if (!persistence::MoveData(old, places, persistence::MenuMoveSet())) {
        // Nothing was moved: the data stays where it is, and so do we.
        QApplication::beep();
        places.DataLocation = old.DataLocation;
        TellDeckUserCardsets();
    } else {
        // The saved game in play moved with the data; a Save must find it there.
        Engine.MoveSaveNames([&old, &places](const std::string& name) {
            return persistence::MovedWithData(name, old.DataRoot(), places.DataRoot()).string();
        });
    }
    Window.Tools().FollowDataRoot();
}

// ---------------------------------------------------------------------------
// Saved games

void TSavedGames::PlayCue(const std::string& cue) { Engine.Sound(cue, 1, 100); }

bool TSavedGames::SaveExecute()
{
    if (!Play.Commandable())
        return false;
    const std::filesystem::path folder = SaveGamesFolder(Window.DataRoot());
    const std::string previousName = Engine.SaveName;
    if (Engine.SaveName.empty()) {
        TFileRequest request;
        request.Save = true;
        request.Folder = QString::fromStdString(folder.string());
        request.ProposedName =
            QString::fromStdString(persistence::ProposedSaveName(Play.GameName(), QDateTime::currentDateTime()));
        const QString chosen = Window.Prompts.ChooseFile(request);
        if (chosen.isEmpty())
            return false;
        Engine.SetSaveName(chosen.toStdString());
    }
    PlayCue("chime.wav");
    std::string why;
    if (!WriteSourceLog(Engine.SaveName, Engine.SavedRecord(), &why)) {
        // A save that silently failed would let the player quit and lose the game.
        platform::Trace("Save failed: " + Engine.SaveName + ": " + why);
        Window.Prompts.ShowError(QStringLiteral("Tessalyn"),
                                 QStringLiteral("The game could not be saved to \"%1\": %2.")
                                     .arg(QString::fromStdString(Engine.SaveName), QString::fromStdString(why)));
        // A name whose file was never written is no saved game: the next Save asks again.
        Engine.SetSaveName(previousName);
        return false;
    }
    Engine.RefreshCaption();
    return true;
}

void TSavedGames::SaveAndQuitClick()
{
    if (SaveExecute())
        Window.close();
}

void TSavedGames::OpenExecute()
{
    if (!Play.Free())
        return;
    TFileRequest request;
    request.Folder = QString::fromStdString(SaveGamesFolder(Window.DataRoot()).string());
    Menus.ToolBar->setEnabled(false);
    const QString chosen = Window.Prompts.ChooseFile(request);
    if (!chosen.isEmpty() && LoadSavedGame(chosen))
        PlayCue("chime.wav");
    Menus.ToolBar->setEnabled(true);
}

// Replays a saved game; a file that cannot be replayed is reported with the
// reason and, when it is damaged or names no game of ours, changes nothing.
// The engine reads the file once more after it has counted the game being
// left: when that game is this very file, the count has just closed it.
bool TSavedGames::LoadSavedGame(const QString& file)
{
    const std::string path = file.toStdString();
    std::string error;
    const std::optional<TSavedGame> game = ReadSavedGame(path, error);
    if (!game) {
        Window.Prompts.ShowError(
            QStringLiteral("Tessalyn"),
            QStringLiteral("The saved game \"%1\" cannot be opened: %2.").arg(file, QString::fromStdString(error)));
        return false;
    }
    if (FindGameDefinition(game->GameName) == nullptr) {
        Window.Prompts.ShowError(QStringLiteral("Tessalyn"),
                                 QStringLiteral("The saved game \"%1\" names a game Tessalyn does not have: %2.")
                                     .arg(file, QString::fromStdString(QuotedExcerpt(game->GameName))));
        return false;
    }
    Window.Sounds().StopFlourish();
    // The replay presses cards through the table's own mouse handling, so the
    // table stays enabled; the engine's busy flag keeps the player's clicks out.
    TCardTable& table = Table;
    const bool slowRegion = table.SlowMoveRegion();
    table.SetSlowMoveRegion(false);
    table.SetSMR_WaitMode(false);
    const std::string previousSave = Engine.KeepSaveNameForLoad();
    const TLoadResult result =
        Engine.LoadGame([&path](std::string& error) { return ReadSavedGame(path, error); }, path);
    table.SetSMR_WaitMode(true);
    table.SetSlowMoveRegion(slowRegion);
    if (result.Outcome == TLoadOutcome::Loaded)
        return true;
    Engine.SetSaveName(previousSave);
    const QString named = QString::fromStdString(QuotedExcerpt(result.GameName));
    const QString reason = QString::fromStdString(result.Reason);
    QString text;
    switch (result.Outcome) {
    case TLoadOutcome::UnknownGame:
        text = QStringLiteral("The saved game \"%1\" names a game Tessalyn does not have: %2.").arg(file, named);
        break;
    case TLoadOutcome::RefusedToStart:
        text = QStringLiteral("The saved game \"%1\" of %2 cannot be opened: %3.").arg(file, named, reason);
        break;
    default:
        text = QStringLiteral("The saved game \"%1\" cannot be opened: %2.").arg(file, reason);
        break;
    }
    Window.Prompts.ShowError(QStringLiteral("Tessalyn"), text);
    return false;
}

void TSavedGames::Delete1Click()
{
    PlayCue("scream_x.wav");
    if (!Window.Prompts.AskYesNo(QStringLiteral("Delete all save files in Save Games and all sub folders?")))
        return;
    persistence::DeleteFiles(Window.DataRoot(), persistence::SaveGamesFolder);
    Engine.ForgetSaveName();
    if (Play.InPlay())
        Engine.RefreshCaption();
}

// ---------------------------------------------------------------------------
// Statistics and high scores

void TSavedGames::RecordGameResult(const std::string& gameName, const std::string& saveName, bool won, int points)
{
    // A game the program played to its end is not the player's.
    if (Window.Hints()->SolutionPlayed())
        return;
    const auto askName = [this, &gameName](int position, int score, const std::string&) {
        Form->GameNameLabel->setText(QString::fromStdString(gameName));
        return Form->EnterHighScore(position, score, Window.DataRoot());
    };
    persistence::RecordGameResult(Engine.SourceLog, Engine.SavedRecord().size(), {gameName, saveName, points, won},
                                  Window.DataRoot(), askName, QDate::currentDate());
}

void TSavedGames::ShowStatisticsClick(int page)
{
    // On the start screen the window shows the selected game's figures.
    const std::string game = Window.StartPage().Active() ? Window.StartPage().SelectedGame() : Play.GameName();
    if (game.empty())
        return;
    Form->ShowStatistics(game, page == 1 ? TDataForm::HighScoresPage : TDataForm::StatisticsPage, Window.DataRoot());
}

void TSavedGames::Reset1Click()
{
    PlayCue("scream_x.wav");
    if (!Window.Prompts.AskYesNo(QStringLiteral("Reset Statistics && High Scores for ALL games?")))
        return;
    persistence::ResetAllStats(Window.DataRoot());
    // The list shows the counters: show it again, all zeros.
    if (Window.StartPage().Active())
        Window.StartPage().ViewStartScreen();
}
