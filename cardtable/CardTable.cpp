#include "cardtable/CardTable.h"

#include <algorithm>
#include <chrono>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMouseEvent>
#include <QResizeEvent>

#include "cardtable/CardSetDialogs.h"
#include "cardtable/CardTableBlit.h"

using tableblit::TRop;

namespace {

// Default fill: the classic inactive-caption blue-grey.
const QColor DefaultTableColour(191, 205, 219);

constexpr int MaxZList = TCardDeck::MaxCards + 1;

} // namespace

TCardTable::TCardTable(QWidget* parent)
    : QWidget(parent)
    , Sprite(this)
{
    Deck = std::make_unique<TCardDeck>(this, MakeFolderPrompt(parent));
    Initialise();
}

TCardTable::TCardTable(QWidget* parent, const std::filesystem::path& cardsetsFolder)
    : QWidget(parent)
    , Sprite(this)
{
    Deck = std::make_unique<TCardDeck>(this, cardsetsFolder);
    Initialise();
}

// Qt drops the event filter on the parent by itself when the table goes.
TCardTable::~TCardTable() = default;

void TCardTable::Initialise()
{
    PaintEnabled = false;
    ZList_.reserve(MaxZList);
    BackDrop_ = std::make_unique<TBackdrop>();
    BackDrop_->RefreshEvent = [this] { BackDropChanged(); };
    Color_ = DefaultTableColour;
    // The Surface covers every pixel: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    resize(500, 400);
    SetColor(Color_);
    lower();
    ApplyMinimumSize();
    PaintEnabled = true;
}

void TCardTable::SetCardDeck(const TCardDeck* deck)
{
    if (deck == nullptr || deck == Deck.get())
        return;
    Deck->Assign(*deck);
    Deck->Table = this;
}

bool TCardTable::IsDrawing() const { return PaintEnabled && isVisible(); }

// ------------------------------------------------------------ cards

TCard* TCardTable::NextCard(TCardDeck* deck)
{
    TCard* card = DeckOr(deck).NextCard();
    // The top of a displayed stock is already drawn: it now lies on the table.
    if (card != nullptr && card->OnTable && ZIndexOf(card) < 0 && int(ZList_.size()) < MaxZList)
        ZList_.push_back(card);
    return card;
}

void TCardTable::PlaceDeck(int x, int y, TCardDeck* deckArg)
{
    TCardDeck& deck = DeckOr(deckArg);
    bool anyShown = false;
    // The next card to deal was drawn last: lift from it downwards.
    for (int i = deck.DealtCount + 1; i <= deck.Count(); ++i) {
        TCard* card = deck.Cards[std::size_t(i)];
        if (card->OnTable) {
            LiftCard(card);
            card->OnTable = false;
            anyShown = true;
        }
    }
    int offset = 0;
    int drawn = 0;
    for (int i = deck.Count(); i > deck.DealtCount; --i) {
        TCard* card = deck.Cards[std::size_t(i)];
        DrawCard(card, x + offset, y + offset, 0.0f, true);
        card->OnTable = true;
        if (!anyShown)
            RefreshRect(CardRect(card));
        ++drawn;
        if (drawn % PlaceDeckOffset_ == 0)
            --offset;
    }
    if (anyShown)
        RefreshRect(x + offset, y + offset, deck.CardWidth - offset, deck.CardHeight - offset);
    deck.StockX = x;
    deck.StockY = y;
}

TCard* TCardTable::TakeCardFromDeck(int n, int x, int y, TCardDeck* deckArg)
{
    TCardDeck& deck = DeckOr(deckArg);
    bool stockShown = false;
    for (int i = deck.DealtCount + 1; i <= deck.Count(); ++i) {
        TCard* card = deck.Cards[std::size_t(i)];
        if (card->OnTable) {
            LiftCard(card);
            card->OnTable = false;
            stockShown = true;
        }
    }
    TCard* card = deck.TakeCard(n);
    PlaceDeck(x, y, &deck);
    if (card == nullptr)
        return nullptr;
    if (stockShown)
        PlaceCard(card, card->X, card->Y, 0.0f);
    else
        PlaceCard(card, x, y, 0.0f);
    return card;
}

void TCardTable::PlaceCard(TCard* card, int x, int y, float angle)
{
    if (card == nullptr || card->OnTable || int(ZList_.size()) >= MaxZList)
        return;
    DrawCard(card, x, y, angle, true);
    card->OnTable = true;
    ZList_.push_back(card);
    RefreshRect(CardRect(card));
}

