#include "cardtable/Card.h"

#include <algorithm>
#include <cmath>

#include "cardtable/ImageArrayUnit.h"
#include "cardtable/Random.h"

// ---------------------------------------------------------------- TCard

TCard::TCard(TCardDeck* deck)
    : Deck(deck)
{
}

void TCard::Assign(const TCard& source)
{
    FaceUp = source.FaceUp;
    Suit = source.Suit;
    Value = source.Value;
    UnderImage = source.UnderImage.copy();
    X = source.X;
    Y = source.Y;
    Status = source.Status;
    OnTable = source.OnTable;
    FaceImage = source.FaceImage.copy();
    Angle = 0.0f;
    SetAngle(source.Angle);
}

void TCard::SetAngle(float angle)
{
    Angle = angle;
    if (angle == 0.0f || FaceImage.isNull())
        return;
    const TTurnedGeometry turned =
        TurnedGeometry(FaceImage.size(), QPoint(FaceImage.width() / 2, FaceImage.height() / 2), 1.0, angle);
    RotCentreX = turned.Centre.x();
    RotCentreY = turned.Centre.y();
    RotWidth = turned.Size.width();
    RotHeight = turned.Size.height();
}

const QImage& TCard::TurnedFace()
{
    // Without a face the last turned face stays, as it always has.
    if (FaceImage.isNull())
        return RotatedImage;
    if (RotatedImage.isNull() || RotatedFaceKey != FaceImage.cacheKey() || RotatedFaceAngle != Angle) {
        RotatedImage = RotatePicture(FaceImage, Angle).Image;
        RotatedFaceKey = FaceImage.cacheKey();
        RotatedFaceAngle = Angle;
    }
    return RotatedImage;
}

int TCard::PipValue() const { return std::min(int(Value) + 1, 10); }

// ---------------------------------------------------------------- TCardDeck

namespace {

// The canonical pack order; saved games name cards by their place in it, so
// it must not change. Jokers follow the suited cards, numbered 0, 1, 2, 3.
TCardSuit CanonicalSuit(int index, int count)
{
    return index > count - count % 52 ? csJoker : TCardSuit((index - 1) % 4);
}

TCardValue CanonicalValue(int index, int count)
{
    const int suited = count - count % 52;
    return index > suited ? TCardValue(index - suited - 1) : TCardValue(((index - 1) / 4) % 13);
}

bool ValidCardCount(int n) { return n > 51 && n <= TCardDeck::MaxCards && n % 52 < 5; }

} // namespace

TCardDeck::TCardDeck(TCardTable* owner, TFolderPrompt prompt)
    : Table(owner)
{
    TCardsetsSearch search = CurrentCardsetsSearch();
    search.Prompt = std::move(prompt);
    CardsetsFolder_ = LocateCardsetsFolder(search);
    LoadSet("Standard", 52);
}

TCardDeck::TCardDeck(TCardTable* owner, const std::filesystem::path& cardsetsFolder)
    : Table(owner)
{
    if (!HoldsStandardSet(cardsetsFolder))
        throw ECardTableError(CardsetsNotFoundMessage);
    CardsetsFolder_ = cardsetsFolder;
    LoadSet("Standard", 52);
}

TCardDeck::~TCardDeck() = default;

TCardSetFolders TCardDeck::Folders() const { return {CardsetsFolder_, UserCardsetsFolder_}; }

void TCardDeck::CreateCards(int count)
{
    OwnedCards.clear();
    Cards.fill(nullptr);
    for (int i = 1; i <= count; ++i) {
        auto card = std::make_unique<TCard>(this);
        card->Suit = CanonicalSuit(i, count);
        card->Value = CanonicalValue(i, count);
        card->FaceUp = DefaultFaceUp_;
        if (CardWidth > 0 && CardHeight > 0)
            card->UnderImage = QImage(CardWidth, CardHeight, QImage::Format_RGB32);
        Cards[std::size_t(i)] = card.get();
        OwnedCards.push_back(std::move(card));
    }
    Count_ = count;
    DealtCount = 0;
}

void TCardDeck::LoadSet(const std::string& name, int count)
{
    TCardSetImages images = LoadCardSetImages(Folders(), name, count % 52 != 0, 1, Scale_);
    if (count != Count_ || OwnedCards.empty())
        CreateCards(count);
    ApplySet(std::move(images), name);
}

