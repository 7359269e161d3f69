// The main window's win show and the debug command that plays it.
#include "shell/Main.h"

#include "shell/Flourish.h"
#include "shell/MergePic.h"
#include "shell/Sound.h"
#include "shell/StartScreen.h"
#include "shell/WinAnim.h"

#include "cardtable/CardTable.h"
#include "catalogue/Rules.h"
#include "engine/Engine.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"

#include <QPushButton>

namespace {

class TWindowShowHost final : public TWinAnimHost {
public:
    explicit TWindowShowHost(TForm1& form) : Form(form) {}
    void Sound(const std::string& name, int mode, int milliseconds) override { Form.Sound(name, mode, milliseconds); }
    bool Stream(const std::string& name, int loop) override { return Form.Stream(name, loop); }
    void SoundStop(const std::string& name, bool stream) override { Form.SoundStop(name, stream); }
    bool FlourishRunning() const override { return Form.Flourish() != nullptr && Form.Flourish()->Running(); }
    void SetSoundBreak(std::function<bool()> cutShort) override
    {
        if (Form.SoundSystem() != nullptr)
            Form.SoundSystem()->CutShort = std::move(cutShort);
    }

private:
    TForm1& Form;
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

void TForm1::CreateWinAnim()
{
    if (WinAnim1 != nullptr || CardTable1 == nullptr)
        return;
    // The window's one picture-merge object, shared with the start screen's title.
    if (MergePic == nullptr)
        MergePic = new TMergePic(this);
    WinAnimHost = std::make_unique<TWindowShowHost>(*this);
    WinAnim1 = new TWinAnim(*CardTable1, *WinAnimHost, *MergePic);
}

void TForm1::RunWinAnimation()
{
    CreateWinAnim();
    if (Engine_ == nullptr || WinAnim1 == nullptr || WinAnim1->Running())
        return;
    Engine_->HoldTable();
    if (ReDealButton2->isEnabled()) {
        SetCommandEnabled(TEngineCommand::Redeal, false);
        SetCommandVisible(TEngineCommand::Redeal, false);
    }
    platform::Trace("WinAnim started.");
    TWinShow show;
    // The show the options mean, not the word they hold: "On" is checked as
    // "I See Stars" in the menu, so it plays the star show too. Only a word
    // the options do not know leaves the explosion and shake alone.
    show.Option = persistence::WinAnimationWord(persistence::WinAnimationOption(OptionsList));
    show.OpenGame = Engine_->GameOpen();
    show.SpriteCard = SpinningCard(*Engine_);
    show.FirstCard = CardTable1->CardDeck().CardByIndex(1);
    // The window's picture is the preview of the game last looked at.
    if (StartScreen_ != nullptr)
        show.Picture = StartScreen_->Image2->Picture();
    show.ProgramFolder = ProgramFolder();
    show.CardSetFolder = CardSetFolder(CardTable1->CardDeck());
    WinAnim1->Run(show);
    Engine_->ReleaseTable();
}

void TForm1::StopWinAnimation()
{
    if (WinAnim1 != nullptr)
        WinAnim1->Stop();
    if (MergePic != nullptr && WinAnim1 != nullptr && WinAnim1->Running())
        MergePic->Stop();
}

void TForm1::ViewWinningAnimationClick()
{
    if (!Play.Free())
        return;
    platform::Trace("Debug: View WinAnim.");
    ShowTable();
    StopFlourish();
    CardTable1->ClearTable();
    Engine_->RunWinShowWithoutGame();
}
