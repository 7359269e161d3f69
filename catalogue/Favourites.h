#pragma once

#include "catalogue/MenuTree.h"

#include <string>
#include <string_view>
#include <vector>

// The player's favourite games: GameName values kept in alphabetical order
// without regard to letter case, each at most once.
class TFavouritesList {
public:
    // The sorted position the name takes, or -1 (and no change) when the
    // list holds it already.
    int Add(const std::string& name);
    bool Contains(std::string_view name) const { return IndexOf(name) >= 0; }
    int IndexOf(std::string_view name) const;
    // Replaces the whole list; repeated names are kept once.
    void Assign(const std::vector<std::string>& names);
    void Clear() { Names.clear(); }

    const std::vector<std::string>& Items() const { return Names; }
    int Count() const { return int(Names.size()); }
    bool Empty() const { return Names.empty(); }

    // The order of the list: letter case ignored.
    static bool Before(std::string_view a, std::string_view b);
    static bool SameName(std::string_view a, std::string_view b);

private:
    std::vector<std::string> Names;
};

// The "Favourites" menu for the list: one item per favourite, in list order,
// each a copy of the game's own item under "Alphabetical Games" so that it
// chooses the same game. Names of no game are left out.
TMenuItem FavouritesMenu(const TFavouritesList& favourites, const TMenuItem& gameTypeMenu);

// Puts the favourites into the "Favourites" item of a " Game Type " menu.
void SetFavouritesMenu(TMenuItem& gameTypeMenu, const TFavouritesList& favourites);