void TCardTable::RemoveCard(TCard* card, bool ignoreOverlaps)
{
    if (card == nullptr || !card->OnTable)
        return;
    if (card == DragCard) {
        // A released card awaiting its answer: it lies on top of everything.
        const QRect rect = CardRect(card).united(ShadowRect(card->X, card->Y));
        LiftCard(card);
        EraseShadow();
        card->OnTable = false;
        RefreshRect(rect);
        return;
    }
    const QRect rect = CardRect(card);
    const std::vector<TCard*> covering = CollectCovering(card, ignoreOverlaps);
    LiftCards(covering);
    LiftCard(card);
    card->OnTable = false;
    RedrawCards(covering);
    RemoveFromZList(card);
    RefreshRect(rect);
}

// ------------------------------------------------------------ covering cards

bool TCardTable::Overlaps(const QRect& a, const QRect& b)
{
    return std::abs(a.left() - b.left()) < std::max(a.width(), b.width()) &&
           std::abs(a.top() - b.top()) < std::max(a.height(), b.height());
}

std::vector<TCard*> TCardTable::CollectCovering(TCard* card, bool ignoreOverlaps, int* zIndex) const
{
    std::vector<TCard*> covering;
    const int index = ZIndexOf(card);
    if (zIndex != nullptr)
        *zIndex = index;
    if (ignoreOverlaps)
        return covering;
    QRect working = CardRect(card);
    // A card outside the drawing order (a stock card) lies under all of it.
    for (std::size_t j = std::size_t(index + 1); j < ZList_.size(); ++j) {
        TCard* entry = ZList_[j];
        const QRect rect = CardRect(entry);
        if (Overlaps(working, rect)) {
            covering.push_back(entry);
            working = working.united(rect);
        }
    }
    return covering;
}

void TCardTable::LiftCards(const std::vector<TCard*>& cards)
{
    for (auto it = cards.rbegin(); it != cards.rend(); ++it) {
        LiftCard(*it);
        (*it)->OnTable = false;
    }
}

void TCardTable::RedrawCards(const std::vector<TCard*>& cards)
{
    for (TCard* card : cards) {
        DrawCard(card, card->X, card->Y, card->Angle, true);
        card->OnTable = true;
    }
}

int TCardTable::ZIndexOf(const TCard* card) const
{
    for (int i = int(ZList_.size()) - 1; i >= 0; --i)
        if (ZList_[std::size_t(i)] == card)
            return i;
    return -1;
}

void TCardTable::RemoveFromZList(const TCard* card)
{
    const int index = ZIndexOf(card);
    if (index >= 0)
        ZList_.erase(ZList_.begin() + index);
}

// ------------------------------------------------------------ whole table

void TCardTable::ClearTable(TCardDeck* deckArg)
{
    TCardDeck& deck = DeckOr(deckArg);
    const bool wasEnabled = PaintEnabled;
    PaintEnabled = false;
    if (Sprite.Shown)
        Sprite.Hide();
    if (DragCard != nullptr) {
        if (DragCard->OnTable) {
            LiftCard(DragCard);
            EraseShadow();
            DragCard->OnTable = false;
        }
        EndDrag();
    }
    for (auto it = ZList_.rbegin(); it != ZList_.rend(); ++it) {
        LiftCard(*it);
        (*it)->OnTable = false;
    }
    ZList_.clear();
    for (int i = deck.DealtCount + 1; i <= deck.Count(); ++i) {
        TCard* card = deck.Cards[std::size_t(i)];
        if (card->OnTable) {
            LiftCard(card);
            card->OnTable = false;
        }
    }
    deck.CollectAll();
    // The cards are off the table: a ring left where one lay would mark
    // nothing, and would come back around it wherever the next deal puts it.
    ClearKeyFocus();
    PaintEnabled = wasEnabled;
    update();
}

void TCardTable::ResetTable()
{
    ClearTable();
    RefreshBackground();
}

void TCardTable::RefreshRect(int x, int y, int width, int height) { RefreshRect(QRect(x, y, width, height)); }

void TCardTable::RefreshRect(const QRect& rect)
{
    if (!IsDrawing())
        return;
    const QRect visible = rect & this->rect();
    if (!visible.isEmpty())
        repaint(visible);
}

TCard* TCardTable::CardAt(int x, int y) const
{
    const int w = Deck->CardWidth;
    const int h = Deck->CardHeight;
    auto contains = [&](const TCard* card) {
        return x >= card->X && x <= card->X + w && y >= card->Y && y <= card->Y + h;
    };
    for (auto it = ZList_.rbegin(); it != ZList_.rend(); ++it)
        if (contains(*it))
            return *it;
    for (int i = Deck->Count(); i >= 1; --i) {
        TCard* card = Deck->Cards[std::size_t(i)];
        if (card->OnTable && card->Status == 0 && contains(card))
            return card;
    }
    return nullptr;
}

void TCardTable::ShowTable()
{
    if (window() != this && !window()->isVisible())
        window()->show();
    show();
    repaint();
}

