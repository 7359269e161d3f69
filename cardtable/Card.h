#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QPoint>

#include "cardtable/CardSet.h"

class TCardTable;
class TCardDeck;

// Ordinals are stored in saved games and compared by the engine: never reorder.
enum TCardSuit : std::uint8_t { csClub = 0, csDiamond = 1, csHeart = 2, csSpade = 3, csJoker = 4 };

// Jokers reuse cvAce..cvFour (0..3) purely as their number.
enum TCardValue : std::uint8_t {
    cvAce = 0, cvTwo, cvThree, cvFour, cvFive, cvSix, cvSeven,
    cvEight, cvNine, cvTen, cvJack, cvQueen, cvKing = 12
};

// One card of the pack. Pictures are QImage RGB32; RotatedImage is drawn with
// its bottom-left pixel's colour as the transparent key (the rotation fills
// everything outside the turned card with exactly that colour).
class TCard {
public:
    explicit TCard(TCardDeck* deck);
    virtual ~TCard() = default;
    TCard(const TCard&) = delete;
    TCard& operator=(const TCard&) = delete;

    // Copies identity, state and pictures; the angle is set last so the
    // rotated face is rebuilt from the copied face.
    virtual void Assign(const TCard& source);

    // Stores the angle (radians) and, when it is not 0, sets the Rot* fields
    // from FaceImage. The turned face itself is made by TurnedFace when first
    // needed: a card turned while face down (most of a clock deal) never
    // needs it.
    void SetAngle(float angle);

    // RotatedImage for the current FaceImage and Angle (Angle != 0), made
    // now if the face or the angle changed since it was last made.
    const QImage& TurnedFace();

    // 1..10 for Ace..Ten, 10 for the court cards (jokers: value ordinal + 1).
    int PipValue() const;

    bool FaceUp = false;
    TCardSuit Suit = csClub;
    TCardValue Value = cvAce;
    QImage UnderImage;          // table pixels the card covers while it lies there
    int X = 0;
    int Y = 0;
    int Status = 0;             // 0 in the stock, 1 dealt
    bool OnTable = false;       // set and cleared by the table only
    QImage FaceImage;
    QImage RotatedImage;        // read through TurnedFace; stale until then
    float Angle = 0.0f;
    int RotCentreX = 0;
    int RotCentreY = 0;
    int RotLeft = 0;            // X + face width / 2 - RotCentreX (written by the table)
    int RotTop = 0;
    int RotWidth = 0;
    int RotHeight = 0;
    TCardDeck* Deck = nullptr;  // not owned

private:
    // What RotatedImage was made from: FaceImage's cacheKey and the angle.
    qint64 RotatedFaceKey = 0;
    float RotatedFaceAngle = 0.0f;
};

// A pile-base marker. Kinds 0..6 own the slot ranges 1-20, 21-33, 34, 35, 36,
// 37 and 38 (see TCardDeck::FirstSlot).
struct TCardSlot {
    const QImage* BaseImage = nullptr;  // one of the deck's BaseImages; the deck re-points it on every load
    QImage SavedSurface;                // table pixels under the placed base
    bool Placed = false;
    int X = 0;
    int Y = 0;
    float Angle = 0.0f;
    QImage RotatedImage;
    int RotCentreX = 0;
    int RotCentreY = 0;
    int RotLeft = 0;
    int RotTop = 0;
    int RotWidth = 0;
    int RotHeight = 0;
};

// Asked for the card sets folder when the search finds none; returns the
// typed path, or nothing when the user cancels. The table's folder prompt
// dialog provides one; without it the search fails with
// "Cardsets directory not found.".
using TFolderPrompt = std::function<std::optional<std::string>()>;

// The pack and every picture of the selected card set.
//
// Indexing: Cards, CardByIndex and Slots/SlotRecord are 1-based as the
// engine and saved games count them; Cards[0] and Slots[0] are unused.
//
// Card set selectors: the Card Deck Selector and Card Back Selector dialogs
// belong to the table (CardSetDialogs); they list AvailableDeckNames() and
// finish by calling SetDeckName / SetCardBack on the real deck.
//
// Loading is all-or-nothing: a set that fails to load (missing or damaged
// picture, no backs) raises ECardTableError and leaves the deck as it was.
class TCardDeck {
public:
    static constexpr int MaxCards = 108;
    static constexpr int SlotCount = 38;

    // Locates the card sets folder (working directory, program folder,
    // Config.txt, PATH, then `prompt`) and loads "Standard" with 52 cards.
    // Throws ECardTableError when no folder is found or the set is unusable.
    explicit TCardDeck(TCardTable* owner, TFolderPrompt prompt = {});
    // Uses `cardsetsFolder` directly (it must hold "Standard"); for preview
    // decks and tests.
    TCardDeck(TCardTable* owner, const std::filesystem::path& cardsetsFolder);
    virtual ~TCardDeck();
    TCardDeck(const TCardDeck&) = delete;
    TCardDeck& operator=(const TCardDeck&) = delete;

