#pragma once

#include <QRect>

#include <memory>
#include <string>

class TCardTable;
class TEngine;
class TFlourish;
class TForm1;
class TSoundSystem;
class TWindowMenus;
namespace platform {
class TAudioOutput;
}

// The window's sound: the sound system on the machine's audio, the "Sound"
// option and the "Sound System" choice, and the flourish on the table.
class TWindowSound {
public:
    TWindowSound(TForm1& window, TEngine& engine, TCardTable& table);
    ~TWindowSound();

    // The one routine every cue goes through: the points first, then the
    // file through the player in use.
    void Sound(const std::string& name, int mode, int milliseconds);
    bool Stream(const std::string& name, int loop);
    void SoundStop(const std::string& name, bool stream);
    // A file the engine has counted already.
    void PlaySoundFile(const std::string& file, int mode, int milliseconds);
    // The only sound the engine stops is the deal's loop.
    void StopSound();
    bool SoundOn() const;
    TSoundSystem* SoundSystem() const { return SoundSystem_.get(); }
    // Replaces the machine's audio (tests record what would be heard) and
    // starts the sound system on it again.
    void UseAudioOutput(std::unique_ptr<platform::TAudioOutput> output);
    // The first show: the sound option as read, and a first sound to say
    // which player is in use.
    void ApplySoundOption();
    // " Options " "Sound" "On" / "Off".
    void SetSoundOption(bool on);
    // Debug "Sound System": "DirectX" (the library) or "Win" (the system player).
    void SetSoundSystem(bool library);
    void ShowSoundChecks();
    // The window is closing: no more sounds.
    void Shutdown();

    void StartFlourish(const QRect& area, unsigned colour);
    void SetFlourishColour(unsigned colour);
    void StopFlourish();
    TFlourish* Flourish() const { return Flourish_; }

private:
    void StartSoundSystem();
    void ConnectSoundMenus();

    TForm1& Window;
    TEngine& Engine;
    TWindowMenus& Menus;
    std::unique_ptr<platform::TAudioOutput> Audio;
    std::unique_ptr<TSoundSystem> SoundSystem_;
    TFlourish* Flourish_; // Flourish1, on the table
};
