#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

class QPainter;

#include "cardtable/Backdrop.h"
#include "cardtable/Card.h"
#include "cardtable/ImageArrayUnit.h"
#include "cardtable/ImageIO.h"
#include "cardtable/Sprite.h"

// Cards the engine lets the player pick up; an entry may be null (a list
// holding only null lets nothing be picked up, an empty list lets anything).
using TCardList = std::vector<TCard*>;
// Top-left corners where a dragged card may land; their order gives the
// drop index reported with OnCardDropEvent.
using TDropPoints = std::vector<QPoint>;
// Angle (radians) per drop point, for drawing the drop shade turned; may be empty.
using TDropAngles = std::vector<float>;

// Raised when a button goes down on a card (every press, also the one that
// starts a drag and also for the right button).
using TCardClickEvent = std::function<void(TCard* card, Qt::MouseButton button)>;
// Raised when a dragged card is released, unless the pointer never went the
// desktop's drag distance from the press (a click: the table restores the
// card itself and raises only OnCardRestoredEvent). x, y: pointer in table pixels;
// relX, relY: where the card was grabbed, so (x - relX, y - relY) is its
// top-left; index: the drop point shaded at release, -1 when none. The
// handler must answer with DropCard or RestoreCard before returning.
using TCardDropEvent = std::function<void(TCard* card, int x, int y, int relX, int relY, int index)>;
// Raised by RestoreCard once the card has slid back, before it is put into
// its old place in the drawing order.
using TCardRestoredEvent = std::function<void()>;
// Passed through from the widget's own mouse handling, before the table's.
using TTableMouseEvent = std::function<void(Qt::MouseButton button, int x, int y)>;

enum TShadowMode { smOriginal, smDarken };

// How the owner lays the table out; kept as a setting (the owner's layout
// does the work).
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

// The single overlay rectangle of the table. Nothing enables it today; a
// disabled area draws nothing and takes no clicks.
struct TTableArea {
    bool Enabled = false;
    QRect Area;
    int Kind = 0;  // 0: black frame drawn before the cards; 9 would be drawn after them
    std::function<void(int x, int y, Qt::MouseButton button)> OnClick;
};

// Pictures turned to the angles in use, each kept with its source picture's
// cacheKey (which changes whenever that picture's pixels do).
struct TTurnedPictures {
    struct TEntry {
        qint64 SourceKey = 0;
        float Angle = 0.0f;
        TRenderedImage Turned;
    };
    std::vector<TEntry> Entries;
};

// The keyboard focus ring's two tones: a band, edged on both sides with the
// other tone.
struct TRingTones {
    QColor Band;
    QColor Edge;
};
// The tones whose band stands out most from what lies under the ring, given
// as its mean relative luminance (0 black .. 1 white).
TRingTones FocusRingTones(double luminanceUnder);

// The card table: one off-screen Surface the size of the widget holds the
// whole picture (background, pile bases, cards); painting only copies
// changed rectangles of it to the screen.
//
// Drawing switch. The table is "drawing" while PaintEnabled is set AND the
// widget is visible (IsDrawing()). While it is not drawing, the Surface is
// still kept exact but nothing reaches the screen, and every animation
// (MoveCard, TurnCard, DropCard/RestoreCard slides, sprite Zoom/Spin) and
// every pause (Wait) completes at once with the same end state: positions,
// drawing order, face state and Surface pixels. The engine deals invisibly
// and the tests run headless this way.
//
// Invariants a caller could break:
// - a card is in the ZList exactly when it is OnTable, not part of the
//   displayed stock and not the card being dragged;
// - every OnTable card's UnderImage holds the pixels that were under it when
//   it was drawn, so cards are only ever lifted top-most first (the covering
//   card collection does that); never clear OnTable by hand for a drawn card;
// - SetCardCount and a card-set change replace or resize the cards: clear the
//   table first (ResetTable / ClearTable) and redraw afterwards.
//
// Sizing. Resizing the widget rebuilds the Surface on the next resize event;
// a hidden widget gets that event only when shown, so SetTableSize applies a
// new size at once (engine and tests use it).
class TCardTable : public QWidget {
public:
    // Locates the card sets folder (showing the folder prompt when the search
    // finds none) and loads "Standard". Throws ECardTableError when there is
    // no usable card set.
    explicit TCardTable(QWidget* parent = nullptr);
    // Uses `cardsetsFolder` (it must hold "Standard"): previews and tests.
    TCardTable(QWidget* parent, const std::filesystem::path& cardsetsFolder);
    ~TCardTable() override;

