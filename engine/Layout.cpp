// The two layout modes, the card size steps and the re-layout that moves a
// game in play to new positions without dealing again.
#include "engine/Engine.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "catalogue/GameDefinitions.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void TEngine::SetScaleFactors(float scaleX, float scaleY)
{
    ScaleX = scaleX;
    ScaleY = scaleY;
}

void TEngine::RerunDefinitionForLayout()
{
    if (!FindGameDefinition(Rules.GameName))
        return;
    const std::string name = Rules.GameName;
    const std::string keptSave = SaveName;
    // The run-time additions to the rules outlive a re-layout.
    const bool tightFan = Rules.GameOptions.Contains(goTightFan);
    const bool pileByPile = Rules.TableauRules.Contains(roDealPileByPile);
    const TCard* base = Rules.FoundationBaseCard;
    Rules.GameName = std::string(LoadingGameName);
    Tag = 1;
    SelectGame(name);
    Tag = 0;
    Rules.GameName = name;
    SaveName = keptSave;
    if (tightFan)
        Rules.GameOptions.Include(goTightFan);
    if (pileByPile)
        Rules.TableauRules.Include(roDealPileByPile);
    Rules.FoundationBaseCard = base;
}

bool TEngine::GameInPlay() const
{
    return FindGameDefinition(Rules.GameName) != nullptr;
}

void TEngine::Relayout()
{
    // With no game on the table there is nothing to move, and no pack to draw.
    if (!GameInPlay())
        return;
    RerunDefinitionForLayout();
    MovePilesToLayout();
}

void TEngine::MovePilesToLayout()
{
    FanStep = ::FanStep(Layout, Rules);
    ModifyReserve();
    ModifyTableau();
    ModifyFoundation();
    ModifyExcept();
    ModifyDeck();
    ModifyWaste();
    ModifyRedeal();
}

void TEngine::ModifyReserve()
{
    if (Rules.FreeCells) {
        for (int k = 0; k < Rules.ReserveCount && Rules.TableauCount + k + 1 <= 20; ++k) {
            TCardSlot& slot = Table.SlotRecord(TCardTable::FirstSlot(0) + Rules.TableauCount + k);
            const QPoint p = CellPosition(k);
            slot.X = p.x();
            slot.Y = p.y();
        }
    }
    for (std::size_t i = 0; i < ReserveCards.size(); ++i) {
        if (TCard* card = ReserveCards[i]) {
            const QPoint p = ReserveCardPosition(static_cast<int>(i));
            card->X = p.x();
            card->Y = p.y();
        }
    }
}

void TEngine::ModifyTableau()
{
    const TRuleOptions& t = Rules.TableauRules;
    if (Rules.TableauCount >= 1 && Rules.TableauCount <= 20) {
        for (int i = 0; i < Rules.TableauCount; ++i) {
            TCardSlot& slot = Table.SlotRecord(TCardTable::FirstSlot(0) + i);
            slot.X = Rules.TableauPositions.at(static_cast<std::size_t>(i)).x();
            slot.Y = Rules.TableauPositions.at(static_cast<std::size_t>(i)).y();
        }
    }
    const int full = t.Contains(roFanSideways) ? TLayoutConstants::SidewaysFanStep : FanStep;
    const int quarter = full >= 0 ? full >> 2 : -((-full) >> 2);
    for (std::size_t i = 0; i < TableauPiles.size(); ++i) {
        const QPoint origin = Rules.TableauPositions.at(i);
        int offset = 0;
        const TPile& pile = TableauPiles[i];
        for (std::size_t j = 0; j < pile.size(); ++j) {
            TCard* card = pile[j];
            if (!card)
                continue;
            if (j > 0 && !t.Contains(roSquared))
                offset += (t.Contains(roDealFaceUp) || (pile[j - 1] && pile[j - 1]->FaceUp)) ? full : quarter;
            card->X = t.Contains(roFanSideways) ? origin.x() + offset : origin.x();
            card->Y = t.Contains(roFanSideways) ? origin.y() : origin.y() + offset;
        }
    }
}

void TEngine::ModifyFoundation()
{
    for (int i = 0; i < Rules.FoundationCount && i < 13; ++i) {
        TCardSlot& slot = Table.SlotRecord(TCardTable::FirstSlot(1) + i);
        const QPoint p = Rules.FoundationPositions.at(static_cast<std::size_t>(i));
        slot.X = p.x();
        slot.Y = p.y();
        if (!Rules.FoundationAngles.empty() && slot.BaseImage) {
            slot.RotLeft = p.x() + slot.BaseImage->width() / 2 - slot.RotCentreX;
            slot.RotTop = p.y() + slot.BaseImage->height() / 2 - slot.RotCentreY;
        }
    }
    const bool sideways = Rules.FoundationRules.Contains(roFoundationSideways);
    for (std::size_t i = 0; i < FoundationPiles.size(); ++i) {
        const QPoint p = Rules.FoundationPositions.at(i);
        for (std::size_t j = 0; j < FoundationPiles[i].size(); ++j) {
            if (TCard* card = FoundationPiles[i][j]) {
                card->X = p.x() + (sideways ? static_cast<int>(j) * TLayoutConstants::SidewaysFanStep : 0);
                card->Y = p.y();
            }
        }
    }
}

