#include "platform/WavPlayer.h"

#include "platform/FilePath.h"

#include <alsa/asoundlib.h>

#include <cstring>

namespace platform {

namespace {

std::uint32_t Le32(std::string_view b, std::size_t at)
{
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8
           | std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

std::uint16_t Le16(std::string_view b, std::size_t at)
{
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

// ALSA reports a missing card on stderr by itself; the program stays quiet.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

struct TPcmClose {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using TPcm = std::unique_ptr<snd_pcm_t, TPcmClose>;

TPcm OpenDevice(const TWavData& wav)
{
    snd_pcm_t* raw = nullptr;
    // Opened without waiting: a device held by another program must not hang us.
    if (snd_pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    TPcm pcm(raw);
    if (snd_pcm_nonblock(raw, 0) < 0)
        return nullptr;
    if (snd_pcm_set_params(raw, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                           unsigned(wav.Channels), unsigned(wav.Rate), 1, 100000)
        < 0)
        return nullptr;
    return pcm;
}

} // namespace

std::optional<TWavData> ParseWav(std::string_view bytes)
{
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return std::nullopt;
    int channels = 0, rate = 0, bits = 0;
    bool pcm = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string_view id = bytes.substr(at, 4);
        const std::size_t size = Le32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body)
            return std::nullopt;
        if (id == "fmt " && size >= 16) {
            pcm = Le16(bytes, body) == 1;
            channels = Le16(bytes, body + 2);
            rate = int(Le32(bytes, body + 4));
            bits = Le16(bytes, body + 14);
        } else if (id == "data") {
            if (!pcm || channels < 1 || channels > 2 || rate < 1000 || rate > 192000
                || (bits != 8 && bits != 16))
                return std::nullopt;
            TWavData wav{channels, rate, {}};
            if (bits == 16) {
                wav.Samples.resize(size / 2);
                for (std::size_t i = 0; i < wav.Samples.size(); ++i)
                    wav.Samples[i] = std::int16_t(Le16(bytes, body + 2 * i));
            } else {
                wav.Samples.resize(size);
                for (std::size_t i = 0; i < size; ++i)
                    wav.Samples[i] = std::int16_t((int(std::uint8_t(bytes[body + i])) - 128) * 256);
            }
            // A torn last frame is dropped.
            wav.Samples.resize(std::size_t(wav.Frames()) * std::size_t(channels));
            return wav;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

std::optional<TWavData> ReadWav(const std::filesystem::path& file)
{
    const std::optional<std::string> bytes = ReadWholeFile(file, SoundFileLimit);
    if (!bytes)
        return std::nullopt;
    return ParseWav(*bytes);
}

TWavPlayer::TWavPlayer() { snd_lib_error_set_handler(&QuietAlsa); }

TWavPlayer::~TWavPlayer() { Stop(); }

bool TWavPlayer::Play(const std::filesystem::path& file, TSystemPlay how)
{
    if (how == TSystemPlay::AsyncNoStop && Busy())
        return false;
    std::optional<TWavData> wav = ReadWav(file);
    if (!wav)
        return false;
    Stop();
    Playing = true;
    auto data = std::make_shared<const TWavData>(std::move(*wav));
    const bool loop = how == TSystemPlay::Loop;
    Worker = std::jthread([this, data, loop](std::stop_token stop) { Run(stop, data, loop); });
    if (how == TSystemPlay::Sync)
        Worker.join();
    return true;
}

void TWavPlayer::Stop()
{
    if (Worker.joinable()) {
        Worker.request_stop();
        Worker.join();
    }
    Playing = false;
}

void TWavPlayer::Run(std::stop_token stop, std::shared_ptr<const TWavData> wav, bool loop)
{
    TPcm pcm = OpenDevice(*wav);
    const int frames = wav->Frames();
    constexpr int Block = 1024;
    bool again = pcm != nullptr && frames > 0;
    while (again && !stop.stop_requested()) {
        for (int at = 0; at < frames && !stop.stop_requested();) {
            const int count = std::min(Block, frames - at);
            const std::int16_t* from = wav->Samples.data() + std::size_t(at) * std::size_t(wav->Channels);
            snd_pcm_sframes_t written = snd_pcm_writei(pcm.get(), from, snd_pcm_uframes_t(count));
            if (written < 0)
                written = snd_pcm_recover(pcm.get(), int(written), 1);
            if (written < 0) {
                again = false;
                break;
            }
            at += int(written);
        }
        again = again && loop;
    }
    if (pcm != nullptr) {
        if (stop.stop_requested())
            snd_pcm_drop(pcm.get());
        else
            snd_pcm_drain(pcm.get());
    }
    Playing = false;
}

} // namespace platform
