#include "persistence/FileLocation.h"

#include "persistence/TextFile.h"
#include "platform/FilePath.h"

#include <system_error>

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

namespace persistence {

namespace {

constexpr const char* PlayerFileName = "Player.dat";
const std::vector<std::string> MovedFolders{"Save Games", "Data"};

std::filesystem::path FolderOf(const TDataPlaces& places, int location)
{
    TDataPlaces at = places;
    at.DataLocation = location;
    return at.DataRoot();
}

void RemoveQuietly(const std::filesystem::path& folder, std::string_view name)
{
    if (const auto entry = platform::FindEntry(folder, name)) {
        std::error_code ignored;
        std::filesystem::remove_all(*entry, ignored);
    }
}

bool SamePlace(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) || a.lexically_normal() == b.lexically_normal();
}

void CreateFolder(const std::filesystem::path& folder)
{
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}

// Checks the version line; false when the file cannot be trusted.
bool CheckVersion(TLines& lines, const std::filesystem::path& file)
{
    if (lines.size() == 1)
        return false;
    if (lines.size() < 2)
        return true;
    const std::optional<int> version = ParseInt(lines[1]);
    if (!version) {
        lines.resize(1);
        return false;
    }
    if (*version < MinimumDataVersion)
        return false;
    if (*version < DataVersion) {
        lines[1] = std::to_string(DataVersion);
        WriteLines(file, lines);
    }
    return true;
}

// Writes a new player's file at the chosen place; a program folder that
// cannot be written to falls back to the documents folder.
void WriteNewPlayer(TDataPlaces& places, const TLines& lines, const TLocationHooks& hooks)
{
    if (places.DataLocation != 1)
        CreateFolder(places.DataRoot());
    if (WriteLines(places.Path(PlayerFileName), lines))
        return;
    if (hooks.Beep)
        hooks.Beep();
    places.DataLocation = 2;
    CreateFolder(places.DataRoot());
    WriteLines(places.Path(PlayerFileName), lines);
}

// Moves every entry of `staged` into `target`, merging folders and replacing files.
bool MergeInto(const std::filesystem::path& staged, const std::filesystem::path& target)
{
    std::error_code error;
    if (std::filesystem::is_directory(staged, error)) {
        std::filesystem::create_directories(target, error);
        bool ok = !error;
        for (std::filesystem::directory_iterator entry(staged, error), end; !error && entry != end;
             entry.increment(error))
            ok = MergeInto(entry->path(),
                           platform::ResolvePath(target, entry->path().filename().string()))
                 && ok;
        return ok && !error;
    }
    std::filesystem::rename(staged, target, error);
    return !error;
}

std::filesystem::path StagingFolder(const std::filesystem::path& destination)
{
    for (int n = 0;; ++n) {
        std::filesystem::path folder = destination / (".tessalyn-copy-" + std::to_string(n));
        std::error_code error;
        if (!std::filesystem::exists(folder, error) && std::filesystem::create_directory(folder, error))
            return folder;
        if (error || n > 1000)
            return {};
    }
}

} // namespace

const std::vector<std::string>& StartupMoveSet()
{
    static const std::vector<std::string> files{"debug.dat", "fav.dat"};
    return files;
}

const std::vector<std::string>& MenuMoveSet()
{
    static const std::vector<std::string> files{"Player.dat", "Options.dat", "Status.dat",
                                                "debug.dat", "fav.dat"};
    return files;
}

bool CopyAll(const std::vector<std::filesystem::path>& sources,
             const std::filesystem::path& destination)
{
    if (sources.empty())
        return true;
    const std::filesystem::path staging = StagingFolder(destination);
    if (staging.empty())
        return false;
    std::error_code error;
    for (const std::filesystem::path& source : sources) {
        std::filesystem::copy(source, staging / source.filename(),
                              std::filesystem::copy_options::recursive
                                  | std::filesystem::copy_options::overwrite_existing,
                              error);
        if (error) {
            std::filesystem::remove_all(staging, error);
            return false;
        }
    }
    // Everything is on the destination's disk now; renaming into place
    // cannot run out of room half-way.
    const bool merged = MergeInto(staging, destination);
    std::filesystem::remove_all(staging, error);
    return merged;
}

bool MoveData(const TDataPlaces& from, const TDataPlaces& to,
              const std::vector<std::string>& moveSet)
{
    const std::filesystem::path source = from.DataRoot();
    const std::filesystem::path destination = to.DataRoot();
    if (to.DataLocation != 1)
        CreateFolder(destination);
    if (SamePlace(source, destination))
        return true;
    std::vector<std::filesystem::path> files;
    std::vector<std::filesystem::path> folders;
    for (const std::string& name : moveSet)
        if (const auto entry = platform::FindEntry(source, name))
            files.push_back(*entry);
    for (const std::string& name : MovedFolders)
        if (const auto entry = platform::FindEntry(source, name))
            folders.push_back(*entry);
    std::vector<std::filesystem::path> all = files;
    all.insert(all.end(), folders.begin(), folders.end());
    if (!CopyAll(all, destination))
        return false;
    std::error_code ignored;
    for (const std::filesystem::path& path : all)
        std::filesystem::remove_all(path, ignored);
    // Only an empty folder goes: the player's own card sets may live there.
    if (to.DataLocation == 1)
        std::filesystem::remove(FolderOf(to, 2), ignored);
    return true;
}

std::filesystem::path MovedWithData(const std::filesystem::path& file, const std::filesystem::path& oldRoot,
                                    const std::filesystem::path& newRoot)
{
    const std::filesystem::path relative = file.lexically_normal().lexically_relative(oldRoot.lexically_normal());
    if (file.empty() || relative.empty() || *relative.begin() == "..")
        return file;
    for (const std::string& folder : MovedFolders)
        if (platform::SameName(relative.begin()->string(), folder))
            return newRoot / relative;
    return file;
}

void SettleDataLocation(TDataPlaces& places, const TLocationHooks& hooks)
{
    places.DataLocation = 0;
    int found = 0;
    TLines lines;
    for (const int location : {1, 2}) {
        const std::filesystem::path file =
            platform::ResolvePath(FolderOf(places, location), PlayerFileName);
        if (std::optional<TLines> read = ReadLines(file)) {
            lines = std::move(*read);
            found = location;
            break;
        }
    }
    const std::filesystem::path foundRoot = FolderOf(places, found == 0 ? 2 : found);
    const bool valid = CheckVersion(lines, platform::ResolvePath(foundRoot, PlayerFileName));
    if (!valid)
        for (const char* name : {"Options.dat", "Status.dat", PlayerFileName})
            RemoveQuietly(foundRoot, name);
    if (lines.size() >= 2) {
        // A file of more lines than the two we write keeps its place; the
        // extra lines are ignored.
        places.DataLocation = found;
    } else {
        if (lines.empty())
            lines.emplace_back();
        lines.push_back(std::to_string(DataVersion));
        places.DataLocation = hooks.AskLocation ? hooks.AskLocation(2) : 2;
        if (places.DataLocation != 1)
            places.DataLocation = 2;
        WriteNewPlayer(places, lines, hooks);
    }
    if (found != 0 && found != places.DataLocation) {
        TDataPlaces from = places;
        from.DataLocation = found;
        // Nothing was deleted when the copy failed; the player hears it.
        if (!MoveData(from, places, StartupMoveSet()) && hooks.Beep)
            hooks.Beep();
    }
    if (found == 0)
        CreateFolder(places.Path("Data"));
}

} // namespace persistence
