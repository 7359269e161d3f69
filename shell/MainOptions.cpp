// The " Options " menu: the table's look and behaviour, sound, scoring, the
// winning animation, and the first show that brings all of it into force.
#include "shell/Main.h"

#include "shell/CardSpeed.h"
#include "shell/Icons.h"
#include "shell/MainOptions.h"
#include "shell/MenuDraw.h"

#include "cardtable/CardSet.h"
#include "cardtable/CardTable.h"
#include "catalogue/LayoutConstants.h"
#include "engine/Engine.h"
#include "persistence/TextFile.h"
#include "platform/Trace.h"

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

#include <array>
#include <memory>

namespace {

constexpr std::array<const char*, 6> ScaleCaptions{"60% Normal", "80% Normal",  "Normal",
                                                   "125% Normal", "150% Normal", "200% Normal"};

struct TGradient {
    const char* Caption;
    bool TwoColour;
    QColor Start;        // classic: the start colour; two-colour: from
    QColor To;           // two-colour only
    TFillDirection Direction;
    bool ChangeR, ChangeG, ChangeB;
    TGradientStyle Style;
};

// By gradient number - 1; the table's tag keeps the number.
const std::array<TGradient, 15>& Gradients()
{
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
    return gradients;
}

// The menu's order: the six modes, then the named ones alphabetically.
constexpr std::array<int, 15> GradientMenuOrder{1, 2, 3, 4, 5, 6, 12, 11, 13, 9, 7, 14, 10, 15, 8};

// Drop shade colour items in menu order with their colour numbers.
struct TShadeItem {
    const char* Caption;
    int Colour;
};
constexpr std::array<TShadeItem, 7> ShadeColourItems{{{"Red", 1}, {"Green", 2}, {"Blue", 3}, {"Yellow", 4},
                                                      {"Pink", 5}, {"Turquoise", 6}, {"Grey", 0}}};
constexpr int NoShadeColour = 7;

struct TWinItem {
    const char* Caption;
    persistence::TWinAnimation Animation;
    const char* Trace;
};
constexpr std::array<TWinItem, 5> WinItems{{
    {"I See Stars", persistence::TWinAnimation::Stars, "I see stars WinAnim on."},
    {"Cool Colours", persistence::TWinAnimation::CoolColours, "New WinAnim on."},
    {"Scribble", persistence::TWinAnimation::Scribble, "Scribble WinAnim on."},
    {"Slide Show", persistence::TWinAnimation::SlideShow, "Slide Show WinAnim on."},
    {"None", persistence::TWinAnimation::None, "None WinAnim on."},
}};

QAction* Checkable(QAction* action)
{
    action->setCheckable(true);
    return action;
}

} // namespace

// ---------------------------------------------------------------------------
// The menu

