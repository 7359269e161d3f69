#include "Labels.h"

#include "Pictures.h"

#include "cardtable/CardTable.h"
#include "engine/Engine.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

QRect CardArea(const TCardDeck& deck, QPoint at) { return {at, QSize(deck.CardWidth, deck.CardHeight)}; }

QRect Cards(const TCardDeck& deck, const TPile& pile)
{
    QRect area;
    for (const TCard* card : pile)
        if (card != nullptr)
            area |= CardArea(deck, QPoint(card->X, card->Y));
    return area;
}

QString Named(int count, const char* one, const char* many)
{
    return QString::fromLatin1(count == 1 ? one : many);
}

// Where the engine turns stock cards to; its own reckoning is private to it.
QPoint WastePlace(const TEngine& engine)
{
    const TGameRules& rules = engine.Rules;
    if (rules.DeckRules.Contains(roWasteAltPosition))
        return rules.DeckRules.Contains(roDeckAtPosition) ? rules.WastePosition
                                                          : QPoint(engine.Layout.AltWasteX, engine.Layout.AltWasteY);
    return {engine.Layout.WasteX, engine.Layout.WasteY};
}

bool TurnsToWaste(const TEngine& engine)
{
    const TGameRules& rules = engine.Rules;
    return rules.TurnCount >= 1 && engine.StockCount() > 0 && rules.GameName != "One Foundation"
           && !rules.TableauRules.Contains(roNoDragAndDrop) && !rules.DeckRules.Contains(roDragFromDeck);
}

QRect CellPlace(const TEngine& engine, const TCardDeck& deck, int k)
{
    const TGameRules& rules = engine.Rules;
    const QPoint r = rules.ReservePosition;
    const QPoint at = rules.CellsVertical ? QPoint(r.x(), r.y() + k * engine.Layout.RowStep)
                                          : QPoint(r.x() + (k + 1) * engine.Layout.ColumnStep, r.y());
    return CardArea(deck, at);
}

// Everything that differs from the cloth, and the empty places besides.
QRect GameArea(const QImage& table, const std::vector<TPlace>& places)
{
    const QRgb cloth = table.pixel(table.width() - 1, table.height() - 1) & 0xFFFFFFu;
    QRect used;
    for (int y = 0; y < table.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(table.constScanLine(y));
        int left = -1;
        int right = -1;
        for (int x = 0; x < table.width(); ++x)
            if ((line[x] & 0xFFFFFFu) != cloth) {
                left = left < 0 ? x : left;
                right = x;
            }
        if (left >= 0)
            used |= QRect(QPoint(left, y), QPoint(right, y));
    }
    for (const TPlace& place : places)
        used |= place.Area;
    return used.isNull() ? table.rect() : used;
}

// Widens the short side so the cut has the proportions of `size`.
QRect Proportioned(QRect area, QSize size)
{
    if (area.width() * size.height() < area.height() * size.width()) {
        const int width = area.height() * size.width() / size.height();
        area.adjust(-(width - area.width()) / 2, 0, (width - area.width() + 1) / 2, 0);
    } else {
        const int height = area.width() * size.height() / size.width();
        area.adjust(0, -(height - area.height()) / 2, 0, (height - area.height() + 1) / 2);
    }
    return area;
}

// Draws the frame of a place and its name on the frame's top edge (or
// its bottom edge, or further right, where another name already sits).
void DrawPlace(QPainter& painter, const TPlace& place, const QRectF& frame, std::vector<QRectF>& tags)
{
    painter.setBrush(Qt::NoBrush);
    QPen outline(QColor(255, 224, 90), 2.0, place.Empty ? Qt::DashLine : Qt::SolidLine);
    painter.setPen(outline);
    painter.drawRoundedRect(frame, 5, 5);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QRectF text(0, 0, metrics.horizontalAdvance(place.Name) + 14, metrics.height() + 6);
    const QRectF bounds(painter.window());
    const auto inside = [&bounds, &text](double x, double y) {
        return QPointF(std::clamp(x, 2.0, bounds.width() - text.width() - 2),
                       std::clamp(y, 2.0, bounds.height() - text.height() - 2));
    };
    const auto free = [&tags](const QRectF& tag) {
        return std::none_of(tags.begin(), tags.end(), [&tag](const QRectF& other) { return other.intersects(tag); });
    };
    const std::vector<QPointF> choices{
        inside(frame.left() + 6, frame.top() - text.height() / 2),
        inside(frame.left() + 6, frame.bottom() - text.height() / 2),
        inside(frame.right() - text.width() - 6, frame.top() - text.height() / 2),
        inside(frame.right() - text.width() - 6, frame.bottom() - text.height() / 2)};
    QRectF tag = text.translated(choices.front());
    for (const QPointF& at : choices)
        if (free(text.translated(at))) {
            tag = text.translated(at);
            break;
        }
    tags.push_back(tag);
    painter.setPen(QPen(QColor(255, 224, 90), 1.5));
    painter.setBrush(QColor(20, 30, 20, 215));
    painter.drawRoundedRect(tag, 6, 6);
    painter.setPen(Qt::white);
    painter.drawText(tag, Qt::AlignCenter, place.Name);
}

