#include "persistence/Favourites.h"

#include "persistence/TextFile.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"

#include <system_error>

namespace persistence {

std::filesystem::path FavouritesFile(const std::filesystem::path& dataRoot)
{
    return platform::ResolvePath(dataRoot, "fav.dat");
}

namespace {

bool Blank(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

TFavouritesRead ReadFavourites(const std::filesystem::path& dataRoot, const TMenuItem& gameTypeMenu)
{
    TFavouritesRead read;
    const std::optional<TLines> lines = ReadLines(FavouritesFile(dataRoot));
    if (!lines)
        return read;
    read.Exists = true;
    for (const std::string& line : *lines) {
        if (Blank(line))
            continue;
        const TMenuItem* game = FindGameMenuItem(gameTypeMenu, line);
        if (game == nullptr || read.Favourites.Add(game->Caption) < 0) {
            platform::Trace("fav.dat: line skipped: " + line);
            read.Damaged = true;
        }
    }
    return read;
}

bool WriteFavourites(const std::filesystem::path& dataRoot, const TFavouritesList& favourites,
                     bool keepDamagedCopy)
{
    const std::filesystem::path file = FavouritesFile(dataRoot);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (keepDamagedCopy && std::filesystem::exists(file, error))
        KeepDamagedCopy(file);
    return WriteLines(file, favourites.Items());
}

} // namespace persistence