void TCardDeck::ApplySet(TCardSetImages&& images, const std::string& name)
{
    DeckName_ = name;
    BackCount_ = images.BackCount;
    CardBack_ = images.BackNumber;
    for (int i = 1; i <= Count_; ++i) {
        TCard* card = Cards[std::size_t(i)];
        card->FaceImage = images.Faces[std::size_t(FaceIndex(card->Suit, card->Value))];
    }
    BackImage = std::move(images.Back);
    MaskImage = std::move(images.Mask);
    InverseMask = std::move(images.InverseMask);
    Shadow00 = std::move(images.Shadow00);
    Shadow01 = std::move(images.Shadow01);
    Shadow02 = std::move(images.Shadow02);
    Shadow00M = std::move(images.Shadow00M);
    Shadow00IM = std::move(images.Shadow00IM);
    Shadow01M = std::move(images.Shadow01M);
    Shadow01IM = std::move(images.Shadow01IM);
    BaseImages = std::move(images.BaseImages);
    const bool resized = CardWidth != BackImage.width() || CardHeight != BackImage.height();
    CardWidth = BackImage.width();
    CardHeight = BackImage.height();
    PointSlotsAtBases();
    // A reload at the same size keeps what the table saved under its cards
    // (rotated cards hold larger pictures there).
    if (resized)
        ResizeWorkImages();
    RebuildRotations();
    ClearShadeCache();
}

void TCardDeck::PointSlotsAtBases()
{
    for (int kind = 0; kind <= 6; ++kind) {
        const int last = kind == 6 ? SlotCount : FirstSlot(kind + 1) - 1;
        for (int index = FirstSlot(kind); index <= last; ++index)
            Slots[std::size_t(index)].BaseImage = &BaseImages[std::size_t(kind)];
    }
}

// Saved-surface pictures follow the card size, so a lift after a rescale
// never copies a stale size back.
void TCardDeck::ResizeWorkImages()
{
    const QSize size(CardWidth, CardHeight);
    auto fit = [&size](QImage& image) {
        if (image.size() != size)
            image = QImage(size, QImage::Format_RGB32);
    };
    for (auto& card : OwnedCards)
        fit(card->UnderImage);
    for (std::size_t i = 1; i < Slots.size(); ++i)
        fit(Slots[i].SavedSurface);
    fit(DragShadeImage);
    fit(DragShadeWork);
    if (Shadow00Under.size() != Shadow00.size())
        Shadow00Under = QImage(Shadow00.size(), QImage::Format_RGB32);
    if (Shadow01Under.size() != Shadow01.size())
        Shadow01Under = QImage(Shadow01.size(), QImage::Format_RGB32);
}

void TCardDeck::RebuildRotations()
{
    for (auto& card : OwnedCards)
        if (card->Angle != 0.0f)
            card->SetAngle(card->Angle);
    for (std::size_t i = 1; i < Slots.size(); ++i) {
        TCardSlot& slot = Slots[i];
        if (slot.Angle == 0.0f || slot.BaseImage == nullptr || slot.BaseImage->isNull())
            continue;
        TRenderedImage rotated = RotatePicture(*slot.BaseImage, slot.Angle);
        slot.RotatedImage = std::move(rotated.Image);
        slot.RotCentreX = rotated.Centre.x();
        slot.RotCentreY = rotated.Centre.y();
        slot.RotWidth = slot.RotatedImage.width();
        slot.RotHeight = slot.RotatedImage.height();
    }
}

void TCardDeck::Assign(const TCardDeck& source)
{
    if (&source == this)
        return;
    for (int i = 1; i <= Count_ && i <= source.Count_; ++i)
        Cards[std::size_t(i)]->Assign(*source.Cards[std::size_t(i)]);
    DealtCount = std::min(source.DealtCount, Count_);
    DeckName_ = source.DeckName_;
    BackCount_ = source.BackCount_;
    CardBack_ = source.CardBack_;
    BackImage = source.BackImage.copy();
    MaskImage = source.MaskImage.copy();
    InverseMask = source.InverseMask.copy();
    CardHeight = source.CardHeight;
    CardWidth = source.CardWidth;
    CardsetsFolder_ = source.CardsetsFolder_;
    DefaultFaceUp_ = source.DefaultFaceUp_;
    Shadow00 = source.Shadow00.copy();
    Shadow01 = source.Shadow01.copy();
    Shadow02 = source.Shadow02.copy();
    Shadow00M = source.Shadow00M.copy();
    Shadow00IM = source.Shadow00IM.copy();
    Shadow01M = source.Shadow01M.copy();
    Shadow01IM = source.Shadow01IM.copy();
    Shadow00Pos = source.Shadow00Pos;
    Shadow01Pos = source.Shadow01Pos;
    Scale_ = source.Scale_;
    ScaleStep_ = source.ScaleStep_;
    StockX = source.StockX;
    StockY = source.StockY;
    for (std::size_t i = 0; i < BaseImages.size(); ++i)
        BaseImages[i] = source.BaseImages[i].copy();
    PointSlotsAtBases();
    ResizeWorkImages();
    DragShadeImage = source.DragShadeImage.copy();
    DragShadeMask = source.DragShadeMask.copy();
    DragShadeWork = source.DragShadeWork.copy();
    ClearShadeCache();
}

