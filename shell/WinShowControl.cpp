// The main window's win show and the debug command that plays it.
#include "shell/WinShowControl.h"

#include "shell/Flourish.h"
#include "shell/Main.h"
#include "shell/MergePic.h"
#include "shell/Sound.h"
#include "shell/StartScreenControl.h"
#include "shell/WinAnim.h"
#include "shell/WindowMenus.h"
#include "shell/WindowSound.h"

#include "cardtable/CardTable.h"
#include "catalogue/Rules.h"
#include "engine/Engine.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"

#include <QPushButton>

namespace {

class TWindowShowHost final : public TWinAnimHost {
public:
    explicit TWindowShowHost(TWindowSound& sound) : Sound_(sound) {}
    void Sound(const std::string& name, int mode, int milliseconds) override { Sound_.Sound(name, mode, milliseconds); }
    bool Stream(const std::string& name, int loop) override { return Sound_.Stream(name, loop); }
    void SoundStop(const std::string& name, bool stream) override { Sound_.SoundStop(name, stream); }
    bool FlourishRunning() const override { return Sound_.Flourish()->Running(); }
    void SetSoundBreak(std::function<bool()> cutShort) override
    {
        if (Sound_.SoundSystem() != nullptr)
            Sound_.SoundSystem()->CutShort = std::move(cutShort);
    }

private:
    TWindowSound& Sound_;
};

// The card that The Clock and The Dial spin: the third of the twelfth pile.
const TCard* SpinningCard(const TEngine& engine)
{
    const std::string& game = engine.Rules.GameName;
    if (game != "The Clock" && game != "The Dial")
        return nullptr;
    if (engine.FoundationPiles.size() < 12 || engine.FoundationPiles[11].size() < 3)
        return nullptr;
    return engine.FoundationPiles[11][2];
}

std::filesystem::path CardSetFolder(const TCardDeck& deck)
{
    for (const std::filesystem::path& root : {deck.CardsetsFolder(), deck.UserCardsetsFolder()}) {
        if (root.empty())
            continue;
        if (const auto found = platform::FindEntry(root, deck.DeckName()))
            return *found;
    }
    return {};
}

} // namespace

TWinShowControl::TWinShowControl(TForm1& window, TEngine& engine, TCardTable& table, TMergePic& mergePic)
    : Window(window),
      Engine(engine),
      Table(table),
      MergePic(mergePic)
{}

// The show leans on the host and the picture merge of this part and the
// start screen's: it goes with them, not later with the table.
TWinShowControl::~TWinShowControl() { delete WinAnim1; }

void TWinShowControl::CreateWinAnim()
{
    if (WinAnim1 != nullptr)
        return;
    // The window's one picture-merge object, shared with the start screen's title.
    WinAnimHost = std::make_unique<TWindowShowHost>(Window.Sounds());
    WinAnim1 = new TWinAnim(Table, *WinAnimHost, MergePic);
}

void TWinShowControl::RunWinAnimation()
{
    CreateWinAnim();
    if (WinAnim1->Running())
        return;
    Engine.HoldTable();
    TWindowMenus& menus = Window.Menus();
    if (menus.RedealButton->isEnabled()) {
        menus.SetCommandEnabled(TEngineCommand::Redeal, false);
        menus.SetCommandVisible(TEngineCommand::Redeal, false);
    }
    platform::Trace("WinAnim started.");
    TWinShow show;
    // The show the options mean, not the word they hold: "On" is checked as
    // "I See Stars" in the menu, so it plays the star show too. Only a word
    // the options do not know leaves the explosion and shake alone.
    show.Option = persistence::WinAnimationWord(persistence::WinAnimationOption(Window.OptionsList));
    show.OpenGame = Engine.GameOpen();
    show.SpriteCard = SpinningCard(Engine);
    show.FirstCard = Table.CardDeck().CardByIndex(1);
    // The window's picture is the preview of the game last looked at.
    show.Picture = Window.StartPage().PreviewPicture();
    show.ProgramFolder = Window.ProgramFolder();
    show.CardSetFolder = CardSetFolder(Table.CardDeck());
    WinAnim1->Run(show);
    Engine.ReleaseTable();
}

void TWinShowControl::StopWinAnimation()
{
    if (WinAnim1 != nullptr)
        WinAnim1->Stop();
    if (WinAnim1 != nullptr && WinAnim1->Running())
        MergePic.Stop();
}

void TWinShowControl::ViewWinningAnimationClick()
{
    if (!Window.PlayState().Free())
        return;
    platform::Trace("Debug: View WinAnim.");
    Window.StartPage().ShowTable();
    Window.Sounds().StopFlourish();
    Table.ClearTable();
    Engine.RunWinShowWithoutGame();
}
