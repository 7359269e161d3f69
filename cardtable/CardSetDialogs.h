#pragma once

#include <optional>
#include <string>

#include "cardtable/Card.h"

class QWidget;

// The three small dialogs around card sets.

// The folder prompt ("CardTable Configuration."), as the deck's last resort
// when no card sets folder is found. On a platform without a screen
// (offscreen, minimal) nobody could answer it, so it answers "cancelled" at
// once and the search fails with its usual error instead of hanging.
std::optional<std::string> RunFolderPrompt(QWidget* owner);
TFolderPrompt MakeFolderPrompt(QWidget* owner);

// The Card Deck Selector: the chosen set name, or nothing when closed
// without a choice.
std::optional<std::string> RunCardDeckSelector(QWidget* owner, const TCardDeck& deck);

// The Card Back Selector: the number (1..9) of the back clicked, or nothing.
std::optional<int> RunCardBackSelector(QWidget* owner, const TCardDeck& deck);

// True when dialogs can be shown and answered.
bool DialogsPossible();