TCard* TCardDeck::NextCard()
{
    if (DealtCount >= Count_)
        return nullptr;
    ++DealtCount;
    TCard* card = Cards[std::size_t(DealtCount)];
    card->Status = 1;
    return card;
}

TCard* TCardDeck::TakeCard(int n)
{
    if (n <= 0 || StockCount() < n)
        return nullptr;
    const int i = DealtCount + n;
    TCard* card = Cards[std::size_t(i)];
    card->Status = 1;
    ++DealtCount;
    // The cards before it in the stock move up one place, keeping their order.
    std::move_backward(Cards.begin() + DealtCount, Cards.begin() + i, Cards.begin() + i + 1);
    Cards[std::size_t(DealtCount)] = card;
    return card;
}

void TCardDeck::ReturnCard(TCard* card)
{
    if (card == nullptr || card->Deck != this || card->OnTable || card->Status == 0)
        return;
    for (int i = DealtCount; i >= 1; --i) {
        if (Cards[std::size_t(i)] != card)
            continue;
        Cards[std::size_t(i)] = Cards[std::size_t(DealtCount)];
        Cards[std::size_t(DealtCount)] = card;
        card->Status = 0;
        card->FaceUp = DefaultFaceUp_;
        --DealtCount;
        return;
    }
}

void TCardDeck::ReturnCards(const std::vector<TCard*>& list, int high)
{
    const int last = std::min(high, int(list.size()) - 1);
    for (int k = 0; k <= last; ++k) {
        TCard* card = list[std::size_t(k)];
        if (card == nullptr)
            return;
        if (card->Status == 0)
            continue;
        for (int i = DealtCount; i >= 1; --i) {
            if (Cards[std::size_t(i)] != card)
                continue;
            std::move(Cards.begin() + i + 1, Cards.begin() + Count_ + 1, Cards.begin() + i);
            Cards[std::size_t(Count_)] = card;
            card->Status = 0;
            card->FaceUp = DefaultFaceUp_;
            --DealtCount;
            break;
        }
    }
}

void TCardDeck::CollectAll()
{
    DealtCount = 0;
    for (auto& card : OwnedCards) {
        card->FaceUp = DefaultFaceUp_;
        card->Status = 0;
        card->OnTable = false;
    }
}

// Saved games replay a deal from its seed, so the number of draws and the
// exchange rule are part of the file format.
void TCardDeck::Shuffle()
{
    for (int i = DealtCount + 1; i <= Count_; ++i) {
        const int j = Random(Count_ - 1 - DealtCount) + 1 + DealtCount;
        std::swap(Cards[std::size_t(i)], Cards[std::size_t(j)]);
        for (TCard* card : {Cards[std::size_t(i)], Cards[std::size_t(j)]}) {
            card->Status = 0;
            card->FaceUp = DefaultFaceUp_;
            card->OnTable = false;
        }
    }
}

void TCardDeck::Sort()
{
    const int suited = Count_ - Jokers();
    auto placeFirst = [this](int k, TCardSuit suit, int value) {
        for (int m = k; m <= Count_; ++m) {
            TCard* card = Cards[std::size_t(m)];
            if (card->Suit == suit && card->Value == value) {
                std::swap(Cards[std::size_t(k)], Cards[std::size_t(m)]);
                return;
            }
        }
    };
    int value = 0;
    int suit = 0;
    for (int k = 1; k <= suited; ++k) {
        placeFirst(k, TCardSuit(suit), value);
        if (k % 4 == 0)
            value = (value + 1) % 13;
        suit = (suit + 1) % 4;
    }
    for (int k = suited + 1; k <= Count_; ++k)
        placeFirst(k, csJoker, k - suited - 1);
}

void TCardDeck::SetDefaultFaceUp(bool faceUp)
{
    if (faceUp == DefaultFaceUp_)
        return;
    DefaultFaceUp_ = faceUp;
    for (auto& card : OwnedCards)
        if (card->Status == 0)
            card->FaceUp = faceUp;
}

