#pragma once

#include "platform/Audio.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

struct Mix_Chunk;
struct _Mix_Music;

namespace platform {

// The audio library over SDL2_mixer. Every sample owns a fixed group of
// mixer channels, one per simultaneous playback; streams are SDL_mixer's
// music, so only one of them sounds at a time.
//
// Channel handles carry a generation: when a playback is taken over, the old
// handle stops reporting itself active, as a finished channel would.
class TMixerLibrary {
public:
    TMixerLibrary() = default;
    ~TMixerLibrary();
    TMixerLibrary(const TMixerLibrary&) = delete;
    TMixerLibrary& operator=(const TMixerLibrary&) = delete;

    bool Init(int frequency = 44100);
    bool Ready() const { return Opened; }

    TAudioHandle LoadSample(const std::filesystem::path& file, int maxPlaybacks);
    TAudioHandle LoadStream(const std::filesystem::path& file);
    TAudioHandle SampleChannel(TAudioHandle sample);
    void SetVolume(TAudioHandle channel, float volume);
    void SetLoop(TAudioHandle channel, bool loop);
    void Play(TAudioHandle channel);
    bool IsActive(TAudioHandle channel) const;
    void StopSample(TAudioHandle sample);
    void StopStream(TAudioHandle stream);

private:
    using Clock = std::chrono::steady_clock;

    struct TChunkFree {
        void operator()(Mix_Chunk* chunk) const;
    };
    struct TMusicFree {
        void operator()(_Mix_Music* music) const;
    };
    struct TSample {
        std::unique_ptr<Mix_Chunk, TChunkFree> Chunk;
        int FirstChannel = 0;
        int Channels = 0;
    };
    struct TChannel {
        TAudioHandle Sample = 0;
        std::uint32_t Generation = 0;
        Clock::time_point Started;
        int Volume = 128;
        bool Loop = false;
    };
    struct TStream {
        std::unique_ptr<_Mix_Music, TMusicFree> Music;
        int Volume = 128;
        bool Loop = false;
    };

    static bool IsStream(TAudioHandle handle);
    int ChannelIndex(TAudioHandle channel) const; // -1 when stale or unknown
    TStream* StreamFor(TAudioHandle stream);
    int ChooseChannel(const TSample& sample) const;
    void Close();

    bool Opened = false;
    std::vector<TSample> Samples;
    std::vector<TChannel> Channels;
    std::vector<TStream> Streams;
    TAudioHandle PlayingStream = 0;
};

} // namespace platform
