// The " Options " menu: the table's look and behaviour, sound, scoring, the
// winning animation, and the first show that brings all of it into force.
#include "shell/WindowOptions.h"

#include "shell/CardSpeedDialog.h"
#include "shell/GameCommands.h"
#include "shell/Main.h"
#include "shell/WindowMenus.h"

#include "cardtable/CardSet.h"
#include "cardtable/CardTable.h"
#include "catalogue/LayoutConstants.h"
#include "engine/Engine.h"
#include "persistence/TextFile.h"
#include "platform/Trace.h"

#include <QAction>
#include <QColorDialog>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

#include <memory>

// By gradient number - 1; the table's tag keeps the number.
const std::array<TGradient, 15>& Gradients()
{
    // clang-format off
    static const std::array<TGradient, 15> gradients{{
        {"Mode 1", false, QColor(0, 150, 0), {}, drDownUp, false, false, true, gsHorizontal},
        {"Mode 2", false, QColor(100, 0, 200), {}, drDownUp, false, true, false, gsHorizontal},
        {"Mode 3", false, QColor(0, 150, 0), {}, drDownUp, true, false, false, gsHorizontal},
        {"Mode 4", false, QColor(200, 80, 80), {}, drDownUp, false, true, false, gsHorizontal},
        {"Mode 5", false, QColor(0, 150, 0), {}, drRightLeft, true, false, true, gsHorizontal},
        {"Mode 6", false, QColor(180, 180, 0), {}, drDownUp, false, false, true, gsHorizontal},
        {"Moon River", true, QColor(255, 255, 100), QColor(0, 0, 0), drLeftRight, false, false, false, gsDiagonalLeftRight},
        {"Way up High", true, QColor(255, 255, 255), QColor(50, 100, 255), drLeftRight, false, false, false, gsDiagonalRightLeft},
        {"Glenfiddich", true, QColor(225, 140, 0), QColor(30, 20, 0), drLeftRight, false, false, false, gsVertical},
        {"Pretty in Pink", true, QColor(245, 230, 230), QColor(250, 90, 90), drLeftRight, false, false, false, gsDiagonalRightLeft},
        {"Card Table", true, QColor(0, 200, 0), QColor(0, 60, 0), drLeftRight, false, false, false, gsDiagonalLeftRight},
        {"Callow Fellow", true, QColor(255, 220, 80), QColor(130, 100, 20), drLeftRight, false, false, false, gsVertical},
        {"Dreamer", true, QColor(255, 220, 180), QColor(130, 80, 20), drLeftRight, false, false, false, gsVertical},
        {"Mr Blue", true, QColor(60, 120, 240), QColor(30, 30, 90), drLeftRight, false, false, false, gsDiagonalLeftRight},
        {"Rosebud", true, QColor(230, 80, 10), QColor(50, 0, 0), drLeftRight, false, false, false, gsDiagonalLeftRight},
    }};
    // clang-format on
    return gradients;
}

TWindowOptions::TWindowOptions(TForm1& window, TEngine& engine, TCardTable& table)
    : Window(window),
      Engine(engine),
      Table(table),
      Menus(window.Menus())
{}

// Scoring is the points label's own switch. The tool bar around it is
// disabled during every deal and click, which must not read as scoring off.
bool TWindowOptions::ScoringOn() const { return Menus.PointsLabel->isEnabledTo(Menus.ToolBar); }

void TWindowOptions::TellStatusError() const
{
    if (!StatusError.empty())
        Window.Prompts.ShowError(
            QStringLiteral("Tessalyn"),
            QStringLiteral("The table settings could not be read (%1); the table keeps its present "
                           "settings until the options are saved.")
                .arg(QString::fromStdString(StatusError)));
    if (!Table.StatusNotice.empty())
        Window.Prompts.ShowError(QStringLiteral("Tessalyn"), QString::fromStdString(Table.StatusNotice));
}