void TForm1::BuildOptionsMenu(QMenu* menu)
{
    OptionItems = std::make_unique<TOptionItems>();
    TOptionItems& items = *OptionItems;
    QMenu* layout = AddSubMenu(menu, QStringLiteral("Game Layout"));
    CompactItem = AddItem(layout, QStringLiteral("Compact"), [this] { CompactClick(); }, int(TToolImage::Compact));
    ExtendedItem = AddItem(layout, QStringLiteral("Extended"), [this] { ExtendedClick(); }, int(TToolImage::Extended));
    menu->addSeparator();
    AddItem(menu, QStringLiteral("Background Colour"), [this] { BackgroundColour1Click(); });
    QMenu* gradients = AddSubMenu(menu, QStringLiteral("Background Gradient"));
    for (std::size_t i = 0; i < GradientMenuOrder.size(); ++i) {
        if (i == 6)
            gradients->addSeparator();
        const int number = GradientMenuOrder[i];
        items.Gradients[std::size_t(number - 1)] = Checkable(AddItem(
            gradients, QString::fromLatin1(Gradients()[std::size_t(number - 1)].Caption), [this, number] {
                GradientClick(number);
            }));
    }
    AddItem(menu, QStringLiteral("Background Picture"), [this] { BackgroundPicture1Click(); });
    QMenu* pictureMode = AddSubMenu(menu, QStringLiteral("Background Picture Mode"));
    items.Stretch = Checkable(AddItem(pictureMode, QStringLiteral("Stretch"), [this] { PictureModeClick(true); }));
    items.Tile = Checkable(AddItem(pictureMode, QStringLiteral("Tile"), [this] { PictureModeClick(false); }));
    menu->addSeparator();
    AddItem(menu, QStringLiteral("Choose Card Deck"), [this] { ChooseCardDeck1Click(); });
    AddItem(menu, QStringLiteral("Choose Card Back"), [this] { ChooseCardBack1Click(); });
    QMenu* scale = AddSubMenu(menu, QStringLiteral("Choose Card Scale"));
    // Exactly one size is ever checked: the group unchecks the others.
    auto* scaleGroup = new QActionGroup(scale);
    for (std::size_t i = 0; i < ScaleCaptions.size(); ++i) {
        ScaleItems.push_back(Checkable(
            AddItem(scale, QString::fromLatin1(ScaleCaptions[i]), [this, i] { SetScaleStepIndex(int(i)); })));
        scaleGroup->addAction(ScaleItems.back());
    }
    QMenu* shadow = AddSubMenu(menu, QStringLiteral("Card Shadow Mode"));
    items.ShadowDotted = Checkable(AddItem(shadow, QStringLiteral("Dotted Type"), [this] { ShadowModeClick(0); }));
    QMenu* shaded = AddSubMenu(shadow, QStringLiteral("Shaded Type"));
    items.ShadowHard = Checkable(AddItem(shaded, QStringLiteral("Hard"), [this] { ShadowModeClick(1); }));
    items.ShadowSoft = Checkable(AddItem(shaded, QStringLiteral("Soft"), [this] { ShadowModeClick(2); }));
    AddItem(menu, QStringLiteral("Card Movement Mode"), [this] { SetCardSpeed1Click(); });
    QMenu* drop = AddSubMenu(menu, QStringLiteral("Card Drop Mode"));
    items.DropModes[2] = Checkable(AddItem(drop, QStringLiteral("Card Based"), [this] { DropModeClick(3); }));
    items.DropModes[0] = Checkable(AddItem(drop, QStringLiteral("Fast Card Based"), [this] { DropModeClick(1); }));
    items.DropModes[1] = Checkable(AddItem(drop, QStringLiteral("Mouse Based"), [this] { DropModeClick(2); }));
    QMenu* dropShade = AddSubMenu(menu, QStringLiteral("Card Drop Shade Mode"));
    items.ShadeColours[NoShadeColour] =
        Checkable(AddItem(dropShade, QStringLiteral("None"), [this] { DropShadeClick(NoShadeColour); }));
    items.ShadeDotted = Checkable(AddItem(dropShade, QStringLiteral("Dotted Type"), [this] { DropShadeClick(-1); }));
    QMenu* shadeColours = AddSubMenu(dropShade, QStringLiteral("Shaded Type"));
    for (const TShadeItem& item : ShadeColourItems)
        items.ShadeColours[std::size_t(item.Colour)] = Checkable(AddItem(
            shadeColours, QString::fromLatin1(item.Caption), [this, colour = item.Colour] { DropShadeClick(colour); }));
    menu->addSeparator();
    QMenu* sound = AddSubMenu(menu, QStringLiteral("Sound"));
    items.SoundOff = Checkable(AddItem(sound, QStringLiteral("Off"), [this] { SoundClick(false); }));
    items.SoundOn = Checkable(AddItem(sound, QStringLiteral("On"), [this] { SoundClick(true); }));
    QMenu* scoring = AddSubMenu(menu, QStringLiteral("Scoring && Statistics"));
    items.ScoringOff = Checkable(AddItem(scoring, QStringLiteral("Off"), [this] { SetScoring(false); }));
    items.ScoringOn = Checkable(AddItem(scoring, QStringLiteral("On"), [this] { SetScoring(true); }));
    QMenu* winning = AddSubMenu(menu, QStringLiteral("Winning Animation"));
    for (std::size_t i = 0; i < WinItems.size(); ++i)
        items.WinAnimations[i] = Checkable(AddItem(winning, QString::fromLatin1(WinItems[i].Caption), [this, i] {
            WinningAnimationClick(WinItems[i].Animation);
        }));
    menu->addSeparator();
    AddItem(menu, QStringLiteral("Change Save Data location"), [this] { SetUserFilelocation1Click(); });
    AddItem(menu, QStringLiteral("Save Options"), [this] { SaveOptions1Click(); });
    menu->addSeparator();
    ShowVerdictItem = Checkable(AddItem(menu, QStringLiteral("Show whether the game can be won"), [this] {
        ShowVerdictClick(ShowVerdictItem->isChecked());
    }));
    WinnableOnlyItem = Checkable(AddItem(menu, QStringLiteral("Winnable Deals Only"), [this] {
        WinnableOnlyClick(WinnableOnlyItem->isChecked());
    }));
    // Until the first show reads the options, the items show the defaults.
    SyncOptionChecks();
}

