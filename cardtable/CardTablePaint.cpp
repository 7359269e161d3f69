// The Surface: background, pile bases and the drawing of single cards.
#include "cardtable/CardTable.h"

#include <system_error>

#include <QPaintEvent>
#include <QPainter>

#include "cardtable/CardTableBlit.h"
#include "cardtable/ImageArrayUnit.h"
#include "cardtable/MyGrphx.h"
#include "platform/FilePath.h"

using tableblit::Blit;
using tableblit::TRop;

namespace fs = std::filesystem;

namespace {

// The existing file a background name refers to, whatever its letter case.
std::optional<fs::path> ExistingFile(const std::string& name)
{
    if (name.empty() || name == "None")
        return std::nullopt;
    std::error_code error;
    const fs::path path(name);
    if (fs::is_regular_file(path, error))
        return path;
    std::optional<fs::path> found;
    if (path.is_absolute())
        found = platform::FindPath(path.root_path(), path.relative_path().generic_string());
    else
        found = platform::FindPath(fs::current_path(error), name);
    if (found && fs::is_regular_file(*found, error))
        return found;
    return std::nullopt;
}

// Some gradient fills leave the fourth byte 0; an RGB32 surface wants 0xFF.
void MakeOpaque(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xFF000000u;
    }
}

bool IsShadeSlot(int index) { return index == TCardDeck::SlotCount; }

} // namespace

// ------------------------------------------------------------ background

void TCardTable::RecreateSurface()
{
    const QSize wanted(std::max(1, width()), std::max(1, height()));
    if (Surface.size() != wanted || Surface.format() != QImage::Format_RGB32)
        Surface = QImage(wanted, QImage::Format_RGB32);
}

void TCardTable::FillSurface()
{
    if (BackDrop_->Enabled()) {
        BackDrop_->Paint(Surface);
        MakeOpaque(Surface);
    } else {
        Surface.fill(Color_.rgb());
    }
}

void TCardTable::SetColor(const QColor& colour)
{
    Color_ = colour.isValid() ? colour : Color_;
    BackgroundPicture_ = "None";
    if (DeferPainting)
        return;
    RecreateSurface();
    FillSurface();
    DrawAllOnBackground();
    update();
}

void TCardTable::SetBackgroundPicture(const std::string& file) { LoadBackground(file); }

void TCardTable::RefreshBackground()
{
    if (BackgroundPicture_ != "None")
        LoadBackground(BackgroundPicture_);
    else
        SetColor(Color_);
}

// A picture that is missing or cannot be decoded leaves the plain colour
// (and "None"), so the table never shows a half-read picture.
void TCardTable::LoadBackground(const std::string& file)
{
    if (DeferPainting) {
        BackgroundPicture_ = file.empty() ? "None" : file;
        return;
    }
    std::optional<QImage> picture;
    if (const auto path = ExistingFile(file)) {
        if (IsJpegName(*path)) {
            // A JPEG is decoded once and kept: resizes and redraws reuse it.
            if (JpegPicture.isNull() || JpegFile != path->string()) {
                JpegPicture = QImage();
                JpegFile.clear();
                if (auto decoded = ReadJpegFile(*path, JpegPerformance_)) {
                    JpegPicture = std::move(*decoded);
                    JpegFile = path->string();
                }
            }
            if (!JpegPicture.isNull())
                picture = JpegPicture;
        } else {
            picture = ReadBitmapFile(*path);
        }
    }
    if (!picture || picture->isNull()) {
        SetColor(Color_);
        return;
    }
    RecreateSurface();
    PaintBackgroundPicture(tableblit::As32(*picture));
    BackgroundPicture_ = file;
    if (BackDrop_->Enabled())
        BackDrop_->SetEnabled(false);
    DrawAllOnBackground();
    update();
}

