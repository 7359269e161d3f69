// Pointer handling: clicks, dragging one card, the drop shadow and the drop shade.
#include "cardtable/CardTable.h"

#include <algorithm>

#include <QApplication>

#include "cardtable/CardTableBlit.h"
#include "cardtable/MyGrphx.h"

using tableblit::Blit;
using tableblit::TRop;

namespace {

constexpr int ShadeSlot = TCardDeck::SlotCount;

} // namespace

int TCardTable::ShadowThickness() const { return Deck->Shadow01.width(); }

// ------------------------------------------------------------ button down

bool TCardTable::MayDrag(const TCard* card, Qt::MouseButton button) const
{
    if (!DragAndDrop_ || button != Qt::LeftButton)
        return false;
    if (card->Status == 1)
        return card->FaceUp || DragFaceDown_;
    return card->Status == 0 && DragFromDeck_;
}

void TCardTable::ButtonDown(int x, int y, Qt::MouseButton button)
{
    if (OnMouseDown)
        OnMouseDown(button, x, y);
    // The mouse takes over from the keys: what they lifted goes back first.
    CancelLifted();
    // A card still awaiting its drop answer is settled before anything else.
    if (DragCard != nullptr)
        return;
    TCard* card = CardAt(x, y);
    if (card == nullptr) {
        if (TableArea.Enabled && TableArea.OnClick && x >= TableArea.Area.left() &&
            x <= TableArea.Area.left() + TableArea.Area.width() && y >= TableArea.Area.top() &&
            y <= TableArea.Area.top() + TableArea.Area.height())
            TableArea.OnClick(x, y, button);
        return;
    }
    PressCard(card, x, y, button);
}

// A press on a card, by the mouse or by keys: a drag starts when the card
// may be dragged, and the click is raised either way.
void TCardTable::PressCard(TCard* card, int x, int y, Qt::MouseButton button)
{
    if (MayDrag(card, button) && !StartDrag(card, x, y))
        return;
    if (card->Deck == Deck.get()) {
        if (OnCardClickEvent)
            OnCardClickEvent(card, button);
    } else if (OnExternalCardClickEvent) {
        OnExternalCardClickEvent(card, button);
    }
}

// Lifts the card out of the table and shows it with its shadow. Returns false
// when the engine's drag list does not allow this card (then nothing happens
// at all, not even a click). A press on the stock drags its next card.
bool TCardTable::StartDrag(TCard*& card, int x, int y)
{
    const QRect before = CardRect(card);
    if (card->Status == 1) {
        if (!DragCards.empty() && std::find(DragCards.begin(), DragCards.end(), card) == DragCards.end())
            return false;
        int index = -1;
        const std::vector<TCard*> covering = CollectCovering(card, false, &index);
        LiftCards(covering);
        LiftCard(card);
        card->OnTable = false;
        RedrawCards(covering);
        RemoveFromZList(card);
        DragZIndex = index + 1;
        FromStock_ = false;
    } else {
        TCard* top = card->Deck->NextCard();
        if (top == nullptr)
            return false;
        if (top->OnTable) {
            LiftCard(top);
            top->OnTable = false;
        } else {
            top->X = card->X;
            top->Y = card->Y;
        }
        card = top;
        DragZIndex = 0;
        FromStock_ = true;
    }
    DragCard = card;
    DragAngle = card->Angle;
    DragOldX = card->X;
    DragOldY = card->Y;
    if (LiftOffset_) {
        card->X -= ShadowThickness();
        card->Y -= ShadowThickness();
    }
    RelX = x - card->X;
    RelY = y - card->Y;
    PressPoint = QPoint(x, y);
    LeftPressPoint = false;
    OverlapList.clear();
    ShadedIndex = -1;
    ShadeShown = false;
    DrawShadow(card->X, card->Y);
    DrawCard(card, card->X, card->Y, 0.0f, true);
    card->OnTable = true;
    RefreshRect(before.united(CardRect(card)).united(ShadowRect(card->X, card->Y)));
    SetDragCursor();
    Dragging_ = true;
    UpdateRingArea();
    return true;
}

void TCardTable::SetDragCursor()
{
    CursorWasSet = testAttribute(Qt::WA_SetCursor);
    SavedCursor = cursor();
    setCursor(DragCardCursor_);
}