// Every check mark from the state it stands for.
void TForm1::SyncOptionChecks()
{
    if (OptionItems == nullptr)
        return;
    TOptionItems& items = *OptionItems;
    const auto checkOnly = [](auto& actions, QAction* chosen) {
        for (QAction* action : actions)
            action->setChecked(action == chosen);
    };
    if (CardTable1 != nullptr) {
        const TCardTable& table = *CardTable1;
        const int tag = CardTable1->BackDrop().Enabled() ? table.Tag() : 0;
        checkOnly(items.Gradients, tag >= 1 && tag <= 15 ? items.Gradients[std::size_t(tag - 1)] : nullptr);
        items.Stretch->setChecked(table.StretchBackground());
        items.Tile->setChecked(!table.StretchBackground());
        const std::array<QAction*, 3> shadows{items.ShadowDotted, items.ShadowHard, items.ShadowSoft};
        checkOnly(shadows, table.ShadowMode() == smOriginal ? items.ShadowDotted
                           : table.SoftShadow()              ? items.ShadowSoft
                                                             : items.ShadowHard);
        checkOnly(items.DropModes, items.DropModes[std::size_t(table.AutoShadeMode() - 1)]);
        items.ShadeDotted->setChecked(!table.HQDragShade());
        checkOnly(items.ShadeColours,
                  table.HQDragShade() ? items.ShadeColours[std::size_t(table.HQDragShadeColour())] : nullptr);
    }
    const bool soundOn = persistence::SoundOptionOn(OptionsList);
    items.SoundOn->setChecked(soundOn);
    items.SoundOff->setChecked(!soundOn);
    if (ShowVerdictItem != nullptr) {
        ShowVerdictItem->setChecked(persistence::ShowVerdictOption(OptionsList));
        WinnableOnlyItem->setChecked(persistence::WinnableOnlyOption(OptionsList));
    }
    // The tool bar comes after the menus; until then scoring is on.
    const bool scoring = PointsLabel == nullptr || ScoringOn();
    items.ScoringOn->setChecked(scoring);
    items.ScoringOff->setChecked(!scoring);
    const persistence::TWinAnimation animation = persistence::WinAnimationOption(OptionsList);
    for (std::size_t i = 0; i < WinItems.size(); ++i)
        items.WinAnimations[i]->setChecked(WinItems[i].Animation == animation);
}

void TForm1::ClearGradientChecks()
{
    if (OptionItems != nullptr)
        for (QAction* item : OptionItems->Gradients)
            item->setChecked(false);
}

// ---------------------------------------------------------------------------
// Background

void TForm1::BackgroundColour1Click()
{
    if (CardTable1 == nullptr)
        return;
    QColorDialog dialog(CardTable1->Color(), this);
    if (dialog.exec() == QDialog::Accepted)
        SetBackgroundColour(dialog.selectedColor());
}