void TCardTable::PaintBackgroundPicture(const QImage& picture)
{
    if (StretchBackground_) {
        tableblit::StretchBlit(Surface, Surface.rect(), picture, TRop::Copy);
        return;
    }
    // Tiles from the top-left corner; the last row and column are clipped.
    for (int y = 0; y < Surface.height(); y += picture.height())
        for (int x = 0; x < Surface.width(); x += picture.width())
            Blit(Surface, QPoint(x, y), picture, TRop::Copy);
    MakeOpaque(Surface);
}

void TCardTable::BackDropChanged()
{
    if (!BackDrop_->Enabled()) {
        SetColor(Color_);
        return;
    }
    BackgroundPicture_ = "None";
    if (DeferPainting)
        return;
    RecreateSurface();
    FillSurface();
    DrawAllOnBackground();
    update();
}

// Every card keeps the pixels under it to be lifted later; drawing the cards
// again over themselves would make those pixels old cards. So the
// background comes first.
void TCardTable::RedrawAll() { RefreshBackground(); }

void TCardTable::DrawAllOnBackground()
{
    const bool wasEnabled = PaintEnabled;
    PaintEnabled = false;
    Deck->ClearShadeCache();
    DrawTableArea(false);
    for (int i = 1; i <= TCardDeck::SlotCount; ++i) {
        TCardSlot& slot = Deck->Slots[std::size_t(i)];
        if (slot.Placed)
            DrawSlot(*Deck, i, slot.X, slot.Y, slot.Angle, true);
    }
    for (int i = Deck->Count(); i > Deck->DealtCount; --i) {
        TCard* card = Deck->Cards[std::size_t(i)];
        if (card->OnTable)
            DrawCard(card, card->X, card->Y, card->Angle, true);
    }
    PaintEnabled = wasEnabled;
    for (TCard* card : ZList_)
        DrawCard(card, card->X, card->Y, card->Angle, true);
    if (DragCard != nullptr && DragCard->OnTable) {
        if (ShadowShown)
            DrawShadow(DragCard->X, DragCard->Y);
        DrawCard(DragCard, DragCard->X, DragCard->Y, 0.0f, true);
    }
    DrawTableArea(true);
    if (Sprite.Shown)
        Sprite.Redraw();
}

void TCardTable::DrawTableArea(bool afterCards)
{
    if (!TableArea.Enabled || afterCards != (TableArea.Kind == 9) || TableArea.Kind != 0)
        return;
    QPainter painter(&Surface);
    painter.setPen(Qt::black);
    painter.drawRect(TableArea.Area.adjusted(0, 0, -1, -1));
}

void TCardTable::paintEvent(QPaintEvent* event)
{
    if (!PaintEnabled)
        return;
    QPainter painter(this);
    for (const QRect& rect : event->region())
        painter.drawImage(rect, Surface, rect);
    DrawFocusRing(painter);
}

// ------------------------------------------------------------ one card

QRect TCardTable::UprightRect(const TCard* card) const
{
    return QRect(card->X, card->Y, card->Deck->CardWidth, card->Deck->CardHeight);
}

QRect TCardTable::CardRect(const TCard* card) const
{
    if (card->Angle != 0.0f)
        return QRect(card->RotLeft, card->RotTop, card->RotWidth, card->RotHeight);
    return UprightRect(card);
}

namespace {

// A pile at a fixed angle turns its pictures once, not once per card or
// per deal. The cache holds a few dozen pictures at most; a stale source key
// (a card set changed) never matches again and leaves with the next clear.
const TRenderedImage& TurnedPicture(TTurnedPictures& cache, const QImage& source, float angle, bool fillWhite)
{
    const qint64 key = source.cacheKey();
    for (const TTurnedPictures::TEntry& entry : cache.Entries)
        if (entry.SourceKey == key && entry.Angle == angle)
            return entry.Turned;
    if (cache.Entries.size() >= 64)
        cache.Entries.clear();
    cache.Entries.push_back({key, angle, RotatePicture(source, angle, fillWhite)});
    return cache.Entries.back().Turned;
}

} // namespace

