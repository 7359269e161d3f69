// Speed of the player's data: counting a result with both statistics files,
// and opening a 1,000-action saved game in the window with its drawing off.
#include "shell/WindowParts.h"

#include "cardtable/CardTable.h"
#include "engine/Engine.h"
#include "engine/RandomPlay.h"
#include "persistence/Data.h"
#include "persistence/SourceLogFile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

void BM_RecordGameResult(benchmark::State& state)
{
    const QTemporaryDir folder;
    const std::filesystem::path root = folder.path().toStdString();
    int points = 0;
    for (auto _ : state) {
        std::vector<std::string> log{"Freecell", "1", "O"};
        persistence::RecordGameResult(log, log.size(), {"Freecell", {}, ++points, false}, root,
                                      [](int, int, const std::string&) { return std::string("Ann"); }, {});
    }
}
BENCHMARK(BM_RecordGameResult)->Unit(benchmark::kMillisecond);

// A window whose questions nobody sees, a saved game of 1,000 actions.
struct TOpenFixture {
    TOpenFixture()
    {
        qputenv("HOME", Home.path().toUtf8());
        TPrompts prompts;
        prompts.AskYesNo = [](const QString&) { return true; };
        prompts.ShowError = [](const QString&, const QString&) {};
        prompts.ShowNotice = prompts.ShowError;
        prompts.RunModal = [](QDialog&) { return 0; };
        prompts.ChooseFile = [this](const TFileRequest&) { return File; };
        Form = std::make_unique<TForm1>(prompts);
        Form->FirstShow();
        Form->hide();
        Form->Commands().ChooseGame("Freecell");
        std::mt19937 random(5);
        while (Form->Engine()->SavedRecord().size() < 3 + 4 * 1000)
            PlayRandomAction(*Form->Engine(), random, TUndoUse::Never);
        File = Home.path() + QStringLiteral("/game.tsg");
        Form->Engine()->SaveName = File.toStdString();
        Form->Saves().SaveExecute();
    }
    QTemporaryDir Home;
    QString File;
    std::unique_ptr<TForm1> Form;
};

void BM_OpenSavedGame(benchmark::State& state)
{
    TOpenFixture fixture;
    for (auto _ : state)
        fixture.Form->Saves().OpenExecute();
    state.SetLabel(std::to_string(fixture.Form->Engine()->SavedRecord().size() / 4) + " actions");
}
BENCHMARK(BM_OpenSavedGame)->Unit(benchmark::kMillisecond);

} // namespace