void TForm1::SetBackgroundColour(const QColor& colour)
{
    if (CardTable1 == nullptr || !colour.isValid())
        return;
    if (CardTable1->BackDrop().Enabled()) {
        CardTable1->BackDrop().SetEnabled(false);
        CardTable1->SetTag(0);
        ClearGradientChecks();
    }
    CardTable1->SetColor(colour);
    SyncOptionChecks();
}

void TForm1::GradientClick(int number)
{
    if (CardTable1 == nullptr || number < 1 || number > int(Gradients().size()))
        return;
    const TGradient& g = Gradients()[std::size_t(number - 1)];
    TBackdrop& drop = CardTable1->BackDrop();
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
    CardTable1->SetTag(number);
    SyncOptionChecks();
}

void TForm1::BackgroundPicture1Click()
{
    if (CardTable1 == nullptr)
        return;
    CardTable1->ChooseBackgroundPicture((std::filesystem::path(ProgramFolder()) / "Textures").string());
    BackgroundPictureChosen();
}

void TForm1::BackgroundPictureChosen()
{
    if (CardTable1 != nullptr && CardTable1->BackgroundPicture() != "None") {
        ClearGradientChecks();
        CardTable1->SetTag(0);
    }
    SyncOptionChecks();
}

void TForm1::PictureModeClick(bool stretch)
{
    if (CardTable1 != nullptr)
        CardTable1->SetStretchBackground(stretch);
    SyncOptionChecks();
}

// ---------------------------------------------------------------------------
// Cards

void TForm1::ChooseCardDeck1Click()
{
    if (CardTable1 == nullptr || CardTable1->Sprite.Shown)
        return;
    CardTable1->setEnabled(false);
    const std::string previous = CardTable1->CardDeck().DeckName();
    CardTable1->ChooseDeck();
    CardDeckChosen(previous);
    CardTable1->setEnabled(true);
}

// The engine refuses sets too large for the Compact layout and fits the
// layout to the new card size.
void TForm1::CardDeckChosen(const std::string& previousDeck)
{
    if (Engine_ == nullptr)
        return;
    Engine_->CardSetChanged(previousDeck);
    ShowScaleStep(CardTable1->CardDeck().ScaleStep());
}

void TForm1::ChooseCardBack1Click()
{
    if (CardTable1 != nullptr)
        CardTable1->ChooseCardBack();
}

void TForm1::ShadowModeClick(int mode)
{
    if (CardTable1 != nullptr) {
        CardTable1->SetShadowMode(mode == 0 ? smOriginal : smDarken);
        if (mode != 0)
            CardTable1->SetSoftShadow(mode == 2);
    }
    SyncOptionChecks();
}

void TForm1::SetCardSpeed1Click()
{
    if (CardTable1 == nullptr)
        return;
    const std::unique_ptr<TForm2> dialog(TForm2::ForTable(*CardTable1, SavedTurnoverSpeed, this));
    // Centred on the main window.
    dialog->move(geometry().center() - dialog->rect().center());
    if (dialog->exec() == QDialog::Accepted)
        dialog->ApplyTo(*CardTable1, SavedTurnoverSpeed);
}

void TForm1::DropModeClick(int mode)
{
    if (CardTable1 != nullptr)
        CardTable1->SetAutoShadeMode(mode);
    SyncOptionChecks();
}

void TForm1::DropShadeClick(int colour)
{
    if (CardTable1 != nullptr) {
        CardTable1->SetHQDragShade(colour >= 0);
        if (colour >= 0)
            CardTable1->SetHQDragShadeColour(colour);
    }
    SyncOptionChecks();
}

// ---------------------------------------------------------------------------
// Sound, scoring, winning animation

void TForm1::SoundClick(bool on)
{
    OptionsList[persistence::olSound] = on ? "On" : "Off";
    SyncOptionChecks();
}

