#pragma once

#include <filesystem>
#include <string_view>

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

} // namespace persistence
