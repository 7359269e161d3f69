#pragma once

#include "catalogue/GameDefinitions.h"

#include <string>
#include <string_view>
#include <vector>

// One item of the game menus. A game's item has the game's GameName as its
// caption; the drawn Qt menus are built from this model, so captions and
// definitions cannot drift apart.
struct TMenuItem {
    std::string Caption; // "-" for a separator
    std::string Name;    // the item's component name, for the trace
    bool Submenu = false;
    const TGameDefinition* Game = nullptr; // set for a game's item
    std::vector<TMenuItem> Items;

    [[nodiscard]] bool IsSeparator() const { return Caption == "-"; }
};

inline constexpr std::string_view GameTypeCaption = " Game Type ";
inline constexpr std::string_view AlphabeticalGamesCaption = "Alphabetical Games";
inline constexpr std::string_view SmallScreenGamesCaption = "Small Screen Games";
inline constexpr std::string_view FavouritesCaption = "Favourites";
inline constexpr std::string_view FreecellCustomCaption = "Freecell Custom";

// A fresh " Game Type " menu: "Alphabetical Games", "Small Screen Games",
// "Favourites" (empty; its owner fills it), a separator and the game-type
// submenus. Throws ENotationError if a listed game is not in the catalogue.
TMenuItem BuildGameTypeMenu();

// One shared, unchanging copy for readers that need no favourites.
const TMenuItem& StandardGameTypeMenu();

// A direct child of root whose caption matches (letter case and "&" marks
// ignored); failing that and with recursive set, the first match depth first
// among the children that have items of their own. nullptr when none.
const TMenuItem* GetMenuItem(const TMenuItem& root, std::string_view caption, bool recursive);

// Appends the caption of every leaf below root, depth first in menu order.
void GetMenuItems(const TMenuItem& root, std::vector<std::string>& captions);
std::vector<std::string> GetMenuItems(const TMenuItem& root);

// Clicking a game's item: applies its game's definition. False when the item
// is no game's or the game is already in play.
bool InvokeMenuItem(const TMenuItem& item, TGameRules& rules, const TDefinitionContext& context);

// Finds a game's item under "Alphabetical Games", as every caller that
// invokes a game by name does.
const TMenuItem* FindGameMenuItem(const TMenuItem& gameTypeMenu, std::string_view gameName);
