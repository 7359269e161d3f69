#include "shell/GameCommands.h"

#include "shell/HintController.h"
#include "shell/Icons.h"
#include "shell/Main.h"
#include "shell/StartScreenControl.h"
#include "shell/WindowMenus.h"
#include "shell/WindowOptions.h"
#include "shell/WinnableDeals.h"

#include "cardtable/CardSet.h"
#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "engine/Engine.h"
#include "persistence/Options.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <array>

namespace {

// Card size steps in the order of the scale menu and the scale box.
constexpr std::array<int, 6> ScaleSteps{-2, -1, 1, 2, 3, 5};

} // namespace

TGameCommands::TGameCommands(TForm1& window, TEngine& engine, TCardTable& table, THintController& hints,
                             TWinnableDeals& winnable)
    : Window(window),
      Engine(engine),
      Table(table),
      Hints(hints),
      Winnable(winnable),
      Play(window.PlayState()),
      Menus(window.Menus()),
      RelayoutTimer(new QTimer(this))
{
    RelayoutTimer->setSingleShot(true);
    RelayoutTimer->setInterval(0);
    connect(RelayoutTimer, &QTimer::timeout, this, [this] { ExtendedRelayout(); });
}

void TGameCommands::NewExecute()
{
    if (!Play.Commandable())
        return;
    Menus.NewGameButton->setEnabled(false);
    BeforeChange();
    DealWinnable(Engine.Rules.GameName, [this] { Engine.NewGame(); });
}

void TGameCommands::QuitProgram1Click() { Window.close(); }

void TGameCommands::ChooseGame(const std::string& gameName)
{
    if (!Play.Free())
        return;
    // A fixed seed (a test's) is dealt as it is; the game in play is not dealt anew.
    if (Window.FixedSeed || Engine.Rules.GameName == gameName)
        DealChosenGame(gameName);
    else
        DealWinnable(gameName, [this, gameName] { DealChosenGame(gameName); });
}

void TGameCommands::DealChosenGame(const std::string& gameName)
{
    if (!Play.Free())
        return;
    // The start screen's stars draw from the generator all the time, so a
    // known first deal needs the seed right before it.
    if (Window.FixedSeed) {
        SetRandSeed(*Window.FixedSeed);
        Window.FixedSeed.reset();
    }
    BeforeChange();
    try {
        Engine.SelectGame(gameName);
    } catch (const std::exception& error) {
        // A definition that cannot be applied is reported, not fatal.
        Engine.ReleaseTable();
        Window.Prompts.ShowError(QStringLiteral("Tessalyn"), QString::fromStdString(error.what()));
    }
}

void TGameCommands::OnGame(void (TEngine::*command)())
{
    if (Play.Commandable()) {
        BeforeChange();
        (Engine.*command)();
    }
}

void TGameCommands::UndoClick() { OnGame(&TEngine::Undo); }
void TGameCommands::RedoClick() { OnGame(&TEngine::Redo); }
void TGameCommands::AutomoveClick() { OnGame(&TEngine::AutomoveExecute); }
void TGameCommands::RedealClick() { OnGame(&TEngine::Redeal); }
void TGameCommands::RestartClick() { OnGame(&TEngine::Restart); }

void TGameCommands::EnableDebugMenu1Click()
{
    QAction* debug = Menus.DebugMenu->menuAction();
    debug->setVisible(!debug->isVisible());
}

// ---------------------------------------------------------------------------
// Layout and card size

bool TGameCommands::ExtendedInForce() const { return Engine.ExtendedLayout(); }

void TGameCommands::SyncLayoutCommands()
{
    const bool extended = ExtendedInForce();
    Menus.ExtendedItem->setEnabled(!extended);
    Menus.CompactItem->setEnabled(extended);
    Window.OptionsList[5] = extended ? "Extended" : "Compact";
    UpdateLayoutToggle();
}

