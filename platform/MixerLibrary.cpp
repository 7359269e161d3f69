#include "platform/MixerLibrary.h"

#include "platform/FilePath.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Stream handles are told apart from channel handles by this bit.
constexpr TAudioHandle StreamBit = 0x80000000u;
// Channel handle: generation above, channel number + 1 in the low bits.
constexpr int ChannelBits = 10;
constexpr TAudioHandle ChannelMask = (1u << ChannelBits) - 1;

int MixerVolume(float volume)
{
    const float clamped = std::clamp(volume, 0.0f, 100.0f);
    return int(std::lround(clamped * float(MIX_MAX_VOLUME) / 100.0f));
}

} // namespace

void TMixerLibrary::TChunkFree::operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
void TMixerLibrary::TMusicFree::operator()(_Mix_Music* music) const { Mix_FreeMusic(music); }

TMixerLibrary::~TMixerLibrary() { Close(); }

bool TMixerLibrary::Init(int frequency)
{
    if (Opened)
        return true;
    // SDL would otherwise take SIGINT and SIGTERM for an event queue nobody
    // reads, and the program could no longer be ended from outside.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(frequency, AUDIO_S16SYS, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Opened = true;
    return true;
}

void TMixerLibrary::Close()
{
    if (!Opened)
        return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Samples.clear();
    Streams.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Opened = false;
}

TAudioHandle TMixerLibrary::LoadSample(const std::filesystem::path& file, int maxPlaybacks)
{
    if (!Opened || maxPlaybacks < 1)
        return 0;
    if (!IsRegularFileWithin(file, SoundFileLimit))
        return 0;
    std::unique_ptr<Mix_Chunk, TChunkFree> chunk(Mix_LoadWAV(file.c_str()));
    if (chunk == nullptr)
        return 0;
    const int first = int(Channels.size());
    if (first + maxPlaybacks > int(ChannelMask))
        return 0;
    Mix_AllocateChannels(first + maxPlaybacks);
    const auto sample = TAudioHandle(Samples.size() + 1);
    for (int i = 0; i < maxPlaybacks; ++i)
        Channels.push_back(TChannel{sample, 0, {}, MIX_MAX_VOLUME, false});
    Samples.push_back(TSample{std::move(chunk), first, maxPlaybacks});
    return sample;
}

TAudioHandle TMixerLibrary::LoadStream(const std::filesystem::path& file)
{
    if (!Opened)
        return 0;
    if (!IsRegularFileWithin(file, SoundFileLimit))
        return 0;
    std::unique_ptr<_Mix_Music, TMusicFree> music(Mix_LoadMUS(file.c_str()));
    if (music == nullptr)
        return 0;
    Streams.push_back(TStream{std::move(music), MIX_MAX_VOLUME, false});
    return StreamBit | TAudioHandle(Streams.size());
}

bool TMixerLibrary::IsStream(TAudioHandle handle) { return (handle & StreamBit) != 0; }

TMixerLibrary::TStream* TMixerLibrary::StreamFor(TAudioHandle stream)
{
    if (!IsStream(stream))
        return nullptr;
    const TAudioHandle index = stream & ~StreamBit;
    if (index < 1 || index > Streams.size())
        return nullptr;
    return &Streams[index - 1];
}

int TMixerLibrary::ChannelIndex(TAudioHandle channel) const
{
    if (IsStream(channel))
        return -1;
    const int index = int(channel & ChannelMask) - 1;
    if (index < 0 || index >= int(Channels.size()))
        return -1;
    return Channels[std::size_t(index)].Generation == (channel >> ChannelBits) ? index : -1;
}

// A free channel of the sample, else the one whose playback began first.
int TMixerLibrary::ChooseChannel(const TSample& sample) const
{
    int oldest = sample.FirstChannel;
    for (int c = sample.FirstChannel; c < sample.FirstChannel + sample.Channels; ++c) {
        if (Mix_Playing(c) == 0)
            return c;
        if (Channels[std::size_t(c)].Started < Channels[std::size_t(oldest)].Started)
            oldest = c;
    }
    return oldest;
}

TAudioHandle TMixerLibrary::SampleChannel(TAudioHandle sample)
{
    if (sample < 1 || sample > Samples.size())
        return 0;
    const int c = ChooseChannel(Samples[sample - 1]);
    TChannel& channel = Channels[std::size_t(c)];
    // The generation of the handle of a playback that is taken over goes stale.
    channel.Generation = (channel.Generation + 1) & ((1u << (32 - 1 - ChannelBits)) - 1);
    channel.Volume = MIX_MAX_VOLUME;
    channel.Loop = false;
    channel.Started = {};
    return (channel.Generation << ChannelBits) | TAudioHandle(c + 1);
}

void TMixerLibrary::SetVolume(TAudioHandle channel, float volume)
{
    if (TStream* stream = StreamFor(channel)) {
        stream->Volume = MixerVolume(volume);
        if (PlayingStream == channel)
            Mix_VolumeMusic(stream->Volume);
        return;
    }
    const int c = ChannelIndex(channel);
    if (c < 0)
        return;
    Channels[std::size_t(c)].Volume = MixerVolume(volume);
    Mix_Volume(c, Channels[std::size_t(c)].Volume);
}

void TMixerLibrary::SetLoop(TAudioHandle channel, bool loop)
{
    if (TStream* stream = StreamFor(channel)) {
        stream->Loop = loop;
        return;
    }
    const int c = ChannelIndex(channel);
    if (c >= 0)
        Channels[std::size_t(c)].Loop = loop;
}

void TMixerLibrary::Play(TAudioHandle channel)
{
    if (TStream* stream = StreamFor(channel)) {
        // Playing a stream that already plays goes on without a restart.
        if (PlayingStream == channel && Mix_PlayingMusic() != 0)
            return;
        Mix_VolumeMusic(stream->Volume);
        if (Mix_PlayMusic(stream->Music.get(), stream->Loop ? -1 : 1) == 0)
            PlayingStream = channel;
        return;
    }
    const int c = ChannelIndex(channel);
    if (c < 0)
        return;
    TChannel& state = Channels[std::size_t(c)];
    // A playback already under way goes on without a restart; a channel just
    // handed out (Started cleared) replaces whatever it still plays.
    if (state.Started != Clock::time_point{} && Mix_Playing(c) != 0)
        return;
    Mix_Volume(c, state.Volume);
    if (Mix_PlayChannel(c, Samples[state.Sample - 1].Chunk.get(), state.Loop ? -1 : 0) >= 0)
        state.Started = Clock::now();
}

bool TMixerLibrary::IsActive(TAudioHandle channel) const
{
    if (IsStream(channel))
        return PlayingStream == channel && Mix_PlayingMusic() != 0;
    const int c = ChannelIndex(channel);
    return c >= 0 && Mix_Playing(c) != 0;
}

void TMixerLibrary::StopSample(TAudioHandle sample)
{
    if (sample < 1 || sample > Samples.size())
        return;
    const TSample& s = Samples[sample - 1];
    for (int c = s.FirstChannel; c < s.FirstChannel + s.Channels; ++c)
        Mix_HaltChannel(c);
}

void TMixerLibrary::StopStream(TAudioHandle stream)
{
    if (StreamFor(stream) != nullptr && PlayingStream == stream) {
        Mix_HaltMusic();
        PlayingStream = 0;
    }
}

} // namespace platform