void TCardTable::RestoreCursor()
{
    if (CursorWasSet)
        setCursor(SavedCursor);
    else
        unsetCursor();
}

// ------------------------------------------------------------ pointer move

void TCardTable::NotePointer(int x, int y)
{
    if ((QPoint(x, y) - PressPoint).manhattanLength() >= QApplication::startDragDistance())
        LeftPressPoint = true;
}

void TCardTable::PointerMove(int x, int y)
{
    TCard* card = DragCard;
    if (card == nullptr || !card->OnTable)
        return;
    NotePointer(x, y);
    const int w = Deck->CardWidth;
    const int h = Deck->CardHeight;
    QRect dirty = CardRect(card).united(ShadowRect(card->X, card->Y));
    LiftCard(card);
    EraseShadow();
    // The card never leaves the table, whatever the pointer does.
    card->X = std::clamp(x - RelX, 0, std::max(0, width() - w));
    card->Y = std::clamp(y - RelY, 0, std::max(0, height() - h));
    if (!DropPoints.empty())
        ChooseShade(dirty, x, y);
    DrawShadow(card->X, card->Y);
    DrawCard(card, card->X, card->Y, 0.0f, true);
    card->OnTable = true;
    dirty = dirty.united(CardRect(card)).united(ShadowRect(card->X, card->Y));
    RefreshRect(dirty);
}