void TGameCommands::ApplyLayoutMode(bool extended)
{
    if (extended)
        Engine.SwitchToExtended();
    else
        Engine.SwitchToCompact();
    SyncLayoutCommands();
    ShowScaleStep(Table.CardDeck().ScaleStep());
}

void TGameCommands::CompactClick() { ApplyLayoutMode(false); }
void TGameCommands::ExtendedClick() { ApplyLayoutMode(true); }
void TGameCommands::LayoutToggleClick() { ApplyLayoutMode(!ExtendedInForce()); }

void TGameCommands::UpdateLayoutToggle()
{
    if (Menus.LayoutToggleButton != nullptr)
        Menus.LayoutToggleButton->setIcon(ToolIcon(ExtendedInForce() ? TToolImage::Extended : TToolImage::Compact, 20));
}

void TGameCommands::ShowScaleStep(int step)
{
    const auto found = std::find(ScaleSteps.begin(), ScaleSteps.end(), step);
    if (found == ScaleSteps.end())
        return;
    const int index = int(found - ScaleSteps.begin());
    Menus.ScaleItems[std::size_t(index)]->setChecked(true);
    Menus.ScaleBox->setCurrentIndex(index);
    Window.OptionsList[4] = std::to_string(step);
}

void TGameCommands::SetScaleStepIndex(int index)
{
    if (index < 0 || index >= int(ScaleSteps.size()) || ScaleChanging)
        return;
    ScaleChanging = true;
    Menus.ScaleBox->setEnabled(false);
    Engine.SetScale(ScaleSteps[std::size_t(index)]);
    Menus.ScaleBox->setEnabled(true);
    ScaleChanging = false;
    ShowScaleStep(Table.CardDeck().ScaleStep());
}

void TGameCommands::WindowResized()
{
    // Re-fitting the extended layout waits until the resize has settled.
    if (Play.InPlay() && ExtendedInForce())
        RelayoutTimer->start(0);
}

void TGameCommands::ExtendedRelayout()
{
    if (!Play.InPlay() || !Table.isVisible())
        return;
    if (Play.Busy()) {
        // A deal is laying cards out; fit the new size once it is done.
        RelayoutTimer->start(100);
        return;
    }
    if (ExtendedInForce())
        Engine.SwitchToExtended();
}

// ---------------------------------------------------------------------------
// The solver's help

void TGameCommands::DealWinnable(const std::string& gameName, std::function<void()> deal)
{
    CaptionNote_.clear();
    if (!persistence::WinnableOnlyOption(Window.OptionsList)) {
        deal();
        return;
    }
    // The table shows it is busy; the window keeps running while seeds are tried.
    Table.setCursor(Qt::BusyCursor);
    Winnable.Find(gameName, [this, deal = std::move(deal)](std::uint32_t seed, bool proved) {
        Table.unsetCursor();
        if (!proved)
            CaptionNote_ = QStringLiteral("  [No deal proved winnable in time: this one may not be]");
        // The seed found is the one dealt: no fresh seed in between, not even
        // after a restarted or loaded game.
        SetRandSeed(seed);
        Engine.KeepSeedForNextDeal();
        deal();
    });
}

void TGameCommands::BeforeChange() { Hints.PositionChanging(); }

void TGameCommands::HintClick()
{
    if (Play.InPlay() && !Window.StartPage().Active())
        Hints.Hint();
}

void TGameCommands::PlaySolutionClick()
{
    if (Play.InPlay() && !Window.StartPage().Active())
        Hints.PlaySolution();
}

void TGameCommands::ShowVerdictClick(bool on)
{
    Window.OptionsList[persistence::olShowVerdict] = on ? "On" : "Off";
    Hints.SetShowVerdict(on);
    Window.Options().SyncOptionChecks();
}

void TGameCommands::WinnableOnlyClick(bool on)
{
    Window.OptionsList[persistence::olWinnableOnly] = on ? "On" : "Off";
    Window.Options().SyncOptionChecks();
}
