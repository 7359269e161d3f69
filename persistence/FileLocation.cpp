#include "persistence/FileLocation.h"

#include "platform/FilePath.h"

namespace persistence {

std::filesystem::path TDataPlaces::DataRoot() const
{
    if (DataLocation == 1)
        return ApplicationDirectory;
    return platform::ResolvePath(DocumentsFolder, "Tessalyn");
}

std::filesystem::path TDataPlaces::UserCardsetsFolder() const
{
    if (DataLocation == 1)
        return {};
    return platform::ResolvePath(DocumentsFolder, "Tessalyn/CardSets");
}

std::filesystem::path TDataPlaces::Path(std::string_view name) const
{
    return platform::ResolvePath(DataRoot(), name);
}

} // namespace persistence
