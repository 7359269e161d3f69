#include "platform/Audio.h"

#include "platform/MixerLibrary.h"
#include "platform/WavPlayer.h"

namespace platform {

namespace {

class TAudioDevices final : public TAudioOutput {
public:
    bool Init() override { return Library.Init(); }
    TAudioHandle LoadSample(const std::filesystem::path& file, int maxPlaybacks) override
    {
        return Library.LoadSample(file, maxPlaybacks);
    }
    TAudioHandle LoadStream(const std::filesystem::path& file) override { return Library.LoadStream(file); }
    TAudioHandle SampleChannel(TAudioHandle sample) override { return Library.SampleChannel(sample); }
    void SetVolume(TAudioHandle channel, float volume) override { Library.SetVolume(channel, volume); }
    void SetLoop(TAudioHandle channel, bool loop) override { Library.SetLoop(channel, loop); }
    void Play(TAudioHandle channel) override { Library.Play(channel); }
    bool IsActive(TAudioHandle channel) const override { return Library.IsActive(channel); }
    void StopSample(TAudioHandle sample) override { Library.StopSample(sample); }
    void StopStream(TAudioHandle stream) override { Library.StopStream(stream); }

    bool SystemPlay(const std::filesystem::path& file, TSystemPlay how) override { return Player.Play(file, how); }
    bool SystemBusy() const override { return Player.Busy(); }
    void SystemStop() override { Player.Stop(); }

private:
    // The player's thread ends before the library closes the device.
    TMixerLibrary Library;
    TWavPlayer Player;
};

} // namespace

std::unique_ptr<TAudioOutput> MakeAudioOutput() { return std::make_unique<TAudioDevices>(); }

} // namespace platform
