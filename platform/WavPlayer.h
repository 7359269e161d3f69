#pragma once

#include "platform/Audio.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace platform {

// 16-bit PCM frames of a WAV file, interleaved.
struct TWavData {
    int Channels = 0;
    int Rate = 0;
    std::vector<std::int16_t> Samples;
    int Frames() const { return Channels > 0 ? int(Samples.size()) / Channels : 0; }
};

// Reads a RIFF WAVE file of 8- or 16-bit PCM, one or two channels; nullopt
// for anything else or a damaged file.
std::optional<TWavData> ParseWav(std::string_view bytes);
std::optional<TWavData> ReadWav(const std::filesystem::path& file);

// The system player: one WAV file at a time on ALSA's default device,
// played by a thread of its own so that the caller never waits for the
// device. A device that cannot be opened makes the file play into nothing.
class TWavPlayer {
public:
    TWavPlayer();
    ~TWavPlayer();
    TWavPlayer(const TWavPlayer&) = delete;
    TWavPlayer& operator=(const TWavPlayer&) = delete;

    bool Play(const std::filesystem::path& file, TSystemPlay how);
    bool Busy() const { return Playing.load(); }
    void Stop();

private:
    void Run(std::stop_token stop, std::shared_ptr<const TWavData> wav, bool loop);

    std::atomic<bool> Playing{false};
    std::jthread Worker;
};

} // namespace platform