QImage TCardTable::RotatedMaskFor(const TCardDeck& deck, float angle)
{
    // White fill: outside the turned outline the table shows through.
    return TurnedPicture(RotatedMasks, deck.MaskImage, angle, true).Image;
}

const QImage& TCardTable::RotatedBackFor(TCardDeck& deck, float angle)
{
    deck.RotatedBack = TurnedPicture(RotatedBacks, deck.BackImage, angle, false).Image;
    return deck.RotatedBack;
}

// Draws a card with its top-left at x, y. The card mask clears the card's
// outline (AND), then the picture, black outside the outline, is ORed in, so
// the rounded corners keep the table. Turned cards go through their turned
// mask the same way.
void TCardTable::DrawCard(TCard* card, int x, int y, float angle, bool saveBackground)
{
    TCardDeck& deck = *card->Deck;
    card->X = x;
    card->Y = y;
    if (angle != card->Angle)
        card->SetAngle(angle);
    if (card->Angle != 0.0f) {
        card->RotLeft = x + deck.CardWidth / 2 - card->RotCentreX;
        card->RotTop = y + deck.CardHeight / 2 - card->RotCentreY;
    }
    const QRect rect = CardRect(card);
    if (saveBackground)
        tableblit::SaveArea(Surface, rect, card->UnderImage);
    if (card->Angle != 0.0f) {
        const QImage mask = RotatedMaskFor(deck, card->Angle);
        const QImage& picture = card->FaceUp ? card->TurnedFace() : RotatedBackFor(deck, card->Angle);
        tableblit::MaskedCopy(Surface, rect.topLeft(), picture, mask);
        return;
    }
    tableblit::MaskThenOr(Surface, QPoint(x, y), deck.MaskImage, card->FaceUp ? card->FaceImage : deck.BackImage);
}

void TCardTable::LiftCard(TCard* card) { tableblit::RestoreArea(Surface, CardRect(card), card->UnderImage); }

// ------------------------------------------------------------ pile bases

QRect TCardTable::SlotRect(const TCardDeck& deck, int index) const
{
    const TCardSlot& slot = deck.Slots[std::size_t(index)];
    if (slot.Angle != 0.0f)
        return QRect(slot.RotLeft, slot.RotTop, slot.RotWidth, slot.RotHeight);
    return QRect(slot.X, slot.Y, deck.CardWidth, deck.CardHeight);
}

const QImage& TCardTable::ShadePicture(const TCardDeck& deck) const
{
    const bool alternative = !DropAngles.empty() && (deck.DeckName() == "C_1" || deck.DeckName() == "C_2");
    return alternative ? deck.Shadow02 : deck.BaseImages[6];
}

void TCardTable::DrawSlot(TCardDeck& deck, int index, int x, int y, float angle, bool rebuild)
{
    TCardSlot& slot = deck.Slots[std::size_t(index)];
    const bool shade = IsShadeSlot(index);
    const QImage& base = shade ? ShadePicture(deck) : (slot.BaseImage ? *slot.BaseImage : deck.BaseImages[0]);
    slot.X = x;
    slot.Y = y;
    if (angle != 0.0f) {
        if (rebuild || shade || angle != slot.Angle || slot.RotatedImage.isNull()) {
            // White fill keeps the table outside the turned base under AND.
            const TRenderedImage& turned = TurnedPicture(RotatedBases, base, angle, true);
            slot.RotatedImage = turned.Image;
            slot.RotCentreX = turned.Centre.x();
            slot.RotCentreY = turned.Centre.y();
            slot.RotWidth = slot.RotatedImage.width();
            slot.RotHeight = slot.RotatedImage.height();
        }
        slot.Angle = angle;
        slot.RotLeft = x + deck.CardWidth / 2 - slot.RotCentreX;
        slot.RotTop = y + deck.CardHeight / 2 - slot.RotCentreY;
    } else {
        slot.Angle = 0.0f;
    }
    const QRect rect = SlotRect(deck, index);
    tableblit::SaveArea(Surface, rect, slot.SavedSurface);
    if (shade && HQDragShade_)
        DrawQualityShade(deck, slot, rect);
    else
        Blit(Surface, rect.topLeft(), angle != 0.0f ? slot.RotatedImage : base, TRop::And);
    slot.Placed = true;
}