    // ----------------------------------------------------------- the pack
    TCardDeck& CardDeck() { return *Deck; }
    const TCardDeck& CardDeck() const { return *Deck; }
    // Assigns `deck` into the table's own deck; null is ignored.
    void SetCardDeck(const TCardDeck* deck);

    // --------------------------------------------------- cards on the table
    // The deck's NextCard (deck null = CardDeck); a card that was drawn as
    // the top of the displayed stock joins the drawing order.
    TCard* NextCard(TCardDeck* deck = nullptr);
    // Draws the stock at x, y, stepping 1 pixel up-left every PlaceDeckOffset
    // cards, the next card to deal on top; stores StockX/StockY.
    void PlaceDeck(int x, int y, TCardDeck* deck = nullptr);
    // Deals the n-th remaining stock card, redraws the stock at x, y and
    // places the card on top where it lay in the stock.
    TCard* TakeCardFromDeck(int n, int x, int y, TCardDeck* deck = nullptr);
    // Nothing when the card is already OnTable.
    void PlaceCard(TCard* card, int x, int y, float angle = 0.0f);
    // Nothing unless OnTable. Cards lying over it are lifted and redrawn
    // unless ignoreOverlaps.
    void RemoveCard(TCard* card, bool ignoreOverlaps = false);
    // Slides a card that is on the table to x, y in CardSpeed steps.
    void MoveCard(TCard* card, int x, int y);
    // Toggles FaceUp; animates the flip when the card is on the table.
    void TurnCard(TCard* card, bool ignoreOverlaps = false);
    // Redraws a card on the table at a new angle (radians).
    void RotateCard(TCard* card, float angle);

    // ------------------------------------------------------- pile bases
    // kind 0..6, number 1-based within the kind; deck null = CardDeck.
    void PlaceBottom(int kind, int x, int y, int number, TCardDeck* deck = nullptr,
                     float angle = 0.0f, bool refresh = true);
    void RemoveBottom(int kind, int number, TCardDeck* deck = nullptr, bool refresh = true);
    void ClearBottoms(TCardDeck* deck = nullptr);
    static int FirstSlot(int kind) { return TCardDeck::FirstSlot(kind); }
    TCardSlot& SlotRecord(int index) { return Deck->SlotRecord(index); }

    // ----------------------------------------------------- whole table
    // Lifts every card (drawing order, then the stock) and collects the pack;
    // the keyboard focus goes with them.
    void ClearTable(TCardDeck* deck = nullptr);
    void ResetTable();
    // Reloads the background picture, or fills with Color; redraws everything.
    void RefreshBackground();
    // Paints the background anew and draws slots, stock and cards on it, each
    // saving the pixels under it (after a change of the cards' pictures).
    void RedrawAll();
    // The Surface itself: the engine draws texts and marks on it directly.
    QImage& BufferCanvas() { return Surface; }
    const QImage& SurfaceImage() const { return Surface; }
    // Copies that rectangle of the Surface to the screen (only while drawing).
    void RefreshRect(int x, int y, int width, int height);
    void RefreshRect(const QRect& rect);
    // Hit test: the top-most card of the drawing order, else a stock card.
    TCard* CardAt(int x, int y) const;
    // Shows the owner window and the table and repaints it.
    void ShowTable();
    // Picture file dialog; the chosen file becomes BackgroundPicture.
    void ChooseBackgroundPicture(const std::string& initialFolder = {});
    // Wall-clock busy wait; returns at once while the table is not drawing.
    void Wait(int milliseconds) const;
    // Resizes widget and Surface at once, redrawing every card in place.
    void SetTableSize(int width, int height);
    // The card set dialogs, then the deck's SetDeckName / SetCardBack and a
    // full redraw when the choice changed.
    void ChooseDeck();
    void ChooseCardBack();