void TEngine::ModifyExcept()
{
    if (!Rules.ExceptPlaced)
        return;
    for (std::size_t i = 0; i < ExceptPiles.size(); ++i) {
        const QPoint origin = Rules.ExceptPositions.at(i);
        for (std::size_t j = 0; j < ExceptPiles[i].size(); ++j) {
            if (TCard* card = ExceptPiles[i][j]) {
                const int k = static_cast<int>(j);
                card->X = Rules.ExceptSideways ? origin.x() + k * Layout.FanStepBase : origin.x();
                card->Y = Rules.ExceptSideways ? origin.y() : origin.y() + k * FanStep;
            }
        }
    }
}

void TEngine::ModifyDeck()
{
    const QPoint p = StockPosition();
    Table.PlaceDeck(p.x(), p.y());
}

void TEngine::ModifyWaste()
{
    const QPoint p = WastePositionNow();
    for (TCard* card : WasteCards) {
        card->X = p.x();
        card->Y = p.y();
    }
}

void TEngine::ModifyRedeal()
{
    const QPoint stock = StockPosition();
    const int left = static_cast<int>(std::nearbyint(Deck().CardWidth / 2.0 - 25)) + stock.x();
    const int top = static_cast<int>(std::nearbyint(Deck().CardHeight / 2.0 - 25)) + Table.y() + stock.y();
    Host.PlaceRedealButton(left, top);
}

QPoint TEngine::MaxInLayout() const
{
    int x = 0;
    int y = 0;
    const auto take = [&x, &y](QPoint p) {
        x = std::max(x, p.x());
        y = std::max(y, p.y());
    };
    if (Rules.FreeCells && Rules.ReserveCount > 0) {
        const QPoint r = Rules.ReservePosition;
        take(Rules.CellsVertical ? QPoint(r.x(), r.y() + (Rules.ReserveCount - 1) * Layout.RowStep)
                                 : QPoint(r.x() + Rules.ReserveCount * Layout.ColumnStep, r.y()));
    }
    const auto takePile = [&take](const TPile& pile) {
        for (const TCard* card : pile)
            if (card)
                take({card->X, card->Y});
    };
    takePile(ReserveCards);
    if (Rules.TableauCount >= 1 && Rules.TableauCount <= 20)
        for (const QPoint& p : Rules.TableauPositions)
            take(p);
    for (const TPile& pile : TableauPiles)
        takePile(pile);
    for (int i = 0; i < Rules.FoundationCount && i < static_cast<int>(Rules.FoundationPositions.size()); ++i)
        take(Rules.FoundationPositions[static_cast<std::size_t>(i)]);
    for (const TPile& pile : ExceptPiles)
        takePile(pile);
    platform::Trace("MaxInLayout Result X Y " + std::to_string(x) + " " + std::to_string(y));
    return {x, y};
}

void TEngine::Stretch(QPoint extent)
{
    const TRuleOptions& t = Rules.TableauRules;
    const int k = (t.Contains(roFanSideways) && !t.Contains(roNotDropTarget)) ? 5 : 2;
    const int width = Table.width() - k * Deck().CardWidth;
    if (extent.x() > 0 && extent.x() < width)
        ModifyConstantVariables(Layout, static_cast<float>(width) / static_cast<float>(extent.x()), 1.0f);
    const bool vertical = t.Empty() || t.Contains(roSquared) || t.Contains(roFanUpward) || t.Contains(roFanSideways)
        || t.Contains(roNoDragAndDrop) || t.Contains(roAutoFit) || !t.Contains(roFanOnDrop);
    if (vertical) {
        const int height = Table.height() - (2 * Deck().CardHeight + 50);
        if (extent.y() > 0 && extent.y() < height)
            ModifyConstantVariables(Layout, 1.0f, static_cast<float>(height) / static_cast<float>(extent.y()));
    }
}

void TEngine::AutoMode()
{
    if (!Table.isVisible() || Table.Sprite.Shown || !GameInPlay())
        return;
    platform::Trace("AutoMode Called.");
    Stretch(MaxInLayout());
    Relayout();
    Table.RefreshBackground();
    SetLists();
}

