#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

class TCard;
class TEngine;

// One place of the table a player can point at: a tableau pile, a cell, a
// foundation, the reserve, the stock, the waste or an extra pile.
struct TTablePlace {
    int Kind = 0;              // a TPileKind
    int Pile = 0;              // index within its kind, as the engine counts
    QRect Base;                // where the pile starts, one card in size
    std::vector<TCard*> Cards; // bottom first, no empty slots
    // The drop point a card dropped here aims at; none for places that take no drops.
    std::optional<QPoint> Drop;
};

// Groups that Tab cycles through, in this order.
enum class TPlaceGroup { Tableau, Reserve, Foundations, Stock };

// Every place of the game in play, in reading order (row by row, left to
// right). `liftedPile`/`liftedFrom`: the cards from that index of that place
// are lifted and are left out of it.
struct TLiftedRun {
    int Kind = -1;
    int Pile = -1;
    int From = 0;
};
std::vector<TTablePlace> CollectPlaces(const TEngine& engine, const TLiftedRun& lifted = {});

// Reading order of rectangles: rows (tops closer than half a card height
// share a row) from the top, then left to right. Returns the indices in order.
std::vector<int> ReadingOrder(const std::vector<QRect>& bases);
// The nearest place above (direction < 0) or below (direction > 0) `from`,
// preferring places in the same column; -1 when there is none.
int PlaceInDirection(const std::vector<QRect>& bases, int from, int direction);
TPlaceGroup GroupOf(int kind);

// Where keys stop in a fan: the cards a run may start at. `movable` is the
// engine's list of cards the player may pick up (empty: any face-up card).
std::vector<int> RunStarts(const std::vector<TCard*>& cards, const std::vector<TCard*>& movable);

// "Queen of hearts", "Joker", "face-down card".
QString CardName(const TCard& card);
// "Tableau pile 3", "Free cell 1", "Foundation 2", "Stock" ...
QString PlaceName(const TTablePlace& place, bool freeCells, bool singleReserve);
// What assistive technology is told: "Tableau pile 3, Queen of hearts, 4 cards".
QString PlaceDescription(const TTablePlace& place, const TCard* focused, bool freeCells, bool singleReserve,
                         int stockCount);