// The drop target shows the table itself tinted inside the card outline. The
// tint is worked out once per drop point and kept until the pointer leaves it.
void TCardTable::DrawQualityShade(TCardDeck& deck, TCardSlot& slot, const QRect& rect)
{
    const QPoint at(slot.X, slot.Y);
    const bool turned = slot.Angle != 0.0f;
    const QImage mask = turned ? RotatedMaskFor(deck, slot.Angle) : deck.MaskImage;
    if (!deck.DragShadeCacheValid || deck.DragShadeCachePos != at || deck.DragShadeImage.size() != rect.size()) {
        deck.DragShadeImage = Surface.copy(rect);
        Darken(deck.DragShadeImage, false, false, HQDragShadeColour_);
        deck.DragShadeImage = tableblit::As32(deck.DragShadeImage);
        deck.DragShadeMask = mask;
        if (!turned)
            Blit(deck.DragShadeImage, QPoint(0, 0), deck.InverseMask, TRop::And);
        deck.DragShadeCacheValid = true;
        deck.DragShadeCachePos = at;
    }
    if (turned) {
        tableblit::MaskedCopy(Surface, rect.topLeft(), deck.DragShadeImage, deck.DragShadeMask);
        return;
    }
    Blit(Surface, rect.topLeft(), deck.MaskImage, TRop::And);
    Blit(Surface, rect.topLeft(), deck.DragShadeImage, TRop::Or);
}

void TCardTable::LiftSlot(TCardDeck& deck, int index)
{
    TCardSlot& slot = deck.Slots[std::size_t(index)];
    tableblit::RestoreArea(Surface, SlotRect(deck, index), slot.SavedSurface);
    slot.Placed = false;
}

namespace {

// Slot index of (kind, number), or 0 when the pair names no slot.
int SlotIndex(int kind, int number)
{
    if (kind < 0 || kind > 6 || number < 1)
        return 0;
    const int index = TCardDeck::FirstSlot(kind) + number - 1;
    const int last = kind == 6 ? TCardDeck::SlotCount : TCardDeck::FirstSlot(kind + 1) - 1;
    return index <= last ? index : 0;
}

} // namespace

void TCardTable::PlaceBottom(int kind, int x, int y, int number, TCardDeck* deckArg, float angle, bool refresh)
{
    const int index = SlotIndex(kind, number);
    TCardDeck& deck = DeckOr(deckArg);
    if (index == 0 || deck.Slots[std::size_t(index)].Placed)
        return;
    const bool lifted = LiftDragged();
    DrawSlot(deck, index, x, y, angle, false);
    if (lifted) {
        RedrawDragged();
        if (kind == 6)
            ShadeShown = true;
    }
    if (refresh)
        RefreshRect(SlotRect(deck, index));
}

void TCardTable::RemoveBottom(int kind, int number, TCardDeck* deckArg, bool refresh)
{
    const int index = SlotIndex(kind, number);
    TCardDeck& deck = DeckOr(deckArg);
    if (index == 0 || !deck.Slots[std::size_t(index)].Placed)
        return;
    const bool lifted = LiftDragged();
    LiftSlot(deck, index);
    if (lifted) {
        RedrawDragged();
        if (kind == 6)
            ShadeShown = false;
    }
    if (refresh)
        RefreshRect(SlotRect(deck, index));
}

void TCardTable::ClearBottoms(TCardDeck* deckArg)
{
    TCardDeck& deck = DeckOr(deckArg);
    for (int i = TCardDeck::SlotCount; i >= 1; --i)
        if (deck.Slots[std::size_t(i)].Placed)
            LiftSlot(deck, i);
    RefreshRect(rect());
}
