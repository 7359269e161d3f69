#include "catalogue/Favourites.h"

#include <QString>

#include <algorithm>

namespace {

QString Key(std::string_view name)
{
    return QString::fromUtf8(name.data(), qsizetype(name.size())).toCaseFolded();
}

} // namespace

bool TFavouritesList::Before(std::string_view a, std::string_view b)
{
    return Key(a) < Key(b);
}

bool TFavouritesList::SameName(std::string_view a, std::string_view b)
{
    return Key(a) == Key(b);
}

int TFavouritesList::IndexOf(std::string_view name) const
{
    const auto found = std::lower_bound(Names.begin(), Names.end(), name,
                                        [](const std::string& item, std::string_view wanted) {
                                            return Before(item, wanted);
                                        });
    if (found == Names.end() || !SameName(*found, name))
        return -1;
    return int(found - Names.begin());
}

int TFavouritesList::Add(const std::string& name)
{
    if (Contains(name))
        return -1;
    const auto place = std::upper_bound(Names.begin(), Names.end(), name,
                                        [](const std::string& wanted, const std::string& item) {
                                            return Before(wanted, item);
                                        });
    const auto index = place - Names.begin();
    Names.insert(place, name);
    return int(index);
}

void TFavouritesList::Assign(const std::vector<std::string>& names)
{
    Names.clear();
    for (const std::string& name : names)
        Add(name);
}

TMenuItem FavouritesMenu(const TFavouritesList& favourites, const TMenuItem& gameTypeMenu)
{
    TMenuItem menu;
    menu.Caption = std::string(FavouritesCaption);
    menu.Name = "Favourites1";
    menu.Submenu = true;
    for (const std::string& name : favourites.Items()) {
        const TMenuItem* game = FindGameMenuItem(gameTypeMenu, name);
        if (game == nullptr || game->Game == nullptr)
            continue;
        TMenuItem item = *game;
        item.Name = "Fav" + game->Name;
        menu.Items.push_back(std::move(item));
    }
    return menu;
}

void SetFavouritesMenu(TMenuItem& gameTypeMenu, const TFavouritesList& favourites)
{
    for (TMenuItem& item : gameTypeMenu.Items)
        if (item.Caption == FavouritesCaption) {
            item = FavouritesMenu(favourites, gameTypeMenu);
            return;
        }
}