    // ----------------------------------------------------- drag and drop
    void SetDragCards(const TCardList& cards) { DragCards = cards; }
    void SetDropPoints(const TDropPoints& points) { DropPoints = points; }
    void SetDropAngles(const TDropAngles& angles) { DropAngles = angles; }
    // Accept: the dragged card settles at x, y (sliding there when animate).
    // Only valid while a released card awaits its answer.
    void DropCard(int x, int y, bool animate = false, float angle = 0.0f);
    // Reject: the dragged card slides back into its old place and drawing order.
    void RestoreCard();
    bool Dragging() const { return Dragging_; }
    // The card being dragged or awaiting DropCard/RestoreCard; null otherwise.
    TCard* DraggedCard() const { return DragCard; }
    // Where the dragged card lay when it was picked up.
    QPoint DraggedFrom() const { return {DragOldX, DragOldY}; }
    bool FromStock() const { return FromStock_; }
    // Shadow thickness (also the lift offset).
    int ShadowThickness() const;

    // ----------------------------------------------------- keyboard play
    // The keyboard focus: a ring around `card` and `onTop` (the cards lying
    // on it in its fan, which a pick-up takes along) wherever they lie, or
    // around `place` (an empty pile) when card is null. The ring is drawn
    // over the table on the screen only, never into the Surface, under the
    // cards lifted by keys, and not while the mouse drags.
    void SetKeyFocus(TCard* card, const QRect& place, const std::vector<TCard*>& onTop = {});
    void ClearKeyFocus();
    TCard* KeyFocusCard() const { return FocusCard; }
    // Where the ring is drawn now; empty when there is none.
    QRect KeyFocusRing() const;
    // Where the ring was last painted: the area repainted when it moves on.
    QRect KeyFocusRingShown() const { return RingShown; }
    // The left button's press on `card`, made from the keyboard: the click
    // is raised as for the mouse, and a card the engine lets the player drag
    // is lifted; `followers` (the cards lying on it in its pile) are lifted
    // with it. True when a card is lifted and awaits ReleaseLifted.
    bool PressByKey(TCard* card, const std::vector<TCard*>& followers);
    bool KeyLifted() const { return KeyLift; }
    // Shows the lifted cards over a place: the lifted card's top-left at
    // x, y (less the lift offset), the followers as they lay on it, drop
    // point `index` shaded (-1: none).
    void HoverLifted(int x, int y, int index);
    // Lets the lifted cards go. Over the place they came from that is a
    // click (they go back, nobody is told of a drop); elsewhere it is a drop
    // on the shaded drop point, answered by the drop handler as a mouse drop.
    void ReleaseLifted(bool overOwnPlace);
    // Puts keyboard-lifted cards back where they were (a restore).
    void CancelLifted();

    // ----------------------------------------------------- the drawing order
    const std::vector<TCard*>& ZList() const { return ZList_; }

