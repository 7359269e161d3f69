// The main window's sound: the players chosen at start-up, the "Sound" option
// and the "Sound System" choice, and the cues the engine hands over.
#include "shell/Main.h"

#include "shell/Flourish.h"
#include "shell/Sound.h"

#include "cardtable/CardTable.h"
#include "engine/Engine.h"
#include "platform/Audio.h"
#include "platform/Trace.h"

#include <QAction>

namespace {

constexpr unsigned FlourishColour = 0xFFAAFF;

} // namespace

void TForm1::StartSoundSystem()
{
    if (Audio == nullptr)
        Audio = platform::MakeAudioOutput();
    SoundSystem_ = std::make_unique<TSoundSystem>(*Audio, std::filesystem::path(ProgramFolder()) / "Sounds");
    SoundSystem_->StartUp();
    if (CardTable1 != nullptr && Flourish1 == nullptr)
        Flourish1 = new TFlourish(CardTable1);
    ConnectSoundMenus();
}

void TForm1::UseAudioOutput(std::unique_ptr<platform::TAudioOutput> output)
{
    SoundSystem_.reset();
    Audio = std::move(output);
    StartSoundSystem();
    ShowSoundChecks();
}

// "DirectX" can be chosen only when the audio library started.
void TForm1::ConnectSoundMenus()
{
    if (SoundDirectXItem != nullptr)
        SoundDirectXItem->setEnabled(SoundSystem_->LibraryReady());
    ShowSoundChecks();
}

void TForm1::ShowSoundChecks()
{
    SyncOptionChecks();
    const bool library = SoundSystem_ != nullptr && SoundSystem_->UsingLibrary();
    if (SoundDirectXItem != nullptr)
        SoundDirectXItem->setChecked(library);
    if (SoundWinItem != nullptr)
        SoundWinItem->setChecked(!library);
}

// The first show: the sound option as read, and a first sound to say which
// player is in use.
void TForm1::ApplySoundOption()
{
    SetSoundOption(persistence::SoundOptionOn(OptionsList));
    if (SoundSystem_->UsingLibrary())
        Stream("blub.mp3", 1);
    else if (SoundOn())
        SoundSystem_->Play("shuffle.wav", pmAsync, 100);
    ShowSoundChecks();
}

void TForm1::SetSoundOption(bool on) { SoundClick(on); }

void TForm1::SetSoundSystem(bool library)
{
    SoundSystem_->SetUsingLibrary(library);
    ShowSoundChecks();
}

void TForm1::Sound(const std::string& name, int mode, int milliseconds)
{
    if (Engine_ != nullptr)
        Engine_->Sound(name, mode, milliseconds);
    else if (SoundOn())
        SoundSystem_->Play(name, mode, milliseconds);
}

bool TForm1::Stream(const std::string& name, int loop)
{
    if (!SoundOn() || (Play.ShuttingDown()))
        return false;
    return SoundSystem_->Stream(name, loop);
}

void TForm1::SoundStop(const std::string& name, bool stream) { SoundSystem_->SoundStop(name, stream); }

// ---------------------------------------------------------------------------
// EngineHost: the engine has counted the points and asked SoundOn already.

void TForm1::PlaySoundFile(const std::string& file, int mode, int milliseconds)
{
    if (Play.ShuttingDown())
        return;
    SoundSystem_->Play(file, mode, milliseconds);
}

// The only sound the engine stops is the deal's loop.
void TForm1::StopSound() { SoundStop("deal.wav", false); }

bool TForm1::SoundOn() const
{
    return persistence::SoundOptionOn(OptionsList);
}

void TForm1::StartFlourish(const QRect& area, unsigned colour)
{
    if (Flourish1 == nullptr)
        return;
    Flourish1->SetInterval(100);
    Flourish1->SetColour(colour == 0 ? FlourishColour : colour);
    Flourish1->SetSpots(14);
    Flourish1->SetMaxRadius(5);
    Flourish1->SetSteps(35);
    Flourish1->Start(area);
}

void TForm1::SetFlourishColour(unsigned colour)
{
    if (Flourish1 != nullptr)
        Flourish1->SetColour(colour);
}

void TForm1::StopFlourish()
{
    if (Flourish1 != nullptr && Flourish1->Running()) {
        Flourish1->SetEnabled(false);
        Flourish1->SetEnabled(true);
    }
}
