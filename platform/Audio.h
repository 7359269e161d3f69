#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

// The machine's audio as the program's sound routines see it: an audio
// library that keeps short samples and two pieces of music loaded and plays
// them on channels, and a system player that plays one WAV file at a time.
// Neither ever blocks the caller for long, and neither fails loudly: without
// an audio device the library does not start and the system player accepts
// files and plays them into nothing.
namespace platform {

// 0 means "none" (a failed load, an unknown name).
using TAudioHandle = std::uint32_t;

// How the system player takes a file.
enum class TSystemPlay {
    Async,      // returns at once; a new file cuts off the one playing
    Sync,       // returns when the file has played
    Loop,       // returns at once and repeats until stopped
    AsyncNoStop // returns at once, but refuses while a file is playing
};

class TAudioOutput {
public:
    virtual ~TAudioOutput() = default;

    // --- the audio library ---
    // Opens the default device at 44.1 kHz; false when there is none.
    virtual bool Init() = 0;
    // A sample may sound `maxPlaybacks` times at once; a further playback
    // takes over the one that has played longest.
    virtual TAudioHandle LoadSample(const std::filesystem::path& file, int maxPlaybacks) = 0;
    virtual TAudioHandle LoadStream(const std::filesystem::path& file) = 0;
    // A channel of the sample for one playback (a free one, else the oldest).
    virtual TAudioHandle SampleChannel(TAudioHandle sample) = 0;
    // Channels and streams alike. Volume runs from 0 to 100.
    virtual void SetVolume(TAudioHandle channel, float volume) = 0;
    virtual void SetLoop(TAudioHandle channel, bool loop) = 0;
    virtual void Play(TAudioHandle channel) = 0;
    virtual bool IsActive(TAudioHandle channel) const = 0;
    // Every playback of the sample.
    virtual void StopSample(TAudioHandle sample) = 0;
    virtual void StopStream(TAudioHandle stream) = 0;

    // --- the system player ---
    // False when the file cannot be read or (AsyncNoStop) a file is playing.
    virtual bool SystemPlay(const std::filesystem::path& file, TSystemPlay how) = 0;
    virtual bool SystemBusy() const = 0;
    virtual void SystemStop() = 0;
};

// The library over SDL2_mixer and the system player over ALSA.
std::unique_ptr<TAudioOutput> MakeAudioOutput();

} // namespace platform
