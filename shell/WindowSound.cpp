// The main window's sound: the players chosen at start-up, the "Sound" option
// and the "Sound System" choice, the cues the engine hands over, and the
// flourish that goes with some of them.
#include "shell/WindowSound.h"

#include "shell/Flourish.h"
#include "shell/Main.h"
#include "shell/Sound.h"
#include "shell/WindowMenus.h"
#include "shell/WindowOptions.h"

#include "cardtable/CardTable.h"
#include "engine/Engine.h"
#include "platform/Audio.h"
#include "platform/Trace.h"

#include <QAction>

namespace {

constexpr unsigned FlourishColour = 0xFFAAFF;

} // namespace

TWindowSound::TWindowSound(TForm1& window, TEngine& engine, TCardTable& table)
    : Window(window),
      Engine(engine),
      Menus(window.Menus()),
      Flourish_(new TFlourish(&table))
{
    StartSoundSystem();
}

TWindowSound::~TWindowSound() = default;

void TWindowSound::StartSoundSystem()
{
    if (Audio == nullptr)
        Audio = platform::MakeAudioOutput();
    SoundSystem_ = std::make_unique<TSoundSystem>(*Audio, std::filesystem::path(Window.ProgramFolder()) / "Sounds");
    SoundSystem_->StartUp();
    ConnectSoundMenus();
}

void TWindowSound::Shutdown() { SoundSystem_->ShuttingDown = true; }

void TWindowSound::UseAudioOutput(std::unique_ptr<platform::TAudioOutput> output)
{
    SoundSystem_.reset();
    Audio = std::move(output);
    StartSoundSystem();
    ShowSoundChecks();
}

// "DirectX" can be chosen only when the audio library started.
void TWindowSound::ConnectSoundMenus()
{
    if (Menus.SoundDirectXItem != nullptr)
        Menus.SoundDirectXItem->setEnabled(SoundSystem_->LibraryReady());
    ShowSoundChecks();
}

void TWindowSound::ShowSoundChecks()
{
    Window.Options().SyncOptionChecks();
    const bool library = SoundSystem_ != nullptr && SoundSystem_->UsingLibrary();
    if (Menus.SoundDirectXItem != nullptr)
        Menus.SoundDirectXItem->setChecked(library);
    if (Menus.SoundWinItem != nullptr)
        Menus.SoundWinItem->setChecked(!library);
}

// The first show: the sound option as read, and a first sound to say which
// player is in use.
void TWindowSound::ApplySoundOption()
{
    SetSoundOption(persistence::SoundOptionOn(Window.OptionsList));
    if (SoundSystem_->UsingLibrary())
        Stream("blub.mp3", 1);
    else if (SoundOn())
        SoundSystem_->Play("shuffle.wav", pmAsync, 100);
    ShowSoundChecks();
}

void TWindowSound::SetSoundOption(bool on) { Window.Options().SoundClick(on); }

void TWindowSound::SetSoundSystem(bool library)
{
    SoundSystem_->SetUsingLibrary(library);
    ShowSoundChecks();
}

void TWindowSound::Sound(const std::string& name, int mode, int milliseconds)
{
    Engine.Sound(name, mode, milliseconds);
}

bool TWindowSound::Stream(const std::string& name, int loop)
{
    if (!SoundOn() || Window.PlayState().ShuttingDown())
        return false;
    return SoundSystem_->Stream(name, loop);
}

void TWindowSound::SoundStop(const std::string& name, bool stream) { SoundSystem_->SoundStop(name, stream); }

// ---------------------------------------------------------------------------
// For the engine: it has counted the points and asked SoundOn already.

void TWindowSound::PlaySoundFile(const std::string& file, int mode, int milliseconds)
{
    if (Window.PlayState().ShuttingDown())
        return;
    SoundSystem_->Play(file, mode, milliseconds);
}

// The only sound the engine stops is the deal's loop.
void TWindowSound::StopSound() { SoundStop("deal.wav", false); }

bool TWindowSound::SoundOn() const { return persistence::SoundOptionOn(Window.OptionsList); }

void TWindowSound::StartFlourish(const QRect& area, unsigned colour)
{
    Flourish_->SetInterval(100);
    Flourish_->SetColour(colour == 0 ? FlourishColour : colour);
    Flourish_->SetSpots(14);
    Flourish_->SetMaxRadius(5);
    Flourish_->SetSteps(35);
    Flourish_->Start(area);
}

void TWindowSound::SetFlourishColour(unsigned colour) { Flourish_->SetColour(colour); }

void TWindowSound::StopFlourish()
{
    if (Flourish_->Running()) {
        Flourish_->SetEnabled(false);
        Flourish_->SetEnabled(true);
    }
}