    // ----------------------------------------------------- published properties
    QColor Color() const { return Color_; }
    void SetColor(const QColor& colour);
    const std::string& BackgroundPicture() const { return BackgroundPicture_; }
    // A missing or unreadable file leaves "None" and the colour fill.
    void SetBackgroundPicture(const std::string& file);
    bool StretchBackground() const { return StretchBackground_; }
    void SetStretchBackground(bool stretch);
    TBackdrop& BackDrop() { return *BackDrop_; }
    TJpegPerformance JpegPerformance() const { return JpegPerformance_; }
    void SetJpegPerformance(TJpegPerformance performance);
    int CardSpeed() const { return CardSpeed_; }
    void SetCardSpeed(int speed);                     // < 1 ignored
    bool DragAndDrop() const { return DragAndDrop_; }
    void SetDragAndDrop(bool on) { DragAndDrop_ = on; }
    bool DragFromDeck() const { return DragFromDeck_; }
    void SetDragFromDeck(bool on) { DragFromDeck_ = on; }
    bool DragFaceDown() const { return DragFaceDown_; }
    void SetDragFaceDown(bool on) { DragFaceDown_ = on; }
    Qt::CursorShape DragCardCursor() const { return DragCardCursor_; }
    void SetDragCardCursor(Qt::CursorShape shape) { DragCardCursor_ = shape; }
    int PlaceDeckOffset() const { return PlaceDeckOffset_; }
    void SetPlaceDeckOffset(int offset);              // 0 ignored
    bool LiftOffset() const { return LiftOffset_; }
    void SetLiftOffset(bool on) { LiftOffset_ = on; }
    // Qt composes overlapping sibling widgets itself; kept as a setting only.
    bool RepaintLabels() const { return RepaintLabels_; }
    void SetRepaintLabels(bool on) { RepaintLabels_ = on; }
    // Follow the parent widget's size (when no layout manages the table).
    bool AutoResize() const { return AutoResize_; }
    void SetAutoResize(bool on);
    int MinWidth() const { return MinWidth_; }
    void SetMinWidth(int width);
    int MinHeight() const { return MinHeight_; }
    void SetMinHeight(int height);
    int TurnOverAnimationSpeed() const { return TurnOverAnimationSpeed_; }
    void SetTurnOverAnimationSpeed(int speed);        // negative ignored, 0 = instant
    bool TurnOverAnimationVertical() const { return TurnOverAnimationVertical_; }
    void SetTurnOverAnimationVertical(bool on) { TurnOverAnimationVertical_ = on; }
    bool TurnOverAnimationLift() const { return TurnOverAnimationLift_; }
    void SetTurnOverAnimationLift(bool on) { TurnOverAnimationLift_ = on; }
    int AutoShadeMode() const { return AutoShadeMode_; }
    void SetAutoShadeMode(int mode);                  // outside 1..3 ignored
    bool SlowMoveRegion() const { return SlowMoveRegion_; }
    void SetSlowMoveRegion(bool on) { SlowMoveRegion_ = on; }
    bool SMR_WaitMode() const { return SMR_WaitMode_; }
    void SetSMR_WaitMode(bool on) { SMR_WaitMode_ = on; }
    bool FastMovementMode() const { return FastMovementMode_; }
    void SetFastMovementMode(bool on) { FastMovementMode_ = on; }
    TShadowMode ShadowMode() const { return ShadowMode_; }
    void SetShadowMode(TShadowMode mode) { ShadowMode_ = mode; }
    bool SoftShadow() const { return SoftShadow_; }
    void SetSoftShadow(bool on) { SoftShadow_ = on; }
    bool HQDragShade() const { return HQDragShade_; }
    void SetHQDragShade(bool on) { HQDragShade_ = on; }
    int HQDragShadeColour() const { return HQDragShadeColour_; }
    void SetHQDragShadeColour(int colour);            // outside 0..7 stores 0

    // A number of the owner's own (the main window keeps its background choice here).
    int Tag() const { return Tag_; }
    void SetTag(int tag) { Tag_ = tag; }
    TAlign Align() const { return Align_; }
    void SetAlign(TAlign align) { Align_ = align; }

    // ----------------------------------------------------- stored settings
    // Writes folder/Status.Dat whole (the executable's folder when `folder`
    // is empty); false, the old file kept and the reason in `error`, when it
    // cannot be written.
    bool SaveStatus(const std::filesystem::path& folder, std::string* error = nullptr) const;
    // Reads folder/Status.Dat, when there is one, and applies it in stream
    // order through the setters, painting once at the end. A damaged or
    // foreign file changes nothing: false, with the reason in `error`. A
    // missing file is no error.
    bool LoadStatus(const std::filesystem::path& folder, std::string* error = nullptr);
    // What the last LoadStatus could not apply although the file was sound
    // (a card set that no longer loads); empty when all of it applied.
    std::string StatusNotice;

