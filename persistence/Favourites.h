#pragma once

#include "catalogue/Favourites.h"

#include <filesystem>

// fav.dat: the favourites, one game name per line in list order.
namespace persistence {

std::filesystem::path FavouritesFile(const std::filesystem::path& dataRoot);

struct TFavouritesRead {
    bool Exists = false;
    // A line named no game or a game already listed; such lines are left
    // out, and the file is written cleanly at the next change.
    bool Damaged = false;
    TFavouritesList Favourites;
};

// Reads fav.dat, keeping the names of games the menu knows, spelt as the
// menu spells them. Blank lines are no damage.
TFavouritesRead ReadFavourites(const std::filesystem::path& dataRoot, const TMenuItem& gameTypeMenu);

// Writes the list whole; false when it cannot. A damaged file is kept
// beside it (fav.dat.damaged) before it is first replaced.
bool WriteFavourites(const std::filesystem::path& dataRoot, const TFavouritesList& favourites,
                     bool keepDamagedCopy = false);

} // namespace persistence
