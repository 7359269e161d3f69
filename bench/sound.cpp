// Speed of the sound system's start (the audio device opened and every sound
// loaded, as the window does before it first shows) and of one flourish step.
// Run with SDL_AUDIODRIVER=dummy where there is no sound card.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include <QCoreApplication>

#include "cardtable/CardTable.h"
#include "platform/Audio.h"
#include "shell/Flourish.h"
#include "shell/Sound.h"

namespace {

const std::filesystem::path ProgramDir = TESSALYN_PROGRAM_DIR;

void BM_SoundStartUp(benchmark::State& state)
{
    bool library = false;
    for (auto _ : state) {
        const std::unique_ptr<platform::TAudioOutput> audio = platform::MakeAudioOutput();
        TSoundSystem sound(*audio, ProgramDir / "Sounds");
        library = sound.StartUp();
        benchmark::DoNotOptimize(library);
    }
    state.SetLabel(library ? "library" : "system player");
}
BENCHMARK(BM_SoundStartUp)->Unit(benchmark::kMillisecond);

void BM_FlourishStep(benchmark::State& state)
{
    TCardTable table(nullptr, ProgramDir / "Cardsets");
    table.SetTableSize(1280, 900);
    table.show();
    QCoreApplication::processEvents();
    TFlourish flourish(&table);
    flourish.SetSpots(14);
    flourish.SetMaxRadius(5);
    flourish.SetSteps(1000000);
    flourish.Start(QRect(100, 100, 101, 126));
    for (auto _ : state)
        flourish.Step();
}
BENCHMARK(BM_FlourishStep)->Unit(benchmark::kMicrosecond);

} // namespace