// Every check mark from the state it stands for.
void TWindowOptions::SyncOptionChecks()
{
    TOptionItems& items = Menus.OptionItems;
    const auto checkOnly = [](auto& actions, QAction* chosen) {
        for (QAction* action : actions)
            action->setChecked(action == chosen);
    };
    {
        const TCardTable& table = Table;
        const int tag = Table.BackDrop().Enabled() ? table.Tag() : 0;
        checkOnly(items.Gradients, tag >= 1 && tag <= 15 ? items.Gradients[std::size_t(tag - 1)] : nullptr);
        items.Stretch->setChecked(table.StretchBackground());
        items.Tile->setChecked(!table.StretchBackground());
        const std::array<QAction*, 3> shadows{items.ShadowDotted, items.ShadowHard, items.ShadowSoft};
        checkOnly(shadows,
                  table.ShadowMode() == smOriginal ? items.ShadowDotted
                      : table.SoftShadow()         ? items.ShadowSoft
                                                   : items.ShadowHard);
        checkOnly(items.DropModes, items.DropModes[std::size_t(table.AutoShadeMode() - 1)]);
        items.ShadeDotted->setChecked(!table.HQDragShade());
        checkOnly(items.ShadeColours,
                  table.HQDragShade() ? items.ShadeColours[std::size_t(table.HQDragShadeColour())] : nullptr);
    }
    const bool soundOn = persistence::SoundOptionOn(Window.OptionsList);
    items.SoundOn->setChecked(soundOn);
    items.SoundOff->setChecked(!soundOn);
    if (Menus.ShowVerdictItem != nullptr) {
        Menus.ShowVerdictItem->setChecked(persistence::ShowVerdictOption(Window.OptionsList));
        Menus.WinnableOnlyItem->setChecked(persistence::WinnableOnlyOption(Window.OptionsList));
    }
    // The tool bar comes after the menus; until then scoring is on.
    const bool scoring = Menus.PointsLabel == nullptr || ScoringOn();
    items.ScoringOn->setChecked(scoring);
    items.ScoringOff->setChecked(!scoring);
    const persistence::TWinAnimation animation = persistence::WinAnimationOption(Window.OptionsList);
    for (std::size_t i = 0; i < WinItems.size(); ++i)
        items.WinAnimations[i]->setChecked(WinItems[i].Animation == animation);
}

void TWindowOptions::ClearGradientChecks()
{
    for (QAction* item : Menus.OptionItems.Gradients)
        item->setChecked(false);
}

// ---------------------------------------------------------------------------
// Background

void TWindowOptions::BackgroundColourClick()
{
    QColorDialog dialog(Table.Color(), &Window);
    if (dialog.exec() == QDialog::Accepted)
        SetBackgroundColour(dialog.selectedColor());
}

void TWindowOptions::SetBackgroundColour(const QColor& colour)
{
    if (!colour.isValid())
        return;
    if (Table.BackDrop().Enabled()) {
        Table.BackDrop().SetEnabled(false);
        Table.SetTag(0);
        ClearGradientChecks();
    }
    Table.SetColor(colour);
    SyncOptionChecks();
}

void TWindowOptions::GradientClick(int number)
{
    if (number < 1 || number > int(Gradients().size()))
        return;
    const TGradient& g = Gradients()[std::size_t(number - 1)];
    TBackdrop& drop = Table.BackDrop();
    drop.SetEnabled(true);
    if (g.TwoColour) {
        drop.SetNewColorFrom(g.Start);
        drop.SetNewColorTo(g.To);
        drop.SetNewType(g.Style);
        drop.SetNewMode(true);
    } else {
        drop.SetStartR(std::uint8_t(g.Start.red()));
        drop.SetStartG(std::uint8_t(g.Start.green()));
        drop.SetStartB(std::uint8_t(g.Start.blue()));
        drop.SetDirection(g.Direction);
        drop.SetChangeRColour(g.ChangeR);
        drop.SetChangeGColour(g.ChangeG);
        drop.SetChangeBColour(g.ChangeB);
        drop.SetNewMode(false);
    }
    Table.SetTag(number);
    SyncOptionChecks();
}

void TWindowOptions::BackgroundPictureClick()
{
    Table.ChooseBackgroundPicture((std::filesystem::path(Window.ProgramFolder()) / "Textures").string());
    BackgroundPictureChosen();
}

void TWindowOptions::BackgroundPictureChosen()
{
    if (Table.BackgroundPicture() != "None") {
        ClearGradientChecks();
        Table.SetTag(0);
    }
    SyncOptionChecks();
}

void TWindowOptions::PictureModeClick(bool stretch)
{
    Table.SetStretchBackground(stretch);
    SyncOptionChecks();
}

// ---------------------------------------------------------------------------
// Cards

void TWindowOptions::ChooseCardDeckClick()
{
    if (Table.Sprite.Shown)
        return;
    Table.setEnabled(false);
    const std::string previous = Table.CardDeck().DeckName();
    Table.ChooseDeck();
    CardDeckChosen(previous);
    Table.setEnabled(true);
}

// The engine refuses sets too large for the Compact layout and fits the
// layout to the new card size.
void TWindowOptions::CardDeckChosen(const std::string& previousDeck)
{
    Engine.CardSetChanged(previousDeck);
    Window.Commands().ShowScaleStep(Table.CardDeck().ScaleStep());
}

void TWindowOptions::ChooseCardBackClick() { Table.ChooseCardBack(); }

void TWindowOptions::ShadowModeClick(int mode)
{
    Table.SetShadowMode(mode == 0 ? smOriginal : smDarken);
    if (mode != 0)
        Table.SetSoftShadow(mode == 2);
    SyncOptionChecks();
}

