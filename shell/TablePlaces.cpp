// The places of the table as keyboard play and assistive technology see them.
#include "shell/TablePlaces.h"

#include "cardtable/Card.h"
#include "catalogue/LayoutConstants.h"
#include "engine/Engine.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

std::vector<TCard*> RealCards(const TPile& pile)
{
    std::vector<TCard*> cards;
    for (TCard* card : pile)
        if (card != nullptr)
            cards.push_back(card);
    return cards;
}

// The next card the stock deals: the one a press on the stock reaches.
TCard* StockTop(const TCardDeck& deck)
{
    if (deck.StockCount() <= 0)
        return nullptr;
    return deck.Cards[std::size_t(deck.DealtCount + 1)];
}

void AddTableau(const TEngine& engine, QSize card, std::vector<TTablePlace>& places)
{
    for (std::size_t i = 0; i < engine.TableauPiles.size(); ++i) {
        TTablePlace place{pkTableau, int(i), QRect(engine.Rules.TableauPositions.at(i), card),
                          RealCards(engine.TableauPiles[i]), std::nullopt};
        if (!engine.Rules.TableauRules.Contains(roNotDropTarget))
            place.Drop =
                place.Cards.empty() ? place.Base.topLeft() : QPoint(place.Cards.back()->X, place.Cards.back()->Y);
        places.push_back(std::move(place));
    }
}

void AddFoundations(const TEngine& engine, QSize card, std::vector<TTablePlace>& places)
{
    const TRuleOptions& f = engine.Rules.FoundationRules;
    for (std::size_t i = 0; i < engine.FoundationPiles.size(); ++i) {
        const QPoint at = engine.Rules.FoundationPositions.at(i);
        TTablePlace place{pkFoundation, int(i), QRect(at, card), RealCards(engine.FoundationPiles[i]), std::nullopt};
        if (!f.Contains(roNotDropTarget)) {
            QPoint drop = at;
            if (f.Contains(roFoundationSideways) && !place.Cards.empty())
                drop.setX(place.Cards.back()->X);
            place.Drop = drop;
        }
        places.push_back(std::move(place));
    }
}

void AddReserve(const TEngine& engine, QSize card, std::vector<TTablePlace>& places)
{
    const TGameRules& rules = engine.Rules;
    if (rules.FreeCells) {
        for (std::size_t k = 0; k < engine.ReserveCards.size(); ++k) {
            const QPoint at = engine.CellPlace(int(k));
            TTablePlace place{pkReserve, int(k), QRect(at, card), {}, at};
            if (TCard* held = engine.ReserveCards[k])
                place.Cards.push_back(held);
            places.push_back(std::move(place));
        }
        return;
    }
    if (rules.ReserveAllAvailable) {
        for (std::size_t k = 0; k < engine.ReserveCards.size(); ++k)
            if (TCard* held = engine.ReserveCards[k])
                places.push_back(
                    {pkReserve, int(k), QRect(held->X, held->Y, card.width(), card.height()), {held}, std::nullopt});
        return;
    }
    if (rules.ReserveCount > 0 || !engine.ReserveCards.empty())
        places.push_back(
            {pkReserve, 0, QRect(engine.ReservePlace(0), card), RealCards(engine.ReserveCards), std::nullopt});
}

void AddStockAndWaste(const TEngine& engine, QSize card, std::vector<TTablePlace>& places)
{
    const TCardDeck& deck = engine.Deck();
    const bool wasteGame = engine.Rules.TurnCount >= 1;
    if (deck.StockCount() > 0 || wasteGame) {
        TTablePlace stock{pkStock, 0, QRect(QPoint(deck.StockX, deck.StockY), card), {}, std::nullopt};
        if (TCard* top = StockTop(deck))
            stock.Cards.push_back(top);
        places.push_back(std::move(stock));
    }
    if (wasteGame || !engine.WasteCards.empty())
        places.push_back({pkWaste, 0, QRect(engine.WastePlace(), card), RealCards(engine.WasteCards), std::nullopt});
}

void AddExtraPiles(const TEngine& engine, QSize card, std::vector<TTablePlace>& places)
{
    for (std::size_t i = 0; i < engine.ExceptPiles.size(); ++i) {
        std::vector<TCard*> cards = RealCards(engine.ExceptPiles[i]);
        QPoint at;
        if (i < engine.Rules.ExceptPositions.size())
            at = engine.Rules.ExceptPositions[i];
        else if (!cards.empty())
            at = QPoint(cards.front()->X, cards.front()->Y);
        places.push_back({pkExcept, int(i), QRect(at, card), std::move(cards), std::nullopt});
    }
}

} // namespace

std::vector<TTablePlace> CollectPlaces(const TEngine& engine, const TLiftedRun& lifted)
{
    const QSize card(engine.Deck().CardWidth, engine.Deck().CardHeight);
    std::vector<TTablePlace> found;
    AddTableau(engine, card, found);
    AddReserve(engine, card, found);
    AddFoundations(engine, card, found);
    AddStockAndWaste(engine, card, found);
    AddExtraPiles(engine, card, found);
    for (TTablePlace& place : found) {
        if (place.Kind == lifted.Kind && place.Pile == lifted.Pile && lifted.From < int(place.Cards.size()))
            place.Cards.resize(std::size_t(std::max(0, lifted.From)));
    }
    std::vector<QRect> bases;
    for (const TTablePlace& place : found)
        bases.push_back(place.Base);
    std::vector<TTablePlace> ordered;
    for (const int i : ReadingOrder(bases))
        ordered.push_back(std::move(found[std::size_t(i)]));
    return ordered;
}

