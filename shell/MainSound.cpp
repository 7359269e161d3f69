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
#include <QActionGroup>
#include <QMenu>

#include <array>

namespace {

constexpr int SoundOptionLine = 1;
constexpr unsigned FlourishColour = 0xFFAAFF;
constexpr int WinAnimationLine = 3;

// The shows of " Options " "Winning Animation": caption, the word kept in the
// options, and the trace line of the choice.
struct TShowChoice {
    const char* Caption;
    const char* Option;
    const char* Trace;
};
constexpr std::array<TShowChoice, 5> ShowChoices{{
    {"I See Stars", "Stars", "I see stars WinAnim on."},
    {"Cool Colours", "New", "New WinAnim on."},
    {"Scribble", "Scribble", "Scribble WinAnim on."},
    {"Slide Show", "Slide", "Slide Show WinAnim on."},
    {"None", "None", "None WinAnim on."},
}};

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

// The "Sound" and "Sound System" items exist as placeholders until they work;
// they are taken over here by caption.
void TForm1::ConnectSoundMenus()
{
    const auto takeOver = [this](QAction* item, std::function<void()> handler) {
        if (item == nullptr)
            return item;
        if (item->property("later").toBool()) {
            item->setProperty("later", false);
            item->setEnabled(true);
            connect(item, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
        }
        item->setCheckable(true);
        return item;
    };
    const auto subMenu = [this](QMenu* menu, const QString& caption) {
        QAction* action = FindAction(menu, caption);
        return action == nullptr ? nullptr : action->menu();
    };
    if (!SoundMenusConnected) {
        SoundMenusConnected = true;
        QMenu* sound = subMenu(OptionsMenu, QStringLiteral("Sound"));
        SoundOffItem = takeOver(FindAction(sound, QStringLiteral("Off")), [this] { SetSoundOption(false); });
        SoundOnItem = takeOver(FindAction(sound, QStringLiteral("On")), [this] { SetSoundOption(true); });
        QMenu* system = subMenu(DebugMenu, QStringLiteral("Sound System"));
        SoundWinItem = takeOver(FindAction(system, QStringLiteral("Win")), [this] { SetSoundSystem(false); });
        SoundDirectXItem =
            takeOver(FindAction(system, QStringLiteral("DirectX")), [this] { SetSoundSystem(true); });
        for (QMenu* menu : {sound, system}) {
            if (menu == nullptr)
                continue;
            auto* group = new QActionGroup(menu);
            for (QAction* item : menu->actions())
                group->addAction(item);
        }
        ConnectWinningAnimationMenu(takeOver, subMenu(OptionsMenu, QStringLiteral("Winning Animation")));
        if (QAction* view = takeOver(FindAction(DebugMenu, QStringLiteral("View Winning Animation")),
                                     [this] { ViewWinningAnimationClick(); }))
            view->setCheckable(false);
    }
    if (SoundDirectXItem != nullptr)
        SoundDirectXItem->setEnabled(SoundSystem_->LibraryReady());
    ShowSoundChecks();
}

// The show items are the options' own; until they work they are taken over
// here, so that a chosen show can be seen.
template <typename TTakeOver>
void TForm1::ConnectWinningAnimationMenu(const TTakeOver& takeOver, QMenu* menu)
{
    if (menu == nullptr)
        return;
    auto* group = new QActionGroup(menu);
    for (const TShowChoice& choice : ShowChoices) {
        QAction* item = FindAction(menu, QString::fromLatin1(choice.Caption));
        if (item == nullptr || !item->property("later").toBool())
            continue;
        takeOver(item, [this, choice] {
            OptionsList[WinAnimationLine] = choice.Option;
            platform::Trace(choice.Trace);
        });
        group->addAction(item);
        item->setChecked(OptionsList[WinAnimationLine] == choice.Option);
    }
}

void TForm1::ShowSoundChecks()
{
    const bool on = SoundOn();
    if (SoundOnItem != nullptr)
        SoundOnItem->setChecked(on);
    if (SoundOffItem != nullptr)
        SoundOffItem->setChecked(!on);
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
    SetSoundOption(OptionsList[SoundOptionLine] == "On");
    if (SoundSystem_->UsingLibrary())
        Stream("blub.mp3", 1);
    else if (SoundOn())
        SoundSystem_->Play("shuffle.wav", pmAsync, 100);
    ShowSoundChecks();
}

void TForm1::SetSoundOption(bool on)
{
    OptionsList[SoundOptionLine] = on ? "On" : "Off";
    ShowSoundChecks();
}

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
    if (!SoundOn() || (Engine_ != nullptr && Engine_->ShuttingDown))
        return false;
    return SoundSystem_->Stream(name, loop);
}

void TForm1::SoundStop(const std::string& name, bool stream) { SoundSystem_->SoundStop(name, stream); }

// ---------------------------------------------------------------------------
// EngineHost: the engine has counted the points and asked SoundOn already.

void TForm1::PlaySoundFile(const std::string& file, int mode, int milliseconds)
{
    if (Engine_ != nullptr && Engine_->ShuttingDown)
        return;
    SoundSystem_->Play(file, mode, milliseconds);
}

// The only sound the engine stops is the deal's loop.
void TForm1::StopSound() { SoundStop("deal.wav", false); }

bool TForm1::SoundOn() const
{
    return !SoundMuted && OptionsList.size() > SoundOptionLine && OptionsList[SoundOptionLine] == "On";
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