void TCardTable::ChooseShade(QRect& dirty, int pointerX, int pointerY)
{
    const int w = Deck->CardWidth;
    const int h = Deck->CardHeight;
    const int cardX = DragCard->X;
    const int cardY = DragCard->Y;
    const QPoint ownPile(DragOldX, DragOldY);
    const int count = int(DropPoints.size());
    if (AutoShadeMode_ == 1) {
        // The most recently touched target wins; leaving it falls back to the
        // one touched before.
        for (int i = 0; i < count; ++i) {
            const QPoint p = DropPoints[std::size_t(i)];
            if (p == ownPile)
                continue;
            const bool touches = cardX <= p.x() + w && p.x() <= cardX + w && cardY <= p.y() + h && p.y() <= cardY + h;
            const auto listed = std::find(OverlapList.begin(), OverlapList.end(), i);
            if (touches && listed == OverlapList.end())
                OverlapList.push_back(i);
            else if (!touches && listed != OverlapList.end())
                OverlapList.erase(listed);
        }
        if (ShadeShown && (OverlapList.empty() || OverlapList.back() != ShadedIndex))
            HideShade(dirty);
        if (!OverlapList.empty() && OverlapList.back() != ShadedIndex)
            ShadeDropPoint(OverlapList.back(), dirty);
        return;
    }
    if (AutoShadeMode_ == 2) {
        for (int i = 0; i < count; ++i) {
            const QPoint p = DropPoints[std::size_t(i)];
            if (p == ownPile)
                continue;
            const bool inside = pointerX >= p.x() && pointerX <= p.x() + w && pointerY >= p.y() && pointerY <= p.y() + h;
            if (!inside && i == ShadedIndex)
                HideShade(dirty);
            if (inside && !ShadeShown) {
                ShadeDropPoint(i, dirty);
                OverlapList.assign(1, i);
                break;
            }
        }
        return;
    }
    // Largest overlap; the first of equal ones.
    int best = -1;
    long long bestArea = 0;
    for (int i = 0; i < count; ++i) {
        const QPoint p = DropPoints[std::size_t(i)];
        if (p == ownPile)
            continue;
        const int ax = w - std::abs(p.x() - cardX);
        const int ay = h - std::abs(p.y() - cardY);
        const long long area = ax > 0 && ay > 0 ? (long long)ax * ay : 0;
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    if (ShadeShown && (bestArea == 0 || best != ShadedIndex))
        HideShade(dirty);
    if (bestArea > 0 && best != ShadedIndex) {
        ShadeDropPoint(best, dirty);
        OverlapList.assign(1, best);
    }
}

void TCardTable::ShadeDropPoint(int index, QRect& dirty)
{
    if (Deck->Slots[ShadeSlot].Placed)
        HideShade(dirty);
    const QPoint p = DropPoints[std::size_t(index)];
    const float angle = std::size_t(index) < DropAngles.size() ? DropAngles[std::size_t(index)] : 0.0f;
    DrawSlot(*Deck, ShadeSlot, p.x(), p.y(), angle, false);
    dirty = dirty.united(SlotRect(*Deck, ShadeSlot));
    ShadeShown = true;
    ShadedIndex = index;
}

void TCardTable::HideShade(QRect& dirty)
{
    if (Deck->Slots[ShadeSlot].Placed) {
        dirty = dirty.united(SlotRect(*Deck, ShadeSlot));
        LiftSlot(*Deck, ShadeSlot);
    }
    ShadeShown = false;
    ShadedIndex = -1;
}

// ------------------------------------------------------------ the shadow

// Right strip at (x + width, y + T), bottom strip at (x + T, y + T + right
// strip height), T being the right strip's width.
QRect TCardTable::ShadowRect(int x, int y) const
{
    const int t = ShadowThickness();
    const QRect right(QPoint(x + Deck->CardWidth, y + t), Deck->Shadow01.size());
    const QRect bottom(QPoint(x + t, y + t + Deck->Shadow01.height()), Deck->Shadow00.size());
    return right.united(bottom);
}

namespace {

// Darkens the table under one strip inside the strip's outline.
void DarkenUnder(QImage& surface, const QRect& area, const QImage& mask, const QImage& inverse, bool soft,
                 bool vertical)
{
    QImage work = surface.copy(area);
    Darken(work, soft, vertical, 0);
    work = tableblit::As32(work);
    Blit(work, QPoint(0, 0), inverse, TRop::And);
    Blit(surface, area.topLeft(), mask, TRop::And);
    Blit(surface, area.topLeft(), work, TRop::Or);
}

} // namespace

void TCardTable::DrawShadow(int x, int y)
{
    TCardDeck& deck = *Deck;
    const int t = ShadowThickness();
    if (deck.Shadow00.isNull() || deck.Shadow01.isNull())
        return;
    deck.Shadow01Pos = QPoint(x + deck.CardWidth, y + t);
    deck.Shadow00Pos = QPoint(x + t, y + t + deck.Shadow01.height());
    const QRect right(deck.Shadow01Pos, deck.Shadow01.size());
    const QRect bottom(deck.Shadow00Pos, deck.Shadow00.size());
    tableblit::SaveArea(Surface, right, deck.Shadow01Under);
    tableblit::SaveArea(Surface, bottom, deck.Shadow00Under);
    if (ShadowMode_ == smOriginal) {
        Blit(Surface, right.topLeft(), deck.Shadow01, TRop::And);
        Blit(Surface, bottom.topLeft(), deck.Shadow00, TRop::And);
    } else {
        DarkenUnder(Surface, right, deck.Shadow01M, deck.Shadow01IM, SoftShadow_, true);
        DarkenUnder(Surface, bottom, deck.Shadow00M, deck.Shadow00IM, SoftShadow_, false);
    }
    ShadowShown = true;
}

void TCardTable::EraseShadow()
{
    if (!ShadowShown)
        return;
    TCardDeck& deck = *Deck;
    tableblit::RestoreArea(Surface, QRect(deck.Shadow00Pos, deck.Shadow00.size()), deck.Shadow00Under);
    tableblit::RestoreArea(Surface, QRect(deck.Shadow01Pos, deck.Shadow01.size()), deck.Shadow01Under);
    ShadowShown = false;
}

bool TCardTable::LiftDragged()
{
    if (DragCard == nullptr || !DragCard->OnTable)
        return false;
    LiftCard(DragCard);
    EraseShadow();
    DragCard->OnTable = false;
    return true;
}

void TCardTable::RedrawDragged()
{
    DrawShadow(DragCard->X, DragCard->Y);
    DrawCard(DragCard, DragCard->X, DragCard->Y, 0.0f, true);
    DragCard->OnTable = true;
}

// ------------------------------------------------------------ release

void TCardTable::ButtonUp(int x, int y, Qt::MouseButton button)
{
    if (!Dragging_ || button != Qt::LeftButton)
        return;
    Dragging_ = false;
    RestoreCursor();
    int index = -1;
    if (ShadeShown && !DropPoints.empty()) {
        RemoveBottom(6, 1, nullptr, true);
        index = OverlapList.empty() ? ShadedIndex : OverlapList.back();
    }
    ShadeShown = false;
    ShadedIndex = -1;
    Deck->ClearShadeCache();
    NotePointer(x, y);
    if (!LeftPressPoint) {
        // A card pressed and let go where it lay was clicked, not dropped:
        // it just goes back, and nobody is told of a drop.
        RestoreCard();
        return;
    }
    TCard* card = DragCard;
    if (OnCardDropEvent)
        OnCardDropEvent(card, x, y, RelX, RelY, index);
    // A drop nobody answered would leave the card in no pile and no list:
    // it goes back where it came from.
    if (DragCard == card && card != nullptr)
        RestoreCard();
}

void TCardTable::PlaceForSlide(TCard* card)
{
    DrawCard(card, card->X, card->Y, 0.0f, true);
    card->OnTable = true;
    ZList_.push_back(card);
}

void TCardTable::DropCard(int x, int y, bool animate, float angle)
{
    TCard* card = DragCard;
    if (card == nullptr)
        return;
    SettleFollowers();
    const int t = ShadowThickness();
    QRect dirty = CardRect(card).united(ShadowRect(card->X, card->Y));
    LiftDragged();
    Dragging_ = false;
    if (!animate) {
        DrawCard(card, x, y, angle, true);
        card->OnTable = true;
        ZList_.push_back(card);
    } else if (LiftOffset_) {
        // Slides over the target lifted, then settles onto it.
        PlaceForSlide(card);
        MoveCard(card, x - t, y - t);
        dirty = dirty.united(CardRect(card));
        LiftCard(card);
        card->OnTable = false;
        RemoveFromZList(card);
        DrawCard(card, x, y, angle, true);
        card->OnTable = true;
        ZList_.push_back(card);
    } else {
        PlaceForSlide(card);
        MoveCard(card, x, y);
        if (angle != 0.0f)
            RotateCard(card, angle);
    }
    RefreshRect(dirty.united(CardRect(card)));
    EndDrag();
}

void TCardTable::RestoreCard()
{
    TCard* card = DragCard;
    if (card == nullptr)
        return;
    SettleFollowers();
    const int t = LiftOffset_ ? ShadowThickness() : 0;
    LiftDragged();
    Dragging_ = false;
    PlaceForSlide(card);
    MoveCard(card, DragOldX - t, DragOldY - t);
    LiftCard(card);
    card->OnTable = false;
    RemoveFromZList(card);
    DrawShadow(card->X, card->Y);
    DrawCard(card, card->X, card->Y, 0.0f, true);
    card->OnTable = true;
    if (OnCardRestoredEvent)
        OnCardRestoredEvent();
    // Back into its old place: under the cards that covered it before.
    QRect dirty = CardRect(card).united(ShadowRect(card->X, card->Y));
    LiftDragged();
    std::vector<TCard*> covering;
    if (!FromStock_) {
        const int at = DragZIndex > 0 ? std::min(DragZIndex - 1, int(ZList_.size())) : int(ZList_.size());
        ZList_.insert(ZList_.begin() + at, card);
        card->X = DragOldX;
        card->Y = DragOldY;
        if (DragAngle != card->Angle)
            card->SetAngle(DragAngle);
        if (card->Angle != 0.0f) {
            card->RotLeft = card->X + card->Deck->CardWidth / 2 - card->RotCentreX;
            card->RotTop = card->Y + card->Deck->CardHeight / 2 - card->RotCentreY;
        }
        covering = CollectCovering(card, false);
        LiftCards(covering);
    }
    DrawCard(card, DragOldX, DragOldY, DragAngle, true);
    card->OnTable = true;
    if (FromStock_) {
        card->Status = 0;
        if (card->Deck->DealtCount > 0)
            --card->Deck->DealtCount;
    } else {
        RedrawCards(covering);
    }
    RefreshRect(dirty.united(CardRect(card)));
    EndDrag();
}

void TCardTable::EndDrag()
{
    Dragging_ = false;
    DragCard = nullptr;
    ShadeShown = false;
    ShadedIndex = -1;
    OverlapList.clear();
    RestoreCursor();
    KeyLift = false;
    Followers.clear();
    FollowersHovering = false;
    UpdateRingArea();
}