void TCardDeck::SetCardCount(int n)
{
    if (n == Count_ || !ValidCardCount(n))
        return;
    // Load first: a set that cannot supply the new faces leaves the old pack.
    const int back = CardBack_;
    TCardSetImages images = LoadCardSetImages(Folders(), DeckName_, n % 52 != 0, back, Scale_);
    CreateCards(n);
    ApplySet(std::move(images), DeckName_);
    if (DefaultFaceUp_)
        for (auto& card : OwnedCards)
            card->FaceUp = true;
}

TCard* TCardDeck::CardByIndex(int i) const
{
    if (i < 1 || i > Count_)
        return nullptr;
    return Cards[std::size_t(i)];
}

void TCardDeck::SetScaleStep(int step)
{
    if (step == ScaleStep_ || step < -2 || step > 5)
        return;
    SetCardScale(ScaleFactor(step));
    ScaleStep_ = step;
}

void TCardDeck::SetCardScale(float factor)
{
    if (factor == Scale_ || !(factor > 0.2f))
        return;
    TCardSetImages images = LoadCardSetImages(Folders(), DeckName_, Jokers() != 0, CardBack_, factor);
    Scale_ = factor;
    ScaleStep_ = 1;
    ApplySet(std::move(images), DeckName_);
}

float TCardDeck::ScaleFactor(int step) const
{
    struct Row {
        const char* Name;
        float Small2, Small1, Large2;
    };
    // Sets drawn at odd native sizes get their own small steps so that the
    // reduced cards land on whole pixels.
    static constexpr Row Rows[] = {
        {"Standard", 0.599f, 0.797f, 1.25f},
        {"Gdkcard-bonded", 0.614f, 0.7929f, 1.25f},
        {"Xpat2-nox-large", 0.614f, 0.7929f, 1.25f},
        {"Hard-a-port", 0.65499f, 0.83889f, 1.25f},
        {"Xskat-french-large", 0.63999f, 0.81789f, 1.251f},
    };
    Row row{"", 0.59f, 0.7608f, 1.25f};
    for (const Row& candidate : Rows)
        if (DeckName_ == candidate.Name)
            row = candidate;
    switch (step) {
    case -2: return row.Small2;
    case -1: return row.Small1;
    case 2: return row.Large2;
    case 3: return 1.5f;
    case 4: return 1.75f;
    case 5: return 2.0f;
    default: return 1.0f;
    }
}

void TCardDeck::SetDeckName(const std::string& name)
{
    if (!SetExists(Folders(), name) || name == DeckName_)
        return;
    float scale = Scale_;
    if (ScaleStep_ != 1) {
        const std::string old = DeckName_;
        DeckName_ = name;
        scale = ScaleFactor(ScaleStep_);
        DeckName_ = old;
    }
    // The back number is reset to 1 on every set change.
    TCardSetImages images = LoadCardSetImages(Folders(), name, Jokers() != 0, 1, scale);
    Scale_ = scale;
    ApplySet(std::move(images), name);
}

void TCardDeck::SetCardBack(int number)
{
    if (number == CardBack_)
        return;
    auto [picture, loaded] = LoadBackPicture(Folders(), DeckName_, number, Scale_);
    BackImage = std::move(picture);
    CardBack_ = loaded;
}

bool TCardDeck::BackExists(int number) const
{
    return number >= 1 && FindSetFile(Folders(), DeckName_, BackFileName(number)).has_value();
}

void TCardDeck::SetUserCardsetsFolder(const std::string& path)
{
    const std::filesystem::path folder(path);
    if (folder != UserCardsetsFolder_)
        UserCardsetsFolder_ = folder;
}

std::vector<std::string> TCardDeck::AvailableDeckNames() const
{
    std::vector<std::string> names;
    for (const auto& root : {CardsetsFolder_, UserCardsetsFolder_}) {
        std::error_code error;
        if (root.empty() || !std::filesystem::is_directory(root, error))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(root, error)) {
            const std::string name = entry.path().filename().string();
            if (!name.empty() && name[0] != '.' && entry.is_directory(error))
                names.push_back(name);
        }
    }
    auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        return text;
    };
    std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
    names.erase(std::unique(names.begin(), names.end(), [&](const std::string& a, const std::string& b) { return lower(a) == lower(b); }),
                names.end());
    return names;
}

int TCardDeck::FirstSlot(int kind)
{
    static constexpr int First[] = {1, 21, 34, 35, 36, 37, 38};
    return kind >= 0 && kind <= 6 ? First[kind] : 1;
}