    // ----------------------------------------------------- events
    TCardClickEvent OnCardClickEvent;
    TCardClickEvent OnExternalCardClickEvent;
    TCardDropEvent OnCardDropEvent;
    TCardRestoredEvent OnCardRestoredEvent;
    TTableMouseEvent OnMouseDown;
    TTableMouseEvent OnMouseMove;  // button is Qt::NoButton
    // Never raised: the table's release handling replaces it (kept for owners
    // that assign it).
    TTableMouseEvent OnMouseUp;

    // ----------------------------------------------------- public fields
    // While false nothing is copied to the screen and animations are instant.
    bool PaintEnabled = true;
    // Cleared by the engine to make every TurnCard instant.
    bool TurnAnimation = true;
    TSprite Sprite;
    TTableArea TableArea;

    // True while cards reach the screen: PaintEnabled and visible.
    bool IsDrawing() const;

    // Counts frames copied to the screen by animations (moves, flips); tests
    // and the viewer read it, nothing depends on it.
    int AnimationFrames = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TSprite;

    void Initialise();
    TCardDeck& DeckOr(TCardDeck* deck) { return deck ? *deck : *Deck; }

    // Surface drawing (CardTablePaint.cpp)
    void RecreateSurface();
    void FillSurface();
    void PaintBackgroundPicture(const QImage& picture);
    void LoadBackground(const std::string& file);
    void DrawCard(TCard* card, int x, int y, float angle, bool saveBackground);
    void LiftCard(TCard* card);
    QRect CardRect(const TCard* card) const;
    QRect UprightRect(const TCard* card) const;
    void DrawSlot(TCardDeck& deck, int index, int x, int y, float angle, bool rebuild);
    void DrawQualityShade(TCardDeck& deck, TCardSlot& slot, const QRect& rect);
    void LiftSlot(TCardDeck& deck, int index);
    QRect SlotRect(const TCardDeck& deck, int index) const;
    const QImage& ShadePicture(const TCardDeck& deck) const;
    void DrawTableArea(bool afterCards);
    // Draws slots, stock and cards on a freshly painted background.
    void DrawAllOnBackground();
    void BackDropChanged();
    // By value: pictures are shared, and the cache may grow under a held reference.
    QImage RotatedMaskFor(const TCardDeck& deck, float angle);
    const QImage& RotatedBackFor(TCardDeck& deck, float angle);

    // Covering cards
    std::vector<TCard*> CollectCovering(TCard* card, bool ignoreOverlaps, int* zIndex = nullptr) const;
    static bool Overlaps(const QRect& a, const QRect& b);
    void LiftCards(const std::vector<TCard*>& cards);
    void RedrawCards(const std::vector<TCard*>& cards);
    int ZIndexOf(const TCard* card) const;
    void RemoveFromZList(const TCard* card);

    // Dragging (CardTableDrag.cpp)
    void ButtonDown(int x, int y, Qt::MouseButton button);
    void PressCard(TCard* card, int x, int y, Qt::MouseButton button);
    void PointerMove(int x, int y);
    void NotePointer(int x, int y);
    void ButtonUp(int x, int y, Qt::MouseButton button);
    bool MayDrag(const TCard* card, Qt::MouseButton button) const;
    bool StartDrag(TCard*& card, int x, int y);
    void ChooseShade(QRect& dirty, int pointerX, int pointerY);
    void ShadeDropPoint(int index, QRect& dirty);
    void HideShade(QRect& dirty);
    void DrawShadow(int x, int y);
    void EraseShadow();
    QRect ShadowRect(int x, int y) const;
    bool LiftDragged();
    void RedrawDragged();
    void PlaceForSlide(TCard* card);
    void SetDragCursor();
    void RestoreCursor();
    void EndDrag();

    // Keyboard play (CardTableKeys.cpp)
    void RemoveFollowers();
    void ReplaceFollowers();
    void SettleFollowers();
    QRect RingToDraw() const;
    void DrawFocusRing(QPainter& painter);
    void UpdateRingArea();

