#pragma once

#include <optional>
#include <string>

class TCard;
class TEngine;

// A card as the headless tool names it: rank "A23456789TJQK" and suit "cdhs"
// ("Td"), in parentheses when face down, with "@x,y" when asked for.
std::string CardText(const TCard* card, bool withPosition);

// The whole visible state of the game in play as one JSON object: game,
// seed, open, stock (next card first), waste, tableau, foundations, reserve
// (null for an empty cell), extra, points, foundationCards, passesDone, won,
// foundationLabel, and "actions" when given.
std::string StateJson(const TEngine& engine, bool withPositions, std::optional<int> actions = std::nullopt);

// The piles alone (stock, waste, tableau, foundations, reserve, extra and
// the cards out of play), for comparing two states of one game.
std::string PilesText(const TEngine& engine);
