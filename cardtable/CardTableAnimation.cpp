// Animated moves, flips and turns. Every step is drawn into the Surface even
// while the table is not drawing, so the end state never depends on whether
// anybody watched; only the screen copies and the waits are skipped then.
#include "cardtable/CardTable.h"

#include <algorithm>
#include <cmath>

#include "cardtable/CardTableBlit.h"
#include "cardtable/MyGrphx.h"

using tableblit::TRop;

namespace {

// One coordinate moved towards its target by at most `step`.
int Towards(int from, int to, int step)
{
    if (from < to)
        return std::min(from + step, to);
    return std::max(from - step, to);
}

} // namespace

void TCardTable::FlushStep(const QRect& dirty)
{
    ++AnimationFrames;
    if (FastMovementMode_)
        RefreshRect(dirty);
    else
        RefreshRect(rect());
}

// ------------------------------------------------------------ MoveCard

// The cards of `moving` that still lie over `rect`, directly or over one
// kept before them: the same transitive rule as the covering collection,
// so a card is never dropped while a card it covers travels on.
std::vector<TCard*> TCardTable::StillCovering(QRect rect, const std::vector<TCard*>& moving) const
{
    std::vector<TCard*> kept;
    for (TCard* other : moving) {
        const QRect otherRect = CardRect(other);
        if (Overlaps(rect, otherRect)) {
            kept.push_back(other);
            rect = rect.united(otherRect);
        }
    }
    return kept;
}

int TCardTable::MoveStepSize(const TCard* card, int x, int y, int movingCount) const
{
    if (movingCount > 0)
        return CardSpeed_ + movingCount;
    if (!SlowMoveRegion_)
        return CardSpeed_;
    const int w = card->Deck->CardWidth;
    const int h = card->Deck->CardHeight;
    const int dx = std::abs(card->X - x);
    const int dy = std::abs(card->Y - y);
    if (dx > w / 2 || dy > h / 2)
        return std::min(std::max(dx - w / 2, dy - h / 2), CardSpeed_);
    if (SMR_WaitMode_ && dx <= w / 8 && dy <= h / 8)
        Wait(2);
    return 1;
}

void TCardTable::MoveCard(TCard* card, int x, int y)
{
    if (card == nullptr || !card->OnTable)
        return;
    // Cards lying over the moving card travel with it until it is clear of them.
    std::vector<TCard*> moving = CollectCovering(card, false);
    if (IsDrawing())
        MoveInSteps(card, x, y, moving);
    else
        MoveAtOnce(card, x, y, moving);
    card->OnTable = true;
    if (!StillCovering(CardRect(card), moving).empty())
        return;  // it stays under them, in its old place of the drawing order
    RemoveFromZList(card);
    if (card->Status != 0 || card == DragCard)
        ZList_.push_back(card);
}

void TCardTable::MoveInSteps(TCard* card, int x, int y, std::vector<TCard*>& moving)
{
    const int t = ShadowThickness();
    bool shadow = false;
    QRect dirty;
    do {
        dirty = CardRect(card);
        if (!moving.empty()) {
            moving = StillCovering(CardRect(card), moving);
            LiftCards(moving);
        }
        LiftCard(card);
        if (shadow) {
            dirty = dirty.united(ShadowRect(card->X, card->Y));
            EraseShadow();
            shadow = false;
        }
        const int step = MoveStepSize(card, x, y, int(moving.size()));
        const int newX = Towards(card->X, x, step);
        const int newY = Towards(card->Y, y, step);
        if (moving.empty()) {
            DrawShadow(newX, newY);
            shadow = true;
        }
        DrawCard(card, newX, newY, 0.0f, true);
        RedrawCards(moving);
        dirty = dirty.united(CardRect(card));
        if (shadow)
            dirty.adjust(0, 0, t, t);
        FlushStep(dirty);
    } while (card->X != x || card->Y != y);
    if (shadow && StillCovering(CardRect(card), moving).empty()) {
        LiftCard(card);
        EraseShadow();
        DrawCard(card, card->X, card->Y, 0.0f, true);
        RefreshRect(dirty);
    }
}

// Nobody watches: the same steps are counted and the moving list thinned the
// same way, but only the final picture is drawn. Cards that left the list
// never overlap the card again (each coordinate moves one way only), so the
// Surface ends exactly as after the visible steps.
void TCardTable::MoveAtOnce(TCard* card, int x, int y, std::vector<TCard*>& moving)
{
    moving = StillCovering(CardRect(card), moving);
    const std::vector<TCard*> lifted = moving;
    LiftCards(lifted);
    LiftCard(card);
    const QSize size(card->Deck->CardWidth, card->Deck->CardHeight);
    const int startX = card->X;
    const int startY = card->Y;
    bool first = true;
    do {
        if (!first)
            moving = StillCovering(QRect(QPoint(card->X, card->Y), size), moving);
        first = false;
        const int step = MoveStepSize(card, x, y, int(moving.size()));
        card->X = Towards(card->X, x, step);
        card->Y = Towards(card->Y, y, step);
        ++AnimationFrames;
    } while (card->X != x || card->Y != y);
    card->X = startX;
    card->Y = startY;
    DrawCard(card, x, y, 0.0f, true);
    RedrawCards(lifted);
}

