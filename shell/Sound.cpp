#include "shell/Sound.h"

#include "shell/Pause.h"

#include "platform/FilePath.h"

namespace {

constexpr float SampleVolume = 50.0f;
constexpr float StreamVolume = 40.0f;
constexpr int PlaybacksPerSample = 3;
// The system player needs a moment to take a file before the next may cut it.
constexpr int SystemSettle = 25;

} // namespace

TSoundSystem::TSoundSystem(platform::TAudioOutput& output, std::filesystem::path soundsFolder)
    : Output(output),
      Folder(std::move(soundsFolder))
{}

int TSoundSystem::Find(std::string_view name, std::size_t first, std::size_t last)
{
    for (std::size_t i = first; i < last; ++i)
        if (platform::SameName(SoundFiles[i], name))
            return int(i);
    return -1;
}

std::filesystem::path TSoundSystem::PathOf(std::string_view name) const
{
    // The folder's own spelling of the file wins; a missing file keeps ours.
    if (const auto found = platform::FindEntry(Folder, name))
        return *found;
    return Folder / std::string(name);
}

bool TSoundSystem::StartUp()
{
    if (Started)
        return UseLibrary;
    Started = true;
    bool ok = Output.Init();
    for (std::size_t i = 0; ok && i < SampleCount; ++i) {
        Samples[i] = Output.LoadSample(PathOf(SoundFiles[i]), PlaybacksPerSample);
        ok = Samples[i] != 0;
    }
    for (std::size_t i = 0; ok && i < Streams.size(); ++i) {
        Streams[i] = Output.LoadStream(PathOf(SoundFiles[SampleCount + i]));
        ok = Streams[i] != 0;
    }
    Ready = ok;
    UseLibrary = ok;
    return UseLibrary;
}

void TSoundSystem::Play(std::string_view name, int mode, int milliseconds)
{
    if (ShuttingDown)
        return;
    if (UseLibrary)
        UseBass(name, mode, milliseconds);
    else
        SystemPlay(name, mode, milliseconds);
}

void TSoundSystem::UseBass(std::string_view name, int mode, int milliseconds)
{
    const int index = Find(name, 0, SampleCount);
    if (index < 0 || Samples[std::size_t(index)] == 0)
        return;
    const platform::TAudioHandle channel = Output.SampleChannel(Samples[std::size_t(index)]);
    Output.SetVolume(channel, SampleVolume);
    Output.SetLoop(channel, mode == pmLoop);
    if (mode == pmAfterLast) {
        const platform::TAudioHandle last = LastChannel;
        PauseUntil(AfterLastLimit, [this, last] { return !Output.IsActive(last); });
    } else if (mode != pmAsync && mode != pmSync && mode != pmLoop) {
        SleepFor(milliseconds);
    }
    Output.Play(channel);
    LastChannel = channel;
    if (mode == pmSync && !WaitToEnd([this, channel] { return !Output.IsActive(channel); }))
        Output.StopSample(Samples[std::size_t(index)]);
}

bool TSoundSystem::WaitToEnd(const std::function<bool()>& ended)
{
    if (!CutShort) {
        PauseUntil(SyncLimit, ended);
        return true;
    }
    bool cut = false;
    PauseUntil(
        SyncLimit, [&] { return ended() || (cut = CutShort()); }, true);
    return !cut;
}

void TSoundSystem::SystemPlay(std::string_view name, int mode, int milliseconds)
{
    const std::filesystem::path file = PathOf(name);
    switch (mode) {
    case pmAsync:
        Output.SystemPlay(file, platform::TSystemPlay::Async);
        SleepFor(SystemSettle);
        break;
    case pmSync:
        // Played on its own and waited for with the window still painting.
        if (Output.SystemPlay(file, platform::TSystemPlay::Async)
            && !WaitToEnd([this] { return !Output.SystemBusy(); }))
            Output.SystemStop();
        break;
    case pmLoop:
        Output.SystemPlay(file, platform::TSystemPlay::Loop);
        break;
    case pmAfterLast:
        // The player takes the file once the one before has ended; a file it
        // can never take gives up after a while instead of holding the program.
        PauseUntil(AfterLastLimit,
                   [this, &file] { return Output.SystemPlay(file, platform::TSystemPlay::AsyncNoStop); });
        break;
    default:
        SleepFor(milliseconds);
        Output.SystemPlay(file, platform::TSystemPlay::Async);
        break;
    }
}

bool TSoundSystem::Stream(std::string_view name, int loop)
{
    if (ShuttingDown || !UseLibrary)
        return false;
    const int index = Find(name, SampleCount, SoundFiles.size());
    if (index < 0)
        return false;
    const platform::TAudioHandle stream = Streams[std::size_t(index) - SampleCount];
    Output.SetVolume(stream, StreamVolume);
    Output.SetLoop(stream, loop != 1);
    Output.Play(stream);
    return true;
}

void TSoundSystem::SoundStop(std::string_view name, bool stream)
{
    if (!UseLibrary) {
        Output.SystemStop();
        return;
    }
    if (stream) {
        const int index = Find(name, SampleCount, SoundFiles.size());
        if (index >= 0)
            Output.StopStream(Streams[std::size_t(index) - SampleCount]);
    } else {
        const int index = Find(name, 0, SampleCount);
        if (index >= 0)
            Output.StopSample(Samples[std::size_t(index)]);
    }
}
