#pragma once

#include "platform/Audio.h"

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

// Audio that plays nothing and remembers everything asked of it. A playback
// counts as active for `PlayLength`; `Forever` keeps every channel active.
class TRecordingAudio : public platform::TAudioOutput {
public:
    using Clock = std::chrono::steady_clock;

    struct TChannel {
        std::string File;
        float Volume = 100.0f;
        bool Loop = false;
        Clock::time_point Started{};
        bool Played = false;
    };

    bool InitOk = true;
    std::set<std::string> MissingFiles;   // loads of these fail
    std::chrono::milliseconds PlayLength{0};
    bool Forever = false;
    bool SystemRefuses = false;           // the system player takes nothing
    int SystemRefusesFirst = 0;           // ... or nothing for this many requests

    std::vector<std::string> Loaded;      // samples, then streams, by file name
    std::vector<int> Playbacks;           // per sample load
    std::vector<std::string> Played;      // library playbacks, by file name
    std::vector<std::string> SystemPlayed;
    std::vector<platform::TSystemPlay> SystemModes;
    int SystemRefused = 0;                // requests the system player turned down
    std::vector<std::string> Stopped;     // "sample:name", "stream:name", "system"
    std::vector<TChannel> Channels;       // handle - 1
    mutable int ActiveQueries = 0;

    bool Init() override { return InitOk; }

    platform::TAudioHandle LoadSample(const std::filesystem::path& file, int maxPlaybacks) override
    {
        return Load(file, maxPlaybacks);
    }
    platform::TAudioHandle LoadStream(const std::filesystem::path& file) override { return Load(file, 0); }

    platform::TAudioHandle SampleChannel(platform::TAudioHandle sample) override
    {
        Channels.push_back({Files.at(sample - 1), 100.0f, false, {}, false});
        return platform::TAudioHandle(Channels.size()) + 1000;
    }
    void SetVolume(platform::TAudioHandle channel, float volume) override { At(channel).Volume = volume; }
    void SetLoop(platform::TAudioHandle channel, bool loop) override { At(channel).Loop = loop; }
    void Play(platform::TAudioHandle channel) override
    {
        TChannel& c = At(channel);
        c.Played = true;
        c.Started = Clock::now();
        Played.push_back(c.File);
    }
    bool IsActive(platform::TAudioHandle channel) const override
    {
        ++ActiveQueries;
        if (channel == 0)
            return false;
        const TChannel& c = const_cast<TRecordingAudio*>(this)->At(channel);
        return c.Played && (Forever || c.Loop || Clock::now() - c.Started < PlayLength);
    }
    void StopSample(platform::TAudioHandle sample) override { Stopped.push_back("sample:" + Files.at(sample - 1)); }
    void StopStream(platform::TAudioHandle stream) override { Stopped.push_back("stream:" + Files.at(stream - 1)); }

    bool SystemPlay(const std::filesystem::path& file, platform::TSystemPlay how) override
    {
        if (SystemRefuses || SystemRefused < SystemRefusesFirst) {
            ++SystemRefused;
            return false;
        }
        SystemPlayed.push_back(file.filename().string());
        SystemModes.push_back(how);
        SystemStarted = Clock::now();
        return true;
    }
    bool SystemBusy() const override { return Forever || Clock::now() - SystemStarted < PlayLength; }
    void SystemStop() override { Stopped.push_back("system"); }

    // The channel handed out last (its settings are what the player set).
    const TChannel& LastChannel() const { return Channels.back(); }
    // Every cue heard, whichever player took it.
    std::vector<std::string> Heard() const
    {
        std::vector<std::string> all = Played;
        all.insert(all.end(), SystemPlayed.begin(), SystemPlayed.end());
        return all;
    }

private:
    platform::TAudioHandle Load(const std::filesystem::path& file, int playbacks)
    {
        const std::string name = file.filename().string();
        Loaded.push_back(name);
        if (MissingFiles.count(name) != 0)
            return 0;
        if (playbacks > 0)
            Playbacks.push_back(playbacks);
        Files.push_back(name);
        return platform::TAudioHandle(Files.size());
    }
    TChannel& At(platform::TAudioHandle channel)
    {
        if (channel > 1000)
            return Channels.at(channel - 1001);
        StreamSettings.File = Files.at(channel - 1);
        return StreamSettings;
    }

public:
    // Streams share one record of their latest settings.
    TChannel StreamSettings;

private:
    std::vector<std::string> Files;
    Clock::time_point SystemStarted{};
};
