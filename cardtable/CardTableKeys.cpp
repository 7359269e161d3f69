// Keyboard play on the table: the focus ring, and a lift made by keys that
// ends in the same drop or restore as a mouse drag.
#include "cardtable/CardTable.h"

#include <QPainter>
#include <QPen>

namespace {

// Outside the card by this much, so the ring never hides a corner index.
constexpr int RingGap = 3;
constexpr int RingWidth = 3;

// Two tones, one dark and one light, so that the ring stands out from any
// background, back or face: whichever one blends in, the other does not.
const QColor RingDark(16, 16, 16);
const QColor RingLight(255, 214, 0);

} // namespace

// ------------------------------------------------------------ the focus

void TCardTable::SetKeyFocus(TCard* card, const QRect& place)
{
    FocusCard = card;
    FocusPlace = card == nullptr ? place : QRect();
    UpdateRingArea();
}

void TCardTable::ClearKeyFocus()
{
    FocusCard = nullptr;
    FocusPlace = QRect();
    UpdateRingArea();
}

QRect TCardTable::KeyFocusRing() const
{
    QRect inner;
    if (FocusCard != nullptr && FocusCard->OnTable)
        inner = CardRect(FocusCard);
    else if (FocusCard == nullptr)
        inner = FocusPlace;
    if (inner.isEmpty())
        return {};
    const int out = RingGap + RingWidth;
    return inner.adjusted(-out, -out, out, out);
}

// The ring lies outside what the table repaints for a card, so its old and
// new places are repainted whenever it may have moved.
void TCardTable::UpdateRingArea()
{
    const QRect now = KeyFocusRing();
    if (now == RingShown)
        return;
    if (!RingShown.isEmpty())
        update(RingShown);
    if (!now.isEmpty())
        update(now);
    RingShown = now;
}

void TCardTable::DrawFocusRing(QPainter& painter) const
{
    // A mouse drag shows its own target; a ring there would only mislead.
    if (Dragging_ && !KeyLift)
        return;
    const QRect ring = KeyFocusRing();
    if (ring.isEmpty())
        return;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // Both pens stay inside the ring's rectangle, the only area repainted
    // when the ring moves: a pen on its edge would leave a hairline behind.
    const qreal half = RingWidth / 2.0;
    const QRectF outer = QRectF(ring).adjusted(half, half, -half, -half);
    painter.setPen(QPen(RingDark, RingWidth));
    painter.drawRoundedRect(outer, 6, 6);
    painter.setPen(QPen(RingLight, RingWidth - 1));
    painter.drawRoundedRect(outer.adjusted(2, 2, -2, -2), 5, 5);
}

// ------------------------------------------------------------ a lift by keys

bool TCardTable::PressByKey(TCard* card, const std::vector<TCard*>& followers)
{
    if (card == nullptr || DragCard != nullptr || !isEnabled())
        return false;
    PressCard(card, card->X + 1, card->Y + 1, Qt::LeftButton);
    if (DragCard == nullptr || !Dragging_)
        return false;
    // The pointer plays no part in a lift made by keys.
    Dragging_ = false;
    RestoreCursor();
    KeyLift = true;
    Followers.clear();
    if (!FromStock_) {
        for (TCard* follower : followers)
            if (follower != nullptr && follower != DragCard && follower->OnTable)
                Followers.push_back({follower, follower->X, follower->Y, follower->Angle});
    }
    FollowersHovering = false;
    UpdateRingArea();
    return true;
}

// Hovering followers lie over the lifted card: they come off first.
void TCardTable::RemoveFollowers()
{
    for (auto it = Followers.rbegin(); it != Followers.rend(); ++it)
        RemoveCard(it->Card);
}

void TCardTable::ReplaceFollowers()
{
    for (const TFollower& follower : Followers)
        PlaceCard(follower.Card, follower.X, follower.Y, follower.Angle);
}

void TCardTable::HoverLifted(int x, int y, int index)
{
    if (!KeyLift || DragCard == nullptr)
        return;
    TCard* card = DragCard;
    QRect dirty = CardRect(card).united(ShadowRect(card->X, card->Y));
    if (FollowersHovering) {
        RemoveFollowers();
        LiftDragged();
    } else {
        LiftDragged();
        RemoveFollowers();
    }
    HideShade(dirty);
    if (index >= 0 && index < int(DropPoints.size()))
        ShadeDropPoint(index, dirty);
    const int t = LiftOffset_ ? ShadowThickness() : 0;
    card->X = x - t;
    card->Y = y - t;
    RedrawDragged();
    for (const TFollower& follower : Followers)
        PlaceCard(follower.Card, card->X + follower.X - DragOldX, card->Y + follower.Y - DragOldY);
    FollowersHovering = !Followers.empty();
    dirty = dirty.united(CardRect(card)).united(ShadowRect(card->X, card->Y));
    RefreshRect(dirty);
    UpdateRingArea();
}

// Brings the table to where a mouse drag would have it at release: the
// followers back in their pile, the lifted card alone on top.
void TCardTable::SettleFollowers()
{
    if (!FollowersHovering || DragCard == nullptr)
        return;
    RemoveFollowers();
    const bool lifted = LiftDragged();
    ReplaceFollowers();
    if (lifted)
        RedrawDragged();
    FollowersHovering = false;
}

void TCardTable::ReleaseLifted(bool overOwnPlace)
{
    if (!KeyLift || DragCard == nullptr)
        return;
    SettleFollowers();
    KeyLift = false;
    int index = -1;
    if (ShadeShown && !DropPoints.empty()) {
        RemoveBottom(6, 1, nullptr, true);
        index = ShadedIndex;
    }
    ShadeShown = false;
    ShadedIndex = -1;
    Deck->ClearShadeCache();
    if (overOwnPlace) {
        RestoreCard();
        return;
    }
    TCard* card = DragCard;
    if (OnCardDropEvent)
        OnCardDropEvent(card, card->X + RelX, card->Y + RelY, RelX, RelY, index);
    if (DragCard == card && card != nullptr)
        RestoreCard();
    UpdateRingArea();
}

void TCardTable::CancelLifted()
{
    if (!KeyLift || DragCard == nullptr)
        return;
    SettleFollowers();
    KeyLift = false;
    if (ShadeShown)
        RemoveBottom(6, 1, nullptr, true);
    ShadeShown = false;
    ShadedIndex = -1;
    Deck->ClearShadeCache();
    RestoreCard();
    UpdateRingArea();
}
