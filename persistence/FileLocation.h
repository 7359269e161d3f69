#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Where the player's data lives: the program folder, or a "Tessalyn" folder
// in the documents folder. Every reader and writer asks for its path at the
// moment of use, so a change of location takes effect at once.
namespace persistence {

inline constexpr int DataVersion = 2008;
inline constexpr int MinimumDataVersion = 2;

struct TDataPlaces {
    std::filesystem::path ApplicationDirectory;
    std::filesystem::path DocumentsFolder;
    // 1 program folder, 2 documents folder; 0 until start-up has settled
    // it, which every reader takes as 2.
    int DataLocation = 0;

    std::filesystem::path DataRoot() const;
    // Where the player's own card sets live: none (the deck's default) for
    // the program folder.
    std::filesystem::path UserCardsetsFolder() const;
    // `name` (a file or folder, "/"-separated) below DataRoot, found without
    // regard to letter case; parts that do not exist yet are kept as written.
    std::filesystem::path Path(std::string_view name) const;
};


// What settling and moving the data folder asks of the window.
struct TLocationHooks {
    // The location dialog: 1 (program folder) or 2 (documents folder);
    // Cancel answers 2. `current` is the location to show checked.
    std::function<int(int current)> AskLocation;
    std::function<void()> Beep;
};

// Start-up: finds Player.dat (program folder first), checks its version,
// asks for the location when there is none or it is invalid, writes it, moves
// the data a change of place leaves behind, and sets places.DataLocation.
void SettleDataLocation(TDataPlaces& places, const TLocationHooks& hooks);

// The files that move with the data besides the "Save Games" and "Data" folders.
const std::vector<std::string>& StartupMoveSet();
const std::vector<std::string>& MenuMoveSet();

// Moves the move set and the two folders from `from` to `to`: first copied
// whole (all or nothing), then the originals deleted. False when the copy
// failed; then nothing was deleted.
bool MoveData(const TDataPlaces& from, const TDataPlaces& to,
              const std::vector<std::string>& moveSet);

// Where `file` lives after MoveData took the data from `oldRoot` to
// `newRoot`: the same place below the new root when it lay in one of the
// moved folders, else `file` itself.
std::filesystem::path MovedWithData(const std::filesystem::path& file, const std::filesystem::path& oldRoot,
                                    const std::filesystem::path& newRoot);

// Copies files and folder trees into `destination` as one operation: either
// every entry arrives or none does (and the destination is as it was).
bool CopyAll(const std::vector<std::filesystem::path>& sources,
             const std::filesystem::path& destination);

} // namespace persistence
