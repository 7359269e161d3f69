#pragma once

#include "platform/Audio.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// How a cue is played: the numbers every caller passes.
enum TPlayMode {
    pmAsync = 1,     // start and go on
    pmSync = 2,      // wait until it has played
    pmLoop = 3,      // repeat until stopped
    pmAfterLast = 4, // wait for the sound played last, then start
    pmPause = 5      // pause the given milliseconds, then start
};

// The sounds of the "Sounds" folder beside the program. The first 21 are
// short samples, the last two are music played as streams. The order is the
// order of loading; names are looked up without regard to case.
inline constexpr std::array<std::string_view, 23> SoundFiles{"congrat.wav",
                                                             "applause3.wav",
                                                             "BEEPSPAC.wav",
                                                             "chime.wav",
                                                             "spaced.wav",
                                                             "claps.wav",
                                                             "drag.wav",
                                                             "drop.wav",
                                                             "explosion.wav",
                                                             "fanfare_x.wav",
                                                             "Crystal_Whoosh_01.wav",
                                                             "R2.wav",
                                                             "ring.wav",
                                                             "scream_x.wav",
                                                             "shuffle.wav",
                                                             "success.wav",
                                                             "thunder_x.wav",
                                                             "ufo_x.wav",
                                                             "undo.wav",
                                                             "waste.wav",
                                                             "deal.wav",
                                                             "blub.mp3",
                                                             "New-5848.mp3"};
inline constexpr std::size_t SampleCount = 21;

// The playing half of the program's sound: the audio library when it started
// with every file, else the system player. Points and the "Sound" option are
// the caller's business; this only plays.
class TSoundSystem {
public:
    TSoundSystem(platform::TAudioOutput& output, std::filesystem::path soundsFolder);

    // Starts the library and loads every file in table order, stopping at the
    // first failure. True when the library is ready and chosen; otherwise the
    // system player is chosen. Loading happens once.
    bool StartUp();
    bool LibraryReady() const { return Ready; }
    // The player in use: the library ("DirectX") or the system player ("Win").
    // The library can only be chosen once it is ready.
    bool UsingLibrary() const { return UseLibrary; }
    void SetUsingLibrary(bool library) { UseLibrary = library && Ready; }

    // Plays `name` by `mode` through the player in use.
    void Play(std::string_view name, int mode, int milliseconds);
    // The library's player; a name not among the samples plays nothing.
    void UseBass(std::string_view name, int mode, int milliseconds);
    // Starts one of the two pieces of music (once when `loop` is 1, else
    // repeating). False when it cannot: no library, or an unknown name.
    bool Stream(std::string_view name, int loop);
    // Stops a sample or a stream by name; with the system player whatever plays.
    void SoundStop(std::string_view name, bool stream);

    // Refuses everything from now on (the program is closing).
    bool ShuttingDown = false;

    // While set, a synchronous sound listens to the player: once this says
    // so, the wait ends and the sound stops (the win show sets it).
    std::function<bool()> CutShort;

    // Longest waits of the waiting modes, so that a sound that never ends
    // (a loop, a file the player refuses) cannot hold the program.
    int SyncLimit = 15000;
    int AfterLastLimit = 3000;

    // Index of `name` in SoundFiles among [first, last); -1 when absent.
    static int Find(std::string_view name, std::size_t first, std::size_t last);

private:
    void SystemPlay(std::string_view name, int mode, int milliseconds);
    // Waits for a synchronous sound to end; false when it was cut short.
    bool WaitToEnd(const std::function<bool()>& ended);
    std::filesystem::path PathOf(std::string_view name) const;

    platform::TAudioOutput& Output;
    std::filesystem::path Folder;
    std::array<platform::TAudioHandle, SampleCount> Samples{};
    std::array<platform::TAudioHandle, SoundFiles.size() - SampleCount> Streams{};
    platform::TAudioHandle LastChannel = 0;
    bool Started = false;
    bool Ready = false;
    bool UseLibrary = false;
};