void TWindowOptions::SetCardSpeed1Click()
{
    const std::unique_ptr<TCardSpeedDialog> dialog(TCardSpeedDialog::ForTable(Table, SavedTurnoverSpeed, &Window));
    // Centred on the main window.
    dialog->move(Window.geometry().center() - dialog->rect().center());
    if (dialog->exec() == QDialog::Accepted)
        dialog->ApplyTo(Table, SavedTurnoverSpeed);
}

void TWindowOptions::DropModeClick(int mode)
{
    Table.SetAutoShadeMode(mode);
    SyncOptionChecks();
}

void TWindowOptions::DropShadeClick(int colour)
{
    Table.SetHQDragShade(colour >= 0);
    if (colour >= 0)
        Table.SetHQDragShadeColour(colour);
    SyncOptionChecks();
}

// ---------------------------------------------------------------------------
// Sound, scoring, winning animation

void TWindowOptions::SoundClick(bool on)
{
    Window.OptionsList[persistence::olSound] = on ? "On" : "Off";
    SyncOptionChecks();
}

// Results are counted only while the points label is enabled.
void TWindowOptions::SetScoring(bool on)
{
    Menus.PointsLabel->setEnabled(on);
    Menus.PointsLabel->setText(on ? QStringLiteral("Points = %1 ").arg(Engine.Points) : QStringLiteral("Points = 0 "));
    for (QAction* action : Menus.ToolBar->actions())
        if (action->text() == QStringLiteral("High Scores"))
            action->setEnabled(on);
    if (QAction* statistics = Menus.TopMenuAction(QStringLiteral(" Statistics ")))
        statistics->setEnabled(on);
    Window.OptionsList[persistence::olScoring] = on ? "On" : "Off";
    SyncOptionChecks();
}

void TWindowOptions::WinningAnimationClick(persistence::TWinAnimation animation)
{
    Window.OptionsList[persistence::olWinAnimation] = persistence::WinAnimationWord(animation);
    for (const TWinItem& item : WinItems)
        if (item.Animation == animation)
            platform::Trace(item.Trace);
    SyncOptionChecks();
}

// ---------------------------------------------------------------------------
// Saving and the first show

void TWindowOptions::SaveOptionsClick()
{
    if (!Window.Prompts.AskYesNo(QStringLiteral("Save Options?")))
        return;
    const std::filesystem::path root = Window.DataRoot();
    std::error_code error;
    std::filesystem::create_directories(root, error);
    // Each write stands alone: one failing does not keep the other back.
    // A file that cannot be written keeps its old contents, and the player
    // hears why instead of finding the settings gone at the next start.
    QStringList failures;
    {
        if (!StatusError.empty())
            persistence::KeepDamagedCopy(root / "Status.Dat");
        std::string why;
        if (Table.SaveStatus(root, &why))
            StatusError.clear();
        else
            failures << QStringLiteral("Status.Dat: %1").arg(QString::fromStdString(why));
    }
    std::string why;
    if (!persistence::SaveOptions(root, Window.OptionsList, &why))
        failures << QStringLiteral("Options.dat: %1").arg(QString::fromStdString(why));
    if (!failures.isEmpty())
        Window.Prompts.ShowError(
            QStringLiteral("Tessalyn"),
            QStringLiteral("The options could not be saved; the files keep their old settings.\n%1")
                .arg(failures.join(QLatin1Char('\n'))));
}

void TWindowOptions::LoadTableStatus()
{
    std::string error;
    if (!Table.LoadStatus(Window.DataRoot(), &error))
        StatusError = error;
}

// The check marks from the table's loaded state, then option lines 2 to 5.
void TWindowOptions::ApplyOptionsAtFirstShow()
{
    if (!Table.BackDrop().Enabled())
        Table.SetTag(0);
    if (persistence::ScoringOptionOff(Window.OptionsList))
        SetScoring(false);
    ApplyLayoutOptions();
    Window.Commands().ShowVerdictClick(persistence::ShowVerdictOption(Window.OptionsList));
    SyncOptionChecks();
}

void TWindowOptions::ApplyLayoutOptions()
{
    const TCardDeck& deck = Table.CardDeck();
    Engine.ResetLayoutConstants(1.0f, 1.0f);
    Engine.SetScaleFactors(float(deck.CardWidth) / TLayoutConstants::BaseCardWidth,
                           float(deck.CardHeight) / TLayoutConstants::BaseCardHeight);
    const bool extended = persistence::ExtendedLayoutOption(Window.OptionsList);
    if (extended)
        Engine.SwitchToExtended();
    const int optionStep = persistence::ScaleStepOption(Window.OptionsList);
    if (optionStep != 1)
        Engine.SetScale(optionStep);
    if (extended)
        Engine.ResetLayoutConstants(Engine.ScaleX, Engine.ScaleY);
    Window.Commands().SyncLayoutCommands();
    // A deck no step was ever applied to has its cards' own size: "Normal".
    const int step = deck.ScaleStep();
    Window.Commands().ShowScaleStep(step == 0 ? 1 : step);
}
