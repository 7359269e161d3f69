// Keyboard play on the table: the focus ring, and a lift made by keys that
// ends in the same drop or restore as a mouse drag.
#include "cardtable/CardTable.h"

#include <QPainter>
#include <QPen>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace {

// Outside the card by this much, so the ring never hides a corner index.
constexpr int RingGap = 3;
// A band of one tone between two thin edges of the other.
constexpr int RingWidth = 5;
constexpr int RingBand = 3;

// WCAG's relative luminance: 0 for black, 1 for white, as the eye weighs it.
double Luminance(QRgb rgb)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double ContrastRatio(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// The mean luminance of what lies under the ring's band: the table, and any
// card of a neighbouring pile it crosses.
double LuminanceUnder(const QImage& surface, const QRect& ring)
{
    const QRect band = ring.adjusted(RingWidth / 2, RingWidth / 2, -(RingWidth / 2), -(RingWidth / 2));
    constexpr int step = 4;
    double sum = 0.0;
    int count = 0;
    const auto sample = [&](int x, int y) {
        if (!surface.valid(x, y))
            return;
        sum += Luminance(surface.pixel(x, y));
        ++count;
    };
    for (int x = band.left(); x <= band.right(); x += step) {
        sample(x, band.top());
        sample(x, band.bottom());
    }
    for (int y = band.top(); y <= band.bottom(); y += step) {
        sample(band.left(), y);
        sample(band.right(), y);
    }
    return count == 0 ? 0.0 : sum / count;
}

} // namespace

TRingTones FocusRingTones(double luminanceUnder)
{
    // Warm yellow on dark tables, deep blue on light ones; the edges take the
    // other tone, so the outline holds where the band meets its own colour.
    const TRingTones onDark{QColor(255, 214, 0), QColor(10, 20, 70)};
    const TRingTones onLight{onDark.Edge, onDark.Band};
    const double light = ContrastRatio(Luminance(onDark.Band.rgb()), luminanceUnder);
    const double dark = ContrastRatio(Luminance(onLight.Band.rgb()), luminanceUnder);
    return light >= dark ? onDark : onLight;
}

// ------------------------------------------------------------ the focus

void TCardTable::SetKeyFocus(TCard* card, const QRect& place, const std::vector<TCard*>& onTop)
{
    FocusCard = card;
    FocusOnTop = card == nullptr ? std::vector<TCard*>() : onTop;
    FocusPlace = card == nullptr ? place : QRect();
    UpdateRingArea();
}

void TCardTable::ClearKeyFocus()
{
    FocusCard = nullptr;
    FocusOnTop.clear();
    FocusPlace = QRect();
    UpdateRingArea();
}

QRect TCardTable::KeyFocusRing() const
{
    QRect inner;
    if (FocusCard != nullptr && FocusCard->OnTable) {
        inner = CardRect(FocusCard);
        // Around the cards lying on it too: a ring through them would seem
        // to cut the fan in two.
        for (const TCard* card : FocusOnTop)
            if (card != nullptr && card->OnTable)
                inner |= CardRect(card);
    } else if (FocusCard == nullptr) {
        inner = FocusPlace;
    }
    if (inner.isEmpty())
        return {};
    const int out = RingGap + RingWidth;
    return inner.adjusted(-out, -out, out, out);
}

// A mouse drag shows its own target; a ring there would only mislead.
QRect TCardTable::RingToDraw() const { return Dragging_ && !KeyLift ? QRect() : KeyFocusRing(); }

// The ring lies outside what the table repaints for a card, so its old and
// new places are repainted whenever it may have moved.
void TCardTable::UpdateRingArea()
{
    const QRect now = RingToDraw();
    if (now == RingShown)
        return;
    if (!RingShown.isEmpty())
        update(RingShown);
    if (!now.isEmpty())
        update(now);
    RingShown = now;
}

void TCardTable::DrawFocusRing(QPainter& painter)
{
    // The ring may have changed with nobody telling: a new card set, cards
    // moved by a command. What it covered before goes now too.
    UpdateRingArea();
    const QRect ring = RingShown;
    if (ring.isEmpty())
        return;
    const TRingTones tones = FocusRingTones(LuminanceUnder(Surface, ring));
    painter.save();
    // Cards lifted by keys hover over the ring, as they would over a drawn one.
    QRegion visible(ring);
    if (KeyLift && DragCard != nullptr && DragCard->OnTable) {
        visible -= CardRect(DragCard);
        if (ShadowShown)
            visible -= ShadowRect(DragCard->X, DragCard->Y);
        if (FollowersHovering)
            for (const TFollower& follower : Followers)
                if (follower.Card->OnTable)
                    visible -= CardRect(follower.Card);
    }
    painter.setClipRegion(visible, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // Both pens stay inside the ring's rectangle, the only area repainted
    // when the ring moves: a pen on its edge would leave a hairline behind.
    const qreal half = RingWidth / 2.0;
    const QRectF path = QRectF(ring).adjusted(half, half, -half, -half);
    painter.setPen(QPen(tones.Edge, RingWidth));
    painter.drawRoundedRect(path, 7, 7);
    painter.setPen(QPen(tones.Band, RingBand));
    painter.drawRoundedRect(path, 7, 7);
    painter.restore();
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