// ------------------------------------------------------------ TurnCard

void TCardTable::TurnCard(TCard* card, bool ignoreOverlaps)
{
    if (card == nullptr)
        return;
    if (TurnOverAnimationLift_ && TurnAnimation && card->Angle == 0.0f && LiftFlip(card))
        return;
    card->FaceUp = !card->FaceUp;
    if (!card->OnTable)
        return;
    if (TurnOverAnimationSpeed_ < 1 || !TurnAnimation || card->Angle != 0.0f) {
        InstantFlip(card, ignoreOverlaps);
    } else if (!IsDrawing()) {
        // The last frame of a flip is the whole card with its new side.
        AnimationFrames += FlipFrameCount(TurnOverAnimationSpeed_);
        InstantFlip(card, ignoreOverlaps);
    } else {
        AnimatedFlip(card, ignoreOverlaps);
    }
}

int TCardTable::FlipFrameCount(int speed) const
{
    const int length = TurnOverAnimationVertical_ ? Deck->CardHeight : Deck->CardWidth;
    return speed < 1 ? 0 : (length + speed - 1) / speed;
}

void TCardTable::InstantFlip(TCard* card, bool ignoreOverlaps)
{
    const std::vector<TCard*> covering = CollectCovering(card, ignoreOverlaps);
    LiftCards(covering);
    DrawCard(card, card->X, card->Y, card->Angle, false);
    RedrawCards(covering);
    RefreshRect(CardRect(card));
}

// The picture squeezed about its middle line: the old side while r is in the
// first half, the new side after.
void TCardTable::FlipFrame(TCard* card, int r, int length)
{
    const TCardDeck& deck = *card->Deck;
    const bool firstHalf = r < length / 2;
    const bool showFace = firstHalf ? !card->FaceUp : card->FaceUp;
    const int a = std::max(0, firstHalf ? r - 1 : length - r);
    const QRect target = TurnOverAnimationVertical_
                             ? QRect(card->X, card->Y + a, deck.CardWidth, deck.CardHeight - 2 * a)
                             : QRect(card->X + a, card->Y, deck.CardWidth - 2 * a, deck.CardHeight);
    if (target.isEmpty())
        return;
    tableblit::StretchBlit(Surface, target, deck.MaskImage, TRop::And);
    tableblit::StretchBlit(Surface, target, showFace ? card->FaceImage : deck.BackImage, TRop::Or);
}

void TCardTable::AnimatedFlip(TCard* card, bool ignoreOverlaps)
{
    const int length = TurnOverAnimationVertical_ ? card->Deck->CardHeight : card->Deck->CardWidth;
    int r = 0;
    do {
        const std::vector<TCard*> covering = CollectCovering(card, ignoreOverlaps);
        LiftCards(covering);
        LiftCard(card);
        r = std::min(r + TurnOverAnimationSpeed_, length);
        FlipFrame(card, r, length);
        card->OnTable = true;
        RedrawCards(covering);
        ++AnimationFrames;
        RefreshRect(CardRect(card));
        Wait(1);
    } while (r < length);
}

// The shadow of a card lifted towards the viewer: the table darkened (or the
// shade picture) inside a card outline stretched over `rect`.
void TCardTable::DrawLiftShadow(const QRect& rect)
{
    if (rect.isEmpty())
        return;
    const TCardDeck& deck = *Deck;
    QImage outline(rect.size(), QImage::Format_RGB32);
    outline.fill(Qt::white);
    tableblit::StretchBlit(outline, outline.rect(), deck.MaskImage, TRop::Copy);
    if (ShadowMode_ == smOriginal) {
        QImage picture(rect.size(), QImage::Format_RGB32);
        tableblit::StretchBlit(picture, picture.rect(), deck.Shadow02, TRop::Copy);
        tableblit::Blit(Surface, rect.topLeft(), picture, TRop::And);
        return;
    }
    QImage work = Surface.copy(rect);
    Darken(work, SoftShadow_, false, 0);
    tableblit::MaskedCopy(Surface, rect.topLeft(), tableblit::As32(work), outline);
}