    // Copies another deck card by card (Count of this deck) with its pictures.
    void Assign(const TCardDeck& source);

    // --- dealing; none of these reports errors ---
    TCard* NextCard();
    TCard* TakeCard(int n);                       // n-th remaining stock card, 1-based
    void ReturnCard(TCard* card);
    void ReturnCards(const std::vector<TCard*>& list, int high);
    void CollectAll();
    void Shuffle();                               // draws from the program-wide generator
    void Sort();
    int StockCount() const { return Count_ - DealtCount; }
    void SetDefaultFaceUp(bool faceUp);
    void SetCardCount(int n);                     // 52..56 or 104..108, else ignored
    TCard* CardByIndex(int i) const;              // 1-based; nullptr outside 1..Count

    // --- size ---
    void SetScaleStep(int step);                  // -2..5
    void SetCardScale(float factor);              // > 0.2
    float ScaleFactor(int step) const;            // depends on DeckName

    // --- card sets ---
    void SetDeckName(const std::string& name);    // ignored when the set folder does not exist
    void SetCardBack(int number);                 // falls back to back 1
    void SetUserCardsetsFolder(const std::string& path);
    std::vector<std::string> AvailableDeckNames() const;  // both folders, sorted without case, unique
    bool BackExists(int number) const;

    // --- pile bases ---
    static int FirstSlot(int kind);               // 1, 21, 34, 35, 36, 37, 38 for kinds 0..6
    TCardSlot& SlotRecord(int index) { return Slots[index]; }  // 1-based, 1..38

    // --- shade cache (high-quality drop shade) ---
    void ClearShadeCache() { DragShadeCacheValid = false; }

    // --- read-only properties ---
    const std::string& DeckName() const { return DeckName_; }
    int CardBack() const { return CardBack_; }
    int BackCount() const { return BackCount_; }
    int Count() const { return Count_; }
    int Jokers() const { return Count_ % 52; }
    bool DefaultFaceUp() const { return DefaultFaceUp_; }
    float Scale() const { return Scale_; }
    int ScaleStep() const { return ScaleStep_; }
    const std::filesystem::path& CardsetsFolder() const { return CardsetsFolder_; }
    const std::filesystem::path& UserCardsetsFolder() const { return UserCardsetsFolder_; }

    // --- state the table reads and writes directly ---
    std::array<TCard*, MaxCards + 1> Cards{};     // 1-based: Cards[1..Count]; the deck owns them
    int DealtCount = 0;
    int CardWidth = 0;
    int CardHeight = 0;
    int StockX = 0;
    int StockY = 0;
    TCardTable* Table = nullptr;                  // owning control, may be null

    QImage BackImage;
    QImage RotatedBack;
    QImage MaskImage;                             // black inside the card outline, white outside
    QImage InverseMask;
    std::array<QImage, 7> BaseImages;             // kinds 0..5 from Bottom0<1,2,4,5,6,7>.bmp, 6 from Shade.bmp
    std::array<TCardSlot, SlotCount + 1> Slots;   // 1-based

    // Drop shadow: strip 0 runs along the bottom edge, strip 1 along the right.
    QImage Shadow00, Shadow01;
    QImage Shadow02;                              // alternative drop shade (a copy of Shade.bmp unless "C_1"/"C_2")
    QImage Shadow00M, Shadow00IM, Shadow01M, Shadow01IM;
    QImage Shadow00Under, Shadow01Under;          // table pixels saved under the strips
    QPoint Shadow00Pos, Shadow01Pos;              // where the strips were last drawn

    // High-quality drop shade: the tinted table pixels, the mask used for
    // them (rotated when the drop point is) and a work picture; the tint is
    // valid for DragShadeCachePos while DragShadeCacheValid.
    QImage DragShadeImage, DragShadeMask, DragShadeWork;
    QPoint DragShadeCachePos;
    bool DragShadeCacheValid = false;

private:
    void CreateCards(int count);
    void LoadSet(const std::string& name, int count);
    void ApplySet(TCardSetImages&& images, const std::string& name);
    void RebuildRotations();
    void PointSlotsAtBases();
    void ResizeWorkImages();
    TCardSetFolders Folders() const;

    std::vector<std::unique_ptr<TCard>> OwnedCards;
    std::string DeckName_;
    int CardBack_ = 1;
    int BackCount_ = 0;
    int Count_ = 52;
    bool DefaultFaceUp_ = false;
    float Scale_ = 1.0f;
    int ScaleStep_ = 0;
    std::filesystem::path CardsetsFolder_;
    std::filesystem::path UserCardsetsFolder_;
};