// Results are counted only while the points label is enabled.
void TForm1::SetScoring(bool on)
{
    PointsLabel->setEnabled(on);
    PointsLabel->setText(on && Engine_ != nullptr ? QStringLiteral("Points = %1 ").arg(Engine_->Points)
                                                  : QStringLiteral("Points = 0 "));
    for (QAction* action : ToolBar->actions())
        if (action->text() == QStringLiteral("High Scores"))
            action->setEnabled(on);
    if (QAction* statistics = TopMenuAction(QStringLiteral(" Statistics ")))
        statistics->setEnabled(on);
    OptionsList[persistence::olScoring] = on ? "On" : "Off";
    SyncOptionChecks();
}

void TForm1::WinningAnimationClick(persistence::TWinAnimation animation)
{
    OptionsList[persistence::olWinAnimation] = persistence::WinAnimationWord(animation);
    for (const TWinItem& item : WinItems)
        if (item.Animation == animation)
            platform::Trace(item.Trace);
    SyncOptionChecks();
}

// ---------------------------------------------------------------------------
// Saving and the first show

void TForm1::SaveOptions1Click()
{
    if (!Prompts.AskYesNo(QStringLiteral("Save Options?")))
        return;
    const std::filesystem::path root = DataRoot();
    std::error_code error;
    std::filesystem::create_directories(root, error);
    // Each write stands alone: one failing does not keep the other back.
    // A file that cannot be written keeps its old contents, and the player
    // hears why instead of finding the settings gone at the next start.
    QStringList failures;
    if (CardTable1 != nullptr) {
        if (!StatusError.empty())
            persistence::KeepDamagedCopy(root / "Status.Dat");
        std::string why;
        if (CardTable1->SaveStatus(root, &why))
            StatusError.clear();
        else
            failures << QStringLiteral("Status.Dat: %1").arg(QString::fromStdString(why));
    }
    std::string why;
    if (!persistence::SaveOptions(root, OptionsList, &why))
        failures << QStringLiteral("Options.dat: %1").arg(QString::fromStdString(why));
    if (!failures.isEmpty())
        Prompts.ShowError(QStringLiteral("Tessalyn"),
                          QStringLiteral("The options could not be saved; the files keep their old settings.\n%1")
                              .arg(failures.join(QLatin1Char('\n'))));
}

void TForm1::LoadTableStatus()
{
    if (CardTable1 == nullptr)
        return;
    std::string error;
    if (!CardTable1->LoadStatus(DataRoot(), &error))
        StatusError = error;
}

// The check marks from the table's loaded state, then option lines 2 to 5.
void TForm1::ApplyOptionsAtFirstShow()
{
    if (CardTable1 != nullptr && !CardTable1->BackDrop().Enabled())
        CardTable1->SetTag(0);
    if (persistence::ScoringOptionOff(OptionsList))
        SetScoring(false);
    ApplyLayoutOptions();
    ShowVerdictClick(persistence::ShowVerdictOption(OptionsList));
    SyncOptionChecks();
}

void TForm1::ApplyLayoutOptions()
{
    if (Engine_ != nullptr) {
        const TCardDeck& deck = CardTable1->CardDeck();
        Engine_->ResetLayoutConstants(1.0f, 1.0f);
        Engine_->SetScaleFactors(float(deck.CardWidth) / TLayoutConstants::BaseCardWidth,
                                 float(deck.CardHeight) / TLayoutConstants::BaseCardHeight);
        const bool extended = persistence::ExtendedLayoutOption(OptionsList);
        if (extended)
            Engine_->SwitchToExtended();
        const int step = persistence::ScaleStepOption(OptionsList);
        if (step != 1)
            Engine_->SetScale(step);
        if (extended)
            Engine_->ResetLayoutConstants(Engine_->ScaleX, Engine_->ScaleY);
    }
    SyncLayoutCommands();
    // A deck no step was ever applied to has its cards' own size: "Normal".
    const int step = CardTable1 != nullptr ? CardTable1->CardDeck().ScaleStep() : 1;
    ShowScaleStep(step == 0 ? 1 : step);
}
