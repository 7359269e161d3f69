#include "cardtable/Sprite.h"

#include <algorithm>
#include <chrono>

#include <QCoreApplication>

#include "cardtable/CardTable.h"
#include "cardtable/CardTableBlit.h"

namespace {

using Clock = std::chrono::steady_clock;

bool Elapsed(Clock::time_point start, int milliseconds)
{
    return Clock::now() - start >= std::chrono::milliseconds(milliseconds);
}

} // namespace

TSprite::TSprite(TCardTable* table)
    : Table(table)
{
}

void TSprite::TakeCard(const TCard* card)
{
    Source = card->FaceImage.copy();
    SourceArray.Load(Source);
    if (card->Deck != nullptr)
        MaskArray.Load(card->Deck->MaskImage);
    X = card->X;
    Y = card->Y;
}

void TSprite::Draw()
{
    if (Source.isNull())
        return;
    QImage& surface = Table->Surface;
    QRect old;
    if (Shown) {
        old = Rect();
        tableblit::RestoreArea(surface, old, Saved);
    }
    const QPoint centre(Source.width() / 2, Source.height() / 2);
    // A long zoom could otherwise ask for pictures of gigabytes; beyond twice
    // the table's size nothing more of it can be seen anyway.
    const float limit = 2.0f * std::max(float(surface.width()) / float(Source.width()),
                                        float(surface.height()) / float(Source.height()));
    const float scale = std::min(Scale, std::max(1.0f, limit));
    const QPoint landed = SourceArray.Render(Rendered, centre, false, false, scale, Angle);
    MaskArray.Render(RenderedMask, centre, true, false, scale, Angle);
    CentreX = landed.x();
    CentreY = landed.y();
    Left = X + Source.width() / 2 - CentreX;
    Top = Y + Source.height() / 2 - CentreY;
    Width = Rendered.width();
    Height = Rendered.height();
    tableblit::SaveArea(surface, Rect(), Saved);
    if (RenderedMask.size() == Rendered.size())
        tableblit::MaskedCopy(surface, Rect().topLeft(), Rendered, RenderedMask);
    else
        tableblit::Blit(surface, Rect().topLeft(), Rendered, tableblit::TRop::Transparent,
                        tableblit::TransparentKey(Rendered));
    Shown = true;
    Table->RefreshRect(old.united(Rect()));
    if (OnDrawn)
        OnDrawn(Scale, Angle);
}

void TSprite::Hide()
{
    if (!Shown)
        return;
    tableblit::RestoreArea(Table->Surface, Rect(), Saved);
    Shown = false;
    Table->RefreshRect(Rect());
}

void TSprite::Redraw()
{
    // The Surface under the sprite was rebuilt: what was saved is stale.
    Shown = false;
    Draw();
}

void TSprite::Zoom(const TCard* card, int duration, float step, bool returnBack)
{
    if (card == nullptr)
        return;
    if (!Table->IsDrawing()) {
        Hide();
        return;
    }
    TakeCard(card);
    Scale = 1.0f;
    // A spin leaves its last angle behind; a zoom always shows the card upright.
    Angle = 0.0f;
    Draw();
    auto start = Clock::now();
    while (!Elapsed(start, duration)) {
        Scale += step;
        Draw();
    }
    if (returnBack) {
        start = Clock::now();
        for (;;) {
            Scale -= step;
            if (Scale < 1.0f || Elapsed(start, duration))
                break;
            Draw();
        }
    }
    Hide();
    QCoreApplication::processEvents();
}

void TSprite::Highlight(const TCard* card, float scale)
{
    if (card == nullptr)
        return;
    Hide();
    TakeCard(card);
    Angle = card->Angle;
    Scale = scale;
    Draw();
}

void TSprite::Spin(const TCard* card, int duration, float step)
{
    if (card == nullptr)
        return;
    if (!Table->IsDrawing()) {
        Hide();
        return;
    }
    TakeCard(card);
    Angle = card->Angle;
    Draw();
    const auto start = Clock::now();
    while (!Elapsed(start, duration)) {
        Angle += step;
        Draw();
    }
    Hide();
    QCoreApplication::processEvents();
}