void TEngine::AutoStart()
{
    platform::Trace("- AutoStart -");
    const int speed = Table.CardSpeed();
    const bool turn = Table.TurnAnimation;
    const int turnSpeed = Table.TurnOverAnimationSpeed();
    const bool fast = Table.FastMovementMode();
    const bool slowRegion = Table.SlowMoveRegion();
    Table.SetCardSpeed(128);
    Table.TurnAnimation = false;
    Table.SetTurnOverAnimationSpeed(32);
    Table.SetFastMovementMode(true);
    Table.SetSlowMoveRegion(false);

    SetConstantVariables(Layout, ScaleX, ScaleY);
    ClearRules(Rules, false);
    RerunDefinitionForLayout();
    platform::Trace("AutoStart has default card co-ords");
    Table.PaintEnabled = false;
    platform::Trace("AutoStart calls start to invisibly deal cards in default positions");
    GameWon = true;
    StartGame();
    if (SourceLog.size() > 1)
        SetRandSeed(static_cast<std::uint32_t>(std::strtoll(SourceLog[1].c_str(), nullptr, 10)));
    Table.PaintEnabled = true;
    Stretch(MaxInLayout());
    platform::Trace("Reset game data using modified constants");
    Relayout();
    platform::Trace("- AutoStart End -");

    Table.SetCardSpeed(speed);
    Table.TurnAnimation = turn;
    Table.SetTurnOverAnimationSpeed(turnSpeed);
    Table.SetFastMovementMode(fast);
    Table.SetSlowMoveRegion(slowRegion);
}

void TEngine::SwitchToExtended()
{
    if (Table.Sprite.Shown)
        return;
    platform::Trace("Extended1Click - Switch to extended display.");
    Extended = true;
    SetConstantVariables(Layout, ScaleX, ScaleY);
    if (Table.isVisible()) {
        Relayout();
        AutoMode();
    } else {
        platform::Trace("Extended1Click - CardTable NOT visible");
    }
}

void TEngine::SwitchToCompact()
{
    if (Table.Sprite.Shown)
        return;
    Extended = false;
    SetConstantVariables(Layout, 1.0f, 1.0f);
    if (Table.isVisible() && GameInPlay()) {
        RerunDefinitionForLayout();
        SetScale(Deck().ScaleStep());
        MovePilesToLayout();
        Table.RefreshBackground();
        SetLists();
    } else {
        SetScale(Deck().ScaleStep());
    }
}

namespace {

bool SmallCardSet(const std::string& name)
{
    return name.size() >= 2 && (name[0] == 'M' || name[0] == 'm') && name[1] == '_';
}

} // namespace

void TEngine::CardSetChanged(const std::string& previousSet)
{
    if (Table.Sprite.Shown)
        return;
    const std::string set = Deck().DeckName();
    if (!Extended && SmallCardSet(set) && Deck().ScaleStep() >= -1) {
        Host.ShowMessage("Scale for this deck, in this layout mode, is toolarge - Reset", "Notification.");
        Deck().SetDeckName(previousSet);
    } else if (!Extended && Deck().Scale() > 1.0f && !platform::SameName(set, "Standard")) {
        Host.ShowMessage("Scale for this deck, in this layout mode, is too large - Reset", "Notification.");
        SetScale(1);
    }
    FitLayoutToCardSize();
}

void TEngine::FitLayoutToCardSize()
{
    ScaleX = static_cast<float>(Deck().CardWidth) / TLayoutConstants::BaseCardWidth;
    ScaleY = static_cast<float>(Deck().CardHeight) / TLayoutConstants::BaseCardHeight;
    if (Extended)
        SwitchToExtended();
    else
        Table.RefreshBackground();
}

void TEngine::SetScale(int step)
{
    if (Table.Sprite.Shown)
        return;
    platform::Trace("[      SET SCALE METHOD      ]");
    const std::string& set = Deck().DeckName();
    const bool standard = platform::SameName(set, "Standard");
    const bool small = SmallCardSet(set);
    const bool refused = !Extended && ((step > 1 && !standard) || step > 2 || (step >= -1 && small));
    if (refused) {
        platform::Trace("Scale method - invalid compact - " + std::to_string(step));
        Host.ShowMessage("Scale for this deck, in this layout mode, is too large - Reset", "Notification.");
        if (small)
            step = -2;
        else
            step = 1;
    } else {
        platform::Trace("Scale method - " + std::to_string(step));
    }
    Deck().SetScaleStep(step);
    FitLayoutToCardSize();
    ScaleStep = step;
    platform::Trace("[      END SCALE METHOD      ]");
}