// Tableau piles in groups that frame no other place: Beleaguered Castle's
// piles on both sides of its foundations make two groups.
std::vector<QRect> Groups(std::vector<QRect> piles, const std::vector<QRect>& others)
{
    const auto clear = [&others](const QRect& area) {
        return std::none_of(others.begin(), others.end(), [&area](const QRect& other) { return other.intersects(area); });
    };
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < piles.size() && !merged; ++i)
            for (std::size_t j = i + 1; j < piles.size() && !merged; ++j)
                if (clear(piles[i] | piles[j])) {
                    piles[i] |= piles[j];
                    piles.erase(piles.begin() + std::ptrdiff_t(j));
                    merged = true;
                }
    }
    return piles;
}

} // namespace

std::vector<TPlace> PlacesOf(const TEngine& engine)
{
    const TGameRules& rules = engine.Rules;
    const TCardDeck& deck = engine.Deck();
    std::vector<TPlace> places;
    const auto add = [&places](const QString& name, const QRect& area, bool empty = false) {
        if (!area.isNull())
            places.push_back({name, area.adjusted(-4, -4, 4, 4), empty});
    };

    std::vector<QRect> piles;
    for (int i = 0; i < rules.TableauCount && std::size_t(i) < rules.TableauPositions.size(); ++i) {
        QRect pile = CardArea(deck, rules.TableauPositions[std::size_t(i)]);
        if (std::size_t(i) < engine.TableauPiles.size())
            pile |= Cards(deck, engine.TableauPiles[std::size_t(i)]);
        piles.push_back(pile);
    }

    // Foundations in groups that frame no tableau pile (Khedive mixes them).
    std::vector<QRect> foundations;
    for (int i = 0; i < rules.FoundationCount && std::size_t(i) < rules.FoundationPositions.size(); ++i) {
        QRect foundation = CardArea(deck, rules.FoundationPositions[std::size_t(i)]);
        if (std::size_t(i) < engine.FoundationPiles.size())
            foundation |= Cards(deck, engine.FoundationPiles[std::size_t(i)]);
        foundations.push_back(foundation);
    }
    for (const QRect& group : Groups(foundations, piles))
        add(Named(rules.FoundationCount, "Foundation", "Foundations"), group);

    if (rules.FreeCells && rules.ReserveCount > 0) {
        QRect cells;
        for (int k = 0; k < rules.ReserveCount; ++k)
            cells |= CellPlace(engine, deck, k);
        add(Named(rules.ReserveCount, "Free cell", "Free cells"), cells);
    } else if (rules.ReserveCount > 0) {
        add(QStringLiteral("Reserve"), Cards(deck, engine.ReserveCards));
    }

    QRect extra;
    for (const TPile& pile : engine.ExceptPiles)
        extra |= Cards(deck, pile);
    add(Named(rules.ExceptCount, "Extra pile", "Extra piles"), extra);

    if (engine.StockCount() > 0) {
        add(QStringLiteral("Stock"), CardArea(deck, QPoint(deck.StockX, deck.StockY)));
        if (TurnsToWaste(engine))
            add(QStringLiteral("Waste"), CardArea(deck, WastePlace(engine)) | Cards(deck, engine.WasteCards),
                engine.WasteCards.empty());
    }
    // The tableau last, so that its groups keep clear of every other place.
    std::vector<QRect> others;
    for (const TPlace& place : places)
        others.push_back(place.Area);
    for (const QRect& group : Groups(piles, others))
        add(QStringLiteral("Tableau"), group);
    return places;
}

QImage LabelledDeal(const QImage& table, const std::vector<TPlace>& places, QSize size)
{
    const QRect used = Proportioned(GameArea(table, places).adjusted(-16, -22, 16, 12), size);
    QImage cut(used.size(), QImage::Format_RGB32);
    cut.fill(table.pixel(table.width() - 1, table.height() - 1));
    {
        QPainter painter(&cut);
        painter.drawImage(QPoint(0, 0), table, used);
    }
    QImage picture = cut.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = double(size.width()) / used.width();
    std::vector<QRectF> tags;
    for (const TPlace& place : places) {
        const QRectF frame((place.Area.left() - used.left()) * scale, (place.Area.top() - used.top()) * scale,
                           place.Area.width() * scale, place.Area.height() * scale);
        DrawPlace(painter, place, frame, tags);
    }
    return picture;
}