std::vector<int> ReadingOrder(const std::vector<QRect>& bases)
{
    std::vector<int> order(bases.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return bases[a].top() < bases[b].top(); });
    // Rows: each place joins the row of the first place close enough above it.
    std::vector<int> row(bases.size(), 0);
    int rowTop = 0;
    int rowNumber = -1;
    for (const int i : order) {
        const QRect& r = bases[std::size_t(i)];
        if (rowNumber < 0 || r.top() - rowTop >= std::max(1, r.height() / 2)) {
            ++rowNumber;
            rowTop = r.top();
        }
        row[std::size_t(i)] = rowNumber;
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (row[std::size_t(a)] != row[std::size_t(b)])
            return row[std::size_t(a)] < row[std::size_t(b)];
        return bases[std::size_t(a)].left() < bases[std::size_t(b)].left();
    });
    return order;
}

int PlaceInDirection(const std::vector<QRect>& bases, int from, int direction)
{
    if (from < 0 || from >= int(bases.size()))
        return -1;
    const QRect& here = bases[std::size_t(from)];
    const QPoint centre = here.center();
    const int minRise = std::max(1, here.height() / 2);
    int best = -1;
    long long bestScore = 0;
    for (std::size_t i = 0; i < bases.size(); ++i) {
        if (int(i) == from)
            continue;
        const QPoint c = bases[i].center();
        const int dy = (c.y() - centre.y()) * (direction < 0 ? -1 : 1);
        if (dy < minRise)
            continue;
        const int dx = std::abs(c.x() - centre.x());
        // A place in the same column beats any place beside it.
        const bool sameColumn = dx < here.width();
        const long long score = (sameColumn ? 0LL : 1LL << 40) + (long long)dy * dy + (long long)dx * dx;
        if (best < 0 || score < bestScore) {
            best = int(i);
            bestScore = score;
        }
    }
    return best;
}

TPlaceGroup GroupOf(int kind)
{
    switch (kind) {
    case pkTableau:
        return TPlaceGroup::Tableau;
    case pkReserve:
    case pkExcept:
        return TPlaceGroup::Reserve;
    case pkFoundation:
        return TPlaceGroup::Foundations;
    default:
        return TPlaceGroup::Stock;
    }
}

std::vector<int> RunStarts(const std::vector<TCard*>& cards, const std::vector<TCard*>& movable)
{
    std::vector<int> starts;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const TCard* card = cards[i];
        if (card == nullptr || !card->FaceUp)
            continue;
        if (movable.empty() || std::find(movable.begin(), movable.end(), card) != movable.end())
            starts.push_back(int(i));
    }
    return starts;
}

QString CardName(const TCard& card)
{
    if (!card.FaceUp)
        return QStringLiteral("face-down card");
    if (card.Suit == csJoker)
        return QStringLiteral("Joker");
    static const std::array<const char*, 13> values = {"Ace",   "Two",  "Three", "Four", "Five",  "Six", "Seven",
                                                       "Eight", "Nine", "Ten",   "Jack", "Queen", "King"};
    static const std::array<const char*, 4> suits = {"clubs", "diamonds", "hearts", "spades"};
    const std::size_t value = std::min<std::size_t>(card.Value, values.size() - 1);
    const std::size_t suit = std::min<std::size_t>(card.Suit, suits.size() - 1);
    return QStringLiteral("%1 of %2").arg(QLatin1String(values[value]), QLatin1String(suits[suit]));
}

QString PlaceName(const TTablePlace& place, bool freeCells, bool singleReserve)
{
    const int number = place.Pile + 1;
    switch (place.Kind) {
    case pkTableau:
        return QStringLiteral("Tableau pile %1").arg(number);
    case pkFoundation:
        return QStringLiteral("Foundation %1").arg(number);
    case pkReserve:
        if (freeCells)
            return QStringLiteral("Free cell %1").arg(number);
        return singleReserve ? QStringLiteral("Reserve") : QStringLiteral("Reserve %1").arg(number);
    case pkWaste:
        return QStringLiteral("Waste");
    case pkExcept:
        return QStringLiteral("Side pile %1").arg(number);
    default:
        return QStringLiteral("Stock");
    }
}

QString PlaceDescription(const TTablePlace& place, const TCard* focused, bool freeCells, bool singleReserve,
                         int stockCount)
{
    QString text = PlaceName(place, freeCells, singleReserve);
    const int count = place.Kind == pkStock ? stockCount : int(place.Cards.size());
    if (count == 0)
        return text + QStringLiteral(", empty");
    if (focused != nullptr && place.Kind != pkStock)
        text += QStringLiteral(", ") + CardName(*focused);
    return text + (count == 1 ? QStringLiteral(", 1 card") : QStringLiteral(", %1 cards").arg(count));
}