void TCardTable::ChooseBackgroundPicture(const std::string& initialFolder)
{
    const QString file = QFileDialog::getOpenFileName(this, QString(), QString::fromStdString(initialFolder),
                                                      QStringLiteral("Picture Files (*.bmp *.jpg)"));
    QCoreApplication::processEvents();
    if (!file.isEmpty())
        SetBackgroundPicture(file.toStdString());
}

void TCardTable::Wait(int milliseconds) const
{
    if (!IsDrawing() || milliseconds <= 0)
        return;
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (Clock::now() < until) {
    }
}

void TCardTable::SetTableSize(int width, int height)
{
    if (width < 1 || height < 1)
        return;
    resize(width, height);
    if (Surface.size() != QSize(width, height))
        RefreshBackground();
}

void TCardTable::ChooseDeck()
{
    const std::optional<std::string> chosen = RunCardDeckSelector(this, *Deck);
    QCoreApplication::processEvents();
    if (!chosen || *chosen == Deck->DeckName())
        return;
    try {
        Deck->SetDeckName(*chosen);
    } catch (const ECardTableError& error) {
        // The deck keeps its old set; say why the new one was refused.
        QMessageBox::warning(this, QStringLiteral("Card Deck Selector."), QString::fromStdString(error.what()));
        return;
    }
    RefreshBackground();
}

void TCardTable::ChooseCardBack()
{
    if (!SetExists({Deck->CardsetsFolder(), Deck->UserCardsetsFolder()}, Deck->DeckName())) {
        QApplication::beep();
        return;
    }
    const std::optional<int> chosen = RunCardBackSelector(this, *Deck);
    if (!chosen || *chosen == Deck->CardBack())
        return;
    try {
        Deck->SetCardBack(*chosen);
    } catch (const ECardTableError& error) {
        QMessageBox::warning(this, QStringLiteral("Card Back Selector."), QString::fromStdString(error.what()));
        return;
    }
    RedrawAll();
    update();
}

// ------------------------------------------------------------ properties

void TCardTable::SetCardSpeed(int speed)
{
    if (speed > 0)
        CardSpeed_ = speed;
}

void TCardTable::SetPlaceDeckOffset(int offset)
{
    if (offset != 0)
        PlaceDeckOffset_ = offset;
}

void TCardTable::SetTurnOverAnimationSpeed(int speed)
{
    if (speed >= 0)
        TurnOverAnimationSpeed_ = speed;
}

void TCardTable::SetAutoShadeMode(int mode)
{
    if (mode >= 1 && mode <= 3)
        AutoShadeMode_ = mode;
}

void TCardTable::SetHQDragShadeColour(int colour)
{
    HQDragShadeColour_ = colour >= 0 && colour <= 7 ? colour : 0;
    Deck->ClearShadeCache();
}

void TCardTable::SetStretchBackground(bool stretch)
{
    StretchBackground_ = stretch;
    if (BackgroundPicture_ != "None")
        LoadBackground(BackgroundPicture_);
}

void TCardTable::SetJpegPerformance(TJpegPerformance performance) { JpegPerformance_ = performance; }

void TCardTable::SetAutoResize(bool on)
{
    AutoResize_ = on;
    if (on)
        FollowParent();
}

void TCardTable::SetMinWidth(int width)
{
    if (width < 0)
        return;
    MinWidth_ = width;
    ApplyMinimumSize();
}

void TCardTable::SetMinHeight(int height)
{
    if (height < 0)
        return;
    MinHeight_ = height;
    ApplyMinimumSize();
}

// The owner window may not become smaller than MinWidth x MinHeight.
void TCardTable::ApplyMinimumSize()
{
    QWidget* owner = parentWidget();
    if (owner != nullptr && owner->isWindow())
        owner->setMinimumSize(MinWidth_, MinHeight_);
}

void TCardTable::FollowParent()
{
    QWidget* owner = parentWidget();
    if (owner == nullptr)
        return;
    owner->removeEventFilter(this);
    owner->installEventFilter(this);
    SetTableSize(owner->width() - x(), owner->height() - y());
}

bool TCardTable::eventFilter(QObject* watched, QEvent* event)
{
    if (AutoResize_ && watched == parentWidget() && event->type() == QEvent::Resize) {
        const QWidget* owner = parentWidget();
        SetTableSize(owner->width() - x(), owner->height() - y());
    }
    return QWidget::eventFilter(watched, event);
}

// ------------------------------------------------------------ Qt events

void TCardTable::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (Surface.size() != size())
        RefreshBackground();
}

void TCardTable::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    ButtonDown(at.x(), at.y(), event->button());
}

// Double clicks are not a thing of their own here: a second press is a press.
void TCardTable::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TCardTable::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(Qt::NoButton, at.x(), at.y());
    if (Dragging_)
        PointerMove(at.x(), at.y());
}

void TCardTable::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    ButtonUp(at.x(), at.y(), event->button());
}