    // Animation (CardTableAnimation.cpp)
    std::vector<TCard*> StillCovering(QRect rect, const std::vector<TCard*>& moving) const;
    int MoveStepSize(const TCard* card, int x, int y, int movingCount) const;
    void MoveInSteps(TCard* card, int x, int y, std::vector<TCard*>& moving);
    void MoveAtOnce(TCard* card, int x, int y, std::vector<TCard*>& moving);
    void FlipFrame(TCard* card, int r, int length);
    int FlipFrameCount(int speed) const;
    void InstantFlip(TCard* card, bool ignoreOverlaps);
    void AnimatedFlip(TCard* card, bool ignoreOverlaps);
    bool LiftFlip(TCard* card);
    void DrawLiftShadow(const QRect& rect);
    void FlushStep(const QRect& dirty);

    void ApplyMinimumSize();
    void FollowParent();

    // Set while stored settings are applied: background changes only record
    // their values and the one repaint comes at the end.
    bool DeferPainting = false;

    std::unique_ptr<TCardDeck> Deck;
    std::unique_ptr<TBackdrop> BackDrop_;
    QImage Surface;
    QImage JpegPicture;
    std::string JpegFile;
    std::vector<TCard*> ZList_;

    // Drag state
    bool Dragging_ = false;
    TCard* DragCard = nullptr;
    float DragAngle = 0.0f;
    int DragOldX = 0;
    int DragOldY = 0;
    int DragZIndex = 0;        // 1-based place in the drawing order before the drag, 0 from the stock
    bool FromStock_ = false;
    int RelX = 0;
    int RelY = 0;
    // Where the drag began, and whether the pointer ever went the desktop's
    // drag distance from there: a press released closer is a click, not a drop.
    QPoint PressPoint;
    bool LeftPressPoint = false;
    bool ShadeShown = false;
    int ShadedIndex = -1;
    std::vector<int> OverlapList;  // mode 1: touched drop points, most recent last
    bool ShadowShown = false;
    TCardList DragCards;
    TDropPoints DropPoints;
    TDropAngles DropAngles;

    // Keyboard play: the focus, and the state of a lift made by keys.
    TCard* FocusCard = nullptr;
    std::vector<TCard*> FocusOnTop;
    QRect FocusPlace;
    QRect RingShown; // where the ring was last painted
    bool KeyLift = false;
    struct TFollower {
        TCard* Card = nullptr;
        int X = 0;
        int Y = 0;
        float Angle = 0.0f;
    };
    std::vector<TFollower> Followers;
    bool FollowersHovering = false;

    bool CursorWasSet = false;
    QCursor SavedCursor;

    // Turned card masks and pile bases (white outside the outline), and
    // turned backs (the back's own key colour outside).
    TTurnedPictures RotatedMasks;
    TTurnedPictures RotatedBases;
    TTurnedPictures RotatedBacks;

    // Published property values
    int Tag_ = 0;
    TAlign Align_ = alNone;
    QColor Color_;
    std::string BackgroundPicture_ = "None";
    bool StretchBackground_ = false;
    TJpegPerformance JpegPerformance_ = jpBestQuality;
    int CardSpeed_ = 16;
    bool DragAndDrop_ = false;
    bool DragFromDeck_ = false;
    bool DragFaceDown_ = false;
    Qt::CursorShape DragCardCursor_ = Qt::DragMoveCursor;
    int PlaceDeckOffset_ = 666;
    bool LiftOffset_ = false;
    bool RepaintLabels_ = false;
    bool AutoResize_ = false;
    int MinWidth_ = 500;
    int MinHeight_ = 400;
    int TurnOverAnimationSpeed_ = 8;
    bool TurnOverAnimationVertical_ = true;
    bool TurnOverAnimationLift_ = false;
    int AutoShadeMode_ = 3;
    bool SlowMoveRegion_ = false;
    bool SMR_WaitMode_ = true;
    bool FastMovementMode_ = false;
    TShadowMode ShadowMode_ = smDarken;
    bool SoftShadow_ = true;
    bool HQDragShade_ = true;
    int HQDragShadeColour_ = 1;
};
