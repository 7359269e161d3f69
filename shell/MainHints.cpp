// The window's side of the solver's help: the commands and the option lines.
#include "shell/Main.h"

#include "shell/HintController.h"
#include "shell/WinnableDeals.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "engine/Engine.h"
#include "persistence/Options.h"

#include <QAction>
#include <QToolBar>

void TForm1::SetUpHints()
{
    Hints_ = std::make_unique<THintController>(*Engine_, *CardTable1, *VerdictLabel);
    // The tool bar is disabled while the engine moves cards: not at rest.
    Hints_->AtRest = [this] { return ToolBar->isEnabled() && !CardTable1->Dragging() && !StartScreenActive_; };
    Hints_->Ask = [this](const QString& caption, const QString& text) { return Prompts.AskQuestion(caption, text); };
    Hints_->Tell = [this](const QString& caption, const QString& text) { Prompts.ShowNotice(caption, text); };
    WinnableDeals_ = std::make_unique<TWinnableDeals>();
}

bool TForm1::WinnableDealsWanted() const { return persistence::WinnableOnlyOption(OptionsList); }

void TForm1::DealWinnable(const std::string& gameName, std::function<void()> deal)
{
    CaptionNote.clear();
    if (WinnableDeals_ == nullptr || !WinnableDealsWanted()) {
        deal();
        return;
    }
    // The table shows it is busy; the window keeps running while seeds are tried.
    CardTable1->setCursor(Qt::BusyCursor);
    WinnableDeals_->Find(gameName, [this, deal = std::move(deal)](std::uint32_t seed, bool proved) {
        CardTable1->unsetCursor();
        if (!proved)
            CaptionNote = QStringLiteral("  [No deal proved winnable in time: this one may not be]");
        // The seed found is the one dealt: no fresh seed in between, not even
        // after a restarted or loaded game.
        SetRandSeed(seed);
        Engine_->KeepSeedForNextDeal();
        deal();
    });
}

void TForm1::BeforeChange()
{
    if (Hints_ != nullptr)
        Hints_->PositionChanging();
}

void TForm1::HintClick()
{
    if (Hints_ != nullptr && GameInPlay() && !StartScreenActive_)
        Hints_->Hint();
}

void TForm1::PlaySolutionClick()
{
    if (Hints_ != nullptr && GameInPlay() && !StartScreenActive_)
        Hints_->PlaySolution();
}

void TForm1::ShowVerdictClick(bool on)
{
    OptionsList[persistence::olShowVerdict] = on ? "On" : "Off";
    if (Hints_ != nullptr)
        Hints_->SetShowVerdict(on);
    SyncOptionChecks();
}

void TForm1::WinnableOnlyClick(bool on)
{
    OptionsList[persistence::olWinnableOnly] = on ? "On" : "Off";
    SyncOptionChecks();
}