bool TCardTable::LiftFlip(TCard* card)
{
    if (!card->OnTable) {
        card->FaceUp = !card->FaceUp;
        return true;
    }
    if (!CollectCovering(card, false).empty())
        return false;
    TCardDeck& deck = *card->Deck;
    const int t = ShadowThickness();
    const int w = deck.CardWidth;
    const int h = deck.CardHeight;
    if (!IsDrawing()) {
        // Unwatched, the flip leaves the card in place with its new side; the
        // lift has moved it to the top of the drawing order.
        AnimationFrames += FlipFrameCount(std::min(TurnOverAnimationSpeed_, 32));
        LiftCard(card);
        if (LiftOffset_) {
            RemoveFromZList(card);
            ZList_.push_back(card);
        }
        card->FaceUp = !card->FaceUp;
        DrawCard(card, card->X, card->Y, 0.0f, true);
        return true;
    }
    if (LiftOffset_) {
        LiftCard(card);
        RemoveFromZList(card);
        DrawCard(card, card->X - t, card->Y - t, 0.0f, true);
        ZList_.push_back(card);
    }
    const QSize shadeSize = deck.Shadow02.isNull() ? QSize(w, h) : deck.Shadow02.size();
    const QPoint start(card->X + t, card->Y + t);
    QRect shadowRect(start, shadeSize);
    QImage shadowUnder;
    // The card's saved pixels always include the current shadow, so lifting
    // the card and then the shadow leaves the clean table.
    auto drawShadowAndCard = [&](bool frame, int d, int length) {
        tableblit::SaveArea(Surface, shadowRect, shadowUnder);
        DrawLiftShadow(shadowRect);
        if (frame) {
            tableblit::SaveArea(Surface, CardRect(card), card->UnderImage);
            FlipFrame(card, d, length);
        } else {
            DrawCard(card, card->X, card->Y, 0.0f, true);
        }
        card->OnTable = true;
    };
    auto liftShadowAndCard = [&] {
        LiftCard(card);
        tableblit::RestoreArea(Surface, shadowRect, shadowUnder);
    };
    LiftCard(card);
    drawShadowAndCard(false, 0, 0);
    card->FaceUp = !card->FaceUp;
    const QRect area = CardRect(card).united(shadowRect);
    if (TurnOverAnimationSpeed_ < 1) {
        DrawCard(card, card->X, card->Y, 0.0f, false);
        RefreshRect(area);
        Wait(200);
    } else {
        const int speed = std::min(TurnOverAnimationSpeed_, 32);
        const bool vertical = TurnOverAnimationVertical_;
        const int length = vertical ? h : w;
        const int maxSize = int(std::lround(1.4 * length));
        const int quarter = length / 4;
        int offset = 0;
        int size = length;
        int d = 0;
        do {
            const QRect before = CardRect(card).united(shadowRect);
            liftShadowAndCard();
            d = std::min(d + speed, length);
            if (d < quarter) {
                offset += speed;
                size -= 4 * speed;
            } else if (d < 2 * quarter) {
                offset += speed;
                size = std::min(size + 4 * speed, maxSize);
            } else if (d < 3 * quarter) {
                offset = std::max(offset - speed, 0);
                size = std::min(size + 2 * speed, maxSize);
            } else {
                offset = std::max(offset - speed, 0);
                size = std::max(size - 2 * speed, length);
            }
            const int shown = std::max(size, 1);
            shadowRect = vertical ? QRect(start.x(), start.y() + offset, shadeSize.width(), shown)
                                  : QRect(start.x() + offset, start.y(), shown, shadeSize.height());
            drawShadowAndCard(true, d, length);
            ++AnimationFrames;
            RefreshRect(before.united(CardRect(card)).united(shadowRect));
            Wait(1);
        } while (d < length);
        Wait(200);
    }
    const QRect last = CardRect(card).united(shadowRect);
    liftShadowAndCard();
    DrawCard(card, card->X, card->Y, 0.0f, true);
    card->OnTable = true;
    RefreshRect(last);
    Wait(100);
    if (LiftOffset_) {
        const QRect lifted = CardRect(card);
        LiftCard(card);
        RemoveFromZList(card);
        DrawCard(card, card->X + t, card->Y + t, 0.0f, true);
        ZList_.push_back(card);
        RefreshRect(lifted.united(CardRect(card)));
    }
    return true;
}

// ------------------------------------------------------------ RotateCard

void TCardTable::RotateCard(TCard* card, float angle)
{
    if (card == nullptr || !card->OnTable || card->Angle == angle)
        return;
    const QRect before = CardRect(card);
    const std::vector<TCard*> covering = CollectCovering(card, false);
    LiftCards(covering);
    LiftCard(card);
    DrawCard(card, card->X, card->Y, angle, true);
    card->OnTable = true;
    RedrawCards(covering);
    RefreshRect(before.united(CardRect(card)));
}
