#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

class TEngine;

// A place of the table and the name a newcomer learns it by.
struct TPlace {
    QString Name;
    QRect Area; // in table pixels
    bool Empty = false; // nothing lies there yet: drawn as an outline only
};

// The places of the game just dealt by `engine`: tableau, foundations,
// stock, waste, free cells, reserve and extra piles, each where its cards
// (or its empty bases) lie.
std::vector<TPlace> PlacesOf(const TEngine& engine);

// The dealt table cut to its cards, `size` big, with every place framed and
// its name written on it.
QImage LabelledDeal(const QImage& table, const std::vector<TPlace>& places, QSize size);
